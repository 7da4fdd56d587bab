// timer.h - qstd::cTimer, a signal after an interval, once or periodically.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_TIMER_H
#define QOR_CORE_STD_TIMER_H

#include "qor_core/pi/work.h"
#include "qor_core/rmi/connectable.h"

namespace qstd {

/// Emits sigElapsed after an interval, once (setSingleShot) or every interval
/// (setInterval). It owns a work on the system's work queue, so it fires from the
/// main loop, on the main thread, in the order of the queue's list; code may also
/// poll isElapsed() instead of connecting. A timer is created stopped and may be
/// destroyed at any time, also from a slot of its own sigElapsed. Main thread only.
class QOR_EXPORT cTimer : public qrmi::cConnectable
{
public:
    cTimer();
    /// A periodic timer: setInterval(iMSec).
    explicit cTimer(unsigned int iMSec);
    ~cTimer() override;

    /// Fires every iMSec, the first time iMSec from now; clears the elapsed flag.
    void setInterval(unsigned int iMSec);
    /// Fires once, iMSec from now; clears the elapsed flag.
    void setSingleShot(unsigned int iMSec);
    /// Stops and clears the elapsed flag.
    void reset();
    /// A single shot fired: true until reset or restarted. A periodic timer reads
    /// true only while sigElapsed is being emitted.
    bool isElapsed() const { return mbElapsed; }
    bool operator()() const { return mbElapsed; }

    /// Called by the work: sets the flag and emits sigElapsed.
    piVoid sltPoll();

    /// Emitted when the timer fires; emitting it without connections does nothing.
    qrmi::localSignal0<piVoid> sigElapsed;

private:
    void init();

    bool mbElapsed;
    qpi::cWork moWork;     ///< on the system queue from construction to destruction
    bool* mpDestroyedFlag; ///< set by the destructor while sltPoll runs
};

} // namespace qstd

#endif // QOR_CORE_STD_TIMER_H
