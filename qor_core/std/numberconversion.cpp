// numberconversion.cpp - number formats and the conversions between numbers and text.
// SPDX-License-Identifier: MIT
#include "qor_core/std/numberconversion.h"
#include "qor_core/std/asciistring.h"
#include "qor_core/ucs/string.h"

#include <cmath>

namespace qstd {

namespace {
const char kLowerDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
const char kUpperDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

char upper(unsigned iChar)
{
    return (iChar >= 'a' && iChar <= 'z') ? char(iChar - 'a' + 'A') : char(iChar);
}

/// Reads character iIndex of either text type as an unsigned value.
unsigned charAt(const cAsciiString& sText, unsigned iIndex)
{
    return (unsigned char)sText[iIndex];
}
unsigned charAt(const qucs::cString& sText, unsigned iIndex) { return sText[iIndex]; }

[[noreturn]] void throwInvalid(const cAsciiString& sText, unsigned iIndex)
{
    cSTDExceptions::throwInvalidDecimal(qucs::cString(sText, '?'), iIndex);
}
[[noreturn]] void throwInvalid(const qucs::cString& sText, unsigned iIndex)
{
    cSTDExceptions::throwInvalidDecimal(sText, iIndex);
}

/// Integer parser shared by both text types.
template <class S>
long long parseInteger(const S& sText, const cNumberConversionFormat& oFormat)
{
    unsigned iLength = sText.length();
    if (iLength == 0)
        return 0;
    unsigned i = 0;
    if (oFormat.ignoreLeadingSpaces())
        while (i < iLength && charAt(sText, i) == ' ')
            ++i;
    long long iSign = 1;
    if (i < iLength && charAt(sText, i) == '-') {
        iSign = -iSign;
        ++i;
    }
    unsigned iBase = oFormat.base();
    if (oFormat.baseDetectionEnabled()) {
        if (i >= iLength)
            cSTDExceptions::throwOutOfRange("tArray", "cut", cSTDExceptions::Index, i, 0,
                                            iLength - 1);
        unsigned iRest = iLength - i;
        if (iRest >= 3 && charAt(sText, i) == '0') {
            unsigned c = charAt(sText, i + 1);
            unsigned iDetected = c == 'x' || c == 'h' ? 16 : c == 'd' ? 10 : c == 'b' ? 2 : 0;
            if (iDetected) {
                iBase = iDetected;
                i += 2;
            }
        } else if (iRest >= 3 && charAt(sText, i) == '<') {
            unsigned j = i + 1, n = 0, iDigits = 0;
            while (j < iLength && iDigits < 2 && charAt(sText, j) >= '0' && charAt(sText, j) <= '9') {
                n = n * 10 + (charAt(sText, j) - '0');
                ++j;
                ++iDigits;
            }
            if (iDigits > 0 && j < iLength && charAt(sText, j) == '>' && n >= 1 && n <= 36) {
                iBase = n;
                i = j + 1;
            }
        }
    }
    const char* pSymbols = oFormat.getDigitSymbolSet();
    unsigned long long iValue = 0;
    bool bDigitSeen = false;
    for (; i < iLength; ++i) {
        unsigned c = charAt(sText, i);
        if (c == '-' && !bDigitSeen) {
            iSign = -iSign;
            continue;
        }
        unsigned iDigit = 0;
        while (iDigit < iBase && upper((unsigned char)pSymbols[iDigit]) != upper(c))
            ++iDigit;
        if (iDigit >= iBase || c > 0xff)
            throwInvalid(sText, i);
        iValue = iValue * iBase + iDigit;
        bDigitSeen = true;
    }
    return (long long)(iValue * (unsigned long long)iSign);
}

/// Double parser shared by both text types.
template <class S>
double parseDouble(const S& sText, const cNumberConversionFormat& oFormat)
{
    unsigned iLength = sText.length();
    unsigned i = 0;
    if (oFormat.ignoreLeadingSpaces())
        while (i < iLength && charAt(sText, i) == ' ')
            ++i;
    bool bNegative = false, bDigits = false, bFraction = false, bExponent = false;
    bool bNegativeExponent = false;
    double dValue = 0, dFactor = 1;
    unsigned long long iExponent = 0;
    for (; i < iLength; ++i) {
        unsigned c = charAt(sText, i);
        if (c >= '0' && c <= '9') {
            if (bExponent)
                iExponent = iExponent * 10 + (c - '0');
            else if (bFraction)
                dValue += (c - '0') * (dFactor *= 0.1);
            else
                dValue = dValue * 10 + (c - '0');
            bDigits = true;
        } else if (!bDigits && !bExponent && c == '-') {
            bNegative = !bNegative;
        } else if (!bDigits && !bExponent && c == '+') {
        } else if (c == '.' && !bFraction && !bExponent) {
            bFraction = true;
        } else if ((c == 'e' || c == 'E') && bDigits && !bExponent) {
            bExponent = true;
        } else if (bExponent && c == '-') {
            bNegativeExponent = !bNegativeExponent;
        } else if (bExponent && c == '+') {
        } else {
            throwInvalid(sText, i);
        }
    }
    if (bNegative)
        dValue = -dValue;
    double dPower = 1, dBase = bNegativeExponent ? 0.1 : 10;
    for (; iExponent; iExponent >>= 1, dBase *= dBase)
        if (iExponent & 1)
            dPower *= dBase;
    return dValue * dPower;
}

/// Appends the digits of iValue (and a leading "-") to a fresh ASCII string.
cAsciiString integerText(unsigned long long iValue, bool bNegative,
                         const cNumberConversionFormat& oFormat)
{
    char cDigits[66];
    unsigned iCount = 0;
    do {
        cDigits[iCount++] = oFormat.digitChar(unsigned(iValue % oFormat.base()));
        iValue /= oFormat.base();
    } while (iValue);
    cAsciiString sText;
    if (bNegative)
        sText += '-';
    while (iCount)
        sText += cDigits[--iCount];
    unsigned iUnpadded = sText.length();
    if (oFormat.fixedWidth() > iUnpadded) {
        sText.rightAdjust(oFormat.fixedWidth(), oFormat.leadingDigit());
        if (bNegative) {
            sText[oFormat.fixedWidth() - iUnpadded] = oFormat.leadingDigit();
            sText[0] = '-';
        }
    }
    return sText;
}

cAsciiString doubleText(double dValue, const cNumberConversionFormat& oFormat)
{
    cAsciiString sText;
    if (std::isnan(dValue))
        return cAsciiString("nan");
    if (std::isinf(dValue))
        return cAsciiString(dValue < 0 ? "-inf" : "+inf");
    if (dValue < 0) {
        if (oFormat.isAddIntegerPart())
            sText += '-';
        dValue = -dValue;
    }
    dValue += 0.5 * std::pow(10.0, -double(oFormat.precision()));
    double dInteger = std::floor(dValue);
    double dFraction = dValue - dInteger;
    if (oFormat.isAddIntegerPart()) {
        char cDigits[400];
        unsigned iCount = 0;
        do {
            double dNext = std::floor(dInteger / 10);
            cDigits[iCount++] = char('0' + int(dInteger - dNext * 10));
            dInteger = dNext;
        } while (dInteger >= 1 && iCount < sizeof(cDigits));
        while (iCount)
            sText += cDigits[--iCount];
    }
    if (oFormat.isAddFractionalPart() && oFormat.precision() != 0) {
        if (oFormat.isAddIntegerPart())
            sText += '.';
        unsigned iFractionStart = sText.length();
        for (unsigned i = 0; i < oFormat.precision(); ++i) {
            dFraction *= 10;
            int iDigit = int(dFraction);
            if (iDigit > 9)
                iDigit = 9;
            sText += char('0' + iDigit);
            dFraction -= iDigit;
        }
        if (oFormat.isRemoveTrainlingZeros()) {
            unsigned iEnd = sText.length();
            while (iEnd > iFractionStart && sText[iEnd - 1] == '0')
                --iEnd;
            if (iEnd == iFractionStart && oFormat.isAddIntegerPart())
                --iEnd; // the point goes with the zeros
            sText.truncate(iEnd);
        }
    }
    return sText;
}

void appendWide(qucs::cString& sTarget, const cAsciiString& sText)
{
    sTarget += qucs::cString(sText, '?');
}
} // namespace

cNumberConversionFormat::cNumberConversionFormat(unsigned iBase)
    : miBase(10), miFixedWidth(0), mcLeadingDigit('0'), meDigitCase(LowerCase),
      mbIgnoreLeadingSpaces(true), mbBaseDetection(true), miPrecision(14),
      mbRemoveTrailingZeros(true), mbAddIntegerPart(true), mbAddFractionalPart(true)
{
    for (unsigned i = 0; i < 37; ++i)
        mcDigitSymbols[i] = kLowerDigits[i];
    setBase(iBase);
}

cNumberConversionFormat::~cNumberConversionFormat() {}

cNumberConversionFormat& cNumberConversionFormat::getGlobalDefaultNumberConversionFormat()
{
    static cNumberConversionFormat oDefault(10);
    return oDefault;
}

void cNumberConversionFormat::setBase(unsigned iBase)
{
    if (iBase < 2 || iBase > 36)
        cSTDExceptions::throwInvalidDecimalBase(int(iBase), 2, 36);
    miBase = iBase;
}

void cNumberConversionFormat::setDigitCase(DigitCase eCase)
{
    meDigitCase = eCase == UpperCase ? UpperCase : LowerCase;
    const char* pSet = eCase == UpperCase ? kUpperDigits : kLowerDigits;
    for (unsigned i = 0; i < 37; ++i)
        mcDigitSymbols[i] = pSet[i];
}

char cNumberConversionFormat::digitChar(unsigned iIndex) const
{
    if (iIndex >= 37)
        cSTDExceptions::throwOutOfRange("DigitSymbols", "at", cSTDExceptions::Index, iIndex, 0, 36);
    return mcDigitSymbols[iIndex];
}

void cNumberConversionFormat::setDigitSymbol(unsigned iIndex, char cSymbol)
{
    if (iIndex >= 37)
        cSTDExceptions::throwOutOfRange("DigitSymbols", "at", cSTDExceptions::Index, iIndex, 0, 36);
    mcDigitSymbols[iIndex] = cSymbol;
}

void cNumberConversion::toString(cAsciiString& sTarget, unsigned long long iValue,
                                 const cNumberConversionFormat& oFormat)
{
    sTarget += integerText(iValue, false, oFormat);
}

void cNumberConversion::toString(cAsciiString& sTarget, long long iValue,
                                 const cNumberConversionFormat& oFormat)
{
    bool bNegative = iValue < 0;
    unsigned long long iMagnitude = bNegative ? 0ULL - (unsigned long long)iValue : iValue;
    sTarget += integerText(iMagnitude, bNegative, oFormat);
}

void cNumberConversion::toString(qucs::cString& sTarget, unsigned long long iValue,
                                 const cNumberConversionFormat& oFormat)
{
    appendWide(sTarget, toString(iValue, oFormat));
}

void cNumberConversion::toString(qucs::cString& sTarget, long long iValue,
                                 const cNumberConversionFormat& oFormat)
{
    appendWide(sTarget, toString(iValue, oFormat));
}

cAsciiString cNumberConversion::toString(unsigned long long iValue,
                                         const cNumberConversionFormat& oFormat)
{
    cAsciiString sText;
    toString(sText, iValue, oFormat);
    return sText;
}

cAsciiString cNumberConversion::toString(long long iValue, const cNumberConversionFormat& oFormat)
{
    cAsciiString sText;
    toString(sText, iValue, oFormat);
    return sText;
}

long long cNumberConversion::fromString(const cAsciiString& sText,
                                        const cNumberConversionFormat& oFormat)
{
    return parseInteger(sText, oFormat);
}

long long cNumberConversion::fromString(const qucs::cString& sText,
                                        const cNumberConversionFormat& oFormat)
{
    return parseInteger(sText, oFormat);
}

double cNumberConversion::fromStringToDouble(const cAsciiString& sText,
                                             const cNumberConversionFormat& oFormat)
{
    return parseDouble(sText, oFormat);
}

double cNumberConversion::fromStringToDouble(const qucs::cString& sText,
                                             const cNumberConversionFormat& oFormat)
{
    return parseDouble(sText, oFormat);
}

void cNumberConversion::toStringFromDouble(cAsciiString& sTarget, double dValue,
                                           const cNumberConversionFormat& oFormat)
{
    sTarget += doubleText(dValue, oFormat);
}

void cNumberConversion::toStringFromDouble(qucs::cString& sTarget, double dValue,
                                           const cNumberConversionFormat& oFormat)
{
    appendWide(sTarget, doubleText(dValue, oFormat));
}

cAsciiString cNumberConversion::toStringFromDouble(double dValue,
                                                   const cNumberConversionFormat& oFormat)
{
    return doubleText(dValue, oFormat);
}

} // namespace qstd
