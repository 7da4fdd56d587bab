// pluginmgr.h - qcs::cPlugInMgr, which loads plug-in libraries and keeps their guards.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCS_PLUGINMGR_H
#define QOR_CORE_QCS_PLUGINMGR_H

#include "qor_core/qcs/pluginguard.h"
#include "qor_core/std/list.h"

namespace qucs {
class cString;
}

namespace qcs {

/// Turns a library name into a loaded plug-in and keeps the guards of registered
/// plug-ins in registration order. Destroying the manager unloads them in that order.
class QOR_EXPORT cPlugInMgr
{
public:
    cPlugInMgr();
    /// Destroys the remaining guards like unloadAll().
    virtual ~cPlugInMgr();
    cPlugInMgr(const cPlugInMgr&) = delete;
    cPlugInMgr& operator=(const cPlugInMgr&) = delete;

    /// Opens the library of sName (made the platform's file name, "x" gives
    /// "libx.so" on Linux), creates its plug-in through oFrame and hands the class
    /// loader to it. The guard is not registered. Throws cModuleLoadException from
    /// the class loader; on any failure whatever was made is destroyed again (the
    /// plug-in before its library) and nothing is registered.
    qstd::tAutoPtr<cPlugInGuard> loadPlugIn(const qucs::cString& sName,
                                            qsa::cReferenceFrame& oFrame);
    /// The same with a reference frame that lives for the call.
    qstd::tAutoPtr<cPlugInGuard> loadPlugIn(const qucs::cString& sName);
    /// Takes the guard into the list.
    void registerPlugIn(qstd::tAutoPtr<cPlugInGuard> pGuard);
    /// Destroys every registered guard of pPlugIn; a plug-in no guard holds changes
    /// nothing. A plug-in's destructor may call the manager meanwhile.
    void unloadPlugIn(cAbstractPlugIn* pPlugIn);
    /// Destroys all guards in registration order.
    void unloadAll();
    const qstd::tPtrList<cPlugInGuard>& plugIns() const { return moPlugIns; }

private:
    qstd::tPtrList<cPlugInGuard> moPlugIns; ///< owned
};

} // namespace qcs

#endif // QOR_CORE_QCS_PLUGINMGR_H
