// netabstractserver.h - qce::cNetAbstractServer, the base of transports' servers.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCE_NETPP_NETABSTRACTSERVER_H
#define QOR_CORE_QCE_NETPP_NETABSTRACTSERVER_H

#include "qor_core/rmi/connectable.h"
#include "qor_core/rmi/localsignal.h"

namespace qpi {
class cWorkQueue;
}

namespace qce {

class cNetAbstractAddress;

/// Accepts connections at a local address. For each incoming connection the
/// transport asks sigAcceptRequest (the peer's address and a flag, true unless a
/// slot clears it) and, when accepted, emits sigConnected with the peer's address;
/// how the connection itself is handed out is the transport's.
class QOR_EXPORT cNetAbstractServer : public qrmi::cConnectable
{
public:
    /// pQueue may be null: the system's queue is used then.
    explicit cNetAbstractServer(qpi::cWorkQueue* pQueue = nullptr);
    ~cNetAbstractServer() override;

    /// Starts listening at oAddress.
    virtual void listen(const cNetAbstractAddress& oAddress) = 0;
    /// Stops listening.
    virtual void close() = 0;
    virtual bool isListening() const = 0;
    /// The local address listened at (with the port actually bound).
    virtual cNetAbstractAddress& address() = 0;

    qpi::cWorkQueue& wq();

    qrmi::localSignal2<piVoid, const cNetAbstractAddress&, bool&> sigAcceptRequest;
    qrmi::localSignal1<piVoid, const cNetAbstractAddress&> sigConnected;

private:
    qpi::cWorkQueue* mpQueue; ///< not owned; may be null
};

} // namespace qce

#endif // QOR_CORE_QCE_NETPP_NETABSTRACTSERVER_H
