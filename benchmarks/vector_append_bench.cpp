// vector_append_bench.cpp - tVector<int> grown one element at a time, against a
// std::vector of separately allocated ints.
// SPDX-License-Identifier: MIT
#include "qor_core/qor_core.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

const unsigned kElements = 1000000;

// tVector allocates every element on its own and deletes them when it is
// destroyed. The standard side does the same by hand: one new per element and one
// delete per element before the vector goes, all inside the timed iteration.
void vectorAppend(benchmark::State& oState)
{
    for (auto _ : oState) {
        qstd::tVector<int> oVector;
        for (unsigned i = 0; i < kElements; ++i)
            oVector.append(int(i));
        benchmark::DoNotOptimize(&oVector[kElements - 1]);
        benchmark::ClobberMemory();
    }
    oState.SetItemsProcessed(std::int64_t(oState.iterations()) * kElements);
}

void stdVectorOfPointersPushBack(benchmark::State& oState)
{
    for (auto _ : oState) {
        std::vector<int*> oVector;
        for (unsigned i = 0; i < kElements; ++i)
            oVector.push_back(new int(int(i)));
        benchmark::DoNotOptimize(oVector.back());
        benchmark::ClobberMemory();
        // tVector releases from the last element to the first; do the same.
        for (auto it = oVector.rbegin(); it != oVector.rend(); ++it)
            delete *it;
    }
    oState.SetItemsProcessed(std::int64_t(oState.iterations()) * kElements);
}

} // namespace

BENCHMARK(vectorAppend)->Name("AppendInt/qstd::tVector<int>")->Unit(benchmark::kMillisecond);
BENCHMARK(stdVectorOfPointersPushBack)
    ->Name("AppendInt/std::vector<int*>+new")
    ->Unit(benchmark::kMillisecond);
