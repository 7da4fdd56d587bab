// tcpserver.h - qtcp::cTcpServer, accepts TCP/IPv4 connections from the loop.
// SPDX-License-Identifier: MIT
#ifndef QOR_TCP_TCPSERVER_H
#define QOR_TCP_TCPSERVER_H

#include "qor_core/qce/net++/netabstractconnection.h"
#include "qor_core/qce/net++/netabstractserver.h"
#include "tcp/tcpglobal.h"
#include "tcp/tcpipv4address.h"

namespace qtcp {

/// Listens at an IPv4 address; port 0 binds an ephemeral port, which address()
/// reports afterwards. A work on the queue accepts: for each incoming connection
/// sigAcceptRequest is asked (clear the flag to refuse), then sigConnected is
/// emitted with the peer's address; a slot takes the connection with
/// takeConnection(), already scheduled on the server's queue. A connection nobody
/// takes is closed after the signal.
class QOR_TCP_EXPORT cTcpServer : public qce::cNetAbstractServer
{
public:
    explicit cTcpServer(qpi::cWorkQueue* pQueue = nullptr);
    ~cTcpServer() override;

    /// oAddress must be an IPv4 address. Raises cRuntimeException with the OS error
    /// linked when the address cannot be bound; nothing stays open then.
    void listen(const qce::cNetAbstractAddress& oAddress) override;
    void close() override;
    bool isListening() const override { return miFd >= 0; }
    qce::cNetAbstractAddress& address() override { return moAddress; }
    /// The length of the queue of connections not yet accepted (before listen).
    void setBacklog(int iBacklog) { miBacklog = iBacklog; }

    /// Inside a slot of sigConnected: the new connection (once).
    qstd::tAutoPtr<qce::cNetAbstractConnection> takeConnection();

    piVoid sltAccept();

private:
    int miFd; ///< owned; -1 when not listening
    int miBacklog;
    cTcpIpv4Address moAddress;
    qstd::tAutoPtr<qce::cNetAbstractConnection> mpPending;
    qpi::cWork moAcceptWork;
    bool* mpAlive; ///< cleared by the destructor while an accept runs
};

} // namespace qtcp

#endif // QOR_TCP_TCPSERVER_H
