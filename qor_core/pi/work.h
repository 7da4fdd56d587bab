// work.h - qpi::cWork, something the work queue runs later, periodically or when a
// descriptor becomes ready, and cWorkStat, its statistics.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_WORK_H
#define QOR_CORE_PI_WORK_H

#include "qor_core/pi/abstractaiodata.h"
#include "qor_core/rmi/localsignal.h"
#include "qor_core/std/autoptr.h"
#include "qor_core/std/parentwatch.h"
#include "qor_core/std/time.h"

namespace qstd {
class cAbstractException;
}

namespace qpi {

class cWorkQueue;
class cWorkQueueSlot;

/// How often a work started and ran, and, when debugging is enabled, where and when.
class QOR_EXPORT cWorkStat
{
public:
    /// Taken when debugging is enabled and updated by every start and run.
    struct QOR_EXPORT cDebugInfo
    {
        cDebugInfo();
        qstd::cAsciiString msCreationTrace;  ///< stack trace when debugging was enabled
        qstd::cAsciiString msLastStartTrace; ///< stack trace of the last start
        qstd::cTime moLastStart;
        qstd::cTime moLastTrigger;
    };

    cWorkStat() : miStarted(0), miTriggered(0), mpDebugInfo(nullptr) {}
    ~cWorkStat();
    cWorkStat(const cWorkStat&) = delete;
    cWorkStat& operator=(const cWorkStat&) = delete;

    unsigned numStarted() const { return miStarted; }
    unsigned numTriggered() const { return miTriggered; }
    /// The debug information, or null when debugging is off.
    const cDebugInfo* hasDebugInfo() const { return mpDebugInfo; }
    void notifyStart();
    void notifyTrigger();
    /// true creates the debug information if it is absent; false destroys it.
    void setDebug(bool bDebug);

private:
    piUInt32 miStarted;
    piUInt32 miTriggered;
    cDebugInfo* mpDebugInfo; ///< owned; null unless debugging is enabled
};

/// Something to be done later: connect what is to happen to sigAction, put the work
/// into a queue (cWorkQueue::addJob, qpi::schedule) and start it. A Single work runs
/// once when its planned time has come, a Periodic one every interval, an AsyncIO one
/// whenever its asynchronous I/O data reports an event. Everything runs on the thread
/// that turns the queue.
///
/// A work may be destroyed at any time, also from inside its own action or from a
/// slot of one of its signals: it tells its queues through sigChanged (with
/// isBeingDestroyed() true) and sigDestroyed, and the queues never touch it again.
class QOR_EXPORT cWork
{
public:
    enum Type : piUInt32
    {
        Single = 0,
        Periodic = 1,
        AsyncIO = 2
    };
    typedef qrmi::localSignal2<piVoid, const qstd::cAbstractException&, bool> tActionErrorSignal;
    typedef qrmi::localSignal1<piVoid, const cWork&> tDestroyedSignal;

    cWork();
    virtual ~cWork();
    cWork(const cWork&) = delete;
    cWork& operator=(const cWork&) = delete;

    /// Counts a trigger, emits sigAction and handles a failure of a slot: a handled
    /// error is swallowed, any other passes on. The queue calls this.
    virtual void action();
    /// Emits sigAction only: no statistics, no failure handling.
    void operator()() { sigAction(); }

    /// Restarts with the current type and interval.
    void start() { internRestart(true); }
    /// Starts as a Single work due in iMSec, or as a Periodic work of that interval
    /// (AsyncIO given here yields a Periodic work).
    void start(unsigned int iMSec, Type eType) { internRestart(iMSec, eType != Single, true); }
    /// Plans the next run one interval from now and starts; emits sigChanged.
    void internRestart(bool);
    /// Plans a run in iMSec, periodic or single, and starts; emits sigChanged.
    void internRestart(unsigned int iMSec, bool bPeriodic, bool);
    /// Stops; emits sigChanged.
    void stop();
    /// Stops without a signal: the queue does this right before it runs a Single work.
    void markDone();

