// Tests of qstd::cDateTime, of the local zone behind it (qpi::cSysTime::zoneOffset)
// and of qstd::cBuildInfo.
#include "qor_core/pi/systime.h"
#include "qor_core/std/asciistring.h"
#include "qor_core/std/buildinfo.h"
#include "qor_core/std/datetime.h"
#include "qor_core/std/exceptions.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <utility>
#include <unistd.h>

using qortest::expectThrow;
using qstd::cAsciiString;
using qstd::cDate;
using qstd::cDateTime;
using qstd::cTime;

namespace {

constexpr long long kHour = 3600000000LL;
// Thursday, 29 February 2024, 13:07:09 UTC.
constexpr unsigned int kLeapDaySeconds = 1709212029u;

std::string str(const cAsciiString& s)
{
    return s.c_str();
}

/// Sets TZ for the lifetime of the object and restores the previous value after.
class cZoneGuard
{
public:
    explicit cZoneGuard(const char* pZone)
    {
        const char* pOld = std::getenv("TZ");
        mbHadZone = pOld != nullptr;
        if (mbHadZone)
            msOldZone = pOld;
        setenv("TZ", pZone, 1);
        tzset();
    }
    ~cZoneGuard()
    {
        if (mbHadZone)
            setenv("TZ", msOldZone.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    bool mbHadZone;
    std::string msOldZone;
};

} // namespace

TEST(SysTime, ZoneOffsetCountsMinutesWestOfGreenwich)
{
    // The zone and its offset in minutes.
    const std::pair<const char*, long long> oTable[] = {
        {"UTC0", 0}, {"JST-9", -540}, {"EST5", 300}, {"IST-5:30", -330}, {"<-0330>3:30", 210}};
    for (const auto& [pZone, iMinutes] : oTable) {
        SCOPED_TRACE(pZone);
        cZoneGuard oZone(pZone);
        EXPECT_EQ(iMinutes * 60000000LL, qpi::cSysTime::zoneOffset());
    }
    if (access("/usr/share/zoneinfo/Asia/Tokyo", R_OK) == 0) {
        cZoneGuard oZone("Asia/Tokyo");
        EXPECT_EQ(-9 * kHour, qpi::cSysTime::zoneOffset());
    }
    // Setting TZ without tzset() afterwards must count as well.
    cZoneGuard oZone("UTC0");
    setenv("TZ", "JST-9", 1);
    EXPECT_EQ(-9 * kHour, qpi::cSysTime::zoneOffset());
}

TEST(DateTime, TodayDependsOnTheZone)
{
    // UTC+14 and UTC-12 are always 26 hours apart: their dates differ by one or two.
    cDate oEast, oWest;
    {
        cZoneGuard oZone("<+14>-14");
        oEast = cDate();
    }
    {
        cZoneGuard oZone("<-12>12");
        oWest = cDate();
    }
    EXPECT_TRUE(oWest < oEast);
    EXPECT_LE(oEast - oWest, 2u);
    const cDate oUtc = cDateTime().utcDate();
    EXPECT_LE(oWest, oUtc);
    EXPECT_LE(oUtc, oEast);
}

TEST(DateTime, FormatsFieldsAndNames)
{
    const cTime oLeapDay(kLeapDaySeconds, 0u);
    // Placeholders are case-sensitive: mm is the month, MM the minutes.
    const std::pair<const char*, const char*> oTable[] = {
        {"dd.mm.yyyy HH:MM:SS", "29.02.2024 13:07:09"},
        {"dn, dd mn yyyy", "Thu, 29 Feb 2024"},
        {"hh:mm", "hh:02"},
        {"ddd|yyyyy|HHHH", "29d|2024y|1313"},
        {"", ""},
        {"MM MM MM", "07 07 07"},
        {"dnn", "Thun"}};
    for (const auto& [pPattern, pExpected] : oTable)
        EXPECT_EQ(pExpected, str(cDateTime::formatString(oLeapDay, cAsciiString(pPattern))));
    EXPECT_EQ("01.01.1970 00:00:05", str(cDateTime(cTime(5u, 0u), cDateTime::Unshifted)
                                             .formatString(cAsciiString("dd.mm.yyyy HH:MM:SS"))));
    // A pattern is text with a length: a 0 byte does not end it.
    const cAsciiString sWithZero("HH\0HH", 5);
    EXPECT_EQ(std::string("13") + '\0' + "13",
              std::string(cDateTime::formatString(oLeapDay, sWithZero).c_str(), 5));
    // Years beyond four digits keep all of them.
    EXPECT_EQ(6u, cDateTime::formatString(cTime(~0ULL), cAsciiString("yyyy")).length());
}

TEST(DateTime, TimeOfDayOnADate)
{
    cDateTime oLeapDay(cTime(13u, 7u, 9u, 0u), cDate(29, 2, 2024), cDateTime::Unshifted);
    EXPECT_EQ(cTime(kLeapDaySeconds, 0u), oLeapDay.utcTime());
    EXPECT_EQ(cDate(29, 2, 2024), oLeapDay.utcDate());
    EXPECT_EQ(cTime(0ULL),
              cDateTime(cTime(0ULL), cDate(1, 1, 1970), cDateTime::Unshifted).utcTime());

    qstd::cOutOfRangeException e = expectThrow<qstd::cOutOfRangeException>(
        [] { cDateTime(cTime(0ULL), cDate(31, 12, 1969), cDateTime::Unshifted); });
    EXPECT_STREQ("cDateTime", e.container().c_str());
    EXPECT_THROW(
        cDateTime(cTime(0ULL), cDate((unsigned long long)cDate::kLastDay), cDateTime::Unshifted),
        qstd::cOutOfRangeException);
    // The last date that fits: the sum must not wrap to a small time.
    const cDate oFar{cTime(~0ULL)};
    EXPECT_NO_THROW(cDateTime(cTime(0ULL), oFar, cDateTime::Unshifted));
    EXPECT_THROW(cDateTime(cTime(0ULL), oFar + 1, cDateTime::Unshifted),
                 qstd::cOutOfRangeException);
    EXPECT_THROW(cDateTime(cTime(23u, 59u, 59u, 999999u), oFar, cDateTime::Unshifted),
                 qstd::cOutOfRangeException);
}

TEST(DateTime, ZoneShiftFollowsTheLocalZone)
{
    {
        cZoneGuard oZone("JST-9");
        const cTime oEvening(20u, 0u, 0u, 0u); // 1 January 1970, 20:00 UTC
        cDateTime oTime(oEvening, cDateTime::Unshifted);
        EXPECT_EQ(cTime(29u, 0u, 0u, 0u), oTime.localTime());
        EXPECT_EQ(cDate(1, 1, 1970), oTime.utcDate());
        EXPECT_EQ(cDate(2, 1, 1970), oTime.localDate());
        EXPECT_EQ(oTime.localTime(), cDateTime(oEvening, cDateTime::LocalShift).utcTime());
        EXPECT_EQ(cTime(33u, 0u, 0u, 0u),
                  cDateTime(cTime(0ULL), cDate(2, 1, 1970), cDateTime::LocalShift).utcTime());
        EXPECT_EQ("02.01.1970 05:00", str(cDateTime::formatString(
                                          oTime.localTime(), cAsciiString("dd.mm.yyyy HH:MM"))));
        // Shifting east from the largest time would wrap to 1970.
        EXPECT_THROW(cDateTime(cTime(~0ULL), cDateTime::LocalShift), qstd::cOutOfRangeException);
    }
    {
        cZoneGuard oZone("EST5");
        cDateTime oTime(cTime(27u, 0u, 0u, 0u), cDateTime::Unshifted); // 2 January, 03:00 UTC
        EXPECT_EQ(cDate(1, 1, 1970), oTime.localDate());
        EXPECT_EQ(cTime(22u, 0u, 0u, 0u), oTime.localTime());
        // Five hours west of the epoch lies before the epoch: not representable.
        EXPECT_THROW(cDateTime(cTime(0ULL), cDateTime::Unshifted).localTime(),
                     qstd::cOutOfRangeException);
        EXPECT_THROW(cDateTime(cTime(0ULL), cDateTime::LocalShift), qstd::cOutOfRangeException);
    }
}

TEST(BuildInfo, TextsAndCount)
{
    EXPECT_EQ("unknown", str(qstd::cBuildInfo().buildSystem()));
    EXPECT_EQ(0ULL, qstd::cBuildInfo().buildCount());
    qstd::cBuildInfo oInfo("cmake", "g++", "12.2", "builder", "2024-02-29", 4294967295u);
    const qstd::cBuildInfo oCopy(oInfo);
    qstd::cBuildInfo oOther(nullptr, "clang", nullptr, nullptr, nullptr, 1);
    oInfo.swap(oOther);
    EXPECT_EQ("", str(oInfo.buildSystem())); // a null text is empty
    EXPECT_EQ("clang", str(oInfo.compiler()));
    EXPECT_EQ(1ULL, oInfo.buildCount());
    // The swapped-out original and the copy made before the swap hold the same texts.
    const qstd::cBuildInfo* const oHolders[] = {&oOther, &oCopy};
    for (const qstd::cBuildInfo* p : oHolders) {
        EXPECT_EQ("cmake g++ 12.2 builder 2024-02-29",
                  str(p->buildSystem() + " " + p->compiler() + " " + p->compilerVersion() + " " +
                      p->buildHost() + " " + p->buildDate()));
        EXPECT_EQ(4294967295ULL, p->buildCount());
    }
}
