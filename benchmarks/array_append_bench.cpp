// array_append_bench.cpp - tArray<char> grown one element at a time, against std::vector<char>.
// SPDX-License-Identifier: MIT
#include "qor_core/qor_core.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

const unsigned kElements = 1000000;

// Each iteration starts from an empty container and frees it at the end, so that
// all growth steps and the final release are timed on both sides.
void arrayAppend(benchmark::State& oState)
{
    for (auto _ : oState) {
        qstd::tArray<char> oArray;
        for (unsigned i = 0; i < kElements; ++i)
            oArray.append(char(i));
        benchmark::DoNotOptimize(oArray.data(true));
        benchmark::ClobberMemory();
    }
    oState.SetItemsProcessed(std::int64_t(oState.iterations()) * kElements);
}

void stdVectorPushBack(benchmark::State& oState)
{
    for (auto _ : oState) {
        std::vector<char> oVector;
        for (unsigned i = 0; i < kElements; ++i)
            oVector.push_back(char(i));
        benchmark::DoNotOptimize(oVector.data());
        benchmark::ClobberMemory();
    }
    oState.SetItemsProcessed(std::int64_t(oState.iterations()) * kElements);
}

} // namespace

BENCHMARK(arrayAppend)->Name("AppendByte/qstd::tArray<char>")->Unit(benchmark::kMillisecond);
BENCHMARK(stdVectorPushBack)->Name("AppendByte/std::vector<char>")->Unit(benchmark::kMillisecond);
