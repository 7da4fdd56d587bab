// netabstractconnection.cpp - byte transfer over an abstract socket.
// SPDX-License-Identifier: MIT
#include "qor_core/qce/net++/netabstractconnection.h"
#include "qor_core/pi/system.h"
#include "qor_core/pi/workclock.h"
#include "qor_core/pi/workqueue.h"
#include "qor_core/qce/net++/netabstractaddress.h"
#include "qor_core/qce/net++/netexceptions.h"
#include "qor_core/std/exception.h"
#include "qor_core/std/stdexceptions.h"
#include "qor_core/ucs/limessage.h"

namespace qce {

namespace {

const unsigned kMaxReadIterations = 10;
const unsigned kMaxChunksPerCall = 1000;

[[noreturn]] void throwClosed(const char* pTemplate)
{
    throw qstd::cRuntimeException(qucs::cLIMessage::fromTemplate(pTemplate), nullptr, 0);
}

/// Milliseconds since oStart on the queue's clock, which does not follow steps of
/// the wall clock.
unsigned long long elapsedMSec(const qstd::cTime& oStart)
{
    qstd::cTime oNow = qpi::cWorkClock::current().now();
    return oNow > oStart ? (oNow - oStart).toMSec() : 0;
}

} // namespace

// --- cNetAbstractSocket -----------------------------------------------------

cNetAbstractSocket::cNetAbstractSocket() {}

cNetAbstractSocket::~cNetAbstractSocket() {}

void cNetAbstractSocket::schedule(qpi::cWorkQueue& oQueue)
{
    oQueue.addJob(moReadWork);
    oQueue.addJob(moWriteWork);
    oQueue.addJob(moExceptionWork);
}

// --- cNetAbstractConnection -------------------------------------------------

// The guard unlinks itself in its destructor unless the connection died first; g++
// cannot see that and warns about the stored address of a local.
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdangling-pointer"
#endif
cNetAbstractConnection::cAliveGuard::cAliveGuard(cNetAbstractConnection& oConnection)
    : mpConnection(&oConnection), mpOuter(oConnection.mpGuards), mbAlive(true)
{
    oConnection.mpGuards = this;
}
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic pop
#endif

cNetAbstractConnection::cAliveGuard::~cAliveGuard()
{
    if (mbAlive)
        mpConnection->mpGuards = mpOuter;
}

cNetAbstractConnection::cNetAbstractConnection(qstd::tAutoPtr<cNetAbstractSocket> pSocket)
    : sigClosed(qrmi::cAbstractSignal::IgnoreWhenUnconnected),
      sigInvalidated(qrmi::cAbstractSignal::IgnoreWhenUnconnected),
      sigDataReceived(qrmi::cAbstractSignal::IgnoreWhenUnconnected),
      sigChunkSent(qrmi::cAbstractSignal::IgnoreWhenUnconnected),
      sigTxComplete(qrmi::cAbstractSignal::IgnoreWhenUnconnected), mpSocket(pSocket),
      mbInvalid(false), mpFrom(nullptr), miTxBytesLeft(0), mpRxPacket(nullptr), miRxRemaining(0),
      mbReceiveEnabled(false), mbRxSilent(false), mbClosedNotified(false), mpErrorSignal(nullptr),
      mbInvalidateAfterTx(false), mbInvalidatedNotified(false), mpGuards(nullptr)
{
    QOR_ASSERT_TEXT(mpSocket.get(), "mpSocket.get()");
    moDelayedInvalidation.setForceKeep(true);
    moDelayedInvalidation.sigAction.connect(*this,
                                            &cNetAbstractConnection::sltDelayedSocketDestroy);
    mpSocket->readWork().sigAction.connect(*this, &cNetAbstractConnection::sltSocketReadable);
    mpSocket->writeWork().sigAction.connect(*this, &cNetAbstractConnection::sltSocketWritable);
    mpSocket->exceptionWork().sigAction.connect(*this, &cNetAbstractConnection::sltSocketException);
    mpSocket->exceptionWork().start();
    mpSocket->readWork().stop();
    mpSocket->writeWork().stop();
    mpSocket->readWork().sigActionError().connect(*this, &cNetAbstractConnection::sltException);
    mpSocket->writeWork().sigActionError().connect(*this, &cNetAbstractConnection::sltException);
    mpSocket->exceptionWork().sigActionError().connect(*this,
                                                       &cNetAbstractConnection::sltException);
    qstd::cAsciiString sName("network connection delayed invalidation for ");
    sName += mpSocket->remoteAddress().toString();
    sName += ")";
    moDelayedInvalidation.setName(sName);
}

cNetAbstractConnection::~cNetAbstractConnection()
{
    // Operations running further out on the stack stop without touching this object.
    for (cAliveGuard* p = mpGuards; p; p = p->mpOuter)
        p->mbAlive = false;
    mpGuards = nullptr;
    delete mpErrorSignal;
    mpErrorSignal = nullptr;
    invalidate();
    mpSocket.reset();
    delete mpFrom;
    mpFrom = nullptr;
}

void cNetAbstractConnection::schedule(qpi::cWorkQueue* pQueue)
{
    if (mbInvalid)
        return;
    qpi::cWorkQueue& oQueue = pQueue ? *pQueue : qpi::system().workQueue();
    mpSocket->schedule(oQueue);
    oQueue.addJob(moDelayedInvalidation);
}

void cNetAbstractConnection::checkCanSend(const char* pClosedText) const
{
    if (mbInvalid)
        throwClosed(pClosedText);
    if (isTxBusy())
        cNETExceptions::throwConnectionTxBusy();
}

void cNetAbstractConnection::beginTx()
{
    miTxBytesLeft = moTxRef.size();
    cAliveGuard oGuard(*this);
    onWritable();
    if (oGuard.mbAlive)
        startTx();
}

void cNetAbstractConnection::startTx()
{
    if (miTxBytesLeft != 0)
        mpSocket->writeWork().start();
    else
        mpSocket->writeWork().stop();
}

cNetAbstractConnection& cNetAbstractConnection::sendRef(const qstd::tConstArrayRef<char>& oData)
{
    checkCanSend("$MTR$Network connection closed unexpectedly (1)!");
    moTxRef = oData;
    beginTx();
    return *this;
}

cNetAbstractConnection& cNetAbstractConnection::send(const qstd::tArray<char>& oData)
{
    checkCanSend("$MTR$Network connection closed unexpectedly (2)!");
    if (&oData != &moTxData)
        moTxData = oData;
    moTxRef.set(moTxData);
    beginTx();
    return *this;
}

cNetAbstractConnection& cNetAbstractConnection::sendSwap(qstd::tArray<char>& oData)
{
    checkCanSend("$MTR$Network connection closed unexpectedly (3)!");
    moTxData.swap(oData);
    moTxRef.set(moTxData);
    beginTx();
    return *this;
}

cNetAbstractConnection& cNetAbstractConnection::receive(qstd::tArray<char>& oPacket)
{
    if (mbInvalid)
        throwClosed("$MTR$Network connection closed unexpectedly! (4)");
    miRxRemaining = oPacket.size();
    mpRxPacket = &oPacket;
    mpSocket->readWork().start();
    return *this;
}

cNetAbstractConnection& cNetAbstractConnection::receive(bool bEnable)
{
    if (mbInvalid)
        return *this;
    mbReceiveEnabled = bEnable;
    if (bEnable)
        mpSocket->readWork().start();
    return *this;
}

void cNetAbstractConnection::waitRx(unsigned int iMSec)
{
    const qstd::cTime oStart = qpi::cWorkClock::current().now();
    cAliveGuard oGuard(*this);
    while (miRxRemaining != 0) {
        // Waiting for bytes that can no longer come would never end.
        if (mbInvalid)
            throwClosed("$MTR$Network connection closed unexpectedly! (4)");
        unsigned iBefore = miRxRemaining;
        onReadable();
        if (!oGuard.mbAlive)
            return;
        if (miRxRemaining != 0 && miRxRemaining == iBefore && mpSocket->isClosed()) {
            onException();
            if (!oGuard.mbAlive)
                return;
            throwClosed("$MTR$Network connection closed unexpectedly! (4)");
        }
        if (iMSec != 0 && miRxRemaining != 0 && elapsedMSec(oStart) > iMSec)
            cNETExceptions::throwTransferTimeout(iMSec);
    }
    mpRxPacket = nullptr;
}

void cNetAbstractConnection::flushTx(unsigned int iMSec)
{
    const qstd::cTime oStart = qpi::cWorkClock::current().now();
    cAliveGuard oGuard(*this);
    while (isTxBusy()) {
        unsigned iBefore = miTxBytesLeft;
        onWritable();
        if (!oGuard.mbAlive)
            return;
        if (isTxBusy() && miTxBytesLeft == iBefore && mpSocket->isClosed()) {
            onException();
            if (!oGuard.mbAlive)
                return;
            throwClosed("$MTR$Network connection closed unexpectedly! (w)");
        }
        if (iMSec != 0 && isTxBusy() && elapsedMSec(oStart) > iMSec)
            cNETExceptions::throwTransferTimeout(iMSec);
    }
}

bool cNetAbstractConnection::canRead() const
{
    return !mbInvalid && mpSocket->canRead();
}

bool cNetAbstractConnection::isTxBusy() const
{
    return !moTxRef.empty();
}

void cNetAbstractConnection::clearTx()
{
    moTxRef.clear();
    miTxBytesLeft = 0;
    mpSocket->writeWork().stop();
}

unsigned int cNetAbstractConnection::txBytesLeft() const
{
    return miTxBytesLeft;
}

cNetAbstractAddress& cNetAbstractConnection::remoteAddress()
{
    return mpSocket->remoteAddress();
}

bool cNetAbstractConnection::isInvalid() const
{
    return mbInvalid;
}

void cNetAbstractConnection::stopWorks()
{
    mpSocket->readWork().stop();
    mpSocket->writeWork().stop();
    mpSocket->exceptionWork().stop();
    moDelayedInvalidation.stop();
}

void cNetAbstractConnection::invalidate()
{
    if (!mbInvalid && !mbInvalidatedNotified) {
        // Set first: a slot that invalidates again, or deletes the connection, must
        // not bring a second emission.
        mbInvalidatedNotified = true;
        cAliveGuard oGuard(*this);
        sigInvalidated(*this);
        if (!oGuard.mbAlive)
            return;
    }
    // The works are stopped before the socket closes, so that the queue cannot run
    // them on a closed socket (and raise "(w)" for a connection already closed).
    stopWorks();
    mpSocket->close();
    mbInvalid = true;
    mbInvalidateAfterTx = false;
}

void cNetAbstractConnection::invalidateLater()
{
    if (!moDelayedInvalidation.isStarted() && !mbInvalidateAfterTx)
        moDelayedInvalidation.start();
}

bool cNetAbstractConnection::toInvalidateLater() const
{
    return moDelayedInvalidation.isStarted() || mbInvalidateAfterTx;
}

void cNetAbstractConnection::tryTransfer()
{
    cAliveGuard oGuard(*this);
    onReadable();
    if (oGuard.mbAlive)
        onWritable();
}

cNetAbstractConnection::tDataReceivedFromSignal& cNetAbstractConnection::sigDataReceivedFrom()
{
    if (!mpDataReceivedFrom.get())
        mpDataReceivedFrom.reset(
            new tDataReceivedFromSignal(qrmi::cAbstractSignal::IgnoreWhenUnconnected));
    return *mpDataReceivedFrom;
}

cNetAbstractConnection::tErrorSignal& cNetAbstractConnection::errorHandler()
{
    if (!mpErrorSignal)
        mpErrorSignal = new tErrorSignal(qrmi::cAbstractSignal::IgnoreWhenUnconnected);
    return *mpErrorSignal;
}

void cNetAbstractConnection::setFrom(qstd::tAutoPtr<cNetAbstractAddress> pFrom)
{
    cNetAbstractAddress* pOld = mpFrom;
    mpFrom = pFrom.release();
    delete pOld;
}

void cNetAbstractConnection::emitReceived(const qstd::tArray<char>& oData, cAliveGuard& oGuard)
{
    sigDataReceived(*this, oData);
    if (oGuard.mbAlive && mpDataReceivedFrom.get() && mpFrom)
        (*mpDataReceivedFrom)(*this, oData, *mpFrom);
}

void cNetAbstractConnection::onReadable()
{
    cAliveGuard oGuard(*this);
    for (unsigned iIteration = 0; iIteration < kMaxReadIterations; ++iIteration) {
        if (mbInvalid)
            return;
        if (miRxRemaining != 0) {
            QOR_ASSERT_TEXT(mpRxPacket != nullptr, "mpRxPacket != 0");
            qstd::tArray<char>& oPacket = *mpRxPacket;
            if (miRxRemaining > oPacket.size())
                miRxRemaining = oPacket.size();
            // One read per iteration: a socket that hands out a few bytes at a time
            // cannot keep the pass here.
            unsigned iOffset = oPacket.size() - miRxRemaining;
            unsigned iRead = mpSocket->read(oPacket.data() + iOffset, miRxRemaining, mpFrom);
            if (iRead == 0)
                return; // nothing more has arrived
            if (iRead > miRxRemaining)
                iRead = miRxRemaining;
            miRxRemaining -= iRead;
            if (miRxRemaining == 0) {
                if (!mbRxSilent) {
                    mpRxPacket = nullptr;
                    emitReceived(oPacket, oGuard);
                }
                return;
            }
            continue;
        }
        if (!mbReceiveEnabled) {
            mpSocket->readWork().stop();
            return;
        }
        qstd::tArray<char> oData;
        if (mpSocket->readAll(oData, mpFrom))
            emitReceived(oData, oGuard);
        return;
    }
}

void cNetAbstractConnection::handleTxPacket(cNetAbstractSocket& oSocket,
                                            const qstd::tConstArrayRef<char>& oTx,
                                            unsigned int& iLeft)
{
    if (iLeft == 0)
        return;
    unsigned iOffset = oTx.size() - iLeft;
    unsigned iSize = iLeft;
    unsigned iMax = oSocket.maxTxSize();
    if (iMax < iSize)
        iSize = iMax;
    unsigned iWritten = oSocket.write(oTx.constData() + iOffset, iSize);
    if (iWritten > iSize) {
        qucs::cLIMessage oMsg;
        oMsg << "$MTR$Bug in socket implementation: Returned size (%returned%) > given size "
                "(%given%)!"
             << iWritten << iSize;
        throw qstd::cBugException(oMsg, nullptr, 0);
    }
    iLeft -= iWritten;
}

void cNetAbstractConnection::onWritable()
{
    cAliveGuard oGuard(*this);
    unsigned iChunks = 0;
    while (!mbInvalid) {
        if (isTxBusy()) {
            unsigned iBefore = miTxBytesLeft;
            handleTxPacket(*mpSocket, moTxRef, miTxBytesLeft);
            if (iBefore != 0) {
                if (miTxBytesLeft == iBefore)
                    return;
                sigChunkSent();
                if (!oGuard.mbAlive)
                    return;
                if (mbInvalid)
                    break;
            }
        }
        if (miTxBytesLeft == 0) {
            moTxRef.clear();
            mpSocket->writeWork().stop();
            sigTxComplete();
            if (oGuard.mbAlive && mbInvalidateAfterTx && !isTxBusy()) {
                mbInvalidateAfterTx = false;
                moDelayedInvalidation.start();
            }
            return;
        }
        if (++iChunks >= kMaxChunksPerCall)
            return; // the write work stays started: the rest goes on the next pass
    }
    throwClosed("$MTR$Network connection closed unexpectedly! (w)");
}

void cNetAbstractConnection::onException()
{
    if (mbInvalid)
        return;
    if (!mpSocket->isClosed()) {
        mpSocket->clearException();
        return;
    }
    if (mbClosedNotified) {
        // Reported before: a reply sent from a slot of sigClosed is still going out
        // and must not be dropped by a second run.
        mpSocket->exceptionWork().stop();
        invalidateLater();
        return;
    }
    mbReceiveEnabled = false;
    mpRxPacket = nullptr;
    miRxRemaining = 0;
    moTxRef.clear();
    miTxBytesLeft = 0;
    // The condition persists; running the works again would only spin the loop. A
    // reply sent from a slot of sigClosed starts the write work again.
    mpSocket->readWork().stop();
    mpSocket->writeWork().stop();
    mpSocket->exceptionWork().stop();
    mbClosedNotified = true;
    cAliveGuard oGuard(*this);
    sigClosed(*this);
    if (oGuard.mbAlive)
        invalidateLater();
}

void cNetAbstractConnection::onDelayedDestroy()
{
    if (isTxBusy()) {
        // Restarting the work due at once would keep the queue from ever sleeping in
        // poll, so the write work would never fire: the invalidation is started again
        // when the buffer is out.
        mbInvalidateAfterTx = true;
        return;
    }
    invalidate();
}

piVoid cNetAbstractConnection::sltException(const qstd::cAbstractException& e, bool)
{
    onWorkError(e);
    return piVoid();
}

void cNetAbstractConnection::onWorkError(const qstd::cAbstractException& e)
{
    clearTx();
    qstd::cRuntimeException oError(qucs::cLIMessage::fromTemplate("$MTR$Network connection error!"),
                                   nullptr, 0);
    oError.link(e);
    if (!mpErrorSignal)
        throw oError;
    (*mpErrorSignal)(*this, oError);
}

piVoid cNetAbstractConnection::sltSocketReadable()
{
    onReadable();
    return piVoid();
}

piVoid cNetAbstractConnection::sltSocketWritable()
{
    onWritable();
    return piVoid();
}

piVoid cNetAbstractConnection::sltSocketException()
{
    onException();
    return piVoid();
}

piVoid cNetAbstractConnection::sltDelayedSocketDestroy()
{
    onDelayedDestroy();
    return piVoid();
}

} // namespace qce
