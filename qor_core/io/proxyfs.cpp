// proxyfs.cpp - qio::cProxyFs.
// SPDX-License-Identifier: MIT
#include "qor_core/io/proxyfs.h"
#include "qor_core/io/abstractdirimpl.h"
#include "qor_core/io/abstractfileimpl.h"
#include "qor_core/io/abstractfileinfoimpl.h"
#include "qor_core/io/fs.h"
#include "qor_core/io/ioexceptions.h"

namespace qio {

cProxyFs::cProxyFs(const cFs& oFs) : cAbstractFsImpl(oFs) {}

cProxyFs::~cProxyFs() {}

cAbstractFsImpl& cProxyFs::findDelegate(qucs::cString& sPath, Operation eOperation) const
{
    for (auto it = moBound.begin(); it != moBound.end(); ++it) {
        // An invalidated entry raises "Invalid shared object dereference".
        cAbstractFsImpl& oFs = **it;
        if (oFs.matches(sPath, eOperation))
            return oFs;
    }
    if (mpNative)
        return *mpNative;
    cIOExceptions::throwNoFilesystem(sPath);
}

bool cProxyFs::exists(const qucs::cString& sPath, bool bFollow, qstd::cDateTime* pTime,
                      cFileInfoFlags::TimeStamp eKind) const
{
    qucs::cString s(sPath);
    return findDelegate(s, OpExists).exists(s, bFollow, pTime, eKind);
}

void cProxyFs::remove(const qucs::cString& sPath)
{
    qucs::cString s(sPath);
    findDelegate(s, OpRemove).remove(s);
}

cPath cProxyFs::cwd() const
{
    qucs::cString s;
    return findDelegate(s, OpCwd).cwd();
}

void cProxyFs::mkdir(const qucs::cString& sPath)
{
    qucs::cString s(sPath);
    findDelegate(s, OpMkdir).mkdir(s);
}

void cProxyFs::rename(const qucs::cString& sFrom, const qucs::cString& sTo)
{
    qucs::cString sF(sFrom), sT(sTo);
    cAbstractFsImpl& oFrom = findDelegate(sF, OpRename);
    cAbstractFsImpl& oTo = findDelegate(sT, OpRename);
    if (&oFrom != &oTo)
        cIOExceptions::throwAcrossFilesystems(sFrom, sTo);
    oFrom.rename(sF, sT);
}

bool cProxyFs::supportsSymLinks() const
{
    qucs::cString s;
    return findDelegate(s, OpSupportsSymLinks).supportsSymLinks();
}

void cProxyFs::createSymLink(const qucs::cString& sTarget, const qucs::cString& sLink)
{
    qucs::cString sT(sTarget), sL(sLink);
    cAbstractFsImpl& oTarget = findDelegate(sT, OpRename);
    cAbstractFsImpl& oLink = findDelegate(sL, OpRename);
    if (&oTarget != &oLink)
        cIOExceptions::throwAcrossFilesystems(sTarget, sLink);
    oTarget.createSymLink(sT, sL);
}

void cProxyFs::setPermissions(const qucs::cString& sPath, const cPermissions& oPermissions,
                              bool bFlag)
{
    qucs::cString s(sPath);
    findDelegate(s, OpSetPermissions).setPermissions(s, oPermissions, bFlag);
}

qstd::tAutoPtr<cAbstractDirImpl> cProxyFs::createDirImpl(const cFs& oFs, const qucs::cString& sPath,
                                                         int iFlags) const
{
    qucs::cString s(sPath);
    return findDelegate(s, OpCreateDirImpl).createDirImpl(oFs, s, iFlags);
}

qstd::tAutoPtr<cAbstractFileInfoImpl> cProxyFs::createFileInfoImpl(const cFs& oFs,
                                                                   const qucs::cString& sPath) const
{
    qucs::cString s(sPath);
    return findDelegate(s, OpCreateFileInfoImpl).createFileInfoImpl(oFs, s);
}

qstd::tAutoPtr<cAbstractFileImpl> cProxyFs::createFileImpl(const cFs& oFs,
                                                           cAbstractIOBlockDevice& oDevice,
                                                           const qucs::cString& sPath) const
{
    qucs::cString s(sPath);
    return findDelegate(s, OpCreateFileImpl).createFileImpl(oFs, oDevice, s);
}

void cProxyFs::bind(qstd::tAutoPtr<cAbstractFsImpl> pFs)
{
    if (!pFs)
        return;
    qucs::cString s;
    qstd::tSharedObject<cAbstractFsImpl> pShared(pFs);
    if (pShared->matches(s, OpBind) && !mpNative)
        mpNative = pShared;
    else
        moBound.append(pShared);
}

void cProxyFs::unbind(const qucs::cString& sPath)
{
    // First find out whether every matching file system may go: a refusal leaves
    // every registration in place.
    bool bMatched = false;
    for (auto it = moBound.begin(); it != moBound.end(); ++it) {
        qucs::cString s(sPath);
        if (!(*it)->matches(s, OpUnbind))
            continue;
        bMatched = true;
        if ((*it)->isUsed())
            cIOExceptions::throwFilesystemInUse(sPath);
    }
    if (bMatched) {
        for (auto it = moBound.begin(); it != moBound.end(); ++it) {
            qucs::cString s(sPath);
            if ((*it)->matches(s, OpUnbind))
                it.eraseLater();
        }
        moBound.sweep();
        return;
    }
    if (sPath.empty() && mpNative) {
        if (mpNative->isUsed())
            cIOExceptions::throwFilesystemInUse(qucs::cString());
        mpNative.unref();
    }
}

cAbstractFsImpl& cProxyFs::nativeFs()
{
    if (!mpNative)
        cIOExceptions::throwNoFilesystem(qucs::cString());
    return *mpNative;
}

const cAbstractFsImpl& cProxyFs::nativeFs() const
{
    return const_cast<cProxyFs*>(this)->nativeFs();
}

} // namespace qio
