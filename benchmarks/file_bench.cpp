// file_bench.cpp - qio::cFile against the system's own calls: sequential reads of a
// 64 MiB file in 64 KiB blocks (against read(2)), sequential writes of 64 MiB in
// 4 KiB blocks (against fwrite with stdio buffering), and summing every byte through
// the array view (against a loop over an mmap'ed copy).
// SPDX-License-Identifier: MIT
#include "qor_core/qor_core.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

const unsigned kFileSize = 64u << 20;

/// A 64 MiB file of varied bytes in the temporary directory, made once per run.
const std::string& sourceFile()
{
    static std::string sPath;
    if (sPath.empty()) {
        const char* pDir = std::getenv("TMPDIR");
        sPath = std::string(pDir ? pDir : "/tmp") + "/qor_file_bench_" + std::to_string(getpid());
        std::vector<char> oData(kFileSize);
        for (unsigned i = 0; i < kFileSize; ++i)
            oData[i] = char(i * 2654435761u >> 24);
        std::FILE* pFile = std::fopen(sPath.c_str(), "wb");
        std::fwrite(oData.data(), 1, oData.size(), pFile);
        std::fclose(pFile);
        std::atexit([] { unlink(sPath.c_str()); });
    }
    return sPath;
}

std::string targetFile()
{
    return sourceFile() + ".out";
}

void cFileRead64K(benchmark::State& oState)
{
    qucs::cString sPath(sourceFile().c_str());
    std::vector<char> oBuffer(65536);
    for (auto _ : oState) {
        qio::cFile oFile(sPath, qio::ReadOnly);
        unsigned long long iTotal = 0;
        while (unsigned long long iRead = oFile.read(oBuffer.data(), oBuffer.size()))
            iTotal += iRead;
        benchmark::DoNotOptimize(iTotal);
    }
    oState.SetBytesProcessed(std::int64_t(oState.iterations()) * kFileSize);
}

void posixRead64K(benchmark::State& oState)
{
    std::vector<char> oBuffer(65536);
    for (auto _ : oState) {
        int iFd = open(sourceFile().c_str(), O_RDONLY);
        unsigned long long iTotal = 0;
        ssize_t iRead;
        while ((iRead = read(iFd, oBuffer.data(), oBuffer.size())) > 0)
            iTotal += iRead;
        close(iFd);
        benchmark::DoNotOptimize(iTotal);
    }
    oState.SetBytesProcessed(std::int64_t(oState.iterations()) * kFileSize);
}

void cFileWrite4K(benchmark::State& oState)
{
    qucs::cString sPath(targetFile().c_str());
    std::vector<char> oBlock(4096, 'w');
    for (auto _ : oState) {
        qio::cFile oFile(sPath, qio::WriteOnly, qio::CreateIfMissing, qio::Truncate);
        for (unsigned i = 0; i < kFileSize / 4096; ++i)
            oFile.write(oBlock.data(), oBlock.size());
        oFile.close();
    }
    unlink(targetFile().c_str());
    oState.SetBytesProcessed(std::int64_t(oState.iterations()) * kFileSize);
}

void stdioWrite4K(benchmark::State& oState)
{
    std::vector<char> oBlock(4096, 'w');
    for (auto _ : oState) {
        std::FILE* pFile = std::fopen(targetFile().c_str(), "wb");
        for (unsigned i = 0; i < kFileSize / 4096; ++i)
            std::fwrite(oBlock.data(), 1, oBlock.size(), pFile);
        std::fclose(pFile);
    }
    unlink(targetFile().c_str());
    oState.SetBytesProcessed(std::int64_t(oState.iterations()) * kFileSize);
}

void cFileArrayViewSum(benchmark::State& oState)
{
    qucs::cString sPath(sourceFile().c_str());
    for (auto _ : oState) {
        qio::cFile oFile(sPath, qio::ReadOnly);
        qstd::tConstArrayRef<char> oView(oFile);
        unsigned iSum = 0;
        const unsigned iLength = oView.length();
        for (unsigned i = 0; i < iLength; ++i)
            iSum += (unsigned char)oView[i];
        benchmark::DoNotOptimize(iSum);
    }
    oState.SetBytesProcessed(std::int64_t(oState.iterations()) * kFileSize);
}

void mmapSum(benchmark::State& oState)
{
    for (auto _ : oState) {
        int iFd = open(sourceFile().c_str(), O_RDONLY);
        const unsigned char* pData = static_cast<const unsigned char*>(
            mmap(nullptr, kFileSize, PROT_READ, MAP_SHARED, iFd, 0));
        unsigned iSum = 0;
        for (unsigned i = 0; i < kFileSize; ++i)
            iSum += pData[i];
        benchmark::DoNotOptimize(iSum);
        munmap(const_cast<unsigned char*>(pData), kFileSize);
        close(iFd);
    }
    oState.SetBytesProcessed(std::int64_t(oState.iterations()) * kFileSize);
}

} // namespace

BENCHMARK(cFileRead64K)->Unit(benchmark::kMillisecond);
BENCHMARK(posixRead64K)->Unit(benchmark::kMillisecond);
BENCHMARK(cFileWrite4K)->Unit(benchmark::kMillisecond);
BENCHMARK(stdioWrite4K)->Unit(benchmark::kMillisecond);
BENCHMARK(cFileArrayViewSum)->Unit(benchmark::kMillisecond);
BENCHMARK(mmapSum)->Unit(benchmark::kMillisecond);
