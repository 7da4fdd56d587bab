// signal_bench.cpp - emission of a local signal, against plain virtual calls and libsigc++.
// SPDX-License-Identifier: MIT
#include "qor_core/qor_core.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#ifdef QOR_BENCH_WITH_SIGC
#include <sigc++/sigc++.h>
#endif

// Every benchmark here times one emission (or one round of calls) per iteration, so
// the reported time is the cost of notifying all receivers once. Each receiver's
// slot only increments its own counter; the counters are read after the loop so the
// calls cannot be dropped.

namespace {

class cTickReceiver : public qrmi::cConnectable
{
public:
    piVoid sltTick()
    {
        ++miTicks;
        return piVoid();
    }
    std::uint64_t ticks() const { return miTicks; }

private:
    std::uint64_t miTicks = 0;
};

std::uint64_t sumTicks(const std::vector<std::unique_ptr<cTickReceiver>>& oReceivers)
{
    std::uint64_t iSum = 0;
    for (const auto& pReceiver : oReceivers)
        iSum += pReceiver->ticks();
    return iSum;
}

void localSignalEmit(benchmark::State& oState)
{
    const unsigned iSlots = unsigned(oState.range(0));
    std::vector<std::unique_ptr<cTickReceiver>> oReceivers;
    for (unsigned i = 0; i < iSlots; ++i)
        oReceivers.push_back(std::make_unique<cTickReceiver>());
    {
        qrmi::localSignal0<piVoid> oSignal(qrmi::cAbstractSignal::IgnoreWhenUnconnected);
        for (auto& pReceiver : oReceivers)
            oSignal.connect(*pReceiver, &cTickReceiver::sltTick);
        for (auto _ : oState) {
            oSignal();
            benchmark::ClobberMemory();
        }
    }
    std::uint64_t iTicks = sumTicks(oReceivers);
    benchmark::DoNotOptimize(iTicks);
    if (iTicks != std::uint64_t(oState.iterations()) * iSlots)
        oState.SkipWithError("slot calls were lost");
    oState.SetItemsProcessed(std::int64_t(oState.iterations()) * iSlots);
}

// The floor: what notifying the same number of objects costs without any signal,
// one virtual call each. Two derived types and opaque pointers keep the compiler
// from turning the calls into direct ones.
class cAbstractTicker
{
public:
    virtual ~cAbstractTicker() {}
    virtual void tick() = 0;
    std::uint64_t miTicks = 0;
};

class cForwardTicker : public cAbstractTicker
{
public:
    void tick() override { ++miTicks; }
};

class cDoubleTicker : public cAbstractTicker
{
public:
    void tick() override { miTicks += 2; }
};

void virtualCallLoop(benchmark::State& oState)
{
    const unsigned iObjects = unsigned(oState.range(0));
    std::vector<std::unique_ptr<cAbstractTicker>> oObjects;
    for (unsigned i = 0; i < iObjects; ++i) {
        if (i & 1)
            oObjects.push_back(std::make_unique<cDoubleTicker>());
        else
            oObjects.push_back(std::make_unique<cForwardTicker>());
    }
    std::vector<cAbstractTicker*> oPointers;
    for (auto& pObject : oObjects)
        oPointers.push_back(pObject.get());
    cAbstractTicker** pBegin = oPointers.data();
    for (auto _ : oState) {
        benchmark::DoNotOptimize(pBegin);
        for (unsigned i = 0; i < iObjects; ++i) {
            cAbstractTicker* pObject = pBegin[i];
            benchmark::DoNotOptimize(pObject);
            pObject->tick();
        }
        benchmark::ClobberMemory();
    }
    std::uint64_t iTicks = 0;
    for (auto& pObject : oObjects)
        iTicks += pObject->miTicks;
    benchmark::DoNotOptimize(iTicks);
    oState.SetItemsProcessed(std::int64_t(oState.iterations()) * iObjects);
}

#ifdef QOR_BENCH_WITH_SIGC
// The receivers are trackable, as they are in real use: a destroyed receiver
// disconnects itself, which is what cConnectable provides for the local signal.
class cSigcReceiver : public sigc::trackable
{
public:
    void onTick() { ++miTicks; }
    std::uint64_t ticks() const { return miTicks; }

private:
    std::uint64_t miTicks = 0;
};

void sigcSignalEmit(benchmark::State& oState)
{
    const unsigned iSlots = unsigned(oState.range(0));
    std::vector<std::unique_ptr<cSigcReceiver>> oReceivers;
    for (unsigned i = 0; i < iSlots; ++i)
        oReceivers.push_back(std::make_unique<cSigcReceiver>());
    {
        sigc::signal<void()> oSignal;
        for (auto& pReceiver : oReceivers)
            oSignal.connect(sigc::mem_fun(*pReceiver, &cSigcReceiver::onTick));
        for (auto _ : oState) {
            oSignal();
            benchmark::ClobberMemory();
        }
    }
    std::uint64_t iTicks = 0;
    for (auto& pReceiver : oReceivers)
        iTicks += pReceiver->ticks();
    benchmark::DoNotOptimize(iTicks);
    if (iTicks != std::uint64_t(oState.iterations()) * iSlots)
        oState.SkipWithError("slot calls were lost");
    oState.SetItemsProcessed(std::int64_t(oState.iterations()) * iSlots);
}
#endif

} // namespace

BENCHMARK(localSignalEmit)->Name("Emit/qrmi::localSignal0")->Arg(0)->Arg(1)->Arg(8);
#ifdef QOR_BENCH_WITH_SIGC
BENCHMARK(sigcSignalEmit)->Name("Emit/sigc::signal")->Arg(0)->Arg(1)->Arg(8);
#endif
BENCHMARK(virtualCallLoop)->Name("Emit/VirtualCallLoop")->Arg(1)->Arg(8);
