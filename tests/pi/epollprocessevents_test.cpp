// Tests of the epoll process events under a queue: registrations that follow the
// works, descriptor numbers closed and handed out again, what epoll refuses, and
// more ready descriptors than one batch.
#include "worktesting.h"

#include "io/iotesting.h"
#include "qor_core/pi/platform/dependend/native_linux/epollprocessevents.h"

#include <cstdio>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

using namespace qpi;
using qortest::cProbe;

namespace {

/// A queue waiting in epoll, and works whose actions count.
class EpollProcessEvents : public testing::Test
{
protected:
    EpollProcessEvents() : mpEvents(new cEpollProcessEvents)
    {
        moQueue.setEvents(qstd::tAutoPtr<cAbstractProcessEvents>(mpEvents));
        // A short timed work bounds every wait of these tests.
        moTick.start(20, cWork::Periodic);
        moQueue.addJob(moTick);
    }
    /// A started work in the queue waiting on iFd for iFlags.
    cWork& waiting(int iFd, unsigned iFlags)
    {
        moWorks.emplace_back(new cWork);
        moProbes.emplace_back(new cProbe);
        moProbes.back()->attach(*moWorks.back());
        moQueue.addJob(*moWorks.back());
        qstd::tAutoPtr<cFDAIOData> pData(new cFDAIOData);
        pData->addFd(iFd, iFlags);
        moWorks.back()->setAIOData(qstd::tAutoPtr<cAbstractAIOData>(pData.release()));
        return *moWorks.back();
    }
    int runs(size_t i) const { return moProbes[i]->miCalls; }

    cWorkQueue moQueue;
    cEpollProcessEvents* mpEvents; ///< owned by the queue
    cWork moTick;
    std::vector<std::unique_ptr<cProbe>> moProbes;
    std::vector<std::unique_ptr<cWork>> moWorks;
};

struct cPipe
{
    cPipe() { EXPECT_EQ(0, ::pipe(miFds)); }
    ~cPipe() { close(); }
    void close()
    {
        if (miFds[0] >= 0) {
            ::close(miFds[0]);
            ::close(miFds[1]);
        }
        miFds[0] = miFds[1] = -1;
    }
    void write() { ASSERT_EQ(1, ::write(miFds[1], "x", 1)); }
    int miFds[2];
};

} // namespace

TEST_F(EpollProcessEvents, RegistrationsFollowTheWorksAndNothingStaysOpen)
{
    int iFds = qortest::openDescriptors();
    {
        cPipe oPipe;
        cWork& oReader = waiting(oPipe.miFds[0], tFdInfo::FdReadable);
        moQueue.process();
        EXPECT_EQ(1u, mpEvents->registeredDescriptors());
        EXPECT_EQ(0, runs(0));
        oPipe.write();
        moQueue.process();
        EXPECT_EQ(1, runs(0));

        oReader.stop();
        EXPECT_EQ(0u, mpEvents->registeredDescriptors()) << "leaves at once";
        EXPECT_EQ(iFds + 2, qortest::openDescriptors()) << "the pipe only: no epoll instance";
        moQueue.process();
        EXPECT_EQ(1, runs(0)) << "a stopped work is not reported, though readable";
        oReader.start();
        moQueue.process();
        EXPECT_EQ(2, runs(0));
        moWorks.clear(); // destroyed while registered
        EXPECT_EQ(0u, mpEvents->registeredDescriptors());
    }
    EXPECT_EQ(iFds, qortest::openDescriptors());
}

