// locker.cpp - qp::cLocker and its guards.
// SPDX-License-Identifier: MIT
#include "qor_core/qp/locker.h"
#include "qor_core/pi/platform.h"

namespace qp {

cLocker::cLocker() : mpMutex(qpi::cPlatform().createMutexImpl()) {}

cLocker::cLocker(const cLocker&) : mpMutex(qpi::cPlatform().createMutexImpl()) {}

cLocker& cLocker::operator=(const cLocker&)
{
    return *this;
}

cLocker::~cLocker() {}

cLocker::cLock::cLock(cLocker* pLocker) : mpLocker(pLocker), mbLocked(true)
{
    if (mpLocker)
        mpLocker->doLock();
}

cLocker::cLock::cLock(const cLockRef& oRef) : mpLocker(&oRef.moLocker), mbLocked(false)
{
    if (oRef.mbTry) {
        mbLocked = mpLocker->doTryLock();
    } else {
        mpLocker->doLock();
        mbLocked = true;
    }
}

cLocker::cLock::~cLock()
{
    if (mpLocker && mbLocked)
        mpLocker->doUnlock();
}

cLocker::cUnlock::cUnlock(cLocker* pLocker) : mpLocker(pLocker)
{
    if (mpLocker)
        mpLocker->doUnlock();
}

cLocker::cUnlock::cUnlock(const cUnlockRef& oRef) : mpLocker(&oRef.moLocker)
{
    mpLocker->doUnlock();
}

cLocker::cUnlock::~cUnlock()
{
    if (mpLocker)
        mpLocker->doLock();
}

} // namespace qp
