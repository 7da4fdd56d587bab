// workqueue.cpp - qpi::cWorkQueue, scheduling on the system queue, and the dumps.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/workqueue.h"
#include "qor_core/pi/debug.h"
#include "qor_core/pi/system.h"
#include "qor_core/pi/workclock.h"
#include "qor_core/std/array.h"
#include "qor_core/std/datetime.h"
#include "qor_core/std/exception.h"
#include "qor_core/std/numberconversion.h"
#include "qor_core/ucs/limessage.h"

#include <algorithm>
#include <cstdint>

namespace qpi {

namespace {

typedef cWorkQueue::tJobList::tNode tNode;
typedef cWorkQueue::tJobList::tElementNode tElementNode;

/// Ahead of every entry: a mark with this rank is met by every running pass.
const unsigned long long kUnknownRank = ~0ULL;

inline qstd::tSharedObject<cWork>& handleOf(tNode* pNode)
{
    // Every node between the sentinels is an element node.
    return static_cast<tElementNode*>(pNode)->moElement;
}

[[noreturn]] void throwAmuckWork(const qstd::cAsciiString& sName)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Stopping amuck work \"%name%\"!" << sName;
    throw qstd::cBugException(oMsg, __FILE__, __LINE__);
}

[[noreturn]] void throwNoEventObject()
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$No process event manager for workqueue!";
    throw qstd::cBugException(oMsg, __FILE__, __LINE__);
}

/// Milliseconds until oPlanned, 0 when it is less than 1 ms ahead or past.
inline unsigned long long remainingMSec(const qstd::cTime& oPlanned, const qstd::cTime& oNow)
{
    return oPlanned > oNow ? (oPlanned - oNow).toMSec() : 0ULL;
}

/// An entry a pass is to visit, by its insertion rank.
struct cCandidate
{
    cCandidate(int = 0) : miRank(0), mpNode(nullptr) {}
    cCandidate(unsigned long long iRank, tNode* pNode) : miRank(iRank), mpNode(pNode) {}
    unsigned long long miRank;
    tNode* mpNode;
};

} // namespace

/// The bookkeeping of one work in one queue: where its first live entry is, how it
/// ranks in insertion order, and where it sits in the queue's index. Owned by the
/// queue; linked into the work's chain of slots so that a change of the work finds
/// it without a search of the list.
class cWorkQueueSlot
{
public:
    cWorkQueueSlot(cWorkQueue& oQueue, cWork& oWork, tNode* pNode, unsigned long long iRank)
        : mpQueue(&oQueue), mpWork(&oWork), mpNextOfWork(oWork.mpSlots), mpNode(pNode),
          miRank(iRank), miEntries(1), miHeapPos(0), miIOPos(0), miReadyPos(0), miKey(0),
          mpRegistration(nullptr)
    {
        oWork.mpSlots = this;
    }
    ~cWorkQueueSlot()
    {
        for (cWorkQueueSlot** p = &mpWork->mpSlots; *p; p = &(*p)->mpNextOfWork)
            if (*p == this) {
                *p = mpNextOfWork;
                break;
            }
    }
    cWorkQueueSlot(const cWorkQueueSlot&) = delete;
    cWorkQueueSlot& operator=(const cWorkQueueSlot&) = delete;

    cWorkQueue* mpQueue;
    cWork* mpWork;
    cWorkQueueSlot* mpNextOfWork; ///< the slot of the work in another queue
    tNode* mpNode;                ///< the work's first entry not marked for erasure
    unsigned long long miRank;    ///< insertion rank of mpNode
    unsigned miEntries;           ///< the work's entries not marked for erasure
    unsigned miHeapPos;           ///< 1 + position in the timer heap; 0 when not in it
    unsigned miIOPos;             ///< 1 + position among the waiting works; 0 when not
    unsigned miReadyPos;          ///< 1 + position among the ready works; 0 when not
    /// The planned time minus the clock steps it was planned under: the planned
    /// times of all works in the frame of one step sum keep this order.
    unsigned long long miKey;
    cAbstractProcessEvents::cWorkRegistration* mpRegistration; ///< of the events object
};

/// An entry of the timer heap. The key and rank are copied in, so that ordering
/// never reads the slots; a null slot is a retired entry, left in place until it
/// reaches the top or the heap is compacted.
struct cHeapEntry
{
    cHeapEntry(int = 0) : miKey(0), miRank(0), mpSlot(nullptr) {}
    cHeapEntry(cWorkQueueSlot* pSlot) : miKey(pSlot->miKey), miRank(pSlot->miRank), mpSlot(pSlot) {}
    unsigned long long miKey;
    unsigned long long miRank;
    cWorkQueueSlot* mpSlot;
};

/// The index beside the list. Invariants, between calls of the queue: the live
/// entries of the heap are exactly the slots whose work is started and not AsyncIO,
/// ordered by (key, rank); the waiting set holds exactly those whose work is started
/// and AsyncIO; the ready set the waiting slots whose event flag went up and that no
/// pass has run since. The counters hold the entries of the live heap slots and of
/// the waiting slots. Nothing here allocates once the arrays have grown to the size
/// of the load.
class cWorkQueue::cIndex
{
public:
    cIndex() : miNextRank(0), miTimedEntries(0), miIOEntries(0), miRetired(0)
    {
        moHeap.setFitOnErase(false);
        moWaiting.setFitOnErase(false);
        moReady.setFitOnErase(false);
        moMarked.setFitOnErase(false);
        moOuterRun.setFitOnErase(false);
        moOuterOffers.setFitOnErase(false);
        moScan.setFitOnErase(false);
    }

