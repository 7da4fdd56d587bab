// debug.cpp - diagnostic lines on standard error.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/debug.h"

#include <cstdio>
#include <cstring>
#include <mutex>

namespace qpi {

namespace {
std::recursive_mutex& debugMutex()
{
    static std::recursive_mutex oMutex;
    return oMutex;
}
} // namespace

void writeDebugLine(const char* pFile, unsigned iLine, const char* pText)
{
    const char* pBase = pFile ? std::strrchr(pFile, '/') : nullptr;
    pBase = pBase ? pBase + 1 : (pFile ? pFile : "unknown");
    qstd::cAsciiString sLine(pBase);
    sLine += ':';
    sLine.addUNum32(iLine);
    sLine += ": ";
    sLine += pText;
    sLine += '\n';
    std::lock_guard<std::recursive_mutex> oLock(debugMutex());
    std::fputs(sLine.c_str(), stderr);
}

void writeDebugLine(const char* pFile, unsigned iLine, const qstd::cAsciiString& sText)
{
    writeDebugLine(pFile, iLine, sText.c_str());
}

} // namespace qpi
