// endecutf16_test.cpp - tests of cEnDecUTF16.
// SPDX-License-Identifier: MIT
#include "qor_core/ucs/endecutf16.h"

#include "ucstesting.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

using qortest::codePoints;
using qortest::failureOf;
using qortest::tTexts;
using qucs::cEnDecUTF16;
using qucs::cString;

namespace {

const unsigned kBE = cEnDecUTF16::BigEndian;
const unsigned kBOM = cEnDecUTF16::ByteOrderMark;

std::string encoded(unsigned iOptions, const cString& sText)
{
    qstd::tArray<char> oBytes;
    cEnDecUTF16(iOptions).encode(sText, oBytes);
    return std::string(oBytes.data(), oBytes.length());
}

void decodeInto(unsigned iOptions, const std::string& sBytes, cString& sTarget)
{
    qstd::tArray<char> oData;
    oData.append(sBytes.data(), unsigned(sBytes.size()));
    cEnDecUTF16(iOptions).decode(qstd::tConstArrayRef<char>(oData), sTarget);
}

std::vector<unsigned> units(const qstd::tArray<unsigned short>& oUnits)
{
    return std::vector<unsigned>(oUnits.data(), oUnits.data() + oUnits.length());
}

// 'A', the euro sign and U+1F600, which needs a surrogate pair.
const cString kSample = codePoints({0x41, 0x20AC, 0x1F600});

} // namespace

TEST(EnDecUTF16, EncodesAndDecodesInEitherByteOrderAndHonoursTheMark)
{
    const std::pair<unsigned, std::string> oTable[] = {
        {0, std::string("\x41\x00\xAC\x20\x3D\xD8\x00\xDE", 8)},
        {kBE, std::string("\x00\x41\x20\xAC\xD8\x3D\xDE\x00", 8)},
        {kBOM, std::string("\xFF\xFE\x41\x00\xAC\x20\x3D\xD8\x00\xDE", 10)},
        {kBOM | kBE, std::string("\xFE\xFF\x00\x41\x20\xAC\xD8\x3D\xDE\x00", 10)}};
    for (const auto& [iOptions, sBytes] : oTable) {
        SCOPED_TRACE(iOptions);
        EXPECT_EQ(sBytes, encoded(iOptions, kSample));
        cString sDecoded("x");
        decodeInto(iOptions, sBytes, sDecoded);
        EXPECT_EQ(cString("x") + kSample, sDecoded);
    }
    EXPECT_EQ(std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6), encoded(kBOM, codePoints({0x1F600})));

    // On decoding a mark decides the order, whatever the options say.
    const std::string sLittle("\xFF\xFE\x41\x00\x3D\xD8\x00\xDE", 8);
    const std::string sBig("\xFE\xFF\x00\x41\xD8\x3D\xDE\x00", 8);
    for (unsigned iOptions : {kBOM, kBOM | kBE}) {
        for (const std::string& sBytes : {sLittle, sBig}) {
            SCOPED_TRACE(testing::Message() << iOptions << (sBytes == sBig ? " big" : " little"));
            cString sDecoded;
            decodeInto(iOptions, sBytes, sDecoded);
            EXPECT_EQ(codePoints({0x41, 0x1F600}), sDecoded);
        }
    }
    // Without the option a mark is an ordinary character.
    cString sDecoded;
    decodeInto(0, sLittle, sDecoded);
    EXPECT_EQ(codePoints({0xFEFF, 0x41, 0x1F600}), sDecoded);
}

TEST(EnDecUTF16, MissingOrWrongByteOrderMarkFails)
{
    const std::pair<std::string, const char*> oTable[] = {
        {"", "Source buffer exhausted!"},
        {"\xFF", "Source buffer exhausted!"},
        {std::string("\x41\x00", 2), "Invalid byte order mark while decoding utf16!"},
        {"\xFE\xFE", "Invalid byte order mark while decoding utf16!"}};
    for (const auto& oRow : oTable) {
        SCOPED_TRACE(oRow.first.size());
        cString sTarget;
        EXPECT_EQ(tTexts{oRow.second}, failureOf([&] { decodeInto(kBOM, oRow.first, sTarget); }));
        EXPECT_TRUE(sTarget.empty());
    }
}

