// abstractioblockdevice.cpp - qio::cAbstractIOBlockDevice and its cache window.
// SPDX-License-Identifier: MIT
#include "qor_core/io/abstractioblockdevice.h"
#include "qor_core/io/ioexceptions.h"
#include "qor_core/pi/debug.h"
#include "qor_core/std/bounds.h"

#include <cstring>

namespace qio {

namespace {

/// Runs fWork with the device's stream position saved and restored afterwards,
/// also when fWork throws (the first exception wins).
template <class F> void keepingPosition(cAbstractIOBlockDevice& oDevice, F fWork)
{
    unsigned long long iSaved = oDevice.pos();
    try {
        fWork();
    } catch (...) {
        try {
            oDevice.seek((long long)iSaved, SeekFromStart);
        } catch (...) {
        }
        throw;
    }
    oDevice.seek((long long)iSaved, SeekFromStart);
}

} // namespace

// --- cIOBlockDeviceImpl -----------------------------------------------------

cIOBlockDeviceImpl::cIOBlockDeviceImpl(cAbstractIOBlockDevice& oDevice)
    : moData(kWindowSize), mpDevice(&oDevice), miCachePos(0), mbInvalid(true), mbDirty(false),
      miPreferredBlockSize(kWindowSize), miCachedSize(0), mbWritingBack(false)
{
    moData.setGrowStep(14);
    // The storage stays when the window shrinks or is forgotten: the next window
    // needs it again.
    moData.setFitOnErase(false);
    moData.clear();
}

cIOBlockDeviceImpl::cIOBlockDeviceImpl(const cIOBlockDeviceImpl& oOther,
                                       cAbstractIOBlockDevice& oDevice)
    : mpDevice(&oDevice), miCachePos(oOther.miCachePos), mbInvalid(true), mbDirty(false),
      miPreferredBlockSize(oOther.miPreferredBlockSize), miCachedSize(oOther.miCachedSize),
      mbWritingBack(false)
{
    moData.setGrowStep(14);
    moData.setFitOnErase(false);
    if (!oOther.mbInvalid && !oOther.mbDirty) {
        moData = oOther.moData;
        mbInvalid = false;
    }
}

cAbstractIOBlockDevice& cIOBlockDeviceImpl::device() const
{
    QOR_ASSERT_TEXT(mpDevice != nullptr, "mpDevice != 0");
    return *mpDevice;
}

unsigned cIOBlockDeviceImpl::cacheLocation(unsigned long long iPos, unsigned iCount)
{
    if (!mbInvalid && iPos >= miCachePos && iPos - miCachePos <= moData.length() &&
        iCount <= moData.length() - (iPos - miCachePos))
        return unsigned(iPos - miCachePos);
    flush();
    cAbstractIOBlockDevice& oDevice = device();
    unsigned long long iLength = iCount > unsigned(kWindowSize) ? iCount : unsigned(kWindowSize);
    unsigned long long iSize = oDevice.size();
    if (iPos >= iSize)
        iLength = 0;
    else if (iLength > iSize - iPos)
        iLength = iSize - iPos;
    // From here on the old window means nothing, whatever happens.
    mbInvalid = true;
    miCachePos = iPos;
    if (iLength == 0) {
        moData.clear();
        return 0;
    }
    // A window made larger than usual for one request gives its storage back.
    if (iLength <= unsigned(kWindowSize) && moData.poolSize() > unsigned(kWindowSize))
        moData.clear();
    moData.setSize(unsigned(iLength));
    unsigned iRead = 0;
    keepingPosition(oDevice, [&] {
        oDevice.seek((long long)iPos, SeekFromStart);
        while (iRead < iLength) {
            unsigned long long iGot = oDevice.read(moData.data() + iRead, iLength - iRead);
            if (iGot == 0)
                break;
            iRead += unsigned(iGot);
        }
    });
    // A device that turned out shorter than measured shows only what was read.
    moData.setSize(iRead);
    mbInvalid = false;
    mbDirty = false;
    return 0;
}

const char& cIOBlockDeviceImpl::readAtMoved(unsigned long long iPos)
{
    return moData.at(cacheLocation(iPos, 1));
}

char& cIOBlockDeviceImpl::toModifyAt(unsigned long long iPos)
{
    char& c = moData.at(cacheLocation(iPos, 1));
    mbDirty = true;
    return c;
}

const char* cIOBlockDeviceImpl::provideData(unsigned long long iPos, unsigned iCount)
{
    if (iCount == 0)
        return nullptr;
    return moData.data(cacheLocation(iPos, iCount), iCount);
}

void cIOBlockDeviceImpl::deferWrite(unsigned long long iPos, const char* pSource, unsigned iCount)
{
    QOR_ASSERT_TEXT(iCount <= unsigned(kWindowSize), "iCount <= kWindowSize");
    if (iCount == 0)
        return;
    // Bytes the array view handed out live in the window's storage, which can move.
    const char* pPool = moData.data(true);
    if (pPool && pSource < pPool + moData.poolSize() && pSource + iCount > pPool) {
        cAbstractIODevice::tCharArray oCopy(pSource, iCount);
        deferWrite(iPos, oCopy.data(), iCount);
        return;
    }
    bool bJoins = !mbInvalid && mbDirty && iPos >= miCachePos &&
                  iPos - miCachePos <= moData.length() &&
                  iPos - miCachePos + iCount <= unsigned(kWindowSize);
    if (!bJoins) {
        flush();
        mbInvalid = true;
        mbDirty = false;
        miCachePos = iPos;
        moData.setSize(0);
    }
    unsigned iAt = unsigned(iPos - miCachePos);
    if (iAt + iCount > moData.length()) {
        if (moData.poolSize() < unsigned(kWindowSize))
            moData.setSize(kWindowSize); // the whole window at once, not step by step
        moData.setSize(iAt + iCount);
    }
    std::memcpy(moData.data() + iAt, pSource, iCount);
    mbInvalid = false;
    mbDirty = true;
    if (miCachedSize != 0 && iPos + iCount > miCachedSize)
        miCachedSize = iPos + iCount;
}

void cIOBlockDeviceImpl::flush()
{
    if (!mbDirty || mbWritingBack)
        return;
    cAbstractIOBlockDevice& oDevice = device();
    struct cWritingBack
    {
        bool& mbFlag;
        explicit cWritingBack(bool& bFlag) : mbFlag(bFlag) { mbFlag = true; }
        ~cWritingBack() { mbFlag = false; }
    } oGuard(mbWritingBack);
    keepingPosition(oDevice, [&] {
        oDevice.seek((long long)miCachePos, SeekFromStart);
        unsigned iLength = moData.length();
        if (iLength && oDevice.write(moData.data(), iLength) != iLength)
            cIOExceptions::throwUnableToWrite(iLength);
    });
    mbDirty = false;
}

void cIOBlockDeviceImpl::invalidate()
{
    mbInvalid = true;
    mbDirty = false;
    moData.setSize(0);
}

// --- cAbstractIOBlockDevice -------------------------------------------------

cAbstractIOBlockDevice::cAbstractIOBlockDevice() : mpCache(new cIOBlockDeviceImpl(*this)) {}

cAbstractIOBlockDevice::cAbstractIOBlockDevice(const cAbstractIOBlockDevice& oOther)
    : cAbstractIODevice(oOther), qstd::tAbstractArrayProxy<char>(oOther),
      mpCache(new cIOBlockDeviceImpl(*oOther.mpCache, *this))
{
}

cAbstractIOBlockDevice::~cAbstractIOBlockDevice() {}

bool cAbstractIOBlockDevice::eof() const
{
    return pos() >= size();
}

void cAbstractIOBlockDevice::setSize(unsigned long long)
{
    cIOExceptions::throwSetSizeNotImplemented();
}

unsigned long long cAbstractIOBlockDevice::size(bool bForce) const
{
    if (!bForce && mpCache->cachedSize() != 0)
        return mpCache->cachedSize();
    cAbstractIOBlockDevice& oSelf = const_cast<cAbstractIOBlockDevice&>(*this);
    unsigned long long iSize = 0;
    keepingPosition(oSelf, [&] {
        oSelf.seek(0, SeekFromEnd);
        iSize = pos();
    });
    mpCache->setCachedSize(iSize);
    return iSize;
}

const char& cAbstractIOBlockDevice::proxyAt(unsigned iIndex) const
{
    return mpCache->readAt(iIndex);
}

char& cAbstractIOBlockDevice::proxyAt(unsigned iIndex)
{
    return mpCache->toModifyAt(iIndex);
}

unsigned cAbstractIOBlockDevice::proxyLength() const
{
    unsigned long long iSize = size();
    if (iSize > 0xffffffffULL)
        cIOExceptions::throwTooLargeForArrayView(name(), iSize);
    return unsigned(iSize);
}

void cAbstractIOBlockDevice::proxyCopyPartTo(char* pTarget, unsigned iStart, unsigned iCount) const
{
    if (iCount == 0)
        return;
    cAbstractIOBlockDevice& oSelf = const_cast<cAbstractIOBlockDevice&>(*this);
    oSelf.beforeStreamRead();
    keepingPosition(oSelf, [&] {
        oSelf.seek(iStart, SeekFromStart);
        unsigned long long iDone = 0;
        for (unsigned iCall = 1; iDone < iCount; ++iCall) {
            if (iCall == 5)
                cIOExceptions::throwUnableToRead(iCount);
            iDone += oSelf.read(pTarget + iDone, iCount - iDone);
        }
    });
}

const char* cAbstractIOBlockDevice::proxyProvideData(unsigned iStart, unsigned iCount) const
{
    return mpCache->provideData(iStart, iCount);
}

unsigned cAbstractIOBlockDevice::proxyPreferredBlockSize() const
{
    return mpCache->preferredBlockSize();
}

void cAbstractIOBlockDevice::writeAt(unsigned long long iStart, const char* pSource,
                                     unsigned long long iCount)
{
    if (iCount == 0)
        return;
    beforeStreamWrite();
    keepingPosition(*this, [&] {
        seek((long long)iStart, SeekFromStart);
        unsigned long long iDone = 0;
        for (unsigned iCall = 1; iDone < iCount; ++iCall) {
            if (iCall == 5)
                cIOExceptions::throwUnableToWrite(iCount);
            iDone += write(pSource + iDone, iCount - iDone);
        }
    });
}

void cAbstractIOBlockDevice::proxyPatchData(const char* pSource, unsigned iStart, unsigned iCount)
{
    qstd::tBounds::startSize2End(proxyLength(), iStart, iCount, "cAbstractIOBlockDevice",
                                 "proxyPatchData");
    writeAt(iStart, pSource, iCount);
}

void cAbstractIOBlockDevice::proxySetSize(unsigned iSize)
{
    setSize(iSize);
}

void cAbstractIOBlockDevice::proxyInsert(unsigned iAt, const char* pSource, unsigned iCount)
{
    unsigned long long iSize = size();
    if (iAt != iSize)
        cIOExceptions::throwInsertInMiddle();
    if (iSize + iCount > 0xffffffffULL)
        cIOExceptions::throwTooLargeForArrayView(name(), iSize + iCount);
    writeAt(iSize, pSource, iCount);
}

void cAbstractIOBlockDevice::proxyInsertDefaultObjects(unsigned iAt, unsigned iCount)
{
    unsigned long long iSize = size();
    if (iAt != iSize)
        cIOExceptions::throwInsertInMiddle();
    if (iSize + iCount > 0xffffffffULL)
        cIOExceptions::throwTooLargeForArrayView(name(), iSize + iCount);
    tCharArray oZeros(iCount < unsigned(cIOBlockDeviceImpl::kWindowSize)
                          ? iCount
                          : unsigned(cIOBlockDeviceImpl::kWindowSize));
    oZeros.fill(0);
    unsigned long long iDone = 0;
    while (iDone < iCount) {
        unsigned iChunk =
            iCount - iDone < oZeros.length() ? unsigned(iCount - iDone) : oZeros.length();
        writeAt(iSize + iDone, oZeros.data(), iChunk);
        iDone += iChunk;
    }
}

void cAbstractIOBlockDevice::proxyErase(unsigned iStart, unsigned iCount)
{
    unsigned long long iSize = size();
    QOR_DEBUG_LINE("AIOB-Erase at " << iStart << " / " << iCount << " => truncate at "
                                    << (unsigned long long)iStart + iCount << " / size: " << iSize);
    if ((unsigned long long)iStart + iCount != iSize)
        cIOExceptions::throwEraseInMiddle();
    truncate(iStart);
}

qstd::tAbstractArrayProxy<char>* cAbstractIOBlockDevice::proxyPhysical(unsigned& iOffset)
{
    iOffset = 0;
    return this;
}

const qstd::tAbstractConstArrayProxy<char>*
cAbstractIOBlockDevice::constProxyPhysical(unsigned& iOffset) const
{
    iOffset = 0;
    return this;
}

void cAbstractIOBlockDevice::beforeStreamRead()
{
    if (mpCache->isDirty() && !mpCache->isWritingBack())
        mpCache->flush();
}

void cAbstractIOBlockDevice::beforeStreamWrite()
{
    if (mpCache->isWritingBack())
        return;
    mpCache->flush();
    if (mpCache->isValid())
        mpCache->invalidate();
}

void cAbstractIOBlockDevice::swapCache(cAbstractIOBlockDevice& oOther)
{
    mpCache.swap(oOther.mpCache);
    mpCache->setDevice(*this);
    oOther.mpCache->setDevice(oOther);
}

} // namespace qio
