// modulemgr.cpp - cModuleMgr and cModuleMgrImpl.
// SPDX-License-Identifier: MIT
#include "qor_core/qcs/modulemgr.h"
#include "qor_core/qcs/mcsexceptions.h"
#include "qor_core/qcs/modulemgr_p.h"
#include "qor_core/pi/abstractclassloader.h"
#include "qor_core/pi/debug.h"
#include "qor_core/pi/system.h"
#include "qor_core/pi/workqueue.h"
#include "qor_core/std/stdexceptions.h"

namespace qcs {

namespace {

/// Sets a flag of a component when the scope ends, however it ends, unless the
/// component or the manager went meanwhile.
class cFlagOnExit
{
public:
    typedef void (cAbstractComponent::*tSetter)();
    cFlagOnExit(const cModuleMgrImpl::cRunGuard& oRun, cManagedComponent& oEntry, tSetter pSetter)
        : moRun(oRun), moEntry(oEntry), mpSetter(pSetter)
    {
    }
    ~cFlagOnExit()
    {
        if (moRun.alive() && moEntry.component())
            (moEntry.component()->*mpSetter)();
    }

private:
    const cModuleMgrImpl::cRunGuard& moRun;
    cManagedComponent& moEntry;
    tSetter mpSetter;
};

/// The next module ID after iLast; the IDs end at the largest 32-bit value.
piUInt32 nextID(piUInt32 iLast)
{
    if (iLast == 0xffffffffU)
        cMCSExceptions::throwComponentIdsExhausted();
    return iLast + 1;
}

/// Gives oComponent its ID (its fixed one, or the next free one) and its deployer
/// and returns what the manager's last ID becomes once the component is entered.
/// Changes nothing in the manager, so a failure after it leaves the manager as it was.
piUInt32 assignID(const cModuleMgrImpl& oImpl, cAbstractComponent& oComponent,
                  const cComponentAddr& oDeployedBy)
{
    piUInt32 iId = oComponent.fixedModuleID();
    piUInt32 iLastID = oImpl.miLastID;
    if (iId != 0) {
        // An ID equal to the last one is still free unless a component holds it.
        if (iId < iLastID || (iId == iLastID && oImpl.findEntry(iId)))
            cMCSExceptions::throwComponentIdNotUnique(iId);
        iLastID = iId;
    } else {
        iId = iLastID = nextID(iLastID);
    }
    oComponent.setComponentID(iId);
    oComponent.setDeployedBy(oDeployedBy);
    return iLastID;
}

} // namespace

// cModuleMgrImpl::cRunGuard and cWalk

cModuleMgrImpl::cRunGuard::cRunGuard(cModuleMgrImpl& oImpl) : moImpl(oImpl)
{
    moRun.mpOuter = oImpl.mpRuns;
    moRun.mbManagerDestroyed = false;
    oImpl.mpRuns = &moRun;
}

cModuleMgrImpl::cRunGuard::~cRunGuard()
{
    if (!moRun.mbManagerDestroyed)
        moImpl.mpRuns = moRun.mpOuter;
}

cModuleMgrImpl::cWalk::cWalk(cModuleMgrImpl& oImpl) : cRunGuard(oImpl)
{
    ++oImpl.miWalkers;
}

cModuleMgrImpl::cWalk::~cWalk()
{
    if (!alive())
        return;
    cModuleMgrImpl& oImpl = impl();
    --oImpl.miWalkers;
    if (oImpl.miWalkers == 0 && oImpl.mbSweepPending)
        oImpl.sweepErased();
}

// cModuleMgrImpl

cModuleMgrImpl::cModuleMgrImpl(cModuleMgr& oManager, const qce::cCoreExtensionMgr& oExtensions)
    : moManager(oManager), mpWorkQueue(&qpi::system().workQueue()), mpCoreExtensions(&oExtensions),
      mbIdle(true), moComponents(tComponents::GuardSingle),
      moClassLoaders(qstd::tPtrList<qpi::cAbstractClassLoader>::GuardSingle), miLastID(1),
      mpApp(nullptr), moIndex(64), miWalkers(0), mbSweepPending(false), mbClosing(false),
      mpRuns(nullptr)
{
    moManagementWork.setName("component management (QOR Core)");
    moManagementWork.setName("ComponentManagement");
    moManagementWork.sigAction.connect(*this, &cModuleMgrImpl::mngSltProcessComponentManagement);
    moIdleWork.setName("idle emulation (QOR Core)");
    moIdleWork.setName("ComapatIdle");
    moIdleWork.sigAction.connect(*this, &cModuleMgrImpl::mngSigCompatIdle);
    mpWorkQueue->addJob(moManagementWork);
    mpWorkQueue->addJob(moIdleWork);
    moIdleWork.start(4000, qpi::cWork::Periodic);
}

cModuleMgrImpl::~cModuleMgrImpl()
{
    mbClosing = true;
    for (cRun* p = mpRuns; p; p = p->mpOuter)
        p->mbManagerDestroyed = true;
    mpRuns = nullptr;
    mpWorkQueue->removeJob(moManagementWork);
    mpWorkQueue->removeJob(moIdleWork);
    // One entry at a time out of the list, so that a component's destructor sees a
    // consistent manager; the loaders only after all components, so that no code of
    // a library outlives it.
    moIndex.clear();
    ++miWalkers;
    for (auto it = moComponents.begin(); it != moComponents.end(); ++it)
        if ((*it)->component() && !(*it)->owned())
            (*it)->component()->mbManagerGone = true;
    while (!moComponents.empty())
        delete moComponents.take(moComponents.begin());
    moClassLoaders.clear();
}

piVoid cModuleMgrImpl::mngSltProcessComponentManagement()
{
    if (!mbIdle) {
        moManagementWork.start();
        return piVoid();
    }
    cRunGuard oRun(*this);
    mbIdle = false;
    struct cIdleOnExit
    {
        const cRunGuard& moRun;
        ~cIdleOnExit()
        {
            if (moRun.alive())
                moRun.impl().mbIdle = true;
        }
    } oIdle{oRun};
    mngComponentIteration(true);
    if (!oRun.alive())
        return piVoid();
    sweepClassLoaders();
    return piVoid();
}

piVoid cModuleMgrImpl::mngSigCompatIdle()
{
    moManager.sigCompatIdle();
    return piVoid();
}

void cModuleMgrImpl::mngComponentIteration(bool bAnnounce)
{
    cWalk oWalk(*this);
    try {
        for (tComponents::iterator it = moComponents.begin(); it != moComponents.end(); ++it) {
            cManagedComponent& oEntry = **it;
            cAbstractComponent* pComponent = oEntry.component();
            if (!pComponent || oEntry.mbErase)
                continue;

            if (pComponent->toRemove()) {
                qstd::tList<cAbstractComponent*> oReferences;
                moManager.componentsReferencedBy(*pComponent, oReferences);
                if (oReferences.empty()) {
                    // Marked before the slots run: a slot that throws does not get
                    // the removal announced twice.
                    oEntry.mbErase = true;
                    mbSweepPending = true;
                    if (bAnnounce) {
                        moManager.sigComponentRemoved(*pComponent);
                        if (!oWalk.alive())
                            return;
                    }
                } else {
                    for (auto itRef = oReferences.begin(); itRef != oReferences.end(); ++itRef) {
                        QOR_DEBUG_LINE("cModuleMgr: Mark referencing component for removal... ("
                                       << (*itRef)->location().toString() << ")");
                        (*itRef)->removeLater();
                    }
                }
                continue;
            }
            if (!bAnnounce)
                continue;

            if (!pComponent->announced()) {
                bool bDelay = pComponent->delayAnnouncement();
                if (!oWalk.alive())
                    return;
                if (!(pComponent = oEntry.component()))
                    continue;
                if (bDelay) {
                    moManagementWork.start();
                    continue;
                }
                oEntry.mbNotifyPending = true;
                {
                    // Announced even when a slot throws: no slot sees it twice.
                    cFlagOnExit oAnnounced(oWalk, oEntry, &cAbstractComponent::setAnnounced);
                    moManager.sigComponentRegistered(*pComponent);
                }
                if (!oWalk.alive())
                    return;
                if (!(pComponent = oEntry.component()))
                    continue;
            }
            if (oEntry.mbNotifyPending) {
                oEntry.mbNotifyPending = false;
                pComponent->notifyComponentRegistered();
                if (!oWalk.alive())
                    return;
                if (!(pComponent = oEntry.component()))
                    continue;
            }
            if (pComponent->interfaceDepModified()) {
                {
                    cFlagOnExit oReset(oWalk, oEntry,
                                       &cAbstractComponent::resetInterfaceDepModification);
                    pComponent->recalcInterfaceDeps();
                    if (!oWalk.alive())
                        return;
                    if (!(pComponent = oEntry.component()))
                        continue;
                    moManager.sigInterfaceDepModified(pComponent->location());
                }
                if (!oWalk.alive())
                    return;
                if (!(pComponent = oEntry.component()))
                    continue;
            }
            if (pComponent->componentDepModified()) {
                cFlagOnExit oReset(oWalk, oEntry,
                                   &cAbstractComponent::resetComponentDepModification);
                moManager.sigComponentDepModified();
                if (!oWalk.alive())
                    return;
            }
        }
    } catch (...) {
        // The components after the one that failed follow on the next turn.
        if (oWalk.alive())
            moManagementWork.start();
        throw;
    }
}

cManagedComponent* cModuleMgrImpl::findEntry(piUInt32 iId) const
{
    unsigned iLow = 0;
    unsigned iHigh = moIndex.count();
    while (iLow < iHigh) {
        unsigned iMiddle = iLow + (iHigh - iLow) / 2;
        cManagedComponent* pEntry = moIndex[iMiddle];
        if (pEntry->miRegisteredID == iId)
            return pEntry;
        if (pEntry->miRegisteredID < iId)
            iLow = iMiddle + 1;
        else
            iHigh = iMiddle;
    }
    return nullptr;
}

void cModuleMgrImpl::appendEntry(qstd::tAutoPtr<cManagedComponent> pEntry)
{
    moIndex.append(pEntry.get());
    try {
        moComponents.guardedAppend(pEntry);
    } catch (...) {
        moIndex.remove(moIndex.count() - 1);
        throw;
    }
}

void cModuleMgrImpl::sweepErased()
{
    if (miWalkers != 0)
        return;
    // Counted as a walk, so that destructors of the components only mark entries
    // and never unlink the node this loop goes to next.
    cWalk oWalk(*this);
    while (mbSweepPending) {
        mbSweepPending = false;
        tComponents::iterator it = moComponents.begin();
        while (it != moComponents.end()) {
            tComponents::iterator itNext = it;
            ++itNext;
            if ((*it)->mbErase) {
                cManagedComponent* pEntry = moComponents.take(it);
                for (unsigned i = moIndex.count(); i > 0; --i)
                    if (moIndex[i - 1] == pEntry) {
                        moIndex.remove(i - 1);
                        break;
                    }
                delete pEntry;
                if (!oWalk.alive())
                    return;
            }
            it = itNext;
        }
    }
}

void cModuleMgrImpl::sweepClassLoaders()
{
    auto it = moClassLoaders.begin();
    while (it != moClassLoaders.end()) {
        auto itNext = it;
        ++itNext;
        if ((*it)->isUnused())
            delete moClassLoaders.take(it);
        it = itNext;
    }
}

// cModuleMgr

cModuleMgr::cModuleMgr(const qce::cCoreExtensionMgr& oExtensions)
    : sigCompatIdle(qrmi::cAbstractSignal::IgnoreWhenUnconnected),
      sigComponentAdded(qrmi::cAbstractSignal::IgnoreWhenUnconnected),
      sigComponentRegistered(qrmi::cAbstractSignal::IgnoreWhenUnconnected),
      sigComponentRemoved(qrmi::cAbstractSignal::IgnoreWhenUnconnected),
      sigComponentDepModified(qrmi::cAbstractSignal::IgnoreWhenUnconnected),
      sigInterfaceDepModified(qrmi::cAbstractSignal::IgnoreWhenUnconnected),
      mpImpl(new cModuleMgrImpl(*this, oExtensions))
{
}

cModuleMgr::~cModuleMgr()
{
    delete mpImpl;
}

cAbstractComponent& cModuleMgr::addComponent(cAbstractComponent& oComponent,
                                             const cComponentAddr& oDeployedBy)
{
    QOR_ASSERT_TEXT(!oComponent.isRegistered(), "!oComponent.isRegistered()");
    QOR_ASSERT_TEXT(&oComponent.moduleMgr() == this, "&oComponent.moduleMgr() == this");
    cModuleMgrImpl& oImpl = *mpImpl;
    const piUInt32 iLastID = assignID(oImpl, oComponent, oDeployedBy);
    oImpl.appendEntry(qstd::tAutoPtr<cManagedComponent>(new cManagedComponent(oComponent)));
    oImpl.miLastID = iLastID;
    handleComponentIterationLater();
    sigComponentAdded(oComponent);
    return oComponent;
}

cAbstractComponent& cModuleMgr::addComponent(qstd::tAutoPtr<cAbstractComponent> pComponent,
                                             const cComponentAddr& oDeployedBy)
{
    QOR_ASSERT_TEXT(pComponent.get() != nullptr, "mpComponentGuard.get()");
    cAbstractComponent& oComponent = *pComponent;
    QOR_ASSERT_TEXT(!oComponent.isRegistered(), "!oComponent.isRegistered()");
    QOR_ASSERT_TEXT(&oComponent.moduleMgr() == this, "&oComponent.moduleMgr() == this");
    cModuleMgrImpl& oImpl = *mpImpl;
    const piUInt32 iLastID = assignID(oImpl, oComponent, oDeployedBy);
    // The entry takes the component over only once it exists: should its
    // allocation fail, pComponent still deletes the component.
    cManagedComponent* pEntry = new cManagedComponent(pComponent);
    oImpl.appendEntry(qstd::tAutoPtr<cManagedComponent>(pEntry));
    oImpl.miLastID = iLastID;
    handleComponentIterationLater();
    sigComponentAdded(oComponent);
    return oComponent;
}

void cModuleMgr::removeComponent(const cComponentAddr& oAddress)
{
    findComponent(oAddress).removeLater();
    handleComponentIterationLater();
}

void cModuleMgr::removeAllComponentsNow()
{
    cModuleMgrImpl& oImpl = *mpImpl;
    cModuleMgrImpl::cRunGuard oRun(oImpl);
    auto markAll = [&oImpl] {
        for (auto it = oImpl.moComponents.begin(); it != oImpl.moComponents.end(); ++it)
            if (cAbstractComponent* pComponent = (*it)->component())
                if (!pComponent->toRemove())
                    pComponent->removeLater();
    };
    markAll();
    // Inside a walk (a slot of a pass) nothing may be unlinked: the pass removes them.
    if (!oImpl.isQuiet())
        return;
    while (!oImpl.moComponents.empty()) {
        unsigned iBefore = oImpl.moComponents.count();
        oImpl.mngComponentIteration(false);
        if (!oRun.alive())
            return;
        if (oImpl.moComponents.count() >= iBefore) {
            // Nothing could go: the rest require each other in a cycle. Their
            // requirements no longer matter, as all of them go now.
            for (auto it = oImpl.moComponents.begin(); it != oImpl.moComponents.end(); ++it)
                if (cAbstractComponent* pComponent = (*it)->component())
                    pComponent->moLocalRequiredComponents.clear();
        }
        markAll(); // components that destructors registered meanwhile
    }
}

void cModuleMgr::submitShortlyRemove()
{
    cModuleMgrImpl::cWalk oWalk(*mpImpl);
    for (auto it = mpImpl->moComponents.begin(); it != mpImpl->moComponents.end(); ++it) {
        if (cAbstractComponent* pComponent = (*it)->component()) {
            pComponent->notifyShortlyRemove();
            if (!oWalk.alive())
                return;
        }
    }
}

void cModuleMgr::handleComponentIterationLater()
{
    if (!mpImpl->mbClosing)
        mpImpl->moManagementWork.start();
}

cAbstractComponent& cModuleMgr::findComponent(const cComponentAddr& oAddress) const
{
    cAbstractComponent* pComponent = hasComponent(oAddress);
    if (!pComponent)
        cMCSExceptions::throwNoSuchModule(oAddress);
    return *pComponent;
}

cAbstractComponent& cModuleMgr::findComponent(const cComponentLocation& oLocation) const
{
    cAbstractComponent* pComponent = hasComponent(oLocation);
    if (!pComponent)
        cMCSExceptions::throwNoSuchModule(oLocation);
    return *pComponent;
}

cAbstractComponent& cModuleMgr::findComponent(const qstd::cAsciiString& sName) const
{
    cAbstractComponent* pComponent = hasComponent(sName);
    if (!pComponent)
        cMCSExceptions::throwNoSuchModule(sName);
    return *pComponent;
}

cAbstractComponent& cModuleMgr::findComponent(const qrmi::cConnectable& oInterface) const
{
    for (auto it = mpImpl->moComponents.begin(); it != mpImpl->moComponents.end(); ++it) {
        cAbstractComponent* pComponent = (*it)->component();
        if (pComponent && pComponent->hasInterface(oInterface))
            return *pComponent;
    }
    cMCSExceptions::throwNoPublicInterface(oInterface);
}

cAbstractComponent* cModuleMgr::hasComponent(const qstd::cAsciiString& sName) const
{
    for (auto it = mpImpl->moComponents.begin(); it != mpImpl->moComponents.end(); ++it) {
        cAbstractComponent* pComponent = (*it)->component();
        if (pComponent && pComponent->info().context() == sName)
            return pComponent;
    }
    return nullptr;
}

cAbstractComponent* cModuleMgr::hasComponent(const cComponentAddr& oAddress) const
{
    // Registered IDs are unique, so the entry of that ID is the only candidate.
    cManagedComponent* pEntry = mpImpl->findEntry(oAddress.moduleID());
    if (!pEntry)
        return nullptr;
    cAbstractComponent* pComponent = pEntry->component();
    if (pComponent && pComponent->address() == oAddress)
        return pComponent;
    return nullptr;
}

cAbstractComponent* cModuleMgr::hasComponent(const cComponentLocation& oLocation) const
{
    for (auto it = mpImpl->moComponents.begin(); it != mpImpl->moComponents.end(); ++it) {
        cAbstractComponent* pComponent = (*it)->component();
        if (pComponent && pComponent->location() == oLocation)
            return pComponent;
    }
    return nullptr;
}

bool cModuleMgr::exists(const cComponentLocation& oLocation) const
{
    return hasComponent(oLocation) != nullptr;
}

cModuleMgr::tComponents& cModuleMgr::components()
{
    return mpImpl->moComponents;
}

const cModuleMgr::tComponents& cModuleMgr::components() const
{
    return mpImpl->moComponents;
}

void cModuleMgr::componentsReferencedBy(const cAbstractComponent& oComponent,
                                        qstd::tList<cAbstractComponent*>& oOut) const
{
    oOut.clear();
    for (auto it = mpImpl->moComponents.begin(); it != mpImpl->moComponents.end(); ++it) {
        cAbstractComponent* pComponent = (*it)->component();
        if (pComponent && pComponent->requires(&oComponent))
            oOut.append(pComponent);
    }
}

const qce::cCoreExtensionMgr& cModuleMgr::coreExtensions() const
{
    return *mpImpl->mpCoreExtensions;
}

void cModuleMgr::registerClassLoader(qstd::tAutoPtr<qpi::cAbstractClassLoader> pLoader)
{
    QOR_ASSERT_TEXT(pLoader.get() != nullptr, "pLoader.get()");
    mpImpl->moClassLoaders.guardedAppend(pLoader);
}

void cModuleMgr::setApp(cAbstractQORApp& oApp)
{
    mpImpl->mpApp = &oApp;
}

cAbstractQORApp& cModuleMgr::app()
{
    if (!mpImpl->mpApp)
        cMCSExceptions::throwNoApplicationObject();
    return *mpImpl->mpApp;
}

const cAbstractQORApp& cModuleMgr::app() const
{
    if (!mpImpl->mpApp)
        cMCSExceptions::throwNoApplicationObject();
    return *mpImpl->mpApp;
}

bool cModuleMgr::applicationCloseAdvisable(cAbstractQORApp& oApp)
{
    bool bAdvisable = true;
    cModuleMgrImpl::cWalk oWalk(*mpImpl);
    for (auto it = mpImpl->moComponents.begin(); it != mpImpl->moComponents.end(); ++it) {
        if (cAbstractComponent* pComponent = (*it)->component()) {
            if (!pComponent->applicationCloseAdvisable(oApp))
                bAdvisable = false;
            if (!oWalk.alive())
                break;
        }
    }
    return bAdvisable;
}

qstd::tAutoPtr<qstd::cAbstractException>
cModuleMgr::createRemoteException(const cComponentLocation& oFrom,
                                  const qstd::cAsciiString& sTypeName,
                                  qsa::cAbstractDeserializer& oDeserializer)
{
    qstd::tAutoPtr<qstd::cAbstractException> pException;
    {
        cModuleMgrImpl::cWalk oWalk(*mpImpl);
        for (auto it = mpImpl->moComponents.begin(); it != mpImpl->moComponents.end(); ++it) {
            if (cAbstractComponent* pComponent = (*it)->component()) {
                pException = pComponent->tryCreateRegisteredException(sTypeName, oDeserializer);
                if (pException || !oWalk.alive())
                    break;
            }
        }
    }
    if (!pException) {
        qucs::cLIMessage oMsg;
        oMsg << "$MTR$Unknown remote exception of type %type%!" << sTypeName;
        pException.reset(new qstd::cRuntimeException(oMsg, nullptr, 0));
    }
    pException->setRemoteInfo(oFrom);
    return pException;
}

void cModuleMgr::componentDestroyed(cManagedComponent& oEntry)
{
    cModuleMgrImpl& oImpl = *mpImpl;
    cAbstractComponent* pDead = oEntry.component();
    oEntry.forgetComponent();
    // Nothing may keep requiring it: a later component at the same address would
    // be taken for it.
    for (auto it = oImpl.moComponents.begin(); it != oImpl.moComponents.end(); ++it)
        if (cAbstractComponent* pComponent = (*it)->component())
            while (pComponent->moLocalRequiredComponents.remove(pDead)) {
            }
    oEntry.mbErase = true;
    oImpl.mbSweepPending = true;
    if (oImpl.isQuiet())
        oImpl.sweepErased();
    else
        handleComponentIterationLater();
}

} // namespace qcs
