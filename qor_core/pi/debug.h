// debug.h - diagnostic lines on standard error, stack traces and the break-point hook.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_DEBUG_H
#define QOR_CORE_PI_DEBUG_H

#include "qor_core/std/asciistring.h"

#include <cstdint>

namespace qpi {

/// Writes one whole diagnostic line to standard error: the base name of pFile, ":",
/// the line number, ": ", the text. Lines of different threads never interleave.
QOR_EXPORT void writeDebugLine(const char* pFile, unsigned iLine, const char* pText);
QOR_EXPORT void writeDebugLine(const char* pFile, unsigned iLine, const qstd::cAsciiString& sText);

/// Takes up to iCount - 1 return addresses into pFrames (at most 128 entries are
/// touched); the last of the touched entries is always 0. Addresses keep the
/// pointer's width.
QOR_EXPORT void piBackTrace(std::uintptr_t* pFrames, unsigned iCount);

/// The readable call stack of up to iCount frames, one frame per line, stopping
/// after main.
QOR_EXPORT qstd::cAsciiString piStackTrace(unsigned iCount);

/// The symbol at an address, demangled; found tells whether there was one, else the
/// result is the address in hexadecimal.
QOR_EXPORT qstd::cAsciiString tryResolveAddrToSymbol(void* pAddress, bool& bFound);

/// Stops in an attached debugger: sends SIGTRAP to the own process.
QOR_EXPORT void breakPoint();

} // namespace qpi

/// Writes one diagnostic line tagged with the calling source location.
#define QOR_DEBUG_LINE(text) ::qpi::writeDebugLine(__FILE__, __LINE__, text)

#endif // QOR_CORE_PI_DEBUG_H
