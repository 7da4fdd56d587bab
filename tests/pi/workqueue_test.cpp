// Tests of cWork and cWorkQueue: order and timing of runs, I/O works, failure
// handling, changes of the list while it is walked, the dumps and clock steps.
#include "worktesting.h"

#include "std/testutil.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <vector>

using namespace qpi;
using qortest::cFakeClock;
using qortest::cProbe;
using qortest::cRecordingEvents;

namespace {

class WorkQueue : public testing::Test
{
protected:
    WorkQueue() : mpEvents(new cRecordingEvents), mpQueue(new cWorkQueue)
    {
        mpQueue->setEvents(qstd::tAutoPtr<cAbstractProcessEvents>(mpEvents));
    }

    /// A work owned by the test, in the queue, whose action appends iId to the log.
    cWork& addLogged(int iId)
    {
        moWorks.emplace_back(new cWork);
        moProbes.emplace_back(new cProbe([this, iId] { moLog.push_back(iId); }));
        moProbes.back()->attach(*moWorks.back());
        mpQueue->addJob(*moWorks.back());
        return *moWorks.back();
    }
    /// One pass over the list; returns the wait it asks for.
    unsigned pass()
    {
        unsigned iTimeout = 0;
        mpQueue->updateTimer(true, &iTimeout);
        return iTimeout;
    }

    cFakeClock moClock;
    cRecordingEvents* mpEvents;
    std::unique_ptr<cWorkQueue> mpQueue;
    std::vector<std::unique_ptr<cProbe>> moProbes;
    std::vector<std::unique_ptr<cWork>> moWorks;
    std::vector<int> moLog;
};

} // namespace

TEST_F(WorkQueue, DueWorksRunInInsertionOrderAndSingleWorksLeave)
{
    addLogged(3).start(0, cWork::Single);
    addLogged(1).start(50, cWork::Single);
    addLogged(2).start(0, cWork::Single);
    qstd::tSharedObject<cWork> pOwned = mpQueue->createJob();
    cProbe oOwned([this] { moLog.push_back(4); });
    oOwned.attach(*pOwned);
    pOwned->start(0, cWork::Single);

    mpQueue->process();
    EXPECT_EQ((std::vector<int>{3, 2, 4}), moLog);
    EXPECT_EQ(0, mpEvents->miYields) << "works that just ran make the wait 0: no sleep";
    EXPECT_EQ(3u, mpQueue->jobs().count()) << "force-kept works stay, the owned one is erased";
    EXPECT_TRUE(pOwned.get()) << "the test's handle keeps it alive";

    mpQueue->process();
    EXPECT_EQ(50u, mpEvents->miLastTimeout);
    moClock.advanceMSec(50);
    mpQueue->process();
    EXPECT_EQ((std::vector<int>{3, 2, 4, 1}), moLog);
    EXPECT_EQ(0u, mpQueue->level());
    EXPECT_EQ(nullptr, mpQueue->current());
}

TEST_F(WorkQueue, ZeroDelayStartFromActionRunsLaterInTheSamePass)
{
    cWork& oEarlier = addLogged(1);
    cWork& oStarter = addLogged(2);
    cWork& oLater = addLogged(3);
    moProbes[1]->mfOnCall = [&] {
        moLog.push_back(2);
        oEarlier.start(0, cWork::Single);
        oLater.start(0, cWork::Single);
    };
    oStarter.start(0, cWork::Single);
    EXPECT_EQ(0u, pass());
    EXPECT_EQ((std::vector<int>{2, 3}), moLog) << "the earlier work waits for the next pass";
    pass();
    EXPECT_EQ((std::vector<int>{2, 3, 1}), moLog);
}

