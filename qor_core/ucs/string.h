// string.h - qucs::cString, the Unicode string of 32-bit code points.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_UCS_STRING_H
#define QOR_CORE_UCS_STRING_H

#include "qor_core/std/asciistring.h"

#include <cwchar>

namespace qstd {
class cNumberConversionFormat;
}

namespace qpi {
class cAbstractOut;
}

namespace qucs {

typedef qstd::tArray<unsigned int> tCodePointArray;

/// Unicode text: one array element per character (UCS-4, no surrogates, no
/// terminator). Conversions to and from 8-bit text are lossy and take a
/// replacement character.
class QOR_EXPORT cString : public tCodePointArray
{
public:
    enum Alignment
    {
        AlignLeft = 0,  ///< pad at the end
        AlignRight = 1, ///< pad at the front
        AlignCenter = 2
    };

    cString();
    /// One character per byte of the C string (null gives an empty string).
    cString(const char* pString);
    /// One character per wchar_t up to the terminating zero.
    cString(const wchar_t* pString);
    /// As fromAscii.
    cString(const qstd::cAsciiString& sAscii, char cReplacement);
    cString(const cString& sOther);
    ~cString() override;

    cString& operator=(const cString& sOther);
    /// By exchange; allocates nothing.
    cString& operator=(cString&& sOther) noexcept
    {
        tCodePointArray::operator=(static_cast<tCodePointArray&&>(sOther));
        return *this;
    }
    cString& operator=(const char* pString);

    tCodePointArray& array() { return *this; }
    const tCodePointArray& array() const { return *this; }

    /// Replaces the content: a byte below 128 stays, any other becomes iReplacement.
    cString& fromAscii(const qstd::cAsciiString& sAscii, unsigned iReplacement);
    /// Appends one character per byte.
    cString& appendC(const char* pString);
    cString& appendC(const char* pString, unsigned iCount);
    /// Appends one byte per character: the character when it is 127 or less, else cReplacement.
    void toAscii(qstd::cAsciiString& sTarget, char cReplacement) const;
    qstd::cAsciiString ascii(char cReplacement = '?') const;

    cString& operator+=(const cString& sOther) { return addString(sOther); }
    cString& operator+=(unsigned int iChar)
    {
        append(iChar);
        return *this;
    }
    cString& addString(const cString& sOther);
    cString operator+(const cString& sOther) const;

    cString& addNum(long long iValue);
    cString& addNum(long long iValue, const qstd::cNumberConversionFormat& oFormat);
    cString& setNum(long long iValue);
    cString& setNum(long long iValue, const qstd::cNumberConversionFormat& oFormat);
    cString& addUNum(unsigned long long iValue);
    cString& addUNum(unsigned long long iValue, const qstd::cNumberConversionFormat& oFormat);
    cString& setUNum(unsigned long long iValue);
    cString& setUNum(unsigned long long iValue, const qstd::cNumberConversionFormat& oFormat);
    cString& addNum32(int iValue);
    cString& addNum32(int iValue, const qstd::cNumberConversionFormat& oFormat);
    cString& setNum32(int iValue);
    cString& setNum32(int iValue, const qstd::cNumberConversionFormat& oFormat);
    cString& addUNum32(unsigned iValue);
    cString& addUNum32(unsigned iValue, const qstd::cNumberConversionFormat& oFormat);
    cString& setUNum32(unsigned iValue);
    cString& setUNum32(unsigned iValue, const qstd::cNumberConversionFormat& oFormat);
    cString& addDouble(double dValue);
    cString& addDouble(double dValue, const qstd::cNumberConversionFormat& oFormat);
    cString& setDouble(double dValue);
    cString& setDouble(double dValue, const qstd::cNumberConversionFormat& oFormat);
    long long toInt() const;
    long long toInt(const qstd::cNumberConversionFormat& oFormat) const;
    unsigned long long toUInt() const;
    unsigned long long toUInt(const qstd::cNumberConversionFormat& oFormat) const;
    double toDouble() const;
    double toDouble(const qstd::cNumberConversionFormat& oFormat) const;

    /// Change the ASCII letters in place; other code points stay.
    cString& upperCase();
    cString& lowerCase();
    static unsigned upperCase(unsigned iChar)
    {
        return iChar >= 'a' && iChar <= 'z' ? iChar - 32 : iChar;
    }
    static unsigned lowerCase(unsigned iChar)
    {
        return iChar >= 'A' && iChar <= 'Z' ? iChar + 32 : iChar;
    }

    /// Remove spaces (32 only) from the left, the right or both ends.
    cString& ltrim();
    cString& rtrim();
    cString& trim();

    cString& leftAdjust(unsigned iWidth, unsigned iFill);
    cString& rightAdjust(unsigned iWidth, unsigned iFill);
    cString& adjust(unsigned iWidth, unsigned iFill);
    /// Cuts (at the end) or pads to exactly iLength characters. Padding repeats
    /// sFiller (a space when it is empty) at the side that iAlignment selects
    /// (an Alignment value; other values align left).
    cString& setFixedLength(unsigned iLength, const cString& sFiller, unsigned iAlignment);

    bool operator==(const cString& sOther) const
    {
        return isEqual(sOther.data(true), sOther.length());
    }
    bool operator!=(const cString& sOther) const { return !(*this == sOther); }
    /// Each character equals the unsigned value of the byte.
    bool operator==(const qstd::cAsciiString& sOther) const;
    bool operator==(const char* pString) const { return ccs(pString); }
    bool operator==(const wchar_t* pString) const;
    bool operator!=(const char* pString) const { return !ccs(pString); }
    bool operator<(const cString& sOther) const { return relation(sOther) < 0; }
    /// Case-sensitive comparison with a C string, byte values taken unsigned; null
    /// equals nothing.
    bool ccs(const char* pString) const;

    qsa::cAbstractSerializer& operator>>(qsa::cAbstractSerializer& oSerializer) const;
    qsa::cAbstractDeserializer& operator<<(qsa::cAbstractDeserializer& oDeserializer);

private:
    void fillWith(unsigned iAt, unsigned iCount, const cString& sFiller);
};

/// Writes the string to a debug stream as UTF-8.
QOR_EXPORT qpi::cAbstractOut& operator<<(qpi::cAbstractOut& oOut, const cString& sText);

} // namespace qucs

#endif // QOR_CORE_UCS_STRING_H
