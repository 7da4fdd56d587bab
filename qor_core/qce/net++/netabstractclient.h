// netabstractclient.h - qce::cNetAbstractClient, the base of transports' clients.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCE_NETPP_NETABSTRACTCLIENT_H
#define QOR_CORE_QCE_NETPP_NETABSTRACTCLIENT_H

#include "qor_core/pi/work.h"
#include "qor_core/rmi/connectable.h"
#include "qor_core/rmi/signal.h"
#include "qor_core/std/autoptr.h"

namespace qpi {
class cWorkQueue;
}

namespace qce {

class cNetAbstractAddress;
class cNetAbstractConnection;

/// Establishes a connection to a target address. The transport emits sigConnected
/// when its attempt has come to an end, established or failed; a connect time-out
/// (startTimeout) raises its message through the queue's error handling.
class QOR_EXPORT cNetAbstractClient : public qrmi::cConnectable
{
public:
    /// pQueue may be null: the system's queue is used then.
    explicit cNetAbstractClient(qpi::cWorkQueue* pQueue = nullptr);
    ~cNetAbstractClient() override;

    /// Starts connecting to oTarget.
    virtual void connectTo(const cNetAbstractAddress& oTarget) = 0;
    /// Whether the connection is established.
    virtual bool isConnected() const = 0;
    /// Hands the established connection out (once).
    virtual qstd::tAutoPtr<cNetAbstractConnection> connection() = 0;
    /// The target address.
    virtual cNetAbstractAddress& address() = 0;
    /// One step of connecting; raises when the attempt failed.
    virtual void connectStep() = 0;

    /// Starts the connect time-out: iMSec from now, once.
    void startTimeout(unsigned int iMSec);
    void stopTimeout();
    qpi::cWorkQueue& wq();
    /// Repeats connectStep() until the connection is established; returns it.
    qstd::tAutoPtr<cNetAbstractConnection> waitConnection();
    /// Raises "$MTR$Timeout while establish network connection to %to%!".
    virtual piVoid sltTimeout();

    /// Emitted by the transport; harmless without receivers.
    qrmi::signal0<piVoid> sigConnected;

protected:
    qpi::cWork& timeoutWork() { return moTimeoutWork; }

private:
    qpi::cWork moTimeoutWork;
    qpi::cWorkQueue* mpQueue; ///< not owned; may be null
};

} // namespace qce

#endif // QOR_CORE_QCE_NETPP_NETABSTRACTCLIENT_H
