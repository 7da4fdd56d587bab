// abstractout.cpp - qpi::cAbstractOut.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/abstractout.h"
#include "qor_core/std/asciistring.h"
#include "qor_core/std/numberconversion.h"

namespace qpi {

cAbstractOut::cAbstractOut()
    : mpNumberFormat(nullptr), mpLinked(nullptr), meNumberFormatMode(NF_Unchanged),
      mpDebugFileName(nullptr), miDebugFileLine(0), miIndentionLevel(0)
{
}

cAbstractOut::~cAbstractOut()
{
    delete mpNumberFormat;
}

void cAbstractOut::flush() {}

bool cAbstractOut::hasEnDec() const
{
    return false;
}

void cAbstractOut::drawCharLinked(char cChar)
{
    if (mpLinked)
        mpLinked->drawCharLinked(cChar);
    else
        printChar(cChar);
}

cAbstractOut& cAbstractOut::debugMessage(const char* pFile, unsigned int iLine)
{
    if (mpLinked)
        return mpLinked->debugMessage(pFile, iLine);
    mpDebugFileName = pFile;
    miDebugFileLine = iLine;
    return *this;
}

const char* cAbstractOut::debugFileName() const
{
    return mpLinked ? mpLinked->debugFileName() : mpDebugFileName;
}

unsigned int cAbstractOut::debugFileLine() const
{
    return mpLinked ? mpLinked->debugFileLine() : miDebugFileLine;
}

unsigned int cAbstractOut::indentionLevel() const
{
    return mpLinked ? mpLinked->indentionLevel() : miIndentionLevel;
}

NumberFmt cAbstractOut::numberFormatMode() const
{
    return mpLinked ? mpLinked->numberFormatMode() : meNumberFormatMode;
}

cAbstractOut& cAbstractOut::operator<<(const char* pText)
{
    if (mpLinked)
        return *mpLinked << pText;
    if (!pText)
        return *this;
    for (; *pText; ++pText) {
        if (*pText == '\n')
            drawCharLinked('\r');
        drawCharLinked(*pText);
    }
    return *this;
}

cAbstractOut& cAbstractOut::operator<<(const qstd::cAsciiString& sText)
{
    if (mpLinked)
        return *mpLinked << sText;
    for (unsigned i = 0; i < sText.length(); ++i) {
        if (sText[i] == '\n')
            drawCharLinked('\r');
        drawCharLinked(sText[i]);
    }
    return *this;
}

void cAbstractOut::printDecimal(unsigned long long iMagnitude, bool bNegative)
{
    qstd::cAsciiString sText;
    if (mpNumberFormat) {
        if (bNegative)
            qstd::cNumberConversion::toString(sText, (long long)(0ULL - iMagnitude),
                                              *mpNumberFormat);
        else
            qstd::cNumberConversion::toString(sText, iMagnitude, *mpNumberFormat);
        // A one-number mode lasts for exactly one number.
        if (meNumberFormatMode >= NF_Hex16Once && meNumberFormatMode <= NF_Hex2Once) {
            delete mpNumberFormat;
            mpNumberFormat = nullptr;
            meNumberFormatMode = NF_Unchanged;
        }
    } else {
        static const qstd::cNumberConversionFormat oDecimal(10);
        if (bNegative)
            qstd::cNumberConversion::toString(sText, (long long)(0ULL - iMagnitude), oDecimal);
        else
            qstd::cNumberConversion::toString(sText, iMagnitude, oDecimal);
    }
    *this << sText;
}

cAbstractOut& cAbstractOut::operator<<(long long iValue)
{
    if (mpLinked)
        return *mpLinked << iValue;
    bool bNegative = iValue < 0;
    printDecimal(bNegative ? 0ULL - (unsigned long long)iValue : (unsigned long long)iValue,
                 bNegative);
    return *this;
}

cAbstractOut& cAbstractOut::operator<<(unsigned long long iValue)
{
    if (mpLinked)
        return *mpLinked << iValue;
    printDecimal(iValue, false);
    return *this;
}

cAbstractOut& cAbstractOut::operator<<(int iValue)
{
    return *this << (long long)iValue;
}

cAbstractOut& cAbstractOut::operator<<(unsigned int iValue)
{
    return *this << (unsigned long long)iValue;
}

cAbstractOut& cAbstractOut::operator<<(double dValue)
{
    if (mpLinked)
        return *mpLinked << dValue;
    qstd::cAsciiString sText;
    sText.addDouble(dValue);
    return *this << sText;
}

cAbstractOut& cAbstractOut::operator<<(NumberFmt eFormat)
{
    if (mpLinked)
        return *mpLinked << eFormat;
    if (!mpNumberFormat)
        mpNumberFormat = new qstd::cNumberConversionFormat(10);
    static const unsigned kWidths[] = {0, 16, 8, 4, 2, 16, 8, 4, 2};
    if (unsigned(eFormat) < NF_Unchanged) {
        mpNumberFormat->setBase(16);
        mpNumberFormat->setFixedWidth(kWidths[eFormat]);
    }
    meNumberFormatMode = eFormat;
    return *this;
}

cAbstractOut& cAbstractOut::operator<<(const qstd::cNumberConversionFormat& oFormat)
{
    if (mpLinked)
        return *mpLinked << oFormat;
    qstd::cNumberConversionFormat* pCopy = new qstd::cNumberConversionFormat(oFormat);
    delete mpNumberFormat;
    mpNumberFormat = pCopy;
    meNumberFormatMode = NF_Unchanged;
    return *this;
}

cAbstractOut& cAbstractOut::operator<<(const clearDebugMessage& oMarker)
{
    if (mpLinked)
        return *mpLinked << oMarker;
    mpDebugFileName = nullptr;
    miDebugFileLine = 0;
    return *this;
}

cAbstractOut& cAbstractOut::operator<<(const indent& oMarker)
{
    if (mpLinked)
        return *mpLinked << oMarker;
    ++miIndentionLevel;
    return *this;
}

cAbstractOut& cAbstractOut::operator<<(const unindent& oMarker)
{
    if (mpLinked)
        return *mpLinked << oMarker;
    if (miIndentionLevel)
        --miIndentionLevel;
    return *this;
}

} // namespace qpi
