// Tests of both process-events implementations, POSIX and epoll: waiting on pipes,
// the sleep without descriptors, the event flags, and a full turn of a queue that
// waits in them. The epoll object is driven as its queue drives it: it tracks the
// list, and the works that start and stop waiting are reported to it.
#include "worktesting.h"

#include "qor_core/pi/platform/dependend/native_linux/epollprocessevents.h"
#include "qor_core/pi/platform/dependend/native_linux/posixprocessevents.h"
#include "std/testutil.h"

#include <chrono>
#include <initializer_list>
#include <map>
#include <memory>
#include <unistd.h>

using namespace qpi;
using qortest::cProbe;

namespace {

/// A pipe closed with the test.
struct cPipe
{
    cPipe() { EXPECT_EQ(0, ::pipe(miFds)); }
    ~cPipe()
    {
        ::close(miFds[0]);
        ::close(miFds[1]);
    }
    void write() { ASSERT_EQ(1, ::write(miFds[1], "x", 1)); }
    int readEnd() const { return miFds[0]; }
    int miFds[2];
};

/// A started I/O work waiting for iFd to become readable.
void waitReadable(cWork& oWork, int iFd)
{
    qstd::tAutoPtr<cFDAIOData> pData(new cFDAIOData);
    pData->addFd(iFd, tFdInfo::FdReadable);
    oWork.setAIOData(qstd::tAutoPtr<cAbstractAIOData>(pData.release()));
}

/// Reports the works of a list to a tracking events object as cWorkQueue does: a
/// started AsyncIO work is watched (again on every change), any other unwatched.
class cTracker : public qrmi::cConnectable
{
public:
    explicit cTracker(cAbstractProcessEvents& oEvents) : moEvents(oEvents) {}
    ~cTracker() override
    {
        for (auto& oEntry : moRegistrations)
            moEvents.unwatchWork(oEntry.second);
    }
    void follow(cWork& oWork)
    {
        oWork.sigChanged.connect(*this, &cTracker::sltChanged);
        sltChanged(&oWork);
    }
    piVoid sltChanged(cWork* pWork)
    {
        auto it = moRegistrations.find(pWork);
        if (pWork->isStarted() && pWork->type() == cWork::AsyncIO && !pWork->isBeingDestroyed()) {
            cAbstractProcessEvents::cWorkRegistration* pOld =
                it == moRegistrations.end() ? nullptr : it->second;
            moRegistrations[pWork] = moEvents.watchWork(*pWork, pOld);
        } else if (it != moRegistrations.end()) {
            moEvents.unwatchWork(it->second);
            moRegistrations.erase(it);
        }
        return piVoid();
    }

private:
    cAbstractProcessEvents& moEvents;
    std::map<cWork*, cAbstractProcessEvents::cWorkRegistration*> moRegistrations;
};

template <class E> class PosixProcessEvents : public testing::Test
{
protected:
    PosixProcessEvents() : moTracker(moEvents)
    {
        moEvents.sigFinished.connect(moFinished, &cProbe::slt);
        mbTracking = moEvents.trackWorks(moJobs);
    }
    void add(std::initializer_list<cWork*> oWorks)
    {
        for (cWork* pWork : oWorks) {
            moJobs.append(qstd::tSharedObject<cWork>(*pWork));
            if (mbTracking)
                moTracker.follow(*pWork);
        }
    }
    long long msSince(std::chrono::steady_clock::time_point oStart)
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now() - oStart)
            .count();
    }

    E moEvents;
    cProbe moFinished;
    cAbstractProcessEvents::tJobList moJobs;
    bool mbTracking;
    cTracker moTracker;
};

typedef testing::Types<cPosixProcessEvents, cEpollProcessEvents> tImplementations;
TYPED_TEST_SUITE(PosixProcessEvents, tImplementations);

} // namespace

TYPED_TEST(PosixProcessEvents, ReadyDescriptorsMarkEveryWaitingWork)
{
    cPipe oPipe, oQuiet;
    cWork oFirst, oSecond, oIdle, oStopped;
    waitReadable(oFirst, oPipe.readEnd());
    waitReadable(oSecond, oPipe.readEnd());
    waitReadable(oIdle, oQuiet.readEnd());
    waitReadable(oStopped, oPipe.readEnd());
    oStopped.stop();
    this->add({&oFirst, &oIdle, &oSecond, &oStopped});
    oPipe.write();

    this->moEvents.yield(0, this->moJobs, 0);
    EXPECT_EQ(0, this->moFinished.miCalls) << "a zero timeout examines nothing";
    EXPECT_FALSE(oFirst.aioData().isEvent());

    auto oStart = std::chrono::steady_clock::now();
    this->moEvents.yield(0, this->moJobs, 5000);
    EXPECT_LT(this->msSince(oStart), 1000);
    EXPECT_EQ(1, this->moFinished.miCalls);
    EXPECT_TRUE(oFirst.aioData().isEvent());
    EXPECT_TRUE(oSecond.aioData().isEvent());
    EXPECT_FALSE(oIdle.aioData().isEvent());
    EXPECT_FALSE(oStopped.aioData().isEvent());
}

