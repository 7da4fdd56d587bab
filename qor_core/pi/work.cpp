// work.cpp - qpi::cWork and qpi::cWorkStat.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/work.h"
#include "qor_core/pi/debug.h"
#include "qor_core/pi/workclock.h"
#include "qor_core/pi/workqueue.h"
#include "qor_core/std/exception.h"
#include "qor_core/ucs/limessage.h"

namespace qpi {

// --- cWorkStat ---------------------------------------------------------------

cWorkStat::cDebugInfo::cDebugInfo() : msCreationTrace(piStackTrace(128)) {}

cWorkStat::~cWorkStat()
{
    delete mpDebugInfo;
}

void cWorkStat::notifyStart()
{
    ++miStarted;
    if (mpDebugInfo) {
        mpDebugInfo->moLastStart = qstd::cTime();
        mpDebugInfo->msLastStartTrace = piStackTrace(128);
    }
}

void cWorkStat::notifyTrigger()
{
    ++miTriggered;
    if (mpDebugInfo)
        mpDebugInfo->moLastTrigger = qstd::cTime();
}

void cWorkStat::setDebug(bool bDebug)
{
    if (bDebug && !mpDebugInfo)
        mpDebugInfo = new cDebugInfo;
    else if (!bDebug) {
        delete mpDebugInfo;
        mpDebugInfo = nullptr;
    }
}

// --- cWork -------------------------------------------------------------------

/// One running action(), on its stack. The destructor of the work marks every run,
/// so that an action whose slots destroyed the work does not touch it afterwards.
struct cWork::cActionRun
{
    explicit cActionRun(cWork& oWork) : mpWork(&oWork), mpOuter(oWork.mpRuns)
    {
        oWork.mpRuns = this;
    }
    ~cActionRun()
    {
        if (mpWork)
            mpWork->mpRuns = mpOuter;
    }
    bool workDestroyed() const { return mpWork == nullptr; }

    cWork* mpWork; ///< null once the work is destroyed
    cActionRun* mpOuter;
};

namespace {
[[noreturn]] void throwNoAIOData()
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Work does not own asynchronous I/O data!";
    throw qstd::cBugException(oMsg, __FILE__, __LINE__);
}
} // namespace

cWork::cWork()
    : sigAction(qrmi::cAbstractSignal::IgnoreWhenUnconnected),
      sigChanged(qrmi::cAbstractSignal::IgnoreWhenUnconnected), mpDestroyed(nullptr),
      moScheduled(0ULL), moPlanned(0ULL), meType(Single), miInterval(0), mbStarted(false),
      mbForceKeep(false), mbBeingDestroyed(false), miStepStamp(0), mpSlots(nullptr),
      mpAIOData(nullptr), mpActionError(nullptr), miFailures(0), moParentLink(this),
      mbDelegateExceptions(true), mpRuns(nullptr)
{
}

cWork::~cWork()
{
    mbBeingDestroyed = true;
    for (cActionRun* pRun = mpRuns; pRun; pRun = pRun->mpOuter)
        pRun->mpWork = nullptr;
    mpRuns = nullptr;
    moParentLink.unlinkAndReparentChildren();
    delete mpActionError;
    mpActionError = nullptr;
    delete mpAIOData;
    mpAIOData = nullptr;
    mbStarted = false;
    sigChanged(this);
    if (mpDestroyed) {
        (*mpDestroyed)(*this);
        delete mpDestroyed;
        mpDestroyed = nullptr;
    }
    // Normally the queues let go through sigChanged; a queue whose connection was
    // cut must not keep a dangling work either.
    if (mpSlots)
        cWorkQueue::workGone(*this);
}

void cWork::setTimes(const qstd::cTime& oNow, unsigned long long iDelayMSec)
{
    moScheduled = oNow;
    moPlanned = qstd::cTime(oNow.get() + iDelayMSec * 1000ULL);
}

void cWork::internRestart(bool)
{
    moStat.notifyStart();
    cWorkClock& oClock = cWorkClock::current();
    setTimes(oClock.now(), miInterval);
    miStepStamp = oClock.stepSum();
    mbStarted = true;
    miFailures = 0;
    sigChanged(this);
}