TEST_F(WorkQueue, PeriodicWorkIsReplannedRelativeToItsRun)
{
    cWork& oWork = addLogged(1);
    moProbes[0]->mfOnCall = [&] { moClock.advanceMSec(30); }; // the action takes 30 ms
    oWork.start(100, cWork::Periodic);
    qstd::cTime oStart = oWork.scheduledTime();
    EXPECT_EQ(100u, pass());
    moClock.advanceMSec(130); // the pass comes 30 ms late
    EXPECT_EQ(70u, pass()) << "the recomputing pass comes after the 30 ms action";
    EXPECT_EQ(oStart.get() + 230000ULL, oWork.plannedTime().get())
        << "the lateness counts, the action's duration does not";
    EXPECT_EQ(1, moProbes[0]->miCalls);
    EXPECT_TRUE(oWork.isStarted());
}

TEST_F(WorkQueue, IOWorkRunsOnlyOnItsEventAndIOOnlyWaitsTenSeconds)
{
    cWork& oWork = addLogged(1);
    oWork.setAIOData(qstd::tAutoPtr<cAbstractAIOData>(new cFDAIOData));
    EXPECT_TRUE(oWork.isStarted());
    moClock.advanceMSec(20); // its planned time is long past
    unsigned iTimeout = 0;
    EXPECT_TRUE(mpQueue->updateTimer(true, &iTimeout));
    EXPECT_EQ(10000u, iTimeout);
    EXPECT_EQ(1u, mpQueue->numIOWorks());
    EXPECT_EQ(0, moProbes[0]->miCalls) << "an I/O work is not due by its planned time";
    oWork.aioData().setEvent(true);
    pass();
    EXPECT_EQ(1, moProbes[0]->miCalls);
    EXPECT_FALSE(oWork.aioData().isEvent());
    pass();
    EXPECT_EQ(1, moProbes[0]->miCalls);
    addLogged(2).start(40, cWork::Single);
    EXPECT_EQ(40u, pass()) << "a timed work beside I/O works sets the wait";
}

TEST_F(WorkQueue, WithoutAIOSupportIOWorksBecomePeriodic)
{
    mpQueue->setEvents(qstd::tAutoPtr<cAbstractProcessEvents>(new cRecordingEvents(false)));
    cWork& oWork = addLogged(1);
    oWork.setAIOData(qstd::tAutoPtr<cAbstractAIOData>(new cFDAIOData));
    pass();
    EXPECT_EQ(cWork::Periodic, oWork.type());
    pass();
    EXPECT_EQ((std::vector<int>{1, 1}), moLog) << "interval 0 runs on every pass";
}

TEST_F(WorkQueue, ErrorsTravelUpTheParentChain)
{
    struct cHandler : qrmi::cConnectable
    {
        piVoid slt(const qstd::cAbstractException& e, bool bDescendant)
        {
            moSeen.push_back({qortest::messageOf(e), bDescendant});
            return piVoid();
        }
        std::vector<std::pair<std::string, bool>> moSeen;
    } oHandler;
    cWork& oParent = addLogged(1);
    oParent.setName("parent");
    oParent.sigActionError().connect(oHandler, &cHandler::slt);
    cWork& oChild = addLogged(2);
    oChild.setName("child");
    oChild.reparent(&oParent);
    moProbes[0]->mfOnCall = [] { throw qstd::cRuntimeException(); };
    moProbes[1]->mfOnCall = [] { throw std::runtime_error("plain"); };

    oChild.start(0, cWork::Single);
    oParent.start(0, cWork::Single);
    mpQueue->process();
    ASSERT_EQ(2u, oHandler.moSeen.size());
    EXPECT_FALSE(oHandler.moSeen[0].second) << "the parent's own error";
    EXPECT_EQ("Error performing work child!", oHandler.moSeen[1].first);
    EXPECT_TRUE(oHandler.moSeen[1].second);
    EXPECT_EQ(1u, oChild.failureCount());

    oChild.setDelegateExceptions(false);
    oChild.start(0, cWork::Single);
    EXPECT_THROW(mpQueue->process(), std::runtime_error);
    EXPECT_EQ(0u, oChild.failureCount()) << "restarted, and nothing counted";
    EXPECT_EQ(0u, mpQueue->level());
    EXPECT_EQ(nullptr, mpQueue->current());

    moProbes[1]->mfOnCall = nullptr; // the queue works on after the failure
    oChild.start(0, cWork::Single);
    mpQueue->process();
    EXPECT_EQ(3, moProbes[1]->miCalls);
    EXPECT_EQ(2u, qortest::liveEntries(*mpQueue));
}

