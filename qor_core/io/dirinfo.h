// dirinfo.h - qio::cDirInfo, one entry of a directory listing.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_IO_DIRINFO_H
#define QOR_CORE_IO_DIRINFO_H

#include "qor_core/io/fs.h"

namespace qio {

/// One directory entry: its full path (the directory path followed by the entry
/// name) on a file system, which it keeps alive.
class QOR_EXPORT cDirInfo
{
public:
    /// Tag of the constructor that marks a path of a stacked file system.
    struct StackedFsPath
    {
    };

    /// The current working directory of the system's default file system.
    cDirInfo();
    /// An empty path on oFs.
    explicit cDirInfo(const cFs& oFs);
    cDirInfo(const cFs& oFs, const qucs::cString& sPath, StackedFsPath);

    void appendPath(const char* pText);
    void appendPath(const qucs::cString& sText);
    void clear() { msPath.clear(); }
    const qucs::cString& fullPath() const { return msPath; }
    operator qucs::cString() const { return msPath; }
    bool isStackedPath() const { return mbStacked; }
    const cFs& fs() const { return moFs; }
    /// Equal paths on the same file system.
    bool operator==(const cDirInfo& oOther) const;
    bool operator!=(const cDirInfo& oOther) const { return !(*this == oOther); }

private:
    cFs moFs;
    qucs::cString msPath;
    bool mbStacked;
};

} // namespace qio

#endif // QOR_CORE_IO_DIRINFO_H
