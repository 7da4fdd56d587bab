// linuxfileinfoimpl.h - qpi::cLinuxFileInfoImpl, stat() of one path.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_NATIVE_LINUX_LINUXFILEINFOIMPL_H
#define QOR_CORE_PI_NATIVE_LINUX_LINUXFILEINFOIMPL_H

#include "qor_core/io/abstractfileinfoimpl.h"

struct stat64;

namespace qpi {

/// Every query runs stat64 (links followed) or lstat64 afresh; sizes are 64-bit.
class QOR_EXPORT cLinuxFileInfoImpl : public qio::cAbstractFileInfoImpl
{
public:
    cLinuxFileInfoImpl(const qio::cFs& oFs, const qucs::cString& sPath);

    qstd::cDateTime timeStamp(qio::cFileInfoFlags::TimeStamp eKind, bool bFollow) const override;
    qucs::cString filePath() const override { return msPath; }
    qucs::cString readLink() const override;
    unsigned long long size(bool bFollow) const override;
    int type(bool bFollow) const override;
    /// The mode bits, plus the hidden bit for a last component that starts with a dot
    /// (but is not "." or "..").
    qio::cPermissions readPermissions(bool bFollow) const override;

private:
    void statPath(struct stat64& oStat, bool bFollow) const;

    qucs::cString msPath;
    qstd::tArray<char> moEncoded; ///< msPath as the kernel sees it, zero-terminated
};

} // namespace qpi

#endif // QOR_CORE_PI_NATIVE_LINUX_LINUXFILEINFOIMPL_H
