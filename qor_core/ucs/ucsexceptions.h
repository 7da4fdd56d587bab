// ucsexceptions.h - the throw family of the Unicode and localisation namespace.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_UCS_UCSEXCEPTIONS_H
#define QOR_CORE_UCS_UCSEXCEPTIONS_H

#include "qor_core/std/pitypes.h"

namespace qstd {
class cAbstractException;
}

namespace qucs {

class cString;

/// Static throw helpers of qucs. Each throws a qstd::cRuntimeException whose history
/// is a copy of the given cause, and never returns.
class QOR_EXPORT cUCSExceptions
{
public:
    /// "$MTR$Unicode decode error!"
    [[noreturn]] static void throwUCSDecodeError(const qstd::cAbstractException& oCause);
    /// "$MTR$Unicode encoding error!"
    [[noreturn]] static void throwUSCEncodeError(const qstd::cAbstractException& oCause);
    /// "$MTR$Unable to read translation file (%filename%)!"
    [[noreturn]] static void
    throwUnableToReadTranslationFile(const qstd::cAbstractException& oCause,
                                     const cString& sFileName);
    /// "$MTR$Unable to parse translation file (%filename%) line %line%!"
    [[noreturn]] static void
    throwUnableToParseTranslationFile(const qstd::cAbstractException& oCause,
                                      const cString& sFileName, unsigned iLine);
};

/// Throws "$MTR$UTF8 decode error - unexpected end of data at index %index%!".
[[noreturn]] QOR_EXPORT void throwUEOD(unsigned iIndex);

} // namespace qucs

#endif // QOR_CORE_UCS_UCSEXCEPTIONS_H
