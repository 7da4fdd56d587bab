// Tests of the TCP transport over real loopback connections (127.0.0.1 only),
// driven by turning the system's work queue a bounded number of times.
#include "qce/nettesting.h"
#include "tcp/tcpclient.h"
#include "tcp/tcpextension.h"
#include "tcp/tcpserver.h"
#include "tcp/tcpsocket.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <dirent.h>
#include <functional>
#include <memory>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

using qortest::bytes;
using qortest::chainOf;
using qortest::openDescriptors;
using Texts = std::vector<std::string>;

qpi::cWorkQueue& queue()
{
    return qpi::system().workQueue();
}

/// A periodic work that bounds every sleep of the loop.
struct cTick
{
    cTick()
    {
        moWork.start(20, qpi::cWork::Periodic);
        queue().addJob(moWork);
    }
    qpi::cWork moWork;
};

/// Counts emissions of a signal without arguments.
struct cCount : qrmi::cConnectable
{
    piVoid hit()
    {
        ++miHits;
        return piVoid();
    }
    int miHits = 0;
};

/// Turns the loop until bDone() or the deadline; returns bDone().
bool turnUntil(const std::function<bool()>& bDone, int iMSec = 10000)
{
    cTick oTick;
    auto oEnd = std::chrono::steady_clock::now() + std::chrono::milliseconds(iMSec);
    while (!bDone() && std::chrono::steady_clock::now() < oEnd)
        qpi::system().exec();
    return bDone();
}

/// A connection with its recorder.
struct cPeer : qortest::cConnectionProbe
{
    explicit cPeer(qstd::tAutoPtr<qce::cNetAbstractConnection> p)
        : qortest::cConnectionProbe(*p), mpConnection(p)
    {
    }
    qce::cNetAbstractConnection& c() { return *mpConnection; }
    qtcp::cTcpSocket& socket() { return dynamic_cast<qtcp::cTcpSocket&>(c().socket()); }
    qstd::tAutoPtr<qce::cNetAbstractConnection> mpConnection;
};

/// A server on 127.0.0.1 with an ephemeral port whose accepted connections become peers.
class cServerSide : public qrmi::cConnectable
{
public:
    cServerSide()
    {
        moServer.sigConnected.connect(*this, &cServerSide::connected);
        moServer.sigAcceptRequest.connect(*this, &cServerSide::request);
        moServer.listen(qtcp::cTcpIpv4Address("127.0.0.1:0"));
    }
    piVoid request(const qce::cNetAbstractAddress& oFrom, bool& bAccept)
    {
        EXPECT_STREQ("127.0.0.1", oFrom.toString().c_str());
        bAccept = mbAccept;
        return piVoid();
    }
    piVoid connected(const qce::cNetAbstractAddress&)
    {
        moPeers.emplace_back(new cPeer(moServer.takeConnection()));
        return piVoid();
    }
    qtcp::cTcpIpv4Address target() const
    {
        qtcp::cTcpIpv4Address oTarget;
        oTarget.assign(const_cast<qtcp::cTcpServer&>(moServer).address());
        return oTarget;
    }

    qtcp::cTcpServer moServer;
    std::vector<std::unique_ptr<cPeer>> moPeers;
    bool mbAccept = true;
};

/// A client connected to oServer through the loop, with both ends as peers.
std::unique_ptr<cPeer> connectTo(cServerSide& oServer)
{
    qtcp::cTcpClient oClient;
    cCount oCount;
    oClient.sigConnected.connect(oCount, &cCount::hit);
    size_t iPeers = oServer.moPeers.size();
    oClient.connectTo(oServer.target());
    EXPECT_TRUE(turnUntil([&] { return oCount.miHits > 0 && oServer.moPeers.size() > iPeers; }));
    EXPECT_EQ(1, oCount.miHits);
    EXPECT_TRUE(oClient.isConnected());
    return std::unique_ptr<cPeer>(new cPeer(oClient.connection()));
}

std::string pattern(size_t iSize)
{
    std::string s(iSize, '\0');
    for (size_t i = 0; i < iSize; ++i)
        s[i] = char((i * 7 + i / 251) & 0xFF);
    return s;
}

/// A port on 127.0.0.1 that nothing listens at (bound once, then released).
unsigned closedPort()
{
    int iFd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in oAddr = {};
    oAddr.sin_family = AF_INET;
    oAddr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(iFd, reinterpret_cast<sockaddr*>(&oAddr), sizeof(oAddr));
    socklen_t iLength = sizeof(oAddr);
    ::getsockname(iFd, reinterpret_cast<sockaddr*>(&oAddr), &iLength);
    ::close(iFd);
    return ntohs(oAddr.sin_port);
}

