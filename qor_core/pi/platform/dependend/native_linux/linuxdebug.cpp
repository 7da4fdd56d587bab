// linuxdebug.cpp - stack traces and the break-point hook on Linux.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/debug.h"
#include "qor_core/std/numberconversion.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <dlfcn.h>
#include <execinfo.h>
#include <unistd.h>

namespace qpi {

namespace {
const unsigned kMaxFrames = 128;

unsigned clampCount(unsigned iCount)
{
    if (iCount == 0)
        return 1;
    return iCount > kMaxFrames ? kMaxFrames : iCount;
}
} // namespace

void piBackTrace(std::uintptr_t* pFrames, unsigned iCount)
{
    iCount = clampCount(iCount);
    void* pAddresses[kMaxFrames];
    for (unsigned i = 0; i < iCount; ++i)
        pFrames[i] = 0;
    int iTaken = iCount > 1 ? backtrace(pAddresses, int(iCount - 1)) : 0;
    for (int i = 0; i < iTaken; ++i)
        pFrames[i] = reinterpret_cast<std::uintptr_t>(pAddresses[i]);
    pFrames[iCount - 1] = 0;
}

qstd::cAsciiString tryResolveAddrToSymbol(void* pAddress, bool& bFound)
{
    Dl_info oInfo;
    bFound = false;
    if (dladdr(pAddress, &oInfo) && oInfo.dli_sname && oInfo.dli_saddr) {
        bFound = true;
        int iStatus = 0;
        char* pDemangled = abi::__cxa_demangle(oInfo.dli_sname, nullptr, nullptr, &iStatus);
        qstd::cAsciiString sName(iStatus == 0 && pDemangled ? pDemangled : oInfo.dli_sname);
        std::free(pDemangled);
        return sName;
    }
    qstd::cAsciiString sText("0x");
    qstd::cNumberConversionFormat oHex(16);
    sText.addUNum(reinterpret_cast<std::uintptr_t>(pAddress), oHex);
    return sText;
}

namespace {
/// Walks the stack: calls fFrame(index, address, symbol) for each frame, up to and
/// including the frame of main.
template <class F> void walkStack(unsigned iCount, F fFrame)
{
    iCount = clampCount(iCount);
    void* pAddresses[kMaxFrames];
    int iTaken = backtrace(pAddresses, int(iCount));
    for (int i = 0; i < iTaken; ++i) {
        bool bFound;
        qstd::cAsciiString sSymbol = tryResolveAddrToSymbol(pAddresses[i], bFound);
        fFrame(unsigned(i), pAddresses[i], sSymbol);
        if (sSymbol == "main")
            break;
    }
}

unsigned giStackDumpsRunning = 0;
} // namespace

qstd::cAsciiString piStackTrace(unsigned iCount)
{
    qstd::cAsciiString sTrace("\n\n");
    qstd::cAsciiString sIndent;
    walkStack(iCount, [&](unsigned, void* pAddress, const qstd::cAsciiString& sSymbol) {
        if (pAddress) {
            sTrace += sIndent;
            sTrace += sSymbol;
        }
        sTrace += '\n';
        sIndent += "  ";
    });
    return sTrace;
}

void piStackTrace(unsigned iCount, qstd::cAsciiString* psSymbols)
{
    walkStack(iCount, [&](unsigned iIndex, void* pAddress, const qstd::cAsciiString& sSymbol) {
        if (pAddress)
            psSymbols[iIndex] = sSymbol;
    });
}

void piStackDump()
{
    if (giStackDumpsRunning)
        return;
    ++giStackDumpsRunning;
    std::fprintf(stderr, "Stackdump: \n%s\n", piStackTrace(128).c_str());
    --giStackDumpsRunning;
}

bool piResolveAddress(std::uintptr_t iAddress, qstd::cAsciiString& sResult)
{
    bool bFound = false;
    sResult = tryResolveAddrToSymbol(reinterpret_cast<void*>(iAddress), bFound);
    return bFound;
}

void breakPoint()
{
    kill(getpid(), SIGTRAP);
}

} // namespace qpi
