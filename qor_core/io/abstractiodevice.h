// abstractiodevice.h - qio::cAbstractIODevice, the stream-level I/O device with
// text lines.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_IO_ABSTRACTIODEVICE_H
#define QOR_CORE_IO_ABSTRACTIODEVICE_H

#include "qor_core/std/arrayref.h"
#include "qor_core/std/asciistring.h"

namespace qio {

/// A device that moves bytes: read and write, and text lines on top of them.
/// Used by one thread at a time.
class QOR_EXPORT cAbstractIODevice
{
public:
    typedef qstd::tArray<char, qstd::tArrayByteLevelTraits<char>> tCharArray;

    virtual ~cAbstractIODevice();

    /// Reads bytes into oLine until it ends with oDelimiter (removed unless bKeep)
    /// or no further byte comes. Returns true when the delimiter ended the line.
    /// An empty delimiter never matches.
    virtual bool readTextLine(tCharArray& oLine, const qstd::tConstArrayRef<char>& oDelimiter,
                              bool bKeep);
    /// As above; more than iTimeout milliseconds (0 included) after the call began
    /// a further byte that does not end the line throws the time-out exception.
    virtual bool readTextLine(tCharArray& oLine, const qstd::tConstArrayRef<char>& oDelimiter,
                              bool bKeep, unsigned iTimeout);
    /// Reads a line ended by CR or LF; leading line ends are skipped, so empty lines
    /// are never returned. Returns false when the input ended first (oLine then
    /// holds what was read). iTimeout 0 waits without limit.
    virtual bool readTextLine(tCharArray& oLine, unsigned iTimeout);
    /// Writes the text and then the line end; a short write throws.
    virtual void writeTextLine(const qstd::cAsciiString& sText, const qstd::cAsciiString& sLineEnd);
    virtual void writeTextLine(const qstd::tConstArrayRef<char>& oText,
                               const qstd::cAsciiString& sLineEnd);

    /// Reads up to iMax bytes; returns how many were read (0 at the end).
    virtual unsigned long long read(void* pTarget, unsigned long long iMax) = 0;
    /// Writes iCount bytes; returns how many were written.
    virtual unsigned long long write(const void* pSource, unsigned long long iCount) = 0;

private:
    bool readDelimited(tCharArray& oLine, const qstd::tConstArrayRef<char>& oDelimiter, bool bKeep,
                       bool bTimed, unsigned iTimeout);
    void writeAll(const char* pData, unsigned iLength);
};

} // namespace qio

#endif // QOR_CORE_IO_ABSTRACTIODEVICE_H
