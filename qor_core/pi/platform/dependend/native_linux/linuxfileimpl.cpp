// linuxfileimpl.cpp - qpi::cLinuxFileImpl.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/platform/dependend/native_linux/linuxfileimpl.h"
#include "qor_core/io/abstractioblockdevice.h"
#include "qor_core/io/ioexceptions.h"
#include "qor_core/pi/debug.h"
#include "qor_core/pi/platform.h"
#include "qor_core/pi/platform/dependend/native_linux/linuxfsimpl.h"
#include "qor_core/std/exceptions.h"

#include <cerrno>
#include <cstdio>
#include <exception>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qpi {

namespace {
/// The error number of operations on a file that is not open.
const int kNotOpen = EBADFD;
} // namespace

cLinuxFileImpl::cLinuxFileImpl(const qio::cFs& oFs, qio::cAbstractIOBlockDevice& oDevice)
    : qio::cAbstractFileImpl(oFs, oDevice), miFd(-1), mbWritable(false), mbRemoveOnClose(false),
      mbDefersWrites(false), mpMap(nullptr), miMapLength(0)
{
}

cLinuxFileImpl::cLinuxFileImpl(const cLinuxFileImpl& oOther, qio::cAbstractIOBlockDevice& oDevice)
    : qio::cAbstractFileImpl(oOther.fs(), oDevice), miFd(-1), mbWritable(oOther.mbWritable),
      mbRemoveOnClose(oOther.mbRemoveOnClose), mbDefersWrites(false), msName(oOther.msName),
      mpMap(nullptr), miMapLength(0)
{
    if (oOther.miFd != -1) {
        miFd = ::dup(oOther.miFd);
        if (miFd == -1)
            throw qstd::cOSErrorException("dup", errno, msName);
        mbDefersWrites = oOther.mbDefersWrites;
    }
}

cLinuxFileImpl::~cLinuxFileImpl()
{
    try {
        flush();
    } catch (...) {
    }
    try {
        close();
    } catch (...) {
    }
}

qstd::tAutoPtr<qio::cAbstractFileImpl>
cLinuxFileImpl::deepCopy(qio::cAbstractIOBlockDevice& oDevice) const
{
    return qstd::tAutoPtr<qio::cAbstractFileImpl>(new cLinuxFileImpl(*this, oDevice));
}

ssize_t cLinuxFileImpl::sysRead(int iFd, void* pTarget, size_t iCount)
{
    return ::read(iFd, pTarget, iCount);
}

ssize_t cLinuxFileImpl::sysWrite(int iFd, const void* pSource, size_t iCount)
{
    return ::write(iFd, pSource, iCount);
}

long long cLinuxFileImpl::sysSeek(int iFd, long long iOffset, int iWhence) const
{
    return ::lseek64(iFd, iOffset, iWhence);
}

int cLinuxFileImpl::sysClose(int iFd)
{
    return ::close(iFd);
}

int cLinuxFileImpl::sysRename(const char* pFrom, const char* pTo)
{
    return ::rename(pFrom, pTo);
}

void cLinuxFileImpl::remove()
{
    qstd::tArray<char> oName;
    linuxEncodePath(fs().endec(), msName, oName);
    if (::unlink(oName.data()) != 0)
        throw qstd::cOSErrorException("unlink", errno, msName);
}

void cLinuxFileImpl::rename(const qucs::cString& sTo)
{
    qstd::tArray<char> oFrom, oTo;
    linuxEncodePath(fs().endec(), msName, oFrom);
    linuxEncodePath(fs().endec(), sTo, oTo);
    if (sysRename(oFrom.data(), oTo.data()) != 0)
        throw qstd::cOSErrorException("rename", errno, msName);
    msName = sTo;
}

void cLinuxFileImpl::rename(const qucs::cString& sFrom, const qucs::cString& sTo,
                            const qucs::cAbstractEnDec& oEnDec)
{
    qstd::tArray<char> oFrom, oTo;
    linuxEncodePath(oEnDec, sFrom, oFrom);
    linuxEncodePath(oEnDec, sTo, oTo);
    if (::rename(oFrom.data(), oTo.data()) != 0)
        throw qstd::cOSErrorException("rename", errno, sFrom);
}

