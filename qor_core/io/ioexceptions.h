// ioexceptions.h - qio::cIOExceptions, the throw family of the file I/O layer.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_IO_IOEXCEPTIONS_H
#define QOR_CORE_IO_IOEXCEPTIONS_H

#include "qor_core/std/pitypes.h"

namespace qucs {
class cString;
}
namespace qstd {
class cAbstractException;
}

namespace qio {

/// Static throw helpers of qio. Each builds its message, links a copy of the given
/// cause beneath the new exception (where it takes one), throws and never returns.
class QOR_EXPORT cIOExceptions
{
public:
    /// cRuntimeException "Invalid path".
    [[noreturn]] static void throwRelativePathUnderrun(const qucs::cString& sPath);
    /// cRuntimeException: a text-line read took longer than iMSec milliseconds.
    [[noreturn]] static void throwIOTimeout(unsigned iMSec);
    [[noreturn]] static void throwUnableToWrite(unsigned long long iBytes);
    [[noreturn]] static void throwUnableToRead(unsigned long long iBytes);
    [[noreturn]] static void throwUnableToReadOddAmountOfData(unsigned long long iBytes,
                                                              unsigned iElementSize);
    [[noreturn]] static void throwUnableOpenFile(const qstd::cAbstractException& oCause,
                                                 const qucs::cString& sFile);
    [[noreturn]] static void throwUnableWriteFile(const qstd::cAbstractException& oCause,
                                                  const qucs::cString& sFile);
    [[noreturn]] static void throwUnableReadFile(const qstd::cAbstractException& oCause,
                                                 const qucs::cString& sFile);
    [[noreturn]] static void throwUnableRemoveFile(const qstd::cAbstractException& oCause,
                                                   const qucs::cString& sFile);
    [[noreturn]] static void throwUnableCreatePath(const qstd::cAbstractException& oCause,
                                                   const qucs::cString& sPath);
    /// cBugException.
    [[noreturn]] static void throwEndOfFile(const qucs::cString& sFile);

    /// cRuntimeException: a path holding a zero character, which the kernel would
    /// silently cut short, is refused before any system call.
    [[noreturn]] static void throwPathContainsZero(const qucs::cString& sPath);
    /// cRuntimeException: the array view of a block device addresses 32-bit
    /// positions and cannot show a device of iBytes bytes.
    [[noreturn]] static void throwTooLargeForArrayView(const qucs::cString& sName,
                                                       unsigned long long iBytes);
    /// cBugException "Insertion anywhere in the middle of file is not supported yet".
    [[noreturn]] static void throwInsertInMiddle();
    /// cBugException "Data remove anywhere in the middle of file is not supported yet".
    [[noreturn]] static void throwEraseInMiddle();
    /// cBugException "Not implemented: cAbstractIOBlockDevice::setSize()".
    [[noreturn]] static void throwSetSizeNotImplemented();
    /// cBugException "Bind / unbind not supported for filesystem implementation".
    [[noreturn]] static void throwBindNotSupported();
    /// cBugException: no file system serves sPath (an empty path: none at all).
    [[noreturn]] static void throwNoFilesystem(const qucs::cString& sPath);
    /// cRuntimeException: a rename or link between two file systems.
    [[noreturn]] static void throwAcrossFilesystems(const qucs::cString& sFrom,
                                                    const qucs::cString& sTo);
    /// cRuntimeException: a bound file system (an empty path: the native one) is in use.
    [[noreturn]] static void throwFilesystemInUse(const qucs::cString& sPath);
    /// cRuntimeException "Item ... is not a directory" as the cause of
    /// throwUnableCreatePath(sPath).
    [[noreturn]] static void throwNotADirectory(const qucs::cString& sItem,
                                                const qucs::cString& sPath);
    /// cRuntimeException "MMAP not supported in r/w mode".
    [[noreturn]] static void throwMMapReadWrite();
    /// cRuntimeException "File is already memory mapped".
    [[noreturn]] static void throwAlreadyMapped();
};

} // namespace qio

#endif // QOR_CORE_IO_IOEXCEPTIONS_H
