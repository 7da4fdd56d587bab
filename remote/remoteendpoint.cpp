// remoteendpoint.cpp - framing, greeting and closing shared by both sides.
// SPDX-License-Identifier: MIT
#include "remote/remoteendpoint.h"
#include "remote/remoteexceptions.h"
#include "remote/remoteprotocol.h"
#include "qor_core/qce/net++/netabstractaddress.h"
#include "qor_core/qce/net++/netabstractipaddress.h"
#include "qor_core/pi/workqueue.h"
#include "qor_core/sa/deserializebinary.h"
#include "qor_core/sa/serializebinary.h"
#include "qor_core/std/stdexceptions.h"

namespace qremote {

namespace {

/// The peer's address with its port, when it has one.
qstd::cAsciiString addressText(const qce::cNetAbstractAddress& oAddress)
{
    qstd::cAsciiString sText = oAddress.toString();
    if (const qce::cNetAbstractIPAddress* pIp = oAddress.isIPAddress()) {
        sText += ":";
        sText.addUNum32(pIp->port());
    }
    return sText;
}

/// Owns a closed connection until the queue runs it, so that a connection is never
/// destroyed from inside one of its own signals. The queue's handle owns the work:
/// it goes after its run, or with the queue.
class cConnectionDisposal : public qpi::cWork
{
public:
    explicit cConnectionDisposal(qstd::tAutoPtr<qce::cNetAbstractConnection> pConnection)
        : mpConnection(pConnection)
    {
        setName("remote endpoint: dispose of a closed connection");
    }

private:
    qstd::tAutoPtr<qce::cNetAbstractConnection> mpConnection;
};

/// Closes the connection now and destroys it on the queue's next turn.
void disposeLater(qstd::tAutoPtr<qce::cNetAbstractConnection> pConnection)
{
    if (!pConnection.get())
        return;
    pConnection->invalidate();
    qpi::cWork* pWork = new cConnectionDisposal(pConnection);
    qpi::schedule(qstd::tAutoPtr<qpi::cWork>(pWork));
    pWork->start(0, qpi::cWork::Single);
}

} // namespace

cRemoteEndpoint::cAliveGuard::cAliveGuard(cRemoteEndpoint& oEndpoint)
    : mpEndpoint(&oEndpoint), mpOuter(oEndpoint.mpGuards), mbAlive(true)
{
    oEndpoint.mpGuards = this;
}

cRemoteEndpoint::cAliveGuard::~cAliveGuard()
{
    if (mbAlive)
        mpEndpoint->mpGuards = mpOuter;
}

cRemoteEndpoint::cRemoteEndpoint(qstd::tAutoPtr<qce::cNetAbstractConnection> pConnection)
    : sigClosed(qrmi::cAbstractSignal::IgnoreWhenUnconnected), mpConnection(pConnection),
      mbGreeted(false), mbFlushing(false), mbClosing(false), mpGuards(nullptr)
{
    QOR_ASSERT(mpConnection.get());
    msPeer = addressText(mpConnection->remoteAddress());
    mpConnection->sigDataReceived.connect(*this, &cRemoteEndpoint::sltDataReceived);
    mpConnection->sigClosed.connect(*this, &cRemoteEndpoint::sltConnectionClosed);
    mpConnection->sigTxComplete.connect(*this, &cRemoteEndpoint::sltTxComplete);
    mpConnection->errorHandler().connect(*this, &cRemoteEndpoint::sltConnectionError);
}

cRemoteEndpoint::~cRemoteEndpoint()
{
    for (cAliveGuard* p = mpGuards; p; p = p->mpOuter)
        p->mbAlive = false;
    mpGuards = nullptr;
    disposeLater(mpConnection);
}

void cRemoteEndpoint::start()
{
    try {
        qsa::cSerializeBinary oHello;
        oHello.store(piUInt32(kHello));
        oHello.store(qstd::cAsciiString(kProtocolMagic));
        oHello.store(kProtocolVersion);
        if (sendMessage(oHello))
            mpConnection->receive(true);
    } catch (const qstd::cAbstractException& e) {
        close(e);
    }
}

void cRemoteEndpoint::shutdown()
{
    mbClosing = true;
    disposeLater(mpConnection);
    moTxQueue.clear();
}

bool cRemoteEndpoint::sendMessage(qsa::cSerializeBinary& oMessage)
{
    if (!isOpen())
        return false;
    qstd::tArrayRef<char> oData = oMessage.data();
    if (oData.size() > unsigned(kMaxFrameSize))
        cRemoteExceptions::throwFrameTooLarge(oData.size(), kMaxFrameSize);
    cFrameDecoder::appendFrame(moTxQueue, oData.constData(), oData.size());
    const unsigned long long iBacklog =
        (unsigned long long)moTxQueue.size() + mpConnection->txBytesLeft();
    if (iBacklog > (unsigned long long)kMaxTxBacklog) {
        try {
            cRemoteExceptions::throwTxBacklog(unsigned(iBacklog));
        } catch (const qstd::cAbstractException& e) {
            close(e);
        }
        return false;
    }
    flush();
    return isOpen();
}

void cRemoteEndpoint::flush()
{
    if (mbFlushing)
        return; // the loop further up the stack sends what was queued meanwhile
    cAliveGuard oGuard(*this);
    mbFlushing = true;
    try {
        while (isOpen() && !moTxQueue.empty() && !mpConnection->isTxBusy()) {
            // The connection hands its spent buffer back, which keeps its memory.
            mpConnection->sendSwap(moTxQueue);
            if (!oGuard.alive())
                return;
            moTxQueue.setSize(0);
        }
    } catch (const qstd::cAbstractException& e) {
        if (!oGuard.alive())
            return;
        mbFlushing = false;
        close(e);
        return;
    }
    if (oGuard.alive())
        mbFlushing = false;
}

void cRemoteEndpoint::receiveBytes(const char* pData, unsigned iSize)
{
    if (!isOpen())
        return;
    moDecoder.feed(pData, iSize);
    cAliveGuard oGuard(*this);
    qstd::tArray<char> oFrame;
    while (oGuard.alive() && isOpen()) {
        try {
            if (!moDecoder.next(oFrame))
                return;
        } catch (const qstd::cAbstractException& e) {
            close(e);
            return;
        }
        piUInt32 iKind = 0;
        try {
            qsa::cDeserializeBinary oMessage{qstd::tConstArrayRef<char>(oFrame)};
            oMessage.load(iKind);
            if (!mbGreeted) {
                if (iKind != kHello)
                    cRemoteExceptions::throwNotAPeer();
                readHello(oMessage);
                mbGreeted = true;
            } else if (iKind == kHello) {
                cRemoteExceptions::throwUnknownMessage(iKind);
            } else {
                handleMessage(iKind, oMessage);
            }
        } catch (const qstd::cAbstractException& e) {
            if (!oGuard.alive())
                return;
            try {
                cRemoteExceptions::throwMalformedMessage(iKind, e);
            } catch (const qstd::cAbstractException& oMalformed) {
                close(oMalformed);
            }
            return;
        }
    }
}

void cRemoteEndpoint::readHello(qsa::cDeserializeBinary& oMessage)
{
    qstd::cAsciiString sMagic;
    piUInt32 iVersion = 0;
    try {
        oMessage.load(sMagic);
        oMessage.load(iVersion);
    } catch (const qstd::cAbstractException&) {
        cRemoteExceptions::throwNotAPeer();
    }
    if (sMagic != kProtocolMagic)
        cRemoteExceptions::throwNotAPeer();
    if (iVersion != kProtocolVersion)
        cRemoteExceptions::throwProtocolVersion(iVersion, kProtocolVersion);
}

void cRemoteEndpoint::close(const qstd::cAbstractException& oReason)
{
    if (!isOpen() || mbClosing)
        return;
    mbClosing = true;
    // A copy on the stack: the handlers below may destroy this endpoint.
    qstd::tAutoPtr<qstd::cAbstractException> pReason(oReason.createObject());
    mpCloseReason.reset(oReason.createObject());
    // The connection may be emitting the signal that brought us here: it is cut off
    // and closed now, and destroyed later.
    qce::cNetAbstractConnection& oConnection = *mpConnection;
    oConnection.sigDataReceived.disconnect(*this);
    oConnection.sigClosed.disconnect(*this);
    oConnection.sigTxComplete.disconnect(*this);
    oConnection.errorHandler().disconnect(*this);
    moTxQueue.clear();
    moDecoder.reset();
    cAliveGuard oGuard(*this);
    disposeLater(mpConnection);
    if (!oGuard.alive())
        return;
    handleClosed(*pReason);
    if (oGuard.alive())
        sigClosed(*this, *pReason);
}

piVoid cRemoteEndpoint::sltDataReceived(qce::cNetAbstractConnection&,
                                        const qstd::tArray<char>& oData)
{
    receiveBytes(oData.data(true), oData.size());
    return piVoid();
}

piVoid cRemoteEndpoint::sltConnectionClosed(qce::cNetAbstractConnection&)
{
    try {
        cRemoteExceptions::throwPeerClosed(msPeer);
    } catch (const qstd::cAbstractException& e) {
        close(e);
    }
    return piVoid();
}

piVoid cRemoteEndpoint::sltConnectionError(qce::cNetAbstractConnection&,
                                           const qstd::cAbstractException& e)
{
    close(e);
    return piVoid();
}

piVoid cRemoteEndpoint::sltTxComplete()
{
    flush();
    return piVoid();
}

} // namespace qremote
