// fileinfo.h - qio::cFileInfo: type, size, time stamps and permissions of a path,
// and the file-name arithmetic used to build names.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_IO_FILEINFO_H
#define QOR_CORE_IO_FILEINFO_H

#include "qor_core/io/abstractfileinfoimpl.h"

namespace qio {

/// What a file system reports about one path. The queries ask the file system each
/// time (nothing is cached) and throw its failure, for instance for a missing path;
/// exists() does not throw for a missing one. Copies share the implementation.
class QOR_EXPORT cFileInfo
{
public:
    enum Type
    {
        RegularFile = 0,
        Directory = 1,
        CharacterDevice = 2,
        BlockDevice = 3,
        Fifo = 4,
        SymbolicLink = 5,
        Socket = 6
    };

    cFileInfo(const qucs::cString& sPath, const cFs& oFs);
    /// On the system's default file system.
    explicit cFileInfo(const qucs::cString& sPath);
    explicit cFileInfo(const qstd::cAsciiString& sPath);

    int type(bool bFollow = true) const { return mpImpl->type(bFollow); }
    unsigned long long size(bool bFollow = true) const { return mpImpl->size(bFollow); }
    qstd::cDateTime timeStamp(cFileInfoFlags::TimeStamp eKind = cFileInfoFlags::LastModification,
                              bool bFollow = true) const
    {
        return mpImpl->timeStamp(eKind, bFollow);
    }
    cPermissions permissions(bool bFollow = true) const { return mpImpl->readPermissions(bFollow); }
    qucs::cString readLink() const { return mpImpl->readLink(); }
    qucs::cString fullPath() const { return mpImpl->filePath(); }
    const cFs& fs() const { return moFs; }

    bool isDir(bool bFollow = true) const { return type(bFollow) == Directory; }
    bool isFile(bool bFollow = true) const { return type(bFollow) == RegularFile; }
    bool isSymLink() const { return type(false) == SymbolicLink; }
    bool isHidden() const { return permissions(true).isHidden(); }
    bool exists(bool bFollow = true, qstd::cDateTime* pTime = nullptr,
                cFileInfoFlags::TimeStamp eKind = cFileInfoFlags::LastModification) const;
    /// A symbolic link whose target is missing.
    bool isDeadSymLink() const;

    /// The directory part of the full path, ending in a separator ("./" for none).
    qucs::cString pathComponent() const;
    cPath path() const;
    /// The name after the directory part: fileBaseName() + fileExtension().
    qucs::cString fileName() const;
    /// The name up to its first dot.
    qucs::cString fileBaseName() const;
    /// The name from its first dot on, the dot included.
    qucs::cString fileExtension() const;
    qucs::cString fullAbsolutePath() const;
    qucs::cString fullRelativePath(const cPath& oBase) const;

    /// Without bDirectory the name part of s is replaced by sName; with it sName is
    /// appended below s.
    static void setFileName(qucs::cString& s, const qucs::cString& sName, bool bDirectory = false);
    /// Replaces the directory part of s.
    static void setFilePath(qucs::cString& s, const qucs::cString& sPath);
    /// Replaces the extension of s (a missing leading dot is supplied).
    static void setFileNameExtension(qucs::cString& s, const qucs::cString& sExtension);
    /// Puts sPrefix in front of the name unless the name begins with it.
    static void setFileNamePrefix(qucs::cString& s, const qucs::cString& sPrefix);
    /// Puts sSuffix behind the base name unless the base name ends with it.
    static void setFileNameSuffix(qucs::cString& s, const qucs::cString& sSuffix);

private:
    cFs moFs;
    qstd::tSharedObject<cAbstractFileInfoImpl> mpImpl; ///< shared with copies
};

} // namespace qio

#endif // QOR_CORE_IO_FILEINFO_H
