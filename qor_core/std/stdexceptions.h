// stdexceptions.h - the throw family of namespace qstd and its exception classes.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_STDEXCEPTIONS_H
#define QOR_CORE_STD_STDEXCEPTIONS_H

#include "qor_core/std/pitypes.h"

namespace qucs {
class cString;
class cLIMessage;
} // namespace qucs

namespace qstd {

class cAsciiString;

/// Static throw helpers of the foundation library. Every helper builds the message,
/// throws and never returns. They live out of line so that the container headers
/// need only this declaration.
class QOR_EXPORT cSTDExceptions
{
public:
    /// Selects the message of cOutOfRangeException.
    enum OutOfRangeType
    {
        Index = 0,
        Value = 1,
        Size = 2,
        IndexOrSize = 3,
        EndValue = 4
    };

    [[noreturn]] static void throwCoreBug(const char* pBug, const char* pFile, unsigned iLine);
    /// Writes a stack trace to the debug output, then throws the assertion cBugException.
    [[noreturn]] static void throwAssertionFailed(const char* pOperation, const char* pFile,
                                                  unsigned iLine);
    [[noreturn]] static void throwUnsupportedOperation(const cAsciiString& sOperation);
    [[noreturn]] static void throwUnexpectedEndOfInput();
    [[noreturn]] static void throwOutOfBounds(const char* pContainer, const char* pOperation);
    [[noreturn]] static void throwElementNotFound(const char* pContainer, const char* pOperation);
    [[noreturn]] static void throwInvalidDecimalBase(int iBase, int iMin, int iMax);
    [[noreturn]] static void throwInvalidDecimal(const qucs::cString& sString, unsigned iIndex);
    [[noreturn]] static void throwTextParseError(const qucs::cLIMessage& oMsg,
                                                 const cAsciiString& sFormat,
                                                 const qucs::cString& sFileName, unsigned iRow,
                                                 unsigned iColumn);
    [[noreturn]] static void throwWrongAnyDereference(const cAsciiString& sType,
                                                      const cAsciiString& sContains);
    /// Writes a stack trace to the debug output, then throws cOutOfRangeException.
    [[noreturn]] static void throwOutOfRange(const char* pContainer, const char* pOperation,
                                             OutOfRangeType eType, long long iValue, long long iMin,
                                             long long iMax);
};

} // namespace qstd

/// Always-on consistency check; the failed expression text becomes the operation.
#define QOR_ASSERT(e)                                                                              \
    ((e) ? void(0) : ::qstd::cSTDExceptions::throwAssertionFailed(#e, __FILE__, __LINE__))
/// Raises the assertion with a given expression text.
#define QOR_ASSERT_TEXT(e, text)                                                                   \
    ((e) ? void(0) : ::qstd::cSTDExceptions::throwAssertionFailed(text, __FILE__, __LINE__))

#endif // QOR_CORE_STD_STDEXCEPTIONS_H
