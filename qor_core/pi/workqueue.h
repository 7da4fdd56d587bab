// workqueue.h - qpi::cWorkQueue, the main loop, and the functions that schedule
// works on the system's queue.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_WORKQUEUE_H
#define QOR_CORE_PI_WORKQUEUE_H

#include "qor_core/pi/abstractprocessevents.h"
#include "qor_core/pi/work.h"
#include "qor_core/rmi/connectable.h"

namespace qpi {

/// The main loop: a list of works in insertion order. Each process() runs every
/// started work that is due, computes how long the loop may sleep until the next
/// work is due and hands that time to its process-events object, which waits in
/// poll, epoll or select, marks the works whose descriptors became ready and reports
/// back through sltNotifyPEFinished, which runs them.
///
/// A turn costs what is due, not what exists: beside the list the queue keeps an
/// index, which every change of a work (sigChanged) and every event flag that is
/// raised keeps exact: a heap of the started timed works by planned time, the set of
/// started AsyncIO works, the set of those whose event flag is up, and the entries
/// marked for erasure. A pass takes the due and ready works from the index and runs
/// them in insertion order, exactly as a walk of the whole list would: a work that
/// becomes due during the pass behind the running one runs in the same pass, one in
/// front of it in the next. The wait comes from the top of the heap. A
/// process-events object that keeps registrations (trackWorks) is told which works
/// start and stop waiting instead of reading the whole list on every wait.
///
/// One thread only; nothing is locked. Actions may do anything to the queue while it
/// walks: start, stop, add, remove or destroy works (also the running one), clear
/// the queue, process it again (nested passes), or destroy it. Removal only marks an
/// entry and the outermost pass unlinks marked entries, so a walk never loses its
/// position; every call that runs foreign code checks afterwards whether the work it
/// called, or the queue itself, still exists.
///
/// Planned times are wall-clock microseconds since the epoch. Each pass reads the
/// clock through cWorkClock, which notices steps of the wall clock against the
/// monotonic clock; the pass shifts the times of its works by the steps, so that a
/// step of the clock neither fires works early nor holds them back.
class QOR_EXPORT cWorkQueue : public qrmi::cConnectable
{
public:
    typedef qstd::tList<qstd::tSharedObject<cWork>> tJobList;

    cWorkQueue();
    /// Clears the queue (owned works without other handles are destroyed), then
    /// destroys the process-events object. May run inside one of its own actions.
    ~cWorkQueue() override;

    /// Takes ownership of pEvents (the old object is destroyed) and connects its
    /// sigFinished. A null object clears the queue first.
    void setEvents(qstd::tAutoPtr<cAbstractProcessEvents> pEvents);
    cAbstractProcessEvents* events() const { return mpEvents.get(); }

    /// Adds a work the caller owns; it stays in the list, stopped or not, until it is
    /// destroyed or removed. Adding it again only notifies a change.
    void addJob(cWork& oWork);
    /// Adds the work of a handle (no test for duplicates).
    void addJob(qstd::tSharedObject<cWork> pJob);
    /// A new, stopped work owned by the queue's handle.
    qstd::tSharedObject<cWork> createJob();
    /// Marks every entry of oWork for erasure and drops its handle, which destroys an
    /// owned work whose last handle it was.
    void removeJob(const cWork& oWork);
    /// Marks every entry and drops every handle.
    void clear();

    /// One turn of the loop: with a synchronous process-events object a pass, the
    /// wait and the pass after it; with an asynchronous one its poll(). Exceptions of
    /// actions that no handler takes pass through; the queue stays usable.
    void process();
    /// A pass (running due works when bExecute), then the wait; returns the number
    /// of timed plus I/O works.
    unsigned processEvents(bool bExecute);
    /// Passes until no work changes during one; only the first runs works. Stores
    /// the wait time through pTimeout; returns whether there is something to wait for.
    bool updateTimer(bool bExecute, unsigned int* pTimeout);
    /// One pass over the list; returns the wait time in milliseconds.
    unsigned internProcess(bool bExecute);

    /// Number of passes running on the stack.
    unsigned level() const { return miLevel; }
    /// The work whose action is running, or null.
    cWork* current() const { return mpCurrent; }
    tJobList& jobs() { return moJobs; }
    const tJobList& jobs() const { return moJobs; }
    /// Started Single and Periodic works found by the last pass.
    unsigned numTimedWorks() const { return miTimedWorks; }
    /// Started AsyncIO works found by the last pass.
    unsigned numIOWorks() const { return miIOWorks; }
    unsigned localLoopCount() const { return miLocalLoops; }
    void incLocalLoops() { ++miLocalLoops; }
    void decLocalLoops() { --miLocalLoops; }

    /// Brings the work's place in the index up to date, then notes the change.
    piVoid sltNotifyWorkChanged(cWork* pWork);
    /// removeJob(oWork).
    piVoid sltWorkDestroyed(const cWork& oWork);
    /// A pass that runs what became due during the wait.
    piVoid sltNotifyPEFinished();

