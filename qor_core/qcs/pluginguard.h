// pluginguard.h - qcs::cPlugInGuard, the owner of a loaded plug-in and its library.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCS_PLUGINGUARD_H
#define QOR_CORE_QCS_PLUGINGUARD_H

#include "qor_core/qcs/abstractplugin.h"
#include "qor_core/std/autoptr.h"

namespace qcs {

/// Deletes pPlugIn, then the class loader it was made through (which closes the
/// library the plug-in's code lives in). Null does nothing. A loader that still
/// counts other objects made through it is not deleted: the library stays open for
/// the rest of the process rather than unmapping code that is still in use.
QOR_EXPORT void deletePlugInAndLoader(cAbstractPlugIn* pPlugIn);

/// Owns a plug-in and, through it, its class loader. Destroying the guard deletes
/// the plug-in first and then the loader, so the library stays loaded until the
/// plug-in object is gone.
class QOR_EXPORT cPlugInGuard
{
public:
    explicit cPlugInGuard(qstd::tAutoPtr<cAbstractPlugIn> pPlugIn);
    ~cPlugInGuard();
    cPlugInGuard(const cPlugInGuard&) = delete;
    cPlugInGuard& operator=(const cPlugInGuard&) = delete;

    cAbstractPlugIn* plugIn() const { return mpPlugIn.get(); }
    cAbstractPlugIn* operator->() const { return mpPlugIn.get(); }

private:
    qstd::tAutoPtr<cAbstractPlugIn> mpPlugIn;
};

} // namespace qcs

#endif // QOR_CORE_QCS_PLUGINGUARD_H
