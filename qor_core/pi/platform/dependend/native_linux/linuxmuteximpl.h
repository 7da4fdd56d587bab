// linuxmuteximpl.h - the recursive POSIX mutex. Not installed: reach it through
// cPlatform::createMutexImpl().
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_NATIVE_LINUX_LINUXMUTEXIMPL_H
#define QOR_CORE_PI_NATIVE_LINUX_LINUXMUTEXIMPL_H

#include "qor_core/pi/abstractmuteximpl.h"

#include <pthread.h>

namespace qpi {

class QOR_EXPORT cLinuxMutexImpl : public cAbstractMutexImpl
{
public:
    cLinuxMutexImpl();
    ~cLinuxMutexImpl() override;
    cLinuxMutexImpl(const cLinuxMutexImpl&) = delete;
    cLinuxMutexImpl& operator=(const cLinuxMutexImpl&) = delete;

    void lock() override;
    bool tryLock() override;
    void unlock() override;

private:
    pthread_mutex_t moMutex; ///< recursive
};

} // namespace qpi

#endif // QOR_CORE_PI_NATIVE_LINUX_LINUXMUTEXIMPL_H
