// Tests of qstd::cDate: day numbers across the calendar reform, checks, arithmetic,
// weekdays, calendar weeks and holidays. Expected values are calendar facts.
#include "qor_core/std/date.h"
#include "qor_core/std/exceptions.h"
#include "qor_core/std/time.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

using qortest::expectThrow;
using qortest::messageOf;
using qstd::cDate;
using qstd::cOutOfBoundsException;
using qstd::cOutOfRangeException;

namespace {

struct Ymd
{
    unsigned iDay, iMonth, iYear;
};

std::string str(const Ymd& oDate)
{
    return std::to_string(oDate.iDay) + "." + std::to_string(oDate.iMonth) + "." +
           std::to_string(oDate.iYear);
}

std::string str(const cDate& oDate)
{
    return str(Ymd{oDate.day(), oDate.month(), oDate.year()});
}

cDate date(const Ymd& oDate)
{
    return cDate(oDate.iDay, oDate.iMonth, oDate.iYear);
}

} // namespace

TEST(Date, DayNumbersOfKnownDates)
{
    const std::pair<Ymd, unsigned> oTable[] = {
        {{1, 1, 1}, 0},          {{1, 1, 5}, 1461}, // year 4 is a Julian leap year
        {{4, 10, 1582}, 577736}, {{15, 10, 1582}, 577737}, {{1, 1, 1970}, 719164},
        {{1, 1, 2000}, 730121},  {{29, 2, 2000}, 730180},  {{19, 1, 2038}, 744019}};
    for (const auto& [oDate, iDaysPast] : oTable) {
        SCOPED_TRACE(str(oDate));
        EXPECT_EQ(iDaysPast, date(oDate).daysPast());
        EXPECT_EQ(iDaysPast, cDate::calcDaysPast(oDate.iDay, oDate.iMonth, oDate.iYear));
        EXPECT_EQ(str(oDate), str(cDate((unsigned long long)iDaysPast)));
    }
}

TEST(Date, ConsecutiveDayNumbersAreConsecutiveDates)
{
    // Around the reform, the first leap days and a Gregorian century: every day number
    // maps to a date that maps back, and the next day number is the next calendar day.
    const unsigned oStarts[] = {0, 577000, 693500, 730000};
    for (unsigned iStart : oStarts) {
        cDate oPrevious((unsigned long long)iStart);
        for (unsigned n = iStart + 1; n < iStart + 1500; ++n) {
            cDate oDate((unsigned long long)n);
            SCOPED_TRACE(n);
            ASSERT_EQ(n, cDate(oDate.day(), oDate.month(), oDate.year()).daysPast());
            if (oDate.day() != 1) {
                const bool bGap = oDate.year() == 1582 && oDate.month() == 10 && oDate.day() == 15;
                ASSERT_EQ(oPrevious.day() + (bGap ? 11 : 1), oDate.day());
            } else {
                ASSERT_EQ(cDate::daysPerMonth(oPrevious.month(), oPrevious.year()),
                          oPrevious.day());
            }
            oPrevious = oDate;
        }
    }
}

TEST(Date, LeapYearsAndMonthLengths)
{
    // Every fourth year before the reform, the Gregorian rule after it.
    for (unsigned iYear : {4u, 100u, 1500u, 1584u, 1600u, 2000u, 2024u}) {
        EXPECT_TRUE(cDate::isLeapYear(iYear)) << iYear;
        EXPECT_EQ(29u, cDate::daysPerMonth(2, iYear)) << iYear;
    }
    for (unsigned iYear : {1582u, 1700u, 1900u, 2023u, 2100u}) {
        EXPECT_FALSE(cDate::isLeapYear(iYear)) << iYear;
        EXPECT_EQ(28u, cDate::daysPerMonth(2, iYear)) << iYear;
    }
    const unsigned oLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (unsigned iMonth = 1; iMonth <= 12; ++iMonth)
        EXPECT_EQ(oLengths[iMonth - 1], cDate::daysPerMonth(iMonth, 2023)) << iMonth;
    for (unsigned iMonth : {0u, 13u}) {
        qstd::cBugException e =
            expectThrow<qstd::cBugException>([&] { cDate::daysPerMonth(iMonth, 2000); });
        EXPECT_EQ("Month " + std::to_string(iMonth) + " is out of range!", messageOf(e));
    }
}

