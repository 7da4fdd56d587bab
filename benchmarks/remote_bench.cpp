// remote_bench.cpp - remote slot calls over loopback TCP: the round trip of a call
// with two integer arguments returning an integer, against a plain 64-byte request
// and reply over the same transport and loop; and calls per second with 16 calls
// in flight. Client and server live in this process and share the loop.
// SPDX-License-Identifier: MIT
#include "qor_core/qor_core.h"
#include "remote/publicmethodslot.h"
#include "remote/remoteclient.h"
#include "remote/remoteserver.h"
#include "tcploopback.h"
#include "tcp/tcpclient.h"
#include "tcp/tcpserver.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using qorbench::cLoopbackPair;
using qorbench::cPlainEcho;

class cAdder : public qcs::cAbstractInterface
{
public:
    cAdder()
        : qcs::cAbstractInterface(
              qcs::cInterfaceDesc(qcs::cInterfaceDesc::Provided, "Adder", "bench", 1, ""))
    {
        qremote::publishMethod(*this, "add", "the sum", &cAdder::add);
    }
    void attach(qcs::cAbstractInterface&) override {}
    void detach() override {}
    int add(int a, int b) { return a + b; }
};

class cAdderComponent : public qcs::cAbstractComponent
{
public:
    explicit cAdderComponent(qcs::cModuleMgr& oManager) : qcs::cAbstractComponent(oManager)
    {
        addInterface(qstd::tAutoPtr<qcs::cAbstractInterface>(new cAdder));
    }
};

/// A server manager publishing an adder and a client manager whose remote client
/// has rebuilt it, over one loopback connection.
class cRemoteWorld
{
public:
    cRemoteWorld()
        : moServerManager(qpi::system().coreExtensions()),
          moClientManager(qpi::system().coreExtensions()), moServer(moServerManager)
    {
        moServerManager.addComponent(
            qstd::tAutoPtr<qcs::cAbstractComponent>(new cAdderComponent(moServerManager)),
            qcs::cComponentAddr());
        while (!(*moServerManager.components().begin())->component()->announced())
            qpi::system().exec();
        moServer.addConnection(moPair.mpServerSide);
        mpClient.reset(new qremote::cRemoteClient(moClientManager, moPair.mpClientSide));
        while (mpClient->remoteComponents().empty())
            qpi::system().exec();
        mpAdder = &mpClient->remoteComponents()[0]->remoteInterface(0);
    }
    ~cRemoteWorld() { mpClient.reset(); }

    cLoopbackPair moPair;
    qcs::cModuleMgr moServerManager;
    qcs::cModuleMgr moClientManager;
    qremote::cRemoteServer moServer;
    std::unique_ptr<qremote::cRemoteClient> mpClient;
    qremote::cRemoteInterface* mpAdder = nullptr;
};

void BM_RemoteBaselineEcho64(benchmark::State& oState)
{
    cLoopbackPair oPair;
    cPlainEcho oEcho(oPair);
    for (auto _ : oState)
        oEcho.roundTrip();
}
BENCHMARK(BM_RemoteBaselineEcho64)->UseRealTime();

void BM_RemoteCallRoundTrip(benchmark::State& oState)
{
    cRemoteWorld oWorld;
    int iSum = 0, a = 20, b = 22;
    qsa::cReferenceFrame oFrame;
    oFrame.addRef(iSum, true, false).addRef(a, false, true).addRef(b, false, true);
    for (auto _ : oState) {
        oWorld.mpAdder->call("add", oFrame);
        benchmark::DoNotOptimize(iSum);
    }
    if (iSum != 42)
        oState.SkipWithError("wrong sum");
}
BENCHMARK(BM_RemoteCallRoundTrip)->UseRealTime();

/// Keeps kWindow calls in flight: every finished call starts the next.
class cWindow : public qrmi::cConnectable
{
public:
    enum
    {
        kWindow = 16
    };
    explicit cWindow(qremote::cRemoteInterface& oAdder) : moAdder(oAdder)
    {
        for (int i = 0; i < kWindow; ++i) {
            moFrames[i].addRef(miSums[i], true, false).addRef(miLeft, false, true);
            moFrames[i].addRef(miRight, false, true);
        }
    }
    void startAll()
    {
        for (int i = 0; i < kWindow; ++i)
            startAt(i);
    }
    void startAt(int i)
    {
        mpCalls[i] = moAdder.startCall("add", moFrames[i]);
        mpCalls[i]->setIndex(unsigned(i));
        mpCalls[i]->sigFinished.connect(*this, &cWindow::sltFinished);
    }
    piVoid sltFinished(qremote::cRemoteCall& oCall)
    {
        ++miFinished;
        if (oCall.state() != qremote::cRemoteCall::Succeeded)
            mbFailed = true;
        miRestart[miRestarts++] = int(oCall.index());
        return piVoid();
    }
    /// Turns the loop until iCalls more calls have finished, refilling the window.
    void run(long iCalls)
    {
        long iTarget = miFinished + iCalls;
        while (miFinished < iTarget && !mbFailed) {
            qpi::system().exec();
            // A call is replaced outside its own signal, which it must not delete.
            for (int i = 0; i < miRestarts; ++i)
                startAt(miRestart[i]);
            miRestarts = 0;
        }
    }

    qremote::cRemoteInterface& moAdder;
    qsa::cReferenceFrame moFrames[kWindow];
    qstd::tAutoPtr<qremote::cRemoteCall> mpCalls[kWindow];
    int miSums[kWindow] = {}, miLeft = 1, miRight = 2;
    int miRestart[kWindow] = {}, miRestarts = 0;
    long miFinished = 0;
    bool mbFailed = false;
};

void BM_RemoteCalls16InFlight(benchmark::State& oState)
{
    cRemoteWorld oWorld;
    cWindow oWindow(*oWorld.mpAdder);
    oWindow.startAll();
    for (auto _ : oState)
        oWindow.run(1000);
    if (oWindow.mbFailed)
        oState.SkipWithError("a call failed");
    oState.SetItemsProcessed(int64_t(oState.iterations()) * 1000);
    oWindow.run(0);
    while (oWorld.mpClient->pendingCalls() > 0)
        qpi::system().exec();
}
BENCHMARK(BM_RemoteCalls16InFlight)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
