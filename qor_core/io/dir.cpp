// dir.cpp - qio::cDir, qio::cDirInfo and the directory-reader base.
// SPDX-License-Identifier: MIT
#include "qor_core/io/dir.h"
#include "qor_core/pi/system.h"

namespace qio {

cAbstractDirImpl::~cAbstractDirImpl() {}

// --- cDirInfo ---------------------------------------------------------------

cDirInfo::cDirInfo() : moFs(qpi::system().fs()), msPath(moFs.cwd().path()), mbStacked(false) {}

cDirInfo::cDirInfo(const cFs& oFs) : moFs(oFs), mbStacked(false) {}

cDirInfo::cDirInfo(const cFs& oFs, const qucs::cString& sPath, StackedFsPath)
    : moFs(oFs), msPath(sPath), mbStacked(true)
{
}

void cDirInfo::appendPath(const char* pText)
{
    msPath.appendC(pText);
}

void cDirInfo::appendPath(const qucs::cString& sText)
{
    msPath += qucs::cString(sText);
}

bool cDirInfo::operator==(const cDirInfo& oOther) const
{
    return msPath == oOther.msPath && moFs.sameImpl(oOther.moFs);
}

// --- cDir -------------------------------------------------------------------

cDir::cDir(const cFs& oFs, const qucs::cString& sPath, int iFlags)
    : mpImpl(oFs.createDirectoryImpl(sPath, iFlags))
{
}

cDir::cDir(const qucs::cString& sPath, int iFlags) : cDir(qpi::system().fs(), sPath, iFlags) {}

cDir::cDir(const char* pPath, int iFlags) : cDir(qpi::system().fs(), qucs::cString(pPath), iFlags)
{
}

cDir::cDir(qstd::tAutoPtr<cAbstractDirImpl> pImpl) : mpImpl(pImpl) {}

cDir::cDir(const cDir& oOther)
    : qstd::tConstListRefNode<cDirInfo>(oOther),
      mpImpl(oOther.mpImpl ? oOther.mpImpl->createCopy() : qstd::tAutoPtr<cAbstractDirImpl>())
{
}

cDir& cDir::operator=(const cDir& oOther)
{
    if (this != &oOther) {
        cDir oCopy(oOther);
        mpImpl.swap(oCopy.mpImpl);
    }
    return *this;
}

cDir::~cDir() {}

void cDir::setNext()
{
    QOR_ASSERT_TEXT(mpImpl.get() != nullptr, "mpImpl.get() != 0");
    mpImpl->setNext();
}

const cDirInfo& cDir::element() const
{
    QOR_ASSERT_TEXT(mpImpl.get() != nullptr, "mpImpl.get() != 0");
    return mpImpl->element();
}

bool cDir::isEnd() const
{
    return !mpImpl || mpImpl->isEnd();
}

qstd::tConstListRefNode<cDirInfo>* cDir::createCopy() const
{
    return new cDir(*this);
}

bool cDir::operator==(const cDir& oOther) const
{
    return (mpImpl.get() != nullptr) == (oOther.mpImpl.get() != nullptr);
}

qstd::tConstListRef<cDir> cDir::list() const
{
    return qstd::tConstListRef<cDir>(*this);
}

// --- cRemoveData ------------------------------------------------------------

cRemoveData::cRemoveData(const cFs& oFs, const qucs::cString& sPath)
    : moFs(oFs), msPath(sPath), mpDir(new cDir(oFs, sPath, OmitDot | OmitDotDot))
{
}

} // namespace qio
