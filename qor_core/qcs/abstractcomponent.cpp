// abstractcomponent.cpp - cAbstractComponent and cManagedComponent.
// SPDX-License-Identifier: MIT
#include "qor_core/qcs/abstractcomponent.h"
#include "qor_core/qcs/interfacedep.h"
#include "qor_core/qcs/managedcomponent.h"
#include "qor_core/qcs/modulemgr.h"
#include "qor_core/pi/debug.h"
#include "qor_core/std/stdexceptions.h"

namespace qcs {

cAbstractComponent::cAbstractComponent(cModuleMgr& oManager)
    : moModuleMgr(oManager), mbComponentDepModified(false), mbToRemove(false),
      mbInterfaceDepModified(false), moInterfaceDeps(qstd::tAutoPtrType::Borrowed, 4),
      mbAnnounced(false),
      moRegisteredExceptions(qstd::tPtrList<qstd::cAbstractException>::GuardSingle),
      mpManagedEntry(nullptr), mbManagerGone(false)
{
}

cAbstractComponent::cAbstractComponent(cModuleMgr& oManager, qsa::cReferenceFrame& oFrame)
    : cAbstractModule(oFrame), moModuleMgr(oManager), mbComponentDepModified(false),
      mbToRemove(false), mbInterfaceDepModified(false),
      moInterfaceDeps(qstd::tAutoPtrType::Borrowed, 4), mbAnnounced(false),
      moRegisteredExceptions(qstd::tPtrList<qstd::cAbstractException>::GuardSingle),
      mpManagedEntry(nullptr), mbManagerGone(false)
{
}

cAbstractComponent::~cAbstractComponent()
{
    // Dependencies that outlive the component must not call it back.
    for (unsigned i = 0; i < moInterfaceDeps.count(); ++i)
        moInterfaceDeps[i]->mpOwner = nullptr;
    if (mpManagedEntry)
        moModuleMgr.componentDestroyed(*mpManagedEntry);
}

bool cAbstractComponent::isPlugIn() const
{
    return false;
}

bool cAbstractComponent::isComponent() const
{
    return true;
}

qstd::cAsciiString cAbstractComponent::isSpecific() const
{
    return qstd::cAsciiString();
}

bool cAbstractComponent::explicitLocal() const
{
    return false;
}

unsigned int cAbstractComponent::fixedQueueID() const
{
    return 1;
}

unsigned int cAbstractComponent::fixedModuleID() const
{
    return 0;
}

bool cAbstractComponent::isLocal() const
{
    return true;
}

void cAbstractComponent::notifyComponentRegistered() {}

void cAbstractComponent::notifyShortlyRemove() {}

bool cAbstractComponent::applicationCloseAdvisable(cAbstractQORApp&)
{
    return true;
}

const qstd::tPtrVector<cInterfaceDep>& cAbstractComponent::interfaceDeps() const
{
    return moInterfaceDeps;
}

bool cAbstractComponent::delayAnnouncement() const
{
    return false;
}

void cAbstractComponent::setComponentID(unsigned int iId)
{
    // Look-ups by address rely on the ID a component was registered with.
    QOR_ASSERT_TEXT(mpManagedEntry == nullptr, "!isRegistered()");
    cComponentAddr oAddress(fixedQueueID(), iId);
    if (isLocal())
        moLocation.setAddress(oAddress);
    moAddress = oAddress;
}

void cAbstractComponent::setDeployedBy(const cComponentAddr& oAddress)
{
    moDeployedBy = oAddress;
}

void cAbstractComponent::removeLater()
{
    mbToRemove = true;
    askForPass();
}

void cAbstractComponent::modifyInterfaceDep()
{
    mbInterfaceDepModified = true;
    askForPass();
}

void cAbstractComponent::modifyComponentDep()
{
    mbComponentDepModified = true;
    askForPass();
}

void cAbstractComponent::askForPass()
{
    if (!mbManagerGone)
        moModuleMgr.handleComponentIterationLater();
}

void cAbstractComponent::addLocalRequiredComponent(cAbstractComponent* pComponent)
{
    if (!pComponent)
        return;
    moLocalRequiredComponents.append(pComponent);
    modifyComponentDep();
}

bool cAbstractComponent::requires(const cAbstractComponent* pComponent) const
{
    for (auto it = moLocalRequiredComponents.begin(); it != moLocalRequiredComponents.end(); ++it)
        if (*it == pComponent)
            return true;
    return false;
}

void cAbstractComponent::addInterfaceDep(cInterfaceDep* pDependency)
{
    moInterfaceDeps.append(pDependency);
    modifyInterfaceDep();
    QOR_DEBUG_LINE("cAbstractComponent::addInterfaceDep...");
}

void cAbstractComponent::removeInterfaceDep(cInterfaceDep* pDependency)
{
    for (unsigned i = moInterfaceDeps.count(); i > 0; --i)
        if (moInterfaceDeps[i - 1] == pDependency)
            moInterfaceDeps.remove(i - 1);
    modifyInterfaceDep();
}

void cAbstractComponent::recalcInterfaceDeps()
{
    for (unsigned i = 0; i < moInterfaceDeps.count(); ++i) {
        QOR_DEBUG_LINE("cAbstractComponent::Recalcing deps...");
        moInterfaceDeps[i]->recalc();
    }
}

void cAbstractComponent::registerRemoteException(
    qstd::tAutoPtr<qstd::cAbstractException> pPrototype)
{
    QOR_ASSERT_TEXT(pPrototype.get() != nullptr, "pPrototype.get()");
    moRegisteredExceptions.guardedAppend(pPrototype);
}

qstd::tAutoPtr<qstd::cAbstractException>
cAbstractComponent::tryCreateRegisteredException(const qstd::cAsciiString& sTypeName,
                                                 qsa::cAbstractDeserializer& oDeserializer)
{
    for (auto it = moRegisteredExceptions.begin(); it != moRegisteredExceptions.end(); ++it) {
        if ((*it)->typeName() != sTypeName)
            continue;
        qstd::tAutoPtr<qstd::cAbstractException> pException((*it)->createObject());
        pException->load(oDeserializer);
        return pException;
    }
    return qstd::tAutoPtr<qstd::cAbstractException>();
}

cManagedComponent::cManagedComponent(cAbstractComponent& oComponent)
    : mpComponent(&oComponent), miRegisteredID(oComponent.address().moduleID()), mbErase(false),
      mbNotifyPending(false)
{
    oComponent.mpManagedEntry = this;
}

cManagedComponent::cManagedComponent(qstd::tAutoPtr<cAbstractComponent> pComponent)
    : mpComponentGuard(pComponent), mpComponent(mpComponentGuard.get()), miRegisteredID(0),
      mbErase(false), mbNotifyPending(false)
{
    QOR_ASSERT_TEXT(mpComponentGuard.get() != nullptr, "mpComponentGuard.get()");
    miRegisteredID = mpComponent->address().moduleID();
    mpComponent->mpManagedEntry = this;
}

cManagedComponent::~cManagedComponent()
{
    // The component must not report its own destruction to the manager, which is
    // destroying it through this entry.
    if (mpComponent)
        mpComponent->mpManagedEntry = nullptr;
}

void cManagedComponent::forgetComponent()
{
    if (mpComponent)
        mpComponent->mpManagedEntry = nullptr;
    mpComponent = nullptr;
    mpComponentGuard.release();
}

} // namespace qcs
