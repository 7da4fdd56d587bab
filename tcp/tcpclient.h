// tcpclient.h - qtcp::cTcpClient, connects to a TCP/IPv4 server without blocking.
// SPDX-License-Identifier: MIT
#ifndef QOR_TCP_TCPCLIENT_H
#define QOR_TCP_TCPCLIENT_H

#include "qor_core/qce/net++/netabstractclient.h"
#include "qor_core/qce/net++/netabstractconnection.h"
#include "qor_core/std/exception.h"
#include "tcp/tcpglobal.h"
#include "tcp/tcpipv4address.h"

namespace qtcp {

/// Connects to a TCP/IPv4 address. connectTo starts a non-blocking connect whose
/// end a work on the queue waits for; sigConnected is emitted when the attempt has
/// ended: isConnected() then tells whether it succeeded (connection() hands the
/// connection out, scheduled on the client's queue) or failure() why not. A connect
/// time-out (startTimeout) aborts the attempt, emits sigConnected and raises the
/// time-out message through the queue. No descriptor stays open after a failure.
class QOR_TCP_EXPORT cTcpClient : public qce::cNetAbstractClient
{
public:
    explicit cTcpClient(qpi::cWorkQueue* pQueue = nullptr);
    ~cTcpClient() override;

    /// oTarget must be an IPv4 address (a cBugException otherwise). Abandons an
    /// attempt in progress and a connection not handed out.
    void connectTo(const qce::cNetAbstractAddress& oTarget) override;
    bool isConnected() const override { return mbConnected; }
    /// The established connection; empty when there is none (or it was handed out).
    qstd::tAutoPtr<qce::cNetAbstractConnection> connection() override;
    qce::cNetAbstractAddress& address() override { return moTarget; }
    /// Waits up to 10 ms for the attempt to progress; raises the failure when it
    /// failed, the time-out message when the time-out has passed.
    void connectStep() override;
    piVoid sltTimeout() override;

    /// Why the last attempt failed, or null.
    const qstd::cAbstractException* failure() const { return mpFailure.get(); }
    /// Whether an attempt is in progress.
    bool isConnecting() const { return miFd >= 0; }

    piVoid sltConnectReady();

private:
    /// Checks the pending connect: true when it has ended either way.
    bool checkConnect();
    void succeed();
    void fail(const qstd::cRuntimeException& oFailure);
    void abort();
    void setWaiting(bool bWaiting);

    int miFd; ///< owned while connecting; -1 otherwise
    bool mbConnected;
    cTcpIpv4Address moTarget;
    qstd::tAutoPtr<qce::cNetAbstractConnection> mpConnection;
    qstd::tAutoPtr<qstd::cRuntimeException> mpFailure;
    qpi::cWork moConnectWork;
};

} // namespace qtcp

#endif // QOR_TCP_TCPCLIENT_H
