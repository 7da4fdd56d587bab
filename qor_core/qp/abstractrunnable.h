// abstractrunnable.h - qp::cAbstractRunnable, code that runs on a thread of its own.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QP_ABSTRACTRUNNABLE_H
#define QOR_CORE_QP_ABSTRACTRUNNABLE_H

#include "qor_core/std/pitypes.h"

namespace qp {

/// Runs run() on a POSIX thread. The state is the only data shared between the
/// starting thread and the new one and is guarded by the runnable's locker.
/// stop() does not interrupt run(): a long run() watches isStopInProgress().
/// Destroying a runnable stops it and waits for its thread.
class QOR_EXPORT cAbstractRunnable
{
public:
    enum State
    {
        NeverStarted = 0,
        Starting = 1,
        Running = 2,
        StopInProgress = 3,
        Finished = 4
    };

    cAbstractRunnable();
    /// Throws: a runnable is not copyable.
    cAbstractRunnable(const cAbstractRunnable& oOther);
    /// Throws: a runnable is not assignable.
    cAbstractRunnable& operator=(const cAbstractRunnable& oOther);
    virtual ~cAbstractRunnable();

    /// The thread's work; does nothing in the base.
    virtual void run();

    /// Stops a thread started earlier (requests the stop and joins it), then starts
    /// a new one; throws cOSErrorException when no thread can be created (the state
    /// stays Starting).
    void start();
    /// Marks the stop (unless run() already finished) and waits for the thread to end.
    void stop();

    unsigned state() const;
    bool isRunning() const { return state() == Running; }
    bool isStopInProgress() const { return state() == StopInProgress; }
    bool isActive() const;

    class cImpl;

private:
    cImpl* mpImpl; ///< owned
};

} // namespace qp

#endif // QOR_CORE_QP_ABSTRACTRUNNABLE_H