TEST(TcpExtension, LoadedThroughTheExtensionManager)
{
    qce::cCoreExtensionMgr oManager;
    const qce::cAbstractCoreExtension& oExtension = oManager.load(qucs::cString("qor_tcp"));
    EXPECT_EQ(qce::cAbstractCoreExtension::NetAddressExtension, oExtension.extensionType());
    qstd::tVector<qstd::cAsciiString> oNames;
    oManager.provides(qce::cAbstractCoreExtension::NetAddressExtension, oNames);
    ASSERT_EQ(1u, oNames.count());
    EXPECT_STREQ("TcpIpv4", oNames[0].c_str());
    qstd::tAutoPtr<qce::cNetAbstractAddress> pAddress = oManager.createNetAddress("tcpipv4");
    ASSERT_TRUE(dynamic_cast<qtcp::cTcpIpv4Address*>(pAddress.get()));
    pAddress->fromString("127.0.0.1:80");
    EXPECT_STREQ("TcpIpv4", pAddress->addrType().c_str());
    EXPECT_EQ(80u, pAddress->isIPAddress()->port());
}

TEST(TcpAddress, SockAddrBytesFollowTheText)
{
    qtcp::cTcpIpv4Address oAddress("127.1.2.3:258");
    sockaddr_in oAddr;
    oAddress.toSockAddr(oAddr);
    char cText[INET_ADDRSTRLEN];
    EXPECT_STREQ("127.1.2.3", inet_ntop(AF_INET, &oAddr.sin_addr, cText, sizeof(cText)));
    EXPECT_EQ(258, ntohs(oAddr.sin_port));
    qtcp::cTcpIpv4Address oBack;
    oBack.fromSockAddr(oAddr);
    EXPECT_TRUE(oBack.isEqual(oAddress));
}

TEST(TcpConnection, StreamOfThreeMegabytesArrivesWholeAndInOrder)
{
    int iFds = openDescriptors();
    {
        cServerSide oServer;
        EXPECT_NE(0u, oServer.moServer.address().isIPAddress()->port());
        std::unique_ptr<cPeer> pClient = connectTo(oServer);
        cPeer& oReceiver = *oServer.moPeers[0];
        EXPECT_TRUE(pClient->c().remoteAddress().isEqual(oServer.moServer.address()));
        oReceiver.c().receive(true);
        const std::string sData = pattern(3 * 1024 * 1024);
        pClient->c().send(bytes(sData));
        EXPECT_TRUE(turnUntil([&] { return oReceiver.msData.size() >= sData.size(); }));
        EXPECT_TRUE(oReceiver.msData == sData);
        EXPECT_EQ(1, pClient->miComplete);
        EXPECT_FALSE(pClient->c().isTxBusy());

        // Chunking against a small maxTxSize.
        pClient->socket().setMaxTxSize(1000);
        oReceiver.msData.clear();
        pClient->miChunks = 0;
        const std::string sSmall = pattern(100000);
        pClient->c().send(bytes(sSmall));
        EXPECT_TRUE(turnUntil([&] { return oReceiver.msData.size() >= sSmall.size(); }));
        EXPECT_TRUE(oReceiver.msData == sSmall);
        EXPECT_GE(pClient->miChunks, 100);
        EXPECT_EQ(2, pClient->miComplete);
    }
    EXPECT_EQ(iFds, openDescriptors());
}

TEST(TcpConnection, ExactPackets)
{
    cServerSide oServer;
    std::unique_ptr<cPeer> pClient = connectTo(oServer);
    cPeer& oReceiver = *oServer.moPeers[0];
    const std::string sBig = pattern(200000);
    const std::string sAll = "hello" + std::string("world!!") + sBig;
    qstd::tArray<char> oFirst(5), oSecond(7), oThird(unsigned(sBig.size()));
    std::vector<std::string> oPackets;
    oReceiver.mfReceived = [&](qce::cNetAbstractConnection& c, const qstd::tArray<char>& oData) {
        oPackets.emplace_back(oData.begin(), oData.end());
        if (&oData == &oFirst)
            c.receive(oSecond);
        else if (&oData == &oSecond)
            c.receive(oThird);
    };
    oReceiver.c().receive(oFirst);
    pClient->c().send(bytes(sAll));
    EXPECT_TRUE(turnUntil([&] { return oPackets.size() == 3; }));
    ASSERT_EQ(3u, oPackets.size());
    EXPECT_EQ("hello", oPackets[0]);
    EXPECT_EQ("world!!", oPackets[1]);
    EXPECT_TRUE(oPackets[2] == sBig);

    // waitRx fills a packet from the caller's stack.
    qstd::tArray<char> oReply(3);
    pClient->c().receive(oReply);
    oReceiver.c().send(bytes("abc"));
    pClient->c().waitRx(5000);
    EXPECT_EQ("abc", std::string(oReply.begin(), oReply.end()));
}

