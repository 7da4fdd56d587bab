// managedcomponent.h - cManagedComponent, one entry of the module manager's component list.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCS_MANAGEDCOMPONENT_H
#define QOR_CORE_QCS_MANAGEDCOMPONENT_H

#include "qor_core/std/autoptr.h"

namespace qcs {

class cAbstractComponent;

/// A registered component, owned by the entry or only referred to. While the entry
/// exists the component knows it (cAbstractComponent::isRegistered()).
class QOR_EXPORT cManagedComponent
{
public:
    /// Refers to oComponent, which the caller keeps owning.
    explicit cManagedComponent(cAbstractComponent& oComponent);
    /// Takes pComponent over; an empty pointer fails the assertion
    /// "mpComponentGuard.get()".
    explicit cManagedComponent(qstd::tAutoPtr<cAbstractComponent> pComponent);
    /// Deletes an owned component.
    ~cManagedComponent();
    cManagedComponent(const cManagedComponent&) = delete;
    cManagedComponent& operator=(const cManagedComponent&) = delete;

    /// The component; null only for the moment between a registered component being
    /// deleted directly and its entry being swept.
    cAbstractComponent* component() const { return mpComponent; }
    bool owned() const { return mpComponentGuard.get() != nullptr; }

private:
    friend class cModuleMgr;
    friend class cModuleMgrImpl;
    friend class cAbstractComponent;

    /// The component is being destroyed by someone else: forget it, own nothing.
    void forgetComponent();

    qstd::tAutoPtr<cAbstractComponent> mpComponentGuard; ///< owned; empty when only referred to
    cAbstractComponent* mpComponent;                     ///< not owned through this pointer
    piUInt32 miRegisteredID; ///< the module ID given at registration: the key of the index
    bool mbErase;            ///< to be unlinked and destroyed by the next sweep
    bool mbNotifyPending;    ///< announced, notifyComponentRegistered() not called yet
};

} // namespace qcs

#endif // QOR_CORE_QCS_MANAGEDCOMPONENT_H
