// workclock.h - qpi::cWorkClock, the clock that works and work queues read.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_WORKCLOCK_H
#define QOR_CORE_PI_WORKCLOCK_H

#include "qor_core/std/time.h"

namespace qpi {

/// The time source of works and work queues. Times are wall-clock microseconds since
/// the epoch, as everywhere in the library; but the wall clock can be stepped
/// (settimeofday, an NTP step, a manual change), which would make every planned time
/// wrong by the step. So the clock reads CLOCK_MONOTONIC and adds the offset of the
/// wall clock, which only sampleNow() measures anew: once per queue pass, but at
/// most once per kSampleIntervalUSec of monotonic time. A change of
/// the offset by more than kStepThresholdUSec is a step; it is added to stepSum() and
/// becomes the new offset. A work records the step sum under which it set its times;
/// the pass shifts the times of each work by what has been added since, so every
/// work keeps its remaining delay. Between two samples all times stay in one frame,
/// whenever the wall clock is stepped, and now() costs one clock reading.
///
/// The current clock is process-wide and, like the queue, belongs to the main
/// thread. Tests install a clock of their own with setCurrent().
class QOR_EXPORT cWorkClock
{
public:
    /// Differences of the two clocks' advance below this are read jitter, not steps.
    static const long long kStepThresholdUSec = 50000;
    /// sampleNow() reads the wall clock again after this much monotonic time.
    static const unsigned long long kSampleIntervalUSec = 1000;

    cWorkClock();
    virtual ~cWorkClock();
    cWorkClock(const cWorkClock&) = delete;
    cWorkClock& operator=(const cWorkClock&) = delete;

    /// The wall clock now, as of the last measured offset.
    qstd::cTime now();
    /// Measures the wall clock's offset, notices a step, and returns now().
    qstd::cTime sampleNow();
    /// The signed sum, in microseconds, of every step noticed so far.
    long long stepSum() const { return miStepSum; }

    /// The clock that works and queues read.
    static cWorkClock& current();
    /// Replaces the current clock (not owned; it must outlive its use); null brings
    /// back the system clock. The new clock continues the step sum of the old one,
    /// so that works started before the change are not shifted by it.
    static void setCurrent(cWorkClock* pClock);

protected:
    /// Microseconds since the epoch.
    virtual unsigned long long readWallUSec() const;
    /// Microseconds of a clock that is never stepped.
    virtual unsigned long long readMonotonicUSec() const;

private:
    unsigned long long miOffset;    ///< wall minus monotonic, modulo 2^64
    unsigned long long miSampledAt; ///< monotonic time of the last wall reading
    long long miStepSum;
    bool mbHaveReading; ///< false until the first sample
};

} // namespace qpi

#endif // QOR_CORE_PI_WORKCLOCK_H