TEST(TcpConnection, BackPressureHoldsTheBufferUntilThePeerReads)
{
    cServerSide oServer;
    std::unique_ptr<cPeer> pClient = connectTo(oServer);
    cPeer& oReceiver = *oServer.moPeers[0];
    const std::string sData = pattern(48 * 1024 * 1024);
    pClient->c().send(bytes(sData));
    turnUntil([] { return false; }, 200);
    EXPECT_TRUE(pClient->c().isTxBusy());
    EXPECT_GT(pClient->c().txBytesLeft(), 0u);
    EXPECT_EQ(0, pClient->miComplete);
    EXPECT_EQ((Texts{"Unable to send packet - transmitter is busy!"}),
              qortest::failureOf([&] { pClient->c().send(bytes("x")); }));
    oReceiver.c().receive(true);
    EXPECT_TRUE(turnUntil([&] { return oReceiver.msData.size() >= sData.size(); }, 30000));
    EXPECT_TRUE(oReceiver.msData == sData);
    EXPECT_EQ(1, pClient->miComplete);
}

TEST(TcpConnection, RemoteCloseReportedOnceAndReplyStillGoesOut)
{
    int iFds = openDescriptors();
    {
        cServerSide oServer;
        std::unique_ptr<cPeer> pClient = connectTo(oServer);
        cPeer& oReceiver = *oServer.moPeers[0];
        oReceiver.c().receive(true);
        oReceiver.mfClosed = [](qce::cNetAbstractConnection& c) { c.send(bytes("bye")); };
        pClient->c().receive(true);
        pClient->c().send(bytes("last words"));
        // The client stops sending but still reads.
        ASSERT_EQ(0, ::shutdown(pClient->socket().fd(), SHUT_WR));
        EXPECT_TRUE(turnUntil([&] { return oReceiver.miInvalidated == 1; }));
        EXPECT_EQ("last words", oReceiver.msData);
        EXPECT_EQ(1, oReceiver.miClosed);
        EXPECT_EQ(1, oReceiver.miComplete);
        EXPECT_TRUE(turnUntil([&] { return pClient->miClosed == 1; }));
        EXPECT_EQ("bye", pClient->msData);
        turnUntil([] { return false; }, 100);
        EXPECT_EQ(1, oReceiver.miClosed);
        EXPECT_EQ(1, oReceiver.miInvalidated);
        EXPECT_EQ(1, pClient->miClosed);
        EXPECT_TRUE(pClient->c().isInvalid());
    }
    EXPECT_EQ(iFds, openDescriptors());
}

TEST(TcpConnection, PeerVanishingMidTransferIsReportedNotFatal)
{
    int iFds = openDescriptors();
    {
        cServerSide oServer;
        std::unique_ptr<cPeer> pClient = connectTo(oServer);
        cPeer* pReceiver = oServer.moPeers[0].get();
        pReceiver->c().receive(true);
        // The receiver goes away, unread data in its buffer, after the first bytes.
        pReceiver->mfReceived = [](qce::cNetAbstractConnection& c, const qstd::tArray<char>&) {
            c.invalidate();
        };
        pClient->c().send(bytes(pattern(32 * 1024 * 1024)));
        EXPECT_TRUE(turnUntil([&] { return pClient->c().isInvalid(); }));
        EXPECT_EQ(1, pClient->miClosed);
        EXPECT_EQ(1, pClient->miInvalidated);
        EXPECT_EQ(0, pClient->miComplete);
        EXPECT_FALSE(pClient->c().isTxBusy());
    }
    EXPECT_EQ(iFds, openDescriptors());
}

TEST(TcpServer, RefusedRequestClosesTheConnection)
{
    cServerSide oServer;
    oServer.mbAccept = false;
    qtcp::cTcpClient oClient;
    oClient.connectTo(oServer.target());
    // The handshake needs no loop: the connection is handed out once.
    cPeer oClientPeer(oClient.waitConnection());
    EXPECT_FALSE(oClient.connection().get());
    oClientPeer.c().receive(true);
    EXPECT_TRUE(turnUntil([&] { return oClientPeer.miClosed == 1; }));
    EXPECT_TRUE(oServer.moPeers.empty());
}

