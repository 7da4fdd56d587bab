// ssvalue.h - cSSValue, the description of one parameter or return value of a public slot or
// signal. SPDX-License-Identifier: MIT
#ifndef QOR_CORE_RMI_SSVALUE_H
#define QOR_CORE_RMI_SSVALUE_H

#include "qor_core/std/asciistring.h"
#include "qor_core/std/vector.h"

namespace qsa {
class cAbstractSerializer;
class cAbstractDeserializer;
} // namespace qsa

namespace qrmi {

/// Describes one parameter or the return value of a published slot or signal.
/// Serialized as type name, description, alterable, void (two cAsciiString and two
/// piBool items).
class QOR_EXPORT cSSValue
{
public:
    cSSValue() : mbAlterable(false), mbVoid(false) {}
    cSSValue(const qstd::cAsciiString& sTypeName, const qstd::cAsciiString& sDescription,
             bool bAlterable, bool bVoid)
        : msTypeName(sTypeName), msDescription(sDescription), mbAlterable(bAlterable), mbVoid(bVoid)
    {
    }

    const qstd::cAsciiString& typeName() const { return msTypeName; }
    const qstd::cAsciiString& description() const { return msDescription; }
    bool alterable() const { return mbAlterable; }
    bool isVoid() const { return mbVoid; }
    void setTypeName(const qstd::cAsciiString& sTypeName) { msTypeName = sTypeName; }
    void setDescription(const qstd::cAsciiString& sDescription) { msDescription = sDescription; }
    void setAlterable(bool bAlterable) { mbAlterable = bAlterable; }
    void setVoid(bool bVoid) { mbVoid = bVoid; }

    bool operator==(const cSSValue& oOther) const;
    bool operator!=(const cSSValue& oOther) const { return !(*this == oOther); }

    qsa::cAbstractSerializer& operator>>(qsa::cAbstractSerializer& oSerializer) const;
    qsa::cAbstractDeserializer& operator<<(qsa::cAbstractDeserializer& oDeserializer);

private:
    qstd::cAsciiString msTypeName;
    qstd::cAsciiString msDescription;
    bool mbAlterable; ///< the callee may change the value
    bool mbVoid;      ///< there is no value
};

typedef qstd::tVector<cSSValue> tSSValues;

/// Writes a parameter list as a context named "unknown" holding one value after
/// the other.
QOR_EXPORT void storeParameters(const tSSValues& oValues, qsa::cAbstractSerializer& oSerializer);
/// Reads a list written by storeParameters and appends it to oValues. On failure
/// oValues is unchanged, the reader moves back before the context and the
/// exception propagates.
QOR_EXPORT void loadParameters(tSSValues& oValues, qsa::cAbstractDeserializer& oDeserializer);

} // namespace qrmi

#endif // QOR_CORE_RMI_SSVALUE_H
