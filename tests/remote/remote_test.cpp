// Tests of remote calls between two module managers over real loopback TCP
// connections (127.0.0.1 only), in one process: the client's calls wait in nested
// turns of the system's queue, which also serve the server's side.
#include "io/iotesting.h"
#include "qor_core/sa/deserializebinary.h"
#include "qor_core/sa/serializebinary.h"
#include "remote/publicmethodslot.h"
#include "remote/remoteclient.h"
#include "remote/remoteprotocol.h"
#include "remote/remoteserver.h"
#include "tcp/tcpclient.h"
#include "tcp/tcpserver.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <functional>
#include <memory>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

using qortest::chainOf;
using qortest::failureOf;
using qortest::openDescriptors;
using Texts = std::vector<std::string>;

/// Turns the loop until bDone() or the deadline; returns bDone(). A periodic work
/// bounds every sleep.
bool turnUntil(const std::function<bool()>& bDone, int iMSec = 10000)
{
    qpi::cWork oTick;
    oTick.start(10, qpi::cWork::Periodic);
    qpi::schedule(oTick);
    auto oEnd = std::chrono::steady_clock::now() + std::chrono::milliseconds(iMSec);
    while (!bDone() && std::chrono::steady_clock::now() < oEnd)
        qpi::system().exec();
    return bDone();
}

/// The application's own exception class.
class cCalcError : public qstd::cRuntimeException
{
public:
    cCalcError() {}
    explicit cCalcError(const qucs::cLIMessage& oMsg) : qstd::cRuntimeException(oMsg, nullptr, 0) {}
    qstd::cAbstractException* createObject() const override { return new cCalcError(*this); }
    qstd::cAsciiString typeName() const override { return "cCalcError"; }
};

/// The provider's interface "Calculator".
class cCalculator : public qcs::cAbstractInterface
{
public:
    cCalculator()
        : qcs::cAbstractInterface(qcs::cInterfaceDesc(qcs::cInterfaceDesc::Provided, "Calculator",
                                                      "tests", 1, "arithmetic")),
          sigTicked(qrmi::cAbstractSignal::IgnoreWhenUnconnected)
    {
        qremote::publishMethod(*this, "add", "the sum", &cCalculator::add);
        qremote::publishMethod(*this, "concat", "both texts", &cCalculator::concat);
        qremote::publishMethod(*this, "divide", "the quotient", &cCalculator::divide);
        qremote::publishMethod(*this, "divmod", "quotient and remainder", &cCalculator::divmod);
        qremote::publishMethod(*this, "ping", "counts", &cCalculator::ping);
        qremote::publishMethod(*this, "stall", "turns the loop", &cCalculator::stall);
        qremote::publishMethod(*this, "tick", "emits sigTicked", &cCalculator::tick);
        qremote::publishMethod(*this, "echoBool", "", &cCalculator::echo<bool>);
        qremote::publishMethod(*this, "echoChar", "", &cCalculator::echo<signed char>);
        qremote::publishMethod(*this, "echoUChar", "", &cCalculator::echo<unsigned char>);
        qremote::publishMethod(*this, "echoInt16", "", &cCalculator::echo<short>);
        qremote::publishMethod(*this, "echoUInt16", "", &cCalculator::echo<unsigned short>);
        qremote::publishMethod(*this, "echoUInt32", "", &cCalculator::echo<unsigned int>);
        qremote::publishMethod(*this, "echoInt64", "", &cCalculator::echo<long long>);
        qremote::publishMethod(*this, "echoUInt64", "", &cCalculator::echo<unsigned long long>);
        qremote::publishMethod(*this, "echoDouble", "", &cCalculator::echo<double>);
        qremote::publishMethod(*this, "echoString", "", &cCalculator::echo<qucs::cString>);
        sigTicked.exportSignal(*this, "sigTicked", qrmi::cAbstractSignal::ProviderSide, "ticks");
    }
    void attach(qcs::cAbstractInterface&) override {}
    void detach() override {}

    int add(int a, int b) { return a + b; }
    qstd::cAsciiString concat(const qstd::cAsciiString& a, const qstd::cAsciiString& b)
    {
        qstd::cAsciiString s(a);
        s += b;
        return s;
    }
    int divide(int a, int b)
    {
        if (b == 0) {
            qucs::cLIMessage oCause;
            oCause << "$MTR$Division by zero!";
            qucs::cLIMessage oMsg;
            oMsg << "$MTR$Cannot compute %a% / %b%!" << a << b;
            cCalcError e(oMsg);
            e.link(qstd::cRuntimeException(oCause, nullptr, 0));
            throw e;
        }
        return a / b;
    }
    int divmod(int a, int b, int& iRemainder)
    {
        iRemainder = a % b;
        return a / b;
    }
    piVoid ping()
    {
        ++miPings;
        return piVoid();
    }
    int stall(int iMSec)
    {
        turnUntil([] { return false; }, iMSec);
        return iMSec;
    }
    piVoid tick()
    {
        sigTicked();
        return piVoid();
    }
    template <class V> V echo(V v) { return v; }

