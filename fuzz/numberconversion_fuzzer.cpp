// numberconversion_fuzzer.cpp - converts arbitrary text to integers and doubles under
// a format built from the first input bytes (base 2 to 36, digit case, leading
// blanks, base detection), through each of the three text types. The text either
// converts, the same through every type, or raises the library's exception; a
// converted value printed and parsed again gives the same value.
#include "exactbytes.h"
#include "qor_core/std/asciistring.h"
#include "qor_core/std/exception.h"
#include "qor_core/std/numberconversion.h"
#include "qor_core/ucs/string.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

using qorfuzz::cExactBytes;
using qorfuzz::check;
using qstd::cAsciiString;
using qstd::cNumberConversion;
using qstd::cNumberConversionFormat;

namespace {

bool same(long long a, long long b)
{
    return a == b;
}

/// The same double, bit for bit (so 0 and -0 differ), or both not-a-number.
bool same(double a, double b)
{
    return std::memcmp(&a, &b, sizeof(a)) == 0 || (std::isnan(a) && std::isnan(b));
}

/// The outcome of one conversion: the value, or that it was refused.
template <class T> struct tOutcome
{
    bool mbConverted = false;
    T mValue = T();

    bool operator==(const tOutcome& o) const
    {
        return mbConverted == o.mbConverted && (!mbConverted || same(mValue, o.mValue));
    }
};

template <class T, class F> tOutcome<T> attempt(F fConvert)
{
    tOutcome<T> oOutcome;
    try {
        oOutcome.mValue = fConvert();
        oOutcome.mbConverted = true;
    } catch (const qstd::cAbstractException& e) {
        check(e.liMessage() != nullptr);
    }
    return oOutcome;
}

void fuzzInteger(const cExactBytes& oText, const cAsciiString& sText, const qucs::cString& sWide,
                 const cNumberConversionFormat& oFormat)
{
    qstd::tConstArrayRef<char> oRef(oText);
    auto oBytes = attempt<long long>([&] { return cNumberConversion::fromString(oRef, oFormat); });
    auto oAscii = attempt<long long>([&] { return cNumberConversion::fromString(sText, oFormat); });
    auto oUnicode =
        attempt<long long>([&] { return cNumberConversion::fromString(sWide, oFormat); });
    check(oBytes == oAscii && oAscii == oUnicode);
    if (!oBytes.mbConverted)
        return;
    long long iValue = oBytes.mValue;
    // Printed in the format's base and parsed again. A fixed width pads with zeros
    // that base detection could read as a prefix ("0b..."), so it is only used when
    // detection is off.
    cNumberConversionFormat oPrint(oFormat);
    if (oPrint.baseDetectionEnabled())
        oPrint.setFixedWidth(0);
    cAsciiString sPrinted = cNumberConversion::toString(iValue, oPrint);
    check(cNumberConversion::fromString(sPrinted, oPrint) == iValue);
    qucs::cString sWidePrinted;
    cNumberConversion::toString(sWidePrinted, iValue, oPrint);
    check(sWidePrinted == sPrinted);
    qstd::tArray<char> oArrayPrinted;
    cNumberConversion::toString(oArrayPrinted, iValue, oPrint);
    check(oArrayPrinted.length() == sPrinted.length() &&
          std::memcmp(oArrayPrinted.data(), sPrinted.c_str(), sPrinted.length()) == 0);
    // The unsigned form of the same bits reads back as the same bits.
    cAsciiString sUnsigned = cNumberConversion::toString((unsigned long long)iValue, oPrint);
    check(cNumberConversion::fromString(sUnsigned, oPrint) == iValue);
}

void fuzzDouble(const cExactBytes& oText, const cAsciiString& sText, const qucs::cString& sWide,
                const cNumberConversionFormat& oFormat)
{
    qstd::tConstArrayRef<char> oRef(oText);
    auto oBytes =
        attempt<double>([&] { return cNumberConversion::fromStringToDouble(oRef, oFormat); });
    auto oAscii =
        attempt<double>([&] { return cNumberConversion::fromStringToDouble(sText, oFormat); });
    auto oUnicode =
        attempt<double>([&] { return cNumberConversion::fromStringToDouble(sWide, oFormat); });
    check(oBytes == oAscii && oAscii == oUnicode);
    if (!oBytes.mbConverted)
        return;
    double dValue = oBytes.mValue;
    // Every fractional digit a double can have, so that the text is exact.
    cNumberConversionFormat oPrint;
    oPrint.setPrecision(1100);
    cAsciiString sPrinted = cNumberConversion::toStringFromDouble(dValue, oPrint);
    double dAgain = cNumberConversion::fromStringToDouble(sPrinted, oPrint);
    check(dAgain == dValue || (std::isnan(dAgain) && std::isnan(dValue))); // 0 and -0 alike
    qucs::cString sWidePrinted;
    cNumberConversion::toStringFromDouble(sWidePrinted, dValue, oPrint);
    check(sWidePrinted == sPrinted);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t iSize)
{
    if (iSize < 2 || iSize > 4096)
        return 0;
    // Byte 0: base 2 to 36. Byte 1: bit 0 upper-case digits, bit 1 no leading blanks,
    // bit 2 no base detection, bit 3 doubles, bits 4-7 a fixed width.
    unsigned iBase = 2 + pData[0] % 35;
    unsigned iFlags = pData[1];
    cNumberConversionFormat oFormat(iBase);
    if (iFlags & 1)
        oFormat.setDigitCase(cNumberConversionFormat::UpperCase);
    oFormat.setIgnoreLeadingSpaces((iFlags & 2) == 0);
    oFormat.setBaseDetectionEnabled((iFlags & 4) == 0);
    oFormat.setFixedWidth(iFlags >> 4);

    cExactBytes oText(pData + 2, iSize - 2);
    cAsciiString sText(oText.data(), oText.length());
    qucs::cString sWide;
    for (unsigned i = 0; i < oText.length(); ++i)
        sWide.append((unsigned char)oText.data()[i]);
    if (iFlags & 8)
        fuzzDouble(oText, sText, sWide, oFormat);
    else
        fuzzInteger(oText, sText, sWide, oFormat);
    return 0;
}
