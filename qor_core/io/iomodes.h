// iomodes.h - the modes of opening and positioning files.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_IO_IOMODES_H
#define QOR_CORE_IO_IOMODES_H

namespace qio {

enum OpenMode
{
    ReadOnly = 0,
    WriteOnly = 1,
    ReadWrite = 2
};

/// Applies only when a file is opened for writing.
enum CreateMode
{
    MustExist = 0,
    CreateIfMissing = 1,
    CreateOrOpen = 2 ///< the same as CreateIfMissing on Linux
};

/// Applies only when a file is opened for writing.
enum WriteMode
{
    Append = 0,   ///< every write goes to the end
    Truncate = 1, ///< emptied on open
    Overwrite = 2 ///< neither: writes go where the position stands
};

enum SeekMode
{
    SeekFromStart = 0,
    SeekFromCurrent = 1,
    SeekFromEnd = 2
};

} // namespace qio

#endif // QOR_CORE_IO_IOMODES_H
