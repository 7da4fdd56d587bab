// abstractmuteximpl.h - the platform interface of a recursive mutex.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_ABSTRACTMUTEXIMPL_H
#define QOR_CORE_PI_ABSTRACTMUTEXIMPL_H

#include "qor_core/std/pitypes.h"

namespace qpi {

/// A recursive mutex: the thread that holds it may lock it again and must unlock it
/// as often. Created by cPlatform::createMutexImpl().
class QOR_EXPORT cAbstractMutexImpl
{
public:
    virtual ~cAbstractMutexImpl();
    virtual void lock() = 0;
    /// True when the mutex was taken.
    virtual bool tryLock() = 0;
    virtual void unlock() = 0;
};

} // namespace qpi

#endif // QOR_CORE_PI_ABSTRACTMUTEXIMPL_H
