// Tests of cAsciiString.
#include "qor_core/qor_core.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace qstd;

namespace {
std::string str(const cAsciiString& s)
{
    return s.c_str();
}
} // namespace

TEST(AsciiString, CStringIsTerminatedEvenWhenNullOrEmpty)
{
    cAsciiString sNull(static_cast<const char*>(nullptr));
    EXPECT_TRUE(sNull.empty());
    ASSERT_NE(nullptr, sNull.c_str());
    EXPECT_STREQ("", sNull.c_str());
    EXPECT_TRUE(sNull == "");
    EXPECT_FALSE(sNull == static_cast<const char*>(nullptr));
    EXPECT_TRUE(cAsciiString() == cAsciiString(""));
    cAsciiString sText("abc");
    sText.truncate(0);
    EXPECT_STREQ("", sText.c_str());

    cAsciiString s;
    for (int i = 0; i < 100; ++i) {
        s += char('a' + i % 26);
        ASSERT_EQ(0, s.c_str()[s.length()]);
    }
    s.erase(10, 50);
    EXPECT_EQ(50u, s.length());
    EXPECT_EQ(0, s.c_str()[50]);
    s.insert(3, "XYZ", 3);
    EXPECT_EQ(0, s.c_str()[53]);
    EXPECT_EQ("abcXYZdefghij", str(s).substr(0, 13));
}

TEST(AsciiString, ConcatenationAndComparison)
{
    cAsciiString s("ab");
    s += "cd";
    s += cAsciiString("ef");
    s += 'g';
    EXPECT_EQ("abcdefg", str(s));
    EXPECT_EQ("xabcdefgy", str("x" + s + "y"));
    EXPECT_TRUE(cAsciiString("abc") < cAsciiString("abd"));
    EXPECT_TRUE(cAsciiString("ab") < cAsciiString("abc"));
    EXPECT_EQ("cdefg", str(cAsciiString(s, 2)));
    EXPECT_EQ("", str(cAsciiString(s, 20)));
    EXPECT_EQ(2, s.indexOf("cd"));
    EXPECT_EQ(-1, s.indexOf("cd", 3));
    EXPECT_EQ("cde", str(s.mid(2, 3)));
    EXPECT_EQ("fg", str(s.mid(5)));
}

TEST(AsciiString, CaseTrimAndPrintable)
{
    cAsciiString s("  Hello, World! \t ");
    s.trim();
    EXPECT_EQ("Hello, World! \t", str(s));
    cAsciiString sTab("\t x ");
    sTab.trim();
    EXPECT_EQ("\t x", str(sTab)); // only spaces are trimmed
    EXPECT_EQ("HELLO, WORLD! \t", str(s.upperCase()));
    s.toLower();
    EXPECT_EQ("hello, world! \t", str(s));
    EXPECT_EQ('\xe9', cAsciiString::upperCase('\xe9'));
    EXPECT_TRUE(cAsciiString::isPrintable('~'));
    EXPECT_FALSE(cAsciiString::isPrintable('\x7f'));
    EXPECT_FALSE(cAsciiString::isPrintable('\x1f'));
}

TEST(AsciiString, AdjustmentPadsToTheWidth)
{
    // Text, width, then left, right and centred.
    const std::tuple<const char*, unsigned, const char*, const char*, const char*> oTable[] = {
        {"abc", 7, "abc****", "****abc", "**abc**"},
        {"abc", 6, "abc***", "***abc", "*abc**"},
        {"abc", 2, "abc", "abc", "abc"},
        {"", 3, "***", "***", "***"}};
    for (const auto& [pText, iWidth, pLeft, pRight, pCentre] : oTable) {
        SCOPED_TRACE(pText);
        EXPECT_EQ(pLeft, str(cAsciiString(pText).leftAdjust(iWidth, '*')));
        EXPECT_EQ(pRight, str(cAsciiString(pText).rightAdjust(iWidth, '*')));
        EXPECT_EQ(pCentre, str(cAsciiString(pText).adjust(iWidth, '*')));
    }
    EXPECT_EQ("abc...", str(cAsciiString("abcdefgh").setFixedLength(6, "...", ' ')));
    EXPECT_EQ("ab    ", str(cAsciiString("ab").setFixedLength(6, "...", ' ')));
    EXPECT_EQ("...", str(cAsciiString("abcdefgh").setFixedLength(2, "...", ' ')));
}

TEST(AsciiString, NumbersRoundTrip)
{
    cAsciiString s;
    s.setNum(-1234567890123LL);
    EXPECT_EQ("-1234567890123", str(s));
    EXPECT_EQ(-1234567890123LL, s.toInt());
    s.setUNum(18446744073709551615ULL);
    EXPECT_EQ("18446744073709551615", str(s));
    EXPECT_EQ(18446744073709551615ULL, s.toUInt());
    cNumberConversionFormat oHex(16);
    oHex.setFixedWidth(4);
    s = "x=";
    s.addUNum32(255, oHex);
    EXPECT_EQ("x=00ff", str(s));
    s.setDouble(2.5);
    EXPECT_EQ("2.5", str(s));
    EXPECT_DOUBLE_EQ(-0.25, cAsciiString("-2.5E-1").toDouble());
    EXPECT_THROW(cAsciiString("12 ").toInt(), cRuntimeException);
    cAsciiString sStream;
    sStream << "n=" << 42LL << cAsciiString("!");
    EXPECT_EQ("n=42!", str(sStream));
    EXPECT_THROW(sStream << static_cast<const char*>(nullptr), cBugException);
}
