// abstractiodevice.cpp - text lines of qio::cAbstractIODevice.
// SPDX-License-Identifier: MIT
#include "qor_core/io/abstractiodevice.h"
#include "qor_core/io/ioexceptions.h"
#include "qor_core/pi/systime.h"

namespace qio {

cAbstractIODevice::~cAbstractIODevice() {}

bool cAbstractIODevice::readTextLine(tCharArray& oLine,
                                     const qstd::tConstArrayRef<char>& oDelimiter, bool bKeep)
{
    return readDelimited(oLine, oDelimiter, bKeep, false, 0);
}

bool cAbstractIODevice::readTextLine(tCharArray& oLine,
                                     const qstd::tConstArrayRef<char>& oDelimiter, bool bKeep,
                                     unsigned iTimeout)
{
    return readDelimited(oLine, oDelimiter, bKeep, true, iTimeout);
}

bool cAbstractIODevice::readDelimited(tCharArray& oLine,
                                      const qstd::tConstArrayRef<char>& oDelimiter, bool bKeep,
                                      bool bTimed, unsigned iTimeout)
{
    oLine.clear();
    // The delimiter may be a window onto oLine itself, which is cleared and grown here.
    tCharArray oEnd;
    if (!oDelimiter.empty())
        oEnd.append(oDelimiter.constData(), oDelimiter.length());
    const unsigned iEndLength = oEnd.length();
    const qstd::cTime oStart = qpi::cSysTime::utcTime();
    char c = 0;
    while (read(&c, 1) == 1) {
        oLine.append(c);
        if (iEndLength && oLine.length() >= iEndLength && oLine.endsWith(oEnd.data(), iEndLength)) {
            if (!bKeep)
                oLine.truncate(oLine.length() - iEndLength);
            return true;
        }
        if (bTimed && qpi::cSysTime::diffTime(oStart).toMSec() > iTimeout)
            cIOExceptions::throwIOTimeout(iTimeout);
    }
    return false;
}

bool cAbstractIODevice::readTextLine(tCharArray& oLine, unsigned iTimeout)
{
    oLine.clear();
    const qstd::cTime oStart = qpi::cSysTime::utcTime();
    char c = 0;
    while (read(&c, 1) == 1) {
        if (c == 13 || c == 10) {
            if (!oLine.empty())
                return true;
        } else {
            oLine.append(c);
        }
        if (iTimeout != 0 && qpi::cSysTime::diffTime(oStart).toMSec() > iTimeout)
            cIOExceptions::throwIOTimeout(iTimeout);
    }
    return false;
}

void cAbstractIODevice::writeAll(const char* pData, unsigned iLength)
{
    if (iLength && write(pData, iLength) != iLength)
        cIOExceptions::throwUnableToWrite(iLength);
}

void cAbstractIODevice::writeTextLine(const qstd::cAsciiString& sText,
                                      const qstd::cAsciiString& sLineEnd)
{
    writeAll(sText.data(true), sText.length());
    writeAll(sLineEnd.data(true), sLineEnd.length());
}

void cAbstractIODevice::writeTextLine(const qstd::tConstArrayRef<char>& oText,
                                      const qstd::cAsciiString& sLineEnd)
{
    writeAll(oText.constData(), oText.length());
    writeAll(sLineEnd.data(true), sLineEnd.length());
}

} // namespace qio