    static bool before(const cHeapEntry& oA, const cHeapEntry& oB)
    {
        return oA.miKey < oB.miKey || (oA.miKey == oB.miKey && oA.miRank < oB.miRank);
    }
    void place(unsigned i, const cHeapEntry& oEntry)
    {
        moHeap[i] = oEntry;
        if (oEntry.mpSlot)
            oEntry.mpSlot->miHeapPos = i + 1;
    }
    void siftUp(unsigned i)
    {
        cHeapEntry oEntry = moHeap[i];
        while (i > 0) {
            unsigned iParent = (i - 1) / 2;
            if (!before(oEntry, moHeap[iParent]))
                break;
            place(i, moHeap[iParent]);
            i = iParent;
        }
        place(i, oEntry);
    }
    void siftDown(unsigned i)
    {
        cHeapEntry oEntry = moHeap[i];
        const unsigned iCount = moHeap.size();
        for (;;) {
            unsigned iChild = 2 * i + 1;
            if (iChild >= iCount)
                break;
            if (iChild + 1 < iCount && before(moHeap[iChild + 1], moHeap[iChild]))
                ++iChild;
            if (!before(moHeap[iChild], oEntry))
                break;
            place(i, moHeap[iChild]);
            i = iChild;
        }
        place(i, oEntry);
    }
    void heapInsert(cWorkQueueSlot* pSlot)
    {
        siftUp(moHeap.append(cHeapEntry(pSlot)));
        miTimedEntries += pSlot->miEntries;
    }
    /// The slot leaves the heap; its entry stays behind, retired.
    void heapRetire(cWorkQueueSlot* pSlot)
    {
        moHeap[pSlot->miHeapPos - 1].mpSlot = nullptr;
        pSlot->miHeapPos = 0;
        miTimedEntries -= pSlot->miEntries;
        ++miRetired;
    }
    void popTop()
    {
        if (!moHeap[0].mpSlot)
            --miRetired;
        else
            moHeap[0].mpSlot->miHeapPos = 0;
        unsigned iLast = moHeap.size() - 1;
        cHeapEntry oMoved = moHeap[iLast];
        moHeap.truncate(iLast);
        if (iLast > 0) {
            place(0, oMoved);
            siftDown(0);
        }
    }
    /// Drops the retired entries in one sweep once they are the majority, so that a
    /// retirement costs O(1) amortised instead of a walk down the heap.
    void compactIfWorth()
    {
        if (miRetired < 16 || miRetired * 2 < moHeap.size())
            return;
        unsigned iKept = 0;
        for (unsigned i = 0; i < moHeap.size(); ++i)
            if (moHeap[i].mpSlot)
                moHeap[iKept++] = moHeap[i];
        moHeap.truncate(iKept);
        miRetired = 0;
        for (unsigned i = 0; i < iKept; ++i)
            moHeap[i].mpSlot->miHeapPos = i + 1;
        for (unsigned i = iKept / 2; i-- > 0;)
            siftDown(i);
    }
    /// The live entry on top, after dropping retired ones; null when none.
    const cHeapEntry* top()
    {
        while (!moHeap.empty() && !moHeap[0].mpSlot)
            popTop();
        return moHeap.empty() ? nullptr : &moHeap[0];
    }

    /// Unordered sets with the position kept in the slot.
    static void setAdd(qstd::tArray<cWorkQueueSlot*>& oSet, cWorkQueueSlot* pSlot,
                       unsigned cWorkQueueSlot::*pPos)
    {
        pSlot->*pPos = oSet.append(pSlot) + 1;
    }
    static void setRemove(qstd::tArray<cWorkQueueSlot*>& oSet, cWorkQueueSlot* pSlot,
                          unsigned cWorkQueueSlot::*pPos)
    {
        unsigned i = pSlot->*pPos - 1;
        unsigned iLast = oSet.size() - 1;
        if (i < iLast) {
            oSet[i] = oSet[iLast];
            oSet[i]->*pPos = i + 1;
        }
        oSet.truncate(iLast);
        pSlot->*pPos = 0;
    }

    qstd::tArray<cHeapEntry> moHeap;         ///< started timed works, a binary heap
    qstd::tArray<cWorkQueueSlot*> moWaiting; ///< started AsyncIO works
    qstd::tArray<cWorkQueueSlot*> moReady;   ///< waiting works whose flag went up
    qstd::tArray<tNode*> moMarked;           ///< entries marked, not yet unlinked
    qstd::tArray<cCandidate> moOuterRun;     ///< the outermost pass's, kept for capacity
    qstd::tArray<cCandidate> moOuterOffers;  ///< the same
    qstd::tArray<unsigned> moScan;           ///< heap positions to look at, while collecting
    unsigned long long miNextRank;
    unsigned miTimedEntries; ///< entries of the live slots in the heap
    unsigned miIOEntries;    ///< entries of the waiting slots
    unsigned miRetired;      ///< retired entries in the heap
};

/// One pass running, on its stack. What it is to visit, by insertion rank: the run,
/// sorted, taken at its start, and the offers, a heap of the entries that became
/// due during the pass ahead of its cursor.
struct cWorkQueue::cPass
{
    cPass() : moNow(0ULL) {} // the pass sets every field; no clock is read here
    cPass* mpOuter;
    bool mbExecute;
    bool mbSupportsAIO;
    qstd::cTime moNow;           ///< the time of the pass, in the frame of miSteps
    long long miSteps;           ///< the clock's step sum the pass's times are in
    unsigned long long miCursor; ///< rank of the entry being visited; 0 before the first
    bool mbErased;               ///< the walk would have met an entry marked for erasure
    bool mbSingleRan;            ///< a Single work ran and stays: the wait is 0
    unsigned miKeptSingles;      ///< Single works that ran and keep their stopped entry
    qstd::tArray<cCandidate>* mpRun;
    unsigned miRunNext;
    qstd::tArray<cCandidate>* mpOffers;

    static bool earlier(const cCandidate& oA, const cCandidate& oB)
    {
        return oA.miRank < oB.miRank;
    }
    void offer(unsigned long long iRank, tNode* pNode)
    {
        qstd::tArray<cCandidate>& oHeap = *mpOffers;
        cCandidate oNew(iRank, pNode);
        unsigned i = oHeap.append(oNew);
        while (i > 0) {
            unsigned iParent = (i - 1) / 2;
            if (!earlier(oNew, oHeap[iParent]))
                break;
            oHeap[i] = oHeap[iParent];
            i = iParent;
        }
        oHeap[i] = oNew;
    }
    cCandidate popOffer()
    {
        qstd::tArray<cCandidate>& oHeap = *mpOffers;
        cCandidate oTop = oHeap[0];
        unsigned iCount = oHeap.size() - 1;
        cCandidate oMoved = oHeap[iCount];
        oHeap.truncate(iCount);
        unsigned i = 0;
        for (;;) {
            unsigned iChild = 2 * i + 1;
            if (iChild >= iCount)
                break;
            if (iChild + 1 < iCount && earlier(oHeap[iChild + 1], oHeap[iChild]))
                ++iChild;
            if (!earlier(oHeap[iChild], oMoved))
                break;
            oHeap[i] = oHeap[iChild];
            i = iChild;
        }
        if (iCount > 0)
            oHeap[i] = oMoved;
        return oTop;
    }
    bool empty() const { return miRunNext >= mpRun->size() && mpOffers->empty(); }
    cCandidate next()
    {
        if (miRunNext < mpRun->size() &&
            (mpOffers->empty() || (*mpRun)[miRunNext].miRank <= (*mpOffers)[0].miRank))
            return (*mpRun)[miRunNext++];
        return popOffer();
    }
    /// Whether the walk, arriving at the slot's entry now, would run it.
    bool wouldRun(const cWorkQueueSlot* pSlot) const
    {
        const cWork& oWork = *pSlot->mpWork;
        if (!oWork.isStarted())
            return false;
        if (oWork.type() == cWork::AsyncIO) {
            const cAbstractAIOData* pData = oWork.hasAIOData();
            return !mbSupportsAIO || (mbExecute && pData && pData->isEvent());
        }
        return mbExecute &&
               remainingMSec(qstd::cTime(pSlot->miKey + (unsigned long long)miSteps), moNow) == 0;
    }
};

