// pluginguard.cpp - qcs::cPlugInGuard.
// SPDX-License-Identifier: MIT
#include "qor_core/qcs/pluginguard.h"
#include "qor_core/pi/abstractclassloader.h"

namespace qcs {

void deletePlugInAndLoader(cAbstractPlugIn* pPlugIn)
{
    if (!pPlugIn)
        return;
    qpi::cAbstractClassLoader* pLoader = pPlugIn->classLoader();
    delete pPlugIn;
    delete pLoader;
}

cPlugInGuard::cPlugInGuard(qstd::tAutoPtr<cAbstractPlugIn> pPlugIn) : mpPlugIn(pPlugIn) {}

cPlugInGuard::~cPlugInGuard()
{
    deletePlugInAndLoader(mpPlugIn.release());
}

} // namespace qcs
