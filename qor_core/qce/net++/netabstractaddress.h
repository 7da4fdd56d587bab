// netabstractaddress.h - qce::cNetAbstractAddress, the base of network addresses.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCE_NETPP_NETABSTRACTADDRESS_H
#define QOR_CORE_QCE_NETPP_NETABSTRACTADDRESS_H

#include "qor_core/std/asciistring.h"
#include "qor_core/std/autoptr.h"

namespace qce {

class cNetAbstractIPAddress;

/// A network address of some transport. Network-address extensions create the
/// concrete kinds by type name (cCoreExtensionMgr::createNetAddress); the core only
/// knows their text form and whether they are IP addresses.
class QOR_EXPORT cNetAbstractAddress
{
public:
    virtual ~cNetAbstractAddress();

    /// The name of the address type, as the extensions know it ("TcpIpv4", ...).
    virtual qstd::cAsciiString addrType() const = 0;
    /// Parses sText into this object and returns it. On failure the object keeps its
    /// value and a cRuntimeException is raised.
    virtual cNetAbstractAddress& fromString(const qstd::cAsciiString& sText) = 0;
    /// The text form, as fromString reads it.
    virtual qstd::cAsciiString toString() const = 0;

    /// A new address of the same type and value; the caller owns it.
    virtual qstd::tAutoPtr<cNetAbstractAddress> clone() const = 0;
    /// Takes the value of oOther; a cBugException when oOther is of another type.
    virtual void assign(const cNetAbstractAddress& oOther) = 0;
    /// True when oOther is of the same type and names the same endpoint.
    virtual bool isEqual(const cNetAbstractAddress& oOther) const = 0;
    /// Resets the value to the type's empty address.
    virtual void clear() = 0;

    /// The address as an IP address, or null when it is none.
    virtual cNetAbstractIPAddress* isIPAddress();
    virtual const cNetAbstractIPAddress* isIPAddress() const;
};

} // namespace qce

#endif // QOR_CORE_QCE_NETPP_NETABSTRACTADDRESS_H
