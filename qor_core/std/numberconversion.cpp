// numberconversion.cpp - number formats and the conversions between numbers and text.
// SPDX-License-Identifier: MIT
#include "qor_core/std/numberconversion.h"
#include "qor_core/pi/system.h"
#include "qor_core/std/asciistring.h"
#include "qor_core/ucs/string.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace qstd {

namespace {

const char kLowerDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
const char kUpperDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// Longest integer text: 64 binary digits and a sign.
const unsigned kIntegerBuffer = 72;

unsigned upperOf(unsigned iChar)
{
    return iChar >= 'a' && iChar <= 'z' ? iChar - 32 : iChar;
}

/// Value of a digit under the standard symbols, case-insensitive; 99 for none.
unsigned standardDigitValue(unsigned iChar)
{
    if (iChar >= '0' && iChar <= '9')
        return iChar - '0';
    iChar = upperOf(iChar);
    if (iChar >= 'A' && iChar <= 'Z')
        return iChar - 'A' + 10;
    return 99;
}

/// Value of a digit under the format's symbols, compared in upper case; 99 for none.
unsigned digitValue(unsigned iChar, unsigned iBase, const cNumberConversionFormat& oFormat)
{
    if (oFormat.hasStandardDigitSymbols())
        return standardDigitValue(iChar);
    if (iChar > 0xff)
        return 99;
    const char* pSymbols = oFormat.getDigitSymbolSet();
    for (unsigned i = 0; i < iBase; ++i)
        if (upperOf((unsigned char)pSymbols[i]) == upperOf(iChar))
            return i;
    return 99;
}

/// A text of either width as pointer and length.
struct cCharsRef
{
    const char* mpBytes;    ///< set for 8-bit texts
    const unsigned* mpWide; ///< set for Unicode texts
    unsigned miLength;

    unsigned at(unsigned i) const { return mpBytes ? (unsigned char)mpBytes[i] : mpWide[i]; }

