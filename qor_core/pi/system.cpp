// system.cpp - the system object and its internals.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/system.h"
#include "qor_core/io/fs.h"
#include "qor_core/pi/debugstderr.h"
#include "qor_core/pi/platform.h"
#include "qor_core/pi/workqueue.h"
#include "qor_core/qce/coreextensionmgr.h"
#include "qor_core/qcs/mcsexceptions.h"
#include "qor_core/std/numberconversion.h"
#include "qor_core/std/stdexceptions.h"
#include "qor_core/ucs/endecutf8.h"
#include "qor_core/ucs/lilocale.h"

namespace qpi {

namespace {

/// The services of the system object, in the order they are built (and destroyed in
/// reverse).
class cSystemImpl
{
public:
    cSystemImpl() : moNumberFormat(10), moFs(moEnDec), moLocale(nullptr), mpApp(nullptr) {}

    qstd::cNumberConversionFormat moNumberFormat;
    qucs::cEnDecUTF8 moEnDec;
    qio::cFs moFs;
    qce::cCoreExtensionMgr moCoreExtensions;
    qucs::cLILocale moLocale;
    cWorkQueue moWorkQueue;
    cDebugStdErr moDebugOut;
    qcs::cAbstractQORApp* mpApp; ///< not owned
};

// Plain pointers, constant-initialised, so that system() works during the static
// initialisation of other translation units too.
cSystemImpl* gpImpl = nullptr;
cSystem* gpSystem = nullptr;
bool gbBuilding = false;    ///< set while the internals are being constructed
bool gbTearingDown = false; ///< set while cleanup() destroys them

/// Empties both at the end of the program.
struct cSystemHolder
{
    ~cSystemHolder() { cSystem::cleanup(); }
} gHolder;

} // namespace

cSystem* trySystem()
{
    if (gpSystem)
        return gpSystem;
    if (gbBuilding || (gbTearingDown && !gpImpl))
        return nullptr;
    if (!gpImpl) {
        gbBuilding = true;
        try {
            gpImpl = new cSystemImpl;
            gpImpl->moWorkQueue.setEvents(cPlatform().createProcessEvents());
        } catch (...) {
            gbBuilding = false;
            throw;
        }
        gbBuilding = false;
    }
    cSystem::cDefaults oDefaults = {gpImpl->moNumberFormat, gpImpl->moEnDec};
    cPlatform().buildChecks();
    gpSystem = new cSystem(oDefaults, &gpImpl->moFs, &gpImpl->moCoreExtensions, &gpImpl->moLocale,
                           &gpImpl->moWorkQueue, &gpImpl->moDebugOut);
    return gpSystem;
}

cSystem& system()
{
    cSystem* pSystem = trySystem();
    if (!pSystem)
        qstd::cSTDExceptions::throwCoreBug("system() called while the system is being built",
                                           __FILE__, __LINE__);
    return *pSystem;
}

void cSystem::exec()
{
    mpWorkQueue->process();
}

qcs::cAbstractQORApp& cSystem::app()
{
    if (!gpImpl || !gpImpl->mpApp)
        qcs::cMCSExceptions::throwNoApplicationObject();
    return *gpImpl->mpApp;
}

void cSystem::setApp(qcs::cAbstractQORApp* pApp)
{
    if (gpImpl)
        gpImpl->mpApp = pApp;
}

void cSystem::cleanup()
{
    // A cleanup() from a destructor that the running one triggers has nothing to add.
    if (gbTearingDown)
        return;
    gbTearingDown = true;
    // The extension libraries go first, while everything they may use is still there;
    // the system object stays reachable for them meanwhile.
    if (gpImpl) {
        try {
            gpImpl->moCoreExtensions.clear();
        } catch (...) {
            // A destructor that throws must not keep the rest from going.
        }
    }
    // While the internals go, debug lines of their destructors take the plain
    // fallback instead of building a new system.
    cSystem* pSystem = gpSystem;
    gpSystem = nullptr;
    delete pSystem;
    cSystemImpl* pImpl = gpImpl;
    gpImpl = nullptr;
    delete pImpl;
    gbTearingDown = false;
}

} // namespace qpi