TEST(Date, ConstructorAndDayNumberRejectInvalidDates)
{
    // The date, the wrong value and the largest allowed one.
    const unsigned iMax = cDate::maxYear();
    const std::tuple<Ymd, long long, long long> oTable[] = {
        {{1, 0, 2000}, 0, 12},   {{1, 13, 2000}, 13, 12}, {{0, 1, 2000}, 0, 31},
        {{32, 1, 2000}, 32, 31}, {{29, 2, 1900}, 29, 28}, {{31, 4, 2024}, 31, 30},
        {{30, 2, 2000}, 30, 29}, {{1, 1, 0}, 0, iMax},    {{1, 1, iMax + 1}, iMax + 1LL, iMax}};
    for (const auto& oRow : oTable) {
        SCOPED_TRACE(str(std::get<0>(oRow)));
        cOutOfRangeException e =
            expectThrow<cOutOfRangeException>([&] { date(std::get<0>(oRow)); });
        EXPECT_STREQ("cDate", e.container().c_str());
        EXPECT_STREQ("cDate::cDate(..)", e.operation().c_str());
        EXPECT_EQ(std::get<1>(oRow), e.errornousValue());
        EXPECT_EQ(std::get<2>(oRow), e.maxValue());
    }
    // The first and last day dropped by the reform are out of bounds.
    for (const Ymd& oDate : {Ymd{5, 10, 1582}, Ymd{14, 10, 1582}}) {
        SCOPED_TRACE(str(oDate));
        cOutOfBoundsException e = expectThrow<cOutOfBoundsException>([&] { date(oDate); });
        EXPECT_STREQ("cDate", e.container().c_str());
        EXPECT_STREQ("cDate::cDate(..)", e.operation().c_str());
    }
    EXPECT_NO_THROW(cDate(29, 2, 1500)); // a Julian leap day

    // The checked day number names the date it rejects.
    for (const Ymd& oDate : {Ymd{29, 2, 1900}, Ymd{10, 10, 1582}, Ymd{1, 13, 2000}, Ymd{1, 1, 0}}) {
        qstd::cBugException e = expectThrow<qstd::cBugException>(
            [&] { cDate::calcDaysPast(oDate.iDay, oDate.iMonth, oDate.iYear); });
        EXPECT_EQ("Invalid date " + std::to_string(oDate.iMonth) + "/" +
                      std::to_string(oDate.iDay) + "/" + std::to_string(oDate.iYear) + "!",
                  messageOf(e));
    }
}

TEST(Date, RangeEndsThrowInsteadOfWrapping)
{
    cOutOfRangeException e = expectThrow<cOutOfRangeException>([] { cDate(1, 1, 1) - 1; });
    EXPECT_STREQ("operator-", e.operation().c_str());
    EXPECT_EQ(1, e.errornousValue());
    EXPECT_EQ(0, e.maxValue());

    const cDate oLast((unsigned long long)cDate::kLastDay);
    EXPECT_EQ(cDate::maxYear(), oLast.year());
    EXPECT_GT(cDate::maxYear(), 11000000u);
    EXPECT_EQ(oLast, cDate(oLast.day(), oLast.month(), oLast.year()));
    e = expectThrow<cOutOfRangeException>([&] { oLast + 1; });
    EXPECT_STREQ("operator+", e.operation().c_str());
    EXPECT_THROW(cDate(1, 1, 2000) + 0xffffffffu, cOutOfRangeException);
    EXPECT_THROW(cDate(0x100000000ULL), cOutOfRangeException);
    EXPECT_THROW(cDate(~0ULL), cOutOfRangeException);
    EXPECT_THROW(cDate(31, 12, cDate::maxYear()), cOutOfRangeException);
    EXPECT_EQ(0u, (cDate(2, 1, 1) - 1).daysPast());
}

