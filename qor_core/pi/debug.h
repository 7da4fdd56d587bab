// debug.h - writing debug lines, stack traces and the break-point hook.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_DEBUG_H
#define QOR_CORE_PI_DEBUG_H

#include "qor_core/pi/abstractout.h"
#include "qor_core/std/asciistring.h"

#include <cstdint>

namespace qpi {

/// One debug line on the system debug output, the way every line of the framework
/// is written: the constructor locks the stream and tags the line with its source
/// location; the values streamed in form the text; the destructor ends the line,
/// clears the tag and unlocks. Lines of different threads never interleave.
class QOR_EXPORT cDebugLine
{
public:
    cDebugLine(const char* pFile, unsigned int iLine);
    ~cDebugLine();
    cDebugLine(const cDebugLine&) = delete;
    cDebugLine& operator=(const cDebugLine&) = delete;

    template <class T> cDebugLine& operator<<(const T& oValue)
    {
        moOut << oValue;
        return *this;
    }

private:
    cAbstractOut& moOut;
    qp::cLocker::cLock moLock;
};

/// Fills pFrames with up to iCount - 1 return addresses (iCount is clamped to 1..128)
/// and sets the last of the iCount entries to 0. Addresses keep the pointer's width.
QOR_EXPORT void piBackTrace(std::uintptr_t* pFrames, unsigned int iCount);

/// The call stack of up to iCount frames (clamped to 1..128): "\n\n", then one frame
/// per line, indented two more spaces per frame, ending after main.
QOR_EXPORT qstd::cAsciiString piStackTrace(unsigned int iCount);

/// The same walk, storing each frame's symbol at its index of psSymbols, which must
/// hold iCount strings.
QOR_EXPORT void piStackTrace(unsigned int iCount, qstd::cAsciiString* psSymbols);

/// Writes "Stackdump:" and the stack trace to standard error, unless a dump is
/// already being written.
QOR_EXPORT void piStackDump();

/// The symbol at an address; returns whether there was one.
QOR_EXPORT bool piResolveAddress(std::uintptr_t iAddress, qstd::cAsciiString& sResult);

/// The demangled symbol at an address; bFound tells whether there was one, else the
/// result is "0x" and the address in hexadecimal.
QOR_EXPORT qstd::cAsciiString tryResolveAddrToSymbol(void* pAddress, bool& bFound);

/// Stops in an attached debugger: sends SIGTRAP to the own process.
QOR_EXPORT void breakPoint();

} // namespace qpi

/// Writes one debug line tagged with the calling source location; the argument is
/// streamed into the line (chain further values with <<).
#define QOR_DEBUG_LINE(text) (::qpi::cDebugLine(__FILE__, __LINE__) << text)

#endif // QOR_CORE_PI_DEBUG_H