/// Links a pass into the queue's chain for as long as it runs.
class cWorkQueue::cPassLink
{
public:
    cPassLink(cWorkQueue& oQueue, cStackGuard& oGuard, cPass& oPass)
        : mpQueue(&oQueue), mpGuard(&oGuard), mpPass(&oPass)
    {
        oPass.mpOuter = oQueue.mpPasses;
        oQueue.mpPasses = &oPass;
    }
    ~cPassLink() { unlink(); }
    cPassLink(const cPassLink&) = delete;
    cPassLink& operator=(const cPassLink&) = delete;
    void unlink();

private:
    cWorkQueue* mpQueue;
    cStackGuard* mpGuard;
    cPass* mpPass; ///< null once unlinked
};

/// A call of the queue that runs foreign code (actions, slots, destructors of
/// works), on its stack. The queue's destructor marks every guard, so that the call
/// returns without touching the dead queue; a work's destruction clears the
/// guard's pointers to it. Whatever the guard was asked to restore (the current
/// work, the level, a walk counter) is restored on every way out, exceptions
/// included.
class cWorkQueue::cStackGuard
{
public:
    explicit cStackGuard(cWorkQueue& oQueue)
        : mpQueue(&oQueue), mpOuter(oQueue.mpGuards), mpVisited(nullptr), mbVisitedGone(false),
          mpSavedCurrent(nullptr), mbRestoreCurrent(false), mbLevelRaised(false), mpCounter(nullptr)
    {
        oQueue.mpGuards = this;
    }
    ~cStackGuard()
    {
        if (!mpQueue)
            return;
        if (mbRestoreCurrent)
            mpQueue->mpCurrent = mpSavedCurrent;
        if (mbLevelRaised)
            --mpQueue->miLevel;
        if (mpCounter)
            --*mpCounter;
        mpQueue->mpGuards = mpOuter;
    }
    cStackGuard(const cStackGuard&) = delete;
    cStackGuard& operator=(const cStackGuard&) = delete;

    bool alive() const { return mpQueue != nullptr; }
    void visit(cWork* pWork)
    {
        mpVisited = pWork;
        mbVisitedGone = false;
    }
    bool visitedGone() const { return mbVisitedGone; }
    void count(unsigned& iCounter)
    {
        ++iCounter;
        mpCounter = &iCounter;
    }
    void releaseCount()
    {
        if (mpCounter)
            --*mpCounter;
        mpCounter = nullptr;
    }

    cWorkQueue* mpQueue; ///< null once the queue is destroyed
    cStackGuard* mpOuter;
    cWork* mpVisited;      ///< the work the pass is calling into
    bool mbVisitedGone;    ///< mpVisited was destroyed meanwhile
    cWork* mpSavedCurrent; ///< current() to restore; null when that work is gone
    bool mbRestoreCurrent;
    bool mbLevelRaised;
    unsigned* mpCounter; ///< decremented on the way out
};

void cWorkQueue::cPassLink::unlink()
{
    if (mpPass && mpGuard->alive())
        mpQueue->mpPasses = mpPass->mpOuter;
    mpPass = nullptr;
}

cWorkQueue::cWorkQueue()
    : miLevel(0), mbChanged(false), miLocalLoops(0), miClearing(0), mpCurrent(nullptr),
      miTimedWorks(0), miIOWorks(0), miWalkers(0), mpGuards(nullptr), mpIndex(new cIndex),
      mpPasses(nullptr), mbTracking(false)
{
}

cWorkQueue::~cWorkQueue()
{
    for (cStackGuard* pGuard = mpGuards; pGuard; pGuard = pGuard->mpOuter)
        pGuard->mpQueue = nullptr;
    mpGuards = nullptr;
    mpPasses = nullptr;
    clear();
    mpCurrent = nullptr;
    // clear() dropped every slot; registrations died with them.
    delete mpIndex;
    mpIndex = nullptr;
}

// --- the index ------------------------------------------------------------------

cWorkQueueSlot* cWorkQueue::slotOf(const cWork& oWork) const
{
    for (cWorkQueueSlot* p = oWork.mpSlots; p; p = p->mpNextOfWork)
        if (p->mpQueue == this)
            return p;
    return nullptr;
}

void cWorkQueue::attachEntry(cWork& oWork, tNode* pNode)
{
    cWorkQueueSlot* pSlot = slotOf(oWork);
    if (pSlot) {
        // A further handle of a work already listed: the walk counted every entry.
        ++pSlot->miEntries;
        if (pSlot->miHeapPos)
            ++mpIndex->miTimedEntries;
        if (pSlot->miIOPos)
            ++mpIndex->miIOEntries;
        return;
    }
    pSlot = new cWorkQueueSlot(*this, oWork, pNode, ++mpIndex->miNextRank);
    try {
        reindex(pSlot);
    } catch (...) {
        dropSlot(pSlot); // out of memory halfway: the work is not in the index at all
        throw;
    }
}

cWorkQueue::tNode* cWorkQueue::appendEntry(const qstd::tSharedObject<cWork>& pHandle)
{
    tNode* pNode = moJobs.append(pHandle).node();
    try {
        attachEntry(*pHandle, pNode);
    } catch (...) {
        // The entry is new, so no walk stands on it and no index knows it: it goes
        // at once, and a work that dies later finds no entry without a slot.
        moJobs.erase(tJobList::iterator(pNode));
        throw;
    }
    return pNode;
}

