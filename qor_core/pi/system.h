// system.h - qpi::cSystem, the application-wide system object, and qpi::system().
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_SYSTEM_H
#define QOR_CORE_PI_SYSTEM_H

#include "qor_core/std/pitypes.h"

namespace qstd {
class cNumberConversionFormat;
}
namespace qucs {
class cAbstractEnDec;
class cLILocale;
} // namespace qucs
namespace qio {
class cFs;
}
namespace qce {
class cCoreExtensionMgr;
}
namespace qcs {
class cAbstractQORApp;
}

namespace qpi {

class cAbstractOut;
class cWorkQueue;

/// Access to the application-wide services: the default number format and text
/// encoder, the file system, the core extension manager, the locale, the work queue
/// (the main loop), the debug output and the application object. All of them live in
/// the system internals, which system() creates on first use and cleanup() or the
/// end of the program destroys (the system object first).
struct QOR_EXPORT cSystem
{
    struct cDefaults
    {
        qstd::cNumberConversionFormat& moNumberFormat;
        qucs::cAbstractEnDec& moEnDec;
    };

    cSystem(const cDefaults& oDefaults, qio::cFs* pFs, qce::cCoreExtensionMgr* pCoreExtensions,
            qucs::cLILocale* pLocale, cWorkQueue* pWorkQueue, cAbstractOut* pDebugOut)
        : moDefaults(oDefaults), mpFs(pFs), mpCoreExtensions(pCoreExtensions), mpLocale(pLocale),
          mpWorkQueue(pWorkQueue), mpDebugOut(pDebugOut)
    {
    }

    cDefaults& defaults() { return moDefaults; }
    /// The default file system: the native one with the default encoder.
    qio::cFs& fs() { return *mpFs; }
    /// The process's core extensions; cleared first by cleanup().
    qce::cCoreExtensionMgr& coreExtensions() { return *mpCoreExtensions; }
    qucs::cLILocale& locale() { return *mpLocale; }
    /// The application's main loop; it has its POSIX process events from the start.
    cWorkQueue& workQueue() { return *mpWorkQueue; }
    /// One turn of the main loop: the work queue's process().
    void exec();
    cAbstractOut& debugOut() { return *mpDebugOut; }

    /// The application object; throws cBugException "$MTR$No application object set!"
    /// when none is set. Not owned.
    qcs::cAbstractQORApp& app();
    /// Stores the application object (not owned; null forgets it).
    void setApp(qcs::cAbstractQORApp* pApp);

    /// Clears the core extension manager (unloading its libraries), then destroys the
    /// system object and its internals in reverse order of construction. The next
    /// system() builds everything anew. Nothing obtained from the old system may be
    /// used afterwards.
    static void cleanup();

    cDefaults moDefaults;
    qio::cFs* mpFs;                           ///< points into the internals
    qce::cCoreExtensionMgr* mpCoreExtensions; ///< points into the internals
    qucs::cLILocale* mpLocale;                ///< points into the internals
    cWorkQueue* mpWorkQueue;                  ///< points into the internals
    cAbstractOut* mpDebugOut;                 ///< points into the internals
};

/// The system object, created on first use. Not locked: call it first on the main
/// thread before other threads use it. Called again while the internals are being
/// built (from a failure inside their construction), it throws a cBugException.
QOR_EXPORT cSystem& system();

/// The system object, built if needed; null while the internals are being built.
/// Code that must work at any moment (writing a debug line, reading the default
/// number format) asks this and falls back to plain services on null.
QOR_EXPORT cSystem* trySystem();

} // namespace qpi

#endif // QOR_CORE_PI_SYSTEM_H
