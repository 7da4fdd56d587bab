// pluginguard.cpp - qcs::cPlugInGuard.
// SPDX-License-Identifier: MIT
#include "qor_core/qcs/pluginguard.h"
#include "qor_core/pi/abstractclassloader.h"
#include "qor_core/pi/debug.h"

namespace qcs {

void deletePlugInAndLoader(cAbstractPlugIn* pPlugIn)
{
    if (!pPlugIn)
        return;
    qpi::cAbstractClassLoader* pLoader = pPlugIn->classLoader();
    delete pPlugIn;
    if (!pLoader)
        return;
    if (!pLoader->isUnused()) {
        // More objects were made through this loader (a component, say) and are still
        // alive. Closing the library would pull their code away from under them, so
        // the loader stays, and the library open, for the rest of the process.
        QOR_DEBUG_LINE("Library " << pLoader->libFileName()
                                  << " stays loaded: " << pLoader->numReferences()
                                  << " object(s) made from it are still alive");
        return;
    }
    delete pLoader;
}

cPlugInGuard::cPlugInGuard(qstd::tAutoPtr<cAbstractPlugIn> pPlugIn) : mpPlugIn(pPlugIn) {}

cPlugInGuard::~cPlugInGuard()
{
    deletePlugInAndLoader(mpPlugIn.release());
}

} // namespace qcs