TEST(TcpClient, RefusedConnectionLeavesNothingOpen)
{
    int iFds = openDescriptors();
    qtcp::cTcpIpv4Address oTarget("127.0.0.1:0");
    oTarget.setPort(closedPort());
    {
        qtcp::cTcpClient oClient;
        cCount oCount;
        oClient.sigConnected.connect(oCount, &cCount::hit);
        oClient.connectTo(oTarget);
        EXPECT_TRUE(turnUntil([&] { return oCount.miHits > 0; }));
        EXPECT_EQ(1, oCount.miHits);
        EXPECT_FALSE(oClient.isConnected());
        ASSERT_TRUE(oClient.failure());
        Texts oChain = chainOf(*oClient.failure());
        ASSERT_GE(oChain.size(), 2u);
        EXPECT_EQ("Unable to establish network connection to " +
                      std::string(oTarget.toString(true).c_str()) + "!",
                  oChain[0]);
        EXPECT_EQ(iFds, openDescriptors());

        // The synchronous form raises the same failure.
        oClient.connectTo(oTarget);
        try {
            oClient.waitConnection();
            ADD_FAILURE() << "connected to a closed port";
        } catch (const qstd::cAbstractException& e) {
            EXPECT_EQ(oChain[0], chainOf(e)[0]);
        }
    }
    EXPECT_EQ(iFds, openDescriptors());
}

TEST(TcpClient, ConnectTimeoutAgainstAFullBacklog)
{
    int iFds = openDescriptors();
    {
        // A listener on 127.0.0.1 that never accepts, its backlog filled: further
        // handshakes are not answered.
        int iListener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in oAddr = {};
        oAddr.sin_family = AF_INET;
        oAddr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(0, ::bind(iListener, reinterpret_cast<sockaddr*>(&oAddr), sizeof(oAddr)));
        ASSERT_EQ(0, ::listen(iListener, 0));
        socklen_t iLength = sizeof(oAddr);
        ::getsockname(iListener, reinterpret_cast<sockaddr*>(&oAddr), &iLength);
        std::vector<int> oFillers;
        for (int i = 0; i < 3; ++i) {
            int iFd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            ::connect(iFd, reinterpret_cast<sockaddr*>(&oAddr), sizeof(oAddr));
            oFillers.push_back(iFd);
        }
        usleep(20000);
        qtcp::cTcpIpv4Address oTarget("127.0.0.1:0");
        oTarget.setPort(ntohs(oAddr.sin_port));

        qtcp::cTcpClient oClient;
        oClient.connectTo(oTarget);
        oClient.startTimeout(150);
        Texts oChain;
        auto oStart = std::chrono::steady_clock::now();
        try {
            turnUntil([&] { return !oClient.isConnecting(); }, 5000);
        } catch (const qstd::cAbstractException& e) {
            oChain = chainOf(e);
        }
        EXPECT_GE(std::chrono::steady_clock::now() - oStart, std::chrono::milliseconds(140));
        ASSERT_FALSE(oChain.empty());
        EXPECT_EQ("Timeout while establish network connection to 127.0.0.1!", oChain[0]);
        EXPECT_FALSE(oClient.isConnected());
        EXPECT_FALSE(oClient.isConnecting());
        ASSERT_TRUE(oClient.failure());

        // The synchronous form honours the time-out as well.
        oClient.connectTo(oTarget);
        oClient.startTimeout(100);
        try {
            oClient.waitConnection();
            ADD_FAILURE() << "connected through a full backlog";
        } catch (const qstd::cAbstractException& e) {
            EXPECT_EQ("Timeout while establish network connection to 127.0.0.1!", chainOf(e)[0]);
        }
        for (int iFd : oFillers)
            ::close(iFd);
        ::close(iListener);
    }
    EXPECT_EQ(iFds, openDescriptors());
}

TEST(TcpServer, ListenFailureLeavesNothingOpen)
{
    int iFds = openDescriptors();
    cServerSide oServer;
    qtcp::cTcpServer oSecond;
    EXPECT_THROW(oSecond.listen(oServer.moServer.address()), qstd::cRuntimeException);
    EXPECT_FALSE(oSecond.isListening());
    oServer.moServer.close();
    EXPECT_EQ(iFds, openDescriptors());
}

} // namespace
