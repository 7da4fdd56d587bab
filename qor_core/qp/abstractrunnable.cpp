// abstractrunnable.cpp - qp::cAbstractRunnable.
// SPDX-License-Identifier: MIT
#include "qor_core/qp/abstractrunnable.h"
#include "qor_core/pi/abstractrunnableimpl.h"
#include "qor_core/pi/piexceptions.h"
#include "qor_core/pi/platform.h"
#include "qor_core/qp/locker.h"

namespace qp {

/// The private part: the state, its locker and the thread.
class cAbstractRunnable::cImpl
{
public:
    cImpl() : miState(NeverStarted) {}

    /// The thread body: state Running, run(), state Finished. A stop requested
    /// before the thread got here stays requested, so that a run() watching
    /// isStopInProgress() returns and stop() can join it.
    static void thread(void* pRunnable)
    {
        cAbstractRunnable* pSelf = static_cast<cAbstractRunnable*>(pRunnable);
        {
            cLocker::cLock oLock(pSelf->mpImpl->moLocker.lock());
            if (pSelf->mpImpl->miState == Starting)
                pSelf->mpImpl->miState = Running;
        }
        pSelf->run();
        pSelf->mpImpl->setState(Finished);
    }

    void setState(unsigned iState)
    {
        cLocker::cLock oLock(moLocker.lock());
        miState = iState;
    }

    unsigned miState;
    cLocker moLocker; ///< guards miState
    qstd::tAutoPtr<qpi::cAbstractRunnableImpl> mpThread;
};

cAbstractRunnable::cAbstractRunnable() : mpImpl(new cImpl) {}

cAbstractRunnable::cAbstractRunnable(const cAbstractRunnable&) : mpImpl(nullptr)
{
    qpi::cPIExceptions::throwRunnableNotCopyable();
}

cAbstractRunnable& cAbstractRunnable::operator=(const cAbstractRunnable&)
{
    qpi::cPIExceptions::throwRunnableNotAssignable();
}

cAbstractRunnable::~cAbstractRunnable()
{
    if (!mpImpl)
        return;
    stop();
    mpImpl->mpThread.reset();
    delete mpImpl;
}

void cAbstractRunnable::run() {}

void cAbstractRunnable::start()
{
    if (mpImpl->mpThread) {
        // A run() that loops until it is stopped would otherwise never be joined.
        stop();
        mpImpl->mpThread.reset();
    }
    // Under the lock all the same: other threads may be reading the state.
    mpImpl->setState(Starting);
    mpImpl->mpThread = qpi::cPlatform().createThread(&cImpl::thread, this);
    mpImpl->mpThread->start();
}

void cAbstractRunnable::stop()
{
    {
        cLocker::cLock oLock(mpImpl->moLocker.lock());
        // A finished run stays finished.
        if (mpImpl->miState != Finished)
            mpImpl->miState = StopInProgress;
    }
    if (mpImpl->mpThread)
        mpImpl->mpThread->stop();
}

unsigned cAbstractRunnable::state() const
{
    cLocker::cLock oLock(mpImpl->moLocker.lock());
    return mpImpl->miState;
}

bool cAbstractRunnable::isActive() const
{
    unsigned iState = state();
    return iState == Starting || iState == Running || iState == StopInProgress;
}

} // namespace qp
