// translation_bench.cpp - translating messages through a table of 10,000 keys
// (against a std::unordered_map lookup of the same keys), through a chain of three
// locales where only the last one knows the key, and loading a 10,000-entry
// translation file.
// SPDX-License-Identifier: MIT
#include "qor_core/qor_core.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace {

const unsigned kKeys = 10000;

/// Keys of message shapes: "$MTR$", words, a placeholder, 10 to 80 characters.
const std::vector<std::string>& keys()
{
    static std::vector<std::string> oKeys;
    if (oKeys.empty()) {
        static const char* const kWords[] = {"Unable", "to",     "open",  "file",  "read",
                                             "the",    "device", "while", "value", "is",
                                             "out",    "range",  "of",    "error", "socket"};
        unsigned iSeed = 12345;
        for (unsigned i = 0; i < kKeys; ++i) {
            iSeed = iSeed * 1103515245u + 12345u;
            unsigned iLength = 10 + (iSeed >> 8) % 71;
            std::string sKey = "$MTR$" + std::to_string(i);
            while (sKey.size() < iLength) {
                iSeed = iSeed * 1103515245u + 12345u;
                sKey += ' ';
                sKey += (iSeed >> 16) % 5 == 0 ? "%value%" : kWords[(iSeed >> 8) % 15];
            }
            sKey.resize(iLength);
            oKeys.push_back(sKey);
        }
    }
    return oKeys;
}

void fill(qucs::cLITrTable& oTable)
{
    for (const std::string& sKey : keys())
        oTable.addTranslation(sKey.c_str(), qucs::cString(("T " + sKey).c_str()));
}

/// Messages of every 97th key, each with one argument, built once.
std::vector<qucs::cLIMessage> messages()
{
    std::vector<qucs::cLIMessage> oMessages;
    for (unsigned i = 0; i < kKeys; i += 97) {
        qucs::cLIMessage oMessage(qstd::cAsciiString(keys()[i].c_str()));
        oMessage << 42;
        oMessages.push_back(oMessage);
    }
    return oMessages;
}

void BM_TableLookup(benchmark::State& oState)
{
    qucs::cLITrTable oTable;
    fill(oTable);
    std::vector<qstd::cAsciiString> oProbe;
    for (unsigned i = 0; i < kKeys; i += 7)
        oProbe.push_back(keys()[i].c_str());
    std::size_t i = 0;
    for (auto _ : oState) {
        benchmark::DoNotOptimize(oTable.hasTranslation(oProbe[i]));
        i = i + 1 == oProbe.size() ? 0 : i + 1;
    }
}
BENCHMARK(BM_TableLookup);

void BM_StdUnorderedMapLookup(benchmark::State& oState)
{
    std::unordered_map<std::string, std::u32string> oMap;
    for (const std::string& sKey : keys())
        oMap.emplace(sKey, std::u32string(sKey.begin(), sKey.end()));
    std::vector<std::string> oProbe;
    for (unsigned i = 0; i < kKeys; i += 7)
        oProbe.push_back(keys()[i]);
    std::size_t i = 0;
    for (auto _ : oState) {
        benchmark::DoNotOptimize(oMap.find(oProbe[i]));
        i = i + 1 == oProbe.size() ? 0 : i + 1;
    }
}
BENCHMARK(BM_StdUnorderedMapLookup);

void BM_TranslateMessage(benchmark::State& oState)
{
    qucs::cLILocale oLocale;
    fill(oLocale.translator());
    std::vector<qucs::cLIMessage> oMessages = messages();
    qucs::cString sResult;
    std::size_t i = 0;
    for (auto _ : oState) {
        oLocale.translate(oMessages[i], sResult);
        benchmark::DoNotOptimize(sResult.data());
        i = i + 1 == oMessages.size() ? 0 : i + 1;
    }
}
BENCHMARK(BM_TranslateMessage);

void BM_TranslateThroughChainOfThree(benchmark::State& oState)
{
    qucs::cLILocale oRoot, oMiddle, oChild;
    fill(oRoot.translator());
    for (unsigned i = 0; i < kKeys; ++i) {
        std::string sOther = keys()[i] + "x";
        oMiddle.translator().addTranslation(sOther.c_str(), qucs::cString("m"));
        oChild.translator().addTranslation(sOther.c_str(), qucs::cString("c"));
    }
    oMiddle.link(&oRoot);
    oChild.link(&oMiddle);
    std::vector<qucs::cLIMessage> oMessages = messages();
    qucs::cString sResult;
    std::size_t i = 0;
    for (auto _ : oState) {
        oChild.translate(oMessages[i], sResult);
        benchmark::DoNotOptimize(sResult.data());
        i = i + 1 == oMessages.size() ? 0 : i + 1;
    }
}
BENCHMARK(BM_TranslateThroughChainOfThree);

void BM_LoadTranslationFile(benchmark::State& oState)
{
    const char* pDir = std::getenv("TMPDIR");
    std::string sPath =
        std::string(pDir ? pDir : "/tmp") + "/qor_translation_bench_" + std::to_string(getpid());
    std::FILE* pFile = std::fopen(sPath.c_str(), "wb");
    std::fprintf(pFile, "// benchmark\nName = \"Bench\"\n");
    for (const std::string& sKey : keys())
        std::fprintf(pFile, "\"%s\" = \"Translated: %s\"\n", sKey.c_str() + 5, sKey.c_str() + 5);
    std::fclose(pFile);
    qucs::cLILocale oLocale;
    for (auto _ : oState)
        oLocale.loadFromFile(qucs::cString(sPath.c_str()));
    unlink(sPath.c_str());
    oState.counters["entries"] = double(oLocale.translator().count());
}
BENCHMARK(BM_LoadTranslationFile)->Unit(benchmark::kMillisecond);

} // namespace
