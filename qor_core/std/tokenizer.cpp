// tokenizer.cpp - the tokenizer instantiations, the token specifications and the
// 8-bit and UTF-8 tokenizer front ends.
// SPDX-License-Identifier: MIT
#include "qor_core/std/tokenizer.h"

#include "qor_core/ucs/endecutf8.h"

namespace qstd {

// The text and string types the library works with. Instantiating them here checks
// the whole templates once; other code instantiates the header definitions itself,
// since the element traits, and so these instantiations, are not exported.
template class tTokenizerContext<cAsciiString>;
template class tTokenizerContext<tArray<char>>;
template class tTokenizerContext<qucs::cString>;

template class tTokenizer<tConstArrayRef<char, tArrayAsciiStringTraits<char>>, cAsciiString>;
template class tTokenizer<tConstArrayRef<char, tArrayByteLevelTraits<char>>, tArray<char>>;
template class tTokenizer<tConstArrayRef<char, tArrayByteLevelTraits<char>>, cAsciiString>;
template class tTokenizer<qucs::cString, qucs::cString>;

namespace {

/// Copies sText without its escape strings: each one is dropped and what follows
/// it is kept, and an escape string directly behind another one is kept whole.
template <class A>
void removeEscapes(A& sText, const typename A::value_type* pQuote, unsigned iQuoteLength)
{
    unsigned iLength = sText.length();
    if (iQuoteLength == 0 || iLength < iQuoteLength)
        return;
    typedef tArraySearch<typename A::value_type> tSearch;
    const typename A::value_type* pText = sText.data();
    A sResult;
    unsigned i = 0;
    while (i < iLength) {
        if (iLength - i >= iQuoteLength && tSearch::equal(pText + i, pQuote, iQuoteLength)) {
            i += iQuoteLength;
            if (iLength - i >= iQuoteLength && tSearch::equal(pText + i, pQuote, iQuoteLength)) {
                sResult.append(pText + i, iQuoteLength);
                i += iQuoteLength;
            }
            continue;
        }
        sResult.append(pText[i]);
        ++i;
    }
    sText = sResult;
}

/// The UTF-8 bytes of sText.
tArray<char> utf8(const qucs::cString& sText)
{
    tArray<char> oBytes;
    qucs::cEnDecUTF8().encode(sText, oBytes);
    return oBytes;
}

/// The bytes of a C string, taken as UTF-8 as they are; null counts as empty.
tArray<char> utf8(const char* pText)
{
    tArray<char> oBytes;
    if (pText)
        oBytes.append(pText, unsigned(std::strlen(pText)));
    return oBytes;
}

} // namespace

cAbstractTokenSpec::~cAbstractTokenSpec() {}

cAsciiStringTokenizerContext::~cAsciiStringTokenizerContext() {}

cUTF8StringTokenizerContext::~cUTF8StringTokenizerContext() {}

cUTF8StringTokenizerContext::cTokenSpec&
cUTF8StringTokenizerContext::addKey(const char* pKey, unsigned iIdentifier, unsigned iPriority)
{
    return addKey(utf8(pKey), iIdentifier, iPriority);
}

cUTF8StringTokenizerContext::cTokenSpec&
cUTF8StringTokenizerContext::addKey(const qucs::cString& sKey, unsigned iIdentifier,
                                    unsigned iPriority)
{
    return addKey(utf8(sKey), iIdentifier, iPriority);
}

cUTF8StringTokenizerContext::cTokenSpec&
cUTF8StringTokenizerContext::addSeparator(const char* pSeparator, unsigned iPriority)
{
    return addSeparator(utf8(pSeparator), iPriority);
}

cUTF8StringTokenizerContext::cTokenSpec&
cUTF8StringTokenizerContext::addSeparator(const qucs::cString& sSeparator, unsigned iPriority)
{
    return addSeparator(utf8(sSeparator), iPriority);
}

void cUTF8StringTokenizerContext::setSingleQuote(const char* pQuote)
{
    setSingleQuote(utf8(pQuote));
}

void cUTF8StringTokenizerContext::setSingleQuote(const qucs::cString& sQuote)
{
    setSingleQuote(utf8(sQuote));
}

// --- cAsciiStringTokenizer ---------------------------------------------------

cAsciiStringTokenizer::~cAsciiStringTokenizer() {}

bool cAsciiStringTokenizer::getNextToken(cAsciiString& sToken, unsigned& iId)
{
    sToken.clear();
    iId = 0;
    tToken oToken;
    if (empty() || !getNext(oToken, &iId))
        return false;
    sToken.append(oToken);
    return true;
}

unsigned cAsciiStringTokenizer::expectToken(cAsciiString& sToken)
{
    unsigned iId = 0;
    if (!getNextToken(sToken, iId) || sToken.empty())
        cSTDExceptions::throwUnexpectedEndOfInput();
    return iId;
}

cAsciiStringTokenizer& cAsciiStringTokenizer::operator>>(cAsciiString& sToken)
{
    unsigned iId = 0;
    getNextToken(sToken, iId);
    return *this;
}

void cAsciiStringTokenizer::removeQuotes(cAsciiString& sText) const
{
    const cAsciiString& sQuote = currentContext().singleQuote();
    removeEscapes(sText, sQuote.c_str(), sQuote.length());
}

// --- cUTF8StringTokenizer ----------------------------------------------------

cUTF8StringTokenizer::~cUTF8StringTokenizer() {}

bool cUTF8StringTokenizer::getNextToken(qucs::cString& sToken, unsigned& iId)
{
    sToken.clear();
    iId = 0;
    tToken oToken;
    if (empty() || !getNext(oToken, &iId))
        return false;
    qucs::cEnDecUTF8().decode(oToken, sToken);
    return true;
}

unsigned cUTF8StringTokenizer::expectToken(qucs::cString& sToken)
{
    unsigned iId = 0;
    if (!getNextToken(sToken, iId) || sToken.empty())
        cSTDExceptions::throwUnexpectedEndOfInput();
    return iId;
}

cUTF8StringTokenizer& cUTF8StringTokenizer::operator>>(qucs::cString& sToken)
{
    unsigned iId = 0;
    getNextToken(sToken, iId);
    return *this;
}

void cUTF8StringTokenizer::removeQuotes(qucs::cString& sText) const
{
    const tArray<char>& oQuote = currentContext().singleQuote();
    if (oQuote.empty())
        return;
    qucs::cString sQuote;
    qucs::cEnDecUTF8().decode(tConstArrayRef<char>(oQuote), sQuote);
    removeEscapes(sText, sQuote.data(), sQuote.length());
}

} // namespace qstd
