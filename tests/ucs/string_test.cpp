// string_test.cpp - tests of qucs::cString.
// SPDX-License-Identifier: MIT
#include "qor_core/std/numberconversion.h"
#include "qor_core/ucs/string.h"

#include "support/fakeserializer.h"
#include "ucstesting.h"

#include <gtest/gtest.h>

#include <climits>

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
    struct Row
    {
        cString sText;
        const char* pBytes;
        bool bEqual;
    };
    const Row oTable[] = {{cString(), "", true},
                          {cString("a"), "", false},
                          {cString(), "a", false},
                          {cString("ab"), "abc", false},
                          {cString("abc"), "ab", false},
                          {cString("abc"), "abC", false},
                          {codePoints({0xE9}), "\xE9", true},
                          // A byte must not be sign-extended before the comparison.
                          {codePoints({0xFFFFFFE9u}), "\xE9", false},
                          {codePoints({0x1E9}), "\xE9", false}};
    for (const Row& oRow : oTable) {
        SCOPED_TRACE(testing::PrintToString(oRow.sText) + " vs \"" + oRow.pBytes + '"');
        EXPECT_EQ(oRow.bEqual, oRow.sText.ccs(oRow.pBytes));
        EXPECT_EQ(oRow.bEqual, oRow.sText == qstd::cAsciiString(oRow.pBytes));
        EXPECT_EQ(oRow.bEqual, oRow.sText == cString(oRow.pBytes));
    }
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
    struct Row
    {
        const char* pText;
        const char* pLeft;
        const char* pRight;
        const char* pBoth;
    };
    const Row oTable[] = {{"  a b  ", "a b  ", "  a b", "a b"},
                          {"\t a \n", "\t a \n", "\t a \n", "\t a \n"},
                          {" \ta", "\ta", " \ta", "\ta"},
                          {"   ", "", "", ""},
                          {"", "", "", ""}};
    for (const Row& oRow : oTable) {
        SCOPED_TRACE(testing::Message() << '"' << oRow.pText << '"');
        EXPECT_EQ(cString(oRow.pLeft), cString(oRow.pText).ltrim());
        EXPECT_EQ(cString(oRow.pRight), cString(oRow.pText).rtrim());
        EXPECT_EQ(cString(oRow.pBoth), cString(oRow.pText).trim());
    }
}

TEST(String, AdjustingPadsShortStringsOnly)
{
    enum Kind
    {
        Left,
        Right,
        Centre
    };
    struct Row
    {
        Kind eKind;
        const char* pText;
        unsigned iWidth;
        const char* pExpected;
    };
    const Row oTable[] = {{Centre, "abc", 7, "**abc**"}, {Centre, "abc", 6, "*abc**"},
                          {Centre, "abc", 4, "abc*"},    {Centre, "abc", 3, "abc"},
                          {Centre, "abcd", 2, "abcd"},   {Centre, "", 3, "***"},
                          {Left, "abc", 5, "abc**"},     {Left, "abc", 3, "abc"},
                          {Right, "abc", 5, "**abc"},    {Right, "abc", 2, "abc"}};
    for (const Row& oRow : oTable) {
        SCOPED_TRACE(testing::Message()
                     << oRow.eKind << " \"" << oRow.pText << "\" " << oRow.iWidth);
        cString sText(oRow.pText);
        if (oRow.eKind == Left)
            sText.leftAdjust(oRow.iWidth, '*');
        else if (oRow.eKind == Right)
            sText.rightAdjust(oRow.iWidth, '*');
        else
            sText.adjust(oRow.iWidth, '*');
        EXPECT_EQ(cString(oRow.pExpected), sText);
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