TEST_F(WorkQueue, FailedSingleRunsLeaveNoOwnedEntriesBehind)
{
    cProbe oFailing([] { throw std::runtime_error("no handler"); });
    for (int i = 0; i < 3; ++i) {
        qstd::tSharedObject<cWork> pJob = mpQueue->createJob(); // the queue's handle owns it
        oFailing.attach(*pJob);
        pJob->start(0, cWork::Single);
    }
    cWork& oOwn = addLogged(1);
    moProbes[0]->mfOnCall = [] { throw std::runtime_error("caller's work"); };
    oOwn.start(0, cWork::Single);
    for (int i = 0; i < 4; ++i)
        EXPECT_THROW(mpQueue->process(), std::runtime_error);
    EXPECT_EQ(3, oFailing.miCalls);
    EXPECT_EQ(0u, oFailing.numAttachedSignals()) << "the owned works were destroyed";
    EXPECT_EQ(1u, mpQueue->jobs().count()) << "only the caller's work keeps its entry";
    EXPECT_EQ(0u, mpQueue->level());
    oOwn.start(0, cWork::Single);
    EXPECT_THROW(mpQueue->process(), std::runtime_error);
    EXPECT_EQ(2, moProbes[0]->miCalls);
}

TEST_F(WorkQueue, AmuckIOWorkIsStoppedBeforeItsFourthRun)
{
    struct cSink : qrmi::cConnectable
    {
        piVoid slt(const qstd::cAbstractException&, bool) { return piVoid(); }
    } oSink;
    cWork& oWork = addLogged(1);
    oWork.setName("reader");
    oWork.sigActionError().connect(oSink, &cSink::slt);
    moProbes[0]->mfOnCall = [] { throw qstd::cRuntimeException(); };
    oWork.setAIOData(qstd::tAutoPtr<cAbstractAIOData>(new cFDAIOData));
    for (int i = 0; i < 3; ++i) {
        oWork.aioData().setEvent(true);
        mpQueue->process();
    }
    EXPECT_EQ(3u, oWork.failureCount());
    EXPECT_TRUE(oWork.isAmuck());
    oWork.aioData().setEvent(true);
    qstd::cBugException e = qortest::expectThrow<qstd::cBugException>([&] { mpQueue->process(); });
    EXPECT_EQ("Stopping amuck work \"reader\"!", qortest::messageOf(e));
    EXPECT_EQ(3, moProbes[0]->miCalls);
    EXPECT_FALSE(oWork.isStarted());
    EXPECT_EQ(0u, mpQueue->level());
    mpQueue->process(); // stopped, stays in the list, skipped
    EXPECT_EQ(1u, mpQueue->jobs().count());
}

TEST_F(WorkQueue, RemoveJobOfTheRunningWork)
{
    // A referenced work survives; an owned one dies inside its own action.
    cWork& oReferenced = addLogged(1);
    qstd::tSharedObject<cWork> pOwned = mpQueue->createJob();
    cWork* pOwnedRaw = pOwned.get();
    cWork* pSeenCurrent = pOwnedRaw;
    unsigned iEntriesInside = 0;
    cProbe oOwnedProbe([&] {
        mpQueue->removeJob(*pOwnedRaw);
        pSeenCurrent = mpQueue->current();
        iEntriesInside = mpQueue->jobs().count();
    });
    oOwnedProbe.attach(*pOwned);
    pOwned->start(0, cWork::Periodic);
    pOwned = qstd::tSharedObject<cWork>();
    moProbes[0]->mfOnCall = [&] { mpQueue->removeJob(oReferenced); };
    oReferenced.start(0, cWork::Periodic);

    mpQueue->process();
    EXPECT_EQ(nullptr, pSeenCurrent);
    EXPECT_EQ(2u, iEntriesInside) << "only marked while the pass walks";
    EXPECT_EQ(1, oOwnedProbe.miCalls);
    EXPECT_EQ(0u, mpQueue->jobs().count());
    mpQueue->process();
    EXPECT_EQ(1, moProbes[0]->miCalls);
    EXPECT_TRUE(oReferenced.isStarted());
}