void cWorkQueue::reindex(cWorkQueueSlot* pSlot)
{
    cIndex& oIndex = *mpIndex;
    cWork& oWork = *pSlot->mpWork;
    const bool bStarted = oWork.mbStarted;
    const bool bIO = oWork.meType == cWork::AsyncIO;
    if (bStarted && !bIO) {
        unsigned long long iKey = oWork.moPlanned.get() - (unsigned long long)oWork.miStepStamp;
        if (pSlot->miHeapPos && iKey != pSlot->miKey)
            oIndex.heapRetire(pSlot); // replanned works are mostly later: appending is cheap
        if (!pSlot->miHeapPos) {
            pSlot->miKey = iKey;
            oIndex.heapInsert(pSlot);
        }
    } else if (pSlot->miHeapPos) {
        oIndex.heapRetire(pSlot);
    }
    if (bStarted && bIO) {
        if (!pSlot->miIOPos) {
            cIndex::setAdd(oIndex.moWaiting, pSlot, &cWorkQueueSlot::miIOPos);
            oIndex.miIOEntries += pSlot->miEntries;
        }
        // Also when it waited before: its data may be new.
        if (mbTracking && mpEvents)
            pSlot->mpRegistration = mpEvents->watchWork(oWork, pSlot->mpRegistration);
        if (oWork.mpAIOData && oWork.mpAIOData->isEvent() && !pSlot->miReadyPos)
            cIndex::setAdd(oIndex.moReady, pSlot, &cWorkQueueSlot::miReadyPos);
    } else if (pSlot->miIOPos) {
        cIndex::setRemove(oIndex.moWaiting, pSlot, &cWorkQueueSlot::miIOPos);
        oIndex.miIOEntries -= pSlot->miEntries;
        if (pSlot->miReadyPos)
            cIndex::setRemove(oIndex.moReady, pSlot, &cWorkQueueSlot::miReadyPos);
        if (pSlot->mpRegistration) {
            cAbstractProcessEvents::cWorkRegistration* pRegistration = pSlot->mpRegistration;
            pSlot->mpRegistration = nullptr;
            if (mpEvents)
                mpEvents->unwatchWork(pRegistration);
        }
    }
    offer(pSlot);
}

void cWorkQueue::dropSlot(cWorkQueueSlot* pSlot)
{
    cIndex& oIndex = *mpIndex;
    if (pSlot->miHeapPos)
        oIndex.heapRetire(pSlot);
    if (pSlot->miReadyPos)
        cIndex::setRemove(oIndex.moReady, pSlot, &cWorkQueueSlot::miReadyPos);
    if (pSlot->miIOPos) {
        cIndex::setRemove(oIndex.moWaiting, pSlot, &cWorkQueueSlot::miIOPos);
        oIndex.miIOEntries -= pSlot->miEntries;
    }
    if (pSlot->mpRegistration && mpEvents)
        mpEvents->unwatchWork(pSlot->mpRegistration);
    delete pSlot;
}

void cWorkQueue::leaveEntry(cWorkQueueSlot* pSlot, tNode* pNode)
{
    if (!pSlot)
        return;
    if (pSlot->miEntries <= 1) {
        dropSlot(pSlot);
        return;
    }
    --pSlot->miEntries;
    if (pSlot->miHeapPos)
        --mpIndex->miTimedEntries;
    if (pSlot->miIOPos)
        --mpIndex->miIOEntries;
    if (pSlot->mpNode != pNode)
        return;
    // The next entry of the same work takes over; it keeps the rank, which only
    // matters for works listed more than once.
    for (tNode* p = pNode->mpNext; p != moJobs.end().node(); p = p->mpNext) {
        if (!p->isMarkedForErase() && handleOf(p).rawPointer() == pSlot->mpWork) {
            pSlot->mpNode = p;
            return;
        }
    }
}

void cWorkQueue::makeReady(cWorkQueueSlot* pSlot)
{
    if (!pSlot->miIOPos)
        return;
    if (!pSlot->miReadyPos)
        cIndex::setAdd(mpIndex->moReady, pSlot, &cWorkQueueSlot::miReadyPos);
    offer(pSlot);
}

void cWorkQueue::offer(cWorkQueueSlot* pSlot)
{
    for (cPass* pPass = mpPasses; pPass; pPass = pPass->mpOuter)
        if (pSlot->miRank > pPass->miCursor && pPass->wouldRun(pSlot))
            pPass->offer(pSlot->miRank, pSlot->mpNode);
}

void cWorkQueue::markEntry(tNode* pNode, unsigned long long iRank)
{
    if (pNode->isMarkedForErase())
        return;
    pNode->miFlags |= tNode::EraseLater;
    mpIndex->moMarked.append(pNode);
    // A walk meets the entries from its cursor on, the one it stands on included.
    for (cPass* pPass = mpPasses; pPass; pPass = pPass->mpOuter)
        if (iRank >= pPass->miCursor)
            pPass->mbErased = true;
}

void cWorkQueue::workReady(cWork& oWork)
{
    for (cWorkQueueSlot* p = oWork.mpSlots; p; p = p->mpNextOfWork)
        p->mpQueue->makeReady(p);
}

void cWorkQueue::workDescriptorsChanged(cWork& oWork)
{
    for (cWorkQueueSlot* p = oWork.mpSlots; p; p = p->mpNextOfWork) {
        cWorkQueue& oQueue = *p->mpQueue;
        if (p->miIOPos && oQueue.mbTracking && oQueue.mpEvents)
            p->mpRegistration = oQueue.mpEvents->watchWork(oWork, p->mpRegistration);
    }
}

void cWorkQueue::workGone(cWork& oWork)
{
    while (oWork.mpSlots)
        oWork.mpSlots->mpQueue->forgetDestroyedWork(oWork);
}

// --- the list -------------------------------------------------------------------

void cWorkQueue::setEvents(qstd::tAutoPtr<cAbstractProcessEvents> pEvents)
{
    if (!pEvents) {
        cStackGuard oGuard(*this);
        clear();
        if (!oGuard.alive())
            return;
    }
    // The registrations belong to the old object.
    if (mbTracking && mpEvents) {
        for (unsigned i = 0; i < mpIndex->moWaiting.size(); ++i) {
            cWorkQueueSlot* pSlot = mpIndex->moWaiting[i];
            if (pSlot->mpRegistration)
                mpEvents->unwatchWork(pSlot->mpRegistration);
            pSlot->mpRegistration = nullptr;
        }
    }
    mbTracking = false;
    mpEvents = pEvents;
    if (mpEvents) {
        mpEvents->sigFinished.connect(*this, &cWorkQueue::sltNotifyPEFinished,
                                      qrmi::cAbstractSignal::ConnectLast);
        mbTracking = mpEvents->trackWorks(moJobs);
        for (unsigned i = 0; mbTracking && i < mpIndex->moWaiting.size(); ++i) {
            cWorkQueueSlot* pSlot = mpIndex->moWaiting[i];
            pSlot->mpRegistration = mpEvents->watchWork(*pSlot->mpWork, nullptr);
        }
    }
}