TEST(Date, ArithmeticCrossesTheReform)
{
    const cDate oThursday(4, 10, 1582);
    const cDate oFriday = oThursday + 1;
    EXPECT_EQ("15.10.1582", str(oFriday));
    EXPECT_EQ(oThursday, oFriday - 1);
    EXPECT_EQ(1u, oFriday - oThursday);
    // The difference of dates is the distance, whichever comes first.
    EXPECT_EQ(10957u, cDate(1, 1, 2000) - cDate(1, 1, 1970));
    EXPECT_EQ(10957u, cDate(1, 1, 1970) - cDate(1, 1, 2000));
    // 1582 lost ten days: it has 355.
    EXPECT_EQ(355u, cDate(1, 1, 1583) - cDate(1, 1, 1582));
}

TEST(Date, FromTimeIsTheUtcDate)
{
    const std::pair<unsigned long long, Ymd> oTable[] = {
        {0ULL, {1, 1, 1970}},
        {86399999999ULL, {1, 1, 1970}},
        {86400000000ULL, {2, 1, 1970}},
        {2147483648000000ULL, {19, 1, 2038}}}; // 2^31 seconds
    for (const auto& [iUSec, oDate] : oTable)
        EXPECT_EQ(str(oDate), str(cDate(qstd::cTime(iUSec)))) << iUSec;
    // The largest time lies some 584000 years ahead and must not overflow.
    const cDate oFar{qstd::cTime(~0ULL)};
    EXPECT_GT(oFar.year(), 580000u);
    EXPECT_LT(oFar.year(), 590000u);
}

TEST(Date, SettersLeaveTheDateUnchangedOnFailure)
{
    cDate oDate(29, 2, 2000);
    EXPECT_THROW(oDate.setYear(1900), qstd::cBugException);
    EXPECT_THROW(oDate.setYear(0), qstd::cBugException);
    EXPECT_THROW(oDate.setMonth(13), qstd::cBugException);
    EXPECT_EQ("29.2.2000", str(oDate));
    EXPECT_EQ(730180u, oDate.daysPast());
    oDate.setMonth(4);
    EXPECT_EQ(cDate(29, 4, 2000), oDate);
    EXPECT_THROW(oDate.setDay(31), qstd::cBugException);
    EXPECT_THROW(oDate.setDay(0), qstd::cBugException);
    EXPECT_EQ(cDate(29, 4, 2000).daysPast(), oDate.daysPast());

    cDate oReform(10, 3, 1582);
    EXPECT_THROW(oReform.setMonth(10), qstd::cBugException);
    EXPECT_EQ("10.3.1582", str(oReform));
    oReform.setYear(2024);
    EXPECT_EQ(cDate(10, 3, 2024).daysPast(), oReform.daysPast());
    oReform.setDay(31);
    EXPECT_EQ(cDate(31, 3, 2024), oReform);
    EXPECT_THROW(oReform.setMonth(4), qstd::cBugException);
    EXPECT_EQ("31.3.2024", str(oReform));
}

