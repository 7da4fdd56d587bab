// workqueue_bench.cpp - dispatch, loop turns and passes of the work queue, against
// libevent 2.1 timers.
// SPDX-License-Identifier: MIT
#include "qor_core/qor_core.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <unistd.h>
#include <vector>

#ifdef QOR_BENCH_WITH_LIBEVENT
#include <event2/event.h>
#endif

// Dispatch: per iteration 1000 works are started with a delay of 0 (libevent: 1000
// timers added with a zero timeout) and one loop turn runs them all; the reported
// rate is per work. Loop turn: N works (timers) are pending an hour ahead and one
// pipe that is always readable keeps each turn from sleeping; one iteration is one
// turn (a poll and the readable callback in both libraries). Pass: the queue's
// recomputing pass (updateTimer without running anything and without the wait) over
// 1000 not-due works.

namespace {

const int kDispatchWorks = 1000;

class cCounter : public qrmi::cConnectable
{
public:
    piVoid sltRun()
    {
        ++miRuns;
        return piVoid();
    }
    std::uint64_t miRuns = 0;
};

/// A pipe with one byte in it that is never read: always readable.
struct cReadyPipe
{
    cReadyPipe()
    {
        if (::pipe(miFds) != 0 || ::write(miFds[1], "x", 1) != 1)
            miFds[0] = miFds[1] = -1;
    }
    ~cReadyPipe()
    {
        ::close(miFds[0]);
        ::close(miFds[1]);
    }
    int miFds[2];
};

/// A queue with the platform's process events and iCount works whose actions count.
struct cQueueSetup
{
    explicit cQueueSetup(int iCount)
    {
        moQueue.setEvents(qpi::cPlatform().createProcessEvents());
        for (int i = 0; i < iCount; ++i) {
            moWorks.emplace_back(new qpi::cWork);
            moWorks.back()->sigAction.connect(moCounter, &cCounter::sltRun);
            moQueue.addJob(*moWorks.back());
        }
    }
    qpi::cWorkQueue moQueue;
    cCounter moCounter;
    std::vector<std::unique_ptr<qpi::cWork>> moWorks;
};

void BM_WorkQueueDispatch(benchmark::State& oState)
{
    cQueueSetup oSetup(kDispatchWorks);
    for (auto _ : oState) {
        for (auto& pWork : oSetup.moWorks)
            pWork->start(0, qpi::cWork::Single);
        oSetup.moQueue.process();
    }
    if (oSetup.moCounter.miRuns != std::uint64_t(oState.iterations()) * kDispatchWorks)
        oState.SkipWithError("not every work ran");
    oState.SetItemsProcessed(oState.iterations() * kDispatchWorks);
}
BENCHMARK(BM_WorkQueueDispatch);

/// The same, with the starts outside the timing: the pass and the actions only.
void BM_WorkQueueDispatchOnly(benchmark::State& oState)
{
    cQueueSetup oSetup(kDispatchWorks);
    for (auto _ : oState) {
        oState.PauseTiming();
        for (auto& pWork : oSetup.moWorks)
            pWork->start(0, qpi::cWork::Single);
        oState.ResumeTiming();
        oSetup.moQueue.process();
    }
    if (oSetup.moCounter.miRuns != std::uint64_t(oState.iterations()) * kDispatchWorks)
        oState.SkipWithError("not every work ran");
    oState.SetItemsProcessed(oState.iterations() * kDispatchWorks);
}
BENCHMARK(BM_WorkQueueDispatchOnly);

void BM_WorkQueueLoopTurn(benchmark::State& oState)
{
    cQueueSetup oSetup(int(oState.range(0)));
    for (auto& pWork : oSetup.moWorks)
        pWork->start(3600 * 1000, qpi::cWork::Periodic);
    cReadyPipe oPipe;
    qpi::cWork oReader;
    cCounter oReads;
    oReader.sigAction.connect(oReads, &cCounter::sltRun);
    qstd::tAutoPtr<qpi::cFDAIOData> pData(new qpi::cFDAIOData);
    pData->addFd(oPipe.miFds[0], qpi::tFdInfo::FdReadable);
    oReader.setAIOData(qstd::tAutoPtr<qpi::cAbstractAIOData>(pData.release()));
    oSetup.moQueue.addJob(oReader);
    for (auto _ : oState)
        oSetup.moQueue.process();
    if (oReads.miRuns != std::uint64_t(oState.iterations()) || oSetup.moCounter.miRuns != 0)
        oState.SkipWithError("wrong works ran");
}
BENCHMARK(BM_WorkQueueLoopTurn)->Arg(1)->Arg(100)->Arg(1000)->Arg(10000);

void BM_WorkQueuePass(benchmark::State& oState)
{
    cQueueSetup oSetup(int(oState.range(0)));
    for (auto& pWork : oSetup.moWorks)
        pWork->start(3600 * 1000, qpi::cWork::Periodic);
    unsigned iTimeout = 0;
    for (auto _ : oState) {
        oSetup.moQueue.updateTimer(false, &iTimeout);
        benchmark::DoNotOptimize(iTimeout);
    }
    oState.SetItemsProcessed(oState.iterations() * oState.range(0));
}
BENCHMARK(BM_WorkQueuePass)->Arg(1000)->Arg(10000);

#ifdef QOR_BENCH_WITH_LIBEVENT

void countCallback(evutil_socket_t, short, void* pCounter)
{
    ++*static_cast<std::uint64_t*>(pCounter);
}

void BM_LibeventDispatch(benchmark::State& oState)
{
    event_base* pBase = event_base_new();
    std::uint64_t iRuns = 0;
    std::vector<event*> oEvents;
    for (int i = 0; i < kDispatchWorks; ++i)
        oEvents.push_back(evtimer_new(pBase, countCallback, &iRuns));
    const timeval oZero = {0, 0};
    for (auto _ : oState) {
        for (event* pEvent : oEvents)
            evtimer_add(pEvent, &oZero);
        event_base_loop(pBase, EVLOOP_ONCE | EVLOOP_NONBLOCK);
    }
    if (iRuns != std::uint64_t(oState.iterations()) * kDispatchWorks)
        oState.SkipWithError("not every timer ran");
    oState.SetItemsProcessed(oState.iterations() * kDispatchWorks);
    for (event* pEvent : oEvents)
        event_free(pEvent);
    event_base_free(pBase);
}
BENCHMARK(BM_LibeventDispatch);

void BM_LibeventDispatchOnly(benchmark::State& oState)
{
    event_base* pBase = event_base_new();
    std::uint64_t iRuns = 0;
    std::vector<event*> oEvents;
    for (int i = 0; i < kDispatchWorks; ++i)
        oEvents.push_back(evtimer_new(pBase, countCallback, &iRuns));
    const timeval oZero = {0, 0};
    for (auto _ : oState) {
        oState.PauseTiming();
        for (event* pEvent : oEvents)
            evtimer_add(pEvent, &oZero);
        oState.ResumeTiming();
        event_base_loop(pBase, EVLOOP_ONCE | EVLOOP_NONBLOCK);
    }
    if (iRuns != std::uint64_t(oState.iterations()) * kDispatchWorks)
        oState.SkipWithError("not every timer ran");
    oState.SetItemsProcessed(oState.iterations() * kDispatchWorks);
    for (event* pEvent : oEvents)
        event_free(pEvent);
    event_base_free(pBase);
}
BENCHMARK(BM_LibeventDispatchOnly);

void BM_LibeventLoopTurn(benchmark::State& oState)
{
    event_base* pBase = event_base_new();
    std::uint64_t iTimers = 0;
    std::uint64_t iReads = 0;
    std::vector<event*> oEvents;
    const timeval oHour = {3600, 0};
    for (int i = 0; i < oState.range(0); ++i) {
        oEvents.push_back(evtimer_new(pBase, countCallback, &iTimers));
        evtimer_add(oEvents.back(), &oHour);
    }
    cReadyPipe oPipe;
    event* pReader = event_new(pBase, oPipe.miFds[0], EV_READ | EV_PERSIST, countCallback, &iReads);
    event_add(pReader, nullptr);
    for (auto _ : oState)
        event_base_loop(pBase, EVLOOP_ONCE | EVLOOP_NONBLOCK);
    if (iReads != std::uint64_t(oState.iterations()) || iTimers != 0)
        oState.SkipWithError("wrong events ran");
    event_free(pReader);
    for (event* pEvent : oEvents)
        event_free(pEvent);
    event_base_free(pBase);
}
BENCHMARK(BM_LibeventLoopTurn)->Arg(1)->Arg(100)->Arg(1000)->Arg(10000);

#endif

} // namespace