TEST_F(WorkQueue, WorksDestroyedDuringTheWalk)
{
    // Its own action deletes a work; another action deletes the work after it; a
    // slot of sigChanged deletes a periodic work while the pass replans it.
    cWork *pSelf = new cWork, *pNext = new cWork, *pReplanned = new cWork;
    cProbe oSelf([&] { delete pSelf; }), oKiller([&] { delete pNext; }), oNext, oReplanned;
    oSelf.attach(*pSelf);
    oNext.attach(*pNext);
    oReplanned.attach(*pReplanned);
    mpQueue->addJob(*pSelf);
    cWork& oKillerWork = addLogged(0);
    oKiller.attach(oKillerWork);
    mpQueue->addJob(*pNext);
    mpQueue->addJob(*pReplanned);
    struct cChangeKiller : qrmi::cConnectable
    {
        piVoid slt(cWork* pWork)
        {
            if (pWork->isStarted() && !pWork->isBeingDestroyed())
                delete pWork;
            return piVoid();
        }
    } oChangeKiller;

    pSelf->start(0, cWork::Single);
    oKillerWork.start(0, cWork::Single);
    pNext->start(0, cWork::Single);
    pReplanned->start(0, cWork::Periodic);
    pReplanned->sigChanged.connect(oChangeKiller, &cChangeKiller::slt);
    mpQueue->process();
    EXPECT_EQ(1, oSelf.miCalls);
    EXPECT_EQ(0, oNext.miCalls);
    EXPECT_EQ(0, oReplanned.miCalls);
    EXPECT_EQ(1u, mpQueue->jobs().count());
    EXPECT_EQ(0u, mpQueue->level());
}

TEST_F(WorkQueue, ClearInsideAnActionDestroysOwnedWorksSafely)
{
    qstd::tSharedObject<cWork> pFirst = mpQueue->createJob(), pSecond = mpQueue->createJob();
    cProbe oFirst([&] { mpQueue->clear(); }), oSecond;
    oFirst.attach(*pFirst);
    oSecond.attach(*pSecond);
    pFirst->start(0, cWork::Single);
    pSecond->start(0, cWork::Single);
    pFirst = pSecond = qstd::tSharedObject<cWork>();
    mpQueue->process();
    EXPECT_EQ(1, oFirst.miCalls);
    EXPECT_EQ(0, oSecond.miCalls);
    EXPECT_EQ(0u, mpQueue->jobs().count());
}

TEST_F(WorkQueue, QueueDestroyedInsideAnAction)
{
    cWork& oFirst = addLogged(1);
    cWork& oSecond = addLogged(2);
    moProbes[0]->mfOnCall = [&] { mpQueue.reset(); };
    oFirst.start(0, cWork::Single);
    oSecond.start(0, cWork::Single);
    cWorkQueue* pQueue = mpQueue.get();
    pQueue->process();
    EXPECT_FALSE(mpQueue);
    EXPECT_EQ(0, moProbes[1]->miCalls);
    oSecond.start(0, cWork::Single); // no queue is told any more
}

