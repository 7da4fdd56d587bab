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

    /// The thread body: state Running, run(), state Finished.
    static void thread(void* pRunnable)
    {
        cAbstractRunnable* pSelf = static_cast<cAbstractRunnable*>(pRunnable);
        pSelf->mpImpl->setState(Running);
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
        mpImpl->mpThread->stop();
        mpImpl->mpThread.reset();
    }
    // No thread exists yet that could read the state.
    mpImpl->miState = Starting;
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
