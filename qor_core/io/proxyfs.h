// proxyfs.h - qio::cProxyFs, the file system that hands each operation to one of
// the file systems mounted in it.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_IO_PROXYFS_H
#define QOR_CORE_IO_PROXYFS_H

#include "qor_core/io/abstractfsimpl.h"
#include "qor_core/std/list.h"

namespace qio {

/// Owns no storage: every operation goes to the first bound file system whose
/// matches() claims the path (in binding order), else to the native one. The first
/// bound file system that claims the empty path for OpBind while there is no
/// native one becomes the native one. The proxy owns what is bound to it.
class QOR_EXPORT cProxyFs : public cAbstractFsImpl
{
public:
    explicit cProxyFs(const cFs& oFs);
    ~cProxyFs() override;

    bool exists(const qucs::cString& sPath, bool bFollow, qstd::cDateTime* pTime,
                cFileInfoFlags::TimeStamp eKind) const override;
    void remove(const qucs::cString& sPath) override;
    cPath cwd() const override;
    void mkdir(const qucs::cString& sPath) override;
    /// Both paths must be served by one file system, else a cRuntimeException.
    void rename(const qucs::cString& sFrom, const qucs::cString& sTo) override;
    bool supportsSymLinks() const override;
    void createSymLink(const qucs::cString& sTarget, const qucs::cString& sLink) override;
    void setPermissions(const qucs::cString& sPath, const cPermissions& oPermissions,
                        bool bFlag) override;
    qstd::tAutoPtr<cAbstractDirImpl> createDirImpl(const cFs& oFs, const qucs::cString& sPath,
                                                   int iFlags) const override;
    qstd::tAutoPtr<cAbstractFileInfoImpl>
    createFileInfoImpl(const cFs& oFs, const qucs::cString& sPath) const override;
    qstd::tAutoPtr<cAbstractFileImpl> createFileImpl(const cFs& oFs,
                                                     cAbstractIOBlockDevice& oDevice,
                                                     const qucs::cString& sPath) const override;

    void bind(qstd::tAutoPtr<cAbstractFsImpl> pFs) override;
    /// Removes every bound file system that claims sPath for OpUnbind; none is
    /// removed when one of them is in use (cRuntimeException). With no match and an
    /// empty path, the native file system is released unless it is in use.
    void unbind(const qucs::cString& sPath) override;

    /// The native file system; a cBugException when there is none.
    cAbstractFsImpl& nativeFs();
    const cAbstractFsImpl& nativeFs() const;
    unsigned boundCount() const { return moBound.count(); }

private:
    /// The file system serving sPath for eOperation; sPath may be rewritten.
    /// Throws the cBugException of a missing file system when none serves it.
    cAbstractFsImpl& findDelegate(qucs::cString& sPath, Operation eOperation) const;

    mutable qstd::tList<qstd::tSharedObject<cAbstractFsImpl>> moBound; ///< in binding order
    qstd::tSharedObject<cAbstractFsImpl> mpNative;                     ///< owned; may be null
};

} // namespace qio

#endif // QOR_CORE_IO_PROXYFS_H
