// abstractfileinfoimpl.h - qio::cAbstractFileInfoImpl, what a file system reports
// about one path.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_IO_ABSTRACTFILEINFOIMPL_H
#define QOR_CORE_IO_ABSTRACTFILEINFOIMPL_H

#include "qor_core/io/fs.h"
#include "qor_core/std/datetime.h"

namespace qio {

/// The file-system specific half of a cFileInfo. Every query takes bFollow, which
/// selects whether symbolic links are followed. Holds a handle on its file system.
class QOR_EXPORT cAbstractFileInfoImpl
{
public:
    explicit cAbstractFileInfoImpl(const cFs& oFs) : moFs(oFs) {}
    virtual ~cAbstractFileInfoImpl();
    const cFs& fs() const { return moFs; }

    virtual qstd::cDateTime timeStamp(cFileInfoFlags::TimeStamp eKind, bool bFollow) const = 0;
    virtual qucs::cString filePath() const = 0;
    /// The text of a symbolic link as stored; the path itself for anything else.
    virtual qucs::cString readLink() const = 0;
    virtual unsigned long long size(bool bFollow) const = 0;
    /// 0 regular file, 1 directory, 2 character device, 3 block device, 4 FIFO,
    /// 5 symbolic link, 6 socket.
    virtual int type(bool bFollow) const = 0;
    virtual cPermissions readPermissions(bool bFollow) const = 0;

private:
    cFs moFs;
};

} // namespace qio

#endif // QOR_CORE_IO_ABSTRACTFILEINFOIMPL_H