    [[noreturn]] void throwInvalid(unsigned iIndex) const
    {
        qucs::cString sText;
        if (mpBytes)
            sText.appendC(mpBytes, miLength);
        else if (miLength)
            sText.append(mpWide, miLength);
        cSTDExceptions::throwInvalidDecimal(sText, iIndex);
    }
};

cCharsRef charsOf(const tConstArrayRef<char>& oText)
{
    return cCharsRef{oText.length() ? oText.constData() : "", nullptr, oText.length()};
}
cCharsRef charsOf(const cAsciiString& sText)
{
    return cCharsRef{sText.c_str(), nullptr, sText.length()};
}
cCharsRef charsOf(const qucs::cString& sText)
{
    return cCharsRef{nullptr, sText.data(true), sText.length()};
}

long long parseInteger(const cCharsRef& oText, const cNumberConversionFormat& oFormat)
{
    unsigned iLength = oText.miLength;
    if (iLength == 0)
        return 0;
    unsigned i = 0;
    if (oFormat.ignoreLeadingSpaces())
        while (i < iLength && oText.at(i) == ' ')
            ++i;
    bool bNegative = false;
    if (i < iLength && oText.at(i) == '-') {
        bNegative = true;
        ++i;
    }
    unsigned iBase = oFormat.base();
    if (oFormat.baseDetectionEnabled()) {
        if (i >= iLength)
            cSTDExceptions::throwOutOfRange("tArray", "cut", cSTDExceptions::Index, i, 0,
                                            iLength - 1);
        unsigned iRest = iLength - i;
        unsigned c0 = oText.at(i);
        if (iRest >= 3 && c0 == '0') {
            unsigned c1 = oText.at(i + 1);
            unsigned iDetected = c1 == 'x' || c1 == 'h' ? 16 : c1 == 'd' ? 10 : c1 == 'b' ? 2 : 0;
            if (iDetected) {
                iBase = iDetected;
                i += 2;
            }
        } else if (iRest >= 3 && c0 == '<') {
            unsigned j = i + 1, n = 0;
            while (j < iLength && j < i + 3 && oText.at(j) >= '0' && oText.at(j) <= '9')
                n = n * 10 + (oText.at(j++) - '0');
            if (j > i + 1 && j < iLength && oText.at(j) == '>' && n >= 1 && n <= 36) {
                iBase = n;
                i = j + 1;
            }
        }
    }
    unsigned long long iValue = 0;
    bool bDigitSeen = false;
    if (oText.mpBytes && iBase == 10 && oFormat.hasStandardDigitSymbols()) {
        // Plain decimal digits; anything else is left to the general loop below.
        const unsigned char* p = reinterpret_cast<const unsigned char*>(oText.mpBytes);
        for (; i < iLength; ++i) {
            unsigned iDigit = unsigned(p[i]) - '0';
            if (iDigit > 9)
                break;
            iValue = iValue * 10 + iDigit;
            bDigitSeen = true;
        }
    }
    for (; i < iLength; ++i) {
        unsigned c = oText.at(i);
        if (c == '-' && !bDigitSeen) {
            bNegative = !bNegative;
            continue;
        }
        unsigned iDigit = digitValue(c, iBase, oFormat);
        if (iDigit >= iBase)
            oText.throwInvalid(i);
        iValue = iValue * iBase + iDigit;
        bDigitSeen = true;
    }
    return (long long)(bNegative ? 0ULL - iValue : iValue);
}

/// Significant digits kept by the double parser. The exact decimal value of a double,
/// and of every point halfway between two of them, has at most 767 significant
/// digits; the digits beyond the kept ones only tell whether anything non-zero
/// follows, which one more digit records.
const unsigned kKeptDigits = 780;

/// True when the rest of the text from iFrom is exactly pWord.
bool restIs(const cCharsRef& oText, unsigned iFrom, const char* pWord)
{
    unsigned iWord = unsigned(std::strlen(pWord));
    if (oText.miLength - iFrom != iWord)
        return false;
    for (unsigned k = 0; k < iWord; ++k)
        if (oText.at(iFrom + k) != (unsigned char)pWord[k])
            return false;
    return true;
}

/// Decimal text to double. The grammar is that of the format (blanks, signs, digits,
/// point, exponent); the value is the double nearest to the decimal number the text
/// writes, so that every double's text reads back as the same double. Summing digit
/// by digit in floating point would instead lose a bit here and there (0.3 would
/// read as 0.30000000000000004). The texts written for infinities and not-a-number
/// read back as those values.
double parseDouble(const cCharsRef& oText, const cNumberConversionFormat& oFormat)
{
    unsigned iLength = oText.miLength;
    unsigned i = 0;
    if (oFormat.ignoreLeadingSpaces())
        while (i < iLength && oText.at(i) == ' ')
            ++i;
    if (restIs(oText, i, "+inf"))
        return HUGE_VAL;
    if (restIs(oText, i, "-inf"))
        return -HUGE_VAL;
    if (restIs(oText, i, "nan"))
        return std::nan("");
    bool bNegative = false, bDigits = false, bFraction = false, bExponent = false;
    bool bNegativeExponent = false;
    // The number is 0.cDigits x 10^iPoint, cDigits without leading zeros.
    char cText[kKeptDigits + 32];
    char* const pDigits = cText + 2;
    unsigned iDigits = 0;
    long long iPoint = 0;
    bool bMoreNonZero = false; // a non-zero digit beyond the kept ones
    long long iExponent = 0;
    for (; i < iLength; ++i) {
        unsigned c = oText.at(i);
        if (c >= '0' && c <= '9') {
            if (bExponent) {
                if (iExponent < 10000000000LL) // far beyond any double; no overflow
                    iExponent = iExponent * 10 + (c - '0');
            } else if (c == '0' && iDigits == 0) {
                if (bFraction)
                    --iPoint; // a leading zero of the fraction
            } else {
                if (iDigits < kKeptDigits)
                    pDigits[iDigits++] = char(c);
                else if (c != '0')
                    bMoreNonZero = true;
                if (!bFraction)
                    ++iPoint;
            }
            bDigits = true;
        } else if (!bDigits && !bExponent && (c == '-' || c == '+')) {
            if (c == '-')
                bNegative = !bNegative;
        } else if (c == '.' && !bFraction && !bExponent) {
            bFraction = true;
        } else if ((c == 'e' || c == 'E') && bDigits && !bExponent) {
            bExponent = true;
        } else if (bExponent && (c == '-' || c == '+')) {
            if (c == '-')
                bNegativeExponent = !bNegativeExponent;
        } else {
            oText.throwInvalid(i);
        }
    }
    double dValue = 0;
    if (iDigits != 0) {
        if (bMoreNonZero)
            pDigits[iDigits++] = '1';
        long long iScale = iPoint + (bNegativeExponent ? -iExponent : iExponent);
        if (iScale > 400) {
            dValue = HUGE_VAL;
        } else if (iScale >= -400) {
            cText[0] = '0';
            cText[1] = '.';
            char* pEnd = pDigits + iDigits;
            *pEnd++ = 'e';
            pEnd = std::to_chars(pEnd, cText + sizeof(cText), iScale).ptr;
            std::from_chars_result oResult = std::from_chars(cText, pEnd, dValue);
            if (oResult.ec == std::errc::result_out_of_range)
                dValue = iScale > 0 ? HUGE_VAL : 0.0; // beyond the largest or below the smallest
        }
    }
    return bNegative ? -dValue : dValue;
}

/// Writes the text of an integer into pBuffer (kIntegerBuffer bytes) and returns its
/// length: digits most significant first, a leading "-" for negative values, padded
/// to the fixed width with the sign kept in front.
unsigned integerText(char* pBuffer, unsigned long long iMagnitude, bool bNegative,
                     const cNumberConversionFormat& oFormat)
{
    char cDigits[kIntegerBuffer];
    unsigned iCount = 0;
    unsigned iBase = oFormat.base();
    const char* pSymbols = oFormat.getDigitSymbolSet();
    if (iBase == 10 && oFormat.hasStandardDigitSymbols()) {
        // Two digits per division; the digits are the same as one at a time.
        static const char kPairs[] = "00010203040506070809101112131415161718192021222324"
                                     "25262728293031323334353637383940414243444546474849"
                                     "50515253545556575859606162636465666768697071727374"
                                     "75767778798081828384858687888990919293949596979899";
        while (iMagnitude >= 100) {
            unsigned iPair = unsigned(iMagnitude % 100) * 2;
            iMagnitude /= 100;
            cDigits[iCount++] = kPairs[iPair + 1];
            cDigits[iCount++] = kPairs[iPair];
        }
        if (iMagnitude >= 10) {
            unsigned iPair = unsigned(iMagnitude) * 2;
            cDigits[iCount++] = kPairs[iPair + 1];
            cDigits[iCount++] = kPairs[iPair];
        } else {
            cDigits[iCount++] = char('0' + iMagnitude);
        }
    } else if (iBase == 10) {
        do {
            cDigits[iCount++] = pSymbols[iMagnitude % 10];
            iMagnitude /= 10;
        } while (iMagnitude);
    } else {
        do {
            cDigits[iCount++] = pSymbols[iMagnitude % iBase];
            iMagnitude /= iBase;
        } while (iMagnitude);
    }
    unsigned iLength = 0;
    if (bNegative)
        pBuffer[iLength++] = '-';
    unsigned iWidth = oFormat.fixedWidth();
    unsigned iUnpadded = iLength + iCount;
    if (iWidth > iUnpadded) {
        // Padding goes between the sign and the digits: -5 in width 4 reads -005.
        unsigned iPad = iWidth - iUnpadded;
        if (iWidth > kIntegerBuffer - 1)
            iPad = kIntegerBuffer - 1 - iUnpadded;
        for (unsigned k = 0; k < iPad; ++k)
            pBuffer[iLength++] = oFormat.leadingDigit();
    }
    while (iCount)
        pBuffer[iLength++] = cDigits[--iCount];
    return iLength;
}

/// Appends the text of a fixed-width number whose width exceeds the buffer.
template <class T>
void appendPadding(T& oTarget, unsigned iWidth, unsigned iWritten, char cFill, unsigned iAt)
{
    if (iWidth <= iWritten)
        return;
    unsigned iMore = iWidth - iWritten;
    oTarget.proxyInsertDefaultObjects(iAt, iMore);
    for (unsigned k = 0; k < iMore; ++k)
        oTarget[iAt + k] = (unsigned char)cFill;
}

template <class T>
void appendInteger(T& oTarget, unsigned long long iMagnitude, bool bNegative,
                   const cNumberConversionFormat& oFormat)
{
    char cBuffer[kIntegerBuffer];
    unsigned iLength = integerText(cBuffer, iMagnitude, bNegative, oFormat);
    unsigned iStart = oTarget.length();
    unsigned iAt = oTarget.appendElements(iLength);
    for (unsigned k = 0; k < iLength; ++k)
        oTarget[iAt + k] = (unsigned char)cBuffer[k];
    appendPadding(oTarget, oFormat.fixedWidth(), iLength, oFormat.leadingDigit(),
                  iStart + (bNegative ? 1 : 0));
}

unsigned long long magnitude(long long iValue)
{
    return iValue < 0 ? 0ULL - (unsigned long long)iValue : (unsigned long long)iValue;
}

/// Fractional digits written at most; no double has digits below that place.
const unsigned kMaxFractionDigits = 400;

/// The decimal digits of a finite, non-negative double: the value is
/// 0.mcDigits[0..miCount) x 10^(miExponent + 1), that is mcDigits[0] stands at the
/// place 10^miExponent. No digits means zero.
struct cDecimalDigits
{
    char mcDigits[32];
    unsigned miCount;
    int miExponent;

