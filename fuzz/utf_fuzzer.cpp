// utf_fuzzer.cpp - decodes arbitrary bytes as UTF-8 and as UTF-16 (both byte orders,
// with and without the byte-order mark, and as zero-terminated 16-bit units). The
// input sits in a block of exactly its size, so a read past it is caught. Decoding
// either succeeds or throws the library's exception, keeping what the target held
// before; for input that decodes, encoding and decoding again gives the same code
// points, and the byte-wise UTF-8 routine agrees with the block decoder.
#include "exactbytes.h"
#include "qor_core/std/exception.h"
#include "qor_core/ucs/endecutf16.h"
#include "qor_core/ucs/endecutf8.h"

#include <cstddef>
#include <cstdint>

using qorfuzz::cExactBytes;
using qorfuzz::check;

namespace {

const unsigned kMarker = 0x2603; // stands in front of every decoded text

/// Decodes through oCodec into a target that already holds the marker. Returns
/// whether it succeeded; either way the marker stays in front.
bool decodeBytes(const qucs::cAbstractEnDec& oCodec, const qstd::tConstArrayRef<char>& oBytes,
                 qucs::cString& sOut)
{
    sOut.setSize(0);
    sOut.append(kMarker);
    bool bDecoded = true;
    try {
        oCodec.decode(oBytes, sOut);
    } catch (const qstd::cAbstractException&) {
        bDecoded = false;
    }
    check(sOut.length() >= 1 && sOut[0] == kMarker);
    return bDecoded;
}

/// Encodes the decoded text (without the marker) and decodes it again.
void checkRoundTrip(const qucs::cAbstractEnDec& oCodec, const qucs::cString& sDecoded)
{
    qucs::cString sText;
    for (unsigned i = 1; i < sDecoded.length(); ++i)
        sText.append(sDecoded[i]);
    qstd::tArray<char> oEncoded;
    oCodec.encode(sText, oEncoded);
    qucs::cString sAgain;
    check(decodeBytes(oCodec, qstd::tConstArrayRef<char>(oEncoded), sAgain));
    check(sAgain == sDecoded);
}

void fuzzUTF8(const cExactBytes& oInput)
{
    qucs::cEnDecUTF8 oCodec;
    qucs::cString sDecoded;
    bool bDecoded = decodeBytes(oCodec, qstd::tConstArrayRef<char>(oInput), sDecoded);
    if (bDecoded)
        checkRoundTrip(oCodec, sDecoded);

    // The byte-wise routine reads a zero-terminated copy: up to the first zero it
    // yields what the block decoder yielded, or fails where the block decoder did.
    cExactBytes oTerminated(oInput.data(), oInput.length(), 1);
    unsigned iIndex = 0, iCount = 1;
    bool bStepped = true;
    try {
        while (oTerminated.data()[iIndex] != 0) {
            unsigned iChar = qucs::decodeUTF8(oTerminated.data(), iIndex);
            check(iIndex <= oInput.length());
            check(iCount < sDecoded.length() && sDecoded[iCount] == iChar);
            ++iCount;
        }
    } catch (const qstd::cAbstractException&) {
        bStepped = false;
        check(!bDecoded); // the block decoder failed as well
    }
    if (bStepped && iIndex == oInput.length())
        check(bDecoded && iCount == sDecoded.length());
}

void fuzzUTF16(const cExactBytes& oInput, unsigned iOptions)
{
    qucs::cEnDecUTF16 oCodec(iOptions);
    qucs::cString sDecoded;
    if (decodeBytes(oCodec, qstd::tConstArrayRef<char>(oInput), sDecoded))
        checkRoundTrip(oCodec, sDecoded);

    // The same bytes as zero-terminated 16-bit units in the machine's order.
    unsigned iUnits = oInput.length() / 2;
    unsigned short* pUnits = new unsigned short[iUnits + 1];
    for (unsigned i = 0; i < iUnits; ++i)
        pUnits[i] = (unsigned short)((unsigned char)oInput.data()[2 * i] |
                                     (unsigned char)oInput.data()[2 * i + 1] << 8);
    pUnits[iUnits] = 0;
    qucs::cString sUnits;
    bool bDecoded = true;
    try {
        oCodec.decodeCString(pUnits, sUnits);
    } catch (const qstd::cAbstractException&) {
        bDecoded = false;
    }
    delete[] pUnits;
    if (!bDecoded)
        return;
    qstd::tArray<unsigned short> oEncoded;
    oCodec.encodeCString(sUnits, oEncoded);
    check(oEncoded.length() >= 1 && oEncoded[oEncoded.length() - 1] == 0);
    qucs::cString sAgain;
    oCodec.decodeCString(oEncoded.data(), sAgain);
    check(sAgain == sUnits);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t iSize)
{
    if (iSize == 0 || iSize > (1u << 16))
        return 0;
    // The first byte picks the decoder and its options.
    unsigned iMode = pData[0];
    cExactBytes oInput(pData + 1, iSize - 1);
    if ((iMode & 1) == 0)
        fuzzUTF8(oInput);
    else
        fuzzUTF16(oInput,
                  iMode & (qucs::cEnDecUTF16::BigEndian | qucs::cEnDecUTF16::ByteOrderMark));
    return 0;
}
