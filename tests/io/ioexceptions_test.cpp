// The throw family of the file namespace: class, message and cause of each.
#include "qor_core/io/ioexceptions.h"
#include "std/testutil.h"

using qio::cIOExceptions;
using qucs::cString;

TEST(IOExceptions, ThrowFamily)
{
    const qstd::cRuntimeException oCause(qucs::cLIMessage::fromTemplate("$MTR$cause"), nullptr, 0);
    const cString sFile("/d/f");
    qortest::expectThrownChains({
        {"underrun", [&] { cIOExceptions::throwRelativePathUnderrun(sFile); },
         "cRuntimeException: Invalid path \"/d/f\"!"},
        {"timeout", [] { cIOExceptions::throwIOTimeout(250); },
         "cRuntimeException: Timeout while i/o operation after 250 milliseconds!"},
        {"write", [] { cIOExceptions::throwUnableToWrite(5000000000ULL); },
         "cRuntimeException: Unable to write 5000000000 bytes!"},
        {"read", [] { cIOExceptions::throwUnableToRead(7); },
         "cRuntimeException: Unable to read 7 bytes!"},
        {"odd", [] { cIOExceptions::throwUnableToReadOddAmountOfData(7, 2); },
         "cRuntimeException: Unable to read odd amount of data (7 bytes but element size is 2)!"},
        {"open", [&] { cIOExceptions::throwUnableOpenFile(oCause, sFile); },
         "cRuntimeException: Unable to open file \"/d/f\"! | cRuntimeException: cause"},
        {"write file", [&] { cIOExceptions::throwUnableWriteFile(oCause, sFile); },
         "cRuntimeException: Unable to write to file \"/d/f\"! | cRuntimeException: cause"},
        {"read file", [&] { cIOExceptions::throwUnableReadFile(oCause, sFile); },
         "cRuntimeException: Unable to read from file \"/d/f\"! | cRuntimeException: cause"},
        {"remove", [&] { cIOExceptions::throwUnableRemoveFile(oCause, sFile); },
         "cRuntimeException: Unable to remove file \"/d/f\"! | cRuntimeException: cause"},
        {"create", [&] { cIOExceptions::throwUnableCreatePath(oCause, sFile); },
         "cRuntimeException: Unable to remove file /d/f! | cRuntimeException: cause"},
        {"eof", [&] { cIOExceptions::throwEndOfFile(sFile); },
         "cBugException: End of file \"/d/f\" reached!"},
        {"zero", [&] { cIOExceptions::throwPathContainsZero(sFile); },
         "cRuntimeException: Invalid path \"/d/f\": it contains a zero character!"},
        {"view", [&] { cIOExceptions::throwTooLargeForArrayView(sFile, 1ULL << 33); },
         "cRuntimeException: File \"/d/f\" of 8589934592 bytes is too large for its array view!"},
        {"insert", [] { cIOExceptions::throwInsertInMiddle(); },
         "cBugException: Insertion anywhere in the middle of file is not supported yet - sorry!"},
        {"erase", [] { cIOExceptions::throwEraseInMiddle(); },
         "cBugException: Data remove anywhere in the middle of file is not supported yet - sorry!"},
        {"set size", [] { cIOExceptions::throwSetSizeNotImplemented(); },
         "cBugException: Not implemented: cAbstractIOBlockDevice::setSize()"},
        {"bind", [] { cIOExceptions::throwBindNotSupported(); },
         "cBugException: Bind / unbind not supported for filesystem implementation!"},
        {"no fs", [&] { cIOExceptions::throwNoFilesystem(sFile); },
         "cBugException: ProxyFs has not valid filesystem for /d/f and no registered filesystems "
         "at all!"},
        {"across", [&] { cIOExceptions::throwAcrossFilesystems(sFile, cString("/e")); },
         "cRuntimeException: Rename across filesystem boundaries is not supported (/d/f -> /e"},
        {"in use", [&] { cIOExceptions::throwFilesystemInUse(sFile); },
         "cRuntimeException: Filesystem (/d/f) is in use!"},
        {"not a dir", [&] { cIOExceptions::throwNotADirectory(cString("f"), sFile); },
         "cRuntimeException: Unable to remove file /d/f! | cRuntimeException: Item \"f\" is not a "
         "directory!"},
        {"mmap rw", [] { cIOExceptions::throwMMapReadWrite(); },
         "cRuntimeException: MMAP not supported in r/w mode!"},
        {"mapped", [] { cIOExceptions::throwAlreadyMapped(); },
         "cRuntimeException: File is already memory mapped!"},
    });
}