    /// The digits of the shortest text that reads back as dValue (the one nearest
    /// to it when several are as short). They come from the value alone, not from
    /// floating-point arithmetic, so they are the same on every processor.
    explicit cDecimalDigits(double dValue) : miCount(0), miExponent(0)
    {
        if (dValue == 0)
            return;
        char cText[40];
        char* pEnd =
            std::to_chars(cText, cText + sizeof(cText), dValue, std::chars_format::scientific).ptr;
        const char* p = cText;
        for (; p < pEnd && *p != 'e'; ++p)
            if (*p != '.')
                mcDigits[miCount++] = *p;
        bool bNegative = p + 1 < pEnd && p[1] == '-';
        int iExponent = 0;
        for (p += 2; p < pEnd; ++p)
            iExponent = iExponent * 10 + (*p - '0');
        miExponent = bNegative ? -iExponent : iExponent;
        while (miCount > 0 && mcDigits[miCount - 1] == '0')
            --miCount;
    }

    /// Rounds half up to the place 10^-iPrecision.
    void roundTo(unsigned iPrecision)
    {
        long long iKeep = (long long)miExponent + iPrecision + 1; // digits at or above the place
        if (iKeep >= (long long)miCount)
            return;
        if (iKeep < 0) { // below half a unit of the place
            miCount = 0;
            return;
        }
        bool bUp = mcDigits[iKeep] >= '5';
        miCount = unsigned(iKeep);
        if (bUp) {
            unsigned i = miCount;
            while (i > 0 && mcDigits[i - 1] == '9')
                --i;
            if (i > 0) {
                ++mcDigits[i - 1];
                miCount = i;
            } else { // 9...9 becomes 1 at the next higher place
                mcDigits[0] = '1';
                miCount = 1;
                ++miExponent;
            }
        }
        while (miCount > 0 && mcDigits[miCount - 1] == '0')
            --miCount;
    }

