// modulemgr.h - cModuleMgr, the registry and life cycle of the components of a process.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCS_MODULEMGR_H
#define QOR_CORE_QCS_MODULEMGR_H

#include "qor_core/qcs/abstractcomponent.h"
#include "qor_core/qcs/managedcomponent.h"
#include "qor_core/rmi/localsignal.h"

namespace qce {
class cCoreExtensionMgr;
}
namespace qpi {
class cAbstractClassLoader;
}

namespace qcs {

class cModuleMgrImpl;

/// Hands out module IDs, keeps the components in registration order, finds them,
/// and runs their life cycle on the system's work queue: a management pass
/// announces every new component once, tells listeners about changed dependencies
/// and removes the components marked for removal in two phases (a component that
/// others still require stays until they are gone). Every change is published
/// through the six signals, which do nothing when nothing is connected.
///
/// Everything runs on the thread that turns the system's queue. Slots connected to
/// the signals may register and remove components, start nested loops, throw
/// (the exception reaches the work queue; the manager stays consistent and the
/// pass resumes on the next turn) and even destroy the manager.
///
/// Destroying the manager takes its works off the queue, destroys the components
/// (deleting the owned ones, without signals) and only then the class loaders.
class QOR_EXPORT cModuleMgr
{
public:
    typedef qstd::tPtrList<cManagedComponent> tComponents;

    /// Adds the management and the idle work to the system's work queue; the idle
    /// work runs every 4000 ms. The extension manager must outlive this manager.
    explicit cModuleMgr(const qce::cCoreExtensionMgr& oExtensions);
    virtual ~cModuleMgr();
    cModuleMgr(const cModuleMgr&) = delete;
    cModuleMgr& operator=(const cModuleMgr&) = delete;

    /// Registers oComponent, which the caller keeps owning, and returns it. Its
    /// module ID is fixedModuleID(), or the next free one when that is 0; a fixed ID
    /// below the last ID handed out, or one that a registered component holds, throws
    /// cRuntimeException "Component id (%id%) not unique!" and registers nothing. Emits
    /// sigComponentAdded; the announcement follows on the next management pass. A component that is
    /// already registered, or belongs to another manager, fails an assertion.
    cAbstractComponent& addComponent(cAbstractComponent& oComponent,
                                     const cComponentAddr& oDeployedBy);
    /// The same for a component the manager then owns. A component that is refused
    /// is deleted before the exception leaves.
    cAbstractComponent& addComponent(qstd::tAutoPtr<cAbstractComponent> pComponent,
                                     const cComponentAddr& oDeployedBy);
    /// Marks the component at oAddress for removal; throws cNoSuchModuleException
    /// when there is none.
    void removeComponent(const cComponentAddr& oAddress);
    /// Removes every component now, without signals, also components that require
    /// each other in a cycle. Called from inside a management pass (from a slot),
    /// it only marks them and the pass removes them.
    void removeAllComponentsNow();
    /// notifyShortlyRemove() of every component, in registration order.
    void submitShortlyRemove();
    /// Starts the management work: a pass runs on the queue's next turn.
    void handleComponentIterationLater();

    /// Look-ups walk the components in registration order and take the first hit.
    /// By address: throws cNoSuchModuleException "Module (%addr%) not found!".
    cAbstractComponent& findComponent(const cComponentAddr& oAddress) const;
    cAbstractComponent& findComponent(const cComponentLocation& oLocation) const;
    /// By the lookup name a class loader's caller gave the module (its info's context).
    cAbstractComponent& findComponent(const qstd::cAsciiString& sName) const;
    /// The component that has oInterface as one of its interfaces; throws
    /// cNoPublicInterfaceException when none has.
    cAbstractComponent& findComponent(const qrmi::cConnectable& oInterface) const;
    cAbstractComponent* hasComponent(const qstd::cAsciiString& sName) const;
    cAbstractComponent* hasComponent(const cComponentAddr& oAddress) const;
    cAbstractComponent* hasComponent(const cComponentLocation& oLocation) const;
    bool exists(const cComponentLocation& oLocation) const;

    /// The entries in registration order. During a management pass, an entry whose
    /// component() is null belongs to a component that was deleted directly.
    tComponents& components();
    const tComponents& components() const;
    /// Replaces oOut by the components that require oComponent, in registration order.
    void componentsReferencedBy(const cAbstractComponent& oComponent,
                                qstd::tList<cAbstractComponent*>& oOut) const;
    const qce::cCoreExtensionMgr& coreExtensions() const;
    /// Keeps pLoader (owned) until it is unused and a management pass sweeps it, or
    /// until the manager is destroyed after its components.
    void registerClassLoader(qstd::tAutoPtr<qpi::cAbstractClassLoader> pLoader);
    /// Stores the application object (not owned); the manager only hands it on.
    void setApp(cAbstractQORApp& oApp);
    /// The application object; throws cBugException "No application object set!".
    cAbstractQORApp& app();
    const cAbstractQORApp& app() const;
    /// Asks every component, also after a refusal; true when none refused.
    bool applicationCloseAdvisable(cAbstractQORApp& oApp);
    /// The exception made by the first component that registered a prototype of
    /// sTypeName, loaded from oDeserializer; without one a cRuntimeException
    /// "Unknown remote exception of type %type%!". Either way marked as coming from
    /// oFrom.
    qstd::tAutoPtr<qstd::cAbstractException>
    createRemoteException(const cComponentLocation& oFrom, const qstd::cAsciiString& sTypeName,
                          qsa::cAbstractDeserializer& oDeserializer);

    /// Every 4000 ms.
    qrmi::localSignal0<piVoid> sigCompatIdle;
    /// From addComponent, right after the registration.
    qrmi::localSignal1<piVoid, cAbstractComponent&> sigComponentAdded;
    /// When a component is announced; once per component.
    qrmi::localSignal1<piVoid, cAbstractComponent&> sigComponentRegistered;
    /// Right before a management pass destroys a component, which is still
    /// registered and findable while the slots run.
    qrmi::localSignal1<piVoid, cAbstractComponent&> sigComponentRemoved;
    /// When an announced component's local component dependencies changed.
    qrmi::localSignal0<piVoid> sigComponentDepModified;
    /// With a component's location after its interface dependencies were recalculated.
    qrmi::localSignal1<piVoid, const cComponentLocation&> sigInterfaceDepModified;

    /// The hidden implementation (modulemgr_p.h), for the component system and its tests.
    cModuleMgrImpl& impl() const { return *mpImpl; }

private:
    friend class cAbstractComponent;

    /// A registered component is being deleted directly.
    void componentDestroyed(cManagedComponent& oEntry);

    cModuleMgrImpl* mpImpl; ///< owned; created by the constructor
};

} // namespace qcs

#endif // QOR_CORE_QCS_MODULEMGR_H