qstd::cDateTime cLinuxFileImpl::lastModified() const
{
    struct stat64 oStat;
    if (::fstat64(miFd, &oStat) != 0)
        throw qstd::cOSErrorException("stat", errno);
    return qstd::cDateTime(qstd::cTime((unsigned long long)oStat.st_mtime * 1000000ULL),
                           qstd::cDateTime::ZoneInfo(0));
}

void cLinuxFileImpl::open(const qucs::cString& sPath, qio::OpenMode eOpen, qio::CreateMode eCreate,
                          qio::WriteMode eWrite, bool bFollowLinks)
{
    close();
    qstd::tArray<char> oName;
    linuxEncodePath(fs().endec(), sPath, oName);
    int iFlags = O_LARGEFILE | O_CLOEXEC;
    if (!bFollowLinks)
        iFlags |= O_NOFOLLOW;
    bool bWritable = eOpen == qio::WriteOnly || eOpen == qio::ReadWrite;
    if (eOpen == qio::WriteOnly)
        iFlags |= O_WRONLY;
    else if (eOpen == qio::ReadWrite)
        iFlags |= O_RDWR;
    if (bWritable) {
        if (eCreate == qio::CreateIfMissing || eCreate == qio::CreateOrOpen)
            iFlags |= O_CREAT;
        if (eWrite == qio::Append)
            iFlags |= O_APPEND;
        else if (eWrite == qio::Truncate)
            iFlags |= O_TRUNC;
    }
    int iFd;
    do
        iFd = ::open(oName.data(), iFlags, 0644);
    while (iFd == -1 && errno == EINTR);
    if (iFd == -1)
        throw qstd::cOSErrorException("open", errno, sPath);
    // Writes can wait only where positions mean something and stay: not on an
    // appending file (the system picks the end), a pipe, a socket or a device.
    struct stat64 oStat;
    bool bRegular = ::fstat64(iFd, &oStat) == 0 && S_ISREG(oStat.st_mode);
    miFd = iFd;
    mbWritable = bWritable;
    mbDefersWrites = bWritable && bRegular && eWrite != qio::Append;
    msName = sPath;
}

void cLinuxFileImpl::close()
{
    bd().touchSize();
    munmap();
    if (miFd != -1) {
        std::exception_ptr pWriteBack;
        if (mbWritable) {
            try {
                bd().flush();
            } catch (...) {
                pWriteBack = std::current_exception();
            }
        }
        // The descriptor is released whatever happened before or happens now: Linux
        // frees it also when close() reports an error.
        int iResult = sysClose(miFd);
        int iError = errno;
        miFd = -1;
        mbWritable = false;
        mbDefersWrites = false;
        if (pWriteBack)
            std::rethrow_exception(pWriteBack);
        if (iResult != 0)
            throw qstd::cOSErrorException("close", iError);
    }
    if (mbRemoveOnClose && !msName.empty()) {
        // Once only: the name may belong to another file later on.
        mbRemoveOnClose = false;
        remove();
    }
}

void cLinuxFileImpl::transferFailed(const char* pCall, unsigned long long iRequested,
                                    unsigned long long iBlock, long long iResult)
{
    int iError = errno;
    if (pCall[0] == 'r')
        QOR_DEBUG_LINE("Error in cLinuxFileImpl::readBytes(char* pDst, piUInt64 iMax) "
                       << msName << " /Max: " << iRequested << " /Block: " << iBlock
                       << " /R: " << iResult << " / " << cPlatform().osFileIOErrorString(iError));
    throw qstd::cOSErrorException(pCall, iError);
}

unsigned long long cLinuxFileImpl::readBytes(char* pTarget, unsigned long long iMax)
{
    if (miFd == -1)
        throw qstd::cOSErrorException("read", kNotOpen);
    unsigned long long iDone = 0;
    int iInterruptions = 3;
    while (iDone < iMax) {
        unsigned long long iBlock = iMax - iDone < (unsigned long long)kBlockSize
                                        ? iMax - iDone
                                        : (unsigned long long)kBlockSize;
        ssize_t iResult = sysRead(miFd, pTarget + iDone, size_t(iBlock));
        if (iResult < 0) {
            if (errno == EINTR && --iInterruptions > 0)
                continue;
            if (errno == EINTR)
                break;
            transferFailed("read", iMax, iBlock, iResult);
        }
        iDone += (unsigned long long)iResult;
        if ((unsigned long long)iResult < iBlock)
            break;
    }
    return iDone;
}

