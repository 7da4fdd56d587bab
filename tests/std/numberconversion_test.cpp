// Tests of cNumberConversionFormat and cNumberConversion.
#include "qor_core/qor_core.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <type_traits>
#include <tuple>
#include <utility>

using namespace qstd;
using qortest::expectThrow;
using qortest::messageOf;

namespace {

const cNumberConversionFormat& standard()
{
    static cNumberConversionFormat oFormat;
    return oFormat;
}

long long parse(const char* pText, const cNumberConversionFormat& oFormat = standard())
{
    return cNumberConversion::fromString(cAsciiString(pText), oFormat);
}

double parseDouble(const char* pText)
{
    return cNumberConversion::fromStringToDouble(cAsciiString(pText), standard());
}

/// The text of a signed or unsigned number or of a double.
template <class T> std::string text(T value, const cNumberConversionFormat& oFormat = standard())
{
    if constexpr (std::is_floating_point_v<T>)
        return cNumberConversion::toStringFromDouble(value, oFormat).c_str();
    else
        return cNumberConversion::toString(value, oFormat).c_str();
}

} // namespace

TEST(NumberConversion, ParsesPrefixesSignsAndBlanks)
{
    const std::pair<const char*, long long> oTable[] = {
        {"0x1F", 31},   {"0h10", 16}, {"0b101", 5},   {"0d19", 19}, {"<16>ff", 255}, {"<36>z", 35},
        {"  -42", -42}, {"--5", 5},   {"-0x10", -16}, {"", 0},      {"007", 7}};
    for (const auto& [pText, iValue] : oTable) {
        SCOPED_TRACE(pText);
        EXPECT_EQ(iValue, parse(pText));
        EXPECT_EQ(iValue, cNumberConversion::fromString(qucs::cString(pText), standard()));
    }
    // The limits of 64 bits; the largest unsigned value reads as -1.
    EXPECT_EQ(LLONG_MAX, parse("9223372036854775807"));
    EXPECT_EQ(LLONG_MIN, parse("-9223372036854775808"));
    EXPECT_EQ(-1, parse("18446744073709551615"));
}

TEST(NumberConversion, RejectsNonDigitsWithTheirIndex)
{
    const std::pair<const char*, unsigned> oTable[] = {{"0X1F", 1}, {"12 ", 2},   {"1-2", 1},
                                                       {"+5", 0},   {"<37>1", 0}, {"0x", 1}};
    for (const auto& [pText, iIndex] : oTable) {
        SCOPED_TRACE(pText);
        const char* pCopy = pText;
        cRuntimeException e = expectThrow<cRuntimeException>([&] { parse(pCopy); });
        EXPECT_EQ("Invalid decimal number (\"" + std::string(pText) + "\"). Character at index " +
                      std::to_string(iIndex) + " not points to digit!",
                  messageOf(e));
    }
    // A sign or blanks alone leave nothing for the prefix detection.
    EXPECT_THROW(parse("-"), cOutOfRangeException);
    EXPECT_THROW(parse("   "), cOutOfRangeException);
    cNumberConversionFormat oPlain;
    oPlain.setBaseDetectionEnabled(false);
    EXPECT_EQ(0, parse("-", oPlain));
    EXPECT_THROW(parse("0x1", oPlain), cRuntimeException);
}

TEST(NumberConversion, WritesBasesWidthsAndSigns)
{
    cNumberConversionFormat oHex(16);
    EXPECT_EQ("ff", text(255ULL, oHex));
    oHex.setDigitCase(cNumberConversionFormat::UpperCase);
    oHex.setFixedWidth(4);
    EXPECT_EQ("00FF", text(255ULL, oHex));
    cNumberConversionFormat oWidth;
    oWidth.setFixedWidth(4);
    EXPECT_EQ("-005", text(-5LL, oWidth));
    EXPECT_EQ("-12345", text(-12345LL, oWidth));
    oWidth.setLeadingDigit(' ');
    EXPECT_EQ("-  5", text(-5LL, oWidth));
    EXPECT_EQ("-9223372036854775808", text(LLONG_MIN));
    cNumberConversionFormat oBinary(2);
    EXPECT_EQ(std::string(64, '1'), text(~0ULL, oBinary));
    EXPECT_EQ("0", text(0LL, oBinary));
    cNumberConversionFormat oWide;
    oWide.setFixedWidth(100);
    EXPECT_EQ(std::string(99, '0') + "7", text(7LL, oWide));
    EXPECT_EQ("-" + std::string(98, '0') + "7", text(-7LL, oWide));

    // Appending pads the number only, never what the target held.
    cAsciiString sTarget("x=");
    cNumberConversion::toString(sTarget, -5LL, oWidth);
    EXPECT_STREQ("x=-  5", sTarget.c_str());
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
        for (long long iValue : iValues)
            EXPECT_EQ(iValue, parse(text(iValue, oFormat).c_str(), oFormat)) << "base " << iBase;
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
    EXPECT_EQ("xw", text(4ULL, oFormat));
    EXPECT_EQ(27, parse("XYZ", oFormat));
    EXPECT_THROW(parse("12", oFormat), cRuntimeException);
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
    // The text, whether a prefix is found, the base and the prefix length.
    const std::tuple<const char*, bool, unsigned, unsigned> oTable[] = {
        {"0x1f", true, 16, 2},      {"0b1", true, 2, 2},         {"0x", false, 0, 0},
        {"<base:8>17", true, 8, 8}, {"<base:16>f", true, 16, 9}, {"<base:37>1", false, 0, 0},
        {"<base:8", false, 0, 0},   {"17", false, 0, 0}};
    for (const auto& [pText, bFound, iExpectedBase, iExpectedPrefix] : oTable) {
        SCOPED_TRACE(pText);
        unsigned iBase = 99, iPrefix = 99;
        EXPECT_EQ(bFound, cNumberConversionFormat::detectBase(pText, iBase, iPrefix));
        EXPECT_EQ(iExpectedBase, iBase);
        EXPECT_EQ(iExpectedPrefix, iPrefix);
    }
}