TEST(Date, DaysOfTheWeekAndNames)
{
    const std::tuple<Ymd, unsigned, const char*> oTable[] = {
        {{5, 5, 2025}, 0, "Mon"}, {{11, 9, 2001}, 1, "Tue"},  {{3, 7, 2024}, 2, "Wed"},
        {{1, 1, 1970}, 3, "Thu"}, {{15, 10, 1582}, 4, "Fri"}, {{1, 1, 1}, 5, "Sat"},
        {{7, 4, 2024}, 6, "Sun"}};
    for (const auto& [oYmd, iDayOfWeek, pName] : oTable) {
        SCOPED_TRACE(str(oYmd));
        EXPECT_EQ(iDayOfWeek, date(oYmd).dayOfWeek());
        EXPECT_STREQ(pName, date(oYmd).nameOfDay());
    }
    // The weekday cycle must not restart where day number + 5 leaves 32 bits.
    const cDate oLast((unsigned long long)cDate::kLastDay);
    EXPECT_EQ((oLast - 1).dayOfWeek(), (oLast - 8).dayOfWeek());
    EXPECT_EQ(((oLast - 1).dayOfWeek() + 1) % 7, oLast.dayOfWeek());
    EXPECT_STREQ("Jan", cDate::nameOfMonth(1));
    EXPECT_STREQ("Dec", cDate::nameOfMonth(12));
    EXPECT_STREQ("Feb", cDate(29, 2, 2024).nameOfMonth());

    qstd::cBugException e = expectThrow<qstd::cBugException>([] { cDate::nameOfDay(7); });
    EXPECT_NE(std::string::npos, messageOf(e).find("(iDayOfWeek < 7)!"));
    for (unsigned iMonth : {0u, 13u}) {
        e = expectThrow<qstd::cBugException>([&] { cDate::nameOfMonth(iMonth); });
        EXPECT_NE(std::string::npos, messageOf(e).find("((iMonth < 13) && (iMonth > 0))!"));
    }
}

TEST(Date, CalendarWeeksAtYearEnds)
{
    const std::pair<Ymd, unsigned> oTable[] = {
        {{1, 1, 2021}, 53},   {{4, 1, 2021}, 1},  {{31, 12, 2020}, 53}, {{31, 12, 2024}, 1},
        {{29, 12, 2024}, 52}, {{1, 1, 2016}, 53}, {{1, 1, 2023}, 52},   {{2, 1, 2023}, 1},
        {{15, 6, 2024}, 24},  {{1, 1, 1}, 53},    {{3, 1, 1}, 1}};
    for (const auto& [oYmd, iWeek] : oTable)
        EXPECT_EQ(iWeek, date(oYmd).calendarWeek()) << str(oYmd);
    // The year, its number of weeks and the Monday of its first week.
    const std::tuple<unsigned, unsigned, Ymd> oYears[] = {
        {2004, 53, {29, 12, 2003}}, {2015, 53, {29, 12, 2014}}, {2020, 53, {30, 12, 2019}},
        {2021, 52, {4, 1, 2021}},   {2024, 52, {1, 1, 2024}},   {2026, 53, {29, 12, 2025}}};
    for (const auto& [iYear, iWeeks, oFirstMonday] : oYears) {
        SCOPED_TRACE(iYear);
        EXPECT_EQ(iWeeks, cDate::calenderWeeksPerYear(iYear));
        EXPECT_EQ(str(oFirstMonday), str(cDate::beginOfCalendarWeek(iYear, 1)));
        cDate oLast = cDate::beginOfCalendarWeek(iYear, iWeeks);
        EXPECT_EQ(0u, oLast.dayOfWeek());
        EXPECT_EQ(iWeeks, oLast.calendarWeek());
        EXPECT_EQ(1u, (oLast + 7).calendarWeek());
        EXPECT_THROW(cDate::beginOfCalendarWeek(iYear, iWeeks + 1), cOutOfRangeException);
        EXPECT_THROW(cDate::beginOfCalendarWeek(iYear, 0), cOutOfRangeException);
    }
    EXPECT_THROW(cDate::calenderWeeksPerYear(0), cOutOfRangeException);
    EXPECT_THROW(cDate::beginOfCalendarWeek(0, 1), cOutOfRangeException);
}