TYPED_TEST(PosixProcessEvents, WithoutDescriptorsSelectSleeps)
{
    auto oStart = std::chrono::steady_clock::now();
    this->moEvents.yield(0, this->moJobs, 60);
    long long iElapsed = this->msSince(oStart);
    EXPECT_GE(iElapsed, 55);
    EXPECT_LT(iElapsed, 600);
    EXPECT_EQ(1, this->moFinished.miCalls);
}

TYPED_TEST(PosixProcessEvents, FlagsAndMissingData)
{
    EXPECT_EQ(0x03C7u, tFdInfo(3, tFdInfo::FdReadable | tFdInfo::FdWritable).pollEvents());
    EXPECT_EQ(0x0018u, tFdInfo(3, tFdInfo::FdError).pollEvents());

    struct cOtherData : cAbstractAIOData
    {
    };
    cWork oWork;
    this->add({&oWork});
    oWork.setAIOData(qstd::tAutoPtr<cAbstractAIOData>(new cOtherData));
    qstd::cBugException e = qortest::expectThrow<qstd::cBugException>(
        [&] { this->moEvents.yield(0, this->moJobs, 10); });
    EXPECT_EQ("Asynchronous I/O data does not have file descriptor information!",
              qortest::messageOf(e));
    oWork.setAIOData(qstd::tAutoPtr<cAbstractAIOData>());
    EXPECT_FALSE(oWork.isStarted()) << "null data stops a work that had data";
    oWork.start(0, cWork::AsyncIO);
    EXPECT_EQ(cWork::Periodic, oWork.type());
    e = qortest::expectThrow<qstd::cBugException>([&] { oWork.aioData(); });
    EXPECT_EQ("Work does not own asynchronous I/O data!", qortest::messageOf(e));
}

template <class E> class PosixWorkQueue : public testing::Test
{
};
TYPED_TEST_SUITE(PosixWorkQueue, tImplementations);

TYPED_TEST(PosixWorkQueue, PipeReadinessRunsTheWorkInOneTurn)
{
    cPipe oPipe;
    cWorkQueue oQueue;
    oQueue.setEvents(qstd::tAutoPtr<cAbstractProcessEvents>(new TypeParam));
    cWork oReader, oTimeout;
    char c;
    cProbe oRead([&] { ASSERT_EQ(1, ::read(oPipe.readEnd(), &c, 1)); }), oTimedOut;
    oRead.attach(oReader);
    oTimedOut.attach(oTimeout);
    oQueue.addJob(oReader);
    oQueue.addJob(oTimeout);
    waitReadable(oReader, oPipe.readEnd());
    oTimeout.start(30, cWork::Single);
    auto oStart = std::chrono::steady_clock::now();
    oQueue.process(); // nothing to read: the timed work ends the wait
    EXPECT_EQ(0, oRead.miCalls);
    EXPECT_EQ(1, oTimedOut.miCalls);
    EXPECT_GE(std::chrono::steady_clock::now() - oStart, std::chrono::milliseconds(25));

    oPipe.write();
    oStart = std::chrono::steady_clock::now();
    oQueue.process(); // I/O works only: a 10 s wait that the pipe ends at once
    EXPECT_EQ(1, oRead.miCalls);
    EXPECT_LT(std::chrono::steady_clock::now() - oStart, std::chrono::milliseconds(1000));
    EXPECT_EQ(2u, oQueue.jobs().count());
}

TYPED_TEST(PosixWorkQueue, QueueDestroyedWhileItsEventsReport)
{
    cPipe oPipe;
    std::unique_ptr<cWorkQueue> pQueue(new cWorkQueue);
    pQueue->setEvents(qstd::tAutoPtr<cAbstractProcessEvents>(new TypeParam));
    qstd::tSharedObject<cWork> pReader = pQueue->createJob();
    cProbe oRead([&] { pQueue.reset(); }); // also ends the emission of sigFinished
    oRead.attach(*pReader);
    waitReadable(*pReader, oPipe.readEnd());
    pReader = qstd::tSharedObject<cWork>();
    oPipe.write();
    cWorkQueue* pRaw = pQueue.get();
    pRaw->process();
    EXPECT_EQ(1, oRead.miCalls);
    EXPECT_FALSE(pQueue);
}
