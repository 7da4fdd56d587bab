// systime.cpp - qpi::cSysTime and usecSinceEpoch() on top of gettimeofday and localtime_r.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/systime.h"

#include <sys/time.h>
#include <time.h>

namespace qpi {

unsigned long long usecSinceEpoch()
{
    struct timeval oNow;
    if (gettimeofday(&oNow, nullptr) != 0 || oNow.tv_sec < 0)
        return 0;
    // time_t and suseconds_t are 32 bits wide on the ARM target: widen before multiplying.
    return (unsigned long long)oNow.tv_sec * 1000000ULL + (unsigned long long)oNow.tv_usec;
}

qstd::cTime cSysTime::utcTime()
{
    return qstd::cTime(usecSinceEpoch());
}

qstd::cTime cSysTime::diffTime(const qstd::cTime& oTime)
{
    return utcTime() - oTime;
}

long long cSysTime::zoneOffset()
{
    // gettimeofday's time-zone argument is obsolete and always 0 on Linux; the offset
    // of the current moment comes from the broken-down local time instead.
    // localtime_r, unlike localtime, need not look at TZ again; tzset() makes a changed
    // TZ count at once and costs little when TZ is unchanged.
    tzset();
    time_t iNow = time(nullptr);
    struct tm oLocal;
    if (localtime_r(&iNow, &oLocal) == nullptr)
        return 0;
    long long iMinutesWest = -(long long)oLocal.tm_gmtoff / 60;
    return iMinutesWest * 60000000LL;
}

} // namespace qpi
