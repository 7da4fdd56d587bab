// endecutf16.cpp - cEnDecUTF16.
// SPDX-License-Identifier: MIT
#include "qor_core/ucs/endecutf16.h"
#include "qor_core/std/exception.h"
#include "qor_core/ucs/limessage.h"

namespace qucs {

namespace {

[[noreturn]] void throwRuntime(const char* pText)
{
    cLIMessage oMsg;
    oMsg << pText;
    throw qstd::cRuntimeException(oMsg, nullptr, 0);
}

/// Splits iChar into one or two units, throwing for values UTF-16 cannot carry.
unsigned toUnits(unsigned iChar, unsigned short* pUnits)
{
    if ((iChar >= 0xD800 && iChar <= 0xDFFF) || iChar >= 0x110000)
        throwRuntime("$MTR$Unable to convert unmappable character to utf16!");
    if (iChar < 0x10000) {
        pUnits[0] = (unsigned short)iChar;
        return 1;
    }
    unsigned iValue = iChar - 0x10000;
    pUnits[0] = (unsigned short)(0xD800 | (iValue >> 10));
    pUnits[1] = (unsigned short)(0xDC00 | (iValue & 0x3FF));
    return 2;
}

} // namespace

qstd::cAsciiString cEnDecUTF16::name() const
{
    return qstd::cAsciiString("Endec-UTF16");
}

void cEnDecUTF16::encode(const cString& sSource, qstd::tArray<char>& oTarget) const
{
    bool bBigEndian = (miOptions & BigEndian) != 0;
    if (miOptions & ByteOrderMark) {
        oTarget.append(char(bBigEndian ? 0xFE : 0xFF));
        oTarget.append(char(bBigEndian ? 0xFF : 0xFE));
    }
    for (unsigned i = 0; i < sSource.length(); ++i) {
        unsigned short iUnits[2];
        unsigned iCount = toUnits(sSource[i], iUnits);
        for (unsigned k = 0; k < iCount; ++k) {
            char cHigh = char(iUnits[k] >> 8), cLow = char(iUnits[k] & 0xFF);
            oTarget.append(bBigEndian ? cHigh : cLow);
            oTarget.append(bBigEndian ? cLow : cHigh);
        }
    }
}

void cEnDecUTF16::encode(const cString& sSource, qstd::tArray<unsigned short>& oTarget) const
{
    if (miOptions & ByteOrderMark)
        oTarget.append((unsigned short)0xFEFF);
    for (unsigned i = 0; i < sSource.length(); ++i) {
        unsigned short iUnits[2];
        oTarget.append(iUnits, toUnits(sSource[i], iUnits));
    }
}

void cEnDecUTF16::encodeCString(const cString& sSource, qstd::tArray<unsigned short>& oTarget) const
{
    encode(sSource, oTarget);
    oTarget.append((unsigned short)0);
}

template <class F> void cEnDecUTF16::decodeUnits(unsigned iCount, F unitAt, cString& sTarget) const
{
    for (unsigned i = 0; i < iCount; ++i) {
        unsigned iUnit = unitAt(i);
        if (iUnit < 0xD800 || iUnit > 0xDFFF) {
            sTarget.append(iUnit);
            continue;
        }
        if (i + 1 >= iCount)
            throwRuntime("$MTR$Unable to read corrupt utf16 data!");
        unsigned iLow = unitAt(++i);
        if (iUnit > 0xDBFF || iLow < 0xDC00 || iLow > 0xDFFF)
            throwRuntime("$MTR$Invalid byte sequence while decoding utf16!");
        sTarget.append(0x10000 + (((iUnit & 0x3FF) << 10) | (iLow & 0x3FF)));
    }
}

void cEnDecUTF16::decode(const qstd::tConstArrayRef<char>& oSource, cString& sTarget) const
{
    unsigned iLength = oSource.length();
    const unsigned char* p = reinterpret_cast<const unsigned char*>(oSource.constData());
    bool bBigEndian = (miOptions & BigEndian) != 0;
    unsigned iStart = 0;
    if (miOptions & ByteOrderMark) {
        if (iLength < 2)
            throwRuntime("$MTR$Source buffer exhausted!");
        if (p[0] == 0xFF && p[1] == 0xFE)
            bBigEndian = false;
        else if (p[0] == 0xFE && p[1] == 0xFF)
            bBigEndian = true;
        else
            throwRuntime("$MTR$Invalid byte order mark while decoding utf16!");
        iStart = 2;
    }
    const unsigned char* pUnits = p + iStart;
    unsigned iBytes = iLength - iStart;
    auto unitAt = [pUnits, bBigEndian](unsigned i) -> unsigned {
        unsigned a = pUnits[2 * i], b = pUnits[2 * i + 1];
        return bBigEndian ? (a << 8) | b : (b << 8) | a;
    };
    decodeUnits(iBytes / 2, unitAt, sTarget);
    // An odd trailing byte is half a unit: never read it as a whole one.
    if (iBytes % 2)
        throwRuntime("$MTR$Unable to read corrupt utf16 data!");
}

void cEnDecUTF16::decodeCString(const unsigned short* pSource, cString& sTarget) const
{
    if (!pSource)
        return;
    unsigned iCount = 0;
    while (pSource[iCount])
        ++iCount;
    if (miOptions & ByteOrderMark) {
        // Units are in the machine's order: the mark must read as U+FEFF.
        if (iCount == 0)
            throwRuntime("$MTR$Source buffer exhausted!");
        if (pSource[0] != 0xFEFF)
            throwRuntime("$MTR$Invalid byte order mark while decoding utf16!");
        ++pSource;
        --iCount;
    }
    decodeUnits(
        iCount, [pSource](unsigned i) -> unsigned { return pSource[i]; }, sTarget);
}

} // namespace qucs
