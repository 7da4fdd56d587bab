// time.cpp - qstd::cTime.
// SPDX-License-Identifier: MIT
#include "qor_core/std/time.h"
#include "qor_core/pi/systime.h"

namespace qstd {

cTime::cTime() : miUSec(qpi::cSysTime::utcTime().get()) {}

cTime::cTime(unsigned int iSec, unsigned int iUSec)
    : miUSec((unsigned long long)iSec * 1000000ULL + iUSec)
{
}

cTime::cTime(unsigned int iHour, unsigned int iMinutes, unsigned int iSec, unsigned int iUSec)
    : miUSec(((unsigned long long)iHour * 3600ULL + (unsigned long long)iMinutes * 60ULL + iSec) *
                 1000000ULL +
             iUSec)
{
}

void cTime::swap(cTime& oOther)
{
    unsigned long long iTemp = miUSec;
    miUSec = oOther.miUSec;
    oOther.miUSec = iTemp;
}

cTime cTime::operator-(const cTime& oOther) const
{
    return cTime(miUSec >= oOther.miUSec ? miUSec - oOther.miUSec : oOther.miUSec - miUSec);
}

cTime cTime::operator+(const cTime& oOther) const
{
    unsigned long long iSum = miUSec + oOther.miUSec;
    return cTime(iSum < miUSec ? ~0ULL : iSum);
}

cTime cTime::operator+(long long iUSec) const
{
    // Unsigned arithmetic: the wrap is defined behaviour, signed overflow would not be.
    return cTime(miUSec + (unsigned long long)iUSec);
}

cTime cTime::operator-(long long iUSec) const
{
    return cTime(miUSec - (unsigned long long)iUSec);
}

cTime cTime::diff() const
{
    return qpi::cSysTime::diffTime(*this);
}

} // namespace qstd
