// tokenizer_fuzzer.cpp - tokenizes the rest of the input with a context built from its
// first bytes (separators and keys with priorities, a single quote). The text sits in
// a block of exactly its size. The tokens cover the text in order without overlap,
// what lies between them is exactly the separators the context counted, a key token
// is its key's text, getNext always ends, and tokenizing again from the start, or the
// same text as a Unicode string, gives the same tokens.
#include "exactbytes.h"
#include "qor_core/std/exception.h"
#include "qor_core/std/tokenizer.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

using qorfuzz::cExactBytes;
using qorfuzz::check;

namespace {

typedef qstd::tTokenizer<qstd::tConstArrayRef<char>, qstd::tArray<char>> tByteTokenizer;
typedef qstd::tTokenizer<qucs::cString, qucs::cString> tWideTokenizer;

struct cToken
{
    unsigned miOffset, miLength, miId;
    bool operator==(const cToken& o) const
    {
        return miOffset == o.miOffset && miLength == o.miLength && miId == o.miId;
    }
};

/// Reads the input: a context description, then the text.
class cInput
{
public:
    cInput(const std::uint8_t* pData, std::size_t iSize) : mpData(pData), miSize(iSize) {}
    bool byte(unsigned& iByte)
    {
        if (miAt >= miSize)
            return false;
        iByte = mpData[miAt++];
        return true;
    }
    bool bytes(unsigned iCount, const std::uint8_t*& pBytes)
    {
        if (miSize - miAt < iCount)
            return false;
        pBytes = mpData + miAt;
        miAt += iCount;
        return true;
    }
    const std::uint8_t* rest() const { return mpData + miAt; }
    std::size_t restSize() const { return miSize - miAt; }

private:
    const std::uint8_t* mpData;
    std::size_t miSize;
    std::size_t miAt = 0;
};

/// Tokenizes from the start to the end, checking each token; returns the tokens.
template <class Tokenizer, class Context>
std::vector<cToken> run(Tokenizer& oTokenizer, Context& oContext, const unsigned char* pText,
                        unsigned iLength)
{
    for (unsigned i = 0; i < oContext.numSpecials(); ++i)
        oContext.special(i).setHints(0);
    std::vector<cToken> oTokens;
    unsigned long long iGaps = 0, iKeyTokens = 0;
    typename Tokenizer::tToken oToken;
    unsigned iId = 0;
    for (;;) {
        check(oTokens.size() <= iLength); // every token moves on by at least one
        unsigned iBefore = oTokenizer.pos();
        if (!oTokenizer.getNext(oToken, &iId))
            break;
        unsigned iAt = oToken.offset(), iSize = oToken.length();
        check(iSize > 0 && iAt >= iBefore && iAt <= iLength && iSize <= iLength - iAt);
        check(oTokenizer.pos() == iAt + iSize);
        iGaps += iAt - iBefore;
        if (iId != 0) {
            check(iId <= oContext.numSpecials());
            const auto& oSpec = oContext.special(iId - 1);
            check(oSpec.isKey() && oSpec.special().length() == iSize);
            for (unsigned k = 0; k < iSize; ++k)
                check((unsigned char)oSpec.special()[k] == pText[iAt + k]);
            ++iKeyTokens;
        }
        oTokens.push_back(cToken{iAt, iSize, iId});
    }
    check(iId == 0 && oToken.length() == 0 && oTokenizer.empty());
    unsigned iEnd = oTokens.empty() ? 0 : oTokens.back().miOffset + oTokens.back().miLength;
    iGaps += iLength - iEnd; // separators after the last token
    unsigned long long iSeparated = 0, iKeys = 0;
    for (unsigned i = 0; i < oContext.numSpecials(); ++i) {
        const auto& oSpec = oContext.special(i);
        if (oSpec.isKey())
            iKeys += oSpec.numHints();
        else
            iSeparated += (unsigned long long)oSpec.numHints() * oSpec.special().length();
    }
    check(iSeparated == iGaps && iKeys == iKeyTokens);
    check(!oTokenizer.getNext(oToken, &iId) && iId == 0);
    return oTokens;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t iSize)
{
    if (iSize > (1u << 16))
        return 0;
    cInput oInput(pData, iSize);
    qstd::tTokenizerContext<qstd::tArray<char>> oByteContext;
    qstd::tTokenizerContext<qucs::cString> oWideContext;
    // Up to seven specials: a flag byte (bit 0 key, bits 1-2 priority), a length byte
    // (1 to 4) and the bytes; then the single quote: a length byte (0 to 2), the bytes.
    unsigned iSpecials = 0;
    if (!oInput.byte(iSpecials))
        return 0;
    iSpecials %= 8;
    for (unsigned i = 0; i < iSpecials; ++i) {
        unsigned iFlags = 0, iLength = 0;
        const std::uint8_t* pBytes = nullptr;
        if (!oInput.byte(iFlags) || !oInput.byte(iLength) || !oInput.bytes(1 + iLength % 4, pBytes))
            return 0;
        iLength = 1 + iLength % 4;
        qstd::tArray<char> oSpecial(reinterpret_cast<const char*>(pBytes), iLength);
        qucs::cString sSpecial;
        for (unsigned k = 0; k < iLength; ++k)
            sSpecial.append(pBytes[k]);
        unsigned iPriority = (iFlags >> 1) & 3;
        if (iFlags & 1) {
            oByteContext.addKey(oSpecial, i + 1, iPriority);
            oWideContext.addKey(sSpecial, i + 1, iPriority);
        } else {
            oByteContext.addSeparator(oSpecial, iPriority);
            oWideContext.addSeparator(sSpecial, iPriority);
        }
    }
    unsigned iQuote = 0;
    const std::uint8_t* pQuote = nullptr;
    if (!oInput.byte(iQuote) || !oInput.bytes(iQuote % 3, pQuote))
        return 0;
    iQuote %= 3;
    oByteContext.setSingleQuote(qstd::tArray<char>(reinterpret_cast<const char*>(pQuote), iQuote));
    qucs::cString sQuote;
    for (unsigned k = 0; k < iQuote; ++k)
        sQuote.append(pQuote[k]);
    oWideContext.setSingleQuote(sQuote);

    cExactBytes oText(oInput.rest(), oInput.restSize());
    const unsigned char* pText = reinterpret_cast<const unsigned char*>(oText.data());
    tByteTokenizer oBytes(qstd::tConstArrayRef<char>(oText), oByteContext);
    std::vector<cToken> oFirst = run(oBytes, oByteContext, pText, oText.length());
    oBytes.setPos(0);
    check(run(oBytes, oByteContext, pText, oText.length()) == oFirst);

    qucs::cString sWide;
    for (unsigned i = 0; i < oText.length(); ++i)
        sWide.append(pText[i]);
    tWideTokenizer oWide(sWide, oWideContext);
    check(run(oWide, oWideContext, pText, oText.length()) == oFirst);
    return 0;
}
