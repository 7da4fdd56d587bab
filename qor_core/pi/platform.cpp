// platform.cpp - qpi::cPlatform.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/platform.h"
#include "qor_core/pi/platform/dependend/native_linux/epollprocessevents.h"
#include "qor_core/pi/system.h"
#include "qor_core/std/array.h"
#include "qor_core/ucs/abstractendec.h"

#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace qpi {

qstd::cAsciiString cPlatform::getEnv(const qstd::cAsciiString& sName) const
{
    return qstd::cAsciiString(std::getenv(sName.c_str()));
}

qstd::cAsciiString cPlatform::userName() const
{
    const char* pUser = std::getenv("USER");
    return qstd::cAsciiString(pUser ? pUser : "unknown");
}

qucs::cString cPlatform::homeDirectory() const
{
    qucs::cString sHome;
    const char* pHome = std::getenv("HOME");
    if (pHome) {
        qstd::tArray<char> oBytes(pHome, unsigned(std::strlen(pHome)));
        system().defaults().moEnDec.decode(qstd::tConstArrayRef<char>(oBytes), sHome);
    }
    return sHome;
}

qucs::cString cPlatform::osDirectory() const
{
    return qucs::cString("/");
}

qucs::cString cPlatform::applicationsDirectory() const
{
    return qucs::cString("/usr/local/");
}

qstd::cAsciiString cPlatform::hostname() const
{
    char cBuffer[1025];
    if (gethostname(cBuffer, 1024) != 0)
        return qstd::cAsciiString("unknown");
    cBuffer[1024] = 0;
    return qstd::cAsciiString(cBuffer);
}

unsigned cPlatform::pid() const
{
    return unsigned(getpid());
}

void cPlatform::yield() const
{
    usleep(1);
}

qstd::tAutoPtr<cAbstractProcessEvents> cPlatform::createProcessEvents() const
{
    return qstd::tAutoPtr<cAbstractProcessEvents>(new cEpollProcessEvents);
}

qstd::cAsciiString cPlatform::osFileIOErrorString(int iError) const
{
    char cBuffer[256];
    cBuffer[0] = 0;
    // The GNU strerror_r returns the text, which need not be in the buffer.
    const char* pText = strerror_r(iError, cBuffer, sizeof(cBuffer));
    qstd::cAsciiString sText(pText);
    if (sText.empty())
        sText.setNum(iError);
    return sText;
}

} // namespace qpi
