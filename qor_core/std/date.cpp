// date.cpp - qstd::cDate and the day-number conversions.
// SPDX-License-Identifier: MIT
#include "qor_core/std/date.h"
#include "qor_core/std/exceptions.h"
#include "qor_core/std/stdexceptions.h"
#include "qor_core/std/time.h"
#include "qor_core/pi/systime.h"
#include "qor_core/ucs/limessage.h"

#include <climits>

namespace qstd {

namespace {

// Day numbers are computed on a "raw" scale without the ten missing days of
// October 1582 and corrected afterwards; all of it in 64 bits, so that no 32-bit
// year can overflow an intermediate value.
constexpr unsigned long long kGapDays = 10;
constexpr unsigned int kLastJulianYear = 1582;
constexpr unsigned int kDaysBeforeMonth[12] = {0,   31,  59,  90,  120, 151,
                                               181, 212, 243, 273, 304, 334};

constexpr bool leapYear(unsigned long long iYear)
{
    if (iYear <= kLastJulianYear)
        return iYear % 4 == 0;
    return iYear % 4 == 0 && (iYear % 100 != 0 || iYear % 400 == 0);
}

// Leap years among the years 1..iYears. Up to 1582 every fourth year (395 of them);
// from then on the Gregorian count, which itself counts 383 up to 1582.
constexpr unsigned long long leapYearsUpTo(unsigned long long iYears)
{
    if (iYears <= kLastJulianYear)
        return iYears / 4;
    return iYears / 4 - iYears / 100 + iYears / 400 + (395 - 383);
}

// Raw days before 1 January of iYear (iYear >= 1).
constexpr unsigned long long rawDaysBeforeYear(unsigned long long iYear)
{
    return 365ULL * (iYear - 1) + leapYearsUpTo(iYear - 1);
}

constexpr unsigned long long toDayNumber(unsigned long long iRaw)
{
    return iRaw > cDate::kLastJulianDay ? iRaw - kGapDays : iRaw;
}

constexpr unsigned long long toRaw(unsigned long long iDayNumber)
{
    return iDayNumber > cDate::kLastJulianDay ? iDayNumber + kGapDays : iDayNumber;
}

// The year that holds the raw day iRaw. Starts from an estimate with the Gregorian
// mean year and corrects it; the Julian years before 1583 differ by a few days only.
constexpr unsigned long long yearOfRaw(unsigned long long iRaw)
{
    unsigned long long iYear = iRaw * 400 / 146097 + 1;
    while (iYear > 1 && rawDaysBeforeYear(iYear) > iRaw)
        --iYear;
    while (rawDaysBeforeYear(iYear + 1) <= iRaw)
        ++iYear;
    return iYear;
}

constexpr unsigned int kMaxYear = unsigned(yearOfRaw(toRaw(cDate::kLastDay)));

static_assert(toDayNumber(rawDaysBeforeYear(1970)) == cDate::kEpochDay, "1 January 1970");
static_assert(rawDaysBeforeYear(1582) + 273 + 3 == cDate::kLastJulianDay, "4 October 1582");

unsigned int monthLength(unsigned int iMonth, unsigned int iYear)
{
    static const unsigned int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return iMonth == 2 && leapYear(iYear) ? 29 : kLengths[iMonth - 1];
}

bool inGap(unsigned int iDay, unsigned int iMonth, unsigned int iYear)
{
    return iYear == kLastJulianYear && iMonth == 10 && iDay >= 5 && iDay <= 14;
}

// Day number of a valid date (year >= 1), 64 bits wide.
unsigned long long dayNumber(unsigned int iDay, unsigned int iMonth, unsigned int iYear)
{
    unsigned long long iRaw = rawDaysBeforeYear(iYear) + kDaysBeforeMonth[iMonth - 1] +
                              (iMonth > 2 && leapYear(iYear) ? 1 : 0) + iDay - 1;
    return toDayNumber(iRaw);
}

unsigned int weekDay(unsigned long long iDayNumber)
{
    return unsigned((iDayNumber + 5) % 7);
}

void checkYear(unsigned int iYear, const char* pOperation)
{
    if (iYear == 0 || iYear > kMaxYear)
        cSTDExceptions::throwOutOfRange("cDate", pOperation, cSTDExceptions::Value, iYear, 1,
                                        kMaxYear);
}

// The Monday of week 1: the Monday on or before 4 January. At least day 2 (year 1).
unsigned long long firstWeekBegin(unsigned int iYear)
{
    unsigned long long iJanuary4 = dayNumber(4, 1, iYear);
    return iJanuary4 - weekDay(iJanuary4);
}

// Weeks of a year (iYear <= kMaxYear; the year after it is computed in 64 bits).
// For a year of 365 or 366 days this is 53 exactly when 1 January or 31 December is a
// Thursday; only 1582 with its 355 days falls outside that rule.
unsigned int weeksOfYear(unsigned int iYear)
{
    unsigned long long iNext = toDayNumber(rawDaysBeforeYear(iYear + 1ULL) + 3);
    iNext -= weekDay(iNext);
    return unsigned((iNext - firstWeekBegin(iYear)) / 7);
}

[[noreturn]] void throwInvalidDate(unsigned int iDay, unsigned int iMonth, unsigned int iYear)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Invalid date %m%/%d%/%y%!" << iMonth << iDay << iYear;
    throw cBugException(oMsg, __FILE__, __LINE__);
}

} // namespace

