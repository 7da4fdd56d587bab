// componentaddr.h - cComponentAddr, the address of a registered component.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCS_COMPONENTADDR_H
#define QOR_CORE_QCS_COMPONENTADDR_H

#include "qor_core/std/pitypes.h"

namespace qcs {

/// A queue ID and a module ID; valid once IDs were given.
class QOR_EXPORT cComponentAddr
{
public:
    cComponentAddr() : miModuleID(0), miQueueID(0), mbValid(false) {}
    /// Queue ID first, module ID second.
    cComponentAddr(unsigned iQueueID, unsigned iModuleID)
        : miModuleID(iModuleID), miQueueID(iQueueID), mbValid(true)
    {
    }

    unsigned moduleID() const { return miModuleID; }
    unsigned queueID() const { return miQueueID; }
    bool valid() const { return mbValid; }
    void invalidate() { mbValid = false; }

    bool operator==(const cComponentAddr& o) const
    {
        return miModuleID == o.miModuleID && miQueueID == o.miQueueID && mbValid == o.mbValid;
    }
    bool operator!=(const cComponentAddr& o) const { return !(*this == o); }

private:
    unsigned miModuleID;
    unsigned miQueueID;
    bool mbValid;
};

} // namespace qcs

#endif // QOR_CORE_QCS_COMPONENTADDR_H
