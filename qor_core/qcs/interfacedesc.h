// interfacedesc.h - cInterfaceDesc, the description of an interface.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCS_INTERFACEDESC_H
#define QOR_CORE_QCS_INTERFACEDESC_H

#include "qor_core/std/asciistring.h"

namespace qcs {

/// Type, name, author, version and free text of an interface. The name is the key
/// of every look-up; the type says which side of a connection the interface is, and
/// an interface only matches a description of the other type.
///
/// Serialized form, never labelled: type and name, author (strings), version,
/// description.
class QOR_EXPORT cInterfaceDesc
{
public:
    /// Unsigned 32 bits, as it is serialized.
    enum InterfaceType : piUInt32
    {
        Provided = 0, ///< the interface a component offers
        Required = 1  ///< the interface a component asks for
    };

    /// Type Required, empty texts, version 0.
    cInterfaceDesc();
    cInterfaceDesc(InterfaceType eType, const qstd::cAsciiString& sName,
                   const qstd::cAsciiString& sAuthor, unsigned int iVersion,
                   const qstd::cAsciiString& sDescription);

    InterfaceType type() const { return meType; }
    const qstd::cAsciiString& name() const { return msName; }
    const qstd::cAsciiString& author() const { return msAuthor; }
    unsigned int version() const { return miVersion; }
    const qstd::cAsciiString& description() const { return msDescription; }
    void swap(cInterfaceDesc& oOther);

    /// Name, author, version and type; the description text plays no part.
    bool operator==(const cInterfaceDesc& o) const;
    bool operator!=(const cInterfaceDesc& o) const { return !(*this == o); }

    qsa::cAbstractSerializer& operator>>(qsa::cAbstractSerializer& oSerializer) const;
    /// Reads what operator>> wrote. A type other than 0 or 1 throws cRuntimeException
    /// "Unable to deserialize interface description" with the name read; on any
    /// failure the description keeps its old value.
    qsa::cAbstractDeserializer& operator<<(qsa::cAbstractDeserializer& oDeserializer);

private:
    InterfaceType meType;
    qstd::cAsciiString msName;
    qstd::cAsciiString msAuthor;
    piUInt32 miVersion;
    qstd::cAsciiString msDescription;
};

} // namespace qcs

#endif // QOR_CORE_QCS_INTERFACEDESC_H
