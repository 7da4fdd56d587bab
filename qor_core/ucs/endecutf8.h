// endecutf8.h - cEnDecUTF8 and the UTF-8 decoding routine.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_UCS_ENDECUTF8_H
#define QOR_CORE_UCS_ENDECUTF8_H

#include "qor_core/ucs/abstractendec.h"

namespace qucs {

/// UTF-8 for sequences of up to four bytes. Continuation bytes are not validated:
/// a stray 0x80..0xBF byte decodes to its own value. A zero byte, or a sequence cut
/// off by the end of the input, is an unexpected end of data.
class QOR_EXPORT cEnDecUTF8 : public cAbstractEnDec
{
public:
    /// "Endec-UTF8"
    qstd::cAsciiString name() const override;
    using cAbstractEnDec::decode;
    using cAbstractEnDec::encode;
    void encode(const cString& sSource, qstd::tArray<char>& oTarget) const override;
    void decode(const qstd::tConstArrayRef<char>& oSource, cString& sTarget) const override;
    /// Appends the UTF-8 bytes of one code point (up to five bytes for large values).
    /// Values above 0x3FFFFFF do not fit and throw "Unicode encoding error!".
    static void encodeChar(unsigned int iChar, qstd::tArray<char>& oTarget);
};

/// The next code point of the zero-terminated UTF-8 text at iIndex; iIndex moves past
/// it. Failures are thrown as "$MTR$Unicode decode error!" with the cause beneath.
QOR_EXPORT unsigned int decodeUTF8(const char* pData, unsigned int& iIndex);

} // namespace qucs

#endif // QOR_CORE_UCS_ENDECUTF8_H
