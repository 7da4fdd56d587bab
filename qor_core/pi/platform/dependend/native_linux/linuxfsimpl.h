// linuxfsimpl.h - qpi::cLinuxFsImpl, the native Linux file system. Not installed:
// reach it through cPlatform::createFsImpl().
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_NATIVE_LINUX_LINUXFSIMPL_H
#define QOR_CORE_PI_NATIVE_LINUX_LINUXFSIMPL_H

#include "qor_core/io/abstractfsimpl.h"
#include "qor_core/std/datetime.h"

struct stat64;

namespace qpi {

/// The bytes handed to the kernel for sPath: the encoder's zero-terminated form.
/// A path holding a zero character is refused (the kernel would see a shorter path).
QOR_EXPORT void linuxEncodePath(const qucs::cAbstractEnDec& oEnDec, const qucs::cString& sPath,
                                qstd::tArray<char>& oOut);

/// The time stamp eKind of a stat record, whole seconds, UTC.
QOR_EXPORT void createLinuxTSFromStat(const struct stat64& oStat, qstd::cDateTime& oTime,
                                      qio::cFileInfoFlags::TimeStamp eKind);

/// The native file system: every path goes through the owning encoder to the kernel,
/// every failed call is a qstd::cOSErrorException with the call's name and errno.
class QOR_EXPORT cLinuxFsImpl : public qio::cAbstractFsImpl
{
public:
    explicit cLinuxFsImpl(const qio::cFs& oFs);
    ~cLinuxFsImpl() override;

    bool exists(const qucs::cString& sPath, bool bFollow, qstd::cDateTime* pTime,
                qio::cFileInfoFlags::TimeStamp eKind) const override;
    void remove(const qucs::cString& sPath) override;
    qio::cPath cwd() const override;
    void mkdir(const qucs::cString& sPath) override;
    void rename(const qucs::cString& sFrom, const qucs::cString& sTo) override;
    bool supportsSymLinks() const override;
    void createSymLink(const qucs::cString& sTarget, const qucs::cString& sLink) override;
    void setPermissions(const qucs::cString& sPath, const qio::cPermissions& oPermissions,
                        bool bFlag) override;
    qstd::tAutoPtr<qio::cAbstractDirImpl>
    createDirImpl(const qio::cFs& oFs, const qucs::cString& sPath, int iFlags) const override;
    qstd::tAutoPtr<qio::cAbstractFileInfoImpl>
    createFileInfoImpl(const qio::cFs& oFs, const qucs::cString& sPath) const override;
    qstd::tAutoPtr<qio::cAbstractFileImpl>
    createFileImpl(const qio::cFs& oFs, qio::cAbstractIOBlockDevice& oDevice,
                   const qucs::cString& sPath) const override;

    /// The mode bits of oPermissions, and back.
    static unsigned modeFromPermissions(const qio::cPermissions& oPermissions);
    static piUInt64 permissionsFromMode(unsigned iMode);
};

} // namespace qpi

#endif // QOR_CORE_PI_NATIVE_LINUX_LINUXFSIMPL_H
