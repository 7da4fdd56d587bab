// linuxthreadimpl.h - a POSIX thread running one function. Not installed: reach it
// through cPlatform::createThread().
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_NATIVE_LINUX_LINUXTHREADIMPL_H
#define QOR_CORE_PI_NATIVE_LINUX_LINUXTHREADIMPL_H

#include "qor_core/pi/abstractrunnableimpl.h"

#include <pthread.h>

namespace qpi {

class QOR_EXPORT cLinuxThreadImpl : public cAbstractRunnableImpl
{
public:
    typedef void (*tThreadFunction)(void*);

    cLinuxThreadImpl(tThreadFunction pFunction, void* pArgument);
    /// Joins a running thread.
    ~cLinuxThreadImpl() override;
    cLinuxThreadImpl(const cLinuxThreadImpl&) = delete;
    cLinuxThreadImpl& operator=(const cLinuxThreadImpl&) = delete;

    /// Joins a thread started earlier, then starts a new one; throws cOSErrorException
    /// when the thread cannot be created.
    void start() override;
    /// Joins the thread when one runs.
    void stop() override;
    bool isRunning() const { return mbRunning; }

private:
    static void* entry(void* pImpl);

    tThreadFunction mpFunction;
    void* mpArgument; ///< not owned
    pthread_t moThread;
    bool mbRunning; ///< a thread was started and not yet joined
};

} // namespace qpi

#endif // QOR_CORE_PI_NATIVE_LINUX_LINUXTHREADIMPL_H
