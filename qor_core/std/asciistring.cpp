// asciistring.cpp - cAsciiString.
// SPDX-License-Identifier: MIT
#include "qor_core/std/asciistring.h"
#include "qor_core/std/numberconversion.h"
#include "qor_core/sa/abstractserializer.h"

#include <cstring>

namespace qstd {

namespace {
const cNumberConversionFormat& defaultFormat()
{
    return cNumberConversionFormat::getGlobalDefaultNumberConversionFormat();
}
unsigned cLength(const char* pString)
{
    return pString ? unsigned(std::strlen(pString)) : 0;
}
} // namespace

cAsciiString::cAsciiString(const char* pString)
{
    append(pString, cLength(pString));
}

cAsciiString::cAsciiString(const char* pString, unsigned iLength)
{
    if (pString)
        append(pString, iLength);
}

cAsciiString::cAsciiString(const cAsciiString& sOther, unsigned iStart)
{
    if (iStart < sOther.length())
        append(sOther.data() + iStart, sOther.length() - iStart);
}

cAsciiString::cAsciiString(const tConstArrayRef<char, tArrayByteLevelTraits<char>>& oRef)
{
    append(oRef);
}

cAsciiString::~cAsciiString() {}

cAsciiString& cAsciiString::operator=(const char* pString)
{
    cAsciiString sCopy(pString);
    swap(sCopy);
    return *this;
}

cAsciiString& cAsciiString::addString(const char* pString)
{
    append(pString, cLength(pString));
    return *this;
}

cAsciiString& cAsciiString::addString(const cAsciiString& sOther)
{
    if (!sOther.empty())
        append(sOther.data(), sOther.length());
    return *this;
}

cAsciiString cAsciiString::operator+(const cAsciiString& sOther) const
{
    cAsciiString sResult(*this);
    return sResult.addString(sOther);
}

cAsciiString cAsciiString::operator+(const char* pString) const
{
    cAsciiString sResult(*this);
    return sResult.addString(pString);
}

cAsciiString operator+(const char* pLeft, const cAsciiString& sRight)
{
    cAsciiString sResult(pLeft);
    return sResult.addString(sRight);
}

bool cAsciiString::operator==(const char* pString) const
{
    return pString && isEqual(pString, cLength(pString));
}

void cAsciiString::toUpper()
{
    for (unsigned i = 0; i < length(); ++i)
        (*this)[i] = upperCase((*this)[i]);
}

void cAsciiString::toLower()
{
    for (unsigned i = 0; i < length(); ++i)
        (*this)[i] = lowerCase((*this)[i]);
}

cAsciiString cAsciiString::upperCase() const
{
    cAsciiString sCopy(*this);
    sCopy.toUpper();
    return sCopy;
}

cAsciiString cAsciiString::lowerCase() const
{
    cAsciiString sCopy(*this);
    sCopy.toLower();
    return sCopy;
}

cAsciiString& cAsciiString::ltrim()
{
    tArray::trim(' ', true, false);
    return *this;
}

cAsciiString& cAsciiString::rtrim()
{
    tArray::trim(' ', false, true);
    return *this;
}

cAsciiString& cAsciiString::trim()
{
    tArray::trim(' ', true, true);
    return *this;
}

cAsciiString& cAsciiString::leftAdjust(unsigned iWidth, char cFill)
{
    if (length() < iWidth)
        insertValues(length(), iWidth - length(), cFill);
    return *this;
}

cAsciiString& cAsciiString::rightAdjust(unsigned iWidth, char cFill)
{
    if (length() < iWidth)
        insertValues(0, iWidth - length(), cFill);
    return *this;
}

cAsciiString& cAsciiString::adjust(unsigned iWidth, char cFill)
{
    if (length() < iWidth) {
        unsigned iPad = iWidth - length();
        rightAdjust(length() + iPad / 2, cFill);
        leftAdjust(iWidth, cFill);
    }
    return *this;
}

cAsciiString& cAsciiString::setFixedLength(unsigned iLength, const cAsciiString& sTail, char cFill)
{
    unsigned iTarget = iLength > sTail.length() ? iLength : sTail.length();
    if (length() > iTarget) {
        truncate(iTarget - sTail.length());
        addString(sTail);
    } else {
        leftAdjust(iTarget, cFill);
    }
    return *this;
}

int cAsciiString::indexOf(const cAsciiString& sNeedle, unsigned iStart) const
{
    if (iStart >= length() || sNeedle.empty())
        return -1;
    bool bFound;
    unsigned iAt = find(sNeedle.data(), sNeedle.length(), bFound, iStart);
    return bFound ? int(iAt) : -1;
}

int cAsciiString::indexOf(char cChar, unsigned iStart) const
{
    if (iStart >= length())
        return -1;
    bool bFound;
    unsigned iAt = find(&cChar, 1, bFound, iStart);
    return bFound ? int(iAt) : -1;
}

bool cAsciiString::beginsWith(const char* pPrefix) const
{
    return beginsWith(pPrefix, cLength(pPrefix));
}

bool cAsciiString::endsWith(const char* pSuffix) const
{
    return endsWith(pSuffix, cLength(pSuffix));
}

cAsciiString cAsciiString::mid(unsigned iStart, unsigned iCount) const
{
    if (iStart >= length())
        return cAsciiString();
    if (iCount > length() - iStart)
        iCount = length() - iStart;
    return cAsciiString(data() + iStart, iCount);
}

cAsciiString& cAsciiString::setNum(long long iValue)
{
    return setNum(iValue, defaultFormat());
}
cAsciiString& cAsciiString::setNum(long long iValue, const cNumberConversionFormat& oFormat)
{
    setSize(0);
    return addNum(iValue, oFormat);
}
cAsciiString& cAsciiString::setNum32(int iValue)
{
    return setNum(iValue, defaultFormat());
}
cAsciiString& cAsciiString::setNum32(int iValue, const cNumberConversionFormat& oFormat)
{
    return setNum(iValue, oFormat);
}
cAsciiString& cAsciiString::setUNum(unsigned long long iValue)
{
    return setUNum(iValue, defaultFormat());
}
cAsciiString& cAsciiString::setUNum(unsigned long long iValue,
                                    const cNumberConversionFormat& oFormat)
{
    setSize(0);
    return addUNum(iValue, oFormat);
}
cAsciiString& cAsciiString::setUNum32(unsigned iValue)
{
    return setUNum(iValue, defaultFormat());
}
cAsciiString& cAsciiString::setUNum32(unsigned iValue, const cNumberConversionFormat& oFormat)
{
    return setUNum(iValue, oFormat);
}
cAsciiString& cAsciiString::setDouble(double dValue)
{
    return setDouble(dValue, defaultFormat());
}
cAsciiString& cAsciiString::setDouble(double dValue, const cNumberConversionFormat& oFormat)
{
    setSize(0);
    return addDouble(dValue, oFormat);
}
cAsciiString& cAsciiString::addNum(long long iValue)
{
    return addNum(iValue, defaultFormat());
}
cAsciiString& cAsciiString::addNum(long long iValue, const cNumberConversionFormat& oFormat)
{
    cNumberConversion::toString(*this, iValue, oFormat);
    return *this;
}
cAsciiString& cAsciiString::addNum32(int iValue)
{
    return addNum(iValue, defaultFormat());
}
cAsciiString& cAsciiString::addNum32(int iValue, const cNumberConversionFormat& oFormat)
{
    return addNum(iValue, oFormat);
}
cAsciiString& cAsciiString::addUNum(unsigned long long iValue)
{
    return addUNum(iValue, defaultFormat());
}
cAsciiString& cAsciiString::addUNum(unsigned long long iValue,
                                    const cNumberConversionFormat& oFormat)
{
    cNumberConversion::toString(*this, iValue, oFormat);
    return *this;
}
cAsciiString& cAsciiString::addUNum32(unsigned iValue)
{
    return addUNum(iValue, defaultFormat());
}
cAsciiString& cAsciiString::addUNum32(unsigned iValue, const cNumberConversionFormat& oFormat)
{
    return addUNum(iValue, oFormat);
}
cAsciiString& cAsciiString::addDouble(double dValue)
{
    return addDouble(dValue, defaultFormat());
}
cAsciiString& cAsciiString::addDouble(double dValue, const cNumberConversionFormat& oFormat)
{
    cNumberConversion::toStringFromDouble(*this, dValue, oFormat);
    return *this;
}
long long cAsciiString::toInt() const
{
    return toInt(defaultFormat());
}
long long cAsciiString::toInt(const cNumberConversionFormat& oFormat) const
{
    return cNumberConversion::fromString(*this, oFormat);
}
unsigned long long cAsciiString::toUInt() const
{
    return toUInt(defaultFormat());
}
unsigned long long cAsciiString::toUInt(const cNumberConversionFormat& oFormat) const
{
    return (unsigned long long)cNumberConversion::fromString(*this, oFormat);
}
double cAsciiString::toDouble() const
{
    return toDouble(defaultFormat());
}
double cAsciiString::toDouble(const cNumberConversionFormat& oFormat) const
{
    return cNumberConversion::fromStringToDouble(*this, oFormat);
}

qsa::cAbstractSerializer& cAsciiString::operator>>(qsa::cAbstractSerializer& oSerializer) const
{
    oSerializer.store(*this);
    return oSerializer;
}

qsa::cAbstractDeserializer& cAsciiString::operator<<(qsa::cAbstractDeserializer& oDeserializer)
{
    oDeserializer.load(*this);
    return oDeserializer;
}

cAsciiString& operator<<(cAsciiString& sTarget, long long iValue)
{
    return sTarget.addNum(iValue, cNumberConversionFormat(10));
}

cAsciiString& operator<<(cAsciiString& sTarget, const char* pString)
{
    QOR_ASSERT_TEXT(pString != nullptr, "sCat != 0");
    return sTarget.addString(pString);
}

cAsciiString& operator<<(cAsciiString& sTarget, const cAsciiString& sString)
{
    return sTarget.addString(sString);
}

} // namespace qstd
