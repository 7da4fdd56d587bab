// tcpextension.cpp - the extension, the plug-in and the entry points of libqor_tcp.
// SPDX-License-Identifier: MIT
#include "tcp/tcpextension.h"
#include "tcp/tcpipv4address.h"

namespace qtcp {

qstd::cAsciiString cTcpExtension::description() const
{
    return "TCP/IPv4 transport";
}

bool cTcpExtension::supports(const qstd::cAsciiString& sName) const
{
    return sName == "TCPIPV4";
}

void cTcpExtension::provides(qstd::tVector<qstd::cAsciiString>& oNames) const
{
    oNames.append(qstd::cAsciiString("TcpIpv4"));
}

qstd::tAutoPtr<qce::cNetAbstractAddress>
cTcpExtension::createNetAddress(const qstd::cAsciiString&) const
{
    return qstd::tAutoPtr<qce::cNetAbstractAddress>(new cTcpIpv4Address);
}

cTcpPlugIn::cTcpPlugIn(qsa::cReferenceFrame& oFrame) : qcs::cAbstractPlugIn(oFrame)
{
    moduleInfo().setName("qor_tcp");
}

} // namespace qtcp

extern "C" {

QOR_TCP_EXPORT void moduleInitPlugIn(qcs::cAbstractPlugIn** ppSlot, qsa::cReferenceFrame& oFrame)
{
    *ppSlot = new qtcp::cTcpPlugIn(oFrame);
}

QOR_TCP_EXPORT void moduleVersion(unsigned int& iMajor, unsigned int& iMinor)
{
    iMajor = 0;
    iMinor = 1;
}

QOR_TCP_EXPORT void qorVersion(unsigned int& iMajor, unsigned int& iMinor)
{
    iMajor = 0;
    iMinor = 1;
}

} // extern "C"
