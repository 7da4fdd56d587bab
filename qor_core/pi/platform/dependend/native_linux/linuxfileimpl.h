// linuxfileimpl.h - qpi::cLinuxFileImpl, a file of the native Linux file system.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_NATIVE_LINUX_LINUXFILEIMPL_H
#define QOR_CORE_PI_NATIVE_LINUX_LINUXFILEIMPL_H

#include "qor_core/io/abstractfileimpl.h"

#include <sys/types.h>

namespace qpi {

/// A file descriptor of the kernel. -1 means closed (0 is a valid descriptor).
/// Positions and sizes are 64-bit (O_LARGEFILE, lseek64, ftruncate64). A copy made
/// by deepCopy holds a dup() of the descriptor and so shares the file offset.
///
/// The system calls that can fail in ways worth testing go through the protected
/// virtual sys...() functions, so that tests can inject failures with a chosen errno.
class QOR_EXPORT cLinuxFileImpl : public qio::cAbstractFileImpl
{
public:
    cLinuxFileImpl(const qio::cFs& oFs, qio::cAbstractIOBlockDevice& oDevice);
    cLinuxFileImpl(const cLinuxFileImpl& oOther, qio::cAbstractIOBlockDevice& oDevice);
    /// Writes back the device's cache and closes; failures are swallowed.
    ~cLinuxFileImpl() override;

    qstd::tAutoPtr<qio::cAbstractFileImpl>
    deepCopy(qio::cAbstractIOBlockDevice& oDevice) const override;
    qucs::cString name() const override { return msName; }
    void remove() override;
    void setRemoveOnClose() override { mbRemoveOnClose = true; }
    void release() override { mbRemoveOnClose = false; }
    /// Renames the file and keeps the new name (a later remove-on-close removes it).
    void rename(const qucs::cString& sTo) override;
    qstd::cDateTime lastModified() const override;
    void open(const qucs::cString& sPath, qio::OpenMode eOpen, qio::CreateMode eCreate,
              qio::WriteMode eWrite, bool bFollowLinks) override;
    /// Writes back a writable file's cache, closes (the descriptor is released also
    /// when the write-back or close fails), then removes the file when asked to.
    void close() override;
    void truncate(unsigned long long iSize) override;
    unsigned long long readBytes(char* pTarget, unsigned long long iMax) override;
    unsigned long long writeBytes(const char* pSource, unsigned long long iCount) override;
    const char* mmap() override;
    void seek(long long iOffset, qio::SeekMode eMode) override;
    unsigned long long pos() const override;
    void flush() override;
    bool isOpen() const override { return miFd != -1; }
    /// True for a regular file open for writing without appending.
    bool defersWrites() const override { return mbDefersWrites; }
    /// One lseek64 from the current position; the cached size stays.
    unsigned long long skip(unsigned long long iCount) override;
    virtual void munmap();

    int descriptor() const { return miFd; }
    /// Renames sFrom to sTo, both encoded with oEnDec.
    static void rename(const qucs::cString& sFrom, const qucs::cString& sTo,
                       const qucs::cAbstractEnDec& oEnDec);

    enum
    {
        kBlockSize = 134217728 ///< bytes per read or write call
    };

protected:
    virtual ssize_t sysRead(int iFd, void* pTarget, size_t iCount);
    virtual ssize_t sysWrite(int iFd, const void* pSource, size_t iCount);
    virtual long long sysSeek(int iFd, long long iOffset, int iWhence) const;
    virtual int sysClose(int iFd);
    virtual int sysRename(const char* pFrom, const char* pTo);

private:
    void transferFailed(const char* pCall, unsigned long long iRequested, unsigned long long iBlock,
                        long long iResult);

    int miFd;        ///< -1 when closed
    bool mbWritable; ///< opened for writing
    bool mbRemoveOnClose;
    bool mbDefersWrites;  ///< writable regular file, not appending
    qucs::cString msName; ///< as passed to open, or renamed to
    void* mpMap;          ///< read-only mapping; null when not mapped
    unsigned long long miMapLength;
};

} // namespace qpi

#endif // QOR_CORE_PI_NATIVE_LINUX_LINUXFILEIMPL_H
