// interfacedep.h - cInterfaceDep, a required interface matched to a providing
// component, and cMatchedDependency, the provider it chose.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCS_INTERFACEDEP_H
#define QOR_CORE_QCS_INTERFACEDEP_H

#include "qor_core/qcs/componentlocation.h"
#include "qor_core/qcs/interfacedesc.h"
#include "qor_core/rmi/connectable.h"
#include "qor_core/rmi/localsignal.h"
#include "qor_core/std/list.h"

namespace qcs {

class cAbstractComponent;
class cAbstractInterface;
class cModuleMgr;

/// The location of the provider a dependency chose, and whether it still stands.
class QOR_EXPORT cMatchedDependency
{
public:
    /// This host and process with an invalid address; not valid.
    cMatchedDependency() : mbValid(false) {}

    /// Copies the location and makes the match valid.
    void set(const cComponentLocation& oLocation);
    /// Clears the valid flag only.
    void invalidate() { mbValid = false; }
    bool valid() const { return mbValid; }
    /// The provider's location; throws cUnmatchedInterfaceException when not valid.
    const cComponentLocation& location() const;

private:
    cComponentLocation moLocation;
    bool mbValid;
};

/// An interface a component (or the application) needs from another component:
/// the description of the wanted interface, an optional local interface object to
/// attach to the provider's interface, and the way a provider is chosen.
///
/// The dependency follows the manager's announcements and removals. When a
/// provider is chosen it attaches the local interface, emits sigMatched and
/// records the provider's location. When the provider is removed the match turns
/// invalid at once, and the owner's next management pass gives it up (detach,
/// sigUnmatched) and, choosing first-best, looks for another provider. A component
/// that is being removed is never chosen.
///
/// The component form adds itself to its owner on construction and removes itself
/// on destruction; the owner does not own it. Destroying a dependency emits nothing
/// and does not detach. A dependency may outlive its owner, which it then forgets.
class QOR_EXPORT cInterfaceDep : public qrmi::cConnectable
{
public:
    /// Unsigned 32 bits.
    enum selectionAlgo : piUInt32
    {
        saUseExplicit = 0,   ///< only setExplicit() chooses
        saUseFirstBest = 1,  ///< the first component with a matching interface
        saUseInteractive = 2 ///< not supported
    };
    enum
    {
        Unmatched = 0,
        Matched = 1
    };

    /// For the manager alone: no owner.
    cInterfaceDep(cModuleMgr& oManager, const cInterfaceDesc& oDesc,
                  cAbstractInterface* pLocalInterface, selectionAlgo eAlgo);
    /// For oOwner, with its manager; adds itself to oOwner's dependencies.
    cInterfaceDep(cAbstractComponent& oOwner, const cInterfaceDesc& oDesc,
                  cAbstractInterface* pLocalInterface, selectionAlgo eAlgo);
    /// Removes itself from its owner's dependencies.
    ~cInterfaceDep() override;

    bool matched() const { return miState == Matched; }
    /// The provider's address; throws cUnmatchedInterfaceException without a valid
    /// match.
    const cComponentAddr& address() const;
    bool validateMatch(const cMatchedDependency& oMatch) const { return oMatch.valid(); }
    /// recalc(c) for every registered component, in registration order.
    void recalc();
    /// One selection step against oComponent, by the selection algorithm.
    /// saUseInteractive throws the unsupported-operation error.
    void recalc(cAbstractComponent& oComponent);

    piVoid sltComponentRegistered(cAbstractComponent& oComponent);
    piVoid sltComponentRemoved(cAbstractComponent& oComponent);

    /// Gives up the current match and chooses the component at oWhere, when it has a
    /// matching interface (the location lists are not consulted); the selection
    /// becomes saUseExplicit. Throws cNoSuchModuleException when no component is at
    /// oWhere, after giving up the old match.
    void setExplicit(const cComponentLocation& oWhere);
    /// Restricts providers to the hosts of the locations added. bFlag must be true;
    /// false throws the unsupported-operation error and changes nothing.
    void addPossibleLocation(const cComponentLocation& oWhere, bool bFlag);
    /// Invalidates the match, detaches the local interface (also when nothing was
    /// matched) and, when matched, emits sigUnmatched; then unmatched.
    void invalidateMatch();

    /// The first interface of oComponent that matches the wanted description, or null.
    cAbstractInterface* hasPotentialyMatchingInterface(cAbstractComponent& oComponent) const;
    /// The potential match, when oComponent's location is not excluded and its host
    /// is one of the possible ones (any host when none was added); else null.
    cAbstractInterface* hasMatchingInterface(cAbstractComponent& oComponent) const;

    cAbstractComponent* owner() const { return mpOwner; }
    cModuleMgr& moduleMgr() const { return moModuleMgr; }
    const cInterfaceDesc& desc() const { return moDesc; }
    selectionAlgo algorithm() const { return meAlgo; }
    unsigned int state() const { return miState; }
    const cMatchedDependency& match() const { return moMatch; }
    cAbstractInterface* localInterface() const { return mpLocalInterface; }
    const qstd::tList<cComponentLocation>& possibleLocations() const { return moPossibleLocations; }
    /// Never filled by the library; an application may exclude locations here.
    qstd::tList<cComponentLocation>& excludedLocations() { return moExcludedLocations; }

    /// Emitted with the provider's address when a provider has been chosen.
    qrmi::localSignal1<piVoid, const cComponentAddr&> sigMatched;
    /// Emitted when a chosen provider is given up.
    qrmi::localSignal0<piVoid> sigUnmatched;

private:
    friend class cAbstractComponent;
    friend class cCallGuard;
    /// One running operation that calls foreign code, on the stack; it learns when
    /// the dependency is destroyed meanwhile.
    struct cCall
    {
        cCall* mpOuter;
        bool mbDestroyed;
    };

    void recalcUseExcplicit(cAbstractComponent& oComponent);
    void recalcUseFirstBest(cAbstractComponent& oComponent);
    void recalcUseInteractive();
    /// Attaches, emits sigMatched and records oProvider as the match.
    void choose(cAbstractComponent& oProvider, cAbstractInterface& oInterface);
    void connectToManager();

    cAbstractComponent* mpOwner; ///< not owned; null for the manager form or once it died
    cModuleMgr& moModuleMgr;
    cInterfaceDesc moDesc;
    qstd::tList<cComponentLocation> moPossibleLocations;
    qstd::tList<cComponentLocation> moExcludedLocations;
    selectionAlgo meAlgo;
    piUInt32 miState;
    cMatchedDependency moMatch;
    cAbstractInterface* mpLocalInterface; ///< not owned; may be null
    cCall* mpCalls;                       ///< innermost running operation, or null
};

} // namespace qcs

#endif // QOR_CORE_QCS_INTERFACEDEP_H
