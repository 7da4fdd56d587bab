// Tests of qstd::cTimer and of scheduling on the system queue, turned with exec().
#include "worktesting.h"

#include <chrono>
#include <memory>

using qortest::cProbe;

namespace {

/// Turns the system's main loop until bDone or iMSec have passed.
void runUntil(const bool& bDone, int iMSec)
{
    auto oEnd = std::chrono::steady_clock::now() + std::chrono::milliseconds(iMSec);
    while (!bDone && std::chrono::steady_clock::now() < oEnd)
        qpi::system().exec();
}

} // namespace

TEST(Timer, SingleShotPeriodicAndReset)
{
    qstd::cTimer oShot;
    bool bFired = false;
    cProbe oProbe([&] { bFired = true; });
    oShot.sigElapsed.connect(oProbe, &cProbe::slt);
    oShot.setSingleShot(0);
    qpi::system().exec();
    EXPECT_TRUE(bFired);
    EXPECT_TRUE(oShot.isElapsed());

    auto oStart = std::chrono::steady_clock::now();
    qstd::cTimer oPeriodic(10);
    bool bSawElapsedInside = false;
    int iTicks = 0;
    bool bThree = false;
    cProbe oTick([&] {
        bSawElapsedInside = oPeriodic();
        bThree = ++iTicks == 3;
    });
    oPeriodic.sigElapsed.connect(oTick, &cProbe::slt);
    qstd::cTimer oNever;
    oNever.setSingleShot(5);
    oNever.reset();
    runUntil(bThree, 2000);
    EXPECT_EQ(3, iTicks);
    // A work is due less than 1 ms before its time, and each run plans the next.
    EXPECT_GE(std::chrono::steady_clock::now() - oStart, std::chrono::milliseconds(26));
    EXPECT_TRUE(bSawElapsedInside);
    EXPECT_FALSE(oPeriodic.isElapsed()) << "periodic: elapsed only during the emission";
    EXPECT_FALSE(oNever.isElapsed());
}

TEST(Timer, DestroyedFromItsOwnSignalAndWhileRunning)
{
    unsigned iEntries = qortest::liveEntries(qpi::system().workQueue());
    std::unique_ptr<qstd::cTimer> pSelf(new qstd::cTimer);
    cProbe oKill([&] { pSelf.reset(); });
    pSelf->sigElapsed.connect(oKill, &cProbe::slt);
    pSelf->setSingleShot(0);
    {
        qstd::cTimer oRunning(1);
    }
    qpi::system().exec();
    EXPECT_FALSE(pSelf);
    EXPECT_EQ(1, oKill.miCalls);
    qpi::system().exec();
    EXPECT_EQ(iEntries, qortest::liveEntries(qpi::system().workQueue()));
}

TEST(Schedule, SlotRunsOnceLaterThenTheWorkIsDestroyed)
{
    bool bDone = false;
    cProbe oProbe([&] { bDone = true; });
    // Measured from before the work is planned: the planned time counts from there.
    auto oStart = std::chrono::steady_clock::now();
    qstd::tSharedObject<qpi::cWork> pJob = qpi::schedule(
        qrmi::cDirectLocalSlotCall0<cProbe, piVoid>(oProbe, &cProbe::slt), 20, "later");
    qstd::tSharedObjectWatch<qpi::cWork> oWatch(pJob);
    pJob = qstd::tSharedObject<qpi::cWork>();
    runUntil(bDone, 2000);
    EXPECT_GE(std::chrono::steady_clock::now() - oStart, std::chrono::milliseconds(18));
    qpi::system().exec();
    EXPECT_EQ(1, oProbe.miCalls);
    EXPECT_FALSE(oWatch.valid());
}
