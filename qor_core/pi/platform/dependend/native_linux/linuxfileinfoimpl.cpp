// linuxfileinfoimpl.cpp - qpi::cLinuxFileInfoImpl.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/platform/dependend/native_linux/linuxfileinfoimpl.h"
#include "qor_core/pi/platform/dependend/native_linux/linuxfsimpl.h"
#include "qor_core/std/exceptions.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace qpi {

cLinuxFileInfoImpl::cLinuxFileInfoImpl(const qio::cFs& oFs, const qucs::cString& sPath)
    : qio::cAbstractFileInfoImpl(oFs), msPath(sPath)
{
    linuxEncodePath(oFs.endec(), sPath, moEncoded);
}

void cLinuxFileInfoImpl::statPath(struct stat64& oStat, bool bFollow) const
{
    int iResult =
        bFollow ? ::stat64(moEncoded.data(), &oStat) : ::lstat64(moEncoded.data(), &oStat);
    if (iResult != 0)
        throw qstd::cOSErrorException("stat", errno, msPath);
}

qstd::cDateTime cLinuxFileInfoImpl::timeStamp(qio::cFileInfoFlags::TimeStamp eKind,
                                              bool bFollow) const
{
    struct stat64 oStat;
    statPath(oStat, bFollow);
    qstd::cDateTime oTime;
    createLinuxTSFromStat(oStat, oTime, eKind);
    return oTime;
}

unsigned long long cLinuxFileInfoImpl::size(bool bFollow) const
{
    struct stat64 oStat;
    statPath(oStat, bFollow);
    return (unsigned long long)oStat.st_size;
}

int cLinuxFileInfoImpl::type(bool bFollow) const
{
    struct stat64 oStat;
    statPath(oStat, bFollow);
    switch (oStat.st_mode & S_IFMT) {
    case S_IFDIR:
        return 1;
    case S_IFCHR:
        return 2;
    case S_IFBLK:
        return 3;
    case S_IFIFO:
        return 4;
    case S_IFLNK:
        return 5;
    case S_IFSOCK:
        return 6;
    default:
        return 0;
    }
}

qio::cPermissions cLinuxFileInfoImpl::readPermissions(bool bFollow) const
{
    struct stat64 oStat;
    statPath(oStat, bFollow);
    piUInt64 iMask = cLinuxFsImpl::permissionsFromMode(oStat.st_mode);
    unsigned iLength = msPath.length();
    unsigned iLast = iLength;
    while (iLast > 0 && msPath[iLast - 1] != '/')
        --iLast;
    bool bDots = (iLength - iLast == 1 && msPath[iLast] == '.') ||
                 (iLength - iLast == 2 && msPath[iLast] == '.' && msPath[iLast + 1] == '.');
    if (iLength > 1 && iLast < iLength && msPath[iLast] == '.' && !bDots)
        iMask |= qio::cPermissions::Hidden;
    return qio::cPermissions(iMask);
}

qucs::cString cLinuxFileInfoImpl::readLink() const
{
    struct stat64 oStat;
    statPath(oStat, false);
    if (!S_ISLNK(oStat.st_mode))
        return msPath;
    // The link's size is a hint only (it may change, and some file systems report 0):
    // the buffer grows until the text fits with room to spare.
    unsigned iSize = oStat.st_size + 2 > 16384 ? unsigned(oStat.st_size) + 2 : 16384;
    for (;;) {
        qstd::tArray<char> oBuffer(iSize);
        ssize_t iLength = ::readlink(moEncoded.data(), oBuffer.data(), iSize - 1);
        if (iLength < 0)
            throw qstd::cOSErrorException("readlink", errno, msPath);
        if ((size_t)iLength < iSize - 1) {
            qucs::cString sText;
            fs().endec().decode(qstd::tConstArrayRef<char>(oBuffer, 0, unsigned(iLength)), sText);
            return sText;
        }
        iSize *= 2;
    }
}

} // namespace qpi
