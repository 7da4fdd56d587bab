// ioexceptions.cpp - the throw family of the file I/O layer.
// SPDX-License-Identifier: MIT
#include "qor_core/io/ioexceptions.h"
#include "qor_core/std/exception.h"
#include "qor_core/ucs/limessage.h"

namespace qio {

namespace {

[[noreturn]] void throwRuntime(const qucs::cLIMessage& oMsg)
{
    throw qstd::cRuntimeException(oMsg, nullptr, 0);
}

[[noreturn]] void throwBug(const qucs::cLIMessage& oMsg)
{
    throw qstd::cBugException(oMsg, nullptr, 0);
}

[[noreturn]] void throwWithCause(const char* pTemplate, const qucs::cString& sValue,
                                 const qstd::cAbstractException& oCause)
{
    qucs::cLIMessage oMsg;
    oMsg << pTemplate << sValue;
    qstd::cRuntimeException oException(oMsg, nullptr, 0);
    oException.link(oCause);
    throw oException;
}

} // namespace

void cIOExceptions::throwRelativePathUnderrun(const qucs::cString& sPath)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Invalid path \"%path%\"!" << sPath;
    throwRuntime(oMsg);
}

void cIOExceptions::throwIOTimeout(unsigned iMSec)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Timeout while i/o operation after %time% milliseconds!" << iMSec;
    throwRuntime(oMsg);
}

void cIOExceptions::throwUnableToWrite(unsigned long long iBytes)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Unable to write %bytes% bytes!" << iBytes;
    throwRuntime(oMsg);
}

void cIOExceptions::throwUnableToRead(unsigned long long iBytes)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Unable to read %bytes% bytes!" << iBytes;
    throwRuntime(oMsg);
}

void cIOExceptions::throwUnableToReadOddAmountOfData(unsigned long long iBytes,
                                                     unsigned iElementSize)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Unable to read odd amount of data (%bytes% bytes but element size is "
            "%elementSize%)!"
         << iBytes << iElementSize;
    throwRuntime(oMsg);
}

void cIOExceptions::throwUnableOpenFile(const qstd::cAbstractException& oCause,
                                        const qucs::cString& sFile)
{
    throwWithCause("$MTR$Unable to open file \"%file%\"!", sFile, oCause);
}

void cIOExceptions::throwUnableWriteFile(const qstd::cAbstractException& oCause,
                                         const qucs::cString& sFile)
{
    throwWithCause("$MTR$Unable to write to file \"%file%\"!", sFile, oCause);
}

void cIOExceptions::throwUnableReadFile(const qstd::cAbstractException& oCause,
                                        const qucs::cString& sFile)
{
    throwWithCause("$MTR$Unable to read from file \"%file%\"!", sFile, oCause);
}

void cIOExceptions::throwUnableRemoveFile(const qstd::cAbstractException& oCause,
                                          const qucs::cString& sFile)
{
    throwWithCause("$MTR$Unable to remove file \"%file%\"!", sFile, oCause);
}

void cIOExceptions::throwUnableCreatePath(const qstd::cAbstractException& oCause,
                                          const qucs::cString& sPath)
{
    throwWithCause("$MTR$Unable to remove file %file%!", sPath, oCause);
}

void cIOExceptions::throwEndOfFile(const qucs::cString& sFile)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$End of file \"%file%\" reached!" << sFile;
    throwBug(oMsg);
}

void cIOExceptions::throwPathContainsZero(const qucs::cString& sPath)
{
    qucs::cString sShown;
    for (unsigned i = 0; i < sPath.length(); ++i)
        if (sPath[i] != 0)
            sShown += sPath[i];
        else
            sShown.appendC("\\0");
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Invalid path \"%path%\": it contains a zero character!" << sShown;
    throwRuntime(oMsg);
}

void cIOExceptions::throwTooLargeForArrayView(const qucs::cString& sName, unsigned long long iBytes)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$File \"%file%\" of %bytes% bytes is too large for its array view!" << sName
         << iBytes;
    throwRuntime(oMsg);
}

void cIOExceptions::throwInsertInMiddle()
{
    throwBug(qucs::cLIMessage::fromTemplate(
        "$MTR$Insertion anywhere in the middle of file is not supported yet - sorry!"));
}

void cIOExceptions::throwEraseInMiddle()
{
    throwBug(qucs::cLIMessage::fromTemplate(
        "$MTR$Data remove anywhere in the middle of file is not supported yet - sorry!"));
}

void cIOExceptions::throwSetSizeNotImplemented()
{
    throwBug(
        qucs::cLIMessage::fromTemplate("$MTR$Not implemented: cAbstractIOBlockDevice::setSize()"));
}

void cIOExceptions::throwBindNotSupported()
{
    throwBug(qucs::cLIMessage::fromTemplate(
        "$MTR$Bind / unbind not supported for filesystem implementation!"));
}

void cIOExceptions::throwNoFilesystem(const qucs::cString& sPath)
{
    if (sPath.empty())
        throwBug(qucs::cLIMessage::fromTemplate("$MTR$ProxyFs has not valid filesystems!"));
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$ProxyFs has not valid filesystem for %path% and no registered filesystems at "
            "all!"
         << sPath;
    throwBug(oMsg);
}

void cIOExceptions::throwAcrossFilesystems(const qucs::cString& sFrom, const qucs::cString& sTo)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Rename across filesystem boundaries is not supported (%sFrom% -> %sTo&!" << sFrom
         << sTo;
    throwRuntime(oMsg);
}

void cIOExceptions::throwFilesystemInUse(const qucs::cString& sPath)
{
    if (sPath.empty())
        throwRuntime(qucs::cLIMessage::fromTemplate("$MTR$Native filesystem  is in use!"));
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Filesystem (%s%) is in use!" << sPath;
    throwRuntime(oMsg);
}

void cIOExceptions::throwNotADirectory(const qucs::cString& sItem, const qucs::cString& sPath)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Item \"%en%\" is not a directory!" << sItem;
    throwUnableCreatePath(qstd::cRuntimeException(oMsg, nullptr, 0), sPath);
}

void cIOExceptions::throwMMapReadWrite()
{
    throwRuntime(qucs::cLIMessage::fromTemplate("$MTR$MMAP not supported in r/w mode!"));
}

void cIOExceptions::throwAlreadyMapped()
{
    throwRuntime(qucs::cLIMessage::fromTemplate("$MTR$File is already memory mapped!"));
}

} // namespace qio
