// localeventloop.h - qpi::cLocalEventLoop, a nested main loop on the stack.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_LOCALEVENTLOOP_H
#define QOR_CORE_PI_LOCALEVENTLOOP_H

#include "qor_core/std/pitypes.h"

namespace qpi {

class cWorkQueue;

/// Lives on the stack of code that keeps the application responsive while it waits
/// (a nested loop): it turns the queue with process(). While it exists, the queue
/// wakes its process-events object on every change of a work, so that a waiting
/// local loop re-examines the list. The queue must outlive it.
class QOR_EXPORT cLocalEventLoop
{
public:
    /// A null queue means the system's queue.
    explicit cLocalEventLoop(cWorkQueue* pQueue = nullptr);
    virtual ~cLocalEventLoop();
    cLocalEventLoop(const cLocalEventLoop&) = delete;
    cLocalEventLoop& operator=(const cLocalEventLoop&) = delete;

    /// One turn of the queue (cWorkQueue::process()).
    void process();
    cWorkQueue& queue() const { return *mpQueue; }

private:
    cWorkQueue* mpQueue; ///< not owned
};

} // namespace qpi

#endif // QOR_CORE_PI_LOCALEVENTLOOP_H