TEST_F(WorkQueue, NestedPassesAndLocalLoops)
{
    cWork& oOuter = addLogged(1);
    cWork& oInner = addLogged(2);
    unsigned iInnerLevel = 0;
    moProbes[1]->mfOnCall = [&] { iInnerLevel = mpQueue->level(); };
    moProbes[0]->mfOnCall = [&] {
        cLocalEventLoop oLoop(mpQueue.get());
        oInner.start(0, cWork::Single);
        oLoop.process();
        mpQueue->removeJob(oOuter);
    };
    oOuter.start(0, cWork::Single);
    int iWakeUps = mpEvents->miWakeUps;
    mpQueue->process();
    EXPECT_EQ(2u, iInnerLevel);
    EXPECT_EQ(1, moProbes[1]->miCalls);
    EXPECT_LT(iWakeUps, mpEvents->miWakeUps) << "a change inside a local loop wakes it";
    EXPECT_EQ(1u, mpQueue->jobs().count()) << "the outermost pass purges";
    EXPECT_EQ(0u, mpQueue->localLoopCount());
}

TEST_F(WorkQueue, AddingAndEmptyQueueEdges)
{
    cWork oWork;
    mpQueue->addJob(oWork);
    mpQueue->addJob(oWork);
    EXPECT_EQ(1u, mpQueue->jobs().count());
    EXPECT_TRUE(oWork.isKeep());
    mpQueue->removeJob(oWork);
    mpQueue->process();
    EXPECT_EQ(0u, mpQueue->jobs().count());
    int iYields = mpEvents->miYields;
    EXPECT_EQ(0u, mpQueue->processEvents(true));
    EXPECT_EQ(iYields, mpEvents->miYields) << "nothing to wait for";

    cWorkQueue oBare;
    qstd::cBugException e =
        qortest::expectThrow<qstd::cBugException>([&] { oBare.internProcess(true); });
    EXPECT_EQ("No process event manager for workqueue!", qortest::messageOf(e));
}

TEST_F(WorkQueue, DotDumpText)
{
    auto id = [](const cWork* p) {
        char cBuffer[40];
        std::snprintf(cBuffer, sizeof(cBuffer), "\"%llx\"", (unsigned long long)(std::uintptr_t)p);
        return std::string(cBuffer);
    };
    cWork& oPeriodic = addLogged(1);
    oPeriodic.setName("tick");
    oPeriodic.start(100, cWork::Periodic);
    cWork& oSingle = addLogged(2);
    oSingle.setName("once");
    oSingle.reparent(&oPeriodic);
    cWork& oIO = addLogged(3);
    oIO.setName("pipe");
    oIO.setAIOData(qstd::tAutoPtr<cAbstractAIOData>(new cFDAIOData));
    std::string sSingleDuringRun;
    moProbes[1]->mfOnCall = [&] { sSingleDuringRun = cWqDebug::dot(mpQueue.get()).c_str(); };
    oSingle.start(250, cWork::Single);
    moClock.advanceMSec(10);

    qstd::cAsciiString sDot;
    dotDump(sDot, *mpQueue);
    std::string sExpected =
        "digraph G {\n" + id(&oPeriodic) +
        " [ label=\"Periodic\\ntick\\n(100ms interval, Active, Keep)\",shape=\"ellipse\","
        "style=\"filled\",color=\"grey\" ];\n" +
        id(&oSingle) +
        " [ label=\"Single task\\nonce\\n(planned in 240ms, Active, Keep)\",shape=\"ellipse\","
        "style=\"filled\",color=\"grey\" ];\n" +
        id(&oIO) +
        " [ label=\"Asynchronous I/O\\npipe\\n(Active, Keep)\",shape=\"ellipse\","
        "style=\"filled\",color=\"PapayaWhip\" ];\n" +
        id(&oPeriodic) + " -> " + id(&oSingle) + ";\n}\n";
    EXPECT_EQ(sExpected, sDot.c_str());

    moClock.advanceMSec(240);
    oPeriodic.stop();
    pass();
    EXPECT_NE(
        std::string::npos,
        sSingleDuringRun.find("once\\n(planned in 0ms, Keep, Current)\",shape=\"doubleoctagon\","
                              "style=\"filled\",color=\"LightSteelBlue\""))
        << sSingleDuringRun;
}

