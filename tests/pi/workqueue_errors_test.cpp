// Work queue: its state dump, the missing or asynchronous process-events object,
// and scheduling on the system queue with and without a name.
#include "std/testutil.h"
#include "worktesting.h"

#include <string>

using namespace qpi;
using qortest::cFakeClock;
using qortest::cProbe;
using qortest::cRecordingEvents;

namespace {

/// Process events that wait elsewhere: the queue hands them its waits and polls.
class cAsyncEvents : public cRecordingEvents
{
public:
    bool isAsynchronous() const override { return true; }
    void poll() override { ++miPolls; }
    /// Only records: the test reports back itself.
    void yield(unsigned int, tJobList&, unsigned int iTimeout) override
    {
        ++miYields;
        miLastTimeout = iTimeout;
    }
    int miPolls = 0;
};

std::string dumpOf(cWorkQueue& oQueue)
{
    testing::internal::CaptureStderr();
    oQueue.debugDump();
    return testing::internal::GetCapturedStderr();
}

} // namespace

TEST(WorkQueueDump, DescribesEveryKindOfWork)
{
    cFakeClock oClock;
    cWorkQueue oQueue;
    EXPECT_NE(std::string::npos, dumpOf(oQueue).find("No event processor!"));
    oQueue.setEvents(qstd::tAutoPtr<cAbstractProcessEvents>(new cRecordingEvents));

    cProbe oProbe;
    cWork oTick, oOnce, oPipe;
    oTick.setName("tick");
    oOnce.setName("once");
    oPipe.setName("pipe");
    oPipe.setAIOData(qstd::tAutoPtr<cAbstractAIOData>(new cFDAIOData));
    for (cWork* p : {&oTick, &oOnce, &oPipe}) {
        oProbe.attach(*p);
        oQueue.addJob(*p);
    }
    oTick.start(20, cWork::Periodic);
    oOnce.start(50, cWork::Single);
    oClock.advanceMSec(20);
    oQueue.process(); // the periodic work runs once

    std::string sDump = dumpOf(oQueue);
    for (const char* pLine :
         {"WorkQueue status:", "Have event object (synchronous event processor)", " * Work (tick)",
          "   * Periodic (20ms interval) (scheduled) (keep)", "   * Triggered: 1 / numStarted: 2",
          "   * Last start at: ", "   * Last triggered: ", " * Work (once)",
          "   * Single task (planned in 30ms) (scheduled) (keep)", " * Work (pipe)",
          "   * Asynchronous I/O (scheduled) (keep)"}) {
        EXPECT_NE(std::string::npos, sDump.find(pLine)) << pLine << " in\n" << sDump;
    }
    EXPECT_EQ(sDump.find("Last triggered"), sDump.rfind("Last triggered")) << "only tick ran";
}

TEST(WorkQueueDump, MissingEventObjectIsABugThatDumpsTheQueue)
{
    cWorkQueue oQueue;
    qstd::tAutoPtr<cAbstractProcessEvents> pNone;
    testing::internal::CaptureStderr();
    auto e = qortest::expectThrow<qstd::cBugException>([&] { assertEventObject(oQueue, pNone); });
    std::string sErr = testing::internal::GetCapturedStderr();
    EXPECT_EQ("No process event manager for workqueue!", qortest::messageOf(e));
    EXPECT_NE(std::string::npos, sErr.find("*** WORKQUEUE HAS BEEN FOUND A BUG ***"));
    EXPECT_NE(std::string::npos, sErr.find("No event processor!"));
    qstd::tAutoPtr<cAbstractProcessEvents> pSome(new cRecordingEvents);
    assertEventObject(oQueue, pSome); // nothing to complain about
}

TEST(WorkQueueEvents, AsynchronousOnesArePolledAndGivenTheWait)
{
    cFakeClock oClock;
    cWorkQueue oQueue;
    oQueue.process(); // without events: nothing happens
    cAsyncEvents* pEvents = new cAsyncEvents;
    oQueue.setEvents(qstd::tAutoPtr<cAbstractProcessEvents>(pEvents));
    cProbe oProbe;
    cWork oWork;
    oProbe.attach(oWork);
    oQueue.addJob(oWork);
    oWork.start(30, cWork::Single);
    oQueue.process();
    EXPECT_EQ(1, pEvents->miPolls);

    // The events report back: a pass, then the wait for the single work goes to them.
    int iYields = pEvents->miYields;
    oQueue.sltNotifyPEFinished();
    EXPECT_EQ(iYields + 1, pEvents->miYields);
    EXPECT_EQ(30u, pEvents->miLastTimeout);
    oClock.advanceMSec(30);
    oQueue.sltNotifyPEFinished();
    EXPECT_EQ(1, oProbe.miCalls);
    iYields = pEvents->miYields;
    oQueue.sltNotifyPEFinished();
    EXPECT_EQ(iYields, pEvents->miYields) << "nothing left to wait for";

    // Taking the events away clears the queue.
    oQueue.setEvents(qstd::tAutoPtr<cAbstractProcessEvents>());
    EXPECT_EQ(0u, qortest::liveEntries(oQueue));
    oQueue.sltNotifyPEFinished();
}

TEST(Schedule, OnTheSystemQueueWithAndWithoutAName)
{
    cProbe oProbe;
    qrmi::cDirectLocalSlotCall0<cProbe, piVoid> oSlot(oProbe, &cProbe::slt);
    testing::internal::CaptureStderr();
    qstd::tSharedObject<cWork> pAnonymous = schedule(oSlot, 60000, nullptr);
    std::string sErr = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, sErr.find("Work scheduled without name!"));
    qstd::tSharedObject<cWork> pNamed = schedule(oSlot, 60000, cWork::Periodic, "every minute");
    EXPECT_EQ("every minute", std::string(pNamed->name().c_str()));
    EXPECT_EQ(cWork::Periodic, pNamed->type());
    std::string sDot = cWqDebug::dot(nullptr).c_str();
    EXPECT_NE(std::string::npos,
              sDot.find("Periodic\\nevery minute\\n(60000ms interval, Active, Keep)"))
        << sDot;

    cWork oWork;
    unsigned iLive = qortest::liveEntries(system().workQueue());
    EXPECT_EQ(&oWork, &schedule(oWork));
    EXPECT_EQ(iLive + 1, qortest::liveEntries(system().workQueue()));
    unschedule(oWork);
    EXPECT_EQ(iLive, qortest::liveEntries(system().workQueue()));
    system().workQueue().removeJob(*pAnonymous);
    system().workQueue().removeJob(*pNamed);
    EXPECT_EQ(iLive - 2, qortest::liveEntries(system().workQueue()));
    EXPECT_EQ(0, oProbe.miCalls);
    // The marked entries go with the system, which the next user builds anew.
    pAnonymous = pNamed = qstd::tSharedObject<cWork>();
    cSystem::cleanup();
}