    /// Writes the state of the queue and its works to the debug output; enables the
    /// debug information of every work.
    void debugDump();

private:
    class cStackGuard;
    class cIndex;
    struct cPass;
    class cPassLink;
    typedef tJobList::tNode tNode;
    friend class cWork;
    friend class cAbstractAIOData;

    /// The event flag of the work's data went up.
    static void workReady(cWork& oWork);
    /// The descriptors of the work's data may have changed.
    static void workDescriptorsChanged(cWork& oWork);
    /// The work is being destroyed and some queue still holds its slot.
    static void workGone(cWork& oWork);

    cWorkQueueSlot* slotOf(const cWork& oWork) const;
    /// A new entry pNode of oWork was appended.
    void attachEntry(cWork& oWork, tNode* pNode);
    /// Appends an entry for pHandle's work and indexes it; when that fails the
    /// entry is gone again and the exception passes on.
    tNode* appendEntry(const qstd::tSharedObject<cWork>& pHandle);
    /// Puts the slot where the state of its work says: heap, waiting, ready.
    void reindex(cWorkQueueSlot* pSlot);
    /// Takes the slot out of the index and frees it.
    void dropSlot(cWorkQueueSlot* pSlot);
    /// pNode, an entry of the slot's work, was marked: one entry less.
    void leaveEntry(cWorkQueueSlot* pSlot, tNode* pNode);
    void makeReady(cWorkQueueSlot* pSlot);
    /// Hands the slot to the passes running that will still meet it, when it is due.
    void offer(cWorkQueueSlot* pSlot);
    /// Marks pNode for erasure and records it for the purge; iSeq tells the running
    /// passes whether a walk would still meet it.
    void markEntry(tNode* pNode, unsigned long long iSeq);
    void forgetDestroyedWork(cWork& oWork);
    /// After an action that threw, on its way out of the pass: restores the current
    /// work, erases a spent single-shot entry and purges when outermost.
    void leaveFailedRun(cStackGuard& oGuard, cPassLink& oLink, tNode* pNode);
    /// The wait and the counters, from the index, at the end of a pass.
    unsigned long long finishPass(cPass& oPass);
    void purge();

    qstd::tAutoPtr<cAbstractProcessEvents> mpEvents; ///< owned; null until setEvents
    tJobList moJobs;                                 ///< handles own their work or only refer to it
    unsigned miLevel;                                ///< passes running on the stack
    bool mbChanged;                                  ///< a work changed while a pass was running
    unsigned miLocalLoops; ///< living cLocalEventLoop objects on this queue
    unsigned miClearing;   ///< non-zero while clear() runs
    cWork* mpCurrent;      ///< not owned; the work whose action runs
    unsigned miTimedWorks;
    unsigned miIOWorks;
    unsigned miWalkers;    ///< walks of the list running; nothing unlinks meanwhile
    cStackGuard* mpGuards; ///< innermost call running foreign code, on the stack
    cIndex* mpIndex;       ///< owned; always exact for the works in the list
    cPass* mpPasses;       ///< innermost pass running, on the stack
    bool mbTracking;       ///< mpEvents keeps registrations of the waiting works
};

/// The system queue: addJob(oWork); returns oWork.
QOR_EXPORT cWork& schedule(cWork& oWork);
/// The system queue: removeJob(oWork).
QOR_EXPORT void unschedule(cWork& oWork);
/// The system queue takes the work into an owning handle; returns the handle.
QOR_EXPORT qstd::tSharedObject<cWork> schedule(qstd::tAutoPtr<cWork> pWork);
/// A new work on the system queue that calls oSlot once, iMSec from now. The queue's
/// handle keeps the work alive until it is erased after its run. A null name writes
/// a diagnostic.
QOR_EXPORT qstd::tSharedObject<cWork> schedule(const qrmi::cAbstractSlotCall0<piVoid>& oSlot,
                                               unsigned int iMSec, const char* pName);
/// The same with a type: Periodic calls oSlot every iMSec.
QOR_EXPORT qstd::tSharedObject<cWork> schedule(const qrmi::cAbstractSlotCall0<piVoid>& oSlot,
                                               unsigned int iMSec, cWork::Type eType,
                                               const char* pName);

/// Replaces sOut with a Graphviz graph of the queue's works and their parent links.
QOR_EXPORT void dotDump(qstd::cAsciiString& sOut, cWorkQueue& oQueue);

/// Debugging aids for work queues.
class QOR_EXPORT cWqDebug
{
public:
    /// dotDump of pQueue; null means the system's queue.
    static qstd::cAsciiString dot(cWorkQueue* pQueue);
};

/// Throws a cBugException, after writing a diagnostic and the queue's state, when
/// the queue has no process-events object.
QOR_EXPORT void assertEventObject(cWorkQueue& oQueue,
                                  qstd::tAutoPtr<cAbstractProcessEvents>& pEvents);

} // namespace qpi

#endif // QOR_CORE_PI_WORKQUEUE_H
