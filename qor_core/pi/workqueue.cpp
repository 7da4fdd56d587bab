// workqueue.cpp - qpi::cWorkQueue, scheduling on the system queue, and the dumps.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/workqueue.h"
#include "qor_core/pi/debug.h"
#include "qor_core/pi/system.h"
#include "qor_core/pi/workclock.h"
#include "qor_core/std/datetime.h"
#include "qor_core/std/exception.h"
#include "qor_core/std/numberconversion.h"
#include "qor_core/ucs/limessage.h"

#include <cstdint>

namespace qpi {

namespace {

typedef cWorkQueue::tJobList::tNode tNode;
typedef cWorkQueue::tJobList::tElementNode tElementNode;

inline qstd::tSharedObject<cWork>& handleOf(tNode* pNode)
{
    // Every node between the sentinels is an element node.
    return static_cast<tElementNode*>(pNode)->moElement;
}

inline void markForErase(tNode* pNode)
{
    pNode->miFlags |= tNode::EraseLater;
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

} // namespace

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

cWorkQueue::cWorkQueue()
    : miLevel(0), mbChanged(false), miLocalLoops(0), miClearing(0), mpCurrent(nullptr),
      miTimedWorks(0), miIOWorks(0), miWalkers(0), mpGuards(nullptr)
{
}

cWorkQueue::~cWorkQueue()
{
    for (cStackGuard* pGuard = mpGuards; pGuard; pGuard = pGuard->mpOuter)
        pGuard->mpQueue = nullptr;
    mpGuards = nullptr;
    clear();
    mpCurrent = nullptr;
}

void cWorkQueue::setEvents(qstd::tAutoPtr<cAbstractProcessEvents> pEvents)
{
    if (!pEvents) {
        cStackGuard oGuard(*this);
        clear();
        if (!oGuard.alive())
            return;
    }
    mpEvents = pEvents;
    if (mpEvents)
        mpEvents->sigFinished.connect(*this, &cWorkQueue::sltNotifyPEFinished,
                                      qrmi::cAbstractSignal::ConnectLast);
}

void cWorkQueue::addJob(cWork& oWork)
{
    for (tNode* p = moJobs.begin().node(); p != moJobs.end().node(); p = p->mpNext) {
        if (!p->isMarkedForErase() && handleOf(p).get() == &oWork) {
            sltNotifyWorkChanged(nullptr);
            return;
        }
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
    moJobs.append(qstd::tSharedObject<cWork>(oWork));
    sltNotifyWorkChanged(nullptr);
}

void cWorkQueue::addJob(qstd::tSharedObject<cWork> pJob)
{
    pJob->reparent(mpCurrent);
    moJobs.append(pJob);
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
    moJobs.append(pJob);
    sltNotifyWorkChanged(nullptr);
    return pJob;
}

void cWorkQueue::removeJob(const cWork& oWork)
{
    if (mpCurrent == &oWork)
        mpCurrent = nullptr;
    cStackGuard oGuard(*this);
    oGuard.count(miWalkers);
    for (tNode* p = moJobs.begin().node(); p != moJobs.end().node(); p = p->mpNext) {
        if (p->isMarkedForErase() || handleOf(p).get() != &oWork)
            continue;
        markForErase(p);
        handleOf(p).reset(); // may destroy the work and run anything
        if (!oGuard.alive())
            return;
    }
}

void cWorkQueue::clear()
{
    cStackGuard oGuard(*this);
    oGuard.count(miClearing);
    for (tNode* p = moJobs.begin().node(); p != moJobs.end().node(); p = p->mpNext) {
        markForErase(p);
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
    if (miClearing)
        return;
    // However the work was added, a dead work never stays in the list. A handle that
    // still counts as valid here was made from a reference, or the work was deleted
    // behind an owning handle's back: dropping it must not delete the work again.
    for (tNode* p = moJobs.begin().node(); p != moJobs.end().node(); p = p->mpNext) {
        qstd::tSharedObject<cWork>& oHandle = handleOf(p);
        if (oHandle.get() != &oWork)
            continue;
        oHandle.controlBlock()->mbOwner = false;
        markForErase(p);
        oHandle.reset();
    }
}

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

unsigned cWorkQueue::internProcess(bool bExecute)
{
    assertEventObject(*this, mpEvents);
    miTimedWorks = 0;
    miIOWorks = 0;
    cWorkClock* pClock = &cWorkClock::current();
    qstd::cTime oNow = pClock->sampleNow();
    long long iSteps = pClock->stepSum();
    // After foreign code the clock may have noticed a step: keep the pass's time in
    // the frame of the steps the works are shifted to.
    auto followSteps = [&]() {
        long long iNewSteps = cWorkClock::current().stepSum();
        if (iNewSteps != iSteps) {
            oNow = oNow + (iNewSteps - iSteps);
            iSteps = iNewSteps;
        }
    };
    const bool bSupportsAIO = mpEvents->supportsAIO();
    unsigned long long iMinimum = 0;
    bool bFirst = true;
    bool bErased = false;

    cStackGuard oGuard(*this);
    oGuard.count(miWalkers);
    tNode* const pEnd = moJobs.end().node();
    // Entries appended during the walk are visited too: the walk follows the links
    // up to the tail, and nothing unlinks a node before the purge.
    for (tNode* pNode = moJobs.begin().node(); pNode != pEnd; pNode = pNode->mpNext) {
        if (pNode->isMarkedForErase()) {
            bErased = true;
            continue;
        }
        cWork* pWork = handleOf(pNode).get();
        if (!pWork) {
            markForErase(pNode);
            bErased = true;
            continue;
        }
        if (!pWork->mbStarted)
            continue;
        if (pWork->miStepStamp != iSteps)
            pWork->followClockSteps(iSteps);

        unsigned long long iRemaining = remainingMSec(pWork->moPlanned, oNow);
        bool bDue = iRemaining == 0;
        bool bIO = pWork->meType == cWork::AsyncIO;
        if (bIO) {
            // An I/O work waits for its event only; its planned time means nothing.
            bDue = false;
            if (pWork->mpAIOData && pWork->mpAIOData->isEvent()) {
                pWork->mpAIOData->setEvent(false);
                bDue = true;
            }
            if (!bSupportsAIO) {
                oGuard.visit(pWork);
                pWork->internRestart(pWork->miInterval, true, false);
                if (!oGuard.alive())
                    return 0;
                if (oGuard.visitedGone())
                    continue;
                followSteps();
                bIO = false;
                bDue = true;
                iRemaining = remainingMSec(pWork->moPlanned, oNow);
            }
        }
        const cWork::Type eType = pWork->meType;
        unsigned& iCounter = eType == cWork::AsyncIO ? miIOWorks : miTimedWorks;
        ++iCounter;

        if (bExecute && bDue) {
            oGuard.visit(pWork);
            if (eType == cWork::Single) {
                pWork->markDone();
            } else if (eType == cWork::Periodic) {
                pWork->markDone();
                pWork->internRestart(false);
                if (!oGuard.alive())
                    return 0;
                if (oGuard.visitedGone()) {
                    --iCounter;
                    continue;
                }
                followSteps();
                iRemaining = (pWork->moPlanned - oNow).toMSec();
            }
            if (pWork->isAmuck()) {
                qstd::cAsciiString sName(pWork->msName);
                pWork->stop();
                throwAmuckWork(sName);
            }
            oGuard.mpSavedCurrent = mpCurrent;
            oGuard.mbRestoreCurrent = true;
            mpCurrent = pWork;
            try {
                pWork->action();
            } catch (...) {
                if (oGuard.alive())
                    leaveFailedRun(oGuard, pNode, bErased);
                throw;
            }
            if (!oGuard.alive())
                return 0;
            mpCurrent = oGuard.mpSavedCurrent;
            oGuard.mbRestoreCurrent = false;
            followSteps();
            if (oGuard.visitedGone() || pNode->isMarkedForErase()) {
                // Destroyed or removed by its own action.
                markForErase(pNode);
                --iCounter;
                bErased = true;
                continue;
            }
            if (!pWork->mbStarted && !pWork->isKeep()) {
                markForErase(pNode);
                --iCounter;
                bErased = true;
            }
            oGuard.visit(nullptr);
        }
        if (!bIO && (bFirst || iRemaining < iMinimum)) {
            iMinimum = iRemaining;
            bFirst = false;
        }
    }
    oGuard.releaseCount();

    if (bErased && miLevel == 1 && miWalkers == 0 && miClearing == 0) {
        purge();
        if (!oGuard.alive())
            return 0;
    }
    if (miTimedWorks == 0 && miIOWorks > 0)
        iMinimum = 10000;
    return iMinimum > 0xffffffffULL ? 0xffffffffu : unsigned(iMinimum);
}

// A work whose action let an exception through is done with as after a normal
// run: a single-shot work that is neither started again nor kept loses its entry,
// and the outermost pass purges on its way out, so failing works never pile up.
void cWorkQueue::leaveFailedRun(cStackGuard& oGuard, tNode* pNode, bool bErased)
{
    mpCurrent = oGuard.mpSavedCurrent;
    oGuard.mbRestoreCurrent = false;
    if (!pNode->isMarkedForErase()) {
        cWork* pWork = oGuard.visitedGone() ? nullptr : oGuard.mpVisited;
        if (!pWork || (!pWork->mbStarted && !pWork->isKeep())) {
            markForErase(pNode);
            bErased = true;
        }
    } else {
        bErased = true;
    }
    oGuard.releaseCount();
    if (bErased && miLevel == 1 && miWalkers == 0 && miClearing == 0)
        purge();
}

void cWorkQueue::purge()
{
    cStackGuard oGuard(*this);
    oGuard.count(miWalkers);
    tNode* const pEnd = moJobs.end().node();
    tNode* pNode = moJobs.begin().node();
    while (pNode != pEnd) {
        tNode* pNext = pNode->mpNext;
        if (pNode->isMarkedForErase()) {
            // Dropping the last handle of an owned work destroys it, which runs foreign
            // code; the walk counter keeps any nested pass from unlinking meanwhile.
            moJobs.erase(tJobList::iterator(pNode));
            if (!oGuard.alive())
                return;
        }
        pNode = pNext;
    }
}

piVoid cWorkQueue::sltNotifyWorkChanged(cWork* pWork)
{
    if (pWork && pWork->isBeingDestroyed())
        forgetDestroyedWork(*pWork);
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