void cWorkQueue::addJob(cWork& oWork)
{
    if (slotOf(oWork)) {
        sltNotifyWorkChanged(nullptr);
        return;
    }
    // A work removed earlier is still connected: connect it once only.
    oWork.sigDestroyed().disconnect(*this);
    oWork.sigDestroyed().connect(*this, &cWorkQueue::sltWorkDestroyed,
                                 qrmi::cAbstractSignal::ConnectLast);
    oWork.sigChanged.disconnect(*this);
    oWork.sigChanged.connect(*this, &cWorkQueue::sltNotifyWorkChanged,
                             qrmi::cAbstractSignal::ConnectLast);
    oWork.setForceKeep(true);
    oWork.reparent(mpCurrent);
    appendEntry(qstd::tSharedObject<cWork>(oWork));
    sltNotifyWorkChanged(nullptr);
}

void cWorkQueue::addJob(qstd::tSharedObject<cWork> pJob)
{
    pJob->reparent(mpCurrent);
    appendEntry(pJob);
    pJob->sigChanged.disconnect(*this);
    pJob->sigChanged.connect(*this, &cWorkQueue::sltNotifyWorkChanged,
                             qrmi::cAbstractSignal::ConnectLast);
    sltNotifyWorkChanged(nullptr);
}

qstd::tSharedObject<cWork> cWorkQueue::createJob()
{
    qstd::tSharedObject<cWork> pJob(new cWork);
    pJob->sigChanged.connect(*this, &cWorkQueue::sltNotifyWorkChanged,
                             qrmi::cAbstractSignal::ConnectLast);
    pJob->reparent(mpCurrent);
    appendEntry(pJob);
    sltNotifyWorkChanged(nullptr);
    return pJob;
}

void cWorkQueue::removeJob(const cWork& oWork)
{
    if (mpCurrent == &oWork)
        mpCurrent = nullptr;
    cWorkQueueSlot* pSlot = slotOf(oWork);
    if (!pSlot)
        return;
    cStackGuard oGuard(*this);
    oGuard.count(miWalkers);
    if (pSlot->miEntries == 1) {
        tNode* pNode = pSlot->mpNode;
        unsigned long long iRank = pSlot->miRank;
        dropSlot(pSlot);
        markEntry(pNode, iRank);
        handleOf(pNode).reset(); // may destroy the work and run anything
        return;
    }
    dropSlot(pSlot);
    for (tNode* p = moJobs.begin().node(); p != moJobs.end().node(); p = p->mpNext) {
        if (p->isMarkedForErase() || handleOf(p).get() != &oWork)
            continue;
        markEntry(p, kUnknownRank);
        handleOf(p).reset();
        if (!oGuard.alive())
            return;
    }
}

void cWorkQueue::clear()
{
    cStackGuard oGuard(*this);
    oGuard.count(miClearing);
    for (tNode* p = moJobs.begin().node(); p != moJobs.end().node(); p = p->mpNext) {
        if (!p->isMarkedForErase()) {
            // Unmarked entries hold a living work, or a handle invalidated without
            // destroying its work.
            if (cWork* pWork = handleOf(p).rawPointer())
                if (cWorkQueueSlot* pSlot = slotOf(*pWork))
                    dropSlot(pSlot);
            markEntry(p, kUnknownRank);
        }
        handleOf(p).reset();
        if (!oGuard.alive())
            return;
    }
}

void cWorkQueue::forgetDestroyedWork(cWork& oWork)
{
    if (mpCurrent == &oWork)
        mpCurrent = nullptr;
    for (cStackGuard* pGuard = mpGuards; pGuard; pGuard = pGuard->mpOuter) {
        if (pGuard->mpVisited == &oWork) {
            pGuard->mpVisited = nullptr;
            pGuard->mbVisitedGone = true;
        }
        if (pGuard->mpSavedCurrent == &oWork)
            pGuard->mpSavedCurrent = nullptr;
    }
    cWorkQueueSlot* pSlot = slotOf(oWork);
    if (!pSlot)
        return;
    // However the work was added, a dead work never stays in the list. A handle that
    // still counts as valid here was made from a reference, or the work was deleted
    // behind an owning handle's back: dropping it must not delete the work again.
    // An owning handle whose release destroys the work reads null already; its
    // entry is marked all the same.
    auto forget = [&](tNode* pNode, unsigned long long iRank) {
        qstd::tSharedObject<cWork>& oHandle = handleOf(pNode);
        bool bValid = oHandle.get() == &oWork;
        if (bValid)
            oHandle.controlBlock()->mbOwner = false;
        markEntry(pNode, iRank);
        if (bValid && !miClearing)
            oHandle.reset();
    };
    if (pSlot->miEntries == 1) {
        tNode* pNode = pSlot->mpNode;
        unsigned long long iRank = pSlot->miRank;
        dropSlot(pSlot);
        forget(pNode, iRank);
        return;
    }
    dropSlot(pSlot);
    for (tNode* p = moJobs.begin().node(); p != moJobs.end().node(); p = p->mpNext)
        if (!p->isMarkedForErase() && handleOf(p).rawPointer() == &oWork)
            forget(p, kUnknownRank);
}

// --- processing -------------------------------------------------------------------

void cWorkQueue::process()
{
    if (!mpEvents)
        return;
    if (!mpEvents->isAsynchronous())
        processEvents(true);
    else
        mpEvents->poll();
}

unsigned cWorkQueue::processEvents(bool bExecute)
{
    assertEventObject(*this, mpEvents);
    cStackGuard oGuard(*this);
    unsigned iTimeout = 0;
    bool bWant = updateTimer(bExecute, &iTimeout);
    if (!oGuard.alive() || !mpEvents)
        return 0;
    if (mpEvents->isAsynchronous() || bWant) {
        mpEvents->yield(miLevel, moJobs, iTimeout);
        if (!oGuard.alive())
            return 0;
    }
    return miTimedWorks + miIOWorks;
}

bool cWorkQueue::updateTimer(bool bExecute, unsigned int* pTimeout)
{
    cStackGuard oGuard(*this);
    ++miLevel;
    oGuard.mbLevelRaised = true;
    unsigned iTimeout = 0;
    do {
        mbChanged = false;
        iTimeout = internProcess(bExecute);
        if (!oGuard.alive())
            return false;
        bExecute = false;
    } while (mbChanged);
    if (pTimeout)
        *pTimeout = iTimeout;
    return (miTimedWorks > 0 && iTimeout > 0) || miIOWorks > 0;
}

namespace {

bool rankOrder(const cCandidate& oA, const cCandidate& oB)
{
    return oA.miRank < oB.miRank;
}

} // namespace

