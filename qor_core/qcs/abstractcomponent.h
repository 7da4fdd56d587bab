// abstractcomponent.h - cAbstractComponent, a module registered with the module manager.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCS_ABSTRACTCOMPONENT_H
#define QOR_CORE_QCS_ABSTRACTCOMPONENT_H

#include "qor_core/qcs/abstractmodule.h"
#include "qor_core/qcs/componentlocation.h"
#include "qor_core/std/exception.h"
#include "qor_core/std/list.h"
#include "qor_core/std/ptrvector.h"

namespace qcs {

class cAbstractQORApp;
class cInterfaceDep;
class cManagedComponent;
class cModuleMgr;

/// A module that lives in a module manager. The manager gives it its address at
/// registration (cModuleMgr::addComponent), announces it once on its next
/// management pass, reacts to its two modified flags and removes it after
/// removeLater(), once no other component requires it.
///
/// Removal goes through removeLater() and the manager. A registered component that
/// is deleted directly anyway takes itself out of its manager, so the manager never
/// reaches a dead component. A slot must not delete the component it is handed.
/// A component registered by reference may outlive its manager; it then no longer
/// asks it for passes.
///
/// The interface dependencies are not owned: a dependency made for the component
/// adds itself on construction and removes itself on destruction. A dependency
/// that outlives its component forgets it. The components in
/// localRequiredComponents() are not owned either.
class QOR_EXPORT cAbstractComponent : public cAbstractModule
{
public:
    explicit cAbstractComponent(cModuleMgr& oManager);
    /// The frame is for derived components created through reference frames.
    cAbstractComponent(cModuleMgr& oManager, qsa::cReferenceFrame& oFrame);
    ~cAbstractComponent() override;

    bool isPlugIn() const override;
    bool isComponent() const override;
    /// Empty here.
    virtual qstd::cAsciiString isSpecific() const;
    /// False here.
    virtual bool explicitLocal() const;
    /// The queue ID put into the component's address; 1 here.
    virtual unsigned int fixedQueueID() const;
    /// A module ID the component insists on, or 0 to have the manager assign one; 0
    /// here.
    virtual unsigned int fixedModuleID() const;
    /// True: the component lives in this process, so its location follows its
    /// address.
    virtual bool isLocal() const;
    /// Called once, right after the component was announced. Nothing here.
    virtual void notifyComponentRegistered();
    /// Called by cModuleMgr::submitShortlyRemove(). Nothing here.
    virtual void notifyShortlyRemove();
    /// False vetoes closing the application; true here.
    virtual bool applicationCloseAdvisable(cAbstractQORApp& oApp);
    virtual const qstd::tPtrVector<cInterfaceDep>& interfaceDeps() const;
    /// True postpones the announcement to a later management pass; false here.
    virtual bool delayAnnouncement() const;

    cModuleMgr& moduleMgr() const { return moModuleMgr; }
    const cComponentAddr& address() const { return moAddress; }
    const cComponentAddr& deployedBy() const { return moDeployedBy; }
    const cComponentLocation& location() const { return moLocation; }
    cComponentLocation& componentLocation() { return moLocation; }
    const qstd::tList<cAbstractComponent*>& localRequiredComponents() const
    {
        return moLocalRequiredComponents;
    }
    bool announced() const { return mbAnnounced; }
    bool toRemove() const { return mbToRemove; }
    bool componentDepModified() const { return mbComponentDepModified; }
    bool interfaceDepModified() const { return mbInterfaceDepModified; }
    /// True while the component is in a manager's component list.
    bool isRegistered() const { return mpManagedEntry != nullptr; }

    /// Address = (fixedQueueID(), iId), valid; a local component's location takes the
    /// same address.
    void setComponentID(unsigned int iId);
    void setDeployedBy(const cComponentAddr& oAddress);
    /// For the module manager only.
    void setAnnounced() { mbAnnounced = true; }
    /// Marks the component for removal by the next management pass.
    void removeLater();
    /// Sets the interface-dependency flag and asks for a management pass.
    void modifyInterfaceDep();
    void resetInterfaceDepModification() { mbInterfaceDepModified = false; }
    /// Sets the component-dependency flag and asks for a management pass.
    void modifyComponentDep();
    void resetComponentDepModification() { mbComponentDepModified = false; }

    /// Records that this component needs pComponent in this process (not owned);
    /// null is ignored.
    void addLocalRequiredComponent(cAbstractComponent* pComponent);
    /// True when pComponent is one of the required components (pointer identity).
    bool requires(const cAbstractComponent* pComponent) const;

    /// Appends pDependency without taking it over and marks the dependencies
    /// modified.
    void addInterfaceDep(cInterfaceDep* pDependency);
    /// Removes every entry of pDependency without deleting it; marks the
    /// dependencies modified also when there was none.
    void removeInterfaceDep(cInterfaceDep* pDependency);
    /// recalc() of every dependency in order; dependencies added meanwhile are
    /// visited too.
    void recalcInterfaceDeps();

    /// Keeps a prototype (owned) for exceptions of its type that arrive from other
    /// processes.
    void registerRemoteException(qstd::tAutoPtr<qstd::cAbstractException> pPrototype);
    /// A new exception of the first prototype named sTypeName, loaded from
    /// oDeserializer; empty, with nothing read, when no prototype has that name.
    qstd::tAutoPtr<qstd::cAbstractException>
    tryCreateRegisteredException(const qstd::cAsciiString& sTypeName,
                                 qsa::cAbstractDeserializer& oDeserializer);

private:
    friend class cManagedComponent;
    friend class cInterfaceDep;
    friend class cModuleMgr;
    friend class cModuleMgrImpl;

    /// Asks the manager for a pass, unless it is gone.
    void askForPass();

    cModuleMgr& moModuleMgr;
    cComponentAddr moAddress;                                   ///< invalid until registration
    cComponentAddr moDeployedBy;                                ///< invalid until registration
    qstd::tList<cAbstractComponent*> moLocalRequiredComponents; ///< not owned
    bool mbComponentDepModified;
    cComponentLocation moLocation; ///< this host and process; address set at registration
    bool mbToRemove;
    bool mbInterfaceDepModified;
    qstd::tPtrVector<cInterfaceDep> moInterfaceDeps; ///< borrowed: never deleted here
    bool mbAnnounced;
    qstd::tPtrList<qstd::cAbstractException> moRegisteredExceptions; ///< owned prototypes
    cManagedComponent* mpManagedEntry; ///< the manager's entry; null when not registered
    bool mbManagerGone; ///< the manager was destroyed while this component was registered
};

} // namespace qcs

#endif // QOR_CORE_QCS_ABSTRACTCOMPONENT_H
