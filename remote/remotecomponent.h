// remotecomponent.h - qremote::cRemoteComponent and cRemoteInterface, the stand-ins of
// a peer's components and their interfaces.
// SPDX-License-Identifier: MIT
#ifndef QOR_REMOTE_REMOTECOMPONENT_H
#define QOR_REMOTE_REMOTECOMPONENT_H

#include "qor_core/qcs/abstractcomponent.h"
#include "qor_core/qcs/abstractinterface.h"
#include "qor_core/rmi/signal.h"
#include "qor_core/std/ptrvector.h"
#include "remote/remotecall.h"

namespace qremote {

class cRemoteClient;
class cRemoteComponent;

/// An interface of a remote component, rebuilt from its published description: its
/// public slots are proxies that call the remote slot, its public signals are
/// emitted when the remote ones are (signals without arguments only). It is the
/// provider side; attach() and detach() do nothing.
class QOR_REMOTE_EXPORT cRemoteInterface : public qcs::cAbstractInterface
{
public:
    /// The interface with the index iIndex of oComponent; filled by load().
    cRemoteInterface(cRemoteComponent& oComponent, unsigned int iIndex);
    ~cRemoteInterface() override;

    void attach(qcs::cAbstractInterface&) override {}
    void detach() override {}

    cRemoteComponent& component() const { return *mpComponent; }
    unsigned int interfaceIndex() const { return index(); }

    /// Calls the remote slot sSlot with oFrame (return value first, then the
    /// arguments) and waits for the reply in a nested loop of the system's queue.
    /// Throws what the remote slot threw (with its own class, marked remote), or
    /// the network failure of cRemoteCall.
    void call(const qstd::cAsciiString& sSlot, qsa::cReferenceFrame& oFrame);
    /// Starts the call without waiting; the caller owns the call and keeps the
    /// frame's variables alive until it has finished. A call that cannot even be
    /// sent (closed connection) has finished, failed, when it is returned. Throws
    /// at once for arguments that cannot travel.
    qstd::tAutoPtr<cRemoteCall> startCall(const qstd::cAsciiString& sSlot,
                                          qsa::cReferenceFrame& oFrame);

    /// Replaces the description, slots and signals by those read from oDeserializer
    /// (as cAbstractInterface::store writes them), with proxies for the slots and
    /// signals. Throws for a malformed description.
    void loadDescription(qsa::cAbstractDeserializer& oDeserializer);
    /// A new proxy signal, owned by this interface.
    qrmi::cAbstractSignal* createProxySignal();
    /// Emits the proxy signal published as sSignal; false when there is none.
    bool emitProxySignal(const qstd::cAsciiString& sSignal);

private:
    friend class cRemoteComponent;
    /// Starts oCall (not yet started) for sSlot.
    void start(cRemoteCall& oCall, const qstd::cAsciiString& sSlot, qsa::cReferenceFrame& oFrame);

    cRemoteComponent* mpComponent;                     ///< not owned; owns this interface
    qstd::tPtrVector<qrmi::signal0<piVoid>> moSignals; ///< owned proxy signals
};

/// A component of the peer, registered with the local module manager so that local
/// interface dependencies match its interfaces. Its location is the remote one
/// (host, process and the address in the peer's manager); the local manager gives
/// it a local address as usual. It knows the framework's exception classes, so that
/// exceptions of the peer are rebuilt with them (createRemoteException).
///
/// The client that received it marks it for removal when the peer withdraws it or
/// the connection goes; its client() is null from then on if the connection went.
class QOR_REMOTE_EXPORT cRemoteComponent : public qcs::cAbstractComponent
{
public:
    cRemoteComponent(qcs::cModuleMgr& oManager, cRemoteClient& oClient,
                     const qcs::cComponentLocation& oRemoteLocation);
    ~cRemoteComponent() override;

    /// False: the location stays the remote one.
    bool isLocal() const override { return false; }
    /// The client this component reaches its peer through; null once it is gone.
    cRemoteClient* client() const { return mpClient; }
    /// The component's address in the peer's manager.
    const qcs::cComponentAddr& remoteAddress() const { return location().address(); }
    /// The interface with the index iIndex.
    cRemoteInterface& remoteInterface(unsigned int iIndex);

    /// Counts one more proxy slot or signal against the client's limit
    /// (kMaxRemoteMembers); throws when it is reached.
    void countMember();

private:
    friend class cRemoteClient;
    cRemoteClient* mpClient; ///< not owned
    unsigned int miMembers;  ///< proxy slots and signals counted for this component
};

} // namespace qremote

#endif // QOR_REMOTE_REMOTECOMPONENT_H
