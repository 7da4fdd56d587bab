// abstractprocess.cpp - process objects.
// SPDX-License-Identifier: MIT
#include "qor_core/qp/abstractprocess.h"
#include "qor_core/pi/debug.h"
#include "qor_core/qp/locker.h"
#include "qor_core/std/exception.h"

namespace qp {

cAbstractProcessData::cAbstractProcessData(cLocker* pLocker)
    : mpLocker(pLocker), mpStateLocker(nullptr), mpSecondLocker(nullptr), meContext(NoContext),
      mePreferredContext(DefaultPreferredContext), mbCanceled(false), mbFinished(false),
      mbRunning(false)
{
}

cAbstractProcessData::~cAbstractProcessData() {}

void cAbstractProcessData::restart()
{
    QOR_DEBUG_LINE("cAbstractProcessData::restart()");
    cLocker::cLock oLock(mpStateLocker); // a null locker locks nothing
    QOR_DEBUG_LINE(" -- unlock --");
    mbCanceled = false;
    mbRunning = true;
    mbFinished = false;
    QOR_DEBUG_LINE("Setting running flag...");
}

void cAbstractProcessData::setContext(Context eContext, cLocker* pStateLocker,
                                      cLocker* pSecondLocker)
{
    meContext = eContext;
    mpStateLocker = pStateLocker;
    mpSecondLocker = pSecondLocker;
}

bool cAbstractProcessData::isRunning() const
{
    cLocker::cLock oLock(mpStateLocker); // a null locker locks nothing
    return mbRunning;
}

bool cAbstractProcessData::isFinished() const
{
    cLocker::cLock oLock(mpStateLocker); // a null locker locks nothing
    return mbFinished;
}

bool cAbstractProcessData::isCanceled() const
{
    cLocker::cLock oLock(mpStateLocker); // a null locker locks nothing
    return mbCanceled;
}

void cAbstractProcessData::setFinished()
{
    cLocker::cLock oLock(mpStateLocker); // a null locker locks nothing
    mbRunning = false;
    mbFinished = true;
}

void cAbstractProcessData::cancel()
{
    cLocker::cLock oLock(mpStateLocker); // a null locker locks nothing
    mbCanceled = true;
}

cBasicProcessData::cBasicProcessData() : cAbstractProcessData(nullptr) {}

cAbstractProcess::cAbstractProcess() : mpOwnedData(new cBasicProcessData), moData(*mpOwnedData) {}

cAbstractProcess::cAbstractProcess(cAbstractProcessData& oData)
    : mpOwnedData(nullptr), moData(oData)
{
}

cAbstractProcess::~cAbstractProcess()
{
    moData.setContext(cAbstractProcessData::NoContext, nullptr, nullptr);
    delete mpOwnedData;
}

cAbstractProcessData& cAbstractPollable::unusedData(cAbstractProcessData& oData)
{
    if (oData.context() != cAbstractProcessData::NoContext) {
        qucs::cLIMessage oMsg;
        oMsg << "$MTR$Never use process data for more than one process!";
        throw qstd::cBugException(oMsg, nullptr, 0);
    }
    return oData;
}

cAbstractPollable::cAbstractPollable(cAbstractProcessData& oData)
    : cAbstractProcess(unusedData(oData))
{
    oData.setContext(cAbstractProcessData::PollableContext, nullptr, nullptr);
}

bool cAbstractProcess::isFinished() const
{
    return moData.isFinished();
}

bool cAbstractProcess::isRunning() const
{
    return moData.isRunning();
}

} // namespace qp