unsigned cWorkQueue::internProcess(bool bExecute)
{
    assertEventObject(*this, mpEvents);
    cWorkClock* pClock = &cWorkClock::current();
    cPass oPass;
    oPass.mbExecute = bExecute;
    oPass.mbSupportsAIO = mpEvents->supportsAIO();
    oPass.moNow = pClock->sampleNow();
    oPass.miSteps = pClock->stepSum();
    oPass.miCursor = 0;
    oPass.mbErased = !mpIndex->moMarked.empty();
    oPass.mbSingleRan = false;
    oPass.miKeptSingles = 0;
    // After foreign code the clock may have noticed a step: keep the pass's time in
    // the frame of the steps the works are shifted to.
    auto followSteps = [&]() {
        long long iNewSteps = cWorkClock::current().stepSum();
        if (iNewSteps != oPass.miSteps) {
            oPass.moNow = oPass.moNow + (iNewSteps - oPass.miSteps);
            oPass.miSteps = iNewSteps;
        }
    };

    cStackGuard oGuard(*this);
    oGuard.count(miWalkers);
    // Only nested passes pay for arrays of their own.
    qstd::tArray<cCandidate> oNestedRun, oNestedOffers;
    const bool bOutermost = mpPasses == nullptr;
    oPass.mpRun = bOutermost ? &mpIndex->moOuterRun : &oNestedRun;
    oPass.mpOffers = bOutermost ? &mpIndex->moOuterOffers : &oNestedOffers;
    oPass.mpRun->truncate(0);
    oPass.mpOffers->truncate(0);
    oPass.miRunNext = 0;
    cPassLink oLink(*this, oGuard, oPass);

    cIndex& oIndex = *mpIndex;
    qstd::tArray<cCandidate>& oRun = *oPass.mpRun;
    if (bExecute && !oIndex.moHeap.empty()) {
        // Due: less than 1 ms ahead of the pass's time, in the frame of its steps.
        // The heap is read in the order of its positions, below due entries only:
        // works started in list order come out sorted already.
        unsigned long long iLimit = oPass.moNow.get() + 999ULL - (unsigned long long)oPass.miSteps;
        // Below an entry that is not due nothing is due either.
        qstd::tArray<unsigned>& oScan = oIndex.moScan;
        const qstd::tArray<cHeapEntry>& oHeap = oIndex.moHeap;
        oScan.truncate(0);
        if (oHeap[0].miKey <= iLimit)
            oScan.append(0);
        for (unsigned i = 0; i < oScan.size(); ++i) {
            unsigned iPos = oScan[i];
            if (oHeap[iPos].mpSlot)
                oRun.append(cCandidate(oHeap[iPos].miRank, oHeap[iPos].mpSlot->mpNode));
            unsigned iChild = 2 * iPos + 1;
            if (iChild < oHeap.size() && oHeap[iChild].miKey <= iLimit)
                oScan.append(iChild);
            if (iChild + 1 < oHeap.size() && oHeap[iChild + 1].miKey <= iLimit)
                oScan.append(iChild + 1);
        }
    }
    if (bExecute)
        for (unsigned i = 0; i < oIndex.moReady.size(); ++i)
            oRun.append(cCandidate(oIndex.moReady[i]->miRank, oIndex.moReady[i]->mpNode));
    if (!oPass.mbSupportsAIO)
        for (unsigned i = 0; i < oIndex.moWaiting.size(); ++i)
            oRun.append(cCandidate(oIndex.moWaiting[i]->miRank, oIndex.moWaiting[i]->mpNode));
    for (unsigned i = 1; i < oRun.size(); ++i) {
        if (oRun[i].miRank < oRun[i - 1].miRank) {
            std::sort(oRun.begin(), oRun.end(), rankOrder);
            break;
        }
    }

    while (!oPass.empty()) {
        cCandidate oNext = oPass.next();
        if (oNext.miRank <= oPass.miCursor)
            continue; // offered twice
        oPass.miCursor = oNext.miRank;
        tNode* const pNode = oNext.mpNode;
        if (pNode->isMarkedForErase())
            continue;
        cWork* pWork = handleOf(pNode).get();
        if (!pWork) {
            // A handle invalidated behind the queue's back; its work still lives.
            if (cWork* pAlive = handleOf(pNode).rawPointer())
                leaveEntry(slotOf(*pAlive), pNode);
            markEntry(pNode, oNext.miRank);
            continue;
        }
        cWorkQueueSlot* pSlot = slotOf(*pWork);
        if (!pSlot || pSlot->mpNode != pNode || !pWork->mbStarted)
            continue;
        if (pWork->miStepStamp != oPass.miSteps)
            pWork->followClockSteps(oPass.miSteps);

        // Due: less than 1 ms ahead, that is, remainingMSec() == 0.
        bool bDue = pWork->moPlanned.get() <= oPass.moNow.get() + 999ULL;
        if (pWork->meType == cWork::AsyncIO) {
            // An I/O work waits for its event only; its planned time means nothing.
            // Only a pass that runs works takes the event: a recomputing pass must
            // not lose it.
            bDue = false;
            if (bExecute && pWork->mpAIOData && pWork->mpAIOData->isEvent()) {
                pWork->mpAIOData->setEvent(false);
                if (pSlot->miReadyPos)
                    cIndex::setRemove(oIndex.moReady, pSlot, &cWorkQueueSlot::miReadyPos);
                bDue = true;
            }
            if (!oPass.mbSupportsAIO) {
                oGuard.visit(pWork);
                pWork->internRestart(pWork->miInterval, true, false);
                if (!oGuard.alive())
                    return 0;
                if (oGuard.visitedGone())
                    continue;
                if (cWorkQueueSlot* pNow = slotOf(*pWork))
                    reindex(pNow); // also when its sigChanged is not connected here
                followSteps();
                bDue = true;
            }
        }
        if (!bExecute || !bDue)
            continue;

        const cWork::Type eType = pWork->meType;
        oGuard.visit(pWork);
        if (eType == cWork::Single) {
            // markDone(), with the clock steps followed above; what reindex() would do
            // for a stopped timed work.
            pWork->mbStarted = false;
            if (pSlot->miHeapPos)
                oIndex.heapRetire(pSlot);
        } else if (eType == cWork::Periodic) {
            pWork->mbStarted = false;
            pWork->internRestart(false);
            if (!oGuard.alive())
                return 0;
            if (oGuard.visitedGone())
                continue;
            // sigChanged has replanned it here, unless its connection was cut.
            cWorkQueueSlot* pNow = slotOf(*pWork);
            if (pNow &&
                pNow->miKey != pWork->moPlanned.get() - (unsigned long long)pWork->miStepStamp)
                reindex(pNow);
            followSteps();
        }
        if (pWork->isAmuck()) {
            qstd::cAsciiString sName(pWork->msName);
            pWork->stop();
            if (oGuard.alive() && !oGuard.visitedGone())
                if (cWorkQueueSlot* pNow = slotOf(*pWork))
                    reindex(pNow);
            throwAmuckWork(sName);
        }
        oGuard.mpSavedCurrent = mpCurrent;
        oGuard.mbRestoreCurrent = true;
        mpCurrent = pWork;
        try {
            pWork->action();
        } catch (...) {
            if (oGuard.alive())
                leaveFailedRun(oGuard, oLink, pNode);
            throw;
        }
        if (!oGuard.alive())
            return 0;
        mpCurrent = oGuard.mpSavedCurrent;
        oGuard.mbRestoreCurrent = false;
        followSteps();
        if (oGuard.visitedGone() || pNode->isMarkedForErase()) {
            // Destroyed or removed by its own action: it no longer counts.
            markEntry(pNode, oNext.miRank);
            continue;
        }
        if (eType == cWork::Single)
            oPass.mbSingleRan = true;
        if (!pWork->mbStarted && !pWork->isKeep()) {
            markEntry(pNode, oNext.miRank);
            leaveEntry(slotOf(*pWork), pNode);
        } else if (eType == cWork::Single && !pWork->mbStarted) {
            ++oPass.miKeptSingles;
        }
        oGuard.visit(nullptr);
    }
    oLink.unlink();
    oGuard.releaseCount();

    unsigned long long iMinimum = finishPass(oPass);
    if (oPass.mbErased && miLevel == 1 && miWalkers == 0 && miClearing == 0) {
        purge();
        if (!oGuard.alive())
            return 0;
    }
    return iMinimum > 0xffffffffULL ? 0xffffffffu : unsigned(iMinimum);
}

