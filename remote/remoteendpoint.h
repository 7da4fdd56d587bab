// remoteendpoint.h - qremote::cRemoteEndpoint, one side of a remote-call connection.
// SPDX-License-Identifier: MIT
#ifndef QOR_REMOTE_REMOTEENDPOINT_H
#define QOR_REMOTE_REMOTEENDPOINT_H

#include "qor_core/qce/net++/netabstractconnection.h"
#include "qor_core/rmi/localsignal.h"
#include "qor_core/std/exception.h"
#include "remote/framedecoder.h"

namespace qsa {
class cSerializeBinary;
class cDeserializeBinary;
} // namespace qsa

namespace qremote {

/// What the client and the server side share: the connection, the framing in both
/// directions, the greeting, and the closing.
///
/// The endpoint owns its connection, which must already be scheduled on the work
/// queue (transports hand their connections out that way). It switches it to
/// stream mode, queues outgoing frames behind the one going out, and hands every
/// whole incoming message to handleMessage().
///
/// Input is untrusted: a malformed, truncated or oversized frame, a first message
/// that is not a Hello of the same protocol version, or a message handleMessage()
/// rejects closes the endpoint with that error as the reason. So does the peer
/// closing the connection, an error of the connection, and a peer that leaves more
/// than kMaxTxBacklog bytes unread. Closing invalidates the connection (its socket
/// closes; the object goes on the queue's next turn, never from inside its own
/// signals), then tells the derived class (handleClosed) and then sigClosed; both may
/// destroy the endpoint.
/// An endpoint closes once and stays closed.
class QOR_REMOTE_EXPORT cRemoteEndpoint : public qrmi::cConnectable
{
public:
    typedef qrmi::localSignal2<piVoid, cRemoteEndpoint&, const qstd::cAbstractException&>
        tClosedSignal;

    ~cRemoteEndpoint() override;
    cRemoteEndpoint(const cRemoteEndpoint&) = delete;
    cRemoteEndpoint& operator=(const cRemoteEndpoint&) = delete;

    bool isOpen() const { return mpConnection.get() != nullptr; }
    /// The connection; null once closed.
    qce::cNetAbstractConnection* connection() const { return mpConnection.get(); }
    /// Why the endpoint closed; null while it is open.
    const qstd::cAbstractException* closeReason() const { return mpCloseReason.get(); }
    /// The peer's address as text, kept after closing.
    const qstd::cAsciiString& peerName() const { return msPeer; }
    /// Whether the peer's Hello has arrived.
    bool greeted() const { return mbGreeted; }

    /// Handles bytes as if the connection had received them (the connection's data
    /// slot does this). Nothing when closed.
    void receiveBytes(const char* pData, unsigned iSize);
    /// Closes the endpoint with oReason (see the class comment); nothing when closed.
    void close(const qstd::cAbstractException& oReason);

    piVoid sltDataReceived(qce::cNetAbstractConnection& oConnection,
                           const qstd::tArray<char>& oData);
    piVoid sltConnectionClosed(qce::cNetAbstractConnection& oConnection);
    piVoid sltConnectionError(qce::cNetAbstractConnection& oConnection,
                              const qstd::cAbstractException& e);
    piVoid sltTxComplete();

    /// Emitted once, with the reason, when the endpoint has closed.
    tClosedSignal sigClosed;

protected:
    /// Takes pConnection (not empty). The derived constructor calls start().
    explicit cRemoteEndpoint(qstd::tAutoPtr<qce::cNetAbstractConnection> pConnection);

    /// Sends the Hello and starts receiving; a connection that is already broken
    /// closes the endpoint.
    void start();
    /// Closes the connection without telling anybody; for destructors of derived
    /// classes, so that nothing is sent while they take themselves apart.
    void shutdown();
    /// Frames oMessage and sends it after the frames queued before. Returns false,
    /// sending nothing, when the endpoint is closed (or closes because the peer
    /// does not read). A message above kMaxFrameSize throws cRuntimeException and
    /// sends nothing.
    bool sendMessage(qsa::cSerializeBinary& oMessage);
    /// One message after the Hello; oMessage is positioned after the kind. Throws
    /// only for a malformed message, which closes the endpoint: exceptions of
    /// application code it runs must be caught there.
    virtual void handleMessage(piUInt32 iKind, qsa::cDeserializeBinary& oMessage) = 0;
    /// The endpoint has closed; the connection is gone already.
    virtual void handleClosed(const qstd::cAbstractException& oReason) = 0;

    /// Lives on the stack of code that runs foreign code; the destructor of the
    /// endpoint clears alive() of every guard, so that the code stops touching it.
    class cAliveGuard
    {
    public:
        explicit cAliveGuard(cRemoteEndpoint& oEndpoint);
        ~cAliveGuard();
        cAliveGuard(const cAliveGuard&) = delete;
        cAliveGuard& operator=(const cAliveGuard&) = delete;
        bool alive() const { return mbAlive; }

    private:
        friend class cRemoteEndpoint;
        cRemoteEndpoint* mpEndpoint;
        cAliveGuard* mpOuter;
        bool mbAlive;
    };

private:
    void flush();
    void readHello(qsa::cDeserializeBinary& oMessage);

    qstd::tAutoPtr<qce::cNetAbstractConnection> mpConnection; ///< owned; empty once closed
    cFrameDecoder moDecoder;
    qstd::tArray<char> moTxQueue; ///< whole frames waiting behind the buffer going out
    qstd::tAutoPtr<qstd::cAbstractException> mpCloseReason; ///< owned; set by close()
    qstd::cAsciiString msPeer;
    bool mbGreeted;        ///< the peer's Hello arrived
    bool mbFlushing;       ///< flush() is on the stack
    bool mbClosing;        ///< close() is on the stack
    cAliveGuard* mpGuards; ///< innermost guard, on the stack
};

} // namespace qremote

#endif // QOR_REMOTE_REMOTEENDPOINT_H
