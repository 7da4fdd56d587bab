// linuxdirimpl.cpp - qpi::cLinuxDirImpl.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/platform/dependend/native_linux/linuxdirimpl.h"
#include "qor_core/pi/platform/dependend/native_linux/linuxfsimpl.h"
#include "qor_core/std/exceptions.h"

#include <cerrno>
#include <cstring>

namespace qpi {

cLinuxDirImpl::cLinuxDirImpl(const qio::cFs& oFs, const qucs::cString& sPath, int iFlags)
    : qio::cAbstractDirImpl(oFs, sPath), mpDir(nullptr), moCurrent(oFs), miPosition(0),
      mbEnd(false), mbOmitDot((iFlags & 1) != 0), mbOmitDotDot((iFlags & 2) != 0)
{
    openStream();
    if (msPath.empty())
        msPath = ".";
    if (msPath[msPath.length() - 1] != '/')
        msPath += unsigned('/');
    miPosition = ::telldir(mpDir);
    firstEntry();
}

cLinuxDirImpl::cLinuxDirImpl(const cLinuxDirImpl& oOther)
    : qio::cAbstractDirImpl(oOther.fs(), oOther.msPath), mpDir(nullptr), moCurrent(oOther.fs()),
      miPosition(oOther.miPosition), mbEnd(false), mbOmitDot(oOther.mbOmitDot),
      mbOmitDotDot(oOther.mbOmitDotDot)
{
    openStream();
    ::seekdir(mpDir, oOther.miPosition);
    firstEntry();
}

void cLinuxDirImpl::firstEntry()
{
    // A constructor that throws runs no destructor: the stream is closed here.
    try {
        setNext();
    } catch (...) {
        ::closedir(mpDir);
        mpDir = nullptr;
        throw;
    }
}

cLinuxDirImpl::~cLinuxDirImpl()
{
    if (mpDir)
        ::closedir(mpDir);
}

void cLinuxDirImpl::openStream()
{
    qstd::tArray<char> oName;
    linuxEncodePath(fs().endec(), msPath.empty() ? qucs::cString(".") : msPath, oName);
    mpDir = ::opendir(oName.data());
    if (!mpDir)
        throw qstd::cOSErrorException("opendir", errno, msPath);
}

void cLinuxDirImpl::setNext()
{
    for (;;) {
        miPosition = ::telldir(mpDir);
        struct dirent* pEntry = ::readdir(mpDir);
        if (!pEntry) {
            mbEnd = true;
            return;
        }
        const char* pName = pEntry->d_name;
        if (mbOmitDot && std::strcmp(pName, ".") == 0)
            continue;
        if (mbOmitDotDot && std::strcmp(pName, "..") == 0)
            continue;
        qucs::cString sName;
        qstd::tArray<char> oBytes(pName, unsigned(std::strlen(pName)));
        fs().endec().decode(qstd::tConstArrayRef<char>(oBytes), sName);
        moCurrent.clear();
        moCurrent.appendPath(msPath);
        moCurrent.appendPath(sName);
        return;
    }
}

qstd::tAutoPtr<qio::cAbstractDirImpl> cLinuxDirImpl::createCopy() const
{
    return qstd::tAutoPtr<qio::cAbstractDirImpl>(new cLinuxDirImpl(*this));
}

} // namespace qpi
