// endecutf8.cpp - cEnDecUTF8 and decodeUTF8.
// SPDX-License-Identifier: MIT
#include "qor_core/ucs/endecutf8.h"
#include "qor_core/std/exception.h"
#include "qor_core/ucs/limessage.h"
#include "qor_core/ucs/ucsexceptions.h"

#include <cstdint>
#include <cstring>

namespace qucs {

namespace {

/// Trailing bytes announced by a lead byte.
unsigned trailingBytes(unsigned char cLead)
{
    if (cLead < 0xC0)
        return 0;
    if (cLead < 0xE0)
        return 1;
    if (cLead < 0xF0)
        return 2;
    if (cLead < 0xF8)
        return 3;
    if (cLead < 0xFC)
        return 4;
    if (cLead < 0xFE)
        return 5;
    return cLead == 0xFE ? 6 : 7;
}

const unsigned kOffsets[4] = {0x00000000u, 0x00003080u, 0x000E2080u, 0x03C82080u};

/// Throws the decode error with iCause beneath it.
[[noreturn]] void throwDecodeError(const qstd::cAbstractException& oCause)
{
    cUCSExceptions::throwUCSDecodeError(oCause);
}

[[noreturn]] void throwEndOfData(unsigned iIndex)
{
    try {
        throwUEOD(iIndex);
    } catch (const qstd::cAbstractException& e) {
        throwDecodeError(e);
    }
}

[[noreturn]] void throwUnsupportedLength(unsigned iLength)
{
    cLIMessage oMsg;
    oMsg << "$MTR$UTF8 decode error - unsupported length of %length%!" << iLength;
    throwDecodeError(qstd::cRuntimeException(oMsg, nullptr, 0));
}

/// A byte inside a multi-byte sequence that is not of the form 10xxxxxx.
[[noreturn]] void throwInvalidContinuation(unsigned iIndex)
{
    cLIMessage oMsg;
    oMsg << "$MTR$UTF8 decode error - invalid continuation byte at index %index%!" << iIndex;
    throwDecodeError(qstd::cRuntimeException(oMsg, nullptr, 0));
}

/// A sequence longer than the character needs; decoding it would let, say, "/"
/// pass a check made on the bytes.
[[noreturn]] void throwOverlongForm(unsigned iIndex)
{
    cLIMessage oMsg;
    oMsg << "$MTR$UTF8 decode error - overlong form at index %index%!" << iIndex;
    throwDecodeError(qstd::cRuntimeException(oMsg, nullptr, 0));
}

/// The smallest character each sequence length (by trailing bytes) may carry.
const unsigned kMinimumOf[4] = {0x0u, 0x80u, 0x800u, 0x10000u};

/// Decodes one character from a zero-filled view of at most 8 bytes: byte k is
/// pData[k] for k < iAvailable and 0 beyond, as if the input had been copied into
/// an 8-byte buffer. Sets iConsumed to the bytes used. Reported indexes count
/// from iIndexBase. A zero byte ends the data; a trailing byte not of the form
/// 10xxxxxx and a sequence longer than its character needs are decode errors; a
/// stray continuation byte as lead stands for itself.
unsigned decodeBounded(const unsigned char* pData, unsigned iAvailable, unsigned& iConsumed,
                       unsigned iIndexBase)
{
    if (iAvailable > 8)
        iAvailable = 8;
    unsigned char cLead = iAvailable ? pData[0] : 0;
    if (cLead == 0)
        throwEndOfData(iIndexBase);
    if (cLead < 0x80) {
        iConsumed = 1;
        return cLead;
    }
    unsigned iTrailing = trailingBytes(cLead);
    if (iTrailing > 3)
        throwUnsupportedLength(iTrailing);
    unsigned iValue = 0;
    for (unsigned k = 0; k <= iTrailing; ++k) {
        unsigned char c = k < iAvailable ? pData[k] : 0;
        if (c == 0)
            throwEndOfData(iIndexBase + k);
        if (k > 0 && (c & 0xC0) != 0x80)
            throwInvalidContinuation(iIndexBase + k);
        iValue += c;
        if (k < iTrailing)
            iValue <<= 6;
    }
    iValue -= kOffsets[iTrailing];
    if (iValue < kMinimumOf[iTrailing])
        throwOverlongForm(iIndexBase);
    iConsumed = iTrailing + 1;
    return iValue;
}

/// Largest code point of the five-byte form.
const unsigned kMaxEncodable = 0x3FFFFFF;

[[noreturn]] void throwUnmappable()
{
    cLIMessage oMsg;
    oMsg << "$MTR$Unable to convert unmappable character to utf8!";
    cUCSExceptions::throwUSCEncodeError(qstd::cRuntimeException(oMsg, nullptr, 0));
}

unsigned encodedLength(unsigned iChar)
{
    // Written without branches so that the length pass vectorises.
    return 1 + (iChar >= 0x80) + (iChar >= 0x800) + (iChar >= 0x10000) + (iChar >= 0x200000);
}

/// Sequence length by lead byte for the fast decoder: 1 to 4, or 0 for the zero
/// byte and for leads of unsupported lengths, which take the checked path.
struct cLeadLengths
{
    unsigned char miLength[256];
    constexpr cLeadLengths() : miLength()
    {
        for (unsigned c = 1; c < 256; ++c)
            miLength[c] = c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : c < 0xF8 ? 4 : 0;
    }
};
constexpr cLeadLengths kLeadLengths;
const std::uint32_t kSequenceMask[5] = {0, 0xFFu, 0xFFFFu, 0xFFFFFFu, 0xFFFFFFFFu};
/// The two top bits of the trailing bytes of a sequence of 1 to 4 bytes, and the
/// pattern 10 they must show.
const std::uint32_t kTrailingTopBits[5] = {0, 0, 0xC000u, 0xC0C000u, 0xC0C0C000u};
const std::uint32_t kTrailingPattern[5] = {0, 0, 0x8000u, 0x808000u, 0x80808000u};

/// Decodes one character from four readable bytes with the same arithmetic as the
/// checked path. Sets iLength to the bytes used, or to 0 when the sequence has an
/// unsupported length, a trailing byte that is no continuation byte (a zero byte
/// included) or an overlong form: the caller then takes the checked path, which
/// reports the failure.
inline unsigned decodeFast(const unsigned char* pIn, unsigned& iLength)
{
    std::uint32_t iWord = std::uint32_t(pIn[0]) | std::uint32_t(pIn[1]) << 8 |
                          std::uint32_t(pIn[2]) << 16 | std::uint32_t(pIn[3]) << 24;
    unsigned iBytes = kLeadLengths.miLength[iWord & 0xFF];
    if (iBytes == 0 || (iWord & kTrailingTopBits[iBytes]) != kTrailingPattern[iBytes]) {
        iLength = 0;
        return 0;
    }
    iWord &= kSequenceMask[iBytes]; // the bytes behind the sequence must not carry in
    std::uint32_t iValue = ((iWord & 0xFF) << 18) + (((iWord >> 8) & 0xFF) << 12) +
                           (((iWord >> 16) & 0xFF) << 6) + (iWord >> 24);
    iValue = (iValue >> (6 * (4 - iBytes))) - kOffsets[iBytes - 1];
    iLength = iValue < kMinimumOf[iBytes - 1] ? 0 : iBytes;
    return iValue;
}

/// Encodes a character below 0x200000 into four writable bytes; returns the length.
inline unsigned encodeFast(unsigned iChar, char* pOut)
{
    static const std::uint32_t kLeadMarks[5] = {0, 0, 0xC0, 0xE0, 0xF0};
    unsigned iLength = 1 + (iChar >= 0x80) + (iChar >= 0x800) + (iChar >= 0x10000);
    std::uint32_t iWord = (0x80u | (iChar & 0x3F)) << 24 | (0x80u | ((iChar >> 6) & 0x3F)) << 16 |
                          (0x80u | ((iChar >> 12) & 0x3F)) << 8;
    iWord >>= 8 * (4 - iLength);
    iWord = (iWord & ~0xFFu) | kLeadMarks[iLength] | (iChar >> (6 * (iLength - 1)));
    pOut[0] = char(iWord);
    pOut[1] = char(iWord >> 8);
    pOut[2] = char(iWord >> 16);
    pOut[3] = char(iWord >> 24);
    return iLength;
}

/// Writes the bytes of a character of iLength bytes (2 to 5) to pOut.
void writeMultiByte(unsigned iChar, unsigned iLength, char* pOut)
{
    static const unsigned char kMarks[6] = {0, 0, 0xC0, 0xE0, 0xF0, 0xF8};
    for (unsigned k = iLength - 1; k > 0; --k) {
        pOut[k] = char(0x80 | (iChar & 0x3F));
        iChar >>= 6;
    }
    pOut[0] = char(iChar | kMarks[iLength]);
}

/// True when all eight bytes of the word are in 1..0x7F.
bool allPlainAscii(std::uint64_t iWord)
{
    const std::uint64_t kHighBits = 0x8080808080808080ull;
    const std::uint64_t kOnes = 0x0101010101010101ull;
    return ((iWord | (iWord - kOnes)) & kHighBits) == 0;
}

} // namespace

unsigned int decodeUTF8(const char* pData, unsigned int& iIndex)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(pData) + iIndex;
    if (p[0] != 0 && p[0] < 0x80) {
        ++iIndex;
        return p[0];
    }
    // The text is zero-terminated: no byte past the first zero is read.
    unsigned iAvailable = 0;
    while (iAvailable < 4 && p[iAvailable] != 0)
        ++iAvailable;
    unsigned iConsumed = 0;
    unsigned iChar = decodeBounded(p, iAvailable, iConsumed, iIndex);
    iIndex += iConsumed;
    return iChar;
}