unsigned long long cWorkQueue::finishPass(cPass& oPass)
{
    cIndex& oIndex = *mpIndex;
    oIndex.compactIfWorth();
    // A handle invalidated without destroying its work is found here at the latest.
    const cHeapEntry* pTop;
    while ((pTop = oIndex.top()) && handleOf(pTop->mpSlot->mpNode).get() != pTop->mpSlot->mpWork) {
        cWorkQueueSlot* pSlot = pTop->mpSlot;
        tNode* pNode = pSlot->mpNode;
        unsigned long long iRank = pSlot->miRank;
        leaveEntry(pSlot, pNode);
        markEntry(pNode, iRank);
        oPass.mbErased = true;
    }
    miTimedWorks = oIndex.miTimedEntries + oPass.miKeptSingles;
    miIOWorks = oIndex.miIOEntries;
    unsigned long long iMinimum = 0;
    if (!oPass.mbSingleRan && pTop)
        iMinimum = remainingMSec(qstd::cTime(pTop->miKey + (unsigned long long)oPass.miSteps),
                                 oPass.moNow);
    if (miTimedWorks == 0 && miIOWorks > 0)
        iMinimum = 10000;
    // A work whose event came when no pass could run it runs on the next turn
    // without a wait.
    if (oPass.mbSupportsAIO && !oIndex.moReady.empty())
        iMinimum = 0;
    return iMinimum;
}

// A work whose action let an exception through is done with as after a normal
// run: a single-shot work that is neither started again nor kept loses its entry,
// and the outermost pass purges on its way out, so failing works never pile up.
void cWorkQueue::leaveFailedRun(cStackGuard& oGuard, cPassLink& oLink, tNode* pNode)
{
    mpCurrent = oGuard.mpSavedCurrent;
    oGuard.mbRestoreCurrent = false;
    cPass& oPass = *mpPasses;
    if (!pNode->isMarkedForErase()) {
        cWork* pWork = oGuard.visitedGone() ? nullptr : oGuard.mpVisited;
        if (!pWork) {
            markEntry(pNode, oPass.miCursor);
        } else if (!pWork->mbStarted && !pWork->isKeep()) {
            markEntry(pNode, oPass.miCursor);
            leaveEntry(slotOf(*pWork), pNode);
        }
    } else {
        oPass.mbErased = true;
    }
    bool bErased = oPass.mbErased;
    oLink.unlink();
    oGuard.releaseCount();
    if (bErased && miLevel == 1 && miWalkers == 0 && miClearing == 0)
        purge();
}

void cWorkQueue::purge()
{
    cStackGuard oGuard(*this);
    oGuard.count(miWalkers);
    // Dropping the last handle of an owned work destroys it, which runs foreign code
    // that may mark further entries: they are appended and unlinked in this loop.
    // The walk counter keeps any nested pass from purging meanwhile.
    for (unsigned i = 0; i < mpIndex->moMarked.size(); ++i) {
        tNode* pNode = mpIndex->moMarked[i];
        moJobs.erase(tJobList::iterator(pNode));
        if (!oGuard.alive())
            return;
    }
    mpIndex->moMarked.truncate(0);
}

piVoid cWorkQueue::sltNotifyWorkChanged(cWork* pWork)
{
    if (pWork) {
        if (pWork->isBeingDestroyed())
            forgetDestroyedWork(*pWork);
        else if (cWorkQueueSlot* pSlot = slotOf(*pWork))
            reindex(pSlot);
    }
    if (miClearing || !mpEvents)
        return piVoid();
    if (miLevel == 0 && mpEvents->isAsynchronous()) {
        processEvents(false);
        return piVoid();
    }
    mbChanged = true;
    if (miLocalLoops >= miLevel)
        mpEvents->wakeUp();
    return piVoid();
}

piVoid cWorkQueue::sltWorkDestroyed(const cWork& oWork)
{
    removeJob(oWork);
    return piVoid();
}

piVoid cWorkQueue::sltNotifyPEFinished()
{
    if (!mpEvents)
        return piVoid();
    cStackGuard oGuard(*this);
    unsigned iTimeout = 0;
    updateTimer(true, &iTimeout);
    if (!oGuard.alive() || !mpEvents)
        return piVoid();
    if (mpEvents->isAsynchronous() && miTimedWorks + miIOWorks > 0)
        mpEvents->yield(miLevel, moJobs, iTimeout);
    return piVoid();
}

namespace {

const char* kindText(cWork::Type eType)
{
    switch (eType) {
    case cWork::Periodic:
        return "Periodic";
    case cWork::Single:
        return "Single task";
    case cWork::AsyncIO:
        return "Asynchronous I/O";
    }
    return "Unknown";
}

qstd::cAsciiString clockText(const qstd::cTime& oTime)
{
    return qstd::cDateTime(oTime, qstd::cDateTime::Unshifted).formatString("HH:MM:SS");
}

} // namespace

