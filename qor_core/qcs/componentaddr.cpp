// componentaddr.cpp - cComponentAddr and the text-form helpers of the component system.
// SPDX-License-Identifier: MIT
#include "qor_core/qcs/componentaddr.h"
#include "qor_core/qcs/mcsexceptions.h"
#include "qor_core/qcs/textform_p.h"
#include "qor_core/sa/abstractserializer.h"
#include "qor_core/std/exceptions.h"

namespace qcs {

namespace detail {

piUInt32 parseDecimal32(const qstd::cAsciiString& sText)
{
    unsigned iLength = sText.length();
    if (iLength == 0)
        throw qstd::cNumberConversionException(sText, 0);
    const char* pText = sText.c_str();
    piUInt64 iValue = 0;
    for (unsigned i = 0; i < iLength; ++i) {
        char c = pText[i];
        if (c < '0' || c > '9')
            throw qstd::cNumberConversionException(sText, i);
        iValue = iValue * 10 + piUInt64(c - '0');
        // A value that no longer fits would name another component.
        if (iValue > 0xffffffffULL)
            throw qstd::cNumberConversionException(sText, i);
    }
    return piUInt32(iValue);
}

bool readsLabelled(qsa::cAbstractDeserializer& oDeserializer)
{
    return !oDeserializer.noLabelsPreferred() && oDeserializer.isLabel();
}

void replaceAll(qstd::cAsciiString& sText, char cFrom, char cTo)
{
    unsigned iLength = sText.length();
    for (unsigned i = 0; i < iLength; ++i)
        if (sText[i] == cFrom)
            sText[i] = cTo;
}

qstd::cAsciiString takeWord(const qstd::cAsciiString& sText, unsigned& iPos)
{
    unsigned iLength = sText.length();
    const char* pText = sText.c_str();
    while (iPos < iLength && isWordSeparator(pText[iPos]))
        ++iPos;
    unsigned iStart = iPos;
    while (iPos < iLength && !isWordSeparator(pText[iPos]))
        ++iPos;
    return qstd::cAsciiString(pText + iStart, iPos - iStart);
}

} // namespace detail

cComponentAddr::cComponentAddr(const qstd::cAsciiString& sText)
    : miModuleID(0), miQueueID(0), mbValid(false)
{
    fromString(sText);
}

void cComponentAddr::swap(cComponentAddr& oOther)
{
    cComponentAddr oTmp(*this);
    *this = oOther;
    oOther = oTmp;
}

qstd::cAsciiString cComponentAddr::toString() const
{
    qstd::cAsciiString sText;
    sText.addUNum32(miQueueID);
    sText += ':';
    sText.addUNum32(miModuleID);
    return sText;
}

void cComponentAddr::fromString(const qstd::cAsciiString& sText)
{
    piUInt32 iQueue = 0;
    piUInt32 iModule = 0;
    try {
        int iColon = sText.indexOf(':');
        if (iColon < 0)
            cMCSExceptions::throwExpectingColon();
        // Everything behind the first ':' is the module text, so "1:2:3" is refused as
        // a module text that is not a number.
        iQueue = detail::parseDecimal32(sText.mid(0, unsigned(iColon)));
        iModule = detail::parseDecimal32(sText.mid(unsigned(iColon) + 1));
    } catch (const qstd::cAbstractException& e) {
        cMCSExceptions::throwMalformedComponentAddress(sText, e);
    }
    miQueueID = iQueue;
    miModuleID = iModule;
    mbValid = true;
}

qsa::cAbstractSerializer& cComponentAddr::operator>>(qsa::cAbstractSerializer& oSerializer) const
{
    store(oSerializer, !oSerializer.noLabelsPreferred());
    return oSerializer;
}

qsa::cAbstractDeserializer& cComponentAddr::operator<<(qsa::cAbstractDeserializer& oDeserializer)
{
    load(oDeserializer, detail::readsLabelled(oDeserializer));
    return oDeserializer;
}

void cComponentAddr::store(qsa::cAbstractSerializer& oSerializer, bool bLabelled) const
{
    if (bLabelled)
        oSerializer.newLabel("ID");
    oSerializer.store((unsigned int)miModuleID);
    if (bLabelled)
        oSerializer.newLabel("Queue");
    oSerializer.store((unsigned int)miQueueID);
}

void cComponentAddr::load(qsa::cAbstractDeserializer& oDeserializer, bool bLabelled)
{
    unsigned int iModule = 0;
    unsigned int iQueue = 0;
    if (bLabelled)
        oDeserializer.findLabel("ID");
    oDeserializer.load(iModule);
    if (bLabelled)
        oDeserializer.findLabel("Queue");
    oDeserializer.load(iQueue);
    miModuleID = iModule;
    miQueueID = iQueue;
    mbValid = true;
}

} // namespace qcs
