// remoteserver.h - qremote::cRemoteServer, publishes the components of a module
// manager to connected peers, and qremote::cRemoteSession, one such peer.
// SPDX-License-Identifier: MIT
#ifndef QOR_REMOTE_REMOTESERVER_H
#define QOR_REMOTE_REMOTESERVER_H

#include "qor_core/pi/work.h"
#include "qor_core/qcs/modulemgr.h"
#include "remote/remoteendpoint.h"

namespace qremote {

class cRemoteServer;

/// One peer of a cRemoteServer. It carries out the peer's calls one after the other,
/// each through the frame path of the target's public slot (invokeIndirectSlot),
/// and replies with the alterable values or with the exception chain, marked with
/// the location of the component that raised it.
class QOR_REMOTE_EXPORT cRemoteSession : public cRemoteEndpoint
{
public:
    cRemoteSession(cRemoteServer& oServer, qstd::tAutoPtr<qce::cNetAbstractConnection> pConnection);
    ~cRemoteSession() override;

    cRemoteServer& server() const { return *mpServer; }
    /// Calls carried out so far.
    unsigned int callsServed() const { return miCalls; }

protected:
    void handleMessage(piUInt32 iKind, qsa::cDeserializeBinary& oMessage) override;
    void handleClosed(const qstd::cAbstractException& oReason) override;

private:
    friend class cRemoteServer;
    void announce(qcs::cAbstractComponent& oComponent);
    void withdraw(const qcs::cComponentLocation& oLocation);
    bool post(qsa::cSerializeBinary& oMessage);
    void call(qsa::cDeserializeBinary& oMessage);
    void replyFailure(piUInt32 iId, const qcs::cComponentLocation& oFrom,
                      const qstd::cAbstractException& e);

    cRemoteServer* mpServer; ///< not owned; owns this session
    unsigned int miCalls;
};

/// Publishes the interfaces of a module manager's components to every connected
/// peer (a cRemoteClient on the other side): the local components (isLocal()) that
/// have interfaces, once they are announced. Later announcements and removals are
/// passed on as they happen, and emissions of published signals without arguments
/// (signal0) are forwarded to every peer. Components a client rebuilt from another
/// process are not published again.
///
/// Connections come from any transport: hand each accepted one to addConnection().
/// The server owns its sessions; a session that closed is deleted on a later turn
/// of the queue. The module manager must outlive the server.
class QOR_REMOTE_EXPORT cRemoteServer : public qrmi::cConnectable
{
public:
    explicit cRemoteServer(qcs::cModuleMgr& oManager);
    ~cRemoteServer() override;
    cRemoteServer(const cRemoteServer&) = delete;
    cRemoteServer& operator=(const cRemoteServer&) = delete;

    /// Serves pConnection (scheduled, see cRemoteEndpoint): greets the peer and
    /// announces the published components to it.
    cRemoteSession& addConnection(qstd::tAutoPtr<qce::cNetAbstractConnection> pConnection);
    /// Sessions not yet deleted, open or not.
    const qstd::tPtrVector<cRemoteSession>& sessions() const { return moSessions; }
    /// Sessions that are open.
    unsigned int numOpenSessions() const;
    qcs::cModuleMgr& moduleMgr() const { return moManager; }

    /// Whether oComponent is published: local, announced, with interfaces.
    static bool publishes(const qcs::cAbstractComponent& oComponent);
    /// The published component at oAddress; throws cNoSuchModuleException when there
    /// is none.
    qcs::cAbstractComponent& findPublished(const qcs::cComponentAddr& oAddress) const;
    /// Tells every open session that the signal sSignal of the interface iInterface
    /// of the component at oAddress was emitted.
    void emitToPeers(const qcs::cComponentAddr& oAddress, unsigned int iInterface,
                     const qstd::cAsciiString& sSignal);

    piVoid sltComponentRegistered(qcs::cAbstractComponent& oComponent);
    piVoid sltComponentRemoved(qcs::cAbstractComponent& oComponent);
    piVoid sltSessionClosed(cRemoteEndpoint& oSession, const qstd::cAbstractException& oReason);
    piVoid sltSweep();

    /// A session has closed, with the reason; it is deleted later.
    cRemoteEndpoint::tClosedSignal sigSessionClosed;

private:
    /// Connects (or disconnects) the forwarding of the component's signals.
    void forward(qcs::cAbstractComponent& oComponent, bool bConnect);

    qcs::cModuleMgr& moManager;
    qstd::tPtrVector<cRemoteSession> moSessions; ///< owned
    qpi::cWork moSweep; ///< deletes closed sessions outside their own call stacks
};

} // namespace qremote

#endif // QOR_REMOTE_REMOTESERVER_H