TEST_F(WorkQueue, WallClockStepsKeepRemainingDelays)
{
    for (long long iStepUSec : {3600LL * 1000000LL, -3600LL * 1000000LL}) {
        SCOPED_TRACE(iStepUSec);
        moLog.clear();
        cWork& oPeriodic = addLogged(1);
        cWork& oSingle = addLogged(2);
        oPeriodic.start(1000, cWork::Periodic);
        oSingle.start(500, cWork::Single);
        unsigned long long iPlanned = oSingle.plannedTime().get();
        moClock.advanceMSec(200);
        moClock.stepWallUSec(iStepUSec);
        EXPECT_EQ(300u, pass());
        EXPECT_TRUE(moLog.empty());
        EXPECT_EQ(iPlanned + iStepUSec, oSingle.plannedTime().get());
        moClock.advanceMSec(300);
        pass();
        EXPECT_EQ((std::vector<int>{2}), moLog);
        EXPECT_EQ(500u, pass());
        moClock.advanceMSec(500);
        pass();
        EXPECT_EQ((std::vector<int>{2, 1}), moLog);
        oPeriodic.stop();
    }
}

// --- the index beside the list ---------------------------------------------------

namespace {

/// Milliseconds until the work is due, as a walk of the list computes them.
unsigned long long remainingOf(const cWork& oWork)
{
    unsigned long long iPlanned = oWork.plannedTime().get();
    unsigned long long iNow = cWorkClock::current().now().get();
    return iPlanned > iNow ? (iPlanned - iNow) / 1000 : 0;
}

} // namespace

TEST_F(WorkQueue, RandomChangesRunAndWaitAsAWalkOfTheListWould)
{
    // Works are started, stopped, replanned, removed and added again at random; each
    // pass must run exactly the due works in list order and ask for the wait that
    // the earliest started work needs.
    const int kWorks = 40;
    std::vector<int> oOrder; // ids in list order
    for (int i = 0; i < kWorks; ++i) {
        addLogged(i);
        oOrder.push_back(i);
    }
    unsigned iSeed = 12345;
    auto random = [&](unsigned iBound) {
        iSeed = iSeed * 1103515245u + 12345u;
        return (iSeed >> 8) % iBound;
    };
    for (int iRound = 0; iRound < 400; ++iRound) {
        for (int iChange = int(random(6)); iChange > 0; --iChange) {
            int iId = int(random(kWorks));
            cWork& oWork = *moWorks[iId];
            switch (random(5)) {
            case 0:
            case 1:
                oWork.start(random(40), random(3) ? cWork::Single : cWork::Periodic);
                break;
            case 2:
                oWork.stop();
                break;
            case 3:
                mpQueue->removeJob(oWork);
                mpQueue->addJob(oWork);
                oOrder.erase(std::find(oOrder.begin(), oOrder.end(), iId));
                oOrder.push_back(iId);
                break;
            default:
                moClock.advanceMSec(random(15));
            }
        }
        std::vector<int> oExpected;
        for (int iId : oOrder)
            if (moWorks[iId]->isStarted() && remainingOf(*moWorks[iId]) == 0)
                oExpected.push_back(iId);
        // A spent single shot makes the wait 0, unless a periodic work was replanned:
        // that change makes a recomputing pass, in which the spent work is stopped.
        bool bSingleRuns = false, bPeriodicRuns = false;
        for (int iId : oExpected) {
            bSingleRuns = bSingleRuns || moWorks[iId]->type() == cWork::Single;
            bPeriodicRuns = bPeriodicRuns || moWorks[iId]->type() == cWork::Periodic;
        }
        moLog.clear();
        unsigned iWait = pass();
        ASSERT_EQ(oExpected, moLog) << "round " << iRound;

        unsigned long long iMinimum = ~0ULL;
        unsigned iStarted = 0;
        for (auto& pWork : moWorks) {
            if (!pWork->isStarted())
                continue;
            ++iStarted;
            iMinimum = std::min(iMinimum, remainingOf(*pWork));
        }
        unsigned long long iExpectedWait =
            (bSingleRuns && !bPeriodicRuns) || iStarted == 0 ? 0 : iMinimum;
        ASSERT_EQ(iExpectedWait, iWait) << "round " << iRound;
    }
    EXPECT_EQ(unsigned(kWorks), mpQueue->jobs().count());
}

