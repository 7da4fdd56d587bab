// datetime.cpp - qstd::cDateTime.
// SPDX-License-Identifier: MIT
#include "qor_core/std/datetime.h"
#include "qor_core/std/asciistring.h"
#include "qor_core/std/numberconversion.h"
#include "qor_core/std/stdexceptions.h"
#include "qor_core/pi/systime.h"
#include "qor_core/sa/abstractserializer.h"

#include <climits>
#include <cstring>

namespace qstd {

namespace {

constexpr unsigned long long kUSecPerDay = 86400000000ULL;

long long clampToSigned(unsigned long long iValue)
{
    return iValue > (unsigned long long)LLONG_MAX ? LLONG_MAX : (long long)iValue;
}

// oTime - iOffset, refusing to wrap below 0 or above the largest time: a wrapped
// time would read as a date some 584000 years away.
cTime shiftByZone(const cTime& oTime, long long iOffset, const char* pOperation)
{
    unsigned long long iValue = oTime.get();
    if (iOffset > 0 && (unsigned long long)iOffset > iValue)
        cSTDExceptions::throwOutOfRange("cDateTime", pOperation, cSTDExceptions::Value,
                                        clampToSigned(iValue), iOffset, LLONG_MAX);
    if (iOffset < 0 && 0ULL - (unsigned long long)iOffset > ~0ULL - iValue)
        cSTDExceptions::throwOutOfRange(
            "cDateTime", pOperation, cSTDExceptions::Value, clampToSigned(iValue), 0,
            clampToSigned(~0ULL - (0ULL - (unsigned long long)iOffset)));
    return oTime - iOffset;
}

// Length-based rather than strstr(), so that a pattern holding a 0 byte keeps its tail.
void replaceAll(cAsciiString& sText, const char* pPlaceholder, const cAsciiString& sValue)
{
    const unsigned iNeedle = unsigned(std::strlen(pPlaceholder));
    const char* pText = sText.c_str();
    const unsigned iLength = sText.length();
    cAsciiString sResult;
    unsigned iCopied = 0;
    unsigned iAt = 0;
    bool bFound = false;
    while (iLength - iAt >= iNeedle) {
        if (std::memcmp(pText + iAt, pPlaceholder, iNeedle) != 0) {
            ++iAt;
            continue;
        }
        sResult += cAsciiString(pText + iCopied, iAt - iCopied);
        sResult += sValue;
        iAt += iNeedle;
        iCopied = iAt;
        bFound = true;
    }
    if (!bFound)
        return;
    sResult += cAsciiString(pText + iCopied, iLength - iCopied);
    sText = sResult;
}

cAsciiString fixedWidth(unsigned int iValue, unsigned int iWidth)
{
    cNumberConversionFormat oFormat(10);
    oFormat.setFixedWidth(iWidth);
    cAsciiString sText;
    sText.addUNum32(iValue, oFormat);
    return sText;
}

} // namespace

cDateTime::cDateTime() : moTime() {}

cDateTime::cDateTime(const cTime& oTime, ZoneInfo eZone) : moTime(oTime)
{
    if (eZone == LocalShift)
        moTime = shiftByZone(oTime, qpi::cSysTime::zoneOffset(), "cDateTime::cDateTime(..)");
}

cDateTime::cDateTime(const cTime& oTimeOfDay, const cDate& oDate, ZoneInfo eZone) : moTime(0ULL)
{
    const char* pOperation = "cDateTime::cDateTime(..)";
    if (oDate.daysPast() < cDate::kEpochDay)
        cSTDExceptions::throwOutOfRange("cDateTime", pOperation, cSTDExceptions::Value,
                                        oDate.daysPast(), cDate::kEpochDay, cDate::kLastDay);
    unsigned long long iDays = oDate.daysPast() - cDate::kEpochDay;
    if (iDays > (~0ULL - oTimeOfDay.get()) / kUSecPerDay)
        cSTDExceptions::throwOutOfRange(
            "cDateTime", pOperation, cSTDExceptions::Value, oDate.daysPast(), cDate::kEpochDay,
            (long long)((~0ULL - oTimeOfDay.get()) / kUSecPerDay + cDate::kEpochDay));
    moTime = cTime(oTimeOfDay.get() + iDays * kUSecPerDay);
    if (eZone == LocalShift)
        moTime = shiftByZone(moTime, qpi::cSysTime::zoneOffset(), pOperation);
}

cTime cDateTime::localTime() const
{
    return shiftByZone(moTime, qpi::cSysTime::zoneOffset(), "localTime()");
}

cDate cDateTime::utcDate() const
{
    return cDate(moTime);
}

cDate cDateTime::localDate() const
{
    return cDate(localTime());
}

cAsciiString cDateTime::formatString(const cAsciiString& sPattern) const
{
    return formatString(moTime, sPattern);
}

cAsciiString cDateTime::formatString(const cTime& oTime, const cAsciiString& sPattern)
{
    cDate oDate(oTime);
    cAsciiString sResult(sPattern);
    replaceAll(sResult, "HH", fixedWidth(oTime.hour(), 2));
    replaceAll(sResult, "MM", fixedWidth(oTime.minutes(), 2));
    replaceAll(sResult, "SS", fixedWidth(oTime.sec(), 2));
    replaceAll(sResult, "dd", fixedWidth(oDate.day(), 2));
    replaceAll(sResult, "mm", fixedWidth(oDate.month(), 2));
    replaceAll(sResult, "yyyy", fixedWidth(oDate.year(), 4));
    replaceAll(sResult, "dn", cAsciiString(oDate.nameOfDay()));
    replaceAll(sResult, "mn", cAsciiString(oDate.nameOfMonth()));
    return sResult;
}

qsa::cAbstractSerializer& cDateTime::operator>>(qsa::cAbstractSerializer& oSerializer) const
{
    if (!oSerializer.noLabelsPreferred())
        oSerializer.newLabel(cAsciiString("DateTime"));
    oSerializer.store((unsigned long long)moTime.get());
    return oSerializer;
}

qsa::cAbstractDeserializer& cDateTime::operator<<(qsa::cAbstractDeserializer& oDeserializer)
{
    unsigned long long iTime = 0;
    oDeserializer.load(iTime);
    moTime.set(iTime);
    return oDeserializer;
}

} // namespace qstd
