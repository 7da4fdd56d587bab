// componentlocation.h - cComponentLocation, a component's address widened by its process.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCS_COMPONENTLOCATION_H
#define QOR_CORE_QCS_COMPONENTLOCATION_H

#include "qor_core/qcs/componentaddr.h"
#include "qor_core/std/asciistring.h"

namespace qcs {

/// Where a component lives: its address, the host and process, and an optional
/// qualifier inside the process.
class QOR_EXPORT cComponentLocation
{
public:
    /// An invalid address in this host and process.
    cComponentLocation();
    cComponentLocation(const cComponentAddr& oAddress, const qstd::cAsciiString& sHostName,
                       const qstd::cAsciiString& sLocalId, unsigned iPid);

    /// Fills in this host and process.
    void provide();

    const cComponentAddr& address() const { return moAddress; }
    const qstd::cAsciiString& hostName() const { return msHostName; }
    const qstd::cAsciiString& localId() const { return msLocalId; }
    unsigned pid() const { return miPid; }

    bool operator==(const cComponentLocation& o) const
    {
        return moAddress == o.moAddress && msHostName == o.msHostName && msLocalId == o.msLocalId &&
               miPid == o.miPid;
    }
    bool operator!=(const cComponentLocation& o) const { return !(*this == o); }

private:
    cComponentAddr moAddress;
    qstd::cAsciiString msHostName;
    qstd::cAsciiString msLocalId; ///< empty when not needed
    unsigned miPid;
};

} // namespace qcs

#endif // QOR_CORE_QCS_COMPONENTLOCATION_H
