// utf8_bench.cpp - UTF-8 decoding and encoding of cEnDecUTF8, against glibc's iconv.
// SPDX-License-Identifier: MIT
#include "qor_core/qor_core.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <memory>
#include <vector>

namespace {

const unsigned kTextBytes = 1u << 20;

/// Mixed text of exactly kTextBytes UTF-8 bytes: 70% of the characters printable
/// ASCII, the rest split evenly between 2-, 3- and 4-byte sequences. The same
/// xorshift seed gives the same text on every run and every machine. No zero byte
/// and no surrogate (D800..DFFF) is ever produced, so every converter accepts all of it.
struct tMixedText
{
    std::vector<char> oBytes;
    std::vector<unsigned> oCodePoints;
};

unsigned appendUTF8(unsigned iChar, std::vector<char>& oOut)
{
    if (iChar < 0x80) {
        oOut.push_back(char(iChar));
        return 1;
    }
    if (iChar < 0x800) {
        oOut.push_back(char(0xC0 | (iChar >> 6)));
        oOut.push_back(char(0x80 | (iChar & 0x3F)));
        return 2;
    }
    if (iChar < 0x10000) {
        oOut.push_back(char(0xE0 | (iChar >> 12)));
        oOut.push_back(char(0x80 | ((iChar >> 6) & 0x3F)));
        oOut.push_back(char(0x80 | (iChar & 0x3F)));
        return 3;
    }
    oOut.push_back(char(0xF0 | (iChar >> 18)));
    oOut.push_back(char(0x80 | ((iChar >> 12) & 0x3F)));
    oOut.push_back(char(0x80 | ((iChar >> 6) & 0x3F)));
    oOut.push_back(char(0x80 | (iChar & 0x3F)));
    return 4;
}

const tMixedText& mixedText()
{
    static const tMixedText oText = [] {
        tMixedText oNew;
        oNew.oBytes.reserve(kTextBytes);
        std::uint64_t iState = 0x9E3779B97F4A7C15ull;
        auto next = [&iState](unsigned iRange) {
            iState ^= iState << 13;
            iState ^= iState >> 7;
            iState ^= iState << 17;
            return unsigned((iState >> 16) % iRange);
        };
        while (oNew.oBytes.size() < kTextBytes) {
            unsigned iRoom = unsigned(kTextBytes - oNew.oBytes.size());
            unsigned iDraw = next(100);
            unsigned iChar;
            if (iDraw < 70 || iRoom < 4) {
                iChar = 0x20 + next(0x7F - 0x20);
            } else if (iDraw < 80) {
                iChar = 0x80 + next(0x800 - 0x80);
            } else if (iDraw < 90) {
                do
                    iChar = 0x800 + next(0x10000 - 0x800);
                while (iChar >= 0xD800 && iChar <= 0xDFFF);
            } else {
                iChar = 0x10000 + next(0x110000 - 0x10000);
            }
            appendUTF8(iChar, oNew.oBytes);
            oNew.oCodePoints.push_back(iChar);
        }
        return oNew;
    }();
    return oText;
}

qstd::tArray<char> textAsArray()
{
    const tMixedText& oText = mixedText();
    return qstd::tArray<char>(oText.oBytes.data(), unsigned(oText.oBytes.size()));
}

qucs::cString textAsString()
{
    const tMixedText& oText = mixedText();
    qucs::cString sText;
    sText.append(oText.oCodePoints.data(), unsigned(oText.oCodePoints.size()));
    return sText;
}

/// Owns an iconv descriptor for one direction.
class cIconv
{
public:
    cIconv(const char* pTo, const char* pFrom) : mpDescriptor(iconv_open(pTo, pFrom)) {}
    ~cIconv()
    {
        if (isOpen())
            iconv_close(mpDescriptor);
    }
    cIconv(const cIconv&) = delete;
    cIconv& operator=(const cIconv&) = delete;

    bool isOpen() const { return mpDescriptor != iconv_t(-1); }

