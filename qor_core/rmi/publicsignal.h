// publicsignal.h - cPublicSignal, a signal published by a connectable under a name.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_RMI_PUBLICSIGNAL_H
#define QOR_CORE_RMI_PUBLICSIGNAL_H

#include "qor_core/rmi/abstractsignal.h"
#include "qor_core/rmi/publicmember.h"

namespace qrmi {

/// A signal published under a name, with its description. The signal itself is not
/// owned: it normally is a member of the publishing connectable, or a proxy whose
/// owner is the RMI factory that made it. Entry and signal know each other: the
/// entry is among the signal's entries for as long as it refers to it, and when the
/// signal dies first the entry stays as a description whose signal() is null.
/// Serialized as the four texts of the description, the type (piUInt32), the
/// parameter list and the return value.
class QOR_EXPORT cPublicSignal : public cPublicMember
{
public:
    /// With a signal, becomes the entry the signal is published under.
    cPublicSignal(const qstd::cAsciiString& sName, const qstd::cAsciiString& sReturnTypeName,
                  const qstd::cAsciiString& sParamTypeNames, cAbstractSignal::InterfaceType eType,
                  const qstd::cAsciiString& sDescription, cAbstractSignal* pSignal);
    /// Leaves the signal's entries; the signal is no longer published under it.
    ~cPublicSignal();
    cPublicSignal(const cPublicSignal&) = delete;
    cPublicSignal& operator=(const cPublicSignal&) = delete;

    cAbstractSignal::InterfaceType type() const { return meType; }
    /// The published signal; null once it is gone.
    cAbstractSignal* signal() const { return mpSignal; }

    qsa::cAbstractSerializer& operator>>(qsa::cAbstractSerializer& oSerializer) const;
    /// Replaces the description (not the signal) by the one read.
    qsa::cAbstractDeserializer& operator<<(qsa::cAbstractDeserializer& oDeserializer);

private:
    friend class cAbstractSignal;

    cAbstractSignal::InterfaceType meType;
    cAbstractSignal* mpSignal;     ///< not owned; null when none or gone
    cPublicSignal* mpNextOfSignal; ///< not owned; the next entry of the same signal
};

} // namespace qrmi

#endif // QOR_CORE_RMI_PUBLICSIGNAL_H
