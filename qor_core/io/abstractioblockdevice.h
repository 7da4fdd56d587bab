// abstractioblockdevice.h - qio::cAbstractIOBlockDevice, the seekable device that is
// also an array proxy, and qio::cIOBlockDeviceImpl, its cache window.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_IO_ABSTRACTIOBLOCKDEVICE_H
#define QOR_CORE_IO_ABSTRACTIOBLOCKDEVICE_H

#include "qor_core/io/abstractiodevice.h"
#include "qor_core/io/iomodes.h"
#include "qor_core/std/autoptr.h"
#include "qor_core/ucs/string.h"

namespace qio {

class cAbstractIOBlockDevice;

/// The cache window of a block device: up to 64 KiB of the device's bytes from the
/// cache position on. Positions and the cached size are 64-bit. Bytes changed
/// through the window are dirty until they are written back, which happens before
/// the window moves, before the device is read as a stream or written past the
/// window, and on flush(). Every access keeps the device's stream position.
///
/// The window also collects small stream writes (deferWrite): a device that
/// defers a write moves its stream position on at once and leaves the bytes dirty
/// in the window, so that a run of small writes reaches the device as one large
/// write. The bytes count as the device's from then on: the array view reads them
/// from the window, and everything that looks at the device itself (stream reads,
/// measuring the size, seeking from the end, truncating, copying, closing) writes
/// them back first.
///
/// Invariant: when valid, moData holds exactly the device bytes
/// [miCachePos, miCachePos + length) as read (or as changed, when dirty); a window
/// that reaches the end of the device is cut there, so bytes past the end are never
/// handed out. Deferred bytes may reach past the end the device reports until
/// they are written back; they are the device's end then.
class QOR_EXPORT cIOBlockDeviceImpl
{
public:
    enum
    {
        kWindowSize = 65536
    };

    explicit cIOBlockDeviceImpl(cAbstractIOBlockDevice& oDevice);
    /// A copy serving oDevice. Cached bytes are taken over only when they are clean,
    /// so that changed bytes are never written back twice.
    cIOBlockDeviceImpl(const cIOBlockDeviceImpl& oOther, cAbstractIOBlockDevice& oDevice);
    cIOBlockDeviceImpl(const cIOBlockDeviceImpl&) = delete;
    cIOBlockDeviceImpl& operator=(const cIOBlockDeviceImpl&) = delete;

    /// Makes [iPos, iPos + iCount) cached as far as the device reaches and returns
    /// the index of iPos in the cached bytes.
    unsigned cacheLocation(unsigned long long iPos, unsigned iCount);
    /// The byte at iPos; at or past the end the index error of the containers.
    const char& readAt(unsigned long long iPos)
    {
        // Inside the window: no call (the array view reads byte by byte).
        if (!mbInvalid && iPos >= miCachePos && iPos - miCachePos < moData.length())
            return moData[unsigned(iPos - miCachePos)];
        return readAtMoved(iPos);
    }
    /// A writable reference to the byte at iPos, which becomes dirty.
    char& toModifyAt(unsigned long long iPos);
    /// Pointer to the iCount cached bytes at iPos (null for 0); a range that passes
    /// the end is the index error of the containers.
    const char* provideData(unsigned long long iPos, unsigned iCount);

    /// Takes the stream write of iCount bytes (at most kWindowSize) at iPos into the
    /// window, which then holds them dirty. They join a dirty window that they start
    /// inside of or right behind, as far as it stays within kWindowSize bytes;
    /// otherwise a dirty window is written back first and the bytes start a window of
    /// their own (a clean window is dropped: it may hold bytes older than the
    /// device's, which a write-back would restore). pSource may point into the
    /// window. When the write-back fails, the exception passes and nothing changed.
    void deferWrite(unsigned long long iPos, const char* pSource, unsigned iCount);
    /// Writes dirty bytes back; they stay dirty when that fails.
    void flush();
    /// Forgets the cached bytes (dirty ones included).
    void invalidate();
    bool isDirty() const { return mbDirty; }
    bool isValid() const { return !mbInvalid; }
    bool isWritingBack() const { return mbWritingBack; }
    unsigned long long cachePosition() const { return miCachePos; }
    unsigned cachedLength() const { return moData.length(); }

    unsigned preferredBlockSize() const { return miPreferredBlockSize; }
    void setPreferredBlockSize(unsigned iSize) { miPreferredBlockSize = iSize; }
    unsigned long long cachedSize() const { return miCachedSize; }
    void setCachedSize(unsigned long long iSize) { miCachedSize = iSize; }

    /// Points the cache at another device (after devices swapped their caches).
    void setDevice(cAbstractIOBlockDevice& oDevice) { mpDevice = &oDevice; }

private:
    cAbstractIOBlockDevice& device() const;
    const char& readAtMoved(unsigned long long iPos);

