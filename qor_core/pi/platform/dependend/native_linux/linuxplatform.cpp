// linuxplatform.cpp - the factories of cPlatform that make the Linux implementations.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/platform.h"
#include "qor_core/pi/platform/dependend/native_linux/linuxmuteximpl.h"
#include "qor_core/pi/platform/dependend/native_linux/linuxplatforminfo.h"
#include "qor_core/pi/platform/dependend/native_linux/linuxthreadimpl.h"

namespace qpi {

qstd::tAutoPtr<cAbstractMutexImpl> cPlatform::createMutexImpl() const
{
    return qstd::tAutoPtr<cAbstractMutexImpl>(new cLinuxMutexImpl);
}

qstd::tAutoPtr<cAbstractPlatformInfo> cPlatform::createPlatformInfo() const
{
    return qstd::tAutoPtr<cAbstractPlatformInfo>(new cLinuxPlatformInfo);
}

qstd::tAutoPtr<cAbstractRunnableImpl> cPlatform::createThread(void (*pFunction)(void*),
                                                              void* pArgument) const
{
    return qstd::tAutoPtr<cAbstractRunnableImpl>(new cLinuxThreadImpl(pFunction, pArgument));
}

} // namespace qpi
