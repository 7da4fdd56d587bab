// abstractfileimpl.h - qio::cAbstractFileImpl, what a file system does for one file.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_IO_ABSTRACTFILEIMPL_H
#define QOR_CORE_IO_ABSTRACTFILEIMPL_H

#include "qor_core/io/fs.h"
#include "qor_core/std/datetime.h"

namespace qio {

class cAbstractIOBlockDevice;

/// The file-system specific half of a cFile. It serves one block device (its cFile),
/// whose cache it writes back on flush and close, and holds a handle on its file
/// system, which therefore lives at least as long as the file. Not copyable: a
/// second implementation on the same open file comes from deepCopy().
class QOR_EXPORT cAbstractFileImpl
{
public:
    cAbstractFileImpl(const cFs& oFs, cAbstractIOBlockDevice& oDevice);
    virtual ~cAbstractFileImpl();
    cAbstractFileImpl(const cAbstractFileImpl&) = delete;
    cAbstractFileImpl& operator=(const cAbstractFileImpl&) = delete;

    const cFs& fs() const { return moFs; }
    cAbstractIOBlockDevice& bd() const;
    /// Exchanges the served devices of two implementations.
    void swapBD(cAbstractFileImpl& oOther);

    /// A new implementation on the same open file (sharing its position) serving oDevice.
    virtual qstd::tAutoPtr<cAbstractFileImpl> deepCopy(cAbstractIOBlockDevice& oDevice) const = 0;
    virtual qucs::cString name() const = 0;
    virtual void remove() = 0;
    virtual void setRemoveOnClose() = 0;
    virtual void release() = 0;
    /// Renames the file; the implementation then goes by the new name.
    virtual void rename(const qucs::cString& sTo) = 0;
    virtual qstd::cDateTime lastModified() const = 0;
    virtual void open(const qucs::cString& sPath, OpenMode eOpen, CreateMode eCreate,
                      WriteMode eWrite, bool bFollowLinks) = 0;
    virtual void close() = 0;
    virtual void truncate(unsigned long long iSize) = 0;
    virtual unsigned long long readBytes(char* pTarget, unsigned long long iMax) = 0;
    virtual unsigned long long writeBytes(const char* pSource, unsigned long long iCount) = 0;
    virtual const char* mmap() = 0;
    virtual void seek(long long iOffset, SeekMode eMode) = 0;
    virtual unsigned long long pos() const = 0;
    virtual void flush() = 0;
    virtual bool isOpen() const = 0;

    /// Whether the file lets small stream writes wait in its device's cache window:
    /// only an open, writable file whose bytes stay where they were written (a
    /// regular file, not appending) can. The default is false: every write goes
    /// through at once.
    virtual bool defersWrites() const { return false; }
    /// Moves the position iCount bytes on and returns the new position. The default
    /// seeks from the current position and then asks for it.
    virtual unsigned long long skip(unsigned long long iCount);

private:
    cFs moFs;                     ///< shared handle
    cAbstractIOBlockDevice* mpBD; ///< not owned: the device owns this implementation
};

} // namespace qio

#endif // QOR_CORE_IO_ABSTRACTFILEIMPL_H