    qrmi::signal0<piVoid> sigTicked;
    int miPings = 0;
};

class cCalcComponent : public qcs::cAbstractComponent
{
public:
    explicit cCalcComponent(qcs::cModuleMgr& oManager) : qcs::cAbstractComponent(oManager)
    {
        moduleInfo().setName("calculator");
        mpCalculator = new cCalculator;
        addInterface(qstd::tAutoPtr<qcs::cAbstractInterface>(mpCalculator));
    }
    cCalculator* mpCalculator; ///< owned by the interface list
};

/// The user's side of "Calculator": emitting sigPing calls the provider's "ping".
class cCalcUser : public qcs::cAbstractInterface
{
public:
    cCalcUser()
        : qcs::cAbstractInterface(qcs::cInterfaceDesc(qcs::cInterfaceDesc::Required, "Calculator",
                                                      "tests", 1, "wants arithmetic")),
          sigPing(qrmi::cAbstractSignal::IgnoreWhenUnconnected)
    {
    }
    void attach(qcs::cAbstractInterface& oProvider) override
    {
        detach();
        sigPing.connect(oProvider, "ping", qrmi::cAbstractSignal::ResolveAtConnect);
        mpProvider = &oProvider;
    }
    void detach() override
    {
        if (mpProvider)
            sigPing.disconnect(*mpProvider);
        mpProvider = nullptr;
    }
    qremote::cRemoteInterface& remote()
    {
        return dynamic_cast<qremote::cRemoteInterface&>(*mpProvider);
    }

    qrmi::signal0<piVoid> sigPing;
    qcs::cAbstractInterface* mpProvider = nullptr; ///< not owned
};

class cUserComponent : public qcs::cAbstractComponent
{
public:
    explicit cUserComponent(qcs::cModuleMgr& oManager)
        : qcs::cAbstractComponent(oManager),
          moDependency(*this, moUser.desc(), &moUser, qcs::cInterfaceDep::saUseFirstBest)
    {
        moDependency.sigMatched.connect(*this, &cUserComponent::matched);
        moDependency.sigUnmatched.connect(*this, &cUserComponent::unmatched);
    }
    piVoid matched(const qcs::cComponentAddr&)
    {
        ++miMatched;
        return piVoid();
    }
    piVoid unmatched()
    {
        ++miUnmatched;
        return piVoid();
    }
    cCalcUser moUser;
    qcs::cInterfaceDep moDependency;
    int miMatched = 0, miUnmatched = 0;
};

/// Counts emissions and records finished calls.
struct cRecorder : qrmi::cConnectable
{
    piVoid hit()
    {
        ++miHits;
        return piVoid();
    }
    piVoid finished(qremote::cRemoteCall& oCall)
    {
        moFinished.push_back(&oCall);
        if (mfFinished)
            mfFinished(oCall);
        return piVoid();
    }
    piVoid closed(qremote::cRemoteEndpoint&, const qstd::cAbstractException& e)
    {
        moClosed.push_back(chainOf(e));
        return piVoid();
    }
    int miHits = 0;
    std::vector<qremote::cRemoteCall*> moFinished;
    std::vector<Texts> moClosed;
    std::function<void(qremote::cRemoteCall&)> mfFinished;
};

/// Two module managers: the server's publishes a calculator, the client's has a
/// component that depends on one. A TCP listener hands its connections to the
/// remote server.
class Remote : public ::testing::Test, public qrmi::cConnectable
{
protected:
    void SetUp() override
    {
        miDescriptors = openDescriptors();
        mpServerManager.reset(new qcs::cModuleMgr(qpi::system().coreExtensions()));
        mpCalc = new cCalcComponent(*mpServerManager);
        mpServerManager->addComponent(qstd::tAutoPtr<qcs::cAbstractComponent>(mpCalc),
                                      qcs::cComponentAddr());
        mpServer.reset(new qremote::cRemoteServer(*mpServerManager));
        mpServer->sigSessionClosed.connect(moServerLog, &cRecorder::closed);
        mpListener.reset(new qtcp::cTcpServer);
        mpListener->sigConnected.connect(*this, &Remote::accepted);
        mpListener->listen(qtcp::cTcpIpv4Address("127.0.0.1:0"));
        mpClientManager.reset(new qcs::cModuleMgr(qpi::system().coreExtensions()));
        mpUser = new cUserComponent(*mpClientManager);
        mpClientManager->addComponent(qstd::tAutoPtr<qcs::cAbstractComponent>(mpUser),
                                      qcs::cComponentAddr());
    }
    void TearDown() override
    {
        mpClient.reset();
        mpClientManager.reset();
        mpServer.reset();
        mpListener.reset();
        mpServerManager.reset();
        EXPECT_EQ(miDescriptors, openDescriptors()) << "descriptor leaked";
    }

