// tokenizer.h - tTokenizer, which splits a text into tokens by the special strings
// of a tokenizer context, and its 8-bit and UTF-8 front ends.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_TOKENIZER_H
#define QOR_CORE_STD_TOKENIZER_H

#include "qor_core/std/tokenizercontext.h"

namespace qstd {

/// How a tokenizer reaches the elements of its text. The general case is a text
/// held by value in a tArray-derived string (such as qucs::cString); its tokens are
/// read-only windows onto that copy.
template <class Ref> struct tTokenizerText
{
    typedef typename Ref::value_type tElement;
    typedef tConstArrayRef<tElement, typename Ref::traits_type> tToken;
    static const tElement* data(const Ref& oText) { return oText.data(true); }
};

/// A text given as a window: the tokens are windows onto the same target.
template <class T, class Traits> struct tTokenizerText<tConstArrayRef<T, Traits>>
{
    typedef T tElement;
    typedef tConstArrayRef<T, Traits> tToken;
    static const T* data(const tConstArrayRef<T, Traits>& oText) { return oText.constData(); }
};

/// Splits a text into tokens. The text is a Ref: a window (tConstArrayRef) onto
/// text owned elsewhere, which must outlive the tokenizer and must not shrink while
/// it is in use, or a string held by value. Tokens are handed out as windows
/// (tToken) onto the text; nothing is copied.
///
/// The separators, keys and escape string come from a context that the tokenizer
/// borrows (setContext); the context must outlive its use. Matching a special
/// string counts a hint on its entry in that context.
///
/// The tokenizer remembers where each special string occurs next, and how far the
/// text is known to hold none of it, so that a text is tokenized in linear time.
/// It notices changes of the context, of the text through set() and of the
/// position through setPos(); the elements of the text must not change otherwise
/// while it is in use.
///
/// Invariant: the tokenizer never reads outside [0, length) of its text, whatever
/// the position (setPos accepts any value; a position at or past the end means
/// the text is exhausted).
template <class Ref, class S> class QOR_EXPORT tTokenizer
{
public:
    typedef tTokenizerContext<S> tContext;
    typedef typename tTokenizerText<Ref>::tElement tElement;
    typedef typename tTokenizerText<Ref>::tToken tToken;

    tTokenizer()
        : miPos(0), mpDynamicContext(nullptr), mpKnownContext(nullptr), miKnownGeneration(0),
          miKnownLength(0), mbKnown(false)
    {
    }
    explicit tTokenizer(const Ref& oText)
        : moText(oText), miPos(0), mpDynamicContext(nullptr), mpKnownContext(nullptr),
          miKnownGeneration(0), miKnownLength(0), mbKnown(false)
    {
    }
    tTokenizer(const Ref& oText, tContext& oContext)
        : moText(oText), miPos(0), mpDynamicContext(&oContext), mpKnownContext(nullptr),
          miKnownGeneration(0), miKnownLength(0), mbKnown(false)
    {
    }
    virtual ~tTokenizer() {}

    /// Replaces the text and starts again at position 0.
    void set(const Ref& oText)
    {
        moText = oText;
        miPos = 0;
        mbKnown = false;
    }
    void setContext(tContext& oContext)
    {
        mpDynamicContext = &oContext;
        mbKnown = false;
    }
    /// The context, or null when none is set.
    tContext* context() const { return mpDynamicContext; }
    /// The context; none set is the assertion "mpDynamicContext != 0".
    tContext& currentContext() const
    {
        QOR_ASSERT_TEXT(mpDynamicContext != nullptr, "mpDynamicContext != 0");
        return *mpDynamicContext;
    }

    unsigned pos() const { return miPos; }
    void setPos(unsigned iPos)
    {
        // What is known about the text ahead stays true when the position advances.
        if (iPos < miPos)
            mbKnown = false;
        miPos = iPos;
    }
    /// The whole text.
    const Ref& string() const { return moText; }
    bool empty() const { return miPos >= moText.length(); }
    /// A window onto the rest of the text; empty at (or past) the end.
    tToken leftOver() const;

    /// Produces the next token as a window onto the text. *pId, when pId is not
    /// null, receives the key's identifier for a key token and 0 for a text token.
    /// Returns false when the text is exhausted; oToken is cleared and *pId set to
    /// 0 then. Without a context this is the assertion "mpDynamicContext != 0".
    bool getNext(tToken& oToken, unsigned* pId);
    bool getNext(tToken& oToken) { return getNext(oToken, nullptr); }
    tTokenizer& operator>>(tToken& oToken)
    {
        getNext(oToken, nullptr);
        return *this;
    }

    /// Runs through the rest of the text, so that the hint counts of the context's
    /// specifications reflect the whole text.
    void process();

private:
    typedef typename tContext::cTokenSpec tSpec;

    /// What a tokenizer knows about the next occurrence of one separator or key: when
    /// mbFound, its first unescaped occurrence at or after the position it was
    /// searched from is at miAt (stale once the position passes miAt); otherwise no
    /// unescaped occurrence starts before miAt, from where the search resumes.
    struct cNextOccurrence
    {
        unsigned miAt;
        bool mbFound;
    };

    /// True when the escape string ends directly in front of iAt.
    static bool isEscaped(const tElement* pText, unsigned iAt, const S& sQuote);
    /// The first unescaped occurrence of oSpec that starts at or after iFrom and
    /// ends at or before iLimit (<= iLength); false when there is none.
    static bool findUnescaped(const tElement* pText, unsigned iLength, const tSpec& oSpec,
                              const S& sQuote, unsigned iFrom, unsigned iLimit, unsigned& iAt);
    /// As findUnescaped from the position for separator or key iSpec, answered from or
    /// recorded in moNext.
    bool findNext(unsigned iSpec, const tElement* pText, unsigned iLength, const tSpec& oSpec,
                  const S& sQuote, unsigned iLimit, unsigned& iAt);

    Ref moText;
    unsigned miPos;             ///< may lie past the end of moText
    tContext* mpDynamicContext; ///< not owned; may be null

    // What is known about the text ahead of the position, valid while mbKnown is set
    // and the context, its generation and the text length are those recorded here.
    tArray<cNextOccurrence> moNext; ///< one entry per separator or key of the context
    const tContext* mpKnownContext; ///< not owned; only compared
    unsigned miKnownGeneration;
    unsigned miKnownLength;
    bool mbKnown;
};

// --- implementation ---------------------------------------------------------

template <class Ref, class S>
typename tTokenizer<Ref, S>::tToken tTokenizer<Ref, S>::leftOver() const
{
    unsigned iLength = moText.length();
    unsigned iStart = miPos < iLength ? miPos : iLength;
    tToken oRest;
    oRest.set(moText, iStart, iLength - iStart);
    return oRest;
}

template <class Ref, class S>
bool tTokenizer<Ref, S>::isEscaped(const tElement* pText, unsigned iAt, const S& sQuote)
{
    unsigned iQuoteLength = sQuote.length();
    return iQuoteLength != 0 && iAt >= iQuoteLength &&
           tArraySearch<tElement>::equal(pText + iAt - iQuoteLength, sQuote.data(), iQuoteLength);
}

template <class Ref, class S>
bool tTokenizer<Ref, S>::findUnescaped(const tElement* pText, unsigned iLength, const tSpec& oSpec,
                                       const S& sQuote, unsigned iFrom, unsigned iLimit,
                                       unsigned& iAt)
{
    const S& sSpecial = oSpec.special();
    unsigned iSpecialLength = sSpecial.length();
    if (iSpecialLength == 0)
        return false;
    const tElement* pSpecial = sSpecial.data();
    while (iFrom <= iLimit && iLimit - iFrom >= iSpecialLength) {
        bool bFound = false;
        unsigned iHit = tArraySearch<tElement>::find(pText, iLength, pSpecial, iSpecialLength,
                                                     bFound, iFrom, iLimit - iFrom, "tTokenizer");
        if (!bFound)
            return false;
        if (!isEscaped(pText, iHit, sQuote)) {
            iAt = iHit;
            return true;
        }
        iFrom = iHit + 1;
    }
    return false;
}

template <class Ref, class S>
bool tTokenizer<Ref, S>::findNext(unsigned iSpec, const tElement* pText, unsigned iLength,
                                  const tSpec& oSpec, const S& sQuote, unsigned iLimit,
                                  unsigned& iAt)
{
    cNextOccurrence& oNext = moNext[iSpec];
    unsigned iSpecialLength = oSpec.special().length();
    if (oNext.mbFound && oNext.miAt >= miPos) {
        iAt = oNext.miAt;
        return (unsigned long long)iAt + iSpecialLength <= iLimit;
    }
    unsigned iFrom = oNext.mbFound || oNext.miAt < miPos ? miPos : oNext.miAt;
    if (findUnescaped(pText, iLength, oSpec, sQuote, iFrom, iLimit, iAt)) {
        oNext.mbFound = true;
        oNext.miAt = iAt;
        return true;
    }
    // No unescaped occurrence starts in [iFrom, iLimit - iSpecialLength].
    oNext.mbFound = false;
    oNext.miAt = iLimit >= iSpecialLength && iLimit - iSpecialLength >= iFrom
                     ? iLimit - iSpecialLength + 1
                     : iFrom;
    return false;
}

template <class Ref, class S> bool tTokenizer<Ref, S>::getNext(tToken& oToken, unsigned* pId)
{
    tContext& oContext = currentContext();
    if (pId)
        *pId = 0;
    const unsigned iLength = moText.length();
    if (miPos >= iLength) {
        oToken.clear();
        return false;
    }
    // Fetched once per call: the window checks here that its target still covers it.
    const tElement* pText = tTokenizerText<Ref>::data(moText);
    const S& sQuote = oContext.singleQuote();
    const unsigned iSpecials = oContext.numSpecials();
    if (!mbKnown || mpKnownContext != &oContext || miKnownGeneration != oContext.generation() ||
        miKnownLength != iLength || moNext.length() != iSpecials) {
        moNext.setSize(iSpecials);
        for (unsigned i = 0; i < iSpecials; ++i)
            moNext[i] = cNextOccurrence{0, false};
        mpKnownContext = &oContext;
        miKnownGeneration = oContext.generation();
        miKnownLength = iLength;
        mbKnown = true;
    }

    // Skip the separators at the position, as often as they repeat.
    for (bool bSkipped = true; bSkipped;) {
        bSkipped = false;
        for (unsigned i = 0; i < iSpecials; ++i) {
            tSpec& oSpec = oContext.special(i);
            unsigned iSpecialLength = oSpec.special().length();
            if (oSpec.type() != cAbstractTokenSpec::Separator || iSpecialLength == 0 ||
                iSpecialLength > iLength - miPos ||
                !tArraySearch<tElement>::equal(pText + miPos, oSpec.special().data(),
                                               iSpecialLength) ||
                isEscaped(pText, miPos, sQuote))
                continue;
            oSpec.hint();
            miPos += iSpecialLength;
            if (miPos >= iLength) {
                oToken.clear();
                return false;
            }
            bSkipped = true;
            break;
        }
    }

    // The nearest special: the earliest start wins; one that starts together with
    // the candidate or lies within it wins only by a higher priority, so at equal
    // priority the earlier registration stays.
    tSpec* pBest = nullptr;
    unsigned iBestAt = 0;
    for (unsigned i = 0; i < iSpecials; ++i) {
        tSpec& oSpec = oContext.special(i);
        unsigned iSpecialLength = oSpec.special().length();
        unsigned iLimit = iLength;
        if (pBest) {
            // Only occurrences that start no later than the candidate, or end within
            // it, can still compete.
            unsigned iBestLength = pBest->special().length();
            unsigned iReach = iSpecialLength > iBestLength ? iSpecialLength : iBestLength;
            if (iReach < iLength - iBestAt)
                iLimit = iBestAt + iReach;
        }
        unsigned iAt = 0;
        if (!findNext(i, pText, iLength, oSpec, sQuote, iLimit, iAt))
            continue;
        if (!pBest || iAt < iBestAt || oSpec.priority() > pBest->priority()) {
            pBest = &oSpec;
            iBestAt = iAt;
        }
    }

    if (!pBest) {
        oToken.set(moText, miPos, iLength - miPos);
        miPos = iLength;
        return true;
    }
    if (iBestAt == miPos) {
        unsigned iSpecialLength = pBest->special().length();
        pBest->hint();
        if (pId)
            *pId = pBest->identifier();
        oToken.set(moText, miPos, iSpecialLength);
        miPos += iSpecialLength;
        return true;
    }
    oToken.set(moText, miPos, iBestAt - miPos);
    miPos = iBestAt;
    return true;
}

template <class Ref, class S> void tTokenizer<Ref, S>::process()
{
    tToken oToken;
    while (getNext(oToken, nullptr)) {
    }
}

/// Tokenizer over a cAsciiString, which it only refers to: the string must outlive
/// the tokenizer and must not shrink while it is in use.
class QOR_EXPORT cAsciiStringTokenizer
    : public tTokenizer<tConstArrayRef<char, tArrayAsciiStringTraits<char>>, cAsciiString>
{
    typedef tTokenizer<tConstArrayRef<char, tArrayAsciiStringTraits<char>>, cAsciiString> tBase;

public:
    cAsciiStringTokenizer() {}
    explicit cAsciiStringTokenizer(const cAsciiString& sText) : tBase(tToken(sText)) {}
    cAsciiStringTokenizer(const cAsciiString& sText, cAsciiStringTokenizerContext& oContext)
        : tBase(tToken(sText), oContext)
    {
    }
    ~cAsciiStringTokenizer() override;

    using tBase::operator>>;

    /// Copies the next token into sToken and its identifier into iId (0 for text).
    /// Returns false, with sToken empty and iId 0, when the text is exhausted.
    bool getNextToken(cAsciiString& sToken, unsigned& iId);
    /// The next token, which must exist; returns its identifier. Throws
    /// cRuntimeException "Unexpected end of input!" at the end of the text.
    unsigned expectToken(cAsciiString& sToken);
    /// The next token; sToken is empty at the end of the text.
    cAsciiStringTokenizer& operator>>(cAsciiString& sToken);
    /// Drops every escape string of the context from sText and keeps what each one
    /// escaped, so an escaped escape string stays as one literal copy.
    void removeQuotes(cAsciiString& sText) const;
};

/// Tokenizer over UTF-8 bytes. Matching works on the bytes; tokens come out decoded
/// to cString. Like every window, the bytes must outlive the tokenizer.
class QOR_EXPORT cUTF8StringTokenizer
    : public tTokenizer<tConstArrayRef<char, tArrayByteLevelTraits<char>>, tArray<char>>
{
    typedef tTokenizer<tConstArrayRef<char, tArrayByteLevelTraits<char>>, tArray<char>> tBase;

public:
    cUTF8StringTokenizer() {}
    explicit cUTF8StringTokenizer(const tConstArrayRef<char>& oText) : tBase(oText) {}
    explicit cUTF8StringTokenizer(const tArray<char>& oText) : tBase(tToken(oText)) {}
    cUTF8StringTokenizer(const tConstArrayRef<char>& oText, cUTF8StringTokenizerContext& oContext)
        : tBase(oText, oContext)
    {
    }
    cUTF8StringTokenizer(const tArray<char>& oText, cUTF8StringTokenizerContext& oContext)
        : tBase(tToken(oText), oContext)
    {
    }
    ~cUTF8StringTokenizer() override;

    using tBase::operator>>;

    /// Decodes the next token into sToken and stores its identifier in iId (0 for
    /// text). Returns false, with sToken empty and iId 0, when the text is exhausted.
    /// Invalid UTF-8 inside the token throws the decoder's exception.
    bool getNextToken(qucs::cString& sToken, unsigned& iId);
    /// The next token, which must exist; returns its identifier. Throws
    /// cRuntimeException "Unexpected end of input!" at the end of the text.
    unsigned expectToken(qucs::cString& sToken);
    cUTF8StringTokenizer& operator>>(qucs::cString& sToken);
    /// Drops every escape string of the context from sText and keeps what each one
    /// escaped, so an escaped escape string stays as one literal copy.
    void removeQuotes(qucs::cString& sText) const;
};

} // namespace qstd

#endif // QOR_CORE_STD_TOKENIZER_H
