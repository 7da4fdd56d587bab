// endecutf8_test.cpp - tests of cEnDecUTF8 and decodeUTF8.
// SPDX-License-Identifier: MIT
#include "qor_core/ucs/endecutf8.h"

#include "ucstesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using qortest::codePoints;
using qortest::failureOf;
using qortest::tTexts;
using qucs::cString;

namespace {

void decodeInto(const std::string& sBytes, cString& sTarget)
{
    qstd::tArray<char> oData;
    oData.append(sBytes.data(), unsigned(sBytes.size()));
    qucs::cEnDecUTF8().decode(qstd::tConstArrayRef<char>(oData), sTarget);
}

/// Decodes one character at a time from a zero-terminated copy of the bytes.
cString decodedStepwise(const std::string& sBytes)
{
    cString sResult;
    for (unsigned iIndex = 0; iIndex < sBytes.size();)
        sResult += qucs::decodeUTF8(sBytes.c_str(), iIndex);
    return sResult;
}

std::string encoded(const cString& sText)
{
    qstd::tArray<char> oBytes;
    qucs::cEnDecUTF8().encode(sText, oBytes);
    return std::string(oBytes.data(), oBytes.length());
}

tTexts endOfData(unsigned iIndex)
{
    return {"Unicode decode error!",
            "UTF8 decode error - unexpected end of data at index " + std::to_string(iIndex) + "!"};
}

/// A fixed pseudo-random mix of ASCII runs of up to 19 bytes, two- to four-byte
/// sequences and stray continuation bytes. oStarts receives the offset of every
/// character, followed by the total length.
std::string mixedInput(unsigned iTokens, std::vector<unsigned>& oStarts)
{
    static const char* const kSequences[] = {"\xC3\xA9",         "\xE2\x82\xAC", "\xEF\xBF\xBF",
                                             "\xF0\x9F\x98\x80", "\xA9",         "\x80"};
    std::string sBytes;
    unsigned iSeed = 12345;
    for (unsigned iToken = 0; iToken < iTokens; ++iToken) {
        iSeed = iSeed * 1103515245u + 12345u;
        unsigned iPick = (iSeed >> 16) % 26;
        for (unsigned i = 0; iPick < 20 && i < iPick; ++i) {
            oStarts.push_back(unsigned(sBytes.size()));
            sBytes += char('!' + (iSeed >> 8) % 90 + i % 3);
        }
        if (iPick >= 20) {
            oStarts.push_back(unsigned(sBytes.size()));
            sBytes += kSequences[iPick - 20];
        }
    }
    oStarts.push_back(unsigned(sBytes.size()));
    return sBytes;
}

} // namespace

TEST(EnDecUTF8, DecodesEachSequenceLength)
{
    // Stray continuation bytes stand for themselves; the shortest form of each
    // length decodes.
    const std::pair<const char*, unsigned> oTable[] = {{"\x7F", 0x7F},
                                                       {"\xC2\x80", 0x80},
                                                       {"\xDF\xBF", 0x7FF},
                                                       {"\xE0\xA0\x80", 0x800},
                                                       {"\xEF\xBF\xBF", 0xFFFF},
                                                       {"\xF0\x90\x80\x80", 0x10000},
                                                       {"\xF4\x8F\xBF\xBF", 0x10FFFF},
                                                       {"\xA9", 0xA9}};
    for (const auto& oRow : oTable) {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << oRow.second);
        cString sTarget("x");
        decodeInto(oRow.first, sTarget);
        EXPECT_EQ(codePoints({'x', oRow.second}), sTarget);
        unsigned iIndex = 0;
        EXPECT_EQ(oRow.second, qucs::decodeUTF8(oRow.first, iIndex));
        EXPECT_EQ(std::string(oRow.first).size(), iIndex);
    }
    // decodeUTF8 reports positions within the whole text.
    unsigned iIndex = 1;
    EXPECT_EQ(endOfData(3), failureOf([&] { qucs::decodeUTF8("a\xE2\x82", iIndex); }));
}

TEST(EnDecUTF8, OverlongFormsAndBrokenSequencesAreRejected)
{
    // The sequence, the index of the offending byte and the problem. Overlong forms
    // would let "/" and "." pass a check on the bytes.
    const std::tuple<const char*, unsigned, const char*> oTable[] = {
        {"\xC0\xAF", 0, "overlong form"},
        {"\xC1\xBF", 0, "overlong form"},
        {"\xE0\x80\xAE", 0, "overlong form"},
        {"\xE0\x9F\xBF", 0, "overlong form"},
        {"\xF0\x80\x80\xAF", 0, "overlong form"},
        {"\xF0\x8F\xBF\xBF", 0, "overlong form"},
        {"\xC0\x01", 1, "invalid continuation byte"},
        {"\xC3\x41", 1, "invalid continuation byte"},
        {"\xE2\x82\xC3\xA9", 2, "invalid continuation byte"},
        {"\xF0\x9F\x98\x7F", 3, "invalid continuation byte"}};
    for (const auto& [pBytes, iIndex, pProblem] : oTable) {
        SCOPED_TRACE(testing::PrintToString(std::string(pBytes)));
        const tTexts oExpected = {"Unicode decode error!",
                                  "UTF8 decode error - " + std::string(pProblem) + " at index " +
                                      std::to_string(iIndex) + "!"};
        unsigned iAt = 0;
        EXPECT_EQ(oExpected, failureOf([&] { qucs::decodeUTF8(pBytes, iAt); }));
        // Within a longer text, on the word-wise path as well as near the end.
        for (const char* pAfter : {"", "tail of the text"}) {
            cString sTarget;
            EXPECT_EQ(oExpected,
                      failureOf([&] { decodeInto(std::string("ab") + pBytes + pAfter, sTarget); }));
            EXPECT_EQ(cString("ab"), sTarget);
        }
    }
}

