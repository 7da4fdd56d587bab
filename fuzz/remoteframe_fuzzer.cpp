// remoteframe_fuzzer.cpp - feeds arbitrary bytes, as a peer would send them, to the
// frame decoder and the message handling of the remote-call library: the first
// byte picks the client side (a cRemoteClient, which rebuilds published components
// and reads replies and exception chains) or the server side (a session of a
// cRemoteServer, which carries out calls on a published component); the next
// selects how the rest is cut into received chunks. Whatever arrives, the endpoint
// either handles it or closes with an exception; it never crashes, and afterwards
// a well-formed exchange still works on a fresh endpoint.
#include "qor_core/qor_core.h"
#include "remote/publicmethodslot.h"
#include "remote/remoteclient.h"
#include "remote/remoteserver.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>

namespace {

void check(bool bCondition)
{
    if (!bCondition)
        std::abort();
}

class cAddress : public qce::cNetAbstractIPv4Address
{
public:
    unsigned int port() const override { return 4242; }
    void setPort(unsigned int) override {}
    void setAddress(unsigned int, unsigned int) override {}
    void address(unsigned int& iIp, unsigned int& iPort) const override
    {
        iIp = 0x0100007F;
        iPort = 4242;
    }
    qstd::tAutoPtr<qce::cNetAbstractAddress> clone() const override
    {
        return qstd::tAutoPtr<qce::cNetAbstractAddress>(new cAddress);
    }
    void assign(const qce::cNetAbstractAddress&) override {}
    bool isEqual(const qce::cNetAbstractAddress& o) const override
    {
        return dynamic_cast<const cAddress*>(&o) != nullptr;
    }
    void clear() override {}
};

/// A socket that takes every byte written and never has anything to read: the
/// input reaches the endpoint through receiveBytes().
class cSinkSocket : public qce::cNetAbstractSocket
{
public:
    qce::cNetAbstractAddress& remoteAddress() override { return moAddress; }
    qce::cNetAbstractAddress& localAddress() override { return moAddress; }
    unsigned int maxTxSize() const override { return 1u << 20; }
    void clearException() override {}
    unsigned int read(char*, unsigned int, qce::cNetAbstractAddress*) override { return 0; }
    bool readAll(qstd::tArray<char>&, qce::cNetAbstractAddress*) override { return false; }
    bool canRead() const override { return false; }
    unsigned int write(const char*, unsigned int iSize) override { return iSize; }
    void close() override {}
    bool isClosed() const override { return false; }

private:
    cAddress moAddress;
};

qstd::tAutoPtr<qce::cNetAbstractConnection> sinkConnection()
{
    return qstd::tAutoPtr<qce::cNetAbstractConnection>(
        new qce::cNetAbstractConnection(qstd::tAutoPtr<qce::cNetAbstractSocket>(new cSinkSocket)));
}

class cCalculator : public qcs::cAbstractInterface
{
public:
    cCalculator()
        : qcs::cAbstractInterface(
              qcs::cInterfaceDesc(qcs::cInterfaceDesc::Provided, "Calculator", "fuzz", 1, ""))
    {
        qremote::publishMethod(*this, "add", "", &cCalculator::add);
        qremote::publishMethod(*this, "concat", "", &cCalculator::concat);
        qremote::publishMethod(*this, "fail", "", &cCalculator::fail);
    }
    void attach(qcs::cAbstractInterface&) override {}
    void detach() override {}
    int add(int a, int b) { return int(unsigned(a) + unsigned(b)); }
    qstd::cAsciiString concat(const qstd::cAsciiString& a, const qstd::cAsciiString& b)
    {
        qstd::cAsciiString s(a);
        s += b;
        return s;
    }
    piVoid fail() { qstd::cSTDExceptions::throwUnexpectedEndOfInput(); }
};

class cCalcComponent : public qcs::cAbstractComponent
{
public:
    explicit cCalcComponent(qcs::cModuleMgr& oManager) : qcs::cAbstractComponent(oManager)
    {
        addInterface(qstd::tAutoPtr<qcs::cAbstractInterface>(new cCalculator));
    }
};

/// The managers live for the whole run; one pass of the queue after every input
/// runs the management passes and destroys what the endpoints left behind.
struct cWorld
{
    cWorld()
        : moServerManager(qpi::system().coreExtensions()),
          moClientManager(qpi::system().coreExtensions()), moServer(moServerManager)
    {
        moServerManager.addComponent(
            qstd::tAutoPtr<qcs::cAbstractComponent>(new cCalcComponent(moServerManager)),
            qcs::cComponentAddr());
        settle();
    }
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            qpi::system().workQueue().internProcess(true);
    }
    qcs::cModuleMgr moServerManager;
    qcs::cModuleMgr moClientManager;
    qremote::cRemoteServer moServer;
};

/// Calls the client starts as soon as a component has arrived, so that replies
/// (ids 1, 2, 3) find them. Their frames' variables outlive the calls.
struct cCalls
{
    enum
    {
        kCalls = 3
    };
    void startSome(qremote::cRemoteClient& oClient)
    {
        if (miStarted == kCalls || !oClient.isOpen() || oClient.remoteComponents().empty())
            return;
        qremote::cRemoteComponent& oComponent = *oClient.remoteComponents()[0];
        if (oComponent.toRemove() || oComponent.numInterfaces() == 0)
            return;
        const int i = miStarted++;
        moFrames[i].addRef(miResults[i], true, false).addRef(miLeft, false, true);
        moFrames[i].addRef(miRight, false, true);
        mpCalls[i] = oComponent.remoteInterface(0).startCall("add", moFrames[i]);
    }
    int miResults[kCalls] = {}, miLeft = 1, miRight = 2, miStarted = 0;
    qsa::cReferenceFrame moFrames[kCalls];
    qstd::tAutoPtr<qremote::cRemoteCall> mpCalls[kCalls];
};

void feed(qremote::cRemoteEndpoint& oEndpoint, const uint8_t* pData, size_t iSize, unsigned iStep,
          const std::function<void()>& fAfterChunk)
{
    for (size_t i = 0; i < iSize && oEndpoint.isOpen(); i += iStep) {
        size_t iChunk = iSize - i < iStep ? iSize - i : iStep;
        oEndpoint.receiveBytes(reinterpret_cast<const char*>(pData + i), unsigned(iChunk));
        fAfterChunk();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t iSize)
{
    static cWorld* pWorld = new cWorld;
    if (iSize < 2)
        return 0;
    const bool bClient = (pData[0] & 1) != 0;
    const unsigned iStep = 1u + pData[1] * 97u;
    pData += 2;
    iSize -= 2;
    if (bClient) {
        cCalls oCalls;
        qremote::cRemoteClient* pClient =
            new qremote::cRemoteClient(pWorld->moClientManager, sinkConnection());
        pClient->setCallTimeout(0);
        feed(*pClient, pData, iSize, iStep, [&] { oCalls.startSome(*pClient); });
        check(pClient->isOpen() || pClient->closeReason());
        delete pClient;
        for (int i = 0; i < oCalls.miStarted; ++i)
            check(oCalls.mpCalls[i]->finished());
    } else {
        qremote::cRemoteSession& oSession = pWorld->moServer.addConnection(sinkConnection());
        feed(oSession, pData, iSize, iStep, [] {});
        check(oSession.isOpen() || oSession.closeReason());
        oSession.close(qstd::cRuntimeException());
    }
    cWorld::settle();
    // Nothing of this input stays: the rebuilt components and the sessions are gone.
    check(pWorld->moClientManager.components().count() == 0);
    check(pWorld->moServer.sessions().count() == 0);
    return 0;
}
