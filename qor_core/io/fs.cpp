// fs.cpp - qio::cFs.
// SPDX-License-Identifier: MIT
#include "qor_core/io/fs.h"
#include "qor_core/io/dir.h"
#include "qor_core/io/file.h"
#include "qor_core/io/fileinfo.h"
#include "qor_core/io/ioexceptions.h"
#include "qor_core/pi/platform.h"
#include "qor_core/pi/system.h"
#include "qor_core/std/stack.h"

namespace qio {

cFs::cFs() : mpEnDec(qpi::system().defaults().moEnDec)
{
    mpImpl = qstd::tSharedObject<cAbstractFsImpl>(qpi::cPlatform().createFsImpl(*this));
}

cFs::cFs(const qucs::cAbstractEnDec& oEnDec) : mpEnDec(oEnDec)
{
    mpImpl = qstd::tSharedObject<cAbstractFsImpl>(qpi::cPlatform().createFsImpl(*this));
}

cFs::cFs(const qstd::tSharedObject<cAbstractFsImpl>& pImpl,
         const qstd::tSharedObject<const qucs::cAbstractEnDec>& pEnDec)
    : mpImpl(pImpl), mpEnDec(pEnDec)
{
}

cFs::cFs(const cFs& oOther) : mpImpl(oOther.mpImpl), mpEnDec(oOther.mpEnDec) {}

cFs& cFs::operator=(const cFs& oOther)
{
    cFs oCopy(oOther);
    swap(oCopy);
    return *this;
}

cFs::~cFs() {}

void cFs::swap(cFs& oOther)
{
    mpImpl.swap(oOther.mpImpl);
    mpEnDec.swap(oOther.mpEnDec);
}

const qucs::cAbstractEnDec& cFs::endec() const
{
    return *mpEnDec;
}

void cFs::setImpl(qstd::tAutoPtr<cAbstractFsImpl> pImpl)
{
    mpImpl = qstd::tSharedObject<cAbstractFsImpl>(pImpl);
}

bool cFs::exists(const qucs::cString& sPath, bool bFollow, qstd::cDateTime* pTime,
                 cFileInfoFlags::TimeStamp eKind) const
{
    return mpImpl->exists(sPath, bFollow, pTime, eKind);
}

void cFs::remove(const qucs::cString& sPath) const
{
    mpImpl->remove(sPath);
}

cPath cFs::cwd() const
{
    return mpImpl->cwd();
}

void cFs::mkdir(const qucs::cString& sPath) const
{
    mpImpl->mkdir(sPath);
}

void cFs::rename(const qucs::cString& sFrom, const qucs::cString& sTo) const
{
    mpImpl->rename(sFrom, sTo);
}

bool cFs::supportsSymLinks() const
{
    return mpImpl->supportsSymLinks();
}

void cFs::createSymLink(const qucs::cString& sTarget, const qucs::cString& sLink) const
{
    mpImpl->createSymLink(sTarget, sLink);
}

void cFs::setPermissions(const qucs::cString& sPath, const cPermissions& oPermissions,
                         bool bFlag) const
{
    mpImpl->setPermissions(sPath, oPermissions, bFlag);
}

void cFs::bind(qstd::tAutoPtr<cAbstractFsImpl> pFs) const
{
    mpImpl->bind(pFs);
}

void cFs::unbind(const qucs::cString& sPath) const
{
    mpImpl->unbind(sPath);
}

qstd::tSharedObject<cAbstractFileInfoImpl> cFs::createFileInfoImpl(const qucs::cString& sPath) const
{
    return qstd::tSharedObject<cAbstractFileInfoImpl>(mpImpl->createFileInfoImpl(*this, sPath));
}

qstd::tAutoPtr<cAbstractDirImpl> cFs::createDirectoryImpl(const qucs::cString& sPath,
                                                          int iFlags) const
{
    return mpImpl->createDirImpl(*this, sPath, iFlags);
}

qstd::tAutoPtr<cAbstractFileImpl> cFs::createFileImpl(cAbstractIOBlockDevice& oDevice,
                                                      const qucs::cString& sPath) const
{
    return mpImpl->createFileImpl(*this, oDevice, sPath);
}

cFile cFs::fileOpenRead(const qucs::cString& sPath) const
{
    return cFile(*this, sPath, ReadOnly, MustExist, Truncate);
}

cFile cFs::fileOpenWrite(const qucs::cString& sPath, CreateMode eCreate, WriteMode eWrite) const
{
    return cFile(*this, sPath, ReadWrite, eCreate, eWrite);
}

cFile cFs::openFile(const qucs::cString& sPath, OpenMode eOpen, CreateMode eCreate,
                    WriteMode eWrite) const
{
    return cFile(*this, sPath, eOpen, eCreate, eWrite);
}

cFileInfo cFs::fileInfo(const qucs::cString& sPath) const
{
    return cFileInfo(sPath, *this);
}

bool cFs::fileExists(const qucs::cString& sPath, bool bFollow) const
{
    return exists(sPath, bFollow) && fileInfo(sPath).isFile(bFollow);
}

bool cFs::isDeadSymLink(const qucs::cString& sPath) const
{
    return fileInfo(sPath).isDeadSymLink();
}

qstd::tConstListRef<cDir> cFs::openDir(const qucs::cString& sPath, int iFlags) const
{
    return cDir(*this, sPath, iFlags).list();
}

void cFs::createPath(const cPath& oPath) const
{
    for (unsigned k = 0;; ++k) {
        qucs::cString sPrefix = oPath.getParts(k);
        if (sPrefix.empty())
            return;
        // Asked without the final slash: "file/" does not exist, "file" does.
        qucs::cString sDir(sPrefix);
        if (sDir.length() > 1)
            sDir.truncate(sDir.length() - 1);
        if (!exists(sDir, true))
            mkdir(sDir);
        else if (!fileInfo(sDir).isDir(true))
            cIOExceptions::throwNotADirectory(sPrefix, oPath.path());
    }
}

qucs::cString cFs::tryFindInPath(const cPath& oDir, const qucs::cString& sName) const
{
    qucs::cString s = oDir.path();
    cFileInfo::setFileName(s, sName, true);
    if (fileExists(s, true))
        return s;
    return qucs::cString();
}

void cFs::removeRecursive(const qucs::cString& sPath, bool bFollow) const
{
    // A path that names the root after normalisation is never walked.
    if (!sPath.empty() && cPath(sPath, true).unixEquivalent() == "/")
        cIOExceptions::throwRelativePathUnderrun(sPath);
    if (!exists(sPath, false))
        return;
    cFileInfo oInfo(sPath, *this);
    bool bDirectory = oInfo.isSymLink() ? bFollow && exists(sPath, true) && oInfo.isDir(true)
                                        : oInfo.isDir(false);
    if (!bDirectory) {
        remove(sPath);
        return;
    }
    qstd::tStack<cRemoveData> oStack;
    oStack.push(cRemoveData(*this, sPath));
    while (!oStack.empty()) {
        cRemoveData& oTop = oStack.top();
        if (oTop.mpDir->isEnd()) {
            qucs::cString sDir = oTop.msPath;
            oStack.pop();
            remove(sDir);
            continue;
        }
        qucs::cString sEntry = oTop.mpDir->element().fullPath();
        oTop.mpDir->setNext();
        cFileInfo oEntry(sEntry, *this);
        // Links are removed, never followed: a link to a directory loses the link only.
        if (oEntry.type(false) == cFileInfo::Directory)
            oStack.push(cRemoveData(*this, sEntry));
        else
            remove(sEntry);
    }
}

} // namespace qio