TEST(NumberConversion, Doubles)
{
    EXPECT_EQ("2", text(2.0));
    EXPECT_EQ("-0.125", text(-0.125));
    EXPECT_EQ("+inf", text(1.0 / 0.0));
    EXPECT_EQ("nan", text(0.0 / 0.0));
    cNumberConversionFormat oFormat;
    oFormat.setPrecision(0);
    EXPECT_EQ("3", text(2.5, oFormat));
    oFormat.setPrecision(3);
    oFormat.setRemoveTrailingZeros(false);
    EXPECT_EQ("1.500", text(1.5, oFormat));
    oFormat.addIntegerPart(false);
    EXPECT_EQ("500", text(1.5, oFormat));

    // Texts read as the nearest double, exactly; also the texts of the infinities.
    const std::pair<const char*, double> oParsed[] = {
        {"1.25e2", 125.0},
        {"-2.5E-1", -0.25},
        {"  +3", 3.0},
        {"", 0.0},
        {"0.3", 0.3},
        {"0.1e1", 1.0},
        {"000.000123", 0.000123},
        {"1.7976931348623157e308", DBL_MAX},
        {"4.9406564584124654e-324", 4.9406564584124654e-324},
        {"123456789012345678901234567890", 1.2345678901234568e29},
        {"1e-999999999", 0.0},
        {"1e999999999", HUGE_VAL},
        {"-inf", -HUGE_VAL},
        {"+inf", HUGE_VAL}};
    for (const auto& [pText, dValue] : oParsed) {
        SCOPED_TRACE(pText);
        EXPECT_EQ(dValue, parseDouble(pText));
    }
    EXPECT_TRUE(std::isnan(parseDouble("nan")));
    // A decimal that lies just above the halfway point between two doubles, which
    // only the digits far behind the point reveal, rounds up.
    std::string sHalfway = "9007199254740993" + std::string(800, '0') + "1e-801";
    EXPECT_EQ(9007199254740994.0, parseDouble(sHalfway.c_str()));
    EXPECT_THROW(parseDouble("1.2.3"), cRuntimeException);
    EXPECT_THROW(parseDouble("inf"), cRuntimeException);
    EXPECT_THROW(parseDouble("e5"), cRuntimeException);
    tArray<char> oText(cConstCStringRef("7.5"));
    EXPECT_DOUBLE_EQ(
        7.5, cNumberConversion::fromStringToDouble(tConstArrayRef<char>(oText), standard()));
}

TEST(NumberConversion, DoublesAreWrittenWithTheirShortestDigits)
{
    // The digits are those of the shortest text that reads back as the same double,
    // at any magnitude, so they are the same on every processor.
    EXPECT_EQ("123456789012345680000000000000", text(1.2345678901234568e29));
    EXPECT_EQ("1" + std::string(308, '0'), text(1e308));
    EXPECT_EQ("-17976931348623157" + std::string(292, '0'), text(-DBL_MAX));
    EXPECT_EQ("9007199254740994", text(9007199254740994.0));
    EXPECT_EQ("100000000000000000000000", text(1e23));
    EXPECT_EQ("1234.1", text(1234.1));
    EXPECT_EQ("123456.789", text(123456.789));
    EXPECT_EQ("0.1", text(0.1));

    // Rounding at the precision, half up, also into the integer part.
    EXPECT_EQ("0.00000000000001", text(5e-15));
    EXPECT_EQ("0", text(4.9e-15));
    EXPECT_EQ("1", text(0.999999999999995));
    cNumberConversionFormat oFormat;
    oFormat.setPrecision(2);
    EXPECT_EQ("99.99", text(99.99, oFormat));
    EXPECT_EQ("100", text(99.995, oFormat));
    EXPECT_EQ("861.63", text(861.625, oFormat)); // a tie that binary arithmetic rounds down
    oFormat.setRemoveTrailingZeros(false);
    EXPECT_EQ("-100.00", text(-99.995, oFormat));
    oFormat.setPrecision(1000); // written to 400 places
    EXPECT_EQ("0." + std::string(323, '0') + "5" + std::string(76, '0'), text(5e-324, oFormat));
}
