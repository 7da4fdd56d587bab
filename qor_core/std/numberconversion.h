// numberconversion.h - number formats and the conversion of numbers to and from text.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_NUMBERCONVERSION_H
#define QOR_CORE_STD_NUMBERCONVERSION_H

#include "qor_core/std/pitypes.h"

namespace qucs {
class cString;
}

namespace qstd {

class cAsciiString;

/// How numbers are written and read: base, digit symbols, fixed width, precision.
class QOR_EXPORT cNumberConversionFormat
{
public:
    enum DigitCase
    {
        UpperCase = 0,
        LowerCase = 1
    };

    explicit cNumberConversionFormat(unsigned iBase = 10);
    virtual ~cNumberConversionFormat();

    /// The process-wide default format (base 10).
    static cNumberConversionFormat& getGlobalDefaultNumberConversionFormat();

    unsigned base() const { return miBase; }
    /// Throws the invalid-base exception for a base outside 2..36.
    void setBase(unsigned iBase);
    unsigned fixedWidth() const { return miFixedWidth; }
    void setFixedWidth(unsigned iWidth) { miFixedWidth = iWidth; }
    char leadingDigit() const { return mcLeadingDigit; }
    void setLeadingDigit(char cDigit) { mcLeadingDigit = cDigit; }
    DigitCase digitCase() const { return meDigitCase; }
    void setDigitCase(DigitCase eCase);
    bool ignoreLeadingSpaces() const { return mbIgnoreLeadingSpaces; }
    void setIgnoreLeadingSpaces(bool bIgnore) { mbIgnoreLeadingSpaces = bIgnore; }
    bool baseDetectionEnabled() const { return mbBaseDetection; }
    void setBaseDetectionEnabled(bool bEnabled) { mbBaseDetection = bEnabled; }
    unsigned precision() const { return miPrecision; }
    void setPrecision(unsigned iPrecision) { miPrecision = iPrecision; }
    bool isRemoveTrainlingZeros() const { return mbRemoveTrailingZeros; }
    void setRemoveTrailingZeros(bool bRemove) { mbRemoveTrailingZeros = bRemove; }
    bool isAddIntegerPart() const { return mbAddIntegerPart; }
    void addIntegerPart(bool bAdd) { mbAddIntegerPart = bAdd; }
    bool isAddFractionalPart() const { return mbAddFractionalPart; }
    void addFractionalPart(bool bAdd) { mbAddFractionalPart = bAdd; }
    const char* getDigitSymbolSet() const { return mcDigitSymbols; }
    /// Symbol of digit iIndex (checked: iIndex < 37).
    char digitChar(unsigned iIndex) const;
    void setDigitSymbol(unsigned iIndex, char cSymbol);

private:
    unsigned miBase;
    unsigned miFixedWidth;      ///< 0 = no fixed width
    char mcLeadingDigit;        ///< fill character for fixed widths
    DigitCase meDigitCase;
    bool mbIgnoreLeadingSpaces;
    bool mbBaseDetection;
    char mcDigitSymbols[37];    ///< 36 digits and a terminating 0
    unsigned miPrecision;       ///< fractional digits written for doubles
    bool mbRemoveTrailingZeros;
    bool mbAddIntegerPart;
    bool mbAddFractionalPart;
};

/// Conversions between numbers and text. Targets are appended to.
class QOR_EXPORT cNumberConversion
{
public:
    static void toString(cAsciiString& sTarget, unsigned long long iValue,
                         const cNumberConversionFormat& oFormat);
    static void toString(cAsciiString& sTarget, long long iValue,
                         const cNumberConversionFormat& oFormat);
    static void toString(qucs::cString& sTarget, unsigned long long iValue,
                         const cNumberConversionFormat& oFormat);
    static void toString(qucs::cString& sTarget, long long iValue,
                         const cNumberConversionFormat& oFormat);
    static cAsciiString toString(unsigned long long iValue, const cNumberConversionFormat& oFormat);
    static cAsciiString toString(long long iValue, const cNumberConversionFormat& oFormat);

    /// Parses the whole text as an integer; throws cRuntimeException for a character
    /// that is not a digit.
    static long long fromString(const cAsciiString& sText, const cNumberConversionFormat& oFormat);
    static long long fromString(const qucs::cString& sText, const cNumberConversionFormat& oFormat);
    static double fromStringToDouble(const cAsciiString& sText,
                                     const cNumberConversionFormat& oFormat);
    static double fromStringToDouble(const qucs::cString& sText,
                                     const cNumberConversionFormat& oFormat);
    static void toStringFromDouble(cAsciiString& sTarget, double dValue,
                                   const cNumberConversionFormat& oFormat);
    static void toStringFromDouble(qucs::cString& sTarget, double dValue,
                                   const cNumberConversionFormat& oFormat);
    static cAsciiString toStringFromDouble(double dValue, const cNumberConversionFormat& oFormat);
};

} // namespace qstd

#endif // QOR_CORE_STD_NUMBERCONVERSION_H