TEST_F(WorkQueue, ChangesMadeByActionsFollowTheListOrder)
{
    // A stops C, which was due after it; A starts E, stopped before, ahead of the
    // cursor: E runs in this pass. B starts A again, behind the cursor: A runs in the
    // next pass. B destroys F, due after it. D removes itself.
    cWork& oA = addLogged(1);
    cWork& oB = addLogged(2);
    cWork& oC = addLogged(3);
    cWork& oD = addLogged(4);
    cWork& oE = addLogged(5);
    cWork* pF = new cWork;
    cProbe oF([this] { moLog.push_back(6); });
    oF.attach(*pF);
    mpQueue->addJob(*pF);
    moProbes[0]->mfOnCall = [&] {
        moLog.push_back(1);
        oC.stop();
        oE.start(0, cWork::Single);
    };
    moProbes[1]->mfOnCall = [&] {
        moLog.push_back(2);
        oA.start(0, cWork::Single);
        delete pF;
    };
    moProbes[3]->mfOnCall = [&] {
        moLog.push_back(4);
        mpQueue->removeJob(oD);
    };
    for (cWork* pWork : {&oA, &oB, &oC, &oD, pF})
        pWork->start(0, cWork::Single);

    EXPECT_EQ(0u, pass());
    EXPECT_EQ((std::vector<int>{1, 2, 4, 5}), moLog);
    EXPECT_EQ(4u, mpQueue->jobs().count()) << "D and F are unlinked by the outermost pass";
    moLog.clear();
    moClock.advanceMSec(5);
    pass();
    EXPECT_EQ((std::vector<int>{1, 5}), moLog) << "A starts E again";
    EXPECT_FALSE(oC.isStarted());
    EXPECT_EQ(0u, mpQueue->numTimedWorks())
        << "A's changes made a recomputing pass, which counts started works only";
}

TEST_F(WorkQueue, ANestedPassRunsLaterWorksOnceAndTheOuterPassPurges)
{
    cWork& oOuter = addLogged(1);
    cWork& oLater = addLogged(2);
    cWork& oRemoved = addLogged(3);
    unsigned iEntriesAfterNested = 0;
    moProbes[0]->mfOnCall = [&] {
        moLog.push_back(1);
        cLocalEventLoop oLoop(mpQueue.get());
        oLoop.process(); // runs Later, which removes Removed
        iEntriesAfterNested = mpQueue->jobs().count();
    };
    moProbes[1]->mfOnCall = [&] {
        moLog.push_back(2);
        EXPECT_EQ(2u, mpQueue->level());
        mpQueue->removeJob(oRemoved);
    };
    oOuter.start(0, cWork::Single);
    oLater.start(0, cWork::Single);
    oRemoved.start(0, cWork::Single);
    mpQueue->process();
    EXPECT_EQ((std::vector<int>{1, 2}), moLog) << "nothing runs twice, nothing removed runs";
    EXPECT_EQ(3u, iEntriesAfterNested) << "a nested pass only marks";
    EXPECT_EQ(2u, mpQueue->jobs().count());
    EXPECT_EQ(0u, mpQueue->level());
}

TEST_F(WorkQueue, AnEventRaisedBehindTheCursorRunsOnTheNextTurnWithoutAWait)
{
    cWork& oReader = addLogged(1);
    oReader.setAIOData(qstd::tAutoPtr<cAbstractAIOData>(new cFDAIOData));
    cWork& oTimed = addLogged(2);
    cWork& oOther = addLogged(3);
    moProbes[1]->mfOnCall = [&] {
        moLog.push_back(2);
        oReader.aioData().setEvent(true);
        oOther.start(500, cWork::Single); // a change: the pass is recomputed
    };
    oTimed.start(100, cWork::Periodic);
    moClock.advanceMSec(100);
    EXPECT_EQ(0u, pass()) << "a ready work must not wait 100 ms";
    EXPECT_EQ((std::vector<int>{2}), moLog);
    EXPECT_TRUE(oReader.aioData().isEvent()) << "the recomputing pass leaves the event";
    EXPECT_EQ(100u, pass());
    EXPECT_EQ((std::vector<int>{2, 1}), moLog);
    EXPECT_FALSE(oReader.aioData().isEvent());
    oTimed.stop();
    EXPECT_EQ(500u, pass());
}

