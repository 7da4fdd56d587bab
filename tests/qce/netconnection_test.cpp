// Tests of cNetAbstractConnection, cNetAbstractClient and cNetAbstractServer over a
// scripted socket.
#include "pi/worktesting.h"
#include "qce/nettesting.h"

#include <chrono>
#include <deque>
#include <functional>

using qortest::bytes;
using qortest::failureOf;
using Texts = std::vector<std::string>;

namespace {

/// A socket whose reads hand out scripted chunks and whose writes accept a set
/// number of bytes per call, recording what they took.
class cScriptSocket : public qce::cNetAbstractSocket
{
public:
    cScriptSocket()
    {
        moRemote.fromString("127.0.0.9:4000");
        // As a transport does: the works wait on something, here nothing ready.
        for (qpi::cWork* p : {&readWork(), &writeWork(), &exceptionWork()}) {
            qstd::tAutoPtr<qpi::cAbstractAIOData> pData(new qpi::cFDAIOData);
            p->setAIOData(pData);
        }
    }
    ~cScriptSocket() override
    {
        if (mpDestroyed)
            *mpDestroyed = true;
    }

    qce::cNetAbstractAddress& remoteAddress() override { return moRemote; }
    qce::cNetAbstractAddress& localAddress() override { return moRemote; }
    unsigned int maxTxSize() const override { return miMaxTx; }
    void clearException() override { ++miCleared; }
    unsigned int read(char* pBuffer, unsigned int iSize, qce::cNetAbstractAddress*) override
    {
        ++miReads;
        if (moRx.empty())
            return 0;
        std::string& s = moRx.front();
        unsigned iCount = std::min<unsigned>(iSize, s.size());
        std::copy(s.begin(), s.begin() + iCount, pBuffer);
        s.erase(0, iCount);
        if (s.empty())
            moRx.pop_front();
        return iCount;
    }
    bool readAll(qstd::tArray<char>& oData, qce::cNetAbstractAddress*) override
    {
        if (moRx.empty())
            return false;
        oData.append(moRx.front().data(), unsigned(moRx.front().size()));
        moRx.pop_front();
        return true;
    }
    bool canRead() const override { return !moRx.empty(); }
    unsigned int write(const char* pData, unsigned int iSize) override
    {
        unsigned iCount = iSize < miAccept ? iSize : miAccept;
        msTx.append(pData, iCount);
        moWrites.push_back(iCount);
        return miOverReport ? iSize + 1 : iCount;
    }
    void close() override { ++miClosed; }
    bool isClosed() const override { return mbRemoteClosed; }

