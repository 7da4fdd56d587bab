// workclock.cpp - qpi::cWorkClock.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/workclock.h"

#include <time.h>

namespace qpi {

namespace {
cWorkClock* gpCurrentClock = nullptr; ///< not owned; null means the system clock

unsigned long long readClock(clockid_t iClock)
{
    struct timespec oNow;
    if (clock_gettime(iClock, &oNow) != 0 || oNow.tv_sec < 0)
        return 0;
    // time_t is 32 bits wide on the ARM target: widen before multiplying.
    return (unsigned long long)oNow.tv_sec * 1000000ULL +
           (unsigned long long)oNow.tv_nsec / 1000ULL;
}
} // namespace

cWorkClock::cWorkClock() : miOffset(0), miSampledAt(0), miStepSum(0), mbHaveReading(false) {}

cWorkClock::~cWorkClock()
{
    if (gpCurrentClock == this)
        gpCurrentClock = nullptr;
}

qstd::cTime cWorkClock::now()
{
    if (!mbHaveReading)
        return sampleNow();
    return qstd::cTime(readMonotonicUSec() + miOffset);
}

qstd::cTime cWorkClock::sampleNow()
{
    unsigned long long iMonotonic = readMonotonicUSec();
    // A loop that turns fast measures the wall clock once per kSampleIntervalUSec.
    if (mbHaveReading && iMonotonic - miSampledAt < kSampleIntervalUSec)
        return qstd::cTime(iMonotonic + miOffset);
    miSampledAt = iMonotonic;
    unsigned long long iOffset = readWallUSec() - iMonotonic;
    if (!mbHaveReading) {
        miOffset = iOffset;
        mbHaveReading = true;
    } else {
        long long iStep = (long long)(iOffset - miOffset);
        if (iStep > kStepThresholdUSec || iStep < -kStepThresholdUSec) {
            miStepSum += iStep;
            miOffset = iOffset;
        }
    }
    return qstd::cTime(iMonotonic + miOffset);
}

cWorkClock& cWorkClock::current()
{
    if (gpCurrentClock)
        return *gpCurrentClock;
    // Never destroyed: works may still be started from destructors at program exit.
    static cWorkClock* pSystemClock = new cWorkClock;
    return *pSystemClock;
}

void cWorkClock::setCurrent(cWorkClock* pClock)
{
    cWorkClock& oOld = current();
    gpCurrentClock = pClock;
    cWorkClock& oNewCurrent = current();
    if (&oNewCurrent != &oOld) {
        oNewCurrent.miStepSum = oOld.miStepSum;
        oNewCurrent.mbHaveReading = false;
    }
}

unsigned long long cWorkClock::readWallUSec() const
{
    return readClock(CLOCK_REALTIME);
}

unsigned long long cWorkClock::readMonotonicUSec() const
{
    return readClock(CLOCK_MONOTONIC);
}

} // namespace qpi
