// publicslot.h - cPublicSlot, a slot published by a connectable under a name.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_RMI_PUBLICSLOT_H
#define QOR_CORE_RMI_PUBLICSLOT_H

#include "qor_core/rmi/ssvalue.h"
#include "qor_core/std/autoptr.h"

namespace qrmi {

class cAbstractSlotCall;

/// A slot published under a name, with textual descriptions of its return value
/// and parameters, and the slot call that performs it. Owns the slot call.
/// Serialized as name, return type name, parameter type names, description (four
/// cAsciiString items), the parameter list and the return value; the slot call
/// does not travel.
class QOR_EXPORT cPublicSlot
{
public:
    /// An empty description around pSlotCall, to be filled by loading.
    explicit cPublicSlot(qstd::tAutoPtr<cAbstractSlotCall> pSlotCall);
    cPublicSlot(const qstd::cAsciiString& sName, const qstd::cAsciiString& sReturnTypeName,
                const qstd::cAsciiString& sParamTypeNames, const qstd::cAsciiString& sDescription,
                qstd::tAutoPtr<cAbstractSlotCall> pSlotCall);
    ~cPublicSlot();
    cPublicSlot(const cPublicSlot&) = delete;
    cPublicSlot& operator=(const cPublicSlot&) = delete;

    const qstd::cAsciiString& name() const { return msName; }
    const qstd::cAsciiString& returnTypeName() const { return msReturnTypeName; }
    const qstd::cAsciiString& paramTypeNames() const { return msParamTypeNames; }
    const qstd::cAsciiString& description() const { return msDescription; }
    const tSSValues& parameters() const { return moParameters; }
    const cSSValue& returnValue() const { return moReturnValue; }
    cSSValue& returnValue() { return moReturnValue; }
    /// The slot call; null only for a description without one.
    cAbstractSlotCall* slot() const { return mpSlotCall; }

    bool matchName(const qstd::cAsciiString& sName) const { return msName == sName; }
    /// Appends a default parameter description and returns it for filling in.
    cSSValue& addParameter();

    qsa::cAbstractSerializer& operator>>(qsa::cAbstractSerializer& oSerializer) const;
    /// Replaces the description (not the slot call) by the one read.
    qsa::cAbstractDeserializer& operator<<(qsa::cAbstractDeserializer& oDeserializer);

private:
    qstd::cAsciiString msName;
    qstd::cAsciiString msReturnTypeName;
    qstd::cAsciiString msParamTypeNames;
    qstd::cAsciiString msDescription;
    tSSValues moParameters;
    cSSValue moReturnValue;
    cAbstractSlotCall* mpSlotCall; ///< owned
};

} // namespace qrmi

#endif // QOR_CORE_RMI_PUBLICSLOT_H