void cWorkQueue::debugDump()
{
    QOR_DEBUG_LINE("WorkQueue status:");
    if (mpEvents)
        QOR_DEBUG_LINE("Have event object ("
                       << (mpEvents->isAsynchronous() ? "asynchronous event processor"
                                                      : "synchronous event processor")
                       << ")");
    else
        QOR_DEBUG_LINE("No event processor!");
    QOR_DEBUG_LINE("");
    QOR_DEBUG_LINE("Tasks:");
    qstd::cTime oNow = cWorkClock::current().now();
    for (tNode* p = moJobs.begin().node(); p != moJobs.end().node(); p = p->mpNext) {
        cWork* pWork = handleOf(p).get();
        if (!pWork) {
            QOR_DEBUG_LINE(" * zero item");
            continue;
        }
        pWork->enableDebug();
        qstd::cAsciiString sDescription;
        switch (pWork->type()) {
        case cWork::Periodic:
            sDescription << "Periodic (" << (long long)pWork->interval() << "ms interval)";
            break;
        case cWork::Single:
            sDescription << "Single task (planned in "
                         << (long long)remainingMSec(pWork->plannedTime(), oNow) << "ms)";
            break;
        case cWork::AsyncIO:
            sDescription << "Asynchronous I/O";
            break;
        default:
            sDescription << "unknown";
        }
        if (pWork->isStarted())
            sDescription << " (scheduled)";
        if (pWork->isKeep())
            sDescription << " (keep)";
        const cWorkStat& oStat = pWork->statistic();
        QOR_DEBUG_LINE(" * Work (" << pWork->name() << ")");
        QOR_DEBUG_LINE("   * " << sDescription);
        QOR_DEBUG_LINE("   * Triggered: " << oStat.numTriggered()
                                          << " / numStarted: " << oStat.numStarted());
        if (const cWorkStat::cDebugInfo* pInfo = oStat.hasDebugInfo()) {
            if (oStat.numStarted() > 0)
                QOR_DEBUG_LINE("   * Last start at: " << clockText(pInfo->moLastStart));
            if (oStat.numTriggered() > 0)
                QOR_DEBUG_LINE("   * Last triggered: " << clockText(pInfo->moLastTrigger));
            QOR_DEBUG_LINE(pInfo->msCreationTrace);
        }
        QOR_DEBUG_LINE("");
    }
}

// --- scheduling on the system queue -------------------------------------------

cWork& schedule(cWork& oWork)
{
    system().workQueue().addJob(oWork);
    return oWork;
}

void unschedule(cWork& oWork)
{
    system().workQueue().removeJob(oWork);
}

qstd::tSharedObject<cWork> schedule(qstd::tAutoPtr<cWork> pWork)
{
    qstd::tSharedObject<cWork> pJob(pWork);
    system().workQueue().addJob(pJob);
    return pJob;
}

qstd::tSharedObject<cWork> schedule(const qrmi::cAbstractSlotCall0<piVoid>& oSlot,
                                    unsigned int iMSec, const char* pName)
{
    return schedule(oSlot, iMSec, cWork::Single, pName);
}

qstd::tSharedObject<cWork> schedule(const qrmi::cAbstractSlotCall0<piVoid>& oSlot,
                                    unsigned int iMSec, cWork::Type eType, const char* pName)
{
    qstd::tSharedObject<cWork> pJob = system().workQueue().createJob();
    if (!pName) {
        QOR_DEBUG_LINE("Work scheduled without name!");
        QOR_DEBUG_LINE(piStackTrace(128));
    } else {
        pJob->setName(pName);
    }
    pJob->sigAction.connect(oSlot, qrmi::cAbstractSignal::ConnectLast);
    pJob->start(iMSec, eType);
    return pJob;
}

// --- dumps ---------------------------------------------------------------------

namespace {

void appendNodeId(qstd::cAsciiString& sOut, const cWork* pWork)
{
    static const qstd::cNumberConversionFormat oHex(16);
    sOut += '"';
    qstd::cNumberConversion::toString(sOut, (unsigned long long)(std::uintptr_t)pWork, oHex);
    sOut += '"';
}

void addDetail(qstd::cAsciiString& sDetail, const char* pGain)
{
    if (!sDetail.empty())
        sDetail += ", ";
    sDetail += pGain;
}

} // namespace

void dotDump(qstd::cAsciiString& sOut, cWorkQueue& oQueue)
{
    sOut = "digraph G {\n";
    qstd::cTime oNow = cWorkClock::current().now();
    cWorkQueue::tJobList& oJobs = oQueue.jobs();
    for (tNode* p = oJobs.begin().node(); p != oJobs.end().node(); p = p->mpNext) {
        const cWork* pWork = handleOf(p).get();
        if (!pWork)
            continue;
        qstd::cAsciiString sDetail;
        if (pWork->type() == cWork::Periodic)
            sDetail << (long long)pWork->interval() << "ms interval";
        else if (pWork->type() == cWork::Single)
            sDetail << "planned in " << (long long)remainingMSec(pWork->plannedTime(), oNow)
                    << "ms";
        const char* pShape = "ellipse";
        const char* pColour = "lightgrey";
        if (pWork->isAmuck()) {
            pColour = "red";
            addDetail(sDetail, "AMUCK");
        } else if (pWork->isStarted()) {
            pColour = "grey";
            addDetail(sDetail, "Active");
        }
        if (pWork->isKeep())
            addDetail(sDetail, "Keep");
        if (pWork == oQueue.current()) {
            addDetail(sDetail, "Current");
            pShape = "doubleoctagon";
            pColour = "LightSteelBlue";
        }
        if (pWork->type() == cWork::AsyncIO)
            pColour = "PapayaWhip";

        appendNodeId(sOut, pWork);
        sOut << " [ label=\"" << kindText(pWork->type()) << "\\n" << pWork->name();
        if (!sDetail.empty())
            sOut << "\\n(" << sDetail << ")";
        sOut << "\",shape=\"" << pShape << "\",style=\"filled\",color=\"" << pColour << "\" ];\n";
    }
    for (tNode* p = oJobs.begin().node(); p != oJobs.end().node(); p = p->mpNext) {
        const cWork* pWork = handleOf(p).get();
        if (!pWork || !pWork->parent())
            continue;
        appendNodeId(sOut, pWork->parent());
        sOut << " -> ";
        appendNodeId(sOut, pWork);
        sOut << ";\n";
    }
    sOut << "}\n";
}

qstd::cAsciiString cWqDebug::dot(cWorkQueue* pQueue)
{
    qstd::cAsciiString sOut;
    dotDump(sOut, pQueue ? *pQueue : system().workQueue());
    return sOut;
}

void assertEventObject(cWorkQueue& oQueue, qstd::tAutoPtr<cAbstractProcessEvents>& pEvents)
{
    if (pEvents)
        return;
    QOR_DEBUG_LINE("*** WORKQUEUE HAS BEEN FOUND A BUG ***");
    oQueue.debugDump();
    QOR_DEBUG_LINE(piStackTrace(128));
    throwNoEventObject();
}

} // namespace qpi