    bool isStarted() const { return mbStarted; }
    /// When the work was last (re)started; like plannedTime(), moved by the steps of
    /// the wall clock that the queue noticed while the work was started.
    const qstd::cTime& scheduledTime() const;
    /// When the work is next due.
    const qstd::cTime& plannedTime() const;
    Type type() const { return meType; }
    unsigned int interval() const { return miInterval; }
    /// True when the queue keeps the entry while the work is stopped.
    bool isKeep() const { return mbForceKeep || meType != Single; }
    /// Three or more failed actions in a row.
    bool isAmuck() const { return miFailures > 2; }
    unsigned int failureCount() const { return miFailures; }
    const qstd::cAsciiString& name() const { return msName; }
    void setName(const qstd::cAsciiString& sName) { msName = sName; }
    void setForceKeep(bool bKeep) { mbForceKeep = bKeep; }
    void setDelegateExceptions(bool bDelegate) { mbDelegateExceptions = bDelegate; }
    bool isDelegateExceptions() const { return mbDelegateExceptions; }
    cWorkStat& statistic() { return moStat; }
    const cWorkStat& statistic() const { return moStat; }
    void enableDebug() { moStat.setDebug(true); }
    /// True while the destructor runs (for slots of sigChanged).
    bool isBeingDestroyed() const { return mbBeingDestroyed; }

    /// The parent work, or null.
    cWork* parent() const;
    /// Makes this work a child of pParent (appended last); null detaches it. Nothing
    /// happens when pParent is this work or one of its descendants, so that the
    /// parent chain that errors travel up never becomes a cycle.
    void reparent(cWork* pParent);

    cAbstractAIOData* hasAIOData() { return mpAIOData; }
    const cAbstractAIOData* hasAIOData() const { return mpAIOData; }
    /// The asynchronous I/O data; a cBugException when there is none.
    cAbstractAIOData& aioData();
    const cAbstractAIOData& aioData() const;
    /// Makes this an AsyncIO work owning pData. Non-null data starts the work; null
    /// stops it when it had data before. Data set earlier is destroyed at once.
    /// Emits sigChanged.
    void setAIOData(qstd::tAutoPtr<cAbstractAIOData> pData);

    /// The signal that receives handled action errors: the exception and whether it
    /// arose in a descendant. Created on first use; owned.
    tActionErrorSignal& sigActionError();
    /// Emitted with the work from its destructor. Created on first use; owned.
    tDestroyedSignal& sigDestroyed();

    /// Offers e to the action-error handlers of this work and its ancestors, nearest
    /// first; returns true when one took it. Each call counts a failure, unless
    /// delegating is off, which makes it return false at once.
    bool handleActionError(const qstd::cAbstractException& e, bool);

    /// What is to happen; emitting it without connections does nothing.
    qrmi::localSignal0<piVoid> sigAction;
    /// Emitted with the work when it is started, stopped, given AIO data or destroyed.
    qrmi::localSignal1<piVoid, cWork*> sigChanged;

private:
    friend class cWorkQueue;
    friend class cWorkQueueSlot;
    struct cActionRun;

    /// Moves the stored times by the clock steps noticed since they were set.
    void followClockSteps(long long iStepSum) const;
    /// followClockSteps to the current clock's steps, while the work is started: the
    /// queue no longer visits every started work on every pass to do it.
    void followPendingSteps() const;
    void setTimes(const qstd::cTime& oNow, unsigned long long iDelayMSec);

    tDestroyedSignal* mpDestroyed;   ///< owned; null until sigDestroyed()
    mutable qstd::cTime moScheduled; ///< when the work was last (re)started
    mutable qstd::cTime moPlanned;   ///< when it is next due
    Type meType;
    piUInt32 miInterval; ///< milliseconds
    bool mbStarted;
    bool mbForceKeep;
    bool mbBeingDestroyed;
    mutable long long miStepStamp; ///< cWorkClock::stepSum() the times are in
    /// The bookkeeping of the queues that hold the work, one per queue; owned by
    /// the queues, which unlink it when the work leaves them or dies. Beside the
    /// fields a pass reads.
    cWorkQueueSlot* mpSlots;
    cAbstractAIOData* mpAIOData;       ///< owned; null unless AsyncIO
    tActionErrorSignal* mpActionError; ///< owned; null until sigActionError()
    qstd::cAsciiString msName;
    cWorkStat moStat;
    piUInt32 miFailures;                    ///< failed actions since the last success or start
    qstd::tParentWatch<cWork> moParentLink; ///< its object is this work
    bool mbDelegateExceptions;
    cActionRun* mpRuns; ///< innermost running action(), on the stack
};

} // namespace qpi

#endif // QOR_CORE_PI_WORK_H