    /// The digit at the place 10^iPlace.
    char at(long long iPlace) const
    {
        long long i = (long long)miExponent - iPlace;
        return i >= 0 && i < (long long)miCount ? mcDigits[i] : '0';
    }
};

cAsciiString doubleText(double dValue, const cNumberConversionFormat& oFormat)
{
    if (std::isnan(dValue))
        return cAsciiString("nan");
    if (std::isinf(dValue))
        return cAsciiString(dValue < 0 ? "-inf" : "+inf");
    // Sign, 309 integer digits, the point and the fractional digits.
    char cText[1 + 309 + 1 + kMaxFractionDigits];
    unsigned iLength = 0;
    if (dValue < 0) {
        if (oFormat.isAddIntegerPart())
            cText[iLength++] = '-';
        dValue = -dValue;
    }
    unsigned iPrecision =
        oFormat.precision() > kMaxFractionDigits ? kMaxFractionDigits : oFormat.precision();
    cDecimalDigits oDigits(dValue);
    oDigits.roundTo(iPrecision);
    if (oFormat.isAddIntegerPart()) {
        long long iTop = oDigits.miCount != 0 && oDigits.miExponent > 0 ? oDigits.miExponent : 0;
        for (long long iPlace = iTop; iPlace >= 0; --iPlace)
            cText[iLength++] = oDigits.at(iPlace);
    }
    if (oFormat.isAddFractionalPart() && iPrecision != 0) {
        if (oFormat.isAddIntegerPart())
            cText[iLength++] = '.';
        unsigned iFractionStart = iLength;
        for (unsigned i = 1; i <= iPrecision; ++i)
            cText[iLength++] = oDigits.at(-(long long)i);
        if (oFormat.isRemoveTrainlingZeros()) {
            while (iLength > iFractionStart && cText[iLength - 1] == '0')
                --iLength;
            if (iLength == iFractionStart && oFormat.isAddIntegerPart())
                --iLength; // the point goes with the zeros
        }
    }
    cAsciiString sText;
    sText.append(cText, iLength);
    return sText;
}

} // namespace