TEST(EnDecUTF8, LeadBytesOfFiveAndMoreBytesAreRejected)
{
    // The length is checked before any trailing byte is read.
    const std::pair<const char*, unsigned> oTable[] = {
        {"\xF8\x88\x80\x80\x80", 4}, {"\xFB", 4}, {"\xFC\x80", 5}, {"\xFE", 6}, {"\xFF\x80", 7}};
    for (const auto& oRow : oTable) {
        SCOPED_TRACE(oRow.second);
        const tTexts oExpected = {"Unicode decode error!",
                                  "UTF8 decode error - unsupported length of " +
                                      std::to_string(oRow.second) + "!"};
        unsigned iIndex = 0;
        EXPECT_EQ(oExpected, failureOf([&] { qucs::decodeUTF8(oRow.first, iIndex); }));
        cString sTarget;
        EXPECT_EQ(oExpected,
                  failureOf([&] { decodeInto(std::string("ab") + oRow.first, sTarget); }));
        EXPECT_EQ(cString("ab"), sTarget);
    }
}

TEST(EnDecUTF8, ZeroBytesFailAfterTheDecodedPart)
{
    // The index counts from the character that fails.
    const std::tuple<std::string, unsigned, cString> oTable[] = {
        {std::string("A\0B", 3), 0, cString("A")},
        {std::string("x\xC3\0", 3), 1, cString("x")},
        // Zeros inside and right after runs of ASCII longer than 8 bytes.
        {std::string("abcdefghijklm\0opqrstuvwxyz", 26), 0, cString("abcdefghijklm")},
        {std::string("abcdefgh\0", 9), 0, cString("abcdefgh")}};
    for (const auto& [sBytes, iIndex, sBefore] : oTable) {
        SCOPED_TRACE(testing::PrintToString(sBefore));
        cString sTarget;
        const std::string& sInput = sBytes;
        EXPECT_EQ(endOfData(iIndex), failureOf([&] { decodeInto(sInput, sTarget); }));
        EXPECT_EQ(sBefore, sTarget);
    }
}

TEST(EnDecUTF8, InputShiftedAndCutAnywhereDecodesLikeCharacterByCharacter)
{
    // Shifted against the 8-byte words the decoder reads, and cut anywhere, the input
    // decodes as one character at a time would; it fails only inside a sequence.
    std::vector<unsigned> oStarts;
    const std::string sBytes = mixedInput(60, oStarts);
    const cString sAll = decodedStepwise(sBytes);
    ASSERT_EQ(oStarts.size() - 1, sAll.length());
    for (unsigned iShift = 0; iShift < 8; ++iShift) {
        for (unsigned iCut = 0; iCut <= sBytes.size(); ++iCut) {
            SCOPED_TRACE(testing::Message() << "shift " << iShift << ", cut at " << iCut);
            // The characters before the one the cut lies in are complete.
            unsigned iComplete = unsigned(std::upper_bound(oStarts.begin(), oStarts.end(), iCut) -
                                          oStarts.begin() - 1);
            cString sExpected(sAll);
            sExpected.truncate(iComplete);
            const std::string sInput = std::string(iShift, ' ') + sBytes.substr(0, iCut);
            cString sTarget;
            unsigned iInside = iCut - oStarts[iComplete];
            if (iInside == 0)
                decodeInto(sInput, sTarget);
            else
                EXPECT_EQ(endOfData(iInside), failureOf([&] { decodeInto(sInput, sTarget); }));
            sTarget.erase(0, iShift);
            ASSERT_EQ(sExpected, sTarget);
        }
    }
}

TEST(EnDecUTF8, EncodesEachSequenceLength)
{
    const std::pair<unsigned, const char*> oTable[] = {{0x7F, "\x7F"},
                                                       {0x80, "\xC2\x80"},
                                                       {0x7FF, "\xDF\xBF"},
                                                       {0x800, "\xE0\xA0\x80"},
                                                       {0xFFFF, "\xEF\xBF\xBF"},
                                                       {0x10000, "\xF0\x90\x80\x80"},
                                                       {0x1FFFFF, "\xF7\xBF\xBF\xBF"},
                                                       {0x200000, "\xF8\x88\x80\x80\x80"},
                                                       {0x3FFFFFF, "\xFB\xBF\xBF\xBF\xBF"}};
    for (const auto& [iCode, pBytes] : oTable) {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << iCode);
        EXPECT_EQ(std::string("<") + pBytes, encoded(codePoints({'<', iCode})));
        qstd::tArray<char> oBytes;
        oBytes.append('<');
        qucs::cEnDecUTF8::encodeChar(iCode, oBytes);
        EXPECT_EQ(std::string("<") + pBytes, std::string(oBytes.data(), oBytes.length()));
    }
    // Beyond the five-byte form nothing is written.
    qstd::tArray<char> oNothing;
    EXPECT_THROW(qucs::cEnDecUTF8().encode(codePoints({'a', 0x4000000}), oNothing),
                 qstd::cRuntimeException);
    EXPECT_EQ(0u, oNothing.length());
    EXPECT_THROW(qucs::cEnDecUTF8::encodeChar(0xFFFFFFFF, oNothing), qstd::cRuntimeException);
    qstd::tArray<char> oTerminated;
    qucs::cEnDecUTF8().encodeCString(codePoints({0xE9}), oTerminated);
    EXPECT_EQ(std::string("\xC3\xA9\0", 3), std::string(oTerminated.data(), oTerminated.length()));
}
