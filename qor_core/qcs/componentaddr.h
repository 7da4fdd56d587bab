// componentaddr.h - cComponentAddr, the address of a registered component.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCS_COMPONENTADDR_H
#define QOR_CORE_QCS_COMPONENTADDR_H

#include "qor_core/std/asciistring.h"

namespace qsa {
class cAbstractSerializer;
class cAbstractDeserializer;
} // namespace qsa

namespace qcs {

/// A queue ID and a module ID; valid once IDs were given. The module manager keeps
/// module IDs unique among its registered components.
///
/// Text form: queue ID, ":", module ID, both unsigned decimal ("1:17"). Serialized
/// form: the module ID before the queue ID, either plain or each under a label
/// ("ID", "Queue"); the valid flag is never written, and loading makes it true.
class QOR_EXPORT cComponentAddr
{
public:
    /// Invalid, both IDs 0.
    cComponentAddr() : miModuleID(0), miQueueID(0), mbValid(false) {}
    /// Queue ID first, module ID second.
    cComponentAddr(unsigned iQueueID, unsigned iModuleID)
        : miModuleID(iModuleID), miQueueID(iQueueID), mbValid(true)
    {
    }
    /// Parses sText (see fromString); throws as fromString does.
    explicit cComponentAddr(const qstd::cAsciiString& sText);

    unsigned moduleID() const { return miModuleID; }
    unsigned queueID() const { return miQueueID; }
    bool valid() const { return mbValid; }
    /// Clears the valid flag only; the IDs stay.
    void invalidate() { mbValid = false; }
    void swap(cComponentAddr& oOther);

    /// All three fields equal: two invalid addresses with different IDs differ.
    bool operator==(const cComponentAddr& o) const
    {
        return miModuleID == o.miModuleID && miQueueID == o.miQueueID && mbValid == o.mbValid;
    }
    bool operator!=(const cComponentAddr& o) const { return !(*this == o); }

    /// "queue:module"; an invalid address prints its stored IDs.
    qstd::cAsciiString toString() const;
    /// Parses "queue:module", each part a non-empty run of decimal digits that fits
    /// in 32 bits. On success both IDs are stored and the address is valid. Any
    /// other text throws cRuntimeException "Malformed component address" naming the
    /// whole text, with the precise reason linked beneath it; the address is then
    /// unchanged.
    void fromString(const qstd::cAsciiString& sText);

    /// Writes plain or labelled, as the serializer prefers.
    qsa::cAbstractSerializer& operator>>(qsa::cAbstractSerializer& oSerializer) const;
    /// Reads plain when the deserializer prefers no labels or the stream does not
    /// continue with a label, else by the labels "ID" and "Queue" in any order. On
    /// failure the address is unchanged.
    qsa::cAbstractDeserializer& operator<<(qsa::cAbstractDeserializer& oDeserializer);
    /// Writes the shape chosen by bLabelled.
    void store(qsa::cAbstractSerializer& oSerializer, bool bLabelled) const;
    /// Reads the shape chosen by bLabelled; on failure the address is unchanged.
    void load(qsa::cAbstractDeserializer& oDeserializer, bool bLabelled);

private:
    piUInt32 miModuleID;
    piUInt32 miQueueID;
    bool mbValid;
};

} // namespace qcs

#endif // QOR_CORE_QCS_COMPONENTADDR_H
