// netabstractipaddress.h - qce::cNetAbstractIPAddress, the base of IP addresses.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCE_NETPP_NETABSTRACTIPADDRESS_H
#define QOR_CORE_QCE_NETPP_NETABSTRACTIPADDRESS_H

#include "qor_core/qce/net++/netabstractaddress.h"

namespace qce {

/// An address of the internet protocol family: a host and a port.
class QOR_EXPORT cNetAbstractIPAddress : public cNetAbstractAddress
{
public:
    ~cNetAbstractIPAddress() override;

    cNetAbstractIPAddress* isIPAddress() override { return this; }
    const cNetAbstractIPAddress* isIPAddress() const override { return this; }

    /// The port number, 0..65535.
    virtual unsigned int port() const = 0;
    /// Sets the port and keeps the host; a value above 65535 is a cRuntimeException.
    virtual void setPort(unsigned int iPort) = 0;
};

} // namespace qce

#endif // QOR_CORE_QCE_NETPP_NETABSTRACTIPADDRESS_H
