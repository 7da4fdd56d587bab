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
      miRead(0), mbEnd(false), mbOmitDot((iFlags & 1) != 0), mbOmitDotDot((iFlags & 2) != 0)
{
    openStream();
    if (msPath.empty())
        msPath = ".";
    if (msPath[msPath.length() - 1] != '/')
        msPath += unsigned('/');
    firstEntry();
}

cLinuxDirImpl::cLinuxDirImpl(const cLinuxDirImpl& oOther)
    : qio::cAbstractDirImpl(oOther.fs(), oOther.msPath), mpDir(nullptr), moCurrent(oOther.fs()),
      miPosition(0), miRead(0), mbEnd(false), mbOmitDot(oOther.mbOmitDot),
      mbOmitDotDot(oOther.mbOmitDotDot)
{
    openStream();
    firstEntry(oOther.miPosition);
}

void cLinuxDirImpl::firstEntry(unsigned long long iSkip)
{
    // A constructor that throws runs no destructor: the stream is closed here.
    try {
        for (; miRead < iSkip; ++miRead) {
            errno = 0;
            if (!::readdir64(mpDir)) {
                if (errno != 0)
                    throw qstd::cOSErrorException("readdir", errno, msPath);
                break; // the directory shrank: the copy continues at its end
            }
        }
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
        miPosition = miRead;
        // The 64-bit entry: on a 32-bit target the plain readdir fails with
        // EOVERFLOW as soon as an inode number or offset exceeds 32 bits.
        errno = 0;
        struct dirent64* pEntry = ::readdir64(mpDir);
        if (!pEntry) {
            mbEnd = true;
            if (errno != 0)
                throw qstd::cOSErrorException("readdir", errno, msPath);
            return;
        }
        ++miRead;
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
