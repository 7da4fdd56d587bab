// limessage_bench.cpp - rendering translatable messages: a typical one, and ones
// with as many placeholders as a message from another process may carry.
// SPDX-License-Identifier: MIT
#include "qor_core/qor_core.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace {

/// The message of a failed file operation: three placeholders.
void typicalMessage(benchmark::State& oState)
{
    qucs::cLIMessage oMessage;
    oMessage << "$MTR$OS-Error while trying operation \"%operation%\" on file \"%file%\" (%code%)!"
             << "open"
             << "/var/lib/qor/settings.bin" << 13;
    for (auto _ : oState) {
        qucs::cString sText;
        oMessage.untranslated(sText);
        benchmark::DoNotOptimize(sText.data(true));
    }
    oState.SetItemsProcessed(oState.iterations());
}

/// A key of range(0) distinct placeholders, each bound once: a look-up that scans
/// every argument, or moving the rest of the text for each placeholder, would take
/// time quadratic in their number.
void manyPlaceholders(benchmark::State& oState)
{
    const unsigned iCount = unsigned(oState.range(0));
    std::string sKey;
    for (unsigned i = 0; i < iCount; ++i)
        sKey += "%p" + std::to_string(i) + "% ";
    qucs::cLIMessage oMessage;
    oMessage << sKey.c_str();
    for (unsigned i = 0; i < iCount; ++i)
        oMessage << std::to_string(iCount - i).c_str();
    for (auto _ : oState) {
        qucs::cString sText;
        oMessage.untranslated(sText);
        benchmark::DoNotOptimize(sText.data(true));
    }
    oState.SetItemsProcessed(std::int64_t(oState.iterations()) * iCount);
    oState.SetComplexityN(iCount);
}

} // namespace

BENCHMARK(typicalMessage)->Name("LIMessage/Render/Typical");
BENCHMARK(manyPlaceholders)
    ->Name("LIMessage/Render/Placeholders")
    ->RangeMultiplier(2)
    ->Range(1 << 10, 1 << 17)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