    /// Converts the whole input; returns the bytes written or -1 on any failure.
    long convert(const char* pIn, std::size_t iInBytes, char* pOut, std::size_t iOutBytes)
    {
        iconv(mpDescriptor, nullptr, nullptr, nullptr, nullptr); // back to the initial state
        char* pInCursor = const_cast<char*>(pIn);
        char* pOutCursor = pOut;
        std::size_t iOutLeft = iOutBytes;
        if (iconv(mpDescriptor, &pInCursor, &iInBytes, &pOutCursor, &iOutLeft) == std::size_t(-1) ||
            iInBytes != 0)
            return -1;
        return long(iOutBytes - iOutLeft);
    }

private:
    iconv_t mpDescriptor; // owned
};

// Both sides of every pair count the 1 MiB of UTF-8 as the bytes processed, so the
// decode and encode rates are directly comparable. With fresh:1 each iteration
// converts into a newly allocated output; with fresh:0 the output storage of the
// previous iteration is reused, which measures the conversion alone.

void decodeLibrary(benchmark::State& oState)
{
    const bool bFresh = oState.range(0) != 0;
    const qstd::tArray<char> oInput = textAsArray();
    const qucs::cEnDecUTF8 oEnDec;
    {
        qucs::cString sCheck;
        oEnDec.decode(qstd::tConstArrayRef<char>(oInput), sCheck);
        if (!sCheck.isEqual(mixedText().oCodePoints.data(),
                            unsigned(mixedText().oCodePoints.size()))) {
            oState.SkipWithError("decode result differs from the generated code points");
            return;
        }
    }
    qucs::cString sReused;
    sReused.setFitOnErase(false); // keep the pool when the next iteration empties it
    for (auto _ : oState) {
        if (bFresh) {
            qucs::cString sTarget;
            oEnDec.decode(qstd::tConstArrayRef<char>(oInput), sTarget);
            benchmark::DoNotOptimize(sTarget.data(true));
        } else {
            sReused.setSize(0);
            oEnDec.decode(qstd::tConstArrayRef<char>(oInput), sReused);
            benchmark::DoNotOptimize(sReused.data(true));
        }
        benchmark::ClobberMemory();
    }
    oState.SetBytesProcessed(std::int64_t(oState.iterations()) * oInput.length());
}

void decodeIconv(benchmark::State& oState)
{
    const bool bFresh = oState.range(0) != 0;
    const tMixedText& oText = mixedText();
    cIconv oIconv("UTF-32LE", "UTF-8");
    if (!oIconv.isOpen()) {
        oState.SkipWithError("iconv_open(\"UTF-32LE\", \"UTF-8\") failed");
        return;
    }
    // Room for one code point per input byte, as the library reserves.
    const std::size_t iOutBytes = oText.oBytes.size() * 4;
    std::unique_ptr<char[]> pReused(new char[iOutBytes]);
    long iWritten =
        oIconv.convert(oText.oBytes.data(), oText.oBytes.size(), pReused.get(), iOutBytes);
    if (iWritten != long(oText.oCodePoints.size() * 4) ||
        std::memcmp(pReused.get(), oText.oCodePoints.data(), std::size_t(iWritten)) != 0) {
        oState.SkipWithError("iconv result differs from the generated code points");
        return;
    }
    for (auto _ : oState) {
        std::unique_ptr<char[]> pFresh(bFresh ? new char[iOutBytes] : nullptr);
        char* pOut = bFresh ? pFresh.get() : pReused.get();
        iWritten = oIconv.convert(oText.oBytes.data(), oText.oBytes.size(), pOut, iOutBytes);
        benchmark::DoNotOptimize(iWritten);
        benchmark::DoNotOptimize(pOut);
        benchmark::ClobberMemory();
    }
    oState.SetBytesProcessed(std::int64_t(oState.iterations()) * std::int64_t(oText.oBytes.size()));
}

void encodeLibrary(benchmark::State& oState)
{
    const bool bFresh = oState.range(0) != 0;
    const qucs::cString sInput = textAsString();
    const qucs::cEnDecUTF8 oEnDec;
    {
        qstd::tArray<char> oCheck;
        oEnDec.encode(sInput, oCheck);
        if (!oCheck.isEqual(mixedText().oBytes.data(), unsigned(mixedText().oBytes.size()))) {
            oState.SkipWithError("encode result differs from the generated bytes");
            return;
        }
    }
    qstd::tArray<char> oReused;
    oReused.setFitOnErase(false);
    for (auto _ : oState) {
        if (bFresh) {
            qstd::tArray<char> oTarget;
            oEnDec.encode(sInput, oTarget);
            benchmark::DoNotOptimize(oTarget.data(true));
        } else {
            oReused.setSize(0);
            oEnDec.encode(sInput, oReused);
            benchmark::DoNotOptimize(oReused.data(true));
        }
        benchmark::ClobberMemory();
    }
    oState.SetBytesProcessed(std::int64_t(oState.iterations()) * kTextBytes);
}

void encodeIconv(benchmark::State& oState)
{
    const bool bFresh = oState.range(0) != 0;
    const tMixedText& oText = mixedText();
    cIconv oIconv("UTF-8", "UTF-32LE");
    if (!oIconv.isOpen()) {
        oState.SkipWithError("iconv_open(\"UTF-8\", \"UTF-32LE\") failed");
        return;
    }
    const char* pIn = reinterpret_cast<const char*>(oText.oCodePoints.data());
    const std::size_t iInBytes = oText.oCodePoints.size() * 4;
    // Up to four bytes per code point.
    const std::size_t iOutBytes = iInBytes;
    std::unique_ptr<char[]> pReused(new char[iOutBytes]);
    long iWritten = oIconv.convert(pIn, iInBytes, pReused.get(), iOutBytes);
    if (iWritten != long(oText.oBytes.size()) ||
        std::memcmp(pReused.get(), oText.oBytes.data(), std::size_t(iWritten)) != 0) {
        oState.SkipWithError("iconv result differs from the generated bytes");
        return;
    }
    for (auto _ : oState) {
        std::unique_ptr<char[]> pFresh(bFresh ? new char[iOutBytes] : nullptr);
        char* pOut = bFresh ? pFresh.get() : pReused.get();
        iWritten = oIconv.convert(pIn, iInBytes, pOut, iOutBytes);
        benchmark::DoNotOptimize(iWritten);
        benchmark::DoNotOptimize(pOut);
        benchmark::ClobberMemory();
    }
    oState.SetBytesProcessed(std::int64_t(oState.iterations()) * kTextBytes);
}

} // namespace

BENCHMARK(decodeLibrary)
    ->Name("DecodeUTF8/qucs::cEnDecUTF8")
    ->ArgName("fresh")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(decodeIconv)
    ->Name("DecodeUTF8/iconv")
    ->ArgName("fresh")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(encodeLibrary)
    ->Name("EncodeUTF8/qucs::cEnDecUTF8")
    ->ArgName("fresh")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(encodeIconv)
    ->Name("EncodeUTF8/iconv")
    ->ArgName("fresh")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);
