// abstractinterfaceprovider.cpp - cAbstractInterfaceProvider and cRegisteredInterface.
// SPDX-License-Identifier: MIT
#include "qor_core/qcs/abstractinterfaceprovider.h"
#include "qor_core/qcs/mcsexceptions.h"
#include "qor_core/std/exceptions.h"

namespace qcs {

cRegisteredInterface::cRegisteredInterface(qstd::tAutoPtr<cAbstractInterface> pInterface)
    : mpInterface(pInterface.get()), mbOwned(true)
{
    QOR_ASSERT_TEXT(mpInterface != nullptr, "pInterface.get()");
    pInterface.release();
}

cRegisteredInterface::cRegisteredInterface(cAbstractInterface& oInterface)
    : mpInterface(&oInterface), mbOwned(false)
{
}

cRegisteredInterface::~cRegisteredInterface()
{
    if (mbOwned)
        delete mpInterface;
}

cAbstractInterfaceProvider::cAbstractInterfaceProvider()
    : moInterfaces(qstd::tAutoPtrType::Single, 4)
{
}

cAbstractInterfaceProvider::~cAbstractInterfaceProvider() {}

void cAbstractInterfaceProvider::addInterface(qstd::tAutoPtr<cAbstractInterface> pInterface)
{
    // The registration takes the interface only once it exists, so a failed
    // allocation leaves it in pInterface, which deletes it.
    qstd::tAutoPtr<cRegisteredInterface> pEntry(new cRegisteredInterface(pInterface));
    moInterfaces.append(pEntry);
}

void cAbstractInterfaceProvider::addInterface(cAbstractInterface& oInterface)
{
    moInterfaces.append(qstd::tAutoPtr<cRegisteredInterface>(new cRegisteredInterface(oInterface)));
}

void cAbstractInterfaceProvider::removeInterface(cAbstractInterface& oInterface)
{
    for (unsigned i = 0; i < moInterfaces.count(); ++i) {
        if (moInterfaces[i]->interface() == &oInterface) {
            // Out of the list first: the interface's destructor may look at the list.
            cRegisteredInterface* pEntry = moInterfaces.take(i);
            delete pEntry;
            return;
        }
    }
}

cAbstractInterface& cAbstractInterfaceProvider::at(unsigned int iIndex, const char* pContainer,
                                                   const char* pOperation) const
{
    unsigned iCount = moInterfaces.count();
    if (iIndex >= iCount) {
        qstd::cOutOfRangeException oRange(pContainer, pOperation, qstd::cSTDExceptions::Index,
                                          (long long)iIndex, 0, (long long)iCount - 1);
        cMCSExceptions::throwNoSuchInterface("given by index", &oRange);
    }
    return *moInterfaces[iIndex]->interface();
}

cAbstractInterface& cAbstractInterfaceProvider::interface(unsigned int iIndex) const
{
    return at(iIndex, "tVector", "at");
}

cAbstractInterface& cAbstractInterfaceProvider::getInterface(unsigned int iIndex)
{
    return at(iIndex, "cAbstractInterfaceProvider", "getInterface");
}

cAbstractInterface*
cAbstractInterfaceProvider::tryFindInterface(const qstd::cAsciiString& sName) const
{
    for (unsigned i = 0; i < moInterfaces.count(); ++i) {
        cAbstractInterface* pInterface = moInterfaces[i]->interface();
        if (pInterface->desc().name() == sName)
            return pInterface;
    }
    return nullptr;
}

cAbstractInterface& cAbstractInterfaceProvider::findInterface(const qstd::cAsciiString& sName) const
{
    cAbstractInterface* pInterface = tryFindInterface(sName);
    if (!pInterface)
        cMCSExceptions::throwNoSuchInterface(sName, nullptr);
    return *pInterface;
}

cAbstractInterface& cAbstractInterfaceProvider::getInterface(const qstd::cAsciiString& sName)
{
    return findInterface(sName);
}

bool cAbstractInterfaceProvider::hasMatchingInterface(const cInterfaceDesc& oDesc) const
{
    for (unsigned i = 0; i < moInterfaces.count(); ++i)
        if (moInterfaces[i]->interface()->matches(oDesc))
            return true;
    return false;
}

bool cAbstractInterfaceProvider::hasMatchingInterface(const cInterfaceDesc& oDesc)
{
    return static_cast<const cAbstractInterfaceProvider&>(*this).hasMatchingInterface(oDesc);
}

cAbstractInterface&
cAbstractInterfaceProvider::getMatchingInterface(const cInterfaceDesc& oDesc) const
{
    for (unsigned i = 0; i < moInterfaces.count(); ++i) {
        cAbstractInterface* pInterface = moInterfaces[i]->interface();
        if (pInterface->matches(oDesc))
            return *pInterface;
    }
    cMCSExceptions::throwNoSuchInterface(oDesc.name(), nullptr);
}

cAbstractInterface*
cAbstractInterfaceProvider::hasInterface(const qrmi::cConnectable& oObject) const
{
    for (unsigned i = 0; i < moInterfaces.count(); ++i) {
        cAbstractInterface* pInterface = moInterfaces[i]->interface();
        if (static_cast<const qrmi::cConnectable*>(pInterface) == &oObject)
            return pInterface;
    }
    return nullptr;
}

cAbstractInterface&
cAbstractInterfaceProvider::findInterface(const qrmi::cConnectable& oObject) const
{
    cAbstractInterface* pInterface = hasInterface(oObject);
    if (!pInterface)
        cMCSExceptions::throwNoPublicInterface(oObject);
    return *pInterface;
}

qstd::tAutoPtr<qstd::tPtrList<cAbstractInterface>> cAbstractInterfaceProvider::interfaces() const
{
    qstd::tAutoPtr<qstd::tPtrList<cAbstractInterface>> pList(
        new qstd::tPtrList<cAbstractInterface>(qstd::tPtrList<cAbstractInterface>::NoGuard));
    for (unsigned i = 0; i < moInterfaces.count(); ++i)
        pList->append(moInterfaces[i]->interface());
    return pList;
}

} // namespace qcs
