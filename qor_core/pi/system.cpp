// system.cpp - the system object and its internals.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/system.h"
#include "qor_core/pi/debugstderr.h"
#include "qor_core/std/numberconversion.h"
#include "qor_core/std/stdexceptions.h"
#include "qor_core/ucs/endecutf8.h"
#include "qor_core/ucs/lilocale.h"

namespace qpi {

namespace {

/// The services of the system object, in the order they are built.
class cSystemImpl
{
public:
    cSystemImpl() : moNumberFormat(10), moLocale(nullptr) {}

    qstd::cNumberConversionFormat moNumberFormat;
    qucs::cEnDecUTF8 moEnDec;
    qucs::cLILocale moLocale;
    cDebugStdErr moDebugOut;
};

// Plain pointers, constant-initialised, so that system() works during the static
// initialisation of other translation units too.
cSystemImpl* gpImpl = nullptr;
cSystem* gpSystem = nullptr;
bool gbBuilding = false; ///< set while the internals are being constructed

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
    if (gbBuilding)
        return nullptr;
    if (!gpImpl) {
        gbBuilding = true;
        try {
            gpImpl = new cSystemImpl;
        } catch (...) {
            gbBuilding = false;
            throw;
        }
        gbBuilding = false;
    }
    cSystem::cDefaults oDefaults = {gpImpl->moNumberFormat, gpImpl->moEnDec};
    gpSystem = new cSystem(oDefaults, &gpImpl->moLocale, &gpImpl->moDebugOut);
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

void cSystem::cleanup()
{
    cSystem* pSystem = gpSystem;
    gpSystem = nullptr;
    delete pSystem;
    cSystemImpl* pImpl = gpImpl;
    gpImpl = nullptr;
    delete pImpl;
}

} // namespace qpi
