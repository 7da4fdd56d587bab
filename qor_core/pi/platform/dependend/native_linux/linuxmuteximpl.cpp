// linuxmuteximpl.cpp - the recursive POSIX mutex.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/platform/dependend/native_linux/linuxmuteximpl.h"

namespace qpi {

cAbstractMutexImpl::~cAbstractMutexImpl() {}

cLinuxMutexImpl::cLinuxMutexImpl()
{
    pthread_mutexattr_t oAttributes;
    pthread_mutexattr_init(&oAttributes);
    pthread_mutexattr_settype(&oAttributes, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(&moMutex, &oAttributes);
    pthread_mutexattr_destroy(&oAttributes);
}

cLinuxMutexImpl::~cLinuxMutexImpl()
{
    pthread_mutex_destroy(&moMutex);
}

void cLinuxMutexImpl::lock()
{
    pthread_mutex_lock(&moMutex);
}

bool cLinuxMutexImpl::tryLock()
{
    return pthread_mutex_trylock(&moMutex) == 0;
}

void cLinuxMutexImpl::unlock()
{
    pthread_mutex_unlock(&moMutex);
}

} // namespace qpi
