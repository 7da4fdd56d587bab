// time.h - qstd::cTime, a point in time or a duration in microseconds.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_TIME_H
#define QOR_CORE_STD_TIME_H

#include "qor_core/std/pitypes.h"

namespace qstd {

/// An unsigned 64-bit count of microseconds. As a point in time it counts from the
/// epoch (1 January 1970, UTC); as a duration it is a plain length. The time-of-day
/// accessors (hour() ... usec()) read the value as a time since midnight, which is
/// what a point in time since the epoch is in UTC.
class QOR_EXPORT cTime
{
public:
    /// The current time, qpi::cSysTime::utcTime().
    cTime();
    /// Explicit so that a bare number never silently becomes a time; the unit is
    /// always written at the call site.
    explicit cTime(unsigned long long iUSec) : miUSec(iUSec) {}
    /// iSec seconds and iUSec microseconds.
    cTime(unsigned int iSec, unsigned int iUSec);
    /// iHour hours, iMinutes minutes, iSec seconds and iUSec microseconds. Cannot
    /// overflow: even the largest arguments stay below 2^64 microseconds.
    cTime(unsigned int iHour, unsigned int iMinutes, unsigned int iSec, unsigned int iUSec);
    cTime(const cTime& oOther) = default;
    cTime& operator=(const cTime& oOther) = default;

    void set(unsigned long long iUSec) { miUSec = iUSec; }
    unsigned long long get() const { return miUSec; }
    void swap(cTime& oOther);

    // Whole units; every division truncates.
    unsigned long long toUSec() const { return miUSec; }
    /// Wraps beyond about 584 years, like any 64-bit nanosecond count.
    unsigned long long toNSec() const { return miUSec * 1000ULL; }
    unsigned long long toMSec() const { return miUSec / 1000ULL; }
    unsigned long long toSec() const { return miUSec / 1000000ULL; }
    unsigned long long toMin() const { return toSec() / 60ULL; }
    unsigned long long toHour() const { return toMin() / 60ULL; }

    // Fields of the time of day.
    unsigned int hour() const { return unsigned(toHour() % 24ULL); }
    unsigned int minutes() const { return unsigned(toMin() % 60ULL); }
    unsigned int sec() const { return unsigned(toSec() % 60ULL); }
    unsigned int msec() const { return unsigned(toMSec() % 1000ULL); }
    unsigned int usec() const { return unsigned(miUSec % 1000000ULL); }

    /// The absolute difference: never negative, whichever operand is larger.
    cTime operator-(const cTime& oOther) const;
    /// The sum, saturating at the largest 64-bit value.
    cTime operator+(const cTime& oOther) const;
    /// Plain 64-bit arithmetic with a signed number of microseconds; wraps.
    cTime operator+(long long iUSec) const;
    cTime operator-(long long iUSec) const;

    bool operator==(const cTime& oOther) const { return miUSec == oOther.miUSec; }
    bool operator!=(const cTime& oOther) const { return miUSec != oOther.miUSec; }
    bool operator<(const cTime& oOther) const { return miUSec < oOther.miUSec; }
    bool operator>(const cTime& oOther) const { return miUSec > oOther.miUSec; }
    bool operator<=(const cTime& oOther) const { return miUSec <= oOther.miUSec; }
    bool operator>=(const cTime& oOther) const { return miUSec >= oOther.miUSec; }

    /// The absolute time between now and this value, qpi::cSysTime::diffTime(*this).
    cTime diff() const;

private:
    unsigned long long miUSec;
};

static_assert(sizeof(cTime) == 8, "cTime is one 64-bit count on every target");

} // namespace qstd

#endif // QOR_CORE_STD_TIME_H
