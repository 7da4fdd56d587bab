// publicmember.h - cPublicMember, the description shared by public slots and signals.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_RMI_PUBLICMEMBER_H
#define QOR_CORE_RMI_PUBLICMEMBER_H

#include "qor_core/rmi/ssvalue.h"

namespace qrmi {

/// What a published slot or signal tells about itself: its name, the textual
/// descriptions of its return value and parameters, and the structured parameter
/// and return-value descriptions. Serialized as name, return type name, parameter
/// type names and description (four cAsciiString items), then, after whatever the
/// derived class puts between, the parameter list and the return value.
class QOR_EXPORT cPublicMember
{
public:
    const qstd::cAsciiString& name() const { return msName; }
    const qstd::cAsciiString& returnTypeName() const { return msReturnTypeName; }
    const qstd::cAsciiString& paramTypeNames() const { return msParamTypeNames; }
    const qstd::cAsciiString& description() const { return msDescription; }
    const tSSValues& parameters() const { return moParameters; }
    const cSSValue& returnValue() const { return moReturnValue; }
    cSSValue& returnValue() { return moReturnValue; }

    bool matchName(const qstd::cAsciiString& sName) const { return msName == sName; }
    /// Appends a default parameter description and returns it for filling in.
    cSSValue& addParameter();

protected:
    cPublicMember();
    cPublicMember(const qstd::cAsciiString& sName, const qstd::cAsciiString& sReturnTypeName,
                  const qstd::cAsciiString& sParamTypeNames,
                  const qstd::cAsciiString& sDescription);
    cPublicMember(const cPublicMember& oOther) = default;
    cPublicMember& operator=(const cPublicMember& oOther) = default;
    ~cPublicMember();

    /// The four texts.
    void storeHead(qsa::cAbstractSerializer& oSerializer) const;
    /// The parameter list and the return value.
    void storeTail(qsa::cAbstractSerializer& oSerializer) const;
    void loadHead(qsa::cAbstractDeserializer& oDeserializer);
    void loadTail(qsa::cAbstractDeserializer& oDeserializer);

private:
    qstd::cAsciiString msName;
    qstd::cAsciiString msReturnTypeName;
    qstd::cAsciiString msParamTypeNames;
    qstd::cAsciiString msDescription;
    tSSValues moParameters;
    cSSValue moReturnValue;
};

} // namespace qrmi

#endif // QOR_CORE_RMI_PUBLICMEMBER_H