TEST_F(EpollProcessEvents, ANumberClosedAndHandedOutAgainIsWatchedForItsNewFile)
{
    // The work changes its descriptor in place, as a transport that closes and
    // reconnects does; the new pipe gets the same number.
    std::unique_ptr<cPipe> pOld(new cPipe);
    cWork& oReader = waiting(pOld->miFds[0], tFdInfo::FdReadable);
    moQueue.process();
    int iNumber = pOld->miFds[0];
    oReader.aioData().fdAIOData().fds()[0].miFd = -1;
    pOld.reset();
    cPipe oNew;
    ASSERT_EQ(iNumber, oNew.miFds[0]) << "the system hands out the lowest free number";
    oReader.aioData().fdAIOData().fds()[0].miFd = oNew.miFds[0];
    oNew.write();
    moQueue.process();
    EXPECT_EQ(1, runs(0));

    // A second work on the same number, without any change of the first: closed and
    // reopened between two waits.
    oReader.stop();
    moQueue.process();
    int iSecond = oNew.miFds[0];
    cWork& oOther = waiting(iSecond, tFdInfo::FdReadable);
    moQueue.process();
    EXPECT_EQ(1, runs(1));
    oNew.close();
    cPipe oThird;
    ASSERT_EQ(iSecond, oThird.miFds[0]);
    waiting(oThird.miFds[0], tFdInfo::FdReadable);
    oThird.write();
    moQueue.process();
    EXPECT_EQ(1, runs(2)) << "the new file is registered although the number is";
    oOther.stop();
}

TEST_F(EpollProcessEvents, WhatEpollRefusesIsReportedAsPollReportsIt)
{
    // A regular file is always ready; a number that is not open reports POLLNVAL.
    FILE* pFile = std::tmpfile();
    ASSERT_TRUE(pFile);
    waiting(::fileno(pFile), tFdInfo::FdReadable);
    int iUnused = ::dup(0);
    ::close(iUnused);
    waiting(iUnused, tFdInfo::FdError);
    waiting(-1, tFdInfo::FdReadable); // ignored, as poll ignores it
    moQueue.process();
    EXPECT_EQ(2u, mpEvents->polledDescriptors());
    EXPECT_EQ(0u, mpEvents->registeredDescriptors());
    EXPECT_EQ(1, runs(0));
    EXPECT_EQ(1, runs(1));
    EXPECT_EQ(0, runs(2));
    std::fclose(pFile);
    moWorks[0]->stop();
    moWorks[1]->stop();
    EXPECT_EQ(0u, mpEvents->polledDescriptors());
}

TEST_F(EpollProcessEvents, MoreReadyDescriptorsThanOneBatchAreAllMarked)
{
    std::vector<std::unique_ptr<cPipe>> oPipes;
    for (int i = 0; i < 150; ++i) {
        oPipes.emplace_back(new cPipe);
        waiting(oPipes.back()->miFds[0], tFdInfo::FdReadable);
        oPipes.back()->write();
    }
    moQueue.process();
    for (size_t i = 0; i < oPipes.size(); ++i)
        ASSERT_EQ(1, runs(i)) << i;
}

TEST_F(EpollProcessEvents, InterestsOnOneDescriptorAreReportedApart)
{
    int iPair[2];
    ASSERT_EQ(0, ::socketpair(AF_UNIX, SOCK_STREAM, 0, iPair));
    waiting(iPair[0], tFdInfo::FdReadable);
    waiting(iPair[0], tFdInfo::FdWritable);
    waiting(iPair[0], tFdInfo::FdError);
    moQueue.process();
    EXPECT_EQ(0, runs(0)) << "nothing to read";
    EXPECT_EQ(1, runs(1));
    EXPECT_EQ(0, runs(2));
    moWorks[1]->stop();
    ASSERT_EQ(1, ::write(iPair[1], "x", 1));
    moQueue.process();
    EXPECT_EQ(1, runs(0));
    EXPECT_EQ(0, runs(2));
    ::close(iPair[1]); // hang-up: reported to every interest, as poll does
    moQueue.process();
    EXPECT_EQ(2, runs(0));
    EXPECT_EQ(1, runs(2));
    moWorks.clear();
    ::close(iPair[0]);
}

TEST_F(EpollProcessEvents, ReplacedEventsObjectTakesTheWaitingWorksOver)
{
    cPipe oPipe;
    waiting(oPipe.miFds[0], tFdInfo::FdReadable);
    moQueue.process();
    cEpollProcessEvents* pSecond = new cEpollProcessEvents;
    moQueue.setEvents(qstd::tAutoPtr<cAbstractProcessEvents>(pSecond));
    mpEvents = pSecond;
    oPipe.write();
    moQueue.process();
    EXPECT_EQ(1, runs(0));
    EXPECT_EQ(1u, pSecond->registeredDescriptors());
}
