// endecutf16.h - cEnDecUTF16.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_UCS_ENDECUTF16_H
#define QOR_CORE_UCS_ENDECUTF16_H

#include "qor_core/ucs/abstractendec.h"

namespace qucs {

/// UTF-16 with surrogate pairs. Options: BigEndian selects the byte order of the
/// byte forms (little-endian otherwise); ByteOrderMark writes a mark on encode and
/// requires one on decode, where the mark decides the order.
class QOR_EXPORT cEnDecUTF16 : public cAbstractEnDec
{
public:
    enum Options
    {
        BigEndian = 2,
        ByteOrderMark = 4
    };

    explicit cEnDecUTF16(unsigned int iOptions = 0) : miOptions(iOptions) {}

    /// "Endec-UTF16"
    qstd::cAsciiString name() const override;
    using cAbstractEnDec::decode;
    using cAbstractEnDec::encodeCString;
    void encode(const cString& sSource, qstd::tArray<char>& oTarget) const override;
    void encode(const cString& sSource, qstd::tArray<unsigned short>& oTarget) const override;
    void decode(const qstd::tConstArrayRef<char>& oSource, cString& sTarget) const override;
    /// The 16-bit units followed by a zero unit.
    void encodeCString(const cString& sSource, qstd::tArray<unsigned short>& oTarget) const;
    /// Decodes units up to the terminating zero unit; with ByteOrderMark the first
    /// unit must be the mark U+FEFF.
    void decodeCString(const unsigned short* pSource, cString& sTarget) const;

    unsigned int options() const { return miOptions; }

private:
    /// Decodes iCount units read through unitAt, appending to sTarget.
    template <class F> void decodeUnits(unsigned iCount, F unitAt, cString& sTarget) const;

    unsigned int miOptions;
};

} // namespace qucs

#endif // QOR_CORE_UCS_ENDECUTF16_H