qstd::cAsciiString cEnDecUTF8::name() const
{
    return qstd::cAsciiString("Endec-UTF8");
}

void cEnDecUTF8::encodeChar(unsigned int iChar, qstd::tArray<char>& oTarget)
{
    if (iChar < 0x80) {
        oTarget.append(char(iChar));
        return;
    }
    if (iChar > kMaxEncodable)
        throwUnmappable();
    unsigned iLength = encodedLength(iChar);
    unsigned iAt = oTarget.appendElements(iLength);
    writeMultiByte(iChar, iLength, oTarget.data() + iAt);
}

void cEnDecUTF8::encode(const cString& sSource, qstd::tArray<char>& oTarget) const
{
    unsigned iCount = sSource.length();
    if (iCount == 0)
        return;
    const unsigned* pIn = sSource.data();
    unsigned long long iBytes = 0;
    for (unsigned i = 0; i < iCount; ++i) {
        if (pIn[i] > kMaxEncodable)
            throwUnmappable();
        iBytes += encodedLength(pIn[i]);
    }
    if (iBytes > 0xffffffffull)
        qstd::cSTDExceptions::throwOutOfBounds("tArray", "encode");
    unsigned iAt = oTarget.appendElements(unsigned(iBytes));
    char* pOut = oTarget.data() + iAt;
    char* pEnd = pOut + iBytes;
    unsigned i = 0;
    for (; i < iCount && pEnd - pOut >= 4 && pIn[i] < 0x200000; ++i)
        pOut += encodeFast(pIn[i], pOut);
    for (; i < iCount; ++i) {
        unsigned iChar = pIn[i];
        if (iChar < 0x80) {
            *pOut++ = char(iChar);
        } else {
            unsigned iLength = encodedLength(iChar);
            writeMultiByte(iChar, iLength, pOut);
            pOut += iLength;
        }
    }
}