    piVoid accepted(const qce::cNetAbstractAddress&)
    {
        mpServer->addConnection(mpListener->takeConnection());
        return piVoid();
    }
    unsigned port() { return mpListener->address().isIPAddress()->port(); }

    /// A TCP connection to the listener, through the loop.
    qstd::tAutoPtr<qce::cNetAbstractConnection> dial()
    {
        qtcp::cTcpClient oClient;
        qtcp::cTcpIpv4Address oTarget;
        oTarget.assign(mpListener->address());
        oClient.connectTo(oTarget);
        EXPECT_TRUE(turnUntil([&] { return !oClient.isConnecting(); }));
        EXPECT_TRUE(oClient.isConnected());
        return oClient.connection();
    }
    /// The client, connected, with the dependency matched.
    void connectClient()
    {
        mpClient.reset(new qremote::cRemoteClient(*mpClientManager, dial()));
        mpClient->registerException<cCalcError>();
        mpClient->sigClosed.connect(moClientLog, &cRecorder::closed);
        ASSERT_TRUE(turnUntil([&] { return mpUser->moDependency.matched(); }));
    }
    qremote::cRemoteInterface& calculator() { return mpUser->moUser.remote(); }

    int add(int a, int b)
    {
        int iResult = 0;
        qsa::cReferenceFrame oFrame;
        oFrame.addRef(iResult, true, false).addRef(a, false, true).addRef(b, false, true);
        calculator().call("add", oFrame);
        return iResult;
    }

    int miDescriptors = 0;
    std::unique_ptr<qcs::cModuleMgr> mpServerManager, mpClientManager;
    cCalcComponent* mpCalc = nullptr; ///< owned by the server's manager
    cUserComponent* mpUser = nullptr; ///< owned by the client's manager
    std::unique_ptr<qremote::cRemoteServer> mpServer;
    std::unique_ptr<qtcp::cTcpServer> mpListener;
    std::unique_ptr<qremote::cRemoteClient> mpClient;
    cRecorder moServerLog, moClientLog;
};

TEST_F(Remote, DependencyMatchesTheProviderOfTheOtherProcess)
{
    connectClient();
    EXPECT_EQ(1, mpUser->miMatched);
    ASSERT_EQ(1u, mpClient->remoteComponents().count());
    qremote::cRemoteComponent& oRemote = *mpClient->remoteComponents()[0];
    // The location is the provider's; the address in the client's manager is its own.
    EXPECT_TRUE(oRemote.location() == mpCalc->location());
    // The dependency names the provider by its own address, in the other manager.
    EXPECT_TRUE(mpUser->moDependency.address() == mpCalc->address());
    EXPECT_STREQ("calculator", oRemote.info().name().c_str());
    const qrmi::cPublicSlot* pAdd = calculator().findPublicSlot("add");
    EXPECT_STREQ("piInt32, piInt32", pAdd->paramTypeNames().c_str());
    EXPECT_STREQ("piInt32", pAdd->returnTypeName().c_str());
    EXPECT_TRUE(calculator().findPublicSlot("divmod")->parameters()[2].alterable());
    // Not published back: the server sees only its own component.
    EXPECT_FALSE(qremote::cRemoteServer::publishes(oRemote));
}

TEST_F(Remote, CallsCarryArgumentsResultsAndOutputValues)
{
    connectClient();
    EXPECT_EQ(5, add(2, 3));
    EXPECT_EQ(-7, add(-10, 3));

    qstd::cAsciiString sResult, sLeft("remote "), sRight("call");
    qsa::cReferenceFrame oConcat;
    oConcat.addRef(sResult, true, false).addRef(sLeft, false, true).addRef(sRight, false, true);
    calculator().call("concat", oConcat);
    EXPECT_STREQ("remote call", sResult.c_str());

    int iQuotient = 0, a = 17, b = 5, iRemainder = -1;
    qsa::cReferenceFrame oDivmod;
    oDivmod.addRef(iQuotient, true, false).addRef(a, false, true).addRef(b, false, true);
    oDivmod.addRef(iRemainder, true, false);
    calculator().call("divmod", oDivmod);
    EXPECT_EQ(3, iQuotient);
    EXPECT_EQ(2, iRemainder);

    // A signal connected by name to the remote slot.
    mpUser->moUser.sigPing();
    mpUser->moUser.sigPing();
    EXPECT_EQ(2, mpCalc->mpCalculator->miPings);
    EXPECT_EQ(0u, mpClient->pendingCalls());
}

