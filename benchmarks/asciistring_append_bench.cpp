// asciistring_append_bench.cpp - cAsciiString grown one character at a time, against std::string.
// SPDX-License-Identifier: MIT
#include "qor_core/qor_core.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace {

const unsigned kCharacters = 1000000;

// Each iteration builds the string from empty and destroys it, so that every
// reallocation on the way to a million characters is part of the time.
void asciiStringAppend(benchmark::State& oState)
{
    for (auto _ : oState) {
        qstd::cAsciiString sText;
        for (unsigned i = 0; i < kCharacters; ++i)
            sText += char('a' + (i & 15));
        benchmark::DoNotOptimize(sText.c_str());
        benchmark::ClobberMemory();
    }
    oState.SetItemsProcessed(std::int64_t(oState.iterations()) * kCharacters);
}

void stdStringPushBack(benchmark::State& oState)
{
    for (auto _ : oState) {
        std::string sText;
        for (unsigned i = 0; i < kCharacters; ++i)
            sText.push_back(char('a' + (i & 15)));
        benchmark::DoNotOptimize(sText.c_str());
        benchmark::ClobberMemory();
    }
    oState.SetItemsProcessed(std::int64_t(oState.iterations()) * kCharacters);
}

} // namespace

BENCHMARK(asciiStringAppend)->Name("AppendChar/qstd::cAsciiString")->Unit(benchmark::kMillisecond);
BENCHMARK(stdStringPushBack)->Name("AppendChar/std::string")->Unit(benchmark::kMillisecond);
