// file.h - qio::cFile, the block device over a file of some file system.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_IO_FILE_H
#define QOR_CORE_IO_FILE_H

#include "qor_core/io/abstractfileimpl.h"
#include "qor_core/io/abstractioblockdevice.h"

namespace qio {

/// A file: a block device whose operations a file-system specific implementation
/// carries out. A copy works on the same open file and shares its position. The
/// destructor writes back a dirty cache window and closes the file; failures there
/// are swallowed (call flush() and close() to see them). Used by one thread at a time.
///
/// Stream writes of less than kDeferLimit bytes to a file that allows it
/// (cAbstractFileImpl::defersWrites) wait in the cache window and reach the file
/// system in blocks of up to 64 KiB: the position moves on at once, the array
/// view, reads, size(), eof(), seeks from the end, truncate(), rename(), copies,
/// flush() and close() see the bytes or write them first. A failure to write them
/// is reported by the operation that writes them; the bytes then stay waiting.
/// Other objects on the same file (copies made earlier included) see them after
/// flush(); copies that write in turn still place their bytes one after the other,
/// since every write takes its place from the shared position at once.
class QOR_EXPORT cFile : public cAbstractIOBlockDevice
{
public:
    enum
    {
        /// Writes of this many bytes or more go through at once: no two of them fit
        /// into one window, so collecting them would only add a copy.
        kDeferLimit = cIOBlockDeviceImpl::kWindowSize / 2
    };

    /// Not opened yet.
    cFile(const cFs& oFs, const qucs::cString& sPath);
    /// Opened on oFs (links followed); throws "Unable to open file" with the cause.
    cFile(const cFs& oFs, const qucs::cString& sPath, OpenMode eOpen, CreateMode eCreate,
          WriteMode eWrite);
    /// Opened on the system's default file system.
    cFile(const qucs::cString& sPath, OpenMode eOpen, CreateMode eCreate = MustExist,
          WriteMode eWrite = Overwrite);
    cFile(const char* pPath, OpenMode eOpen, CreateMode eCreate = MustExist,
          WriteMode eWrite = Overwrite);
    cFile(const cFile& oOther);
    cFile& operator=(const cFile& oOther);
    ~cFile() override;
    void swap(cFile& oOther);

    unsigned long long read(void* pTarget, unsigned long long iMax) override;
    unsigned long long write(const void* pSource, unsigned long long iCount) override;
    qucs::cString name() const override;
    void seek(long long iOffset, SeekMode eMode) override;
    unsigned long long pos() const override;
    void truncate(unsigned long long iSize) override;
    /// Maps the file read-only (not for files open for writing); the array view then
    /// reports no preferred block size.
    const char* mmap() override;

    /// Removes the file by its name.
    virtual void remove();
    /// The file is removed when it is closed (or destroyed while open).
    virtual void setRemoveOnClose();
    /// Undoes setRemoveOnClose().
    virtual void release();
    virtual void rename(const qucs::cString& sTo);
    virtual qstd::cDateTime lastModified() const;
    /// Throws "Unable to open file" carrying the implementation's exception.
    virtual void open(const qucs::cString& sPath, OpenMode eOpen, CreateMode eCreate,
                      WriteMode eWrite, bool bFollowLinks = true);
    /// Writes back the cache and closes; the descriptor is released also when that
    /// fails.
    virtual void close();
    /// Writes back the cache window; throws when no file is open.
    virtual void flush();

    bool isOpen() const { return mpImpl->isOpen(); }
    const cFs& fs() const { return mpImpl->fs(); }
    cAbstractFileImpl& impl() const { return *mpImpl; }

private:
    qstd::tAutoPtr<cAbstractFileImpl> mpImpl; ///< owned; never null
};

} // namespace qio

#endif // QOR_CORE_IO_FILE_H