unsigned long long cLinuxFileImpl::writeBytes(const char* pSource, unsigned long long iCount)
{
    bd().touchSize();
    if (miFd == -1)
        throw qstd::cOSErrorException("write", kNotOpen);
    unsigned long long iDone = 0;
    int iInterruptions = 3;
    while (iDone < iCount) {
        unsigned long long iBlock = iCount - iDone < (unsigned long long)kBlockSize
                                        ? iCount - iDone
                                        : (unsigned long long)kBlockSize;
        ssize_t iResult = sysWrite(miFd, pSource + iDone, size_t(iBlock));
        if (iResult < 0) {
            if (errno == EINTR && --iInterruptions > 0)
                continue;
            if (errno == EINTR)
                break;
            transferFailed("write", iCount, iBlock, iResult);
        }
        iDone += (unsigned long long)iResult;
        if ((unsigned long long)iResult < iBlock)
            break;
    }
    return iDone;
}

void cLinuxFileImpl::seek(long long iOffset, qio::SeekMode eMode)
{
    if (miFd == -1)
        throw qstd::cOSErrorException("seek", kNotOpen);
    bd().touchSize();
    int iWhence = eMode == qio::SeekFromCurrent ? SEEK_CUR
                  : eMode == qio::SeekFromEnd   ? SEEK_END
                                                : SEEK_SET;
    if (sysSeek(miFd, iOffset, iWhence) < 0)
        throw qstd::cOSErrorException("seek", errno);
}

unsigned long long cLinuxFileImpl::skip(unsigned long long iCount)
{
    if (miFd == -1)
        throw qstd::cOSErrorException("seek", kNotOpen);
    long long iPos = sysSeek(miFd, (long long)iCount, SEEK_CUR);
    if (iPos < 0)
        throw qstd::cOSErrorException("seek", errno);
    return (unsigned long long)iPos;
}

unsigned long long cLinuxFileImpl::pos() const
{
    if (miFd == -1)
        throw qstd::cOSErrorException("seek", kNotOpen);
    long long iPos = sysSeek(miFd, 0, SEEK_CUR);
    if (iPos < 0)
        throw qstd::cOSErrorException("seek", errno);
    return (unsigned long long)iPos;
}

void cLinuxFileImpl::flush()
{
    bd().flush();
    if (miFd == -1)
        throw qstd::cOSErrorException("flush", kNotOpen);
}

void cLinuxFileImpl::truncate(unsigned long long iSize)
{
    if (miFd == -1)
        throw qstd::cOSErrorException("truncate", kNotOpen);
    if (::ftruncate64(miFd, (off64_t)iSize) != 0)
        throw qstd::cOSErrorException("truncate", errno);
    bd().touchSize();
}

const char* cLinuxFileImpl::mmap()
{
    if (mbWritable)
        qio::cIOExceptions::throwMMapReadWrite();
    if (mpMap)
        qio::cIOExceptions::throwAlreadyMapped();
    unsigned long long iLength = bd().size();
    if (iLength > (unsigned long long)(size_t)-1)
        throw qstd::cOSErrorException("mmap", EOVERFLOW);
    void* pMap = ::mmap(nullptr, size_t(iLength), PROT_READ, MAP_SHARED, miFd, 0);
    if (pMap == MAP_FAILED)
        throw qstd::cOSErrorException("mmap", errno);
    mpMap = pMap;
    miMapLength = iLength;
    return static_cast<const char*>(mpMap);
}

void cLinuxFileImpl::munmap()
{
    if (!mpMap)
        return;
    ::munmap(mpMap, size_t(miMapLength));
    mpMap = nullptr;
    miMapLength = 0;
}

} // namespace qpi