TEST(EnDecUTF16, CorruptInputFailsAfterTheDecodedPart)
{
    const char* kCorrupt = "Unable to read corrupt utf16 data!";
    const char* kInvalid = "Invalid byte sequence while decoding utf16!";
    const std::tuple<unsigned, std::string, const char*> oTable[] = {
        // An odd trailing byte.
        {0, std::string("\x41\x00\x42", 3), kCorrupt},
        {kBOM, std::string("\xFF\xFE\x41\x00\x42", 5), kCorrupt},
        // A surrogate as the last unit lacks its partner, whichever half it is.
        {0, std::string("\x41\x00\x3D\xD8", 4), kCorrupt},
        {kBE, std::string("\x00\x41\xDF\xFF", 4), kCorrupt},
        // A lone low surrogate, and a high surrogate followed by something else.
        {kBE, std::string("\x00\x41\xDF\xFF\x00\x42", 6), kInvalid},
        {0, std::string("\x41\x00\x3D\xD8\x42\x00", 6), kInvalid},
        {0, std::string("\x41\x00\xFF\xDB\xFF\xDB", 6), kInvalid}};
    for (const auto& oRow : oTable) {
        SCOPED_TRACE(testing::Message() << std::get<0>(oRow) << ", " << std::get<1>(oRow).size());
        cString sTarget("x");
        EXPECT_EQ(tTexts{std::get<2>(oRow)},
                  failureOf([&] { decodeInto(std::get<0>(oRow), std::get<1>(oRow), sTarget); }));
        EXPECT_EQ(cString("xA"), sTarget);
    }
}

TEST(EnDecUTF16, SurrogateRangeLimitsAreExact)
{
    const cString sEdges = codePoints({0xD7FF, 0xE000, 0xFFFF, 0x10000, 0x10FFFF});
    const std::string sBytes = encoded(kBE, sEdges);
    EXPECT_EQ(std::string("\xD7\xFF\xE0\x00\xFF\xFF\xD8\x00\xDC\x00\xDB\xFF\xDF\xFF", 14), sBytes);
    cString sDecoded;
    decodeInto(kBE, sBytes, sDecoded);
    EXPECT_EQ(sEdges, sDecoded);

    for (unsigned iCode : {0xD800u, 0xDBFFu, 0xDC00u, 0xDFFFu, 0x110000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << iCode);
        const tTexts oUnmappable = {"Unable to convert unmappable character to utf16!"};
        qstd::tArray<char> oBytes;
        EXPECT_EQ(oUnmappable, failureOf([&] {
                      cEnDecUTF16(kBOM).encode(codePoints({'A', iCode, 'B'}), oBytes);
                  }));
        EXPECT_EQ(std::string("\xFF\xFE\x41\x00", 4), std::string(oBytes.data(), oBytes.length()));
        qstd::tArray<unsigned short> oUnits;
        EXPECT_EQ(oUnmappable, failureOf([&] {
                      cEnDecUTF16().encode(codePoints({'A', iCode}), oUnits);
                  }));
        EXPECT_EQ(std::vector<unsigned>{0x41}, units(oUnits));
    }
}

TEST(EnDecUTF16, SixteenBitUnitsRoundTripThroughZeroTerminatedStrings)
{
    qstd::tArray<unsigned short> oMarked;
    oMarked.append((unsigned short)7);
    cEnDecUTF16(kBOM | kBE).encode(kSample, oMarked);
    EXPECT_EQ((std::vector<unsigned>{7, 0xFEFF, 0x41, 0x20AC, 0xD83D, 0xDE00}), units(oMarked));

    qstd::tArray<unsigned short> oTerminated;
    cEnDecUTF16().encodeCString(kSample, oTerminated);
    EXPECT_EQ((std::vector<unsigned>{0x41, 0x20AC, 0xD83D, 0xDE00, 0}), units(oTerminated));
    cString sDecoded("x");
    cEnDecUTF16().decodeCString(oTerminated.data(), sDecoded);
    EXPECT_EQ(cString("x") + kSample, sDecoded);

    // With the mark option the mark is required and dropped again.
    qstd::tArray<unsigned short> oWithMark;
    cEnDecUTF16(kBOM).encodeCString(kSample, oWithMark);
    cString sRoundTrip;
    cEnDecUTF16(kBOM).decodeCString(oWithMark.data(), sRoundTrip);
    EXPECT_EQ(kSample, sRoundTrip);
    EXPECT_THROW(cEnDecUTF16(kBOM).decodeCString(oTerminated.data(), sRoundTrip),
                 qstd::cRuntimeException);
}