void cWork::internRestart(unsigned int iMSec, bool bPeriodic, bool)
{
    moStat.notifyStart();
    miInterval = bPeriodic ? iMSec : 0;
    cWorkClock& oClock = cWorkClock::current();
    setTimes(oClock.now(), iMSec);
    miStepStamp = oClock.stepSum();
    mbStarted = true;
    miFailures = 0;
    meType = bPeriodic ? Periodic : Single;
    sigChanged(this);
}

void cWork::stop()
{
    followPendingSteps();
    mbStarted = false;
    sigChanged(this);
}

void cWork::markDone()
{
    followPendingSteps();
    mbStarted = false;
}

const qstd::cTime& cWork::scheduledTime() const
{
    followPendingSteps();
    return moScheduled;
}

const qstd::cTime& cWork::plannedTime() const
{
    followPendingSteps();
    return moPlanned;
}

void cWork::followPendingSteps() const
{
    if (!mbStarted)
        return;
    long long iStepSum = cWorkClock::current().stepSum();
    if (iStepSum != miStepStamp)
        followClockSteps(iStepSum);
}

void cWork::followClockSteps(long long iStepSum) const
{
    long long iShift = iStepSum - miStepStamp;
    moScheduled = moScheduled + iShift;
    moPlanned = moPlanned + iShift;
    miStepStamp = iStepSum;
}

cWork* cWork::parent() const
{
    qstd::tParentWatch<cWork>* pParent = moParentLink.parent();
    return pParent ? &pParent->object() : nullptr;
}

void cWork::reparent(cWork* pParent)
{
    for (cWork* p = pParent; p; p = p->parent())
        if (p == this)
            return;
    moParentLink.setParent(pParent ? &pParent->moParentLink : nullptr);
}

cAbstractAIOData& cWork::aioData()
{
    if (!mpAIOData)
        throwNoAIOData();
    return *mpAIOData;
}

const cAbstractAIOData& cWork::aioData() const
{
    if (!mpAIOData)
        throwNoAIOData();
    return *mpAIOData;
}

void cWork::setAIOData(qstd::tAutoPtr<cAbstractAIOData> pData)
{
    bool bHadData = mpAIOData != nullptr;
    cAbstractAIOData* pNew = pData.release();
    meType = AsyncIO;
    delete mpAIOData;
    mpAIOData = pNew;
    if (pNew)
        pNew->mpOwner = this;
    if (pNew)
        mbStarted = true;
    else if (bHadData)
        mbStarted = false;
    sigChanged(this);
}

cWork::tActionErrorSignal& cWork::sigActionError()
{
    if (!mpActionError)
        mpActionError = new tActionErrorSignal(qrmi::cAbstractSignal::IgnoreWhenUnconnected);
    return *mpActionError;
}

cWork::tDestroyedSignal& cWork::sigDestroyed()
{
    if (!mpDestroyed)
        mpDestroyed = new tDestroyedSignal(qrmi::cAbstractSignal::IgnoreWhenUnconnected);
    return *mpDestroyed;
}

void cWork::action()
{
    moStat.notifyTrigger();
    cActionRun oRun(*this);
    try {
        sigAction();
    } catch (const qstd::cAbstractException& e) {
        // A work that its own slot destroyed has no handlers left.
        if (oRun.workDestroyed() || !handleActionError(e, false))
            throw;
        return;
    } catch (...) {
        if (oRun.workDestroyed())
            throw;
        qucs::cLIMessage oMsg;
        oMsg << "$MTR$Error performing work %name%!" << msName;
        qstd::cRuntimeException oError(oMsg, __FILE__, __LINE__);
        if (!handleActionError(oError, false))
            throw;
        return;
    }
    if (!oRun.workDestroyed())
        miFailures = 0;
}

bool cWork::handleActionError(const qstd::cAbstractException& e, bool)
{
    if (!mbDelegateExceptions)
        return false;
    ++miFailures;
    for (cWork* pWork = this; pWork; pWork = pWork->parent()) {
        QOR_DEBUG_LINE("  * Checking handler in " << pWork->msName);
        if (pWork->mpActionError && pWork->mpActionError->numSlotCalls() > 0) {
            QOR_DEBUG_LINE("  * Handler found in " << pWork->msName);
            // The handler may destroy this work or pWork: nothing is touched after it.
            (*pWork->mpActionError)(e, pWork != this);
            return true;
        }
    }
    return false;
}

} // namespace qpi
