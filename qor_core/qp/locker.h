// locker.h - qp::cLocker, the owner of a recursive mutex, with its scoped guards.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QP_LOCKER_H
#define QOR_CORE_QP_LOCKER_H

#include "qor_core/pi/abstractmuteximpl.h"
#include "qor_core/std/autoptr.h"

namespace qp {

/// Owns a recursive platform mutex. lock(), tryLock() and unlock() only describe
/// what to do; a cLock or cUnlock guard built from their result does it for the
/// guard's scope:
///
///     cLocker::cLock oLock(oLocker.lock());    // locked until the end of the scope
class QOR_EXPORT cLocker
{
public:
    /// What a cLock built from it does: lock, or only try.
    struct cLockRef
    {
        cLocker& moLocker;
        bool mbTry;
    };
    struct cUnlockRef
    {
        cLocker& moLocker;
    };

    /// Holds the locker locked for its scope (or, after a try, only when it got it).
    class QOR_EXPORT cLock
    {
    public:
        /// Locks pLocker; a null locker locks nothing.
        explicit cLock(cLocker* pLocker);
        cLock(const cLockRef& oRef);
        ~cLock();
        cLock(const cLock&) = delete;
        cLock& operator=(const cLock&) = delete;
        bool isLocked() const { return mbLocked; }

    private:
        cLocker* mpLocker; ///< not owned
        bool mbLocked;
    };

    /// Holds a locked locker unlocked for its scope and locks it again afterwards.
    class QOR_EXPORT cUnlock
    {
    public:
        explicit cUnlock(cLocker* pLocker);
        cUnlock(const cUnlockRef& oRef);
        ~cUnlock();
        cUnlock(const cUnlock&) = delete;
        cUnlock& operator=(const cUnlock&) = delete;

    private:
        cLocker* mpLocker; ///< not owned
    };

    cLocker();
    /// A new locker with a mutex of its own: nothing is shared with oOther.
    cLocker(const cLocker& oOther);
    /// Changes nothing: each locker keeps its own mutex.
    cLocker& operator=(const cLocker& oOther);
    ~cLocker();

    cLockRef lock() { return cLockRef{*this, false}; }
    cLockRef tryLock() { return cLockRef{*this, true}; }
    cUnlockRef unlock() { return cUnlockRef{*this}; }

    void doLock() { mpMutex->lock(); }
    void doUnlock() { mpMutex->unlock(); }
    bool doTryLock() { return mpMutex->tryLock(); }

private:
    qstd::tAutoPtr<qpi::cAbstractMutexImpl> mpMutex; ///< owned
};

} // namespace qp

#endif // QOR_CORE_QP_LOCKER_H
