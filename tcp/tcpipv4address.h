// tcpipv4address.h - qtcp::cTcpIpv4Address, the address kind "TcpIpv4" of the TCP
// transport.
// SPDX-License-Identifier: MIT
#ifndef QOR_TCP_TCPIPV4ADDRESS_H
#define QOR_TCP_TCPIPV4ADDRESS_H

#include "qor_core/qce/net++/netabstractipv4address.h"
#include "tcp/tcpglobal.h"

struct sockaddr_in;

namespace qtcp {

/// An IPv4 host and port; 0.0.0.0:0 when empty.
class QOR_TCP_EXPORT cTcpIpv4Address : public qce::cNetAbstractIPv4Address
{
public:
    cTcpIpv4Address() : miIp(0), miPort(0) {}
    /// Parses sText (see fromString).
    explicit cTcpIpv4Address(const qstd::cAsciiString& sText);

    unsigned int port() const override { return miPort; }
    /// A port above 65535 is a cRuntimeException.
    void setPort(unsigned int iPort) override;
    void setAddress(unsigned int iIp, unsigned int iPort) override;
    void address(unsigned int& iIp, unsigned int& iPort) const override;
    qstd::tAutoPtr<qce::cNetAbstractAddress> clone() const override;
    /// oOther must be an IPv4 address (a cBugException otherwise).
    void assign(const qce::cNetAbstractAddress& oOther) override;
    bool isEqual(const qce::cNetAbstractAddress& oOther) const override;
    void clear() override;

    void toSockAddr(sockaddr_in& oAddr) const;
    void fromSockAddr(const sockaddr_in& oAddr);

private:
    unsigned int miIp; ///< first dotted number in bits 0..7
    unsigned int miPort;
};

} // namespace qtcp

#endif // QOR_TCP_TCPIPV4ADDRESS_H
