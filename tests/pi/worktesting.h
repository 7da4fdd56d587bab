// worktesting.h - helpers of the work queue tests: a clock the test moves, process
// events that only record, and a receiver that runs a function.
#ifndef QOR_TESTS_PI_WORKTESTING_H
#define QOR_TESTS_PI_WORKTESTING_H

#include "qor_core/qor_core.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace qortest {

/// A clock that stands still until the test moves it. Installed for its lifetime.
class cFakeClock : public qpi::cWorkClock
{
public:
    cFakeClock() : miWall(1700000000000000ULL), miMonotonic(5000000ULL) { setCurrent(this); }
    ~cFakeClock() override { setCurrent(nullptr); }
    /// Time passes: both clocks advance.
    void advanceMSec(unsigned long long iMSec)
    {
        miWall += iMSec * 1000ULL;
        miMonotonic += iMSec * 1000ULL;
    }
    /// The wall clock is set: only it jumps.
    void stepWallUSec(long long iUSec) { miWall += iUSec; }

protected:
    unsigned long long readWallUSec() const override { return miWall; }
    unsigned long long readMonotonicUSec() const override { return miMonotonic; }

private:
    unsigned long long miWall;
    unsigned long long miMonotonic;
};

/// Process events that never sleep: they record each wait and report at once, so a
/// process() is one pass, the recorded wait and the pass after it.
class cRecordingEvents : public qpi::cAbstractProcessEvents
{
public:
    explicit cRecordingEvents(bool bAIO = true) : mbAIO(bAIO) {}
    bool supportsAIO() const override { return mbAIO; }
    bool isAsynchronous() const override { return false; }
    void yield(unsigned int, tJobList&, unsigned int iTimeout) override
    {
        ++miYields;
        miLastTimeout = iTimeout;
        if (iTimeout != 0)
            sigFinished();
    }
    void wakeUp() override { ++miWakeUps; }

    bool mbAIO;
    int miYields = 0;
    int miWakeUps = 0;
    unsigned miLastTimeout = 0;
};

/// A receiver whose slot counts its calls and runs a function.
class cProbe : public qrmi::cConnectable
{
public:
    explicit cProbe(std::function<void()> fOnCall = nullptr) : mfOnCall(std::move(fOnCall)) {}
    piVoid slt()
    {
        ++miCalls;
        if (mfOnCall)
            mfOnCall();
        return piVoid();
    }
    void attach(qpi::cWork& oWork) { oWork.sigAction.connect(*this, &cProbe::slt); }

    int miCalls = 0;
    std::function<void()> mfOnCall;
};

/// Number of entries not marked for erasure.
inline unsigned liveEntries(qpi::cWorkQueue& oQueue)
{
    unsigned iCount = 0;
    for (auto it = oQueue.jobs().begin(); it != oQueue.jobs().end(); ++it)
        if (!it.isMarkedForErase() && it->get())
            ++iCount;
    return iCount;
}

} // namespace qortest

#endif
