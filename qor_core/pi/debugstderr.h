// debugstderr.h - qpi::cDebugStdErr, the debug output on standard error, and cDebugLevel.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_DEBUGSTDERR_H
#define QOR_CORE_PI_DEBUGSTDERR_H

#include "qor_core/pi/abstractout.h"
#include "qor_core/std/asciistring.h"
#include "qor_core/std/vector.h"

namespace qpi {

/// Collects a line and writes it to standard error at the line feed: prefixed with
/// the tag's file base name and line number, indented two spaces per level, and
/// dropped when the tag's file name contains a word of "PIDBG_FILTER" (read once,
/// at construction). A line without a tag has no prefix and is never filtered.
class QOR_EXPORT cDebugStdErr : public cAbstractOut
{
public:
    cDebugStdErr();
    /// A partial line is not written.
    ~cDebugStdErr() override;

    void printChar(char cChar) override;
    /// Writes the partial line as it is and flushes standard error.
    void flush() override;

    const qstd::tVector<qstd::cAsciiString>& filterWords() const { return moFilterWords; }

private:
    bool filtered(const char* pFileName) const;

    qstd::cAsciiString msLine;
    qstd::tVector<qstd::cAsciiString> moFilterWords;
};

/// Indents the system debug output for its scope.
class QOR_EXPORT cDebugLevel
{
public:
    cDebugLevel();
    ~cDebugLevel();
    cDebugLevel(const cDebugLevel&) = delete;
    cDebugLevel& operator=(const cDebugLevel&) = delete;
};

} // namespace qpi

#endif // QOR_CORE_PI_DEBUGSTDERR_H
