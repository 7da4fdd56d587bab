// Tests of cNumberConversionFormat and cNumberConversion.
#include "qor_core/qor_core.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <climits>

using namespace qstd;
using qortest::expectThrow;
using qortest::messageOf;

namespace {
const cNumberConversionFormat& standard()
{
    static cNumberConversionFormat oFormat;
    return oFormat;
}
std::string str(const cAsciiString& s)
{
    return s.c_str();
}
} // namespace

TEST(NumberConversion, ParsesPrefixesSignsAndBlanks)
{
    struct Row
    {
        const char* pText;
        long long iValue;
    };
    const Row oTable[] = {{"0x1F", 31},
                          {"0h10", 16},
                          {"0b101", 5},
                          {"0d19", 19},
                          {"<16>ff", 255},
                          {"<2>11", 3},
                          {"<36>z", 35},
                          {"  -42", -42},
                          {"--5", 5},
                          {"-0x10", -16},
                          {"", 0},
                          {"007", 7},
                          {"9223372036854775807", LLONG_MAX},
                          {"-9223372036854775808", LLONG_MIN},
                          {"18446744073709551615", -1},
                          {"12", 12}};
    for (const Row& oRow : oTable) {
        SCOPED_TRACE(oRow.pText);
        EXPECT_EQ(oRow.iValue, cNumberConversion::fromString(cAsciiString(oRow.pText), standard()));
        EXPECT_EQ(oRow.iValue,
                  cNumberConversion::fromString(qucs::cString(oRow.pText), standard()));
    }
}

TEST(NumberConversion, RejectsNonDigitsWithTheirIndex)
{
    struct Row
    {
        const char* pText;
        unsigned iIndex;
    };
    const Row oTable[] = {{"0X1F", 1}, {"12 ", 2}, {"1-2", 1}, {"+5", 0}, {"<37>1", 0}, {"0x", 1}};
    for (const Row& oRow : oTable) {
        SCOPED_TRACE(oRow.pText);
        cRuntimeException e = expectThrow<cRuntimeException>(
            [&] { cNumberConversion::fromString(cAsciiString(oRow.pText), standard()); });
        EXPECT_EQ("Invalid decimal number (\"" + std::string(oRow.pText) +
                      "\"). Character at index " + std::to_string(oRow.iIndex) +
                      " not points to digit!",
                  messageOf(e));
    }
    // A sign or blanks alone leave nothing for the prefix detection.
    EXPECT_THROW(cNumberConversion::fromString(cAsciiString("-"), standard()),
                 cOutOfRangeException);
    EXPECT_THROW(cNumberConversion::fromString(cAsciiString("   "), standard()),
                 cOutOfRangeException);
    cNumberConversionFormat oPlain;
    oPlain.setBaseDetectionEnabled(false);
    EXPECT_EQ(0, cNumberConversion::fromString(cAsciiString("-"), oPlain));
    EXPECT_THROW(cNumberConversion::fromString(cAsciiString("0x1"), oPlain), cRuntimeException);
}

TEST(NumberConversion, WritesBasesWidthsAndSigns)
{
    cNumberConversionFormat oHex(16);
    EXPECT_EQ("ff", str(cNumberConversion::toString(255ULL, oHex)));
    oHex.setDigitCase(cNumberConversionFormat::UpperCase);
    EXPECT_EQ("FF", str(cNumberConversion::toString(255ULL, oHex)));
    oHex.setFixedWidth(4);
    EXPECT_EQ("00FF", str(cNumberConversion::toString(255ULL, oHex)));
    cNumberConversionFormat oWidth;
    oWidth.setFixedWidth(4);
    EXPECT_EQ("-005", str(cNumberConversion::toString(-5LL, oWidth)));
    EXPECT_EQ("-12345", str(cNumberConversion::toString(-12345LL, oWidth)));
    oWidth.setLeadingDigit(' ');
    EXPECT_EQ("-  5", str(cNumberConversion::toString(-5LL, oWidth)));
    EXPECT_EQ("-9223372036854775808", str(cNumberConversion::toString(LLONG_MIN, standard())));
    cNumberConversionFormat oBinary(2);
    EXPECT_EQ(std::string(64, '1'), str(cNumberConversion::toString(~0ULL, oBinary)));
    EXPECT_EQ("0", str(cNumberConversion::toString(0LL, oBinary)));
    cNumberConversionFormat oWide;
    oWide.setFixedWidth(100);
    EXPECT_EQ(std::string(99, '0') + "7", str(cNumberConversion::toString(7LL, oWide)));
    EXPECT_EQ("-" + std::string(98, '0') + "7", str(cNumberConversion::toString(-7LL, oWide)));

    // Appending pads the number only, never what the target held.
    cAsciiString sTarget("x=");
    cNumberConversion::toString(sTarget, -5LL, oWidth);
    EXPECT_EQ("x=-  5", str(sTarget));
    tArray<char> oBytes;
    cNumberConversion::toString(oBytes, 42ULL, standard());
    EXPECT_EQ("42", std::string(oBytes.data(), oBytes.length()));
    qucs::cString sWide("n");
    cNumberConversion::toString(sWide, -3LL, standard());
    EXPECT_TRUE(sWide == "n-3");
}

