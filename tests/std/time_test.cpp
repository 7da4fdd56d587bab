// Tests of qstd::cTime and of the system clock behind it.
#include "qor_core/pi/systime.h"
#include "qor_core/std/time.h"

#include <gtest/gtest.h>

#include <chrono>

using qstd::cTime;

namespace {
constexpr unsigned long long kMax = ~0ULL;
constexpr unsigned long long kSecond = 1000000ULL;
} // namespace

TEST(Time, ConstructorsWidenTo64BitsAndConversionsTruncate)
{
    // The largest 32-bit arguments overflow any 32-bit intermediate (as on ARM).
    EXPECT_EQ(4294967295999999ULL, cTime(4294967295u, 999999u).toUSec());
    EXPECT_EQ(4294967295ULL, cTime(4294967295u, 0u, 0u, 0u).toHour());
    EXPECT_EQ(15461882262000000000ULL + 4294967295ULL,
              cTime(4294967295u, 0u, 0u, 4294967295u).toUSec());
    EXPECT_EQ(1500000ULL, cTime(1u, 500000u).get());

    cTime oTime(7199999999ULL); // 1 h 59 min 59.999999 s
    EXPECT_EQ(7199999999000ULL, oTime.toNSec());
    EXPECT_EQ(7199999ULL, oTime.toMSec());
    EXPECT_EQ(7199ULL, oTime.toSec());
    EXPECT_EQ(119ULL, oTime.toMin());
    EXPECT_EQ(1ULL, oTime.toHour());
}

TEST(Time, FieldsOfTheTimeOfDayCarryOver)
{
    // Hours, minutes, seconds and microseconds given, then hour(), minutes(), sec(),
    // msec() and usec(). 25 h 61 min 61 s is 26:02:01; whole days drop out of hour().
    const unsigned oTable[][9] = {{0, 0, 0, 0, 0, 0, 0, 0, 0},
                                  {25, 61, 61, 1, 2, 2, 1, 0, 1},
                                  {23, 59, 59, 999999, 23, 59, 59, 999, 999999},
                                  {0, 0, 0, 1999999, 0, 0, 1, 999, 999999},
                                  {48, 0, 3600, 1000, 1, 0, 0, 1, 1000}};
    for (const auto& oRow : oTable) {
        SCOPED_TRACE(testing::Message()
                     << oRow[0] << ":" << oRow[1] << ":" << oRow[2] << "." << oRow[3]);
        cTime oTime(oRow[0], oRow[1], oRow[2], oRow[3]);
        EXPECT_EQ(oRow[4], oTime.hour());
        EXPECT_EQ(oRow[5], oTime.minutes());
        EXPECT_EQ(oRow[6], oTime.sec());
        EXPECT_EQ(oRow[7], oTime.msec());
        EXPECT_EQ(oRow[8], oTime.usec());
    }
}

TEST(Time, DifferenceIsAbsoluteSumSaturatesAndSignedOffsetsWrap)
{
    const cTime oFive(5u, 0u), oSeven(7u, 0u);
    EXPECT_EQ(cTime(2u, 0u), oSeven - oFive);
    EXPECT_EQ(cTime(2u, 0u), oFive - oSeven);
    EXPECT_EQ(cTime(0ULL), oFive - oFive);
    EXPECT_EQ(cTime(12u, 0u), oFive + oSeven);
    EXPECT_EQ(kMax, (cTime(kMax) + cTime(1ULL)).get());
    EXPECT_EQ(kMax, (cTime(kMax) + cTime(kMax)).get());
    EXPECT_EQ(kMax, (cTime(0ULL) - cTime(kMax)).get());

    EXPECT_EQ(kMax, (cTime(0ULL) - 1LL).get());
    EXPECT_EQ(0ULL, (cTime(kMax) + 1LL).get());
    EXPECT_EQ(3ULL, (cTime(5ULL) + -2LL).get());
    EXPECT_EQ(7ULL, (cTime(5ULL) - -2LL).get());
    const long long iMin = -9223372036854775807LL - 1;
    EXPECT_EQ(1ULL << 63, (cTime(0ULL) - iMin).get());
    EXPECT_TRUE(cTime(1ULL) < cTime(kMax) && cTime(kMax) > cTime(1ULL));
}

TEST(SysTime, ClockFollowsTheSystemClock)
{
    // std::time() may read a coarse clock that lags the precise one by a tick.
    const auto secondsNow = [] {
        return (unsigned long long)std::chrono::duration_cast<std::chrono::seconds>(
                   std::chrono::system_clock::now().time_since_epoch())
            .count();
    };
    const unsigned long long iBefore = secondsNow();
    const cTime oNow;
    const unsigned long long iAfter = secondsNow();
    EXPECT_GE(oNow.toSec(), iBefore);
    EXPECT_LE(oNow.toSec(), iAfter);
    EXPECT_GT(oNow.toSec(), 1577836800ULL); // later than 1 January 2020
    EXPECT_LE(qpi::usecSinceEpoch() - oNow.get(), 2 * kSecond);

    // diff() is the distance to now, whether the time lies behind or ahead.
    const cTime oPast = qpi::cSysTime::utcTime() - (long long)(10 * kSecond);
    const cTime oFuture = qpi::cSysTime::utcTime() + (long long)(10 * kSecond);
    EXPECT_GE(oPast.diff().get(), 10 * kSecond);
    EXPECT_LT(oPast.diff().get(), 12 * kSecond);
    EXPECT_LE(oFuture.diff().get(), 10 * kSecond);
    EXPECT_GT(oFuture.diff().get(), 8 * kSecond);
}