template <class V> V echo(qremote::cRemoteInterface& oInterface, const char* pSlot, V v)
{
    V oResult = V();
    qsa::cReferenceFrame oFrame;
    oFrame.addRef(oResult, true, false).addRef(v, false, true);
    oInterface.call(pSlot, oFrame);
    return oResult;
}

TEST_F(Remote, EveryScalarAndStringTypeTravelsUnchanged)
{
    connectClient();
    qremote::cRemoteInterface& c = calculator();
    EXPECT_TRUE(echo(c, "echoBool", true));
    EXPECT_EQ(-128, echo(c, "echoChar", (signed char)-128));
    EXPECT_EQ(255, echo(c, "echoUChar", (unsigned char)255));
    EXPECT_EQ(-32768, echo(c, "echoInt16", (short)-32768));
    EXPECT_EQ(65535, echo(c, "echoUInt16", (unsigned short)65535));
    EXPECT_EQ(4294967295u, echo(c, "echoUInt32", 4294967295u));
    EXPECT_EQ(-9223372036854775807LL - 1, echo(c, "echoInt64", -9223372036854775807LL - 1));
    EXPECT_EQ(18446744073709551615ULL, echo(c, "echoUInt64", 18446744073709551615ULL));
    EXPECT_EQ(0.1, echo(c, "echoDouble", 0.1));
    qucs::cString sText = qortest::str("\xC3\xA4 unicode");
    EXPECT_TRUE(echo(c, "echoString", sText) == sText);
}

TEST_F(Remote, AFailureArrivesAsTheRemoteChainWithItsClassAndLocation)
{
    connectClient();
    int iResult = 0, a = 7, b = 0;
    qsa::cReferenceFrame oFrame;
    oFrame.addRef(iResult, true, false).addRef(a, false, true).addRef(b, false, true);
    try {
        calculator().call("divide", oFrame);
        ADD_FAILURE() << "nothing thrown";
    } catch (const cCalcError& e) {
        EXPECT_EQ((Texts{"Cannot compute 7 / 0!", "Division by zero!"}), chainOf(e));
        ASSERT_TRUE(e.isRemote());
        EXPECT_TRUE(e.remoteLocation() == mpCalc->location());
        ASSERT_TRUE(e.history());
        EXPECT_TRUE(e.history()->isRemote());
        EXPECT_STREQ("cRuntimeException", e.history()->typeName().c_str());
    }

    // An unknown slot is reported by the provider.
    qsa::cReferenceFrame oMissing;
    oMissing.addRef(iResult, true, false);
    try {
        calculator().call("nosuchslot", oMissing);
        ADD_FAILURE() << "nothing thrown";
    } catch (const qrmi::cNoSuchSlotException& e) {
        EXPECT_TRUE(e.isRemote());
        EXPECT_EQ(Texts{"Slot \"nosuchslot((piInt32))\" not found in interface"}, chainOf(e));
    }

    // Arguments of the wrong types are the slot's own parameter check.
    qstd::cAsciiString sWrong("x");
    qsa::cReferenceFrame oWrong;
    oWrong.addRef(iResult, true, false).addRef(sWrong, false, true).addRef(b, false, true);
    EXPECT_THROW(calculator().call("add", oWrong), qstd::cTypeMissmatchException);

    // A type that cannot travel is refused before anything is sent.
    qsa::cReferenceFrame oSub, oNested;
    oNested.addRef(iResult, true, false).addRef(oSub, false, true);
    EXPECT_EQ(Texts{"The type \"cReferenceFrame\" cannot be passed to a remote slot!"},
              failureOf([&] { calculator().call("add", oNested); }));
    EXPECT_EQ(0u, mpClient->pendingCalls());
    EXPECT_EQ(5, add(2, 3));
}

TEST_F(Remote, AnExceptionClassTheClientDoesNotKnowEndsTheChain)
{
    mpClient.reset(new qremote::cRemoteClient(*mpClientManager, dial()));
    ASSERT_TRUE(turnUntil([&] { return mpUser->moDependency.matched(); }));
    int iResult = 0, a = 7, b = 0;
    qsa::cReferenceFrame oFrame;
    oFrame.addRef(iResult, true, false).addRef(a, false, true).addRef(b, false, true);
    try {
        calculator().call("divide", oFrame);
        ADD_FAILURE() << "nothing thrown";
    } catch (const qstd::cRuntimeException& e) {
        EXPECT_EQ(Texts{"Unknown remote exception of type cCalcError!"}, chainOf(e));
        EXPECT_TRUE(e.isRemote());
    }
    // The connection is still in step.
    EXPECT_EQ(9, add(4, 5));
}