unsigned long long calcDaysPast(unsigned int iDay, unsigned int iMonth, unsigned int iYear)
{
    // No validation, but no undefined behaviour either: the month index stays in the
    // table and everything else is unsigned arithmetic.
    unsigned int iMonthIndex = (iMonth + 11) % 12;
    unsigned long long iRaw = rawDaysBeforeYear(iYear) + kDaysBeforeMonth[iMonthIndex] +
                              (iMonthIndex > 1 && leapYear(iYear) ? 1 : 0) + iDay - 1ULL;
    return toDayNumber(iRaw);
}

void calcDate(unsigned int iDaysPast, unsigned int& iDay, unsigned int& iMonth, unsigned int& iYear)
{
    unsigned long long iRaw = toRaw(iDaysPast);
    unsigned long long iYearFound = yearOfRaw(iRaw);
    unsigned long long iLeft = iRaw - rawDaysBeforeYear(iYearFound);
    unsigned int iMonthFound = 1;
    while (iLeft >= monthLength(iMonthFound, unsigned(iYearFound))) {
        iLeft -= monthLength(iMonthFound, unsigned(iYearFound));
        ++iMonthFound;
    }
    checkRanges(unsigned(iLeft) + 1, iMonthFound, unsigned(iYearFound), "calcDate(..)");
    iDay = unsigned(iLeft) + 1;
    iMonth = iMonthFound;
    iYear = unsigned(iYearFound);
}

void checkRanges(unsigned int iDay, unsigned int iMonth, unsigned int iYear, const char* pOperation)
{
    if (iMonth < 1 || iMonth > 12)
        cSTDExceptions::throwOutOfRange("cDate", pOperation, cSTDExceptions::Value, iMonth, 1, 12);
    unsigned int iLength = monthLength(iMonth, iYear);
    if (iDay < 1 || iDay > iLength)
        cSTDExceptions::throwOutOfRange("cDate", pOperation, cSTDExceptions::Value, iDay, 1,
                                        iLength);
    if (inGap(iDay, iMonth, iYear))
        cSTDExceptions::throwOutOfBounds("cDate", pOperation);
    checkYear(iYear, pOperation);
}

bool cDate::isLeapYear(unsigned int iYear)
{
    return leapYear(iYear);
}

unsigned int cDate::daysPerMonth(unsigned int iMonth, unsigned int iYear)
{
    if (iMonth < 1 || iMonth > 12) {
        qucs::cLIMessage oMsg;
        oMsg << "$MTR$Month %m% is out of range!" << iMonth;
        throw cBugException(oMsg, __FILE__, __LINE__);
    }
    return monthLength(iMonth, iYear);
}

unsigned int cDate::calcDaysPast(unsigned int iDay, unsigned int iMonth, unsigned int iYear)
{
    if (iYear == 0 || iMonth < 1 || iMonth > 12 || iDay < 1 || iDay > monthLength(iMonth, iYear) ||
        inGap(iDay, iMonth, iYear))
        throwInvalidDate(iDay, iMonth, iYear);
    unsigned long long iDays = dayNumber(iDay, iMonth, iYear);
    if (iDays > kLastDay)
        cSTDExceptions::throwOutOfRange("cDate", "calcDaysPast(..)", cSTDExceptions::Value,
                                        (long long)iDays, 0, kLastDay);
    return unsigned(iDays);
}

