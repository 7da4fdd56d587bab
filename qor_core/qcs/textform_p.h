// textform_p.h - helpers shared by the text and serialized forms of addresses and
// locations. Private to the component system; not API.
#ifndef QOR_CORE_QCS_TEXTFORM_P_H
#define QOR_CORE_QCS_TEXTFORM_P_H

#include "qor_core/std/asciistring.h"

namespace qsa {
class cAbstractDeserializer;
}

namespace qcs {
namespace detail {

/// The value of sText, which must be a non-empty run of decimal digits whose value
/// fits in 32 bits. Anything else throws cNumberConversionException with the index
/// of the first offending character (0 for an empty text).
piUInt32 parseDecimal32(const qstd::cAsciiString& sText);

/// Whether a composite value is to be read in its labelled shape: not when the
/// reader prefers no labels, otherwise when the stream continues with a label. So a
/// plain stream also reads back through a reader left at its default.
bool readsLabelled(qsa::cAbstractDeserializer& oDeserializer);

/// True for the white space that separates the words of a location text: space,
/// tab, line feed and carriage return.
inline bool isWordSeparator(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

/// Replaces every cFrom in sText by cTo.
void replaceAll(qstd::cAsciiString& sText, char cFrom, char cTo);

/// The next word of sText from iPos on (leading separators skipped); iPos moves
/// behind it. Empty when only separators remain.
qstd::cAsciiString takeWord(const qstd::cAsciiString& sText, unsigned& iPos);

} // namespace detail
} // namespace qcs

#endif // QOR_CORE_QCS_TEXTFORM_P_H