TEST_F(Remote, RemoteEmissionsReachTheProxySignal)
{
    connectClient();
    cRecorder oRecorder;
    calculator().findSignal("sigTicked")->isPublicSignal();
    dynamic_cast<qrmi::signal0<piVoid>&>(*calculator().findSignal("sigTicked"))
        .connect(oRecorder, &cRecorder::hit);
    mpCalc->mpCalculator->sigTicked();
    EXPECT_TRUE(turnUntil([&] { return oRecorder.miHits == 1; }));
    // Emitted on the server by a remote call.
    qsa::cReferenceFrame oFrame;
    piVoid oVoid;
    oFrame.addRef(oVoid, true, false);
    calculator().call("tick", oFrame);
    EXPECT_TRUE(turnUntil([&] { return oRecorder.miHits == 2; }));
}

TEST_F(Remote, SixteenCallsInFlightArePairedWithTheirReplies)
{
    connectClient();
    const int kCalls = 16;
    int oResults[kCalls], oLeft[kCalls], oRight[kCalls];
    std::vector<std::unique_ptr<qsa::cReferenceFrame>> oFrames;
    std::vector<qstd::tAutoPtr<qremote::cRemoteCall>> oCalls;
    cRecorder oRecorder;
    for (int i = 0; i < kCalls; ++i) {
        oResults[i] = -1;
        oLeft[i] = i;
        oRight[i] = 1000 * i;
        oFrames.emplace_back(new qsa::cReferenceFrame);
        oFrames.back()->addRef(oResults[i], true, false).addRef(oLeft[i], false, true);
        oFrames.back()->addRef(oRight[i], false, true);
        oCalls.push_back(calculator().startCall("add", *oFrames.back()));
        oCalls.back()->sigFinished.connect(oRecorder, &cRecorder::finished);
    }
    EXPECT_EQ(unsigned(kCalls), mpClient->pendingCalls());
    EXPECT_TRUE(turnUntil([&] { return oRecorder.moFinished.size() == size_t(kCalls); }));
    for (int i = 0; i < kCalls; ++i) {
        EXPECT_EQ(qremote::cRemoteCall::Succeeded, oCalls[i]->state());
        EXPECT_EQ(1001 * i, oResults[i]);
        EXPECT_NE(oCalls[i]->id(), oCalls[(i + 1) % kCalls]->id());
    }
    EXPECT_EQ(0u, mpClient->pendingCalls());
}

TEST_F(Remote, ACallWithoutReplyInTimeFailsAndTheLateReplyIsIgnored)
{
    connectClient();
    mpClient->setCallTimeout(50);
    int iResult = 0, iMSec = 400;
    qsa::cReferenceFrame oFrame;
    oFrame.addRef(iResult, true, false).addRef(iMSec, false, true);
    auto oStart = std::chrono::steady_clock::now();
    EXPECT_EQ((Texts{"Transfer timeout after 50 milliseconds!",
                     "Unable to call slot \"stall\" on interface 0!"}),
              failureOf([&] { calculator().call("stall", oFrame); }));
    EXPECT_GE(std::chrono::steady_clock::now() - oStart, std::chrono::milliseconds(50));
    EXPECT_EQ(0, iResult);
    mpClient->setCallTimeout(5000);
    EXPECT_EQ(3, add(1, 2));
    EXPECT_TRUE(mpClient->isOpen());
    EXPECT_EQ(0, iResult); // the stalled reply, ignored, wrote nothing
}

TEST_F(Remote, LosingTheServerFailsPendingCallsAndUnmatchesTheDependency)
{
    connectClient();
    int iResult = 0, a = 1, b = 2;
    qsa::cReferenceFrame oFrame;
    oFrame.addRef(iResult, true, false).addRef(a, false, true).addRef(b, false, true);
    qstd::tAutoPtr<qremote::cRemoteCall> pCall = calculator().startCall("add", oFrame);
    mpServer.reset(); // closes the sessions before the call arrives
    EXPECT_TRUE(turnUntil([&] { return mpUser->miUnmatched == 1; }));
    ASSERT_TRUE(pCall->finished());
    EXPECT_EQ((Texts{"Unable to complete request - remote connection has been closed unexpectedly!",
                     "Unable to call slot \"add\" on interface 0!",
                     "The peer 127.0.0.1:" + std::to_string(port()) + " closed the connection!"}),
              chainOf(*pCall->failure()));
    EXPECT_THROW(pCall->check(), qstd::cRuntimeException);
    EXPECT_FALSE(mpClient->isOpen());
    ASSERT_EQ(1u, moClientLog.moClosed.size());
    EXPECT_FALSE(mpUser->moDependency.matched());
    EXPECT_EQ(0u, mpClient->remoteComponents().count());
    EXPECT_EQ(1u, mpClientManager->components().count()); // the user alone
    // The stand-in went with its connection: calls through a leftover proxy fail.
    EXPECT_EQ(0u, mpClient->pendingCalls());
}