void cEnDecUTF8::decode(const qstd::tConstArrayRef<char>& oSource, cString& sTarget) const
{
    unsigned iLength = oSource.length();
    if (iLength == 0)
        return;
    const unsigned char* pIn = reinterpret_cast<const unsigned char*>(oSource.constData());
    // Every byte yields at most one character: decode into room for all of them and
    // cut the rest afterwards.
    unsigned iBase = sTarget.appendElements(iLength);
    unsigned* pOut = sTarget.data() + iBase;
    unsigned iOut = 0;
    unsigned i = 0;
    try {
        while (i < iLength) {
            while (i + 8 <= iLength) {
                std::uint64_t iWord;
                std::memcpy(&iWord, pIn + i, 8);
                if (!allPlainAscii(iWord))
                    break;
                for (unsigned k = 0; k < 8; ++k)
                    pOut[iOut + k] = pIn[i + k];
                i += 8;
                iOut += 8;
            }
            if (i >= iLength)
                break;
            unsigned char c = pIn[i];
            if (c != 0 && c < 0x80) {
                pOut[iOut++] = c;
                ++i;
                continue;
            }
            unsigned iConsumed = 0;
            if (i + 4 <= iLength) {
                unsigned iChar = decodeFast(pIn + i, iConsumed);
                if (iConsumed) {
                    pOut[iOut++] = iChar;
                    i += iConsumed;
                    continue;
                }
            }
            pOut[iOut] = decodeBounded(pIn + i, iLength - i, iConsumed, 0);
            ++iOut;
            i += iConsumed;
        }
    } catch (...) {
        sTarget.truncate(iBase + iOut);
        throw;
    }
    sTarget.truncate(iBase + iOut);
}

} // namespace qucs
