// netabstractipv4address.h - qce::cNetAbstractIPv4Address, IPv4 addresses and their
// text form.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCE_NETPP_NETABSTRACTIPV4ADDRESS_H
#define QOR_CORE_QCE_NETPP_NETABSTRACTIPV4ADDRESS_H

#include "qor_core/qce/net++/netabstractipaddress.h"

namespace qce {

/// An IPv4 address with a port. The text form is "a.b.c.d" or "a.b.c.d:port"; the
/// concrete transport stores the value through setAddress and hands it back through
/// address(). The host travels as one 32-bit value whose bits 0..7 hold the first
/// number of the dotted text, bits 8..15 the second, 16..23 the third and 24..31
/// the fourth, whatever the byte order of the processor.
class QOR_EXPORT cNetAbstractIPv4Address : public cNetAbstractIPAddress
{
public:
    ~cNetAbstractIPv4Address() override;

    /// "TcpIpv4".
    qstd::cAsciiString addrType() const override;
    /// Accepts exactly four decimal numbers of 0..255 joined by ".", optionally
    /// followed by ":" and a decimal port of 0..65535, and nothing else (no signs,
    /// spaces, empty parts or trailing text). Any failure raises cRuntimeException
    /// "$MTR$Invalid network address!" with the specific cause linked beneath it;
    /// the object is not changed then.
    cNetAbstractAddress& fromString(const qstd::cAsciiString& sText) override;
    /// The dotted host without the port.
    qstd::cAsciiString toString() const override;
    /// The dotted host, with ":" and the port when bWithPort is true.
    virtual qstd::cAsciiString toString(bool bWithPort) const;
    /// Stores host and port (iPort <= 65535).
    virtual void setAddress(unsigned int iIp, unsigned int iPort) = 0;
    /// Fetches host and port.
    virtual void address(unsigned int& iIp, unsigned int& iPort) const = 0;

    /// Parses sText as fromString does, without an object: host and port on success,
    /// the exception fromString would raise otherwise.
    static void parse(const qstd::cAsciiString& sText, unsigned int& iIp, unsigned int& iPort);
};

} // namespace qce

#endif // QOR_CORE_QCE_NETPP_NETABSTRACTIPV4ADDRESS_H
