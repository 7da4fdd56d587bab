// abstractendec.h - cAbstractEnDec, the interface of text encoders and decoders.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_UCS_ABSTRACTENDEC_H
#define QOR_CORE_UCS_ABSTRACTENDEC_H

#include "qor_core/ucs/string.h"

namespace qucs {

/// Converts between cString and byte or 16-bit buffers. Encoders and decoders
/// append to their output; a failed conversion leaves the output holding what was
/// appended before the failure. The operations a concrete class does not support
/// throw a cRuntimeException "Not implemented".
class QOR_EXPORT cAbstractEnDec
{
public:
    virtual ~cAbstractEnDec();
    virtual qstd::cAsciiString name() const = 0;
    virtual void encode(const cString& sSource, qstd::tArray<char>& oTarget) const;
    virtual void encode(const cString& sSource, qstd::tArray<unsigned short>& oTarget) const;
    /// Copies the source unchanged.
    virtual void reEncode(const cString& sSource, cString& sTarget) const;
    /// The byte encoding followed by one zero byte.
    virtual void encodeCString(const cString& sSource, qstd::tArray<char>& oTarget) const;
    virtual void decode(const qstd::tConstArrayRef<char>& oSource, cString& sTarget) const;
    virtual void decode(const qstd::tConstArrayRef<unsigned short>& oSource,
                        cString& sTarget) const;
    /// Copies the source unchanged.
    virtual void reDecode(const cString& sSource, cString& sTarget) const;

protected:
    /// Throws "$MTR$Not implemented: %name%::<operation>" for pTemplate.
    [[noreturn]] void throwNotImplemented(const char* pTemplate) const;
};

} // namespace qucs

#endif // QOR_CORE_UCS_ABSTRACTENDEC_H
