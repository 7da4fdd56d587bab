// netabstractconnection.h - qce::cNetAbstractConnection, byte transfer over an
// abstract socket driven by the work queue.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCE_NETPP_NETABSTRACTCONNECTION_H
#define QOR_CORE_QCE_NETPP_NETABSTRACTCONNECTION_H

#include "qor_core/qce/net++/netabstractsocket.h"
#include "qor_core/rmi/connectable.h"
#include "qor_core/rmi/localsignal.h"
#include "qor_core/std/arrayref.h"
#include "qor_core/std/autoptr.h"

namespace qstd {
class cAbstractException;
}

namespace qce {

/// Moves byte arrays between the application and a socket without blocking the
/// queue. Receiving is either stream mode (receive(true): whatever arrives is
/// handed out by sigDataReceived) or packet mode (receive(array): exactly the
/// array's size is filled, then handed out). Sending takes one buffer at a time and
/// writes it in chunks the socket accepts; sigTxComplete tells when it is out.
///
/// A remote close is reported once by sigClosed; the connection then invalidates
/// itself from its own work once the transmit buffer has gone out. After
/// invalidation the socket is closed, its works are stopped, sends and packet
/// receives raise, and stream receive and schedule do nothing.
///
/// The connection owns its socket. It may be destroyed from inside any of its
/// signals; the running operation then stops without touching it again.
class QOR_EXPORT cNetAbstractConnection : public qrmi::cConnectable
{
public:
    typedef qrmi::localSignal3<piVoid, cNetAbstractConnection&, const qstd::tArray<char>&,
                               const cNetAbstractAddress&>
        tDataReceivedFromSignal;
    typedef qrmi::localSignal2<piVoid, cNetAbstractConnection&, const qstd::cAbstractException&>
        tErrorSignal;

    /// Takes pSocket (the assertion "mpSocket.get()" when empty). Does not schedule.
    explicit cNetAbstractConnection(qstd::tAutoPtr<cNetAbstractSocket> pSocket);
    /// Deletes the error signal, invalidates (emitting sigInvalidated when still
    /// valid), deletes the socket, then the sender address.
    ~cNetAbstractConnection() override;

    /// Adds the socket's works and the delayed invalidation to pQueue (null: the
    /// system's queue). Nothing when invalid.
    void schedule(qpi::cWorkQueue* pQueue = nullptr);

    /// Sends the bytes of oData without copying: they must stay alive and unchanged
    /// until sigTxComplete.
    virtual cNetAbstractConnection& sendRef(const qstd::tConstArrayRef<char>& oData);
    /// Sends a copy of oData.
    virtual cNetAbstractConnection& send(const qstd::tArray<char>& oData);
    /// Sends oData by swapping it with the transmit buffer: the caller gets the
    /// previous buffer back.
    virtual cNetAbstractConnection& sendSwap(qstd::tArray<char>& oData);
    /// Packet mode: fills oPacket (already of the wanted size) from the socket, then
    /// emits sigDataReceived with it. oPacket must live until then.
    virtual cNetAbstractConnection& receive(qstd::tArray<char>& oPacket);
    /// Stream mode on or off.
    virtual cNetAbstractConnection& receive(bool bEnable);
    /// Reads until the packet is complete; raises the transfer time-out after iMSec
    /// milliseconds (0: no limit).
    virtual void waitRx(unsigned int iMSec);
    /// Writes until the transmit buffer is out; the same time-out rule.
    virtual void flushTx(unsigned int iMSec);
    virtual bool canRead() const;
    /// A transmit buffer is still going out.
    virtual bool isTxBusy() const;
    /// Drops what is left of the transmit buffer.
    virtual void clearTx();
    virtual unsigned int txBytesLeft() const;
    virtual cNetAbstractAddress& remoteAddress();
    virtual bool isInvalid() const;

    /// Emits sigInvalidated when still valid, then closes the socket and stops its
    /// works; the connection is invalid afterwards.
    void invalidate();
    /// Invalidates from the connection's own work, once the transmit buffer is out.
    void invalidateLater();
    bool toInvalidateLater() const;
    /// One readable and one writable step.
    void tryTransfer();