TEST_F(Remote, DestroyingTheClientFailsItsCallsAndMayHappenInsideTheirSlots)
{
    connectClient();
    int iResult = 0, a = 1, b = 2;
    qsa::cReferenceFrame oFrame;
    oFrame.addRef(iResult, true, false).addRef(a, false, true).addRef(b, false, true);
    qstd::tAutoPtr<qremote::cRemoteCall> pFirst = calculator().startCall("add", oFrame);
    qstd::tAutoPtr<qremote::cRemoteCall> pSecond = calculator().startCall("add", oFrame);
    cRecorder oRecorder;
    // The first finished call destroys the client, while the second is pending.
    oRecorder.mfFinished = [&](qremote::cRemoteCall&) { mpClient.reset(); };
    pFirst->sigFinished.connect(oRecorder, &cRecorder::finished);
    pSecond->sigFinished.connect(oRecorder, &cRecorder::finished);
    EXPECT_TRUE(turnUntil([&] { return oRecorder.moFinished.size() == 2; }));
    EXPECT_EQ(qremote::cRemoteCall::Succeeded, pFirst->state());
    EXPECT_EQ(qremote::cRemoteCall::Failed, pSecond->state());
    EXPECT_EQ("Unable to complete request - remote connection has been closed unexpectedly!",
              chainOf(*pSecond->failure())[0]);
    EXPECT_TRUE(turnUntil([&] { return mpUser->miUnmatched == 1; }));
    EXPECT_EQ(1u, mpClientManager->components().count());
    EXPECT_TRUE(turnUntil([&] { return mpServer->sessions().count() == 0; }));
}

/// A plain socket to the listener, for writing what a hostile peer would.
class cRawPeer
{
public:
    explicit cRawPeer(unsigned iPort) : miFd(::socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in oAddr = {};
        oAddr.sin_family = AF_INET;
        oAddr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        oAddr.sin_port = htons(iPort);
        EXPECT_EQ(0, ::connect(miFd, reinterpret_cast<sockaddr*>(&oAddr), sizeof(oAddr)));
    }
    ~cRawPeer() { ::close(miFd); }
    void write(const std::string& s)
    {
        EXPECT_EQ(ssize_t(s.size()), ::send(miFd, s.data(), s.size(), 0));
    }
    /// True once the other side has closed (reads until the end of the stream).
    bool closedByPeer()
    {
        char cBuffer[4096];
        for (;;) {
            ssize_t n = ::recv(miFd, cBuffer, sizeof(cBuffer), MSG_DONTWAIT);
            if (n == 0)
                return true;
            if (n < 0)
                return errno != EAGAIN && errno != EWOULDBLOCK; // a reset closes too
        }
    }
    int miFd;
};

std::string frameOf(qsa::cSerializeBinary& oMessage)
{
    qstd::tArray<char> oFrame;
    qstd::tArrayRef<char> oData = oMessage.data();
    qremote::cFrameDecoder::appendFrame(oFrame, oData.constData(), oData.size());
    return std::string(oFrame.begin(), oFrame.end());
}

std::string hello(unsigned iVersion = qremote::kProtocolVersion)
{
    qsa::cSerializeBinary oMessage;
    oMessage.store(piUInt32(qremote::kHello));
    oMessage.store(qstd::cAsciiString(qremote::kProtocolMagic));
    oMessage.store(piUInt32(iVersion));
    return frameOf(oMessage);
}

