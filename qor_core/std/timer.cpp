// timer.cpp - qstd::cTimer.
// SPDX-License-Identifier: MIT
#include "qor_core/std/timer.h"
#include "qor_core/pi/workqueue.h"

namespace qstd {

cTimer::cTimer()
    : sigElapsed(qrmi::cAbstractSignal::IgnoreWhenUnconnected), mbElapsed(false),
      mpDestroyedFlag(nullptr)
{
    init();
}

cTimer::cTimer(unsigned int iMSec)
    : sigElapsed(qrmi::cAbstractSignal::IgnoreWhenUnconnected), mbElapsed(false),
      mpDestroyedFlag(nullptr)
{
    init();
    setInterval(iMSec);
}

void cTimer::init()
{
    moWork.sigAction.connect(*this, &cTimer::sltPoll, qrmi::cAbstractSignal::ConnectLast);
    moWork.setName("qstd::cTimer");
    qpi::schedule(moWork);
}

cTimer::~cTimer()
{
    if (mpDestroyedFlag)
        *mpDestroyedFlag = true;
}

void cTimer::setInterval(unsigned int iMSec)
{
    mbElapsed = false;
    moWork.start(iMSec, qpi::cWork::Periodic);
}

void cTimer::setSingleShot(unsigned int iMSec)
{
    mbElapsed = false;
    moWork.start(iMSec, qpi::cWork::Single);
}

void cTimer::reset()
{
    mbElapsed = false;
    moWork.stop();
}

piVoid cTimer::sltPoll()
{
    bool bDestroyed = false;
    bool* pOuterFlag = mpDestroyedFlag;
    mpDestroyedFlag = &bDestroyed;
    mbElapsed = true;
    try {
        sigElapsed();
    } catch (...) {
        // Elapsed stays set; the work's failure handling takes the error.
        if (!bDestroyed)
            mpDestroyedFlag = pOuterFlag;
        else if (pOuterFlag)
            *pOuterFlag = true;
        throw;
    }
    if (bDestroyed) {
        if (pOuterFlag)
            *pOuterFlag = true;
        return piVoid();
    }
    mpDestroyedFlag = pOuterFlag;
    if (moWork.type() == qpi::cWork::Periodic)
        mbElapsed = false;
    return piVoid();
}

} // namespace qstd
