// string_test.cpp - tests of qucs::cString.
// SPDX-License-Identifier: MIT
#include "qor_core/std/numberconversion.h"
#include "qor_core/ucs/string.h"

#include "support/fakeserializer.h"
#include "ucstesting.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>

using qortest::codePoints;
using qucs::cString;

TEST(String, AsciiConversionsReplaceEverythingAbove127)
{
    EXPECT_STREQ("abc", cString("abc").ascii('?').c_str());
    EXPECT_STREQ("a?\x7F?", codePoints({'a', 0xE9, 0x7F, 0x80}).ascii('?').c_str());
    qstd::cAsciiString sTarget("x");
    codePoints({'y', 0xFFFFFFFFu}).toAscii(sTarget, '#');
    EXPECT_STREQ("xy#", sTarget.c_str()) << "toAscii appends";

    cString sText("previous, longer content");
    sText.fromAscii(qstd::cAsciiString("a\xE9\x7F\x80"), 0x2026);
    EXPECT_EQ(codePoints({'a', 0x2026, 0x7F, 0x2026}), sText);
    EXPECT_EQ(codePoints({'?', 'z'}), cString(qstd::cAsciiString("\xFFz"), '?'));
}

TEST(String, ByteAndWideStringsGiveOneCharacterPerElement)
{
    // No replacement here: every byte is taken unsigned.
    EXPECT_EQ(codePoints({'a', 0xE9, 0xFF}), cString("a\xE9\xFF"));
    EXPECT_EQ(cString(), cString(static_cast<const char*>(nullptr)));
    cString sText("old");
    sText = "new";
    sText.appendC("x\0y", 3);
    sText.appendC(nullptr);
    EXPECT_EQ(codePoints({'n', 'e', 'w', 'x', 0, 'y'}), sText);
    EXPECT_EQ(codePoints({'a', 0xE9, 0x1F600}), cString(L"a\u00e9\U0001F600"));
}

TEST(String, EqualityComparesLengthAndEveryCodePoint)
{
    auto check = [](const cString& sText, const char* pBytes, bool bEqual) {
        SCOPED_TRACE(testing::PrintToString(sText) + " vs \"" + pBytes + '"');
        EXPECT_EQ(bEqual, sText.ccs(pBytes));
        EXPECT_EQ(bEqual, sText == qstd::cAsciiString(pBytes));
        EXPECT_EQ(bEqual, sText == cString(pBytes));
    };
    const std::tuple<const char*, const char*, bool> oTable[] = {
        {"", "", true},       {"a", "", false},      {"", "a", false},      {"ab", "abc", false},
        {"abc", "ab", false}, {"abc", "abC", false}, {"\xE9", "\xE9", true}};
    for (const auto& [pText, pBytes, bEqual] : oTable)
        check(cString(pText), pBytes, bEqual);
    // A byte must not be sign-extended or truncated before the comparison.
    check(codePoints({0xFFFFFFE9u}), "\xE9", false);
    check(codePoints({0x1E9}), "\xE9", false);
    EXPECT_FALSE(cString().ccs(nullptr));
    EXPECT_TRUE(codePoints({'a', 0x1F600}) == L"a\U0001F600");
    EXPECT_FALSE(codePoints({'a', 0x1F600}) == L"a");
    EXPECT_FALSE(cString("a") == L"a\U0001F600");
    EXPECT_FALSE(cString() == static_cast<const wchar_t*>(nullptr));
}

TEST(String, CaseChangesOnlyAsciiLetters)
{
    // The neighbours of the letter ranges and non-ASCII letters stay.
    const cString sMixed = codePoints({'@', 'A', 'Z', '[', '`', 'a', 'z', '{', 0xE9, 0xC9, 0x161});
    cString sUpper(sMixed);
    EXPECT_EQ(codePoints({'@', 'A', 'Z', '[', '`', 'A', 'Z', '{', 0xE9, 0xC9, 0x161}),
              sUpper.upperCase());
    cString sLower(sMixed);
    EXPECT_EQ(codePoints({'@', 'a', 'z', '[', '`', 'a', 'z', '{', 0xE9, 0xC9, 0x161}),
              sLower.lowerCase());
}

TEST(String, TrimmingRemovesOnlySpaces)
{
    // The text, then trimmed left, right and on both sides.
    const std::tuple<const char*, const char*, const char*, const char*> oTable[] = {
        {"  a b  ", "a b  ", "  a b", "a b"},
        {"\t a \n", "\t a \n", "\t a \n", "\t a \n"},
        {" \ta", "\ta", " \ta", "\ta"},
        {"   ", "", "", ""},
        {"", "", "", ""}};
    for (const auto& [pText, pLeft, pRight, pBoth] : oTable) {
        SCOPED_TRACE(testing::Message() << '"' << pText << '"');
        EXPECT_EQ(cString(pLeft), cString(pText).ltrim());
        EXPECT_EQ(cString(pRight), cString(pText).rtrim());
        EXPECT_EQ(cString(pBoth), cString(pText).trim());
    }
}

TEST(String, AdjustingPadsShortStringsOnly)
{
    typedef cString& (cString::*tAdjust)(unsigned, unsigned);
    const tAdjust fLeft = &cString::leftAdjust, fRight = &cString::rightAdjust;
    const tAdjust fCentre = &cString::adjust;
    const std::tuple<tAdjust, const char*, unsigned, const char*> oTable[] = {
        {fCentre, "abc", 7, "**abc**"}, {fCentre, "abc", 6, "*abc**"}, {fCentre, "abc", 4, "abc*"},
        {fCentre, "abc", 3, "abc"},     {fCentre, "", 3, "***"},       {fLeft, "abc", 5, "abc**"},
        {fRight, "abc", 5, "**abc"},    {fRight, "abc", 2, "abc"}};
    for (const auto& [fAdjust, pText, iWidth, pExpected] : oTable) {
        cString sText(pText);
        EXPECT_EQ(cString(pExpected), (sText.*fAdjust)(iWidth, '*')) << pText << ", " << iWidth;
    }
}

TEST(String, NumbersAreAppendedOrReplaceTheText)
{
    EXPECT_EQ(cString("n=-427"), cString("n=").addNum(-42).addUNum(7));
    EXPECT_EQ(cString("-9223372036854775808"), cString("x").setNum(LLONG_MIN));
    EXPECT_EQ(cString("4294967295"), cString("x").setUNum32(UINT_MAX));
    EXPECT_EQ(cString("a-0.25"), cString("a").addDouble(-0.25));
    EXPECT_EQ(cString("-1f"), cString("x").setNum32(-31, qstd::cNumberConversionFormat(16)));
    EXPECT_EQ(4294967296ull, cString("4294967296").toUInt());
    EXPECT_DOUBLE_EQ(-1.5, cString("-1.5").toDouble());
    EXPECT_THROW(cString("12x").toInt(), qstd::cRuntimeException);
}

TEST(String, SerializesAsOneStringItem)
{
    const cString sText = codePoints({'a', 0, 0xE9, 0x10FFFF});
    qortest::cFakeSerializer oSerializer;
    sText >> oSerializer;
    ASSERT_EQ(std::vector<std::string>{"cString"}, qortest::fakeKinds(oSerializer.moItems));
    qortest::cFakeDeserializer oDeserializer(oSerializer.moItems);
    cString sLoaded("to be replaced");
    sLoaded << oDeserializer;
    EXPECT_EQ(sText, sLoaded);
}