unsigned int cDate::maxYear()
{
    return kMaxYear;
}

cDate::cDate() : cDate(qpi::cSysTime::utcTime() - qpi::cSysTime::zoneOffset()) {}

cDate::cDate(unsigned int iDay, unsigned int iMonth, unsigned int iYear)
    : miDay(iDay), miMonth(iMonth), miYear(iYear), miDaysPast(0)
{
    checkRanges(iDay, iMonth, iYear, "cDate::cDate(..)");
    miDaysPast = calcDaysPast(iDay, iMonth, iYear);
}

cDate::cDate(unsigned long long iDaysPast)
{
    if (iDaysPast > kLastDay)
        cSTDExceptions::throwOutOfRange(
            "cDate", "cDate::cDate(..)", cSTDExceptions::Value,
            iDaysPast > (unsigned long long)LLONG_MAX ? LLONG_MAX : (long long)iDaysPast, 0,
            kLastDay);
    miDaysPast = unsigned(iDaysPast);
    calcDate(miDaysPast, miDay, miMonth, miYear);
}

// Whole hours first: adding the epoch's offset to the microseconds could overflow
// near the largest time, the hour count cannot.
cDate::cDate(const cTime& oTime) : cDate((oTime.get() / 3600000000ULL + kEpochDay * 24ULL) / 24) {}

void cDate::swap(cDate& oOther)
{
    cDate oTemp(*this);
    *this = oOther;
    oOther = oTemp;
}

void cDate::setYear(unsigned int iYear)
{
    unsigned int iDays = calcDaysPast(miDay, miMonth, iYear);
    checkRanges(miDay, miMonth, iYear, "setYear(..)");
    miYear = iYear;
    miDaysPast = iDays;
}

void cDate::setMonth(unsigned int iMonth)
{
    unsigned int iDays = calcDaysPast(miDay, iMonth, miYear);
    checkRanges(miDay, iMonth, miYear, "setMonth(..)");
    miMonth = iMonth;
    miDaysPast = iDays;
}

void cDate::setDay(unsigned int iDay)
{
    unsigned int iDays = calcDaysPast(iDay, miMonth, miYear);
    checkRanges(iDay, miMonth, miYear, "setDay(..)");
    miDay = iDay;
    miDaysPast = iDays;
}

cDate cDate::operator+(unsigned int iDays) const
{
    if (iDays > kLastDay - miDaysPast)
        cSTDExceptions::throwOutOfRange("cDate", "operator+", cSTDExceptions::Value, iDays, 0,
                                        kLastDay - miDaysPast);
    return cDate((unsigned long long)miDaysPast + iDays);
}

cDate cDate::operator-(unsigned int iDays) const
{
    if (iDays > miDaysPast)
        cSTDExceptions::throwOutOfRange("cDate", "operator-", cSTDExceptions::Value, iDays, 0,
                                        miDaysPast);
    return cDate((unsigned long long)(miDaysPast - iDays));
}

unsigned int cDate::operator-(const cDate& oOther) const
{
    return miDaysPast >= oOther.miDaysPast ? miDaysPast - oOther.miDaysPast
                                           : oOther.miDaysPast - miDaysPast;
}

unsigned int cDate::dayOfWeek() const
{
    return weekDay(miDaysPast);
}

const char* cDate::nameOfDay(unsigned int iDayOfWeek)
{
    static const char* const kNames[7] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    QOR_ASSERT(iDayOfWeek < 7);
    return kNames[iDayOfWeek];
}

const char* cDate::nameOfDay() const
{
    return nameOfDay(dayOfWeek());
}

const char* cDate::nameOfMonth(unsigned int iMonth)
{
    static const char* const kNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    QOR_ASSERT((iMonth < 13) && (iMonth > 0));
    return kNames[iMonth - 1];
}

const char* cDate::nameOfMonth() const
{
    return nameOfMonth(miMonth);
}

unsigned int cDate::calenderWeeksPerYear(unsigned int iYear)
{
    checkYear(iYear, "calenderWeeksPerYear(..)");
    return weeksOfYear(iYear);
}

