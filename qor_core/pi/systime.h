// systime.h - qpi::cSysTime and usecSinceEpoch(), the reading of the system clock.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_SYSTIME_H
#define QOR_CORE_PI_SYSTIME_H

#include "qor_core/std/time.h"

namespace qpi {

/// Microseconds since the epoch (UTC) from gettimeofday. A clock set before the epoch
/// reads as 0.
QOR_EXPORT unsigned long long usecSinceEpoch();

/// Static access to the system clock and the local time zone. Every call reads the
/// clock and the zone (the environment variable TZ) anew.
class QOR_EXPORT cSysTime
{
public:
    /// The current time, cTime(usecSinceEpoch()).
    static qstd::cTime utcTime();
    /// The absolute time between now and oTime.
    static qstd::cTime diffTime(const qstd::cTime& oTime);
    /// The local zone's offset for the current moment (daylight saving included) in
    /// microseconds, counted as minutes WEST of Greenwich times 60000000: negative
    /// east of Greenwich, so that UTC - zoneOffset() is the local time. 0 when the
    /// local time cannot be determined.
    static long long zoneOffset();
};

} // namespace qpi

#endif // QOR_CORE_PI_SYSTIME_H