    qortest::cTestIPv4Address moRemote;
    std::deque<std::string> moRx;
    std::string msTx;
    std::vector<unsigned> moWrites;
    unsigned miAccept = ~0u;
    unsigned miMaxTx = ~0u;
    bool miOverReport = false;
    bool mbRemoteClosed = false;
    int miClosed = 0;
    int miCleared = 0;
    int miReads = 0;
    bool* mpDestroyed = nullptr;
};

struct cFixture
{
    cFixture()
        : mpSocket(new cScriptSocket),
          moConnection(qstd::tAutoPtr<qce::cNetAbstractSocket>(mpSocket)), moProbe(moConnection)
    {
    }
    cScriptSocket* mpSocket;
    qce::cNetAbstractConnection moConnection;
    qortest::cConnectionProbe moProbe;
};

TEST(NetConnection, ConstructionSetsUpWorks)
{
    cFixture f;
    EXPECT_TRUE(f.mpSocket->exceptionWork().isStarted());
    EXPECT_FALSE(f.mpSocket->readWork().isStarted());
    EXPECT_FALSE(f.mpSocket->writeWork().isStarted());
    EXPECT_STREQ("network connection delayed invalidation for 127.0.0.9)",
                 f.moConnection.delayedInvalidation().name().c_str());
}

TEST(NetConnection, SendWritesInChunksOfWhatTheSocketTakes)
{
    cFixture f;
    f.mpSocket->miAccept = 4;
    f.moConnection.send(bytes("0123456789"));
    EXPECT_EQ((std::vector<unsigned>{4, 4, 2}), f.mpSocket->moWrites);
    EXPECT_EQ("0123456789", f.mpSocket->msTx);
    EXPECT_EQ(3, f.moProbe.miChunks);
    EXPECT_EQ(1, f.moProbe.miComplete);
    EXPECT_FALSE(f.mpSocket->writeWork().isStarted());
    EXPECT_FALSE(f.moConnection.isTxBusy());

    // maxTxSize bounds each write as well.
    f.mpSocket->miAccept = ~0u;
    f.mpSocket->miMaxTx = 3;
    f.mpSocket->moWrites.clear();
    qstd::tArray<char> oMine = bytes("abcdefg");
    f.moConnection.sendSwap(oMine);
    EXPECT_EQ((std::vector<unsigned>{3, 3, 1}), f.mpSocket->moWrites);
    EXPECT_EQ("0123456789", std::string(oMine.begin(), oMine.end())); // the previous buffer
    f.moConnection.sendRef(qstd::tConstArrayRef<char>(oMine, 8, 2));
    EXPECT_EQ("0123456789abcdefg89", f.mpSocket->msTx);
}

TEST(NetConnection, BusyTransmitterRefusesSecondSend)
{
    cFixture f;
    f.mpSocket->miAccept = 0;
    f.moConnection.send(bytes("first"));
    EXPECT_TRUE(f.moConnection.isTxBusy());
    EXPECT_TRUE(f.mpSocket->writeWork().isStarted());
    EXPECT_EQ(0, f.moProbe.miComplete);
    qstd::tArray<char> oOther = bytes("second");
    EXPECT_EQ((Texts{"Unable to send packet - transmitter is busy!"}),
              failureOf([&] { f.moConnection.sendSwap(oOther); }));
    EXPECT_EQ("second", std::string(oOther.begin(), oOther.end()));
    f.mpSocket->miAccept = 100;
    f.moConnection.sltSocketWritable();
    EXPECT_EQ("first", f.mpSocket->msTx);
    EXPECT_EQ(1, f.moProbe.miComplete);
    EXPECT_FALSE(f.mpSocket->writeWork().isStarted());

    f.mpSocket->miAccept = 0;
    f.moConnection.send(bytes("dropped"));
    EXPECT_EQ(7u, f.moConnection.txBytesLeft());
    f.moConnection.clearTx();
    EXPECT_FALSE(f.moConnection.isTxBusy());
    EXPECT_FALSE(f.mpSocket->writeWork().isStarted());
}

TEST(NetConnection, AThousandChunksPerWritableEvent)
{
    cFixture f;
    f.mpSocket->miAccept = 1;
    f.moConnection.send(qstd::tArray<char>(1500));
    EXPECT_EQ(500u, f.moConnection.txBytesLeft());
    EXPECT_TRUE(f.mpSocket->writeWork().isStarted());
    EXPECT_EQ(1000, f.moProbe.miChunks);
    f.moConnection.sltSocketWritable();
    EXPECT_EQ(1, f.moProbe.miComplete);
}

TEST(NetConnection, OverReportingSocketIsABug)
{
    cFixture f;
    f.mpSocket->miOverReport = true;
    f.mpSocket->miAccept = 2;
    f.mpSocket->miMaxTx = 2;
    EXPECT_EQ((Texts{"Bug in socket implementation: Returned size (3) > given size (2)!"}),
              failureOf([&] { f.moConnection.send(bytes("abcd")); }));
}

TEST(NetConnection, PacketArrivesWholeOnceAndReadsAreBounded)
{
    cFixture f;
    qstd::tArray<char> oPacket(8);
    f.moConnection.receive(oPacket);
    EXPECT_TRUE(f.mpSocket->readWork().isStarted());
    f.mpSocket->moRx = {"abc"};
    f.moConnection.sltSocketReadable();
    EXPECT_TRUE(f.moProbe.moReceived.empty());
    EXPECT_EQ(5u, f.moConnection.rxRemaining());
    f.mpSocket->moRx = {"defgh", "next"};
    f.moConnection.sltSocketReadable();
    EXPECT_EQ((std::vector<std::string>{"abcdefgh"}), f.moProbe.moReceived);
    EXPECT_EQ(1u, f.mpSocket->moRx.size()); // the rest waits for the next request

    // A socket handing out one byte per read gets 10 reads per event.
    qstd::tArray<char> oBig(25);
    f.moConnection.receive(oBig);
    f.mpSocket->moRx.assign(30, "x");
    f.mpSocket->miReads = 0;
    f.moConnection.sltSocketReadable();
    EXPECT_EQ(10, f.mpSocket->miReads);
    EXPECT_EQ(15u, f.moConnection.rxRemaining());
    f.moConnection.sltSocketReadable();
    f.moConnection.sltSocketReadable();
    EXPECT_EQ(2u, f.moProbe.moReceived.size());
    EXPECT_EQ(std::string(25, 'x'), f.moProbe.moReceived[1]);

    // Stream mode off: the read work stops itself.
    f.moConnection.sltSocketReadable();
    EXPECT_FALSE(f.mpSocket->readWork().isStarted());
    f.moConnection.receive(true);
    f.moConnection.sltSocketReadable();
    EXPECT_EQ(3u, f.moProbe.moReceived.size());
    EXPECT_EQ("x", f.moProbe.moReceived[2]);
}

TEST(NetConnection, WaitRxTimesOutAndSilentPacketsRaiseNoSignal)
{
    cFixture f;
    qstd::tArray<char> oPacket(4);
    f.moConnection.receive(oPacket);
    auto oStart = std::chrono::steady_clock::now();
    EXPECT_EQ((Texts{"Transfer timeout after 50 milliseconds!"}),
              failureOf([&] { f.moConnection.waitRx(50); }));
    EXPECT_GE(std::chrono::steady_clock::now() - oStart, std::chrono::milliseconds(50));

    f.moConnection.setRxSilent(true);
    f.mpSocket->moRx = {"wxyz"};
    f.moConnection.waitRx(0);
    EXPECT_EQ("wxyz", std::string(oPacket.begin(), oPacket.end()));
    EXPECT_TRUE(f.moProbe.moReceived.empty());

    // A remote close while waiting ends the wait instead of spinning for ever.
    f.moConnection.receive(oPacket);
    f.mpSocket->mbRemoteClosed = true;
    EXPECT_EQ((Texts{"Network connection closed unexpectedly! (4)"}),
              failureOf([&] { f.moConnection.waitRx(0); }));
    EXPECT_EQ(1, f.moProbe.miClosed);
}

TEST(NetConnection, FlushTxWritesUntilOut)
{
    cFixture f;
    f.mpSocket->miAccept = 0;
    f.moConnection.send(bytes("abc"));
    EXPECT_EQ((Texts{"Transfer timeout after 20 milliseconds!"}),
              failureOf([&] { f.moConnection.flushTx(20); }));
    f.mpSocket->miAccept = 1;
    f.moConnection.flushTx(0);
    EXPECT_EQ("abc", f.mpSocket->msTx);
}

TEST(NetConnection, RemoteCloseReportedOnceAndReplyNotDropped)
{
    cFixture f;
    f.moConnection.receive(true);
    f.mpSocket->moRx = {"x"};
    f.moConnection.sltSocketException(); // not closed: the condition is cleared
    EXPECT_EQ(1, f.mpSocket->miCleared);
    EXPECT_EQ(0, f.moProbe.miClosed);

    f.mpSocket->mbRemoteClosed = true;
    f.mpSocket->miAccept = 0;
    f.moProbe.mfClosed = [](qce::cNetAbstractConnection& c) { c.send(bytes("bye!")); };
    f.moConnection.sltSocketException();
    f.moConnection.sltSocketException();
    EXPECT_EQ(1, f.moProbe.miClosed);
    EXPECT_TRUE(f.moConnection.toInvalidateLater());
    EXPECT_FALSE(f.mpSocket->readWork().isStarted());
    EXPECT_FALSE(f.mpSocket->exceptionWork().isStarted());

    // The delayed invalidation waits for the reply.
    f.moConnection.sltDelayedSocketDestroy();
    EXPECT_FALSE(f.moConnection.isInvalid());
    EXPECT_TRUE(f.moConnection.toInvalidateLater());
    f.mpSocket->miAccept = 2;
    f.moConnection.sltSocketWritable();
    EXPECT_EQ("bye!", f.mpSocket->msTx);
    EXPECT_TRUE(f.moConnection.delayedInvalidation().isStarted());
    f.moConnection.sltDelayedSocketDestroy();
    EXPECT_TRUE(f.moConnection.isInvalid());
    EXPECT_EQ(1, f.moProbe.miInvalidated);
}

TEST(NetConnection, InvalidConnectionRefusesAndStopsItsWorks)
{
    cFixture f;
    f.moConnection.receive(true);
    f.mpSocket->miAccept = 0;
    f.moConnection.send(bytes("pending"));
    f.moConnection.invalidate();
    f.moConnection.invalidate();
    EXPECT_EQ(1, f.moProbe.miInvalidated);
    EXPECT_EQ(2, f.mpSocket->miClosed);
    for (qpi::cWork* p :
         {&f.mpSocket->readWork(), &f.mpSocket->writeWork(), &f.mpSocket->exceptionWork()})
        EXPECT_FALSE(p->isStarted());
    qstd::tArray<char> a(3);
    const std::string sClosed = "Network connection closed unexpectedly ";
    EXPECT_EQ((Texts{sClosed + "(1)!"}),
              failureOf([&] { f.moConnection.sendRef(qstd::tConstArrayRef<char>(a)); }));
    EXPECT_EQ((Texts{sClosed + "(2)!"}), failureOf([&] { f.moConnection.send(a); }));
    EXPECT_EQ((Texts{sClosed + "(3)!"}), failureOf([&] { f.moConnection.sendSwap(a); }));
    EXPECT_EQ((Texts{"Network connection closed unexpectedly! (4)"}),
              failureOf([&] { f.moConnection.receive(a); }));
    EXPECT_EQ((Texts{"Network connection closed unexpectedly! (w)"}),
              failureOf([&] { f.moConnection.flushTx(0); }));
    f.moConnection.receive(true);
    EXPECT_FALSE(f.mpSocket->readWork().isStarted());
    f.moConnection.sltSocketException();
    EXPECT_EQ(0, f.moProbe.miClosed);
}

TEST(NetConnection, DestroyedInsideItsOwnSignals)
{
    bool bSocketGone = false;
    {
        auto* pConnection = new cFixture;
        pConnection->mpSocket->mpDestroyed = &bSocketGone;
        pConnection->moProbe.mfReceived = [&](qce::cNetAbstractConnection&,
                                              const qstd::tArray<char>&) { delete pConnection; };
        pConnection->moConnection.receive(true);
        pConnection->mpSocket->moRx = {"data"};
        pConnection->moConnection.sltSocketReadable();
        EXPECT_TRUE(bSocketGone);
    }
    {
        // Deleted from sigInvalidated: the destructor neither emits again nor crashes.
        auto* pConnection = new cFixture;
        int* pCount = &pConnection->moProbe.miInvalidated;
        int iSeen = 0;
        pConnection->moProbe.mfInvalidated = [&](qce::cNetAbstractConnection&) {
            iSeen = *pCount;
            delete pConnection;
        };
        pConnection->moConnection.invalidate();
        EXPECT_EQ(1, iSeen);
    }
    {
        // Destruction of a valid connection emits sigInvalidated.
        auto* pConnection = new qce::cNetAbstractConnection(
            qstd::tAutoPtr<qce::cNetAbstractSocket>(new cScriptSocket));
        qortest::cConnectionProbe oProbe(*pConnection);
        delete pConnection;
        EXPECT_EQ(1, oProbe.miInvalidated);
    }
}

TEST(NetConnection, WorkErrorsGoToTheHandlerOrThrow)
{
    cFixture f;
    qstd::cRuntimeException oCause(qucs::cLIMessage::fromTemplate("$MTR$boom"), nullptr, 0);
    f.mpSocket->miAccept = 0;
    f.moConnection.send(bytes("abc"));
    EXPECT_EQ((Texts{"Network connection error!", "boom"}),
              failureOf([&] { f.moConnection.sltException(oCause, false); }));
    EXPECT_FALSE(f.moConnection.isTxBusy());
    f.moConnection.errorHandler().connect(f.moProbe, &qortest::cConnectionProbe::error);
    f.moConnection.sltException(oCause, false);
    EXPECT_EQ((std::vector<Texts>{{"Network connection error!", "boom"}}), f.moProbe.moErrors);
}

TEST(NetConnection, DelayedInvalidationLetsTheQueueSleep)
{
    qortest::cFakeClock oClock;
    qpi::cWorkQueue oQueue;
    auto* pEvents = new qortest::cRecordingEvents;
    oQueue.setEvents(qstd::tAutoPtr<qpi::cAbstractProcessEvents>(pEvents));
    cFixture f;
    f.moConnection.schedule(&oQueue);
    f.mpSocket->miAccept = 0;
    f.moConnection.send(bytes("rest"));
    f.moConnection.invalidateLater();
    oQueue.process(); // runs the invalidation, which finds the buffer still going out
    for (int i = 0; i < 3; ++i) {
        oQueue.process();
        EXPECT_NE(0u, pEvents->miLastTimeout) << "pass " << i;
    }
    EXPECT_FALSE(f.moConnection.isInvalid());
    f.mpSocket->miAccept = 100;
    f.moConnection.sltSocketWritable();
    EXPECT_EQ(1, f.moProbe.miComplete);
    oQueue.process();
    EXPECT_TRUE(f.moConnection.isInvalid());
    EXPECT_EQ("rest", f.mpSocket->msTx);
}

/// A client whose connecting steps succeed after a set number.
class cStepClient : public qce::cNetAbstractClient
{
public:
    using qce::cNetAbstractClient::cNetAbstractClient;
    void connectTo(const qce::cNetAbstractAddress& a) override { moTarget.assign(a); }
    bool isConnected() const override { return miSteps >= 3; }
    qstd::tAutoPtr<qce::cNetAbstractConnection> connection() override
    {
        return qstd::tAutoPtr<qce::cNetAbstractConnection>(new qce::cNetAbstractConnection(
            qstd::tAutoPtr<qce::cNetAbstractSocket>(new cScriptSocket)));
    }
    qce::cNetAbstractAddress& address() override { return moTarget; }
    void connectStep() override { ++miSteps; }
    qortest::cTestIPv4Address moTarget;
    int miSteps = 0;
};

TEST(NetClient, WaitConnectionAndTimeout)
{
    qortest::cFakeClock oClock;
    qpi::cWorkQueue oQueue;
    oQueue.setEvents(qstd::tAutoPtr<qpi::cAbstractProcessEvents>(new qortest::cRecordingEvents));
    cStepClient oClient(&oQueue);
    EXPECT_EQ(&oQueue, &oClient.wq());
    qortest::cTestIPv4Address oTarget;
    oTarget.fromString("127.0.0.1:9");
    oClient.connectTo(oTarget);
    EXPECT_TRUE(oClient.waitConnection().get() != nullptr);
    EXPECT_EQ(3, oClient.miSteps);

    oClient.startTimeout(100);
    oQueue.process();
    oClient.stopTimeout();
    oClock.advanceMSec(200);
    oQueue.process();
    oClient.startTimeout(100);
    oClock.advanceMSec(150);
    EXPECT_EQ((Texts{"Timeout while establish network connection to 127.0.0.1!"}),
              failureOf([&] { oQueue.process(); }));
}

} // namespace
