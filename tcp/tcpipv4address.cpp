// tcpipv4address.cpp - the TCP transport's IPv4 address.
// SPDX-License-Identifier: MIT
#include "tcp/tcpipv4address.h"
#include "qor_core/std/exception.h"
#include "qor_core/ucs/limessage.h"

#include <cstring>
#include <netinet/in.h>

namespace qtcp {

cTcpIpv4Address::cTcpIpv4Address(const qstd::cAsciiString& sText) : miIp(0), miPort(0)
{
    fromString(sText);
}

void cTcpIpv4Address::setPort(unsigned int iPort)
{
    if (iPort > 65535) {
        qucs::cLIMessage oMsg;
        oMsg << "$MTR$Given port number (%number%) is not in range of 0..65535" << iPort;
        throw qstd::cRuntimeException(oMsg, nullptr, 0);
    }
    miPort = iPort;
}

void cTcpIpv4Address::setAddress(unsigned int iIp, unsigned int iPort)
{
    setPort(iPort);
    miIp = iIp;
}

void cTcpIpv4Address::address(unsigned int& iIp, unsigned int& iPort) const
{
    iIp = miIp;
    iPort = miPort;
}

qstd::tAutoPtr<qce::cNetAbstractAddress> cTcpIpv4Address::clone() const
{
    return qstd::tAutoPtr<qce::cNetAbstractAddress>(new cTcpIpv4Address(*this));
}

void cTcpIpv4Address::assign(const qce::cNetAbstractAddress& oOther)
{
    auto* pOther = dynamic_cast<const qce::cNetAbstractIPv4Address*>(&oOther);
    if (!pOther) {
        qucs::cLIMessage oMsg;
        oMsg << "$MTR$Address type %type% is not an IPv4 address!" << oOther.addrType();
        throw qstd::cBugException(oMsg, nullptr, 0);
    }
    unsigned iIp = 0, iPort = 0;
    pOther->address(iIp, iPort);
    setAddress(iIp, iPort);
}

bool cTcpIpv4Address::isEqual(const qce::cNetAbstractAddress& oOther) const
{
    auto* pOther = dynamic_cast<const qce::cNetAbstractIPv4Address*>(&oOther);
    if (!pOther)
        return false;
    unsigned iIp = 0, iPort = 0;
    pOther->address(iIp, iPort);
    return iIp == miIp && iPort == miPort;
}

void cTcpIpv4Address::clear()
{
    miIp = 0;
    miPort = 0;
}

void cTcpIpv4Address::toSockAddr(sockaddr_in& oAddr) const
{
    std::memset(&oAddr, 0, sizeof(oAddr));
    oAddr.sin_family = AF_INET;
    oAddr.sin_port = htons(static_cast<uint16_t>(miPort));
    // The first dotted number is the first byte on the wire, whatever the byte
    // order of the processor.
    unsigned char cBytes[4] = {
        static_cast<unsigned char>(miIp), static_cast<unsigned char>(miIp >> 8),
        static_cast<unsigned char>(miIp >> 16), static_cast<unsigned char>(miIp >> 24)};
    std::memcpy(&oAddr.sin_addr.s_addr, cBytes, 4);
}

void cTcpIpv4Address::fromSockAddr(const sockaddr_in& oAddr)
{
    unsigned char cBytes[4];
    std::memcpy(cBytes, &oAddr.sin_addr.s_addr, 4);
    miIp = unsigned(cBytes[0]) | (unsigned(cBytes[1]) << 8) | (unsigned(cBytes[2]) << 16) |
           (unsigned(cBytes[3]) << 24);
    miPort = ntohs(oAddr.sin_port);
}

} // namespace qtcp
