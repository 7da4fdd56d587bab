// Tests of lockers, runnables and process objects.
#include "qor_core/qor_core.h"
#include "std/testutil.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>

using namespace qp;
using qortest::expectThrow;
using qortest::messageOf;

namespace {

/// Runs a function on a thread of its own.
class cFunctionRunnable : public cAbstractRunnable
{
public:
    explicit cFunctionRunnable(std::function<void(cFunctionRunnable&)> fBody) : mfBody(fBody) {}
    ~cFunctionRunnable() override { stop(); }
    void run() override { mfBody(*this); }

private:
    std::function<void(cFunctionRunnable&)> mfBody;
};

/// Whether another thread's tryLock() gets the locker.
bool lockableElsewhere(cLocker& oLocker)
{
    std::atomic<bool> bLocked(false);
    cFunctionRunnable oOther([&](cFunctionRunnable&) {
        cLocker::cLock oTry(oLocker.tryLock());
        bLocked = oTry.isLocked();
    });
    oOther.start();
    oOther.stop();
    return bLocked;
}

/// What a run() that loops until a stop is requested does, giving up after two
/// seconds so that a lost stop request fails the test instead of hanging it.
/// Returns whether the stop request was seen.
bool waitForStop(cAbstractRunnable& oSelf)
{
    auto oDeadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!oSelf.isStopInProgress()) {
        if (std::chrono::steady_clock::now() > oDeadline)
            return false;
        qpi::cPlatform().yield();
    }
    return true;
}

class cTestPollable : public cAbstractPollable
{
public:
    explicit cTestPollable(cAbstractProcessData& oData) : cAbstractPollable(oData) {}
    void process() override {}
};

} // namespace

TEST(Locker, TryLockRecursiveLockingAndScopedUnlock)
{
    cLocker oLocker;
    {
        cLocker::cLock oOuter(oLocker.lock());
        EXPECT_FALSE(lockableElsewhere(oLocker));
        EXPECT_FALSE(lockableElsewhere(oLocker)) << "the failed try must not unlock";
        cLocker::cLock oInner(&oLocker); // the same thread may lock again
        EXPECT_TRUE(oInner.isLocked());
    }
    EXPECT_TRUE(lockableElsewhere(oLocker)) << "both locks were released";

    cLocker::cLock oHeld(oLocker.lock());
    {
        cLocker::cUnlock oOpen(oLocker.unlock());
        EXPECT_TRUE(lockableElsewhere(oLocker));
    }
    EXPECT_FALSE(lockableElsewhere(oLocker)) << "locked again after the scoped unlock";

    cLocker::cLock oNull(static_cast<cLocker*>(nullptr)); // locks nothing, unlocks nothing
    EXPECT_TRUE(oNull.isLocked());
    cLocker oCopy(oLocker); // a copy has a mutex of its own
    EXPECT_TRUE(cLocker::cLock(oCopy.tryLock()).isLocked());
}

TEST(Runnable, StatesOfALifeCycle)
{
    std::atomic<bool> bRelease(false);
    std::atomic<unsigned> iSeenInRun(99);
    cFunctionRunnable oRunnable([&](cFunctionRunnable& oSelf) {
        iSeenInRun = oSelf.state();
        while (!bRelease && !oSelf.isStopInProgress())
            qpi::cPlatform().yield();
    });
    EXPECT_EQ(unsigned(cAbstractRunnable::NeverStarted), oRunnable.state());
    EXPECT_FALSE(oRunnable.isActive());
    oRunnable.start();
    while (iSeenInRun == 99u)
        qpi::cPlatform().yield();
    EXPECT_EQ(unsigned(cAbstractRunnable::Running), iSeenInRun.load());
    EXPECT_TRUE(oRunnable.isActive());
    oRunnable.stop(); // run() watches for the stop and returns
    EXPECT_EQ(unsigned(cAbstractRunnable::Finished), oRunnable.state());
    EXPECT_FALSE(oRunnable.isActive());

    // stop() after run() returned keeps the finished state.
    bRelease = true;
    oRunnable.start();
    while (oRunnable.state() != cAbstractRunnable::Finished)
        qpi::cPlatform().yield();
    oRunnable.stop();
    EXPECT_EQ(unsigned(cAbstractRunnable::Finished), oRunnable.state());

    cFunctionRunnable oNever([](cFunctionRunnable&) {});
    oNever.stop();
    EXPECT_EQ(unsigned(cAbstractRunnable::StopInProgress), oNever.state());
}

