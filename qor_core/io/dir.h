// dir.h - qio::cDir, a directory listing iterated through tConstListRef<cDir>.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_IO_DIR_H
#define QOR_CORE_IO_DIR_H

#include "qor_core/io/abstractdirimpl.h"
#include "qor_core/std/list.h"

namespace qio {

/// Listing flags of cDir, cFs::openDir and cFs::createDirectoryImpl.
enum DirListFlags
{
    OmitDot = 1,   ///< no "." entry
    OmitDotDot = 2 ///< no ".." entry
};

/// A reader of a directory: stands on one entry at a time, in the order the file
/// system returns them. list() gives a tConstListRef whose iterations each work
/// on a copy of the reader, so they are independent of each other and of this one.
class QOR_EXPORT cDir : public qstd::tConstListRefNode<cDirInfo>
{
public:
    cDir(const cFs& oFs, const qucs::cString& sPath, int iFlags = OmitDot | OmitDotDot);
    /// On the system's default file system.
    explicit cDir(const qucs::cString& sPath, int iFlags = OmitDot | OmitDotDot);
    explicit cDir(const char* pPath, int iFlags = OmitDot | OmitDotDot);
    /// Takes over a reader (which may be null: a directory without reader).
    explicit cDir(qstd::tAutoPtr<cAbstractDirImpl> pImpl);
    cDir(const cDir& oOther);
    cDir& operator=(const cDir& oOther);
    ~cDir() override;

    void setNext() override;
    /// The current entry; the assertion "mpImpl.get() != 0" without a reader.
    const cDirInfo& element() const override;
    bool isEnd() const override;
    qstd::tConstListRefNode<cDirInfo>* createCopy() const override;

    /// Both hold a reader or neither does.
    bool operator==(const cDir& oOther) const;
    qstd::tConstListRef<cDir> list() const;

private:
    qstd::tAutoPtr<cAbstractDirImpl> mpImpl; ///< owned; may be null
};

/// One level of a recursive removal: a directory and its open listing.
struct QOR_EXPORT cRemoveData
{
    cRemoveData(const cFs& oFs, const qucs::cString& sPath);
    cFs moFs;
    qucs::cString msPath;
    /// Shared, so that the stack's copies of this record use one reader.
    qstd::tSharedObject<cDir> mpDir;
};

} // namespace qio

#endif // QOR_CORE_IO_DIR_H