    /// Emitted after sigDataReceived when a sender address is set. Created on first use.
    tDataReceivedFromSignal& sigDataReceivedFrom();
    /// Receives errors of the socket works instead of the queue. Created on first use.
    tErrorSignal& errorHandler();

    cNetAbstractSocket& socket() { return *mpSocket; }
    /// The sender address that reads fill in, or null; the connection owns it.
    cNetAbstractAddress* from() const { return mpFrom; }
    void setFrom(qstd::tAutoPtr<cNetAbstractAddress> pFrom);
    /// When true, a completed packet raises no signal (waitRx users).
    void setRxSilent(bool bSilent) { mbRxSilent = bSilent; }
    bool isRxSilent() const { return mbRxSilent; }
    unsigned int rxRemaining() const { return miRxRemaining; }
    qpi::cWork& delayedInvalidation() { return moDelayedInvalidation; }

    piVoid sltSocketReadable();
    piVoid sltSocketWritable();
    piVoid sltSocketException();
    piVoid sltDelayedSocketDestroy();
    piVoid sltException(const qstd::cAbstractException& e, bool bChild);

    qrmi::localSignal1<piVoid, cNetAbstractConnection&> sigClosed;
    qrmi::localSignal1<piVoid, cNetAbstractConnection&> sigInvalidated;
    qrmi::localSignal2<piVoid, cNetAbstractConnection&, const qstd::tArray<char>&> sigDataReceived;
    qrmi::localSignal0<piVoid> sigChunkSent;
    qrmi::localSignal0<piVoid> sigTxComplete;

private:
    /// Lives on the stack of a running operation; the destructor clears mbAlive of
    /// every guard so that the operation stops without touching the connection.
    struct cAliveGuard
    {
        explicit cAliveGuard(cNetAbstractConnection& oConnection);
        ~cAliveGuard();
        cNetAbstractConnection* mpConnection;
        cAliveGuard* mpOuter;
        bool mbAlive;
    };

    /// Writes one chunk of oTx; iLeft is the count of bytes not yet written.
    static void handleTxPacket(cNetAbstractSocket& oSocket, const qstd::tConstArrayRef<char>& oTx,
                               unsigned int& iLeft);
    /// Refuses a send on an invalid connection (with pClosedText) or while one is
    /// under way.
    void checkCanSend(const char* pClosedText) const;
    /// Sends what moTxRef refers to: writes what the socket takes now and leaves
    /// the rest to the write work.
    void beginTx();
    /// Starts or stops the write work after a send, by whether bytes are left.
    void startTx();
    void emitReceived(const qstd::tArray<char>& oData, cAliveGuard& oGuard);
    void stopWorks();
    void onReadable();
    void onWritable();
    void onException();
    void onDelayedDestroy();
    void onWorkError(const qstd::cAbstractException& e);

    qstd::tAutoPtr<cNetAbstractSocket> mpSocket;
    bool mbInvalid;
    qstd::tAutoPtr<tDataReceivedFromSignal> mpDataReceivedFrom;
    cNetAbstractAddress* mpFrom; ///< owned; null by default
    qstd::tArray<char> moTxData;
    qstd::tConstArrayRef<char> moTxRef;
    piUInt32 miTxBytesLeft;
    qstd::tArray<char>* mpRxPacket; ///< not owned; null outside packet mode
    piUInt32 miRxRemaining;
    bool mbReceiveEnabled;
    bool mbRxSilent;
    qpi::cWork moDelayedInvalidation;
    bool mbClosedNotified;
    tErrorSignal* mpErrorSignal; ///< owned; null until errorHandler()
    /// The delayed invalidation came while a buffer was going out: it is started
    /// again when the buffer is out, not before, so that the queue keeps sleeping.
    bool mbInvalidateAfterTx;
    bool mbInvalidatedNotified; ///< sigInvalidated was emitted (or is being emitted)
    cAliveGuard* mpGuards;      ///< innermost running operation, on the stack
};

} // namespace qce

#endif // QOR_CORE_QCE_NETPP_NETABSTRACTCONNECTION_H
