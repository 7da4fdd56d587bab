// abstractinterfaceprovider.h - cAbstractInterfaceProvider, the interface list of a
// module, and cRegisteredInterface, one entry of it.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCS_ABSTRACTINTERFACEPROVIDER_H
#define QOR_CORE_QCS_ABSTRACTINTERFACEPROVIDER_H

#include "qor_core/qcs/abstractinterface.h"
#include "qor_core/std/ptrvector.h"

namespace qcs {

/// One interface of a provider, owned or borrowed.
class QOR_EXPORT cRegisteredInterface
{
public:
    /// Takes the interface over: it is deleted with the registration.
    explicit cRegisteredInterface(qstd::tAutoPtr<cAbstractInterface> pInterface);
    /// Borrows the interface, which must outlive the registration.
    explicit cRegisteredInterface(cAbstractInterface& oInterface);
    ~cRegisteredInterface();
    cRegisteredInterface(const cRegisteredInterface&) = delete;
    cRegisteredInterface& operator=(const cRegisteredInterface&) = delete;

    cAbstractInterface* interface() const { return mpInterface; }
    bool owned() const { return mbOwned; }
    /// The same interface object.
    bool operator==(const cRegisteredInterface& o) const { return mpInterface == o.mpInterface; }

private:
    cAbstractInterface* mpInterface; ///< owned when mbOwned
    bool mbOwned;
};

/// The interfaces a module provides, in a list whose positions are the interfaces'
/// indices (what remote calls carry). Look-ups by name or description take the
/// interface with the lowest index.
class QOR_EXPORT cAbstractInterfaceProvider
{
public:
    cAbstractInterfaceProvider();
    /// Deletes the owned interfaces.
    virtual ~cAbstractInterfaceProvider();
    cAbstractInterfaceProvider(const cAbstractInterfaceProvider&) = delete;
    cAbstractInterfaceProvider& operator=(const cAbstractInterfaceProvider&) = delete;

    /// Appends an interface that the provider then owns; its index is the previous
    /// count. An empty pointer is refused with the assertion "pInterface.get()".
    virtual void addInterface(qstd::tAutoPtr<cAbstractInterface> pInterface);
    /// Appends an interface that the caller keeps owning.
    virtual void addInterface(cAbstractInterface& oInterface);
    /// Removes the registration of that very object (deleting an owned interface);
    /// the interfaces behind it move down one index. Does nothing when the object is
    /// not registered here.
    virtual void removeInterface(cAbstractInterface& oInterface);

    unsigned numInterfaces() const { return moInterfaces.count(); }
    /// The interface at iIndex. An index >= numInterfaces() throws cRuntimeException
    /// "No such interface (\"given by index\")" with the range error linked beneath.
    cAbstractInterface& interface(unsigned int iIndex) const;
    cAbstractInterface& getInterface(unsigned int iIndex);
    /// The first interface named sName; none throws "No such interface".
    cAbstractInterface& getInterface(const qstd::cAsciiString& sName);
    /// The first interface named sName, or null.
    cAbstractInterface* tryFindInterface(const qstd::cAsciiString& sName) const;
    /// The first interface named sName; none throws "No such interface".
    cAbstractInterface& findInterface(const qstd::cAsciiString& sName) const;
    /// True when some interface matches oDesc (cAbstractInterface::matches).
    bool hasMatchingInterface(const cInterfaceDesc& oDesc) const;
    bool hasMatchingInterface(const cInterfaceDesc& oDesc);
    /// The first interface that matches oDesc; none throws "No such interface" with
    /// the description's name.
    cAbstractInterface& getMatchingInterface(const cInterfaceDesc& oDesc) const;
    /// The interface that is oObject itself, or null.
    cAbstractInterface* hasInterface(const qrmi::cConnectable& oObject) const;
    /// The interface that is oObject itself; none throws cNoPublicInterfaceException.
    cAbstractInterface& findInterface(const qrmi::cConnectable& oObject) const;
    /// A new list of all interfaces in index order. The caller owns the list; the
    /// interfaces stay owned by their registrations.
    qstd::tAutoPtr<qstd::tPtrList<cAbstractInterface>> interfaces() const;

private:
    cAbstractInterface& at(unsigned int iIndex, const char* pContainer,
                           const char* pOperation) const;

    qstd::tPtrVector<cRegisteredInterface> moInterfaces; ///< owns the registrations
};

} // namespace qcs

#endif // QOR_CORE_QCS_ABSTRACTINTERFACEPROVIDER_H