cDate cDate::beginOfCalendarWeek(unsigned int iYear, unsigned int iWeek)
{
    checkYear(iYear, "beginOfCalendarWeek(..)");
    unsigned int iWeeks = weeksOfYear(iYear);
    if (iWeek < 1 || iWeek > iWeeks)
        cSTDExceptions::throwOutOfRange("cDate", "beginOfCalendarWeek(..)", cSTDExceptions::Value,
                                        iWeek, 1, iWeeks);
    return cDate(firstWeekBegin(iYear) + (iWeek - 1ULL) * 7);
}

unsigned int cDate::calendarWeek() const
{
    unsigned long long iBegin = firstWeekBegin(miYear);
    if (miDaysPast < iBegin) {
        // 1 and 2 January of year 1 lie before its week 1. The year before (1 BC) was a
        // Julian leap year that began on a Thursday, so they are in its week 53.
        if (miYear == 1)
            return 53;
        return weeksOfYear(miYear - 1);
    }
    // iBegin is a Monday, so counting from the day itself gives the same whole weeks
    // as counting from the Monday of its week.
    unsigned int iWeek = unsigned((miDaysPast - iBegin) / 7 + 1);
    return iWeek > weeksOfYear(miYear) ? 1 : iWeek;
}

cDate cDate::calcEasterSunday(unsigned int iYear)
{
    checkYear(iYear, "calcEasterSunday(..)");
    // Signed 64-bit arithmetic with remainders made non-negative; the terms of the
    // Gregorian rule can go below zero.
    auto mod = [](long long iValue, long long iDivisor) {
        long long iRest = iValue % iDivisor;
        return iRest < 0 ? iRest + iDivisor : iRest;
    };
    const long long y = iYear;
    long long n;
    if (iYear <= kLastJulianYear) {
        long long d = mod(19 * mod(y, 19) + 15, 30);
        long long e = mod(2 * mod(y, 4) + 4 * mod(y, 7) - d + 34, 7);
        n = d + e + 114;
    } else {
        long long a = mod(y, 19);
        long long b = y / 100;
        long long c = mod(y, 100);
        long long h = mod(19 * a + b - y / 400 - (b - (b + 8) / 25 + 1) / 3 + 15, 30);
        long long l = mod(2 * (b - 4 * (y / 400)) + 6 * (c / 4) - h - c + 32, 7);
        long long m = (a + 11 * h + 22 * l) / 451;
        n = h + l - 7 * m + 114;
    }
    return cDate(unsigned(n % 31 + 1), unsigned(n / 31), iYear);
}

cDate cDate::calcAshWednesday(unsigned int iYear)
{
    return calcEasterSunday(iYear) - 46;
}
cDate cDate::calcWeiberfastnacht(unsigned int iYear)
{
    return calcEasterSunday(iYear) - 52;
}
cDate cDate::calcAscensionDay(unsigned int iYear)
{
    return calcEasterSunday(iYear) + 39;
}
cDate cDate::calcWhitsun(unsigned int iYear)
{
    return calcEasterSunday(iYear) + 49;
}
cDate cDate::calcCorpusChristi(unsigned int iYear)
{
    return calcEasterSunday(iYear) + 60;
}

cDate cDate::calcMothersDay(unsigned int iYear)
{
    cDate oFirstOfMay(1, 5, iYear);
    cDate oSecondSunday = oFirstOfMay + (13 - oFirstOfMay.dayOfWeek());
    if (oSecondSunday == calcWhitsun(iYear))
        return oSecondSunday - 7;
    return oSecondSunday;
}

unsigned int cDate::age(const cDate& oBirthday)
{
    cDate oToday;
    if (oToday < oBirthday) {
        qucs::cLIMessage oMsg;
        oMsg << "$MTR$Invalid date!";
        throw cBugException(oMsg, __FILE__, __LINE__);
    }
    unsigned int iYears = oToday.miYear - oBirthday.miYear;
    if (oToday.miMonth < oBirthday.miMonth ||
        (oToday.miMonth == oBirthday.miMonth && oToday.miDay < oBirthday.miDay))
        --iYears;
    return iYears;
}

unsigned int cDate::age() const
{
    return age(*this);
}

} // namespace qstd
