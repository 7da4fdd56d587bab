// array_append_bench.cpp - tArray<char> grown one element and one window at a time,
// against std::vector<char>.
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

/// Appends a 16-byte window onto a source array until kElements bytes are in: the
/// proxy path of tArray::append, growing as it goes.
void arrayAppendWindow(benchmark::State& oState)
{
    qstd::tArray<char> oSource("0123456789abcdef", 16);
    qstd::tConstArrayRef<char> oWindow(oSource);
    for (auto _ : oState) {
        qstd::tArray<char> oArray;
        for (unsigned i = 0; i < kElements / 16; ++i)
            oArray.append(oWindow);
        benchmark::DoNotOptimize(oArray.data(true));
        benchmark::ClobberMemory();
    }
    oState.SetItemsProcessed(std::int64_t(oState.iterations()) * kElements);
}

void stdVectorInsertRange(benchmark::State& oState)
{
    const std::vector<char> oSource{'0', '1', '2', '3', '4', '5', '6', '7',
                                    '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};
    for (auto _ : oState) {
        std::vector<char> oVector;
        for (unsigned i = 0; i < kElements / 16; ++i)
            oVector.insert(oVector.end(), oSource.begin(), oSource.end());
        benchmark::DoNotOptimize(oVector.data());
        benchmark::ClobberMemory();
    }
    oState.SetItemsProcessed(std::int64_t(oState.iterations()) * kElements);
}

} // namespace

BENCHMARK(arrayAppend)->Name("AppendByte/qstd::tArray<char>")->Unit(benchmark::kMillisecond);
BENCHMARK(stdVectorPushBack)->Name("AppendByte/std::vector<char>")->Unit(benchmark::kMillisecond);
BENCHMARK(arrayAppendWindow)
    ->Name("AppendWindow/qstd::tArray<char>")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(stdVectorInsertRange)
    ->Name("AppendWindow/std::vector<char>")
    ->Unit(benchmark::kMillisecond);
