// datetime.h - qstd::cDateTime, a point in time shown as UTC or local time.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_DATETIME_H
#define QOR_CORE_STD_DATETIME_H

#include "qor_core/std/date.h"
#include "qor_core/std/time.h"

namespace qsa {
class cAbstractSerializer;
class cAbstractDeserializer;
} // namespace qsa

namespace qstd {

class cAsciiString;

/// A point in time, stored as microseconds since the epoch. The zone shift uses the
/// offset of the local zone at the moment of the call (qpi::cSysTime::zoneOffset()),
/// not the offset that was valid at the stored time.
class QOR_EXPORT cDateTime
{
public:
    /// Whether a constructor shifts the given time by the local zone.
    enum ZoneInfo : piUInt32
    {
        Unshifted = 0, ///< keep the time as given
        LocalShift = 1 ///< subtract zoneOffset(), as localTime() does
    };

    /// Now (UTC).
    cDateTime();
    /// oTime, shifted by the local zone with LocalShift. A shift that would leave
    /// the range of cTime throws cOutOfRangeException (container "cDateTime").
    cDateTime(const cTime& oTime, ZoneInfo eZone);
    /// The time of day oTimeOfDay on the date oDate, shifted by the local zone with
    /// LocalShift. A date before 1970 or a sum beyond the range of cTime throws
    /// cOutOfRangeException (container "cDateTime").
    cDateTime(const cTime& oTimeOfDay, const cDate& oDate, ZoneInfo eZone);
    cDateTime(const cDateTime& oOther) = default;
    cDateTime& operator=(const cDateTime& oOther) = default;
    void swap(cDateTime& oOther) { moTime.swap(oOther.moTime); }

    /// The stored time.
    cTime utcTime() const { return moTime; }
    /// The stored time minus zoneOffset(); throws cOutOfRangeException (container
    /// "cDateTime") when that leaves the range of cTime.
    cTime localTime() const;
    cDate utcDate() const;
    cDate localDate() const;

    bool operator<(const cDateTime& oOther) const { return moTime < oOther.moTime; }
    bool operator>(const cDateTime& oOther) const { return moTime > oOther.moTime; }
    bool operator==(const cDateTime& oOther) const { return moTime == oOther.moTime; }
    bool operator!=(const cDateTime& oOther) const { return moTime != oOther.moTime; }

    /// formatString(utcTime(), sPattern).
    cAsciiString formatString(const cAsciiString& sPattern) const;
    /// A copy of sPattern in which every occurrence of each placeholder is replaced,
    /// case-sensitively and in this order: "HH" hour, "MM" minutes, "SS" seconds,
    /// "dd" day, "mm" month (two digits each), "yyyy" year (four digits), "dn" the
    /// day's name, "mn" the month's name. The date is the UTC date of oTime, the time
    /// of day is taken from oTime as it is: pass localTime() for local text. Text
    /// produced by an earlier placeholder can be matched by a later one.
    static cAsciiString formatString(const cTime& oTime, const cAsciiString& sPattern);

    /// Writes the microseconds as an unsigned 64-bit value, under the label
    /// "DateTime" unless the serializer prefers no labels.
    qsa::cAbstractSerializer& operator>>(qsa::cAbstractSerializer& oSerializer) const;
    /// Reads the value written by operator>>; a label in front of it is passed over.
    qsa::cAbstractDeserializer& operator<<(qsa::cAbstractDeserializer& oDeserializer);

private:
    cTime moTime; ///< microseconds since the epoch
};

static_assert(sizeof(cDateTime) == 8, "cDateTime is one cTime on every target");

} // namespace qstd

#endif // QOR_CORE_STD_DATETIME_H
