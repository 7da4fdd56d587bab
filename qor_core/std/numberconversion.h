// numberconversion.h - number formats and the conversion of numbers to and from text.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_NUMBERCONVERSION_H
#define QOR_CORE_STD_NUMBERCONVERSION_H

#include "qor_core/std/arrayref.h"

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
    /// True while the digit symbols are one of the two standard sets.
    bool hasStandardDigitSymbols() const { return mbStandardSymbols; }
    /// Symbol of digit iIndex (checked: iIndex < 37).
    char digitChar(unsigned iIndex) const;
    void setDigitSymbol(unsigned iIndex, char cSymbol);

    /// Recognises a base prefix at the start of sText: "0x" and "0h" (16), "0d" (10),
    /// "0b" (2), or "<base:n>" with n of one or two decimal digits in 1..36. Returns
    /// whether one was found; iBase is 0 otherwise.
    static bool detectBase(const cAsciiString& sText, unsigned& iBase, unsigned& iPrefixLength);

private:
    unsigned miBase;
    unsigned miFixedWidth; ///< 0 = no fixed width
    char mcLeadingDigit;   ///< fill character for fixed widths
    DigitCase meDigitCase;
    bool mbIgnoreLeadingSpaces;
    bool mbBaseDetection;
    char mcDigitSymbols[37]; ///< 36 digits and a terminating 0
    unsigned miPrecision;    ///< fractional digits written for doubles
    bool mbRemoveTrailingZeros;
    bool mbAddIntegerPart;
    bool mbAddFractionalPart;
    bool mbStandardSymbols; ///< lets the parser map digits without the symbol table
};

/// Conversions between numbers and text. Targets are appended to; with a fixed
/// width the number's own text is padded, never what the target held before.
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
    static void toString(tArray<char>& oTarget, unsigned long long iValue,
                         const cNumberConversionFormat& oFormat);
    static void toString(tArray<char>& oTarget, long long iValue,
                         const cNumberConversionFormat& oFormat);
    static cAsciiString toString(unsigned long long iValue, const cNumberConversionFormat& oFormat);
    static cAsciiString toString(long long iValue, const cNumberConversionFormat& oFormat);

    /// Parses the whole text as an integer in the format's base (or the base its
    /// prefix names); throws cRuntimeException "Invalid decimal number" at the first
    /// character that is not a digit. There is no overflow check.
    static long long fromString(const tConstArrayRef<char>& oText,
                                const cNumberConversionFormat& oFormat);
    static long long fromString(const cAsciiString& sText, const cNumberConversionFormat& oFormat);
    static long long fromString(const qucs::cString& sText, const cNumberConversionFormat& oFormat);
    /// Parses a decimal floating-point text with optional exponent into the nearest
    /// double; also reads the texts "+inf", "-inf" and "nan" that toStringFromDouble
    /// writes. Throws "Invalid decimal number" at the first character out of place.
    static double fromStringToDouble(const tConstArrayRef<char>& oText,
                                     const cNumberConversionFormat& oFormat);
    static double fromStringToDouble(const cAsciiString& sText,
                                     const cNumberConversionFormat& oFormat);
    static double fromStringToDouble(const qucs::cString& sText,
                                     const cNumberConversionFormat& oFormat);
    static void toStringFromDouble(cAsciiString& sTarget, double dValue,
                                   const cNumberConversionFormat& oFormat);
    static void toStringFromDouble(qucs::cString& sTarget, double dValue,
                                   const cNumberConversionFormat& oFormat);
    static void toStringFromDouble(tArrayRef<char>& oTarget, double dValue,
                                   const cNumberConversionFormat& oFormat);
    static cAsciiString toStringFromDouble(double dValue, const cNumberConversionFormat& oFormat);
};

} // namespace qstd

#endif // QOR_CORE_STD_NUMBERCONVERSION_H