cNumberConversionFormat::cNumberConversionFormat(unsigned iBase)
    : miBase(10), miFixedWidth(0), mcLeadingDigit('0'), meDigitCase(LowerCase),
      mbIgnoreLeadingSpaces(true), mbBaseDetection(true), miPrecision(14),
      mbRemoveTrailingZeros(true), mbAddIntegerPart(true), mbAddFractionalPart(true),
      mbStandardSymbols(true)
{
    std::memcpy(mcDigitSymbols, kLowerDigits, sizeof(mcDigitSymbols));
    setBase(iBase);
}

cNumberConversionFormat::~cNumberConversionFormat() {}

cNumberConversionFormat& cNumberConversionFormat::getGlobalDefaultNumberConversionFormat()
{
    if (qpi::cSystem* pSystem = qpi::trySystem())
        return pSystem->defaults().moNumberFormat;
    static cNumberConversionFormat oWhileBuilding(10);
    return oWhileBuilding;
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
    std::memcpy(mcDigitSymbols, eCase == UpperCase ? kUpperDigits : kLowerDigits,
                sizeof(mcDigitSymbols));
    mbStandardSymbols = true;
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
    mbStandardSymbols = std::memcmp(mcDigitSymbols, kLowerDigits, 36) == 0 ||
                        std::memcmp(mcDigitSymbols, kUpperDigits, 36) == 0;
}

bool cNumberConversionFormat::detectBase(const cAsciiString& sText, unsigned& iBase,
                                         unsigned& iPrefixLength)
{
    iBase = 0;
    iPrefixLength = 0;
    unsigned iLength = sText.length();
    const char* p = sText.c_str();
    if (iLength > 2 && p[0] == '0') {
        unsigned iDetected = p[1] == 'x' || p[1] == 'h' ? 16
                             : p[1] == 'd'              ? 10
                             : p[1] == 'b'              ? 2
                                                        : 0;
        if (iDetected) {
            iBase = iDetected;
            iPrefixLength = 2;
            return true;
        }
    }
    if (iLength > 7 && std::strncmp(p, "<base:", 6) == 0) {
        unsigned j = 6, n = 0;
        while (j < iLength && j < 8 && p[j] >= '0' && p[j] <= '9')
            n = n * 10 + unsigned(p[j++] - '0');
        if (j > 6 && j < iLength && p[j] == '>' && n >= 1 && n <= 36) {
            iBase = n;
            iPrefixLength = j + 1;
            return true;
        }
    }
    return false;
}

