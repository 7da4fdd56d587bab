// date.h - qstd::cDate, a calendar date with its day number, holidays and calendar weeks.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_DATE_H
#define QOR_CORE_STD_DATE_H

#include "qor_core/std/pitypes.h"

namespace qstd {

class cTime;

/// A calendar date (day, month, year) together with its day number. Day 0 is
/// 1 January of year 1. The calendar is Julian up to and including 4 October 1582
/// (day 577736) and Gregorian from 15 October 1582 (day 577737) on; the dates
/// 5-14 October 1582 do not exist. Leap years: every fourth year up to 1582, from
/// 1583 on the Gregorian rule.
///
/// Invariant: the four fields always describe the same valid date, and the day
/// number fits 32 bits, so the last date is day 4294967295 in year maxYear().
/// Every operation that would leave that range throws instead of wrapping; a
/// failed operation leaves the date unchanged.
class QOR_EXPORT cDate
{
public:
    /// 4 October 1582, the last day of the Julian calendar.
    static constexpr unsigned int kLastJulianDay = 577736;
    /// 1 January 1970.
    static constexpr unsigned int kEpochDay = 719164;
    /// The largest day number.
    static constexpr unsigned int kLastDay = 0xffffffffu;

    static bool isLeapYear(unsigned int iYear);
    /// The length of the month. Throws cBugException "Month %m% is out of range!"
    /// for a month outside 1..12.
    static unsigned int daysPerMonth(unsigned int iMonth, unsigned int iYear);
    /// The day number of a date. Throws cBugException "Invalid date %m%/%d%/%y%!"
    /// for a month or day out of range, 29 February of a common year, a date in
    /// 5-14 October 1582 or year 0, and cOutOfRangeException when the day number
    /// would not fit 32 bits.
    static unsigned int calcDaysPast(unsigned int iDay, unsigned int iMonth, unsigned int iYear);
    /// The year of the last representable day.
    static unsigned int maxYear();

    /// Today in local time.
    cDate();
    /// Throws cOutOfRangeException (container "cDate") for a year, month or day out
    /// of range, cOutOfBoundsException for a date in 5-14 October 1582, and the
    /// exceptions of calcDaysPast().
    cDate(unsigned int iDay, unsigned int iMonth, unsigned int iYear);
    /// From a day number; throws cOutOfRangeException above kLastDay.
    explicit cDate(unsigned long long iDaysPast);
    /// The UTC date of a time since the epoch.
    explicit cDate(const cTime& oTime);
    cDate(const cDate& oOther) = default;
    cDate& operator=(const cDate& oOther) = default;

    unsigned int day() const { return miDay; }
    unsigned int month() const { return miMonth; }
    unsigned int year() const { return miYear; }
    unsigned int daysPast() const { return miDaysPast; }
    void swap(cDate& oOther);

    // Replace one field. They throw what calcDaysPast() and checkRanges() throw
    // for the changed date, and leave the date unchanged then.
    void setYear(unsigned int iYear);
    void setMonth(unsigned int iMonth);
    void setDay(unsigned int iDay);

    /// iDays later; throws cOutOfRangeException (operation "operator+") beyond kLastDay.
    cDate operator+(unsigned int iDays) const;
    /// iDays earlier; throws cOutOfRangeException (operation "operator-") when iDays
    /// exceeds the day number.
    cDate operator-(unsigned int iDays) const;
    /// The absolute difference in days.
    unsigned int operator-(const cDate& oOther) const;
    bool operator==(const cDate& oOther) const { return miDaysPast == oOther.miDaysPast; }
    bool operator!=(const cDate& oOther) const { return miDaysPast != oOther.miDaysPast; }
    bool operator<(const cDate& oOther) const { return miDaysPast < oOther.miDaysPast; }
    bool operator>(const cDate& oOther) const { return miDaysPast > oOther.miDaysPast; }
    bool operator<=(const cDate& oOther) const { return miDaysPast <= oOther.miDaysPast; }
    bool operator>=(const cDate& oOther) const { return miDaysPast >= oOther.miDaysPast; }

    /// 0 is Monday, 6 is Sunday.
    unsigned int dayOfWeek() const;
    /// "Mon" .. "Sun" for 0..6; another value fails the assertion "iDayOfWeek < 7".
    static const char* nameOfDay(unsigned int iDayOfWeek);
    const char* nameOfDay() const;
    /// "Jan" .. "Dec" for 1..12; another value fails the assertion
    /// "(iMonth < 13) && (iMonth > 0)".
    static const char* nameOfMonth(unsigned int iMonth);
    const char* nameOfMonth() const;

    // Calendar weeks run from Monday to Sunday; week 1 of a year is the week that
    // holds 4 January. The days before it belong to the last week of the previous
    // year, the days after the last week to week 1 of the next year. A year given
    // as 0 or above maxYear() throws cOutOfRangeException.

    /// 53 when 1 January or 31 December is a Thursday, else 52; the shortened year
    /// 1582 has the weeks that fit between its week 1 and that of 1583.
    static unsigned int calenderWeeksPerYear(unsigned int iYear);
    /// The Monday of the week. A week of 0 or above calenderWeeksPerYear(iYear)
    /// throws cOutOfRangeException.
    static cDate beginOfCalendarWeek(unsigned int iYear, unsigned int iWeek);
    /// The week of this date, 1..53; may belong to the previous or the next year.
    unsigned int calendarWeek() const;

    // Holidays of a year; Julian Easter rule up to 1582, Gregorian from 1583 on.
    static cDate calcEasterSunday(unsigned int iYear);
    static cDate calcAshWednesday(unsigned int iYear);
    static cDate calcWeiberfastnacht(unsigned int iYear);
    static cDate calcAscensionDay(unsigned int iYear);
    static cDate calcWhitsun(unsigned int iYear);
    static cDate calcCorpusChristi(unsigned int iYear);
    /// The second Sunday of May, or the Sunday before when that is Whitsun.
    static cDate calcMothersDay(unsigned int iYear);

    /// The completed years between the birthday and today (local time). A birthday
    /// after today throws cBugException "Invalid date!".
    static unsigned int age(const cDate& oBirthday);
    unsigned int age() const;

private:
    unsigned int miDay;      ///< 1..31
    unsigned int miMonth;    ///< 1..12
    unsigned int miYear;     ///< 1..maxYear()
    unsigned int miDaysPast; ///< the day number of the three above
};

static_assert(sizeof(cDate) == 16, "cDate is four 32-bit fields on every target");

/// The day number of a date without any validation. The caller vouches for a valid
/// date; for another one the result is meaningless, but computing it is safe.
/// 64 bits wide, so that no year of 32 bits overflows it.
QOR_EXPORT unsigned long long calcDaysPast(unsigned int iDay, unsigned int iMonth,
                                           unsigned int iYear);
/// The date of a day number; every 32-bit day number is a valid date.
QOR_EXPORT void calcDate(unsigned int iDaysPast, unsigned int& iDay, unsigned int& iMonth,
                         unsigned int& iYear);
/// Throws cOutOfRangeException (container "cDate", pOperation, value range) for a
/// month outside 1..12, a day outside the month or a year outside 1..maxYear(), and
/// cOutOfBoundsException for a date in 5-14 October 1582. A date of the last year
/// beyond the last day passes here; calcDaysPast() rejects it.
QOR_EXPORT void checkRanges(unsigned int iDay, unsigned int iMonth, unsigned int iYear,
                            const char* pOperation);

} // namespace qstd

#endif // QOR_CORE_STD_DATE_H
