// publicsignal.h - cPublicSignal, a signal published by a connectable under a name.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_RMI_PUBLICSIGNAL_H
#define QOR_CORE_RMI_PUBLICSIGNAL_H

#include "qor_core/rmi/abstractsignal.h"
#include "qor_core/rmi/ssvalue.h"

namespace qrmi {

/// A signal published under a name, with textual descriptions of its return value
/// and parameters. The signal itself is not owned: it normally is a member of the
/// publishing connectable, or a proxy whose owner is the RMI factory that made it.
/// Serialized as name, return type name, parameter type names, description (four
/// cAsciiString items), the type (piUInt32), the parameter list and the return value.
class QOR_EXPORT cPublicSignal
{
public:
    cPublicSignal(const qstd::cAsciiString& sName, const qstd::cAsciiString& sReturnTypeName,
                  const qstd::cAsciiString& sParamTypeNames, cAbstractSignal::InterfaceType eType,
                  const qstd::cAsciiString& sDescription, cAbstractSignal* pSignal);
    ~cPublicSignal();
    cPublicSignal(const cPublicSignal&) = delete;
    cPublicSignal& operator=(const cPublicSignal&) = delete;

    const qstd::cAsciiString& name() const { return msName; }
    const qstd::cAsciiString& returnTypeName() const { return msReturnTypeName; }
    const qstd::cAsciiString& paramTypeNames() const { return msParamTypeNames; }
    const qstd::cAsciiString& description() const { return msDescription; }
    cAbstractSignal::InterfaceType type() const { return meType; }
    cAbstractSignal* signal() const { return mpSignal; }
    const tSSValues& parameters() const { return moParameters; }
    const cSSValue& returnValue() const { return moReturnValue; }
    cSSValue& returnValue() { return moReturnValue; }

    bool matchName(const qstd::cAsciiString& sName) const { return msName == sName; }
    /// Appends a default parameter description and returns it for filling in.
    cSSValue& addParameter();

    qsa::cAbstractSerializer& operator>>(qsa::cAbstractSerializer& oSerializer) const;
    /// Replaces the description (not the signal) by the one read.
    qsa::cAbstractDeserializer& operator<<(qsa::cAbstractDeserializer& oDeserializer);

private:
    qstd::cAsciiString msName;
    qstd::cAsciiString msReturnTypeName;
    qstd::cAsciiString msParamTypeNames;
    qstd::cAsciiString msDescription;
    cAbstractSignal::InterfaceType meType;
    cAbstractSignal* mpSignal; ///< not owned
    tSSValues moParameters;
    cSSValue moReturnValue;
};

} // namespace qrmi

#endif // QOR_CORE_RMI_PUBLICSIGNAL_H