void cNumberConversion::toString(cAsciiString& sTarget, unsigned long long iValue,
                                 const cNumberConversionFormat& oFormat)
{
    appendInteger(sTarget, iValue, false, oFormat);
}

void cNumberConversion::toString(cAsciiString& sTarget, long long iValue,
                                 const cNumberConversionFormat& oFormat)
{
    appendInteger(sTarget, magnitude(iValue), iValue < 0, oFormat);
}

void cNumberConversion::toString(qucs::cString& sTarget, unsigned long long iValue,
                                 const cNumberConversionFormat& oFormat)
{
    appendInteger(sTarget, iValue, false, oFormat);
}

void cNumberConversion::toString(qucs::cString& sTarget, long long iValue,
                                 const cNumberConversionFormat& oFormat)
{
    appendInteger(sTarget, magnitude(iValue), iValue < 0, oFormat);
}

void cNumberConversion::toString(tArray<char>& oTarget, unsigned long long iValue,
                                 const cNumberConversionFormat& oFormat)
{
    appendInteger(oTarget, iValue, false, oFormat);
}

void cNumberConversion::toString(tArray<char>& oTarget, long long iValue,
                                 const cNumberConversionFormat& oFormat)
{
    appendInteger(oTarget, magnitude(iValue), iValue < 0, oFormat);
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

long long cNumberConversion::fromString(const tConstArrayRef<char>& oText,
                                        const cNumberConversionFormat& oFormat)
{
    return parseInteger(charsOf(oText), oFormat);
}

long long cNumberConversion::fromString(const cAsciiString& sText,
                                        const cNumberConversionFormat& oFormat)
{
    return parseInteger(charsOf(sText), oFormat);
}

long long cNumberConversion::fromString(const qucs::cString& sText,
                                        const cNumberConversionFormat& oFormat)
{
    return parseInteger(charsOf(sText), oFormat);
}

double cNumberConversion::fromStringToDouble(const tConstArrayRef<char>& oText,
                                             const cNumberConversionFormat& oFormat)
{
    return parseDouble(charsOf(oText), oFormat);
}

double cNumberConversion::fromStringToDouble(const cAsciiString& sText,
                                             const cNumberConversionFormat& oFormat)
{
    return parseDouble(charsOf(sText), oFormat);
}

double cNumberConversion::fromStringToDouble(const qucs::cString& sText,
                                             const cNumberConversionFormat& oFormat)
{
    return parseDouble(charsOf(sText), oFormat);
}

void cNumberConversion::toStringFromDouble(cAsciiString& sTarget, double dValue,
                                           const cNumberConversionFormat& oFormat)
{
    sTarget += doubleText(dValue, oFormat);
}

void cNumberConversion::toStringFromDouble(qucs::cString& sTarget, double dValue,
                                           const cNumberConversionFormat& oFormat)
{
    cAsciiString sText = doubleText(dValue, oFormat);
    sTarget.appendC(sText.c_str(), sText.length());
}

void cNumberConversion::toStringFromDouble(tArrayRef<char>& oTarget, double dValue,
                                           const cNumberConversionFormat& oFormat)
{
    cAsciiString sText = doubleText(dValue, oFormat);
    if (!sText.empty())
        oTarget.append(sText.data(), sText.length());
}

cAsciiString cNumberConversion::toStringFromDouble(double dValue,
                                                   const cNumberConversionFormat& oFormat)
{
    return doubleText(dValue, oFormat);
}

} // namespace qstd