TEST_F(Remote, MalformedInputClosesOnlyThatConnection)
{
    connectClient();
    qsa::cSerializeBinary oTruncatedCall;
    oTruncatedCall.store(piUInt32(qremote::kCall));
    oTruncatedCall.store(piUInt32(1));
    oTruncatedCall.store(qstd::cAsciiString("not an address"));
    qsa::cSerializeBinary oUnknownKind;
    oUnknownKind.store(piUInt32(99));
    struct Row
    {
        std::string sBytes;
        Texts oReason;
    };
    const Row oTable[] = {
        {std::string("GET / HTTP/1.1\r\n\r\n"),
         {"Malformed frame: a length of 542393671 bytes exceeds the limit of 16777216 bytes!"}},
        {std::string{8, 0, 0, 0} + std::string(8, '\0'),
         {"Malformed message of kind 0 from the peer!"}},
        {frameOf(oUnknownKind),
         {"Malformed message of kind 99 from the peer!",
          "The peer does not speak the remote-call protocol!"}},
        {hello(7),
         {"Malformed message of kind 1 from the peer!",
          "The peer speaks version 7 of the remote-call protocol, but version 1 is "
          "needed!"}},
        {hello() + frameOf(oUnknownKind),
         {"Malformed message of kind 99 from the peer!", "Unknown message kind 99!"}},
        {hello() + hello(),
         {"Malformed message of kind 1 from the peer!", "Unknown message kind 1!"}},
        {hello() + frameOf(oTruncatedCall).substr(0, 10), {}}, // closed by the peer instead
        {hello() + frameOf(oTruncatedCall), {"Malformed message of kind 4 from the peer!"}}};
    for (const Row& oRow : oTable) {
        SCOPED_TRACE(oRow.sBytes.substr(0, 20));
        moServerLog.moClosed.clear();
        {
            cRawPeer oPeer(port());
            oPeer.write(oRow.sBytes);
            if (oRow.oReason.empty()) {
                EXPECT_TRUE(turnUntil([&] { return mpServer->numOpenSessions() == 2; }));
                turnUntil([] { return false; }, 20);
            } else {
                EXPECT_TRUE(turnUntil([&] { return oPeer.closedByPeer(); }));
            }
        }
        EXPECT_TRUE(turnUntil([&] { return moServerLog.moClosed.size() == 1; }));
        if (moServerLog.moClosed.empty())
            continue;
        Texts oReason = moServerLog.moClosed[0];
        if (oRow.oReason.empty())
            EXPECT_NE(std::string::npos, oReason[0].find("closed the connection"));
        else if (oReason.size() >= oRow.oReason.size())
            EXPECT_EQ(oRow.oReason, Texts(oReason.begin(), oReason.begin() + oRow.oReason.size()));
        else
            EXPECT_EQ(oRow.oReason, oReason);
    }
    // The well-behaved client was never disturbed.
    EXPECT_EQ(7, add(3, 4));
    EXPECT_TRUE(turnUntil([&] { return mpServer->sessions().count() == 1; }));
}

/// The listener's connections are driven by hand instead of by a remote server.
struct cHandDriven : qrmi::cConnectable
{
    explicit cHandDriven(qtcp::cTcpServer& oListener) : moListener(oListener)
    {
        oListener.sigConnected.connect(*this, &cHandDriven::taken);
    }
    piVoid taken(const qce::cNetAbstractAddress&)
    {
        mpConnection = moListener.takeConnection();
        return piVoid();
    }
    void send(const std::string& sBytes)
    {
        mpConnection->send(qstd::tArray<char>(sBytes.data(), unsigned(sBytes.size())));
    }
    qtcp::cTcpServer& moListener;
    qstd::tAutoPtr<qce::cNetAbstractConnection> mpConnection;
};

TEST_F(Remote, AClientRefusesAMalformedPeerAndRegistersNothing)
{
    mpListener->sigConnected.disconnect(*this);
    cHandDriven oPeer(*mpListener);
    mpClient.reset(new qremote::cRemoteClient(*mpClientManager, dial()));
    mpClient->sigClosed.connect(moClientLog, &cRecorder::closed);
    ASSERT_TRUE(turnUntil([&] { return oPeer.mpConnection.get() != nullptr; }));
    qsa::cSerializeBinary oAnnounce;
    oAnnounce.store(piUInt32(qremote::kAnnounce));
    mpCalc->location() >> oAnnounce;
    oAnnounce.store(qstd::cAsciiString("liar"));
    oAnnounce.store(piUInt32(1)); // one interface, which never comes
    oPeer.send(hello() + frameOf(oAnnounce));
    ASSERT_TRUE(turnUntil([&] { return !mpClient->isOpen(); }));
    ASSERT_EQ(1u, moClientLog.moClosed.size());
    EXPECT_EQ("Malformed message of kind 2 from the peer!", moClientLog.moClosed[0][0]);
    turnUntil([] { return false; }, 20);
    EXPECT_EQ(0u, mpClient->remoteComponents().count());
    EXPECT_EQ(1u, mpClientManager->components().count());
    EXPECT_EQ(0, mpUser->miMatched);
}

/// A public slot that is never called.
class cIdleSlotCall : public qrmi::cAbstractSlotCall
{
public:
    explicit cIdleSlotCall(qrmi::cConnectable& oOwner) : qrmi::cAbstractSlotCall(oOwner, nullptr) {}
};