TEST_F(WorkQueue, StoppedAndDestroyedWorksLeaveTheWaitExact)
{
    std::vector<cWork*> oOwned;
    for (int i = 0; i < 50; ++i) {
        oOwned.push_back(new cWork);
        mpQueue->addJob(*oOwned.back());
        oOwned.back()->start(100 + i, cWork::Single);
    }
    cWork& oTick = addLogged(1);
    oTick.start(0, cWork::Periodic); // replanned on every pass: entries retire
    EXPECT_EQ(0u, pass());
    oTick.start(1000, cWork::Periodic);
    EXPECT_EQ(100u, pass());
    oOwned[0]->stop();
    EXPECT_EQ(101u, pass());
    delete oOwned[1];
    delete oOwned[2];
    EXPECT_EQ(103u, pass());
    for (int i = 3; i < 49; ++i)
        delete oOwned[i];
    EXPECT_EQ(149u, pass());
    EXPECT_EQ(2u, mpQueue->numTimedWorks());
    moClock.advanceMSec(149);
    pass();
    EXPECT_FALSE(oOwned[49]->isStarted());
    EXPECT_EQ(1000u - 149u, pass());
    delete oOwned[49];
    delete oOwned[0];
    EXPECT_EQ(1u, qortest::liveEntries(*mpQueue));
}

TEST_F(WorkQueue, AWorkInTwoQueuesIsIndexedInBoth)
{
    cRecordingEvents* pOtherEvents = new cRecordingEvents;
    std::unique_ptr<cWorkQueue> pOther(new cWorkQueue);
    pOther->setEvents(qstd::tAutoPtr<cAbstractProcessEvents>(pOtherEvents));
    cWork* pShared = new cWork;
    cProbe oShared;
    oShared.attach(*pShared);
    mpQueue->addJob(*pShared);
    pOther->addJob(*pShared);
    pShared->start(30, cWork::Periodic);
    EXPECT_EQ(30u, pass());
    unsigned iTimeout = 0;
    pOther->updateTimer(true, &iTimeout);
    EXPECT_EQ(30u, iTimeout);
    mpQueue->removeJob(*pShared);
    moClock.advanceMSec(30);
    pass();
    EXPECT_EQ(0, oShared.miCalls) << "no longer in this queue";
    pOther->updateTimer(true, &iTimeout);
    EXPECT_EQ(1, oShared.miCalls);
    mpQueue->addJob(*pShared);
    delete pShared; // both queues let go
    pass();
    pOther->updateTimer(true, &iTimeout);
    EXPECT_EQ(0u, pOther->jobs().count());
    EXPECT_EQ(0u, mpQueue->jobs().count());
}

TEST_F(WorkQueue, AnInvalidatedHandleTakesItsWorkOutOfTheIndex)
{
    cWork& oWork = addLogged(1);
    oWork.start(20, cWork::Periodic);
    EXPECT_EQ(20u, pass());
    mpQueue->jobs().first().invalidateObject(); // the work lives on: the handle is a reference
    moClock.advanceMSec(20);
    EXPECT_EQ(0u, pass());
    EXPECT_TRUE(moLog.empty());
    EXPECT_EQ(0u, mpQueue->numTimedWorks());
    EXPECT_EQ(0u, mpQueue->jobs().count());
    oWork.start(5, cWork::Single); // still connected: harmless
    EXPECT_EQ(0u, pass());
}
