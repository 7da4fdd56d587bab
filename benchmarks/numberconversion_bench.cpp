// numberconversion_bench.cpp - integers and doubles to text and back with cNumberConversion,
// against std::to_chars and std::from_chars.
// SPDX-License-Identifier: MIT
#include "qor_core/qor_core.h"

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdint>
#include <string>
#include <system_error>
#include <vector>

namespace {

const unsigned kValues = 1000000;

/// kValues integers with 1 to 19 decimal digits (evenly many of each length) and
/// random signs. A fixed xorshift seed gives the same values on every run.
const std::vector<long long>& testValues()
{
    static const std::vector<long long> oValues = [] {
        std::vector<long long> oResult;
        oResult.reserve(kValues);
        std::uint64_t iState = 0x9E3779B97F4A7C15ull;
        auto next = [&iState] {
            iState ^= iState << 13;
            iState ^= iState >> 7;
            iState ^= iState << 17;
            return iState;
        };
        for (unsigned i = 0; i < kValues; ++i) {
            unsigned iDigits = unsigned(next() % 19) + 1;
            std::uint64_t iLimit = 1;
            for (unsigned k = 0; k < iDigits; ++k)
                iLimit *= 10;
            long long iValue = (long long)(next() % iLimit);
            oResult.push_back(next() & 1 ? -iValue : iValue);
        }
        return oResult;
    }();
    return oValues;
}

/// The values as text, written once by std::to_chars; both parsers read the very
/// same strings.
const std::vector<qstd::cAsciiString>& testTexts()
{
    static const std::vector<qstd::cAsciiString> oTexts = [] {
        std::vector<qstd::cAsciiString> oResult;
        oResult.reserve(kValues);
        char cBuffer[24];
        for (long long iValue : testValues()) {
            char* pEnd = std::to_chars(cBuffer, cBuffer + sizeof(cBuffer), iValue).ptr;
            oResult.emplace_back(cBuffer, unsigned(pEnd - cBuffer));
        }
        return oResult;
    }();
    return oTexts;
}

std::uint64_t expectedTextLength()
{
    std::uint64_t iLength = 0;
    for (const qstd::cAsciiString& sText : testTexts())
        iLength += sText.length();
    return iLength;
}

std::uint64_t expectedSum()
{
    std::uint64_t iSum = 0;
    for (long long iValue : testValues())
        iSum += std::uint64_t(iValue);
    return iSum;
}

// --- integer to text, one value at a time into a reused buffer --------------

void qstdToString(benchmark::State& oState)
{
    const std::vector<long long>& oValues = testValues();
    const std::uint64_t iExpected = expectedTextLength();
    qstd::cNumberConversionFormat oFormat;
    qstd::cAsciiString sText;
    sText.setFitOnErase(false); // emptying keeps the pool, like a reused char buffer
    for (auto _ : oState) {
        std::uint64_t iLength = 0;
        for (long long iValue : oValues) {
            sText.setSize(0);
            qstd::cNumberConversion::toString(sText, iValue, oFormat);
            benchmark::DoNotOptimize(sText.data(true));
            iLength += sText.length();
        }
        if (iLength != iExpected)
            oState.SkipWithError("wrong text length");
    }
    oState.SetItemsProcessed(std::int64_t(oState.iterations()) * kValues);
}

void stdToChars(benchmark::State& oState)
{
    const std::vector<long long>& oValues = testValues();
    const std::uint64_t iExpected = expectedTextLength();
    char cBuffer[24];
    for (auto _ : oState) {
        std::uint64_t iLength = 0;
        for (long long iValue : oValues) {
            char* pEnd = std::to_chars(cBuffer, cBuffer + sizeof(cBuffer), iValue).ptr;
            benchmark::DoNotOptimize(cBuffer);
            iLength += unsigned(pEnd - cBuffer);
        }
        if (iLength != iExpected)
            oState.SkipWithError("wrong text length");
    }
    oState.SetItemsProcessed(std::int64_t(oState.iterations()) * kValues);
}

// --- integer to text, all values appended to one string that grows from empty ---

void qstdToStringAppend(benchmark::State& oState)
{
    const std::vector<long long>& oValues = testValues();
    const std::uint64_t iExpected = expectedTextLength();
    qstd::cNumberConversionFormat oFormat;
    for (auto _ : oState) {
        qstd::cAsciiString sText;
        for (long long iValue : oValues)
            qstd::cNumberConversion::toString(sText, iValue, oFormat);
        benchmark::DoNotOptimize(sText.data(true));
        if (sText.length() != iExpected)
            oState.SkipWithError("wrong text length");
    }
    oState.SetItemsProcessed(std::int64_t(oState.iterations()) * kValues);
}

void stdToCharsAppend(benchmark::State& oState)
{
    const std::vector<long long>& oValues = testValues();
    const std::uint64_t iExpected = expectedTextLength();
    for (auto _ : oState) {
        std::string sText;
        char cBuffer[24];
        for (long long iValue : oValues) {
            char* pEnd = std::to_chars(cBuffer, cBuffer + sizeof(cBuffer), iValue).ptr;
            sText.append(cBuffer, std::size_t(pEnd - cBuffer));
        }
        benchmark::DoNotOptimize(sText.data());
        if (sText.length() != iExpected)
            oState.SkipWithError("wrong text length");
    }
    oState.SetItemsProcessed(std::int64_t(oState.iterations()) * kValues);
}

// --- text to integer ---------------------------------------------------------

void qstdFromString(benchmark::State& oState)
{
    const std::vector<qstd::cAsciiString>& oTexts = testTexts();
    const std::uint64_t iExpected = expectedSum();
    qstd::cNumberConversionFormat oFormat;
    for (auto _ : oState) {
        std::uint64_t iSum = 0;
        for (const qstd::cAsciiString& sText : oTexts)
            iSum += std::uint64_t(qstd::cNumberConversion::fromString(sText, oFormat));
        benchmark::DoNotOptimize(iSum);
        if (iSum != iExpected)
            oState.SkipWithError("wrong values");
    }
    oState.SetItemsProcessed(std::int64_t(oState.iterations()) * kValues);
}

void stdFromChars(benchmark::State& oState)
{
    const std::vector<qstd::cAsciiString>& oTexts = testTexts();
    const std::uint64_t iExpected = expectedSum();
    for (auto _ : oState) {
        std::uint64_t iSum = 0;
        for (const qstd::cAsciiString& sText : oTexts) {
            const char* pText = sText.c_str();
            long long iValue = 0;
            if (std::from_chars(pText, pText + sText.length(), iValue).ec != std::errc())
                oState.SkipWithError("from_chars failed");
            iSum += std::uint64_t(iValue);
        }
        benchmark::DoNotOptimize(iSum);
        if (iSum != iExpected)
            oState.SkipWithError("wrong values");
    }
    oState.SetItemsProcessed(std::int64_t(oState.iterations()) * kValues);
}

// --- double to text, default format (14 fractional digits, trailing zeros cut) ---

const unsigned kDoubles = 200000;

/// kDoubles values from 1e-4 to 1e12 with up to 17 significant digits and random
/// signs, the magnitudes evenly spread. A fixed xorshift seed gives the same values
/// on every run.
const std::vector<double>& testDoubles()
{
    static const std::vector<double> oValues = [] {
        std::vector<double> oResult;
        oResult.reserve(kDoubles);
        std::uint64_t iState = 0x2545F4914F6CDD1Dull;
        auto next = [&iState] {
            iState ^= iState << 13;
            iState ^= iState >> 7;
            iState ^= iState << 17;
            return iState;
        };
        for (unsigned i = 0; i < kDoubles; ++i) {
            double dMantissa = double(next() % 100000000000000000ull) / 1e17; // [0, 1)
            int iExponent = int(next() % 17) - 4;
            double dValue = dMantissa;
            for (int k = 0; k < iExponent; ++k)
                dValue *= 10;
            for (int k = 0; k > iExponent; --k)
                dValue /= 10;
            oResult.push_back(next() & 1 ? -dValue : dValue);
        }
        return oResult;
    }();
    return oValues;
}

void qstdDoubleToString(benchmark::State& oState)
{
    const std::vector<double>& oValues = testDoubles();
    qstd::cNumberConversionFormat oFormat;
    qstd::cAsciiString sText;
    sText.setFitOnErase(false);
    for (auto _ : oState) {
        std::uint64_t iLength = 0;
        for (double dValue : oValues) {
            sText.setSize(0);
            qstd::cNumberConversion::toStringFromDouble(sText, dValue, oFormat);
            benchmark::DoNotOptimize(sText.data(true));
            iLength += sText.length();
        }
        benchmark::DoNotOptimize(iLength);
    }
    oState.SetItemsProcessed(std::int64_t(oState.iterations()) * kDoubles);
}

/// The yardstick writes the same 14 fractional digits, without cutting zeros.
void stdDoubleToChars(benchmark::State& oState)
{
    const std::vector<double>& oValues = testDoubles();
    char cBuffer[64];
    for (auto _ : oState) {
        std::uint64_t iLength = 0;
        for (double dValue : oValues) {
            char* pEnd = std::to_chars(cBuffer, cBuffer + sizeof(cBuffer), dValue,
                                       std::chars_format::fixed, 14)
                             .ptr;
            benchmark::DoNotOptimize(cBuffer);
            iLength += unsigned(pEnd - cBuffer);
        }
        benchmark::DoNotOptimize(iLength);
    }
    oState.SetItemsProcessed(std::int64_t(oState.iterations()) * kDoubles);
}

} // namespace

BENCHMARK(qstdToString)
    ->Name("Number/ToString/qstd::cNumberConversion")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(stdToChars)->Name("Number/ToString/std::to_chars")->Unit(benchmark::kMillisecond);
BENCHMARK(qstdToStringAppend)
    ->Name("Number/ToStringAppend/qstd::cNumberConversion")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(stdToCharsAppend)
    ->Name("Number/ToStringAppend/std::to_chars+std::string")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(qstdFromString)
    ->Name("Number/FromString/qstd::cNumberConversion")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(stdFromChars)->Name("Number/FromString/std::from_chars")->Unit(benchmark::kMillisecond);
BENCHMARK(qstdDoubleToString)
    ->Name("Number/DoubleToString/qstd::cNumberConversion")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(stdDoubleToChars)
    ->Name("Number/DoubleToString/std::to_chars")
    ->Unit(benchmark::kMillisecond);
