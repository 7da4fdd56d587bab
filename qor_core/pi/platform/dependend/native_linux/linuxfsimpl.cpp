// linuxfsimpl.cpp - the native Linux file system and cPlatform::createFsImpl.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/platform/dependend/native_linux/linuxfsimpl.h"
#include "qor_core/io/fs.h"
#include "qor_core/io/ioexceptions.h"
#include "qor_core/pi/piexceptions.h"
#include "qor_core/pi/platform.h"
#include "qor_core/pi/platform/dependend/native_linux/linuxdirimpl.h"
#include "qor_core/pi/platform/dependend/native_linux/linuxfileimpl.h"
#include "qor_core/pi/platform/dependend/native_linux/linuxfileinfoimpl.h"
#include "qor_core/std/exceptions.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace qpi {

qstd::tAutoPtr<qio::cAbstractFsImpl> cPlatform::createFsImpl(qio::cFs& oFs) const
{
    return qstd::tAutoPtr<qio::cAbstractFsImpl>(new cLinuxFsImpl(oFs));
}

void linuxEncodePath(const qucs::cAbstractEnDec& oEnDec, const qucs::cString& sPath,
                     qstd::tArray<char>& oOut)
{
    for (unsigned i = 0; i < sPath.length(); ++i)
        if (sPath[i] == 0)
            qio::cIOExceptions::throwPathContainsZero(sPath);
    oOut.clear();
    oEnDec.encodeCString(sPath, oOut);
}

void createLinuxTSFromStat(const struct stat64& oStat, qstd::cDateTime& oTime,
                           qio::cFileInfoFlags::TimeStamp eKind)
{
    time_t iSeconds = oStat.st_mtime;
    if (eKind == qio::cFileInfoFlags::LastAccess)
        iSeconds = oStat.st_atime;
    else if (eKind == qio::cFileInfoFlags::LastStatusChange)
        iSeconds = oStat.st_ctime;
    oTime = qstd::cDateTime(qstd::cTime((unsigned long long)iSeconds * 1000000ULL),
                            qstd::cDateTime::ZoneInfo(0));
}

cLinuxFsImpl::cLinuxFsImpl(const qio::cFs& oFs) : qio::cAbstractFsImpl(oFs) {}

cLinuxFsImpl::~cLinuxFsImpl() {}

bool cLinuxFsImpl::exists(const qucs::cString& sPath, bool bFollow, qstd::cDateTime* pTime,
                          qio::cFileInfoFlags::TimeStamp eKind) const
{
    qstd::tArray<char> oName;
    linuxEncodePath(endec(), sPath, oName);
    struct stat64 oStat;
    int iResult = bFollow ? ::stat64(oName.data(), &oStat) : ::lstat64(oName.data(), &oStat);
    if (iResult != 0)
        return false;
    if (pTime)
        createLinuxTSFromStat(oStat, *pTime, eKind);
    return true;
}

void cLinuxFsImpl::remove(const qucs::cString& sPath)
{
    qstd::tArray<char> oName;
    linuxEncodePath(endec(), sPath, oName);
    struct stat64 oStat;
    if (::lstat64(oName.data(), &oStat) != 0)
        return;
    int iResult = S_ISDIR(oStat.st_mode) ? ::rmdir(oName.data()) : ::unlink(oName.data());
    if (iResult != 0)
        throw qstd::cOSErrorException("unlink", errno, sPath);
}

qio::cPath cLinuxFsImpl::cwd() const
{
    qstd::tArray<char> oBuffer(32767);
    if (!::getcwd(oBuffer.data(), oBuffer.length()))
        cPIExceptions::throwUnableGetCWD();
    qucs::cString sPath;
    endec().decode(qstd::tConstArrayRef<char>(oBuffer, 0, unsigned(strlen(oBuffer.data()))), sPath);
    return qio::cPath(sPath, true);
}

void cLinuxFsImpl::mkdir(const qucs::cString& sPath)
{
    qstd::tArray<char> oName;
    linuxEncodePath(endec(), sPath, oName);
    if (::mkdir(oName.data(), 0777) != 0)
        throw qstd::cOSErrorException("mkdir", errno, sPath);
}

void cLinuxFsImpl::rename(const qucs::cString& sFrom, const qucs::cString& sTo)
{
    cLinuxFileImpl::rename(sFrom, sTo, endec());
}

bool cLinuxFsImpl::supportsSymLinks() const
{
    return true;
}

void cLinuxFsImpl::createSymLink(const qucs::cString& sTarget, const qucs::cString& sLink)
{
    qstd::tArray<char> oTarget, oLink;
    linuxEncodePath(endec(), sTarget, oTarget);
    linuxEncodePath(endec(), sLink, oLink);
    if (::symlink(oTarget.data(), oLink.data()) != 0)
        throw qstd::cOSErrorException("symlink", errno, sTarget);
}

unsigned cLinuxFsImpl::modeFromPermissions(const qio::cPermissions& oPermissions)
{
    static const unsigned kModes[12] = {S_ISUID, S_ISGID, S_ISVTX, S_IRUSR, S_IWUSR, S_IXUSR,
                                        S_IRGRP, S_IWGRP, S_IXGRP, S_IROTH, S_IWOTH, S_IXOTH};
    unsigned iMode = 0;
    for (unsigned i = 0; i < 12; ++i)
        if (oPermissions.permissions() & (1ULL << i))
            iMode |= kModes[i];
    return iMode;
}

piUInt64 cLinuxFsImpl::permissionsFromMode(unsigned iMode)
{
    static const unsigned kModes[12] = {S_ISUID, S_ISGID, S_ISVTX, S_IRUSR, S_IWUSR, S_IXUSR,
                                        S_IRGRP, S_IWGRP, S_IXGRP, S_IROTH, S_IWOTH, S_IXOTH};
    piUInt64 iMask = 0;
    for (unsigned i = 0; i < 12; ++i)
        if (iMode & kModes[i])
            iMask |= 1ULL << i;
    return iMask;
}

void cLinuxFsImpl::setPermissions(const qucs::cString& sPath, const qio::cPermissions& oPermissions,
                                  bool)
{
    qstd::tArray<char> oName;
    linuxEncodePath(endec(), sPath, oName);
    if (::chmod(oName.data(), modeFromPermissions(oPermissions)) != 0)
        throw qstd::cOSErrorException("chmod", errno, sPath);
}

qstd::tAutoPtr<qio::cAbstractDirImpl>
cLinuxFsImpl::createDirImpl(const qio::cFs& oFs, const qucs::cString& sPath, int iFlags) const
{
    return qstd::tAutoPtr<qio::cAbstractDirImpl>(new cLinuxDirImpl(oFs, sPath, iFlags));
}

qstd::tAutoPtr<qio::cAbstractFileInfoImpl>
cLinuxFsImpl::createFileInfoImpl(const qio::cFs& oFs, const qucs::cString& sPath) const
{
    return qstd::tAutoPtr<qio::cAbstractFileInfoImpl>(new cLinuxFileInfoImpl(oFs, sPath));
}

qstd::tAutoPtr<qio::cAbstractFileImpl>
cLinuxFsImpl::createFileImpl(const qio::cFs& oFs, qio::cAbstractIOBlockDevice& oDevice,
                             const qucs::cString&) const
{
    return qstd::tAutoPtr<qio::cAbstractFileImpl>(new cLinuxFileImpl(oFs, oDevice));
}

} // namespace qpi