    cAbstractIODevice::tCharArray moData;
    cAbstractIOBlockDevice* mpDevice; ///< not owned: the device owns this cache
    unsigned long long miCachePos;    ///< device position of moData[0]
    bool mbInvalid;                   ///< moData means nothing
    bool mbDirty;                     ///< moData holds changes not yet written back
    unsigned miPreferredBlockSize;    ///< reported to array windows
    unsigned long long miCachedSize;  ///< the device's size; 0 = not measured
    bool mbWritingBack;               ///< flush() is writing moData to the device
};

/// A byte-addressable, seekable device that is at the same time an array proxy of
/// chars, so that array windows and algorithms work on its contents. The array
/// view addresses 32-bit positions; a larger device refuses it with a clear
/// exception. Stream positions and sizes are 64-bit.
///
/// The stream operations of derived devices call beforeStreamRead() and
/// beforeStreamWrite(), which keep the cache window and the stream coherent. A
/// derived device may instead hand small stream writes to the window
/// (cache().deferWrite) after moving its position past them; it then writes the
/// window back before it measures its end (a seek from the end) and before it
/// closes.
class QOR_EXPORT cAbstractIOBlockDevice : public cAbstractIODevice,
                                          public qstd::tAbstractArrayProxy<char>
{
public:
    cAbstractIOBlockDevice();
    cAbstractIOBlockDevice(const cAbstractIOBlockDevice& oOther);
    ~cAbstractIOBlockDevice() override;
    cAbstractIOBlockDevice& operator=(const cAbstractIOBlockDevice&) = delete;

    virtual qucs::cString name() const = 0;
    virtual void seek(long long iOffset, SeekMode eMode) = 0;
    virtual unsigned long long pos() const = 0;
    virtual void truncate(unsigned long long iSize) = 0;
    /// Maps the device into memory read-only and returns the address.
    virtual const char* mmap() = 0;
    /// pos() >= size().
    virtual bool eof() const;
    /// Not supported by default: throws cBugException.
    virtual void setSize(unsigned long long iSize);

    /// The size, measured by seeking to the end when it is not known yet or bForce
    /// is set. A size of 0 is never kept.
    unsigned long long size(bool bForce = false) const;
    /// Forgets the measured size.
    void touchSize() { mpCache->setCachedSize(0); }
    unsigned long long bytesLeft() const { return size() - pos(); }
    /// Writes back a dirty cache window.
    void flush() { mpCache->flush(); }
    void setPreferredBlockSize(unsigned iSize) { mpCache->setPreferredBlockSize(iSize); }
    cIOBlockDeviceImpl& cache() { return *mpCache; }

    // --- array view ---------------------------------------------------------
    using qstd::tAbstractArrayProxy<char>::proxyAt;
    const char& proxyAt(unsigned iIndex) const override;
    char& proxyAt(unsigned iIndex) override;
    /// size(), refused with a clear exception above the 32-bit range.
    unsigned proxyLength() const override;
    /// Reads the device directly (after writing back a dirty window).
    void proxyCopyPartTo(char* pTarget, unsigned iStart, unsigned iCount) const override;
    const char* proxyProvideData(unsigned iStart, unsigned iCount) const override;
    unsigned proxyPreferredBlockSize() const override;
    /// Overwrites existing bytes; a range past the end is out of range.
    void proxyPatchData(const char* pSource, unsigned iStart, unsigned iCount) override;
    void proxySetSize(unsigned iSize) override;
    /// Appends at the end; anywhere else the insertion cBugException.
    void proxyInsert(unsigned iAt, const char* pSource, unsigned iCount) override;
    /// Appends zero bytes at the end; anywhere else the insertion cBugException.
    void proxyInsertDefaultObjects(unsigned iAt, unsigned iCount) override;
    /// Only the last bytes can be erased (the device is truncated).
    void proxyErase(unsigned iStart, unsigned iCount) override;
    qstd::tAbstractArrayProxy<char>* proxyPhysical(unsigned& iOffset) override;
    const qstd::tAbstractConstArrayProxy<char>*
    constProxyPhysical(unsigned& iOffset) const override;

protected:
    /// Before a stream read: writes back a dirty window so that the read sees it.
    void beforeStreamRead();
    /// Before a stream write or truncation: writes back a dirty window (so that it
    /// can never overwrite the newer bytes later) and forgets the window.
    void beforeStreamWrite();
    /// Exchanges the caches of two devices.
    void swapCache(cAbstractIOBlockDevice& oOther);

private:
    /// Writes all of iCount bytes at iStart in at most four calls, keeping the
    /// stream position.
    void writeAt(unsigned long long iStart, const char* pSource, unsigned long long iCount);

    qstd::tAutoPtr<cIOBlockDeviceImpl> mpCache; ///< owned; never null
};

} // namespace qio

#endif // QOR_CORE_IO_ABSTRACTIOBLOCKDEVICE_H
