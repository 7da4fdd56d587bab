// linuxthreadimpl.cpp - a POSIX thread running one function.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/platform/dependend/native_linux/linuxthreadimpl.h"
#include "qor_core/std/exceptions.h"

namespace qpi {

cAbstractRunnableImpl::~cAbstractRunnableImpl() {}

cLinuxThreadImpl::cLinuxThreadImpl(tThreadFunction pFunction, void* pArgument)
    : mpFunction(pFunction), mpArgument(pArgument), moThread(), mbRunning(false)
{
}

cLinuxThreadImpl::~cLinuxThreadImpl()
{
    stop();
}

void* cLinuxThreadImpl::entry(void* pImpl)
{
    cLinuxThreadImpl* pThread = static_cast<cLinuxThreadImpl*>(pImpl);
    pThread->mpFunction(pThread->mpArgument);
    return nullptr;
}

void cLinuxThreadImpl::start()
{
    stop();
    int iResult = pthread_create(&moThread, nullptr, &cLinuxThreadImpl::entry, this);
    if (iResult != 0)
        throw qstd::cOSErrorException("pthread_create", iResult, "Unable to create thread!");
    mbRunning = true;
}

void cLinuxThreadImpl::stop()
{
    if (mbRunning)
        pthread_join(moThread, nullptr);
    mbRunning = false;
}

} // namespace qpi
