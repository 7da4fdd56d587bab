// remoteclient.h - qremote::cRemoteClient, the side of a connection that uses the
// components a peer publishes.
// SPDX-License-Identifier: MIT
#ifndef QOR_REMOTE_REMOTECLIENT_H
#define QOR_REMOTE_REMOTECLIENT_H

#include "qor_core/qcs/modulemgr.h"
#include "remote/remotecomponent.h"
#include "remote/remoteendpoint.h"
#include "remote/remoteexceptions.h"

namespace qremote {

/// Rebuilds the components a cRemoteServer publishes over the connection and
/// registers them (cRemoteComponent) with a local module manager, so that local
/// interface dependencies match the peer's interfaces and call their slots through
/// proxies. Several calls may be in flight; each carries an identifier that pairs
/// it with its reply.
///
/// When the peer withdraws a component, or the connection goes (closed by the
/// peer, failed, or closed for malformed input), the client marks the affected
/// remote components for removal: the manager's next pass removes them and the
/// dependencies on them unmatch. Pending calls then fail with the network texts.
/// Destroying the client does the same. The manager must outlive the client.
class QOR_REMOTE_EXPORT cRemoteClient : public cRemoteEndpoint
{
public:
    /// Serves pConnection (scheduled, see cRemoteEndpoint) for oManager.
    cRemoteClient(qcs::cModuleMgr& oManager,
                  qstd::tAutoPtr<qce::cNetAbstractConnection> pConnection);
    ~cRemoteClient() override;

    qcs::cModuleMgr& moduleMgr() const { return moManager; }
    /// The time-out of calls started from now on, in milliseconds; 0 waits without
    /// limit. kDefaultCallTimeout at first.
    void setCallTimeout(unsigned int iMSec) { miCallTimeout = iMSec; }
    unsigned int callTimeout() const { return miCallTimeout; }

    /// The peer's components received so far, withdrawn ones included until the
    /// manager has removed them.
    const qstd::tPtrVector<cRemoteComponent>& remoteComponents() const { return moComponents; }
    /// The live remote component at oAddress (the peer's address), or null.
    cRemoteComponent* findRemoteComponent(const qcs::cComponentAddr& oAddress) const;
    /// Calls started and not yet finished.
    unsigned int pendingCalls() const { return miPending; }

    /// Makes exceptions of the class T (default-constructible, with createObject and
    /// typeName) arrive as T: the remote components learn a prototype, and failed
    /// calls throw them with their class. Affects components received later.
    template <class T> void registerException()
    {
        moPrototypes.append(qstd::tAutoPtr<qstd::cAbstractException>(new T));
        moThrowers.append(qstd::tAutoPtr<cAbstractExceptionThrower>(new tExceptionThrower<T>));
    }
    /// A new copy of the latest registered thrower that knows oException, or null.
    cAbstractExceptionThrower* throwerFor(const qstd::cAbstractException& oException) const;

protected:
    void handleMessage(piUInt32 iKind, qsa::cDeserializeBinary& oMessage) override;
    void handleClosed(const qstd::cAbstractException& oReason) override;

private:
    friend class cRemoteInterface;
    friend class cRemoteComponent;
    friend class cRemoteCall;

    /// Sends the call; oCall fails at once when the client is closed.
    void send(cRemoteCall& oCall, const cRemoteComponent& oComponent, unsigned int iInterface,
              const qstd::cAsciiString& sSlot, qsa::cReferenceFrame& oFrame);
    void link(cRemoteCall& oCall);
    void unlink(cRemoteCall& oCall);
    void forget(cRemoteComponent& oComponent);
    /// Marks every remote component for removal and cuts it off from this client.
    void releaseComponents();
    void announce(qsa::cDeserializeBinary& oMessage);
    void withdraw(qsa::cDeserializeBinary& oMessage);
    void reply(qsa::cDeserializeBinary& oMessage);
    void emitted(qsa::cDeserializeBinary& oMessage);

    qcs::cModuleMgr& moManager;
    unsigned int miCallTimeout;
    piUInt32 miNextId;
    unsigned int miPending;
    unsigned int miMembers;   ///< proxy slots and signals of the live remote components
    cRemoteCall* mpFirstCall; ///< pending calls, oldest first; not owned
    cRemoteCall* mpLastCall;
    /// Not owned: the manager owns the components; each removes itself when destroyed.
    qstd::tPtrVector<cRemoteComponent> moComponents;
    qstd::tPtrVector<qstd::cAbstractException> moPrototypes; ///< owned
    tExceptionThrowers moThrowers;                           ///< owned
};

} // namespace qremote

#endif // QOR_REMOTE_REMOTECLIENT_H
