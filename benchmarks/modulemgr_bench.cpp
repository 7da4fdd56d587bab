// modulemgr_bench.cpp - the module manager with 1000 components: registering and
// announcing them, matching 1000 interface dependencies against them, and finding a
// component by address (and, for contrast, by location).
// SPDX-License-Identifier: MIT
#include "qor_core/qcs/modulemgr_p.h"
#include "qor_core/qor_core.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

// Register: per iteration 1000 components with one interface each are added to a
// fresh manager and one management pass announces them; creating the components
// and destroying the manager are not timed. Match: 1000 providers, each with an
// interface of its own name, are registered and announced beforehand; 1000 client
// components with one first-best dependency each (client i wants provider i's
// interface) are added, and the timed pass announces them, which recalculates every
// dependency against every component. Find: one look-up among 1000 components.
//
// Passes are run by calling the management work's action directly, so the work
// queue's own bookkeeping is not part of the figures. Dependencies write a debug
// line when they are added and recalculated; the static initialiser below filters
// those lines out (unless PIDBG_FILTER is already set) so that the figures are not
// those of standard error.

namespace {

const int kComponents = 1000;

[[maybe_unused]] const bool sbFilterSet = ::setenv("PIDBG_FILTER", "abstractcomponent", 0) == 0;

const qcs::cInterfaceDesc::InterfaceType Provided = qcs::cInterfaceDesc::Provided;
const qcs::cInterfaceDesc::InterfaceType Required = qcs::cInterfaceDesc::Required;

std::string serviceName(int i)
{
    return "Service" + std::to_string(i);
}

class cService : public qcs::cAbstractInterface
{
public:
    explicit cService(const std::string& sName)
        : qcs::cAbstractInterface(qcs::cInterfaceDesc(Provided, sName.c_str(), "bench", 1, ""))
    {
    }
    void attach(qcs::cAbstractInterface&) override {}
    void detach() override {}
};

class cProvider : public qcs::cAbstractComponent
{
public:
    cProvider(qcs::cModuleMgr& oManager, int i) : qcs::cAbstractComponent(oManager)
    {
        addInterface(qstd::tAutoPtr<qcs::cAbstractInterface>(new cService(serviceName(i))));
    }
};

class cClient : public qcs::cAbstractComponent
{
public:
    cClient(qcs::cModuleMgr& oManager, int i)
        : qcs::cAbstractComponent(oManager),
          moDependency(*this, qcs::cInterfaceDesc(Required, serviceName(i).c_str(), "", 0, ""),
                       nullptr, qcs::cInterfaceDep::saUseFirstBest)
    {
    }
    qcs::cInterfaceDep moDependency;
};

void pass(qcs::cModuleMgr& oManager)
{
    oManager.impl().mngSltProcessComponentManagement();
}

void BM_RegisterAndAnnounce(benchmark::State& oState)
{
    qce::cCoreExtensionMgr oExtensions;
    for (auto _ : oState) {
        oState.PauseTiming();
        std::unique_ptr<qcs::cModuleMgr> pManager(new qcs::cModuleMgr(oExtensions));
        std::vector<qcs::cAbstractComponent*> oComponents;
        for (int i = 0; i < kComponents; ++i)
            oComponents.push_back(new cProvider(*pManager, i));
        oState.ResumeTiming();
        for (qcs::cAbstractComponent* p : oComponents)
            pManager->addComponent(qstd::tAutoPtr<qcs::cAbstractComponent>(p),
                                   qcs::cComponentAddr());
        pass(*pManager);
        oState.PauseTiming();
        if (!oComponents.back()->announced())
            oState.SkipWithError("not announced");
        pManager.reset();
        oState.ResumeTiming();
    }
    oState.SetItemsProcessed(oState.iterations() * kComponents);
}
BENCHMARK(BM_RegisterAndAnnounce)->Unit(benchmark::kMicrosecond);

void BM_MatchDependencies(benchmark::State& oState)
{
    qce::cCoreExtensionMgr oExtensions;
    for (auto _ : oState) {
        oState.PauseTiming();
        std::unique_ptr<qcs::cModuleMgr> pManager(new qcs::cModuleMgr(oExtensions));
        for (int i = 0; i < kComponents; ++i)
            pManager->addComponent(
                qstd::tAutoPtr<qcs::cAbstractComponent>(new cProvider(*pManager, i)),
                qcs::cComponentAddr());
        pass(*pManager);
        std::vector<cClient*> oClients;
        for (int i = 0; i < kComponents; ++i) {
            oClients.push_back(new cClient(*pManager, i));
            pManager->addComponent(qstd::tAutoPtr<qcs::cAbstractComponent>(oClients.back()),
                                   qcs::cComponentAddr());
        }
        oState.ResumeTiming();
        pass(*pManager);
        oState.PauseTiming();
        for (cClient* p : oClients)
            if (!p->moDependency.matched())
                oState.SkipWithError("not matched");
        pManager.reset();
        oState.ResumeTiming();
    }
    oState.SetItemsProcessed(oState.iterations() * kComponents);
}
BENCHMARK(BM_MatchDependencies)->Unit(benchmark::kMicrosecond);

/// A manager with 1000 announced components and their addresses and locations.
struct cLookupSetup
{
    cLookupSetup() : moManager(moExtensions)
    {
        for (int i = 0; i < kComponents; ++i) {
            qcs::cAbstractComponent& c = moManager.addComponent(
                qstd::tAutoPtr<qcs::cAbstractComponent>(new cProvider(moManager, i)),
                qcs::cComponentAddr());
            moAddresses.push_back(c.address());
            moLocations.push_back(c.location());
        }
        pass(moManager);
    }
    qce::cCoreExtensionMgr moExtensions;
    qcs::cModuleMgr moManager;
    std::vector<qcs::cComponentAddr> moAddresses;
    std::vector<qcs::cComponentLocation> moLocations;
};

void BM_FindByAddress(benchmark::State& oState)
{
    cLookupSetup oSetup;
    unsigned i = 0;
    for (auto _ : oState) {
        // A stride through all of them, so no single path stays warm.
        i = (i + 397) % kComponents;
        benchmark::DoNotOptimize(&oSetup.moManager.findComponent(oSetup.moAddresses[i]));
    }
}
BENCHMARK(BM_FindByAddress);

void BM_FindByLocation(benchmark::State& oState)
{
    cLookupSetup oSetup;
    unsigned i = 0;
    for (auto _ : oState) {
        i = (i + 397) % kComponents;
        benchmark::DoNotOptimize(&oSetup.moManager.findComponent(oSetup.moLocations[i]));
    }
}
BENCHMARK(BM_FindByLocation);

} // namespace
