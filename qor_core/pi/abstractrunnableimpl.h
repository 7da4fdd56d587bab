// abstractrunnableimpl.h - the platform interface of a thread.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_ABSTRACTRUNNABLEIMPL_H
#define QOR_CORE_PI_ABSTRACTRUNNABLEIMPL_H

#include "qor_core/std/pitypes.h"

namespace qpi {

/// A thread that runs one function. Created by cPlatform::createThread().
class QOR_EXPORT cAbstractRunnableImpl
{
public:
    virtual ~cAbstractRunnableImpl();
    /// Starts the thread, after joining one started earlier.
    virtual void start() = 0;
    /// Waits for the thread to end.
    virtual void stop() = 0;
};

} // namespace qpi

#endif // QOR_CORE_PI_ABSTRACTRUNNABLEIMPL_H
