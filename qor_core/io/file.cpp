// file.cpp - qio::cFile.
// SPDX-License-Identifier: MIT
#include "qor_core/io/file.h"
#include "qor_core/io/ioexceptions.h"
#include "qor_core/pi/system.h"
#include "qor_core/std/exception.h"

namespace qio {

namespace {

/// oFile with its dirty cache window written back, so that a copy made of it sees
/// the same bytes.
const cAbstractIOBlockDevice& writtenBack(const cFile& oFile)
{
    const_cast<cFile&>(oFile).cAbstractIOBlockDevice::flush();
    return oFile;
}

} // namespace

cFile::cFile(const cFs& oFs, const qucs::cString& sPath) : mpImpl(oFs.createFileImpl(*this, sPath))
{
}

cFile::cFile(const cFs& oFs, const qucs::cString& sPath, OpenMode eOpen, CreateMode eCreate,
             WriteMode eWrite)
    : mpImpl(oFs.createFileImpl(*this, sPath))
{
    open(sPath, eOpen, eCreate, eWrite, true);
}

cFile::cFile(const qucs::cString& sPath, OpenMode eOpen, CreateMode eCreate, WriteMode eWrite)
    : cFile(qpi::system().fs(), sPath, eOpen, eCreate, eWrite)
{
}

cFile::cFile(const char* pPath, OpenMode eOpen, CreateMode eCreate, WriteMode eWrite)
    : cFile(qpi::system().fs(), qucs::cString(pPath), eOpen, eCreate, eWrite)
{
}

cFile::cFile(const cFile& oOther)
    : cAbstractIOBlockDevice(writtenBack(oOther)), mpImpl(oOther.mpImpl->deepCopy(*this))
{
}

cFile& cFile::operator=(const cFile& oOther)
{
    if (this != &oOther) {
        // Bytes waiting for this file are written while a failure can still be told.
        cAbstractIOBlockDevice::flush();
        cFile oCopy(oOther);
        swap(oCopy);
    }
    return *this;
}

void cFile::swap(cFile& oOther)
{
    swapCache(oOther);
    mpImpl.swap(oOther.mpImpl);
    mpImpl->swapBD(*oOther.mpImpl);
}

cFile::~cFile()
{
    // The implementation closes the file when it goes; the window is written back
    // here first, while this object is still whole.
    try {
        cAbstractIOBlockDevice::flush();
    } catch (...) {
    }
    cache().invalidate();
    mpImpl.reset();
}

unsigned long long cFile::read(void* pTarget, unsigned long long iMax)
{
    beforeStreamRead();
    return mpImpl->readBytes(static_cast<char*>(pTarget), iMax);
}

unsigned long long cFile::write(const void* pSource, unsigned long long iCount)
{
    const char* pData = static_cast<const char*>(pSource);
    cIOBlockDeviceImpl& oCache = cache();
    // The write-back of the window itself goes through.
    if (oCache.isWritingBack())
        return mpImpl->writeBytes(pData, iCount);
    if (iCount >= kDeferLimit || !mpImpl->defersWrites()) {
        beforeStreamWrite();
        return mpImpl->writeBytes(pData, iCount);
    }
    if (iCount == 0)
        return 0;
    // The position moves on now, as if the bytes had been written, so that copies
    // sharing it and every later seek see it right; the bytes follow with the window.
    unsigned long long iPos = mpImpl->skip(iCount) - iCount;
    try {
        oCache.deferWrite(iPos, pData, unsigned(iCount));
    } catch (...) {
        // Nothing of this write happened.
        try {
            mpImpl->seek((long long)iPos, SeekFromStart);
        } catch (...) {
        }
        throw;
    }
    return iCount;
}

qucs::cString cFile::name() const
{
    return mpImpl->name();
}

void cFile::seek(long long iOffset, SeekMode eMode)
{
    // The end lies behind the bytes that wait in the window.
    if (eMode == SeekFromEnd)
        cAbstractIOBlockDevice::flush();
    mpImpl->seek(iOffset, eMode);
}

unsigned long long cFile::pos() const
{
    return mpImpl->pos();
}

void cFile::truncate(unsigned long long iSize)
{
    beforeStreamWrite();
    mpImpl->truncate(iSize);
    touchSize();
}

const char* cFile::mmap()
{
    const char* pData = mpImpl->mmap();
    setPreferredBlockSize(0);
    return pData;
}

void cFile::remove()
{
    mpImpl->remove();
}

void cFile::setRemoveOnClose()
{
    mpImpl->setRemoveOnClose();
}

void cFile::release()
{
    mpImpl->release();
}

void cFile::rename(const qucs::cString& sTo)
{
    // Whoever opens the new name finds every byte written so far.
    cAbstractIOBlockDevice::flush();
    mpImpl->rename(sTo);
}

qstd::cDateTime cFile::lastModified() const
{
    // Waiting bytes change the time stamp when they are written.
    const_cast<cFile&>(*this).cAbstractIOBlockDevice::flush();
    return mpImpl->lastModified();
}

void cFile::open(const qucs::cString& sPath, OpenMode eOpen, CreateMode eCreate, WriteMode eWrite,
                 bool bFollowLinks)
{
    try {
        mpImpl->open(sPath, eOpen, eCreate, eWrite, bFollowLinks);
    } catch (const qstd::cAbstractException& e) {
        cache().invalidate();
        touchSize();
        cIOExceptions::throwUnableOpenFile(e, sPath);
    }
    cache().invalidate();
    touchSize();
}

void cFile::close()
{
    try {
        mpImpl->close();
    } catch (...) {
        cache().invalidate();
        touchSize();
        throw;
    }
    cache().invalidate();
    touchSize();
}

void cFile::flush()
{
    mpImpl->flush();
}

} // namespace qio
