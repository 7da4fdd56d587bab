// tcpextension.h - qtcp::cTcpExtension, the network-address extension "TcpIpv4".
// SPDX-License-Identifier: MIT
#ifndef QOR_TCP_TCPEXTENSION_H
#define QOR_TCP_TCPEXTENSION_H

#include "qor_core/qce/abstractcoreextension.h"
#include "qor_core/qcs/abstractplugin.h"
#include "tcp/tcpglobal.h"

namespace qtcp {

/// Creates "TcpIpv4" addresses (cTcpIpv4Address).
class QOR_TCP_EXPORT cTcpExtension : public qce::cNetAbstractAddressExtension
{
public:
    qstd::cAsciiString description() const override;
    const qstd::cBuildInfo& buildInfo() const override { return moBuildInfo; }
    /// "TCPIPV4".
    bool supports(const qstd::cAsciiString& sName) const override;
    void provides(qstd::tVector<qstd::cAsciiString>& oNames) const override;
    qstd::tAutoPtr<qce::cNetAbstractAddress>
    createNetAddress(const qstd::cAsciiString& sType) const override;

private:
    qstd::cBuildInfo moBuildInfo;
};

/// The plug-in object of libqor_tcp: carries the extension, so that
/// cCoreExtensionMgr::load("qor_tcp") registers it.
class QOR_TCP_EXPORT cTcpPlugIn : public qcs::cAbstractPlugIn
{
public:
    explicit cTcpPlugIn(qsa::cReferenceFrame& oFrame);
    bool isCoreExtension() const override { return true; }
    const qce::cAbstractCoreExtension& coreExtension() const override { return moExtension; }
    qstd::cAsciiString pluginTypeName() const override { return "network address"; }

private:
    cTcpExtension moExtension;
};

} // namespace qtcp

#endif // QOR_TCP_TCPEXTENSION_H
