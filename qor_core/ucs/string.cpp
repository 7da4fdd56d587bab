// string.cpp - qucs::cString.
// SPDX-License-Identifier: MIT
#include "qor_core/ucs/string.h"
#include "qor_core/pi/abstractout.h"
#include "qor_core/ucs/endecutf8.h"
#include "qor_core/sa/abstractserializer.h"
#include "qor_core/std/numberconversion.h"

#include <cstring>

namespace qucs {

namespace {
const qstd::cNumberConversionFormat& defaultFormat()
{
    return qstd::cNumberConversionFormat::getGlobalDefaultNumberConversionFormat();
}
// Capacity granularity of 2 characters.
const unsigned kGrowStep = 1;
} // namespace

cString::cString()
{
    setGrowStep(kGrowStep);
}

cString::cString(const char* pString)
{
    setGrowStep(kGrowStep);
    appendC(pString);
}

cString::cString(const wchar_t* pString)
{
    setGrowStep(kGrowStep);
    if (pString) {
        unsigned iLength = unsigned(std::wcslen(pString));
        unsigned iAt = appendElements(iLength);
        for (unsigned i = 0; i < iLength; ++i)
            (*this)[iAt + i] = (unsigned int)pString[i];
    }
}

cString::cString(const qstd::cAsciiString& sAscii, char cReplacement)
{
    setGrowStep(kGrowStep);
    fromAscii(sAscii, (unsigned char)cReplacement);
}

cString::cString(const cString& sOther) : tCodePointArray(sOther)
{
    setGrowStep(kGrowStep);
}

cString::~cString() {}

cString& cString::operator=(const cString& sOther)
{
    tCodePointArray::operator=(sOther);
    return *this;
}

cString& cString::operator=(const char* pString)
{
    cString sCopy(pString);
    swap(sCopy);
    return *this;
}

cString& cString::fromAscii(const qstd::cAsciiString& sAscii, unsigned iReplacement)
{
    setSize(sAscii.length());
    for (unsigned i = 0; i < sAscii.length(); ++i) {
        unsigned char c = (unsigned char)sAscii[i];
        (*this)[i] = c < 128 ? c : iReplacement;
    }
    return *this;
}

cString& cString::appendC(const char* pString)
{
    return pString ? appendC(pString, unsigned(std::strlen(pString))) : *this;
}

cString& cString::appendC(const char* pString, unsigned iCount)
{
    if (!pString || iCount == 0)
        return *this;
    unsigned iAt = appendElements(iCount);
    for (unsigned i = 0; i < iCount; ++i)
        (*this)[iAt + i] = (unsigned char)pString[i];
    return *this;
}

void cString::toAscii(qstd::cAsciiString& sTarget, char cReplacement) const
{
    unsigned iAt = sTarget.appendElements(length());
    for (unsigned i = 0; i < length(); ++i) {
        unsigned c = (*this)[i];
        sTarget[iAt + i] = c <= 127 ? char(c) : cReplacement;
    }
}

qstd::cAsciiString cString::ascii(char cReplacement) const
{
    qstd::cAsciiString sResult;
    toAscii(sResult, cReplacement);
    return sResult;
}

cString& cString::addString(const cString& sOther)
{
    if (!sOther.empty())
        append(sOther.data(), sOther.length());
    return *this;
}

cString cString::operator+(const cString& sOther) const
{
    cString sResult(*this);
    return sResult.addString(sOther);
}

cString& cString::addNum(long long iValue)
{
    return addNum(iValue, defaultFormat());
}
cString& cString::addNum(long long iValue, const qstd::cNumberConversionFormat& oFormat)
{
    qstd::cNumberConversion::toString(*this, iValue, oFormat);
    return *this;
}
cString& cString::setNum(long long iValue)
{
    return setNum(iValue, defaultFormat());
}
cString& cString::setNum(long long iValue, const qstd::cNumberConversionFormat& oFormat)
{
    setSize(0);
    return addNum(iValue, oFormat);
}
cString& cString::addUNum(unsigned long long iValue)
{
    return addUNum(iValue, defaultFormat());
}
cString& cString::addUNum(unsigned long long iValue, const qstd::cNumberConversionFormat& oFormat)
{
    qstd::cNumberConversion::toString(*this, iValue, oFormat);
    return *this;
}
cString& cString::setUNum(unsigned long long iValue)
{
    return setUNum(iValue, defaultFormat());
}
cString& cString::setUNum(unsigned long long iValue, const qstd::cNumberConversionFormat& oFormat)
{
    setSize(0);
    return addUNum(iValue, oFormat);
}
cString& cString::addNum32(int iValue)
{
    return addNum(iValue, defaultFormat());
}
cString& cString::addNum32(int iValue, const qstd::cNumberConversionFormat& oFormat)
{
    return addNum(iValue, oFormat);
}
cString& cString::setNum32(int iValue)
{
    return setNum(iValue, defaultFormat());
}
cString& cString::setNum32(int iValue, const qstd::cNumberConversionFormat& oFormat)
{
    return setNum(iValue, oFormat);
}
cString& cString::addUNum32(unsigned iValue)
{
    return addUNum(iValue, defaultFormat());
}
cString& cString::addUNum32(unsigned iValue, const qstd::cNumberConversionFormat& oFormat)
{
    return addUNum(iValue, oFormat);
}
cString& cString::setUNum32(unsigned iValue)
{
    return setUNum(iValue, defaultFormat());
}
cString& cString::setUNum32(unsigned iValue, const qstd::cNumberConversionFormat& oFormat)
{
    return setUNum(iValue, oFormat);
}
cString& cString::addDouble(double dValue)
{
    return addDouble(dValue, defaultFormat());
}
cString& cString::addDouble(double dValue, const qstd::cNumberConversionFormat& oFormat)
{
    qstd::cNumberConversion::toStringFromDouble(*this, dValue, oFormat);
    return *this;
}
cString& cString::setDouble(double dValue)
{
    return setDouble(dValue, defaultFormat());
}
cString& cString::setDouble(double dValue, const qstd::cNumberConversionFormat& oFormat)
{
    setSize(0);
    return addDouble(dValue, oFormat);
}
long long cString::toInt() const
{
    return toInt(defaultFormat());
}
long long cString::toInt(const qstd::cNumberConversionFormat& oFormat) const
{
    return qstd::cNumberConversion::fromString(*this, oFormat);
}
unsigned long long cString::toUInt() const
{
    return toUInt(defaultFormat());
}
unsigned long long cString::toUInt(const qstd::cNumberConversionFormat& oFormat) const
{
    return (unsigned long long)qstd::cNumberConversion::fromString(*this, oFormat);
}
double cString::toDouble() const
{
    return toDouble(defaultFormat());
}
double cString::toDouble(const qstd::cNumberConversionFormat& oFormat) const
{
    return qstd::cNumberConversion::fromStringToDouble(*this, oFormat);
}

cString& cString::upperCase()
{
    for (unsigned i = 0; i < length(); ++i)
        (*this)[i] = upperCase((*this)[i]);
    return *this;
}

cString& cString::lowerCase()
{
    for (unsigned i = 0; i < length(); ++i)
        (*this)[i] = lowerCase((*this)[i]);
    return *this;
}

void cString::fillWith(unsigned iAt, unsigned iCount, const cString& sFiller)
{
    for (unsigned i = 0; i < iCount; ++i)
        (*this)[iAt + i] = sFiller.empty() ? ' ' : sFiller[i % sFiller.length()];
}

cString& cString::ltrim()
{
    tArray::trim(' ', true, false);
    return *this;
}

cString& cString::rtrim()
{
    tArray::trim(' ', false, true);
    return *this;
}

cString& cString::trim()
{
    tArray::trim(' ', true, true);
    return *this;
}

cString& cString::leftAdjust(unsigned iWidth, unsigned iFill)
{
    if (length() < iWidth)
        insertValues(length(), iWidth - length(), iFill);
    return *this;
}

cString& cString::rightAdjust(unsigned iWidth, unsigned iFill)
{
    if (length() < iWidth)
        insertValues(0, iWidth - length(), iFill);
    return *this;
}

cString& cString::adjust(unsigned iWidth, unsigned iFill)
{
    if (length() < iWidth) {
        unsigned iPad = iWidth - length();
        rightAdjust(length() + iPad / 2, iFill);
        leftAdjust(iWidth, iFill);
    }
    return *this;
}

cString& cString::setFixedLength(unsigned iLength, const cString& sFiller, unsigned iAlignment)
{
    if (length() >= iLength) {
        truncate(iLength);
        return *this;
    }
    unsigned iPad = iLength - length();
    unsigned iFront = iAlignment == AlignRight ? iPad : iAlignment == AlignCenter ? iPad / 2 : 0;
    proxyInsertDefaultObjects(0, iFront);
    fillWith(0, iFront, sFiller);
    unsigned iAt = appendElements(iPad - iFront);
    fillWith(iAt, iPad - iFront, sFiller);
    return *this;
}

bool cString::operator==(const qstd::cAsciiString& sOther) const
{
    if (sOther.length() != length())
        return false;
    for (unsigned i = 0; i < length(); ++i)
        if ((*this)[i] != (unsigned char)sOther[i])
            return false;
    return true;
}

bool cString::operator==(const wchar_t* pString) const
{
    if (!pString)
        return false;
    unsigned i = 0;
    for (; i < length() && pString[i]; ++i)
        if ((*this)[i] != (unsigned int)pString[i])
            return false;
    return i == length() && pString[i] == 0;
}

bool cString::ccs(const char* pString) const
{
    if (!pString)
        return false;
    unsigned i = 0;
    for (; i < length() && pString[i]; ++i)
        if ((*this)[i] != (unsigned char)pString[i])
            return false;
    return i == length() && pString[i] == 0;
}

qsa::cAbstractSerializer& cString::operator>>(qsa::cAbstractSerializer& oSerializer) const
{
    oSerializer.store(*this);
    return oSerializer;
}

qsa::cAbstractDeserializer& cString::operator<<(qsa::cAbstractDeserializer& oDeserializer)
{
    oDeserializer.load(*this);
    return oDeserializer;
}

qpi::cAbstractOut& operator<<(qpi::cAbstractOut& oOut, const cString& sText)
{
    qstd::tArray<char> oBytes;
    cEnDecUTF8().encodeCString(sText, oBytes);
    return oOut << oBytes.data();
}

} // namespace qucs
