// framedecoder.cpp - the length-prefixed framing of the remote-call protocol.
// SPDX-License-Identifier: MIT
#include "remote/framedecoder.h"
#include "remote/remoteexceptions.h"
#include "qor_core/std/stdexceptions.h"

#include <cstring>

namespace qremote {

namespace {

unsigned readLength(const char* p)
{
    const unsigned char* u = reinterpret_cast<const unsigned char*>(p);
    return unsigned(u[0]) | (unsigned(u[1]) << 8) | (unsigned(u[2]) << 16) | (unsigned(u[3]) << 24);
}

} // namespace

cFrameDecoder::cFrameDecoder() : miStart(0), mbFailed(false) {}

void cFrameDecoder::feed(const char* pData, unsigned iSize)
{
    if (mbFailed || iSize == 0)
        return;
    // Drop what was handed out before the buffer grows again; compacting only once
    // at least half of it is spent keeps the copying linear.
    if (miStart > 0 && miStart >= moBuffer.size() / 2) {
        moBuffer.erase(0, miStart);
        miStart = 0;
    }
    moBuffer.append(pData, iSize);
}

bool cFrameDecoder::next(qstd::tArray<char>& oPayload)
{
    if (mbFailed)
        cRemoteExceptions::throwNotAPeer();
    const unsigned iAvailable = moBuffer.size() - miStart;
    if (iAvailable < unsigned(kHeaderSize))
        return false;
    const unsigned iLength = readLength(moBuffer.data() + miStart);
    if (iLength > unsigned(kMaxFrameSize)) {
        mbFailed = true;
        cRemoteExceptions::throwFrameTooLarge(iLength, kMaxFrameSize);
    }
    if (iLength < unsigned(kMinFrameSize)) {
        mbFailed = true;
        cRemoteExceptions::throwFrameTooShort(iLength);
    }
    if (iAvailable - unsigned(kHeaderSize) < iLength)
        return false;
    oPayload.setSize(iLength);
    std::memcpy(oPayload.data(), moBuffer.data() + miStart + kHeaderSize, iLength);
    miStart += unsigned(kHeaderSize) + iLength;
    if (miStart == moBuffer.size()) {
        moBuffer.setSize(0); // keeps the memory for the next frames
        miStart = 0;
    }
    return true;
}

void cFrameDecoder::reset()
{
    moBuffer.clear();
    miStart = 0;
    mbFailed = false;
}

void cFrameDecoder::appendFrame(qstd::tArray<char>& oOut, const char* pPayload, unsigned iSize)
{
    if (iSize > unsigned(kMaxFrameSize))
        qstd::cSTDExceptions::throwCoreBug("remote frame above the size limit", __FILE__, __LINE__);
    const char cHeader[kHeaderSize] = {char(iSize & 0xFF), char((iSize >> 8) & 0xFF),
                                       char((iSize >> 16) & 0xFF), char((iSize >> 24) & 0xFF)};
    oOut.append(cHeader, unsigned(kHeaderSize));
    oOut.append(pPayload, iSize);
}

} // namespace qremote
