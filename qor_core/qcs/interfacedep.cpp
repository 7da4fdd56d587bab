// interfacedep.cpp - cInterfaceDep and cMatchedDependency.
// SPDX-License-Identifier: MIT
#include "qor_core/qcs/interfacedep.h"
#include "qor_core/qcs/abstractcomponent.h"
#include "qor_core/qcs/mcsexceptions.h"
#include "qor_core/qcs/modulemgr.h"
#include "qor_core/qcs/modulemgr_p.h"
#include "qor_core/std/stdexceptions.h"

namespace qcs {

/// Registers a running operation of a dependency for its scope.
class cCallGuard
{
public:
    explicit cCallGuard(cInterfaceDep& oDependency) : moDependency(oDependency)
    {
        moCall.mpOuter = oDependency.mpCalls;
        moCall.mbDestroyed = false;
        oDependency.mpCalls = &moCall;
    }
    ~cCallGuard()
    {
        if (!moCall.mbDestroyed)
            moDependency.mpCalls = moCall.mpOuter;
    }
    cCallGuard(const cCallGuard&) = delete;
    cCallGuard& operator=(const cCallGuard&) = delete;
    bool alive() const { return !moCall.mbDestroyed; }

private:
    cInterfaceDep& moDependency;
    cInterfaceDep::cCall moCall;
};

// cMatchedDependency

void cMatchedDependency::set(const cComponentLocation& oLocation)
{
    moLocation = oLocation;
    mbValid = true;
}

const cComponentLocation& cMatchedDependency::location() const
{
    if (!mbValid)
        cMCSExceptions::throwUnmatchedInterface();
    return moLocation;
}

// cInterfaceDep

cInterfaceDep::cInterfaceDep(cModuleMgr& oManager, const cInterfaceDesc& oDesc,
                             cAbstractInterface* pLocalInterface, selectionAlgo eAlgo)
    : sigMatched(qrmi::cAbstractSignal::IgnoreWhenUnconnected),
      sigUnmatched(qrmi::cAbstractSignal::IgnoreWhenUnconnected), mpOwner(nullptr),
      moModuleMgr(oManager), moDesc(oDesc), meAlgo(eAlgo), miState(Unmatched),
      mpLocalInterface(pLocalInterface), mpCalls(nullptr)
{
    connectToManager();
}

cInterfaceDep::cInterfaceDep(cAbstractComponent& oOwner, const cInterfaceDesc& oDesc,
                             cAbstractInterface* pLocalInterface, selectionAlgo eAlgo)
    : sigMatched(qrmi::cAbstractSignal::IgnoreWhenUnconnected),
      sigUnmatched(qrmi::cAbstractSignal::IgnoreWhenUnconnected), mpOwner(nullptr),
      moModuleMgr(oOwner.moduleMgr()), moDesc(oDesc), meAlgo(eAlgo), miState(Unmatched),
      mpLocalInterface(pLocalInterface), mpCalls(nullptr)
{
    connectToManager();
    oOwner.addInterfaceDep(this);
    mpOwner = &oOwner;
}

cInterfaceDep::~cInterfaceDep()
{
    for (cCall* p = mpCalls; p; p = p->mpOuter)
        p->mbDestroyed = true;
    if (mpOwner)
        mpOwner->removeInterfaceDep(this);
}

void cInterfaceDep::connectToManager()
{
    moModuleMgr.sigComponentRegistered.connect(*this, &cInterfaceDep::sltComponentRegistered);
    moModuleMgr.sigComponentRemoved.connect(*this, &cInterfaceDep::sltComponentRemoved);
}

const cComponentAddr& cInterfaceDep::address() const
{
    return moMatch.location().address();
}

void cInterfaceDep::recalc()
{
    cModuleMgrImpl::cWalk oWalk(moModuleMgr.impl());
    cCallGuard oCall(*this);
    const cModuleMgr::tComponents& oComponents = moModuleMgr.components();
    for (auto it = oComponents.begin(); it != oComponents.end(); ++it) {
        cAbstractComponent* pComponent = (*it)->component();
        if (!pComponent)
            continue;
        recalc(*pComponent);
        if (!oCall.alive() || !oWalk.alive())
            return;
        // Every further step would change nothing: only an unmatched first-best
        // dependency still looks at the other components.
        if (meAlgo != saUseFirstBest || (miState == Matched && moMatch.valid()))
            return;
    }
}

void cInterfaceDep::recalc(cAbstractComponent& oComponent)
{
    switch (meAlgo) {
    case saUseExplicit:
        recalcUseExcplicit(oComponent);
        break;
    case saUseFirstBest:
        recalcUseFirstBest(oComponent);
        break;
    case saUseInteractive:
        recalcUseInteractive();
        break;
    default:
        break;
    }
}

piVoid cInterfaceDep::sltComponentRegistered(cAbstractComponent& oComponent)
{
    recalc(oComponent);
    return piVoid();
}

piVoid cInterfaceDep::sltComponentRemoved(cAbstractComponent& oComponent)
{
    if (moMatch.valid() && moMatch.location() == oComponent.location()) {
        moMatch.invalidate();
        if (mpOwner)
            mpOwner->modifyInterfaceDep();
    }
    return piVoid();
}

void cInterfaceDep::setExplicit(const cComponentLocation& oWhere)
{
    cCallGuard oCall(*this);
    invalidateMatch();
    if (!oCall.alive())
        return;
    meAlgo = saUseExplicit;
    cAbstractComponent& oComponent = moModuleMgr.findComponent(oWhere);
    cAbstractInterface* pInterface = hasPotentialyMatchingInterface(oComponent);
    if (pInterface)
        choose(oComponent, *pInterface);
}

void cInterfaceDep::addPossibleLocation(const cComponentLocation& oWhere, bool bFlag)
{
    if (!bFlag)
        qstd::cSTDExceptions::throwUnsupportedOperation(
            "cInterfaceDep::addPossibleLocation(useUnpredictable)");
    moPossibleLocations.append(oWhere);
}

void cInterfaceDep::invalidateMatch()
{
    cCallGuard oCall(*this);
    moMatch.invalidate();
    if (mpLocalInterface) {
        mpLocalInterface->detach();
        if (!oCall.alive())
            return;
    }
    // Unmatched before the signal: a slot may destroy the dependency.
    bool bWasMatched = miState == Matched;
    miState = Unmatched;
    if (bWasMatched)
        sigUnmatched();
}

cAbstractInterface*
cInterfaceDep::hasPotentialyMatchingInterface(cAbstractComponent& oComponent) const
{
    unsigned iCount = oComponent.numInterfaces();
    for (unsigned i = 0; i < iCount; ++i) {
        cAbstractInterface& oInterface = oComponent.interface(i);
        if (oInterface.matches(moDesc))
            return &oInterface;
    }
    return nullptr;
}

cAbstractInterface* cInterfaceDep::hasMatchingInterface(cAbstractComponent& oComponent) const
{
    cAbstractInterface* pInterface = hasPotentialyMatchingInterface(oComponent);
    if (!pInterface)
        return nullptr;
    const cComponentLocation& oLocation = oComponent.location();
    for (auto it = moExcludedLocations.begin(); it != moExcludedLocations.end(); ++it)
        if (*it == oLocation)
            return nullptr;
    if (moPossibleLocations.empty())
        return pInterface;
    for (auto it = moPossibleLocations.begin(); it != moPossibleLocations.end(); ++it)
        if (it->hostName() == oLocation.hostName())
            return pInterface;
    return nullptr;
}

void cInterfaceDep::recalcUseExcplicit(cAbstractComponent&)
{
    if (miState == Matched && !validateMatch(moMatch))
        invalidateMatch();
}

void cInterfaceDep::recalcUseFirstBest(cAbstractComponent& oComponent)
{
    if (miState == Matched) {
        if (validateMatch(moMatch))
            return;
        cCallGuard oCall(*this);
        invalidateMatch();
        if (!oCall.alive())
            return;
    }
    if (miState != Unmatched)
        return;
    // A component on its way out would leave the match stale at once.
    if (oComponent.toRemove())
        return;
    cAbstractInterface* pInterface = hasMatchingInterface(oComponent);
    if (pInterface)
        choose(oComponent, *pInterface);
}

void cInterfaceDep::recalcUseInteractive()
{
    qstd::cSTDExceptions::throwUnsupportedOperation("cInterfaceDep::saUseInteractive");
}

void cInterfaceDep::choose(cAbstractComponent& oProvider, cAbstractInterface& oInterface)
{
    cCallGuard oCall(*this);
    if (mpLocalInterface) {
        mpLocalInterface->attach(oInterface);
        if (!oCall.alive())
            return;
    }
    // Recorded before the signal: its slots see the dependency matched, and may
    // destroy it.
    cComponentAddr oAddress(oProvider.address());
    moMatch.set(oProvider.location());
    miState = Matched;
    sigMatched(oAddress);
}

} // namespace qcs