TEST(Date, CalendarWeeksRunWithoutHoles)
{
    // Week numbers change only on Mondays, by one or back to 1 after the year's last
    // week, also across the shortened year 1582.
    const Ymd oStarts[] = {{1, 1, 1580}, {1, 1, 1995}};
    for (const Ymd& oStart : oStarts) {
        cDate oDate(oStart.iDay, oStart.iMonth, oStart.iYear);
        unsigned iWeek = oDate.calendarWeek();
        unsigned iWeekYear = oDate.month() == 1 && iWeek > 50 ? oDate.year() - 1 : oDate.year();
        for (unsigned n = 0; n < 366 * 40; ++n) {
            oDate = oDate + 1;
            SCOPED_TRACE(str(oDate));
            unsigned iNext = oDate.calendarWeek();
            if (oDate.dayOfWeek() != 0) {
                ASSERT_EQ(iWeek, iNext);
            } else if (iNext == 1) {
                ASSERT_EQ(cDate::calenderWeeksPerYear(iWeekYear), iWeek);
                ++iWeekYear;
                ASSERT_EQ(cDate::beginOfCalendarWeek(iWeekYear, 1), oDate);
            } else {
                ASSERT_EQ(iWeek + 1, iNext);
            }
            iWeek = iNext;
        }
    }
}

TEST(Date, EasterInBothCalendarsAndTheHolidaysAfterIt)
{
    const Ymd oEasters[] = {{12, 4, 179},  {12, 4, 1243}, {10, 4, 1583}, {22, 3, 1818},
                            {25, 4, 1943}, {23, 4, 2000}, {31, 3, 2024}, {22, 3, 2285}};
    for (const Ymd& oDate : oEasters) {
        cDate oEaster = cDate::calcEasterSunday(oDate.iYear);
        EXPECT_EQ(str(oDate), str(oEaster));
        EXPECT_EQ(6u, oEaster.dayOfWeek()) << oDate.iYear;
    }
    EXPECT_THROW(cDate::calcEasterSunday(0), cOutOfRangeException);
    EXPECT_THROW(cDate::calcEasterSunday(cDate::maxYear() + 1), cOutOfRangeException);
    EXPECT_NO_THROW(cDate::calcWeiberfastnacht(1));

    // Mother's Day comes a week early when it would fall on Whitsun.
    const std::pair<cDate (*)(unsigned), Ymd> oHolidays[] = {
        {cDate::calcWeiberfastnacht, {8, 2, 2024}}, {cDate::calcAshWednesday, {14, 2, 2024}},
        {cDate::calcAscensionDay, {9, 5, 2024}},    {cDate::calcWhitsun, {19, 5, 2024}},
        {cDate::calcCorpusChristi, {30, 5, 2024}},  {cDate::calcMothersDay, {12, 5, 2024}},
        {cDate::calcWhitsun, {11, 5, 2008}},        {cDate::calcMothersDay, {4, 5, 2008}}};
    for (const auto& [fCalc, oDate] : oHolidays)
        EXPECT_EQ(str(oDate), str(fCalc(oDate.iYear)));
}

TEST(Date, AgeCountsCompletedYears)
{
    const cDate oToday;
    EXPECT_EQ(0u, cDate::age(oToday));
    EXPECT_EQ(0u, (oToday - 1).age());
    if (oToday.month() == 2 && oToday.day() == 29)
        GTEST_SKIP() << "no anniversaries of 29 February in common years";
    cDate oBirthday = oToday;
    oBirthday.setYear(oToday.year() - 30);
    EXPECT_EQ(30u, cDate::age(oBirthday));
    EXPECT_EQ(30u, cDate::age(oBirthday - 1));
    if (!(oToday.month() == 2 && oToday.day() == 28)) {
        EXPECT_EQ(29u, cDate::age(oBirthday + 1));
    }
    qstd::cBugException e = expectThrow<qstd::cBugException>([&] { cDate::age(oToday + 1); });
    EXPECT_EQ("Invalid date!", messageOf(e));
}