TEST_F(Remote, AClientBoundsWhatAPeerMakesItHold)
{
    mpListener->sigConnected.disconnect(*this);
    cHandDriven oPeer(*mpListener);
    mpClient.reset(new qremote::cRemoteClient(*mpClientManager, dial()));
    mpClient->sigClosed.connect(moClientLog, &cRecorder::closed);
    ASSERT_TRUE(turnUntil([&] { return oPeer.mpConnection.get() != nullptr; }));

    // Two components whose slots together exceed the limit: the first is taken,
    // the second closes the connection, and both go.
    cCalcUser oHuge;
    for (unsigned i = 0; i < qremote::kMaxRemoteMembers / 2 + 1; ++i)
        oHuge.registerSlot("s", "piVoid", "", "",
                           qstd::tAutoPtr<qrmi::cAbstractSlotCall>(new cIdleSlotCall(oHuge)));
    std::string sBytes = hello();
    for (unsigned iPid = 1; iPid <= 2; ++iPid) {
        qsa::cSerializeBinary oAnnounce;
        oAnnounce.store(piUInt32(qremote::kAnnounce));
        qcs::cComponentLocation(qcs::cComponentAddr(1, 2), "elsewhere", "", iPid) >> oAnnounce;
        oAnnounce.store(qstd::cAsciiString("huge"));
        oAnnounce.store(piUInt32(1));
        oHuge.store(oAnnounce);
        sBytes += frameOf(oAnnounce);
    }
    oPeer.send(sBytes);
    ASSERT_TRUE(turnUntil([&] { return !mpClient->isOpen(); }, 30000));
    ASSERT_EQ(1u, moClientLog.moClosed.size());
    EXPECT_EQ((Texts{"Malformed message of kind 2 from the peer!",
                     "The peer sends more than 65536 published slots and signals!"}),
              moClientLog.moClosed[0]);
    EXPECT_TRUE(turnUntil([&] { return mpClientManager->components().count() == 1; }));
    EXPECT_EQ(0u, mpClient->remoteComponents().count());
}

TEST_F(Remote, RepliesArePairedWithTheirCallsInWhateverOrderTheyCome)
{
    mpListener->sigConnected.disconnect(*this);
    cHandDriven oPeer(*mpListener);
    mpClient.reset(new qremote::cRemoteClient(*mpClientManager, dial()));
    ASSERT_TRUE(turnUntil([&] { return oPeer.mpConnection.get() != nullptr; }));
    qsa::cSerializeBinary oAnnounce;
    oAnnounce.store(piUInt32(qremote::kAnnounce));
    mpCalc->location() >> oAnnounce;
    oAnnounce.store(qstd::cAsciiString("calculator"));
    oAnnounce.store(piUInt32(1));
    mpCalc->mpCalculator->store(oAnnounce);
    oPeer.send(hello() + frameOf(oAnnounce));
    ASSERT_TRUE(turnUntil([&] { return mpUser->moDependency.matched(); }));

    // Two calls go out; the peer answers the second first.
    int iFirst = 0, iSecond = 0, a = 1, b = 2;
    qsa::cReferenceFrame oFirst, oSecond;
    oFirst.addRef(iFirst, true, false).addRef(a, false, true).addRef(b, false, true);
    oSecond.addRef(iSecond, true, false).addRef(a, false, true).addRef(b, false, true);
    qstd::tAutoPtr<qremote::cRemoteCall> pFirst = calculator().startCall("add", oFirst);
    qstd::tAutoPtr<qremote::cRemoteCall> pSecond = calculator().startCall("add", oSecond);
    std::vector<std::string> oReplies;
    for (qremote::cRemoteCall* pCall : {pSecond.get(), pFirst.get()}) {
        qsa::cSerializeBinary oReply;
        oReply.store(piUInt32(qremote::kReply));
        oReply.store(pCall->id());
        oReply.store(false);
        oReply.store(pCall == pFirst.get() ? 111 : 222);
        oReplies.push_back(frameOf(oReply));
    }
    EXPECT_NE(pFirst->id(), pSecond->id());
    oPeer.send(oReplies[0] + oReplies[1]);
    ASSERT_TRUE(turnUntil([&] { return pFirst->finished() && pSecond->finished(); }));
    EXPECT_EQ(111, iFirst);
    EXPECT_EQ(222, iSecond);
    EXPECT_EQ(0u, mpClient->pendingCalls());
}

TEST(PublicMethodSlot, CallsThroughStreamsAndReportsMismatches)
{
    cCalculator oCalculator;
    qsa::cSerializeBinary oIn;
    oIn.store(20);
    oIn.store(22);
    qsa::cDeserializeBinary oArguments{qstd::tConstArrayRef<char>(oIn.ownData())};
    qsa::cSerializeBinary oOut;
    oCalculator.invokeIndirectRemoteSlot("add", oArguments, oOut);
    qsa::cDeserializeBinary oResult{qstd::tConstArrayRef<char>(oOut.ownData())};
    int iSum = 0;
    oResult.load(iSum);
    EXPECT_EQ(42, iSum);

    qsa::cSerializeBinary oBad;
    oBad.store(qstd::cAsciiString("twenty"));
    qsa::cDeserializeBinary oBadArguments{qstd::tConstArrayRef<char>(oBad.ownData())};
    EXPECT_EQ("Slot parameter of (add) or return value missmatch!", failureOf([&] {
                  oCalculator.invokeIndirectRemoteSlot("add", oBadArguments, oOut);
              })[0]);
}

} // namespace
