// pluginmgr.cpp - qcs::cPlugInMgr.
// SPDX-License-Identifier: MIT
#include "qor_core/qcs/pluginmgr.h"
#include "qor_core/pi/platform.h"
#include "qor_core/sa/referenceframe.h"
#include "qor_core/ucs/string.h"

namespace qcs {

namespace {

/// The plug-in of the library sName, holding its class loader. The caller must pass
/// it to deletePlugInAndLoader() or a guard: its auto pointer alone would leave the
/// loader behind.
qstd::tAutoPtr<cAbstractPlugIn> loadPlugInObject(const qucs::cString& sName,
                                                 qsa::cReferenceFrame& oFrame)
{
    qpi::cPlatform oPlatform;
    qucs::cString sFile(sName);
    oPlatform.createPlatformInfo()->osSpecificSOName(sFile);
    qstd::tAutoPtr<qpi::cAbstractClassLoader> pLoader = oPlatform.createClassLoader(sFile);
    // Should anything below fail, pPlugIn goes before pLoader.
    qstd::tAutoPtr<cAbstractPlugIn> pPlugIn(pLoader->instance(oFrame));
    pPlugIn->setClassLoader(pLoader.get(), qstd::cAsciiString());
    pLoader.release(); // now the plug-in's, deleted after it by deletePlugInAndLoader()
    return pPlugIn;
}

} // namespace

cPlugInMgr::cPlugInMgr() : moPlugIns(qstd::tPtrList<cPlugInGuard>::GuardSingle) {}

cPlugInMgr::~cPlugInMgr()
{
    unloadAll();
}

qstd::tAutoPtr<cPlugInGuard> cPlugInMgr::loadPlugIn(const qucs::cString& sName,
                                                    qsa::cReferenceFrame& oFrame)
{
    cAbstractPlugIn* pPlugIn = loadPlugInObject(sName, oFrame).release();
    try {
        return qstd::tAutoPtr<cPlugInGuard>(
            new cPlugInGuard(qstd::tAutoPtr<cAbstractPlugIn>(pPlugIn)));
    } catch (...) {
        // Only the allocation can fail, before the guard took the plug-in.
        deletePlugInAndLoader(pPlugIn);
        throw;
    }
}

qstd::tAutoPtr<cPlugInGuard> cPlugInMgr::loadPlugIn(const qucs::cString& sName)
{
    qsa::cReferenceFrame oFrame;
    return loadPlugIn(sName, oFrame);
}

void cPlugInMgr::registerPlugIn(qstd::tAutoPtr<cPlugInGuard> pGuard)
{
    if (pGuard)
        moPlugIns.guardedAppend(pGuard);
}

void cPlugInMgr::unloadPlugIn(cAbstractPlugIn* pPlugIn)
{
    if (!pPlugIn)
        return;
    // Each guard leaves the list before it is destroyed, and the walk starts over
    // after each, as the plug-in's destructor may change the list.
    bool bFound = true;
    while (bFound) {
        bFound = false;
        for (auto it = moPlugIns.begin(); it != moPlugIns.end(); ++it) {
            if ((*it)->plugIn() == pPlugIn) {
                delete moPlugIns.take(it);
                bFound = true;
                break;
            }
        }
    }
}

void cPlugInMgr::unloadAll()
{
    while (!moPlugIns.empty())
        delete moPlugIns.take(moPlugIns.begin());
}

} // namespace qcs
