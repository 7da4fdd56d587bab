// tokenizer_bench.cpp - the 8-bit tokenizer on paths and on text built to be slow.
// SPDX-License-Identifier: MIT
#include "qor_core/qor_core.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace {

/// A path of 24 segments mixing names, "./" and "../", tokenized with the keys a
/// path normaliser registers: the everyday use, where a tokenizer lives for a short
/// text.
void pathTokens(benchmark::State& oState)
{
    qstd::cAsciiStringTokenizerContext oContext;
    oContext.addKey("../", 1);
    oContext.addKey("./", 2);
    oContext.addKey("/", 3);
    std::string sPath;
    for (unsigned i = 0; i < 24; ++i)
        sPath += i % 5 == 3 ? "../" : i % 7 == 2 ? "./" : "segment" + std::to_string(i) + "/";
    qstd::cAsciiString sText(sPath.c_str());
    std::int64_t iTokens = 0;
    for (auto _ : oState) {
        qstd::cAsciiStringTokenizer oTokenizer(sText, oContext);
        qstd::cAsciiStringTokenizer::tToken oToken;
        while (oTokenizer.getNext(oToken))
            ++iTokens;
        benchmark::DoNotOptimize(oToken.length());
    }
    oState.SetItemsProcessed(iTokens);
}

/// range(0) bytes of "a " with a key "a=" that never occurs registered first: its
/// first byte is everywhere, so a tokenizer that searched the rest of the text for
/// it on every call would take time quadratic in the length.
void hostileKeyTokens(benchmark::State& oState)
{
    const unsigned iBytes = unsigned(oState.range(0));
    qstd::cAsciiStringTokenizerContext oContext;
    oContext.addKey("a=", 1);
    oContext.addSeparator(" ");
    qstd::cAsciiString sText;
    for (unsigned i = 0; i < iBytes / 2; ++i)
        sText += "a ";
    for (auto _ : oState) {
        qstd::cAsciiStringTokenizer oTokenizer(sText, oContext);
        qstd::cAsciiStringTokenizer::tToken oToken;
        unsigned iTokens = 0;
        while (oTokenizer.getNext(oToken))
            ++iTokens;
        benchmark::DoNotOptimize(iTokens);
    }
    oState.SetBytesProcessed(std::int64_t(oState.iterations()) * iBytes);
    oState.SetComplexityN(iBytes);
}

} // namespace

BENCHMARK(pathTokens)->Name("Tokenizer/Path");
BENCHMARK(hostileKeyTokens)
    ->Name("Tokenizer/HostileKey")
    ->RangeMultiplier(2)
    ->Range(1 << 14, 1 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
