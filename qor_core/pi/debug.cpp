// debug.cpp - writing debug lines.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/debug.h"
#include "qor_core/pi/system.h"

#include <cstdio>

namespace qpi {

namespace {

/// Standard error without tags, filters or indentation: where debug lines go while
/// the system debug output is being built.
class cPlainStdErr : public cAbstractOut
{
public:
    void printChar(char cChar) override { std::fputc(cChar, stderr); }
};

cAbstractOut& currentDebugOut()
{
    if (cSystem* pSystem = trySystem())
        return pSystem->debugOut();
    static cPlainStdErr oFallback;
    return oFallback;
}

} // namespace

cDebugLine::cDebugLine(const char* pFile, unsigned int iLine)
    : moOut(currentDebugOut()), moLock(moOut.mutex())
{
    moOut.debugMessage(pFile, iLine);
}

cDebugLine::~cDebugLine()
{
    // A destructor must not throw, and it also runs while an exception thrown by one
    // of the values streamed in unwinds: when memory runs out while the line is
    // finished, what was collected is written as it is and the line ends there.
    try {
        moOut << "\n";
    } catch (...) {
        try {
            moOut.flush();
        } catch (...) {
        }
    }
    moOut << cAbstractOut::clearDebugMessage();
}

} // namespace qpi