TEST(NumberConversion, RoundTripsEveryBase)
{
    const long long iValues[] = {0, 1, -1, 35, 36, 1234567890123LL, LLONG_MAX, LLONG_MIN + 1};
    for (unsigned iBase = 2; iBase <= 36; ++iBase) {
        cNumberConversionFormat oFormat(iBase);
        oFormat.setBaseDetectionEnabled(false);
        for (long long iValue : iValues) {
            SCOPED_TRACE(testing::Message() << iValue << " base " << iBase);
            EXPECT_EQ(iValue, cNumberConversion::fromString(
                                  cNumberConversion::toString(iValue, oFormat), oFormat));
        }
    }
}

TEST(NumberConversion, CustomDigitSymbols)
{
    cNumberConversionFormat oFormat(4);
    oFormat.setBaseDetectionEnabled(false);
    const char* pSymbols = "wxyz";
    for (unsigned i = 0; i < 4; ++i)
        oFormat.setDigitSymbol(i, pSymbols[i]);
    EXPECT_FALSE(oFormat.hasStandardDigitSymbols());
    EXPECT_EQ("xw", str(cNumberConversion::toString(4ULL, oFormat)));
    EXPECT_EQ(27, cNumberConversion::fromString(cAsciiString("XYZ"), oFormat));
    EXPECT_THROW(cNumberConversion::fromString(cAsciiString("12"), oFormat), cRuntimeException);
    cOutOfRangeException e =
        expectThrow<cOutOfRangeException>([&] { oFormat.setDigitSymbol(37, 'a'); });
    EXPECT_EQ(
        "Index out of range in DigitSymbols / at. The index should be between 0 - 36 but is 37!",
        messageOf(e));
    oFormat.setDigitCase(cNumberConversionFormat::LowerCase); // custom symbols are lost
    EXPECT_TRUE(oFormat.hasStandardDigitSymbols());
    cRuntimeException oBase = expectThrow<cRuntimeException>([&] { oFormat.setBase(1); });
    EXPECT_EQ("Invalid base for a decimal. The base must be between 2 and 36 but is 1!",
              messageOf(oBase));
}

TEST(NumberConversion, DetectBase)
{
    struct Row
    {
        const char* pText;
        bool bFound;
        unsigned iBase, iPrefix;
    };
    const Row oTable[] = {{"0x1f", true, 16, 2},       {"0b1", true, 2, 2},
                          {"0x", false, 0, 0},         {"<base:8>17", true, 8, 8},
                          {"<base:16>f", true, 16, 9}, {"<base:37>1", false, 0, 0},
                          {"<base:8", false, 0, 0},    {"17", false, 0, 0}};
    for (const Row& oRow : oTable) {
        SCOPED_TRACE(oRow.pText);
        unsigned iBase = 99, iPrefix = 99;
        EXPECT_EQ(oRow.bFound, cNumberConversionFormat::detectBase(oRow.pText, iBase, iPrefix));
        EXPECT_EQ(oRow.iBase, iBase);
        EXPECT_EQ(oRow.iPrefix, iPrefix);
    }
}

TEST(NumberConversion, Doubles)
{
    EXPECT_EQ("2", str(cNumberConversion::toStringFromDouble(2.0, standard())));
    EXPECT_EQ("-0.125", str(cNumberConversion::toStringFromDouble(-0.125, standard())));
    EXPECT_EQ("+inf", str(cNumberConversion::toStringFromDouble(1.0 / 0.0, standard())));
    EXPECT_EQ("nan", str(cNumberConversion::toStringFromDouble(0.0 / 0.0, standard())));
    cNumberConversionFormat oFormat;
    oFormat.setPrecision(0);
    EXPECT_EQ("3", str(cNumberConversion::toStringFromDouble(2.5, oFormat)));
    oFormat.setPrecision(3);
    oFormat.setRemoveTrailingZeros(false);
    EXPECT_EQ("1.500", str(cNumberConversion::toStringFromDouble(1.5, oFormat)));
    oFormat.addIntegerPart(false);
    EXPECT_EQ("500", str(cNumberConversion::toStringFromDouble(1.5, oFormat)));

    EXPECT_DOUBLE_EQ(125.0,
                     cNumberConversion::fromStringToDouble(cAsciiString("1.25e2"), standard()));
    EXPECT_DOUBLE_EQ(-0.25,
                     cNumberConversion::fromStringToDouble(cAsciiString("-2.5E-1"), standard()));
    EXPECT_DOUBLE_EQ(3.0, cNumberConversion::fromStringToDouble(cAsciiString("  +3"), standard()));
    EXPECT_DOUBLE_EQ(0.0, cNumberConversion::fromStringToDouble(cAsciiString(""), standard()));
    tArray<char> oText(cConstCStringRef("7.5"));
    EXPECT_DOUBLE_EQ(
        7.5, cNumberConversion::fromStringToDouble(tConstArrayRef<char>(oText), standard()));
    EXPECT_THROW(cNumberConversion::fromStringToDouble(cAsciiString("1.2.3"), standard()),
                 cRuntimeException);
    EXPECT_THROW(cNumberConversion::fromStringToDouble(cAsciiString("e5"), standard()),
                 cRuntimeException);
    EXPECT_EQ(0.0, cNumberConversion::fromStringToDouble(cAsciiString("1e-999999999"), standard()));
}
