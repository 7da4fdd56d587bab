// permissions.h - qio::cPermissions, the access bits of a file-system entry, and
// qio::cFileInfoFlags, the kinds of time stamps.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_IO_PERMISSIONS_H
#define QOR_CORE_IO_PERMISSIONS_H

#include "qor_core/std/pitypes.h"

namespace qio {

/// The permission bits of an entry. Bits 0..2: set-user-id, set-group-id, sticky;
/// 3..5 owner, 6..8 group, 9..11 others (read, write, execute each); 12 archive;
/// 13 hidden.
class QOR_EXPORT cPermissions
{
public:
    enum Bit : piUInt64
    {
        SetUserId = 1ULL << 0,
        SetGroupId = 1ULL << 1,
        Sticky = 1ULL << 2,
        OwnerRead = 1ULL << 3,
        OwnerWrite = 1ULL << 4,
        OwnerExecute = 1ULL << 5,
        GroupRead = 1ULL << 6,
        GroupWrite = 1ULL << 7,
        GroupExecute = 1ULL << 8,
        OthersRead = 1ULL << 9,
        OthersWrite = 1ULL << 10,
        OthersExecute = 1ULL << 11,
        Archive = 1ULL << 12,
        Hidden = 1ULL << 13
    };

    explicit cPermissions(piUInt64 iMask = 0) : miMask(iMask) {}
    piUInt64 permissions() const { return miMask; }
    void setPermission(piUInt64 iMask) { miMask = iMask; }

    bool isReadable() const { return (miMask & (OwnerRead | GroupRead | OthersRead)) != 0; }
    bool isWriteable() const { return (miMask & (OwnerWrite | GroupWrite | OthersWrite)) != 0; }
    bool isExecutable() const
    {
        return (miMask & (OwnerExecute | GroupExecute | OthersExecute)) != 0;
    }
    bool isArchive() const { return (miMask & Archive) != 0; }
    bool isHidden() const { return (miMask & Hidden) != 0; }
    bool operator==(const cPermissions& o) const { return miMask == o.miMask; }

private:
    piUInt64 miMask;
};

/// Selects a time stamp of an entry.
struct QOR_EXPORT cFileInfoFlags
{
    enum TimeStamp
    {
        LastAccess = 0,
        LastModification = 1,
        LastStatusChange = 2
    };
};

} // namespace qio

#endif // QOR_CORE_IO_PERMISSIONS_H
