// asciistring.h - cAsciiString, the 8-bit string for keys, identifiers and log text.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_ASCIISTRING_H
#define QOR_CORE_STD_ASCIISTRING_H

#include "qor_core/std/arrayref.h"

namespace qsa {
class cAbstractSerializer;
class cAbstractDeserializer;
} // namespace qsa

namespace qstd {

class cNumberConversionFormat;

typedef tArray<char, tArrayAsciiStringTraits<char>> tAsciiStringArray;

/// An 8-bit string on top of tArray. Its pool always holds a terminating 0 after
/// the characters, so c_str() is valid at all times (also for an empty string).
class QOR_EXPORT cAsciiString : public tAsciiStringArray
{
public:
    cAsciiString() {}
    /// From a C string; null gives an empty string.
    cAsciiString(const char* pString);
    cAsciiString(const char* pString, unsigned iLength);
    cAsciiString(const cAsciiString& sOther) : tAsciiStringArray(sOther) {}
    /// The tail of sOther from iStart on.
    cAsciiString(const cAsciiString& sOther, unsigned iStart);
    explicit cAsciiString(const tConstArrayRef<char, tArrayByteLevelTraits<char>>& oRef);
    ~cAsciiString() override;

    cAsciiString& operator=(const cAsciiString& sOther)
    {
        tAsciiStringArray::operator=(sOther);
        return *this;
    }
    /// By exchange; allocates nothing.
    cAsciiString& operator=(cAsciiString&& sOther) noexcept
    {
        tAsciiStringArray::operator=(static_cast<tAsciiStringArray&&>(sOther));
        return *this;
    }
    cAsciiString& operator=(const char* pString);

    /// The characters as a C string; never null.
    const char* c_str() const
    {
        const char* pPool = data(true);
        return pPool ? pPool : "";
    }

    cAsciiString& operator+=(const char* pString) { return addString(pString); }
    cAsciiString& operator+=(const cAsciiString& sOther) { return addString(sOther); }
    cAsciiString& operator+=(char cChar)
    {
        append(cChar);
        return *this;
    }
    cAsciiString& addString(const char* pString);
    cAsciiString& addString(const cAsciiString& sOther);
    cAsciiString operator+(const cAsciiString& sOther) const;
    cAsciiString operator+(const char* pString) const;

    /// Same length and bytes; false against null.
    bool operator==(const char* pString) const;
    bool operator!=(const char* pString) const { return !(*this == pString); }
    bool operator==(const cAsciiString& sOther) const
    {
        return isEqual(sOther.data(true), sOther.length());
    }
    bool operator!=(const cAsciiString& sOther) const { return !(*this == sOther); }
    using tAsciiStringArray::operator<;
    using tAsciiStringArray::operator>;

    static char upperCase(char cChar)
    {
        return cChar >= 'a' && cChar <= 'z' ? char(cChar - 32) : cChar;
    }
    static char lowerCase(char cChar)
    {
        return cChar >= 'A' && cChar <= 'Z' ? char(cChar + 32) : cChar;
    }
    static bool isPrintable(char cChar) { return cChar >= 32 && cChar <= 126; }
    void toUpper();
    void toLower();
    /// An upper-case copy.
    cAsciiString upperCase() const;
    cAsciiString lowerCase() const;

    /// Remove spaces (only the character 32) from the left, the right or both ends.
    cAsciiString& ltrim();
    cAsciiString& rtrim();
    cAsciiString& trim();

    /// Pads with cFill at the end up to iWidth characters.
    cAsciiString& leftAdjust(unsigned iWidth, char cFill);
    /// Pads with cFill at the front up to iWidth characters.
    cAsciiString& rightAdjust(unsigned iWidth, char cFill);
    /// Centres: floor(pad / 2) fill characters in front, the rest behind.
    cAsciiString& adjust(unsigned iWidth, char cFill);
    /// Cuts a longer string to max(iLength, tail length) - tail length and appends
    /// sTail, or pads a shorter one with cFill on the right to that length.
    cAsciiString& setFixedLength(unsigned iLength, const cAsciiString& sTail, char cFill);

    /// Index of the first occurrence of sNeedle from iStart, or -1.
    int indexOf(const cAsciiString& sNeedle, unsigned iStart = 0) const;
    int indexOf(char cChar, unsigned iStart = 0) const;
    using tAsciiStringArray::beginsWith;
    using tAsciiStringArray::endsWith;
    bool beginsWith(const char* pPrefix) const;
    bool endsWith(const char* pSuffix) const;
    /// The characters [iStart, iStart + iCount), cut to the string.
    cAsciiString mid(unsigned iStart, unsigned iCount = 0xffffffffu) const;

    // Numbers, converted with the given format or the default format.
    cAsciiString& setNum(long long iValue);
    cAsciiString& setNum(long long iValue, const cNumberConversionFormat& oFormat);
    cAsciiString& setNum32(int iValue);
    cAsciiString& setNum32(int iValue, const cNumberConversionFormat& oFormat);
    cAsciiString& setUNum(unsigned long long iValue);
    cAsciiString& setUNum(unsigned long long iValue, const cNumberConversionFormat& oFormat);
    cAsciiString& setUNum32(unsigned iValue);
    cAsciiString& setUNum32(unsigned iValue, const cNumberConversionFormat& oFormat);
    cAsciiString& setDouble(double dValue);
    cAsciiString& setDouble(double dValue, const cNumberConversionFormat& oFormat);
    cAsciiString& addNum(long long iValue);
    cAsciiString& addNum(long long iValue, const cNumberConversionFormat& oFormat);
    cAsciiString& addNum32(int iValue);
    cAsciiString& addNum32(int iValue, const cNumberConversionFormat& oFormat);
    cAsciiString& addUNum(unsigned long long iValue);
    cAsciiString& addUNum(unsigned long long iValue, const cNumberConversionFormat& oFormat);
    cAsciiString& addUNum32(unsigned iValue);
    cAsciiString& addUNum32(unsigned iValue, const cNumberConversionFormat& oFormat);
    cAsciiString& addDouble(double dValue);
    cAsciiString& addDouble(double dValue, const cNumberConversionFormat& oFormat);
    long long toInt() const;
    long long toInt(const cNumberConversionFormat& oFormat) const;
    unsigned long long toUInt() const;
    unsigned long long toUInt(const cNumberConversionFormat& oFormat) const;
    double toDouble() const;
    double toDouble(const cNumberConversionFormat& oFormat) const;

    /// Writes the string as one value.
    qsa::cAbstractSerializer& operator>>(qsa::cAbstractSerializer& oSerializer) const;
    /// Reads the string as one value.
    qsa::cAbstractDeserializer& operator<<(qsa::cAbstractDeserializer& oDeserializer);
};

QOR_EXPORT cAsciiString operator+(const char* pLeft, const cAsciiString& sRight);

/// Appends the number in base 10.
QOR_EXPORT cAsciiString& operator<<(cAsciiString& sTarget, long long iValue);
/// Appends the C string; null is the assertion "sCat != 0".
QOR_EXPORT cAsciiString& operator<<(cAsciiString& sTarget, const char* pString);
QOR_EXPORT cAsciiString& operator<<(cAsciiString& sTarget, const cAsciiString& sString);

} // namespace qstd

#endif // QOR_CORE_STD_ASCIISTRING_H
