// publicslot.h - cPublicSlot, a slot published by a connectable under a name.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_RMI_PUBLICSLOT_H
#define QOR_CORE_RMI_PUBLICSLOT_H

#include "qor_core/rmi/publicmember.h"
#include "qor_core/std/autoptr.h"

namespace qrmi {

class cAbstractSlotCall;

/// A slot published under a name, with its description and the slot call that
/// performs it. Owns the slot call. Serialized as its description: the four texts,
/// the parameter list and the return value; the slot call does not travel.
class QOR_EXPORT cPublicSlot : public cPublicMember
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

    /// The slot call; null only for a description without one.
    cAbstractSlotCall* slot() const { return mpSlotCall; }

    qsa::cAbstractSerializer& operator>>(qsa::cAbstractSerializer& oSerializer) const;
    /// Replaces the description (not the slot call) by the one read.
    qsa::cAbstractDeserializer& operator<<(qsa::cAbstractDeserializer& oDeserializer);

private:
    cAbstractSlotCall* mpSlotCall; ///< owned
};

} // namespace qrmi

#endif // QOR_CORE_RMI_PUBLICSLOT_H
