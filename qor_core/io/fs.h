// fs.h - qio::cFs, the handle through which the framework reaches a file system.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_IO_FS_H
#define QOR_CORE_IO_FS_H

#include "qor_core/io/abstractfsimpl.h"
#include "qor_core/io/iomodes.h"
#include "qor_core/io/path.h"
#include "qor_core/std/list.h"

namespace qio {

class cFile;
class cFileInfo;
class cDir;

/// A cheap, copyable handle onto a shared file-system implementation and the text
/// encoder for file names. Copies share both; the implementation is deleted with
/// the last handle. The encoder is borrowed and must outlive every handle (the
/// system's encoder lives until the end of the program).
///
/// Failures of the implementation pass through: the native one throws
/// qstd::cOSErrorException carrying the system call, errno (whose text is linked
/// beneath) and the path.
class QOR_EXPORT cFs
{
public:
    /// The native file system with the system's default encoder.
    cFs();
    /// The native file system with oEnDec.
    explicit cFs(const qucs::cAbstractEnDec& oEnDec);
    cFs(const cFs& oOther);
    cFs& operator=(const cFs& oOther);
    ~cFs();
    void swap(cFs& oOther);

    /// The encoder; "Invalid shared object dereference" when it is unset.
    const qucs::cAbstractEnDec& endec() const;
    const qstd::tSharedObject<const qucs::cAbstractEnDec>& endecObject() const { return mpEnDec; }
    /// Replaces the implementation of this handle (other copies keep theirs), for
    /// instance by a cProxyFs made for this handle.
    void setImpl(qstd::tAutoPtr<cAbstractFsImpl> pImpl);
    cAbstractFsImpl& impl() const { return *mpImpl; }
    /// Whether two handles share one implementation.
    bool sameImpl(const cFs& oOther) const { return mpImpl.get() == oOther.mpImpl.get(); }

    bool exists(const qucs::cString& sPath, bool bFollow = true, qstd::cDateTime* pTime = nullptr,
                cFileInfoFlags::TimeStamp eKind = cFileInfoFlags::LastModification) const;
    void remove(const qucs::cString& sPath) const;
    cPath cwd() const;
    void mkdir(const qucs::cString& sPath) const;
    void rename(const qucs::cString& sFrom, const qucs::cString& sTo) const;
    bool supportsSymLinks() const;
    void createSymLink(const qucs::cString& sTarget, const qucs::cString& sLink) const;
    void setPermissions(const qucs::cString& sPath, const cPermissions& oPermissions,
                        bool bFlag = false) const;
    /// Hands pFs over to the implementation (a proxy mounts it).
    void bind(qstd::tAutoPtr<cAbstractFsImpl> pFs) const;
    void unbind(const qucs::cString& sPath) const;

    qstd::tSharedObject<cAbstractFileInfoImpl> createFileInfoImpl(const qucs::cString& sPath) const;
    qstd::tAutoPtr<cAbstractDirImpl> createDirectoryImpl(const qucs::cString& sPath,
                                                         int iFlags) const;
    qstd::tAutoPtr<cAbstractFileImpl> createFileImpl(cAbstractIOBlockDevice& oDevice,
                                                     const qucs::cString& sPath) const;

    /// Opened read-only; throws the open failure when it cannot be opened.
    cFile fileOpenRead(const qucs::cString& sPath) const;
    /// Opened read and write.
    cFile fileOpenWrite(const qucs::cString& sPath, CreateMode eCreate, WriteMode eWrite) const;
    cFile openFile(const qucs::cString& sPath, OpenMode eOpen, CreateMode eCreate,
                   WriteMode eWrite) const;

    cFileInfo fileInfo(const qucs::cString& sPath) const;
    /// The path exists and is a regular file.
    bool fileExists(const qucs::cString& sPath, bool bFollow = true) const;
    bool isDeadSymLink(const qucs::cString& sPath) const;
    /// The entries of a directory; iFlags: 1 omits ".", 2 omits "..".
    qstd::tConstListRef<cDir> openDir(const qucs::cString& sPath, int iFlags = 3) const;

    /// Creates every missing directory of oPath. An existing entry on the way that
    /// is not a directory throws "Unable to remove file" (sic) with "Item ... is not a
    /// directory" as its cause.
    void createPath(const cPath& oPath) const;
    /// oDir's path with sName as file name when such a regular file exists there,
    /// else an empty string.
    qucs::cString tryFindInPath(const cPath& oDir, const qucs::cString& sName) const;
    /// Removes sPath and, when it is a directory, everything below it, depth first
    /// and without recursion. Symbolic links are removed, never followed into, unless
    /// sPath itself is a link and bFollow is set. A missing path is no error; the
    /// first failing removal ends the walk with its exception.
    void removeRecursive(const qucs::cString& sPath, bool bFollow = false) const;

private:
    qstd::tSharedObject<cAbstractFsImpl> mpImpl;             ///< owned, shared
    qstd::tSharedObject<const qucs::cAbstractEnDec> mpEnDec; ///< not owned

    friend class cAbstractFsImpl;
    cFs(const qstd::tSharedObject<cAbstractFsImpl>& pImpl,
        const qstd::tSharedObject<const qucs::cAbstractEnDec>& pEnDec);
};

} // namespace qio

#endif // QOR_CORE_IO_FS_H
