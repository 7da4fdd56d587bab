// componentlocation.h - cComponentLocation, a component's address widened by its process.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCS_COMPONENTLOCATION_H
#define QOR_CORE_QCS_COMPONENTLOCATION_H

#include "qor_core/qcs/componentaddr.h"

namespace qcs {

/// Where a component lives: its address, the host and process, and an optional
/// qualifier inside the process. Tells components apart across processes and hosts;
/// exceptions carry one as their remote origin.
///
/// Text form: address text, "-", pid, "@", host name, and ":" + local ID only when
/// the local ID is not empty ("1:17-812@box:panel"). Host names and local IDs that
/// contain "-", ":", "@" or white space do not survive the text form.
class QOR_EXPORT cComponentLocation
{
public:
    /// An invalid address in this host and process.
    cComponentLocation();
    cComponentLocation(const cComponentAddr& oAddress, const qstd::cAsciiString& sHostName,
                       const qstd::cAsciiString& sLocalId, unsigned iPid);
    /// Invalid address, empty texts and pid 0, then fromString(sText).
    explicit cComponentLocation(const qstd::cAsciiString& sText);

    /// Fills in this host and process and clears the local ID; the address stays.
    void provide();

    const cComponentAddr& address() const { return moAddress; }
    void setAddress(const cComponentAddr& oAddress) { moAddress = oAddress; }
    const qstd::cAsciiString& hostName() const { return msHostName; }
    const qstd::cAsciiString& localId() const { return msLocalId; }
    unsigned pid() const { return miPid; }
    void swap(cComponentLocation& oOther);

    /// Address, host name, local ID and pid all equal.
    bool operator==(const cComponentLocation& o) const
    {
        return moAddress == o.moAddress && msHostName == o.msHostName && msLocalId == o.msLocalId &&
               miPid == o.miPid;
    }
    bool operator!=(const cComponentLocation& o) const { return !(*this == o); }

    qstd::cAsciiString toString() const;
    /// Parses the text form. Every "-" of the text separates words, so a host name
    /// "my-box" reads as "my"; words after the local ID are ignored. An empty pid
    /// reads as 0. A pid that is not a decimal number fitting in 32 bits, or a
    /// malformed address, throws cRuntimeException "Malformed component address"
    /// with the reason linked beneath it. The location changes only on success.
    void fromString(const qstd::cAsciiString& sText);

    /// Writes plain (address, host name, local ID, pid) or labelled ("LocalAddress"
    /// with a "ModuleAddress" context holding the labelled address, "HostName",
    /// "LocalID", "PID"), as the serializer prefers.
    qsa::cAbstractSerializer& operator>>(qsa::cAbstractSerializer& oSerializer) const;
    /// Reads plain when the deserializer prefers no labels or the stream does not
    /// continue with a label, else by label in any order. All values are read before
    /// any is stored: on failure the location is unchanged.
    qsa::cAbstractDeserializer& operator<<(qsa::cAbstractDeserializer& oDeserializer);

private:
    cComponentAddr moAddress;
    qstd::cAsciiString msHostName;
    qstd::cAsciiString msLocalId; ///< empty when not needed
    piUInt32 miPid;
};

} // namespace qcs

#endif // QOR_CORE_QCS_COMPONENTLOCATION_H