TEST(Runnable, StopRightAfterStartIsNotLost)
{
    std::atomic<int> iLost(0);
    cFunctionRunnable oRunnable([&](cFunctionRunnable& oSelf) {
        if (!waitForStop(oSelf))
            ++iLost;
    });
    // The new thread usually begins after stop() asked: it must not run on.
    for (int i = 0; i < 20 && iLost == 0; ++i) {
        oRunnable.start();
        oRunnable.stop();
        EXPECT_EQ(unsigned(cAbstractRunnable::Finished), oRunnable.state());
    }
    EXPECT_EQ(0, iLost.load());
}

TEST(Runnable, StartWhileRunningStopsTheRunningThreadFirst)
{
    std::atomic<int> iRuns(0), iLost(0);
    cFunctionRunnable oRunnable([&](cFunctionRunnable& oSelf) {
        ++iRuns;
        if (!waitForStop(oSelf))
            ++iLost;
    });
    oRunnable.start();
    while (!oRunnable.isRunning())
        qpi::cPlatform().yield();
    oRunnable.start(); // asks the first run to stop, joins it, starts the second
    EXPECT_EQ(0, iLost.load());
    while (iRuns < 2)
        qpi::cPlatform().yield();
    oRunnable.stop();
    EXPECT_EQ(0, iLost.load());
    EXPECT_EQ(unsigned(cAbstractRunnable::Finished), oRunnable.state());
}

TEST(Runnable, CopyingAndAssigningThrow)
{
    cFunctionRunnable oRunnable([](cFunctionRunnable&) {}), oOther([](cFunctionRunnable&) {});
    auto e = expectThrow<qstd::cBugException>([&] { cAbstractRunnable oCopy(oRunnable); });
    EXPECT_EQ("Threads could not be copied!", messageOf(e));
    e = expectThrow<qstd::cBugException>(
        [&] { static_cast<cAbstractRunnable&>(oOther) = oRunnable; });
    EXPECT_EQ("Threads could not be assigned!", messageOf(e));
}

TEST(Process, DataServesOneProcessAtATime)
{
    cBasicProcessData oData;
    {
        cTestPollable oFirst(oData);
        EXPECT_EQ(cAbstractProcessData::PollableContext, oData.context());
        auto e = expectThrow<qstd::cBugException>([&] { cTestPollable oSecond(oData); });
        EXPECT_EQ("Never use process data for more than one process!", messageOf(e));
        // The failed attempt did not detach the data from the first process.
        EXPECT_EQ(cAbstractProcessData::PollableContext, oData.context());
    }
    EXPECT_EQ(cAbstractProcessData::NoContext, oData.context());
    cTestPollable oAgain(oData);
    EXPECT_EQ(&oAgain, oAgain.isPollable());
    EXPECT_EQ(nullptr, oAgain.isRunnable());
}

TEST(Process, FlagsFollowRestartFinishAndCancel)
{
    cLocker oStateLocker;
    cBasicProcessData oData;
    oData.setContext(cAbstractProcessData::PollableContext, &oStateLocker, nullptr);
    testing::internal::CaptureStderr();
    oData.restart();
    std::string sErr = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, sErr.find("cAbstractProcessData::restart()"));
    EXPECT_NE(std::string::npos, sErr.find("Setting running flag..."));
    EXPECT_TRUE(oData.isRunning());
    oData.cancel();
    EXPECT_TRUE(oData.isCanceled());
    oData.setFinished();
    EXPECT_FALSE(oData.isRunning());
    EXPECT_TRUE(oData.isFinished());
    testing::internal::CaptureStderr();
    oData.restart();
    testing::internal::GetCapturedStderr();
    EXPECT_FALSE(oData.isCanceled());
    EXPECT_FALSE(oData.isFinished());
    EXPECT_EQ(cAbstractProcessData::DefaultPreferredContext, oData.preferredContext());
}
