// Tests of the tokenizers and their contexts.
#include "qor_core/std/tokenizer.h"
#include "qor_core/std/exceptions.h"
#include "qor_core/ucs/endecutf8.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

using namespace qstd;
using qortest::expectThrow;
using qortest::messageOf;

namespace {

/// The remaining tokens, joined by "|"; key tokens carry "#identifier".
std::string drain(cAsciiStringTokenizer& oTokenizer)
{
    std::string sOut;
    cAsciiString sToken;
    unsigned iId = 99;
    while (oTokenizer.getNextToken(sToken, iId)) {
        EXPECT_FALSE(sToken.empty());
        if (!sOut.empty())
            sOut += "|";
        sOut += sToken.c_str();
        if (iId)
            sOut += "#" + std::to_string(iId);
    }
    EXPECT_TRUE(sToken.empty());
    EXPECT_EQ(0u, iId);
    return sOut;
}

std::string str(const tConstArrayRef<char, tArrayAsciiStringTraits<char>>& oToken)
{
    return std::string(oToken.constData() ? oToken.constData() : "", oToken.length());
}

/// A separator (prefix "s"), a key ("k<id>:text" or "k<id>^<priority>:text") or
/// the escape string ("q").
void configure(cAsciiStringTokenizerContext& oContext, const std::vector<std::string>& oSpecs)
{
    for (const std::string& sSpec : oSpecs) {
        if (sSpec[0] == 's') {
            oContext.addSeparator(sSpec.substr(1).c_str());
        } else if (sSpec[0] == 'q') {
            oContext.setSingleQuote(sSpec.substr(1).c_str());
        } else {
            size_t iColon = sSpec.find(':');
            size_t iCaret = sSpec.find('^');
            unsigned iPriority = iCaret < iColon ? std::stoul(sSpec.substr(iCaret + 1)) : 0;
            oContext.addKey(sSpec.substr(iColon + 1).c_str(), std::stoul(sSpec.substr(1)),
                            iPriority);
        }
    }
}

} // namespace

TEST(Tokenizer, SplitsBySeparatorsKeysAndEscapes)
{
    // The specials (as configure() reads them), the text and the tokens.
    const std::tuple<std::vector<std::string>, const char*, const char*> oTable[] = {
        {{"s ", "k7:="}, "a = b", "a|=#7|b"},
        {{"s ", "k7:="}, "a=b", "a|=#7|b"},
        {{"s ", "k7:="}, "  a   b  ", "a|b"},
        {{"s ", "k7:="}, "", ""},
        {{"s ", "k7:="}, "=a=", "=#7|a|=#7"},
        {{"s, "}, "a, b,c, ", "a|b,c"},
        // The escape string makes the special behind it text, wherever it stands.
        {{"s ", "q\\"}, "a\\ b c", "a\\ b|c"},
        {{"s ", "q\\"}, "\\ a", "\\ a"},
        {{"s ", "q\\"}, "a \\", "a|\\"},
        {{"k7:=", "q\\"}, "a\\=b=c", "a\\=b|=#7|c"},
        {{"k7:=", "q\\\\"}, "\\=\\\\=", "\\|=#7|\\\\="},
        // Earliest start wins, whatever the registration order.
        {{"k3:./", "k2:../"}, "../x", "../#2|x"},
        {{"k2:../", "k3:./", "k4:/"}, "/a/b/../c/", "/#4|a|/#4|b|/#4|../#2|c|/#4"},
        // Same start: the higher priority wins, at equal priority the first registered.
        {{"k1:ab", "k2:abc"}, "xabcx", "x|ab#1|cx"},
        {{"k1:ab", "k2^1:abc"}, "xabcx", "x|abc#2|x"},
        // A higher-priority special inside the candidate wins; one reaching past it not.
        {{"k1:abc", "k2^1:b"}, "abc", "a|b#2|c"},
        {{"k1:ab", "k2^1:bc"}, "abc", "ab#1|c"},
        // Separators are skipped before keys are looked at.
        {{"s ", "k5: ="}, "a =b", "a|=b"}};
    for (const auto& [oSpecs, pText, pExpected] : oTable) {
        SCOPED_TRACE(pText);
        cAsciiStringTokenizerContext oContext;
        configure(oContext, oSpecs);
        cAsciiString sText(pText);
        cAsciiStringTokenizer oTokenizer(sText, oContext);
        EXPECT_EQ(pExpected, drain(oTokenizer));
        EXPECT_TRUE(oTokenizer.empty());
    }
}

TEST(Tokenizer, SpecialsFarAheadAndAcrossSearchWindowsAreFound)
{
    // The search looks ahead in doubling windows (256 bytes first): specials that
    // start just before or straddle a window's end decide as they do anywhere. The
    // padding joins the first token unless the expected tokens begin with "|".
    const std::tuple<std::vector<std::string>, const char*, const char*> oTable[] = {
        {{"s\n", "k1:abc", "k2^1:b"}, "abcx", "a|b#2|cx"},
        {{"s\n", "k1:ab", "k2^1:bc"}, "abcx", "|ab#1|cx"},
        {{"s\n", "q\\", "k1:abc"}, "\\abcabcx", "\\abc|abc#1|x"}};
    for (const auto& [oSpecs, pText, pExpected] : oTable) {
        for (unsigned iPad : {0u, 250u, 253u, 254u, 255u, 256u, 509u, 510u, 511u, 5000u}) {
            SCOPED_TRACE(std::string(pText) + " after " + std::to_string(iPad));
            cAsciiStringTokenizerContext oContext;
            configure(oContext, oSpecs);
            std::string sPad(iPad, 'x');
            std::string sExpected = sPad + pExpected;
            if (iPad == 0 && sExpected[0] == '|')
                sExpected.erase(0, 1);
            cAsciiString sText((sPad + pText).c_str());
            cAsciiStringTokenizer oTokenizer(sText, oContext);
            EXPECT_EQ(sExpected, drain(oTokenizer));
        }
    }
}

TEST(Tokenizer, TokensAreWindowsOntoTheText)
{
    cAsciiStringTokenizerContext oContext;
    oContext.addSeparator(" ");
    oContext.addKey("=", 7);
    cAsciiString sText("key = value rest");
    cAsciiStringTokenizer oTokenizer(sText, oContext);

    cAsciiStringTokenizer::tToken oToken;
    unsigned iId = 99;
    ASSERT_TRUE(oTokenizer.getNext(oToken, &iId));
    EXPECT_EQ(0u, iId);
    EXPECT_EQ(sText.c_str(), oToken.constData());
    EXPECT_EQ("key", str(oToken));
    ASSERT_TRUE(oTokenizer.getNext(oToken, &iId));
    EXPECT_EQ(7u, iId);
    EXPECT_EQ(4u, oToken.offset());
    oTokenizer >> oToken;
    EXPECT_EQ("value", str(oToken));
    EXPECT_EQ(11u, oTokenizer.pos());
    EXPECT_EQ(" rest", str(oTokenizer.leftOver()));

    // Rewinding replays the text; the hints count every pass.
    oTokenizer.setPos(4);
    ASSERT_TRUE(oTokenizer.getNext(oToken));
    EXPECT_EQ("=", str(oToken));
    EXPECT_EQ(2u, oContext.special(1).numHints());
}

TEST(Tokenizer, NeverReadsOutsideItsText)
{
    cAsciiStringTokenizerContext oContext;
    oContext.addSeparator(" ");
    oContext.addKey("=", 7);
    oContext.setSingleQuote("\\");

    // A window that ends before a key and starts behind an escape: neither is seen.
    cAsciiString sText("\\ ab c=d");
    cAsciiStringTokenizer oTokenizer;
    oTokenizer.setContext(oContext);
    oTokenizer.set(tConstArrayRef<char, tArrayAsciiStringTraits<char>>(sText, 1, 5));
    EXPECT_EQ("ab|c", drain(oTokenizer));

    // Positions past the end read as exhausted.
    cAsciiStringTokenizer::tToken oToken;
    oTokenizer.setPos(1000);
    EXPECT_TRUE(oTokenizer.empty());
    EXPECT_EQ(0u, oTokenizer.leftOver().length());
    unsigned iId = 99;
    EXPECT_FALSE(oTokenizer.getNext(oToken, &iId));
    EXPECT_EQ(0u, iId);
    EXPECT_EQ(0u, oToken.length());
    oTokenizer.setPos(3);
    EXPECT_EQ("c", drain(oTokenizer));

    // An empty tokenizer has nothing to give.
    cAsciiStringTokenizer oEmpty;
    oEmpty.setContext(oContext);
    EXPECT_FALSE(oEmpty.getNext(oToken));
    EXPECT_EQ(0u, oEmpty.leftOver().length());

    // A text that shrank under the tokenizer is reported, not read.
    cAsciiString sShrinking("a b c");
    cAsciiStringTokenizer oStale(sShrinking, oContext);
    sShrinking.truncate(1);
    EXPECT_THROW(oStale.getNext(oToken), cOutOfRangeException);
}

TEST(Tokenizer, HostileTextIsTokenizedInLinearTime)
{
    // 500,000 one-byte tokens and a key, registered first, that never occurs although
    // its first byte is everywhere: searching the rest of the text for it on every
    // call would take hours.
    cAsciiStringTokenizerContext oContext;
    oContext.addKey("a=", 1);
    oContext.addSeparator(" ");
    cAsciiString sText;
    for (unsigned i = 0; i < 500000; ++i)
        sText += "a ";
    cAsciiStringTokenizer oTokenizer(sText, oContext);
    cAsciiStringTokenizer::tToken oToken;
    unsigned iTokens = 0;
    while (oTokenizer.getNext(oToken))
        iTokens += oToken.length() == 1 && oToken[0] == 'a';
    EXPECT_EQ(500000u, iTokens);
}

TEST(Tokenizer, RememberedOccurrencesKeepTheSelectionRule)
{
    // Random separators and keys over a small alphabet, so that they overlap, repeat and
    // get escaped, against the rule written out: every call searches the whole rest
    // of the text for every separator and key.
    unsigned iSeed = 99;
    auto next = [&iSeed](unsigned iRange) {
        iSeed = iSeed * 1103515245u + 12345u;
        return (iSeed >> 16) % iRange;
    };
    for (unsigned iRun = 0; iRun < 3000; ++iRun) {
        struct cSpec
        {
            bool bKey;
            std::string sText;
            unsigned iPriority;
        };
        std::vector<cSpec> oSpecs(1 + next(4));
        cAsciiStringTokenizerContext oContext;
        for (unsigned i = 0; i < oSpecs.size(); ++i) {
            cSpec& oSpec = oSpecs[i] = {next(2) == 0, std::string(1 + next(3), 'a'), next(3)};
            for (char& c : oSpec.sText)
                c = "ab "[next(3)];
            if (oSpec.bKey)
                oContext.addKey(oSpec.sText.c_str(), i + 1, oSpec.iPriority);
            else
                oContext.addSeparator(oSpec.sText.c_str(), oSpec.iPriority);
        }
        const std::string sQuote = next(2) ? "\\" : "";
        oContext.setSingleQuote(sQuote.c_str());
        std::string sText(next(40), 'a');
        for (char& c : sText)
            c = "ab \\"[next(4)];
        auto unescapedAt = [&](size_t iAt) {
            return !(iAt >= sQuote.size() && !sQuote.empty() &&
                     sText.compare(iAt - sQuote.size(), sQuote.size(), sQuote) == 0);
        };
        std::string sExpected;
        for (size_t iPos = 0;;) {
            for (size_t i = 0; i < oSpecs.size() && iPos < sText.size(); ++i)
                if (!oSpecs[i].bKey &&
                    sText.compare(iPos, oSpecs[i].sText.size(), oSpecs[i].sText) == 0 &&
                    unescapedAt(iPos)) {
                    iPos += oSpecs[i].sText.size();
                    i = size_t(-1); // skip again from the first separator
                }
            if (iPos >= sText.size())
                break;
            const cSpec* pBest = nullptr;
            size_t iBestAt = 0;
            for (const cSpec& oSpec : oSpecs) {
                size_t iAt = sText.find(oSpec.sText, iPos);
                while (iAt != std::string::npos && !unescapedAt(iAt))
                    iAt = sText.find(oSpec.sText, iAt + 1);
                if (iAt == std::string::npos ||
                    (pBest && iAt + oSpec.sText.size() >
                                  iBestAt + std::max(oSpec.sText.size(), pBest->sText.size())))
                    continue;
                if (!pBest || iAt < iBestAt || oSpec.iPriority > pBest->iPriority) {
                    pBest = &oSpec;
                    iBestAt = iAt;
                }
            }
            size_t iEnd = !pBest           ? sText.size()
                          : iBestAt > iPos ? iBestAt
                                           : iPos + pBest->sText.size();
            sExpected += (sExpected.empty() ? "" : "|") + sText.substr(iPos, iEnd - iPos);
            if (pBest && iBestAt == iPos && pBest->bKey)
                sExpected += "#" + std::to_string(pBest - oSpecs.data() + 1);
            iPos = iEnd;
        }
        cAsciiString sSource(sText.c_str());
        cAsciiStringTokenizer oTokenizer(sSource, oContext);
        ASSERT_EQ(sExpected, drain(oTokenizer)) << "text \"" << sText << "\" run " << iRun;
    }
}

TEST(Tokenizer, ChangesBetweenCallsAreSeen)
{
    // Each change comes after the first token of "a = b = c" (separator blank, key
    // "=" 7), when the tokenizer has already looked ahead for every special.
    cAsciiString sSameLength("x=yyy z=w");
    cAsciiStringTokenizerContext oSwapped;
    configure(oSwapped, {"s=", "k9: "});
    const std::pair<std::function<void(cAsciiStringTokenizer&)>, const char*> oTable[] = {
        {[](cAsciiStringTokenizer& t) { t.currentContext().setSingleQuote(" "); }, "=|b|=|c"},
        {[&](cAsciiStringTokenizer& t) { t.set(cAsciiStringTokenizer::tToken(sSameLength)); },
         "x|=#7|yyy|z|=#7|w"},
        {[](cAsciiStringTokenizer& t) {
             t.currentContext().clear();
             configure(static_cast<cAsciiStringTokenizerContext&>(t.currentContext()),
                       {"s=", "k9: "});
         },
         " #9| #9|b| #9| #9|c"},
        {[&](cAsciiStringTokenizer& t) { t.setContext(oSwapped); }, " #9| #9|b| #9| #9|c"}};
    for (const auto& [fChange, pExpected] : oTable) {
        SCOPED_TRACE(pExpected);
        cAsciiStringTokenizerContext oContext;
        configure(oContext, {"s ", "k7:="});
        cAsciiString sText("a = b = c");
        cAsciiStringTokenizer oTokenizer(sText, oContext);
        cAsciiString sToken;
        oTokenizer >> sToken;
        EXPECT_TRUE(sToken == "a");
        fChange(oTokenizer);
        EXPECT_EQ(pExpected, drain(oTokenizer));
    }
}

TEST(Tokenizer, RejectsEmptySpecialsAndMissingContext)
{
    cAsciiStringTokenizerContext oContext;
    EXPECT_THROW(oContext.addKey("", 1), cBugException);
    EXPECT_THROW(oContext.addSeparator(""), cBugException);
    cUTF8StringTokenizerContext oUtf8Context;
    EXPECT_THROW(oUtf8Context.addKey(qucs::cString(), 1), cBugException);
    EXPECT_THROW(oUtf8Context.addSeparator(static_cast<const char*>(nullptr)), cBugException);
    EXPECT_EQ(0u, oContext.numSpecials());
    EXPECT_EQ(0u, oUtf8Context.numSpecials());

    cAsciiString sText("a b");
    cAsciiStringTokenizer oTokenizer(sText);
    EXPECT_EQ(nullptr, oTokenizer.context());
    cAsciiString sToken;
    cBugException e = expectThrow<cBugException>([&] { oTokenizer >> sToken; });
    EXPECT_NE(std::string::npos, messageOf(e).find("mpDynamicContext != 0")) << messageOf(e);
}

TEST(Tokenizer, ExpectTokenThrowsAtTheEnd)
{
    cAsciiStringTokenizerContext oContext;
    oContext.addSeparator(" ");
    oContext.addKey("=", 7);
    for (const char* pText : {"", "   ", "x ="}) {
        SCOPED_TRACE(pText);
        cAsciiString sText(pText);
        cAsciiStringTokenizer oTokenizer(sText, oContext);
        cAsciiString sToken;
        while (!oTokenizer.empty())
            oTokenizer >> sToken;
        cRuntimeException e =
            expectThrow<cRuntimeException>([&] { oTokenizer.expectToken(sToken); });
        EXPECT_EQ("Unexpected end of input!", messageOf(e));
    }
    cAsciiString sText("a = b");
    cAsciiStringTokenizer oTokenizer(sText, oContext);
    cAsciiString sToken;
    EXPECT_EQ(0u, oTokenizer.expectToken(sToken));
    EXPECT_EQ(7u, oTokenizer.expectToken(sToken));
    EXPECT_TRUE(sToken == "=");
}

TEST(Tokenizer, ProcessCountsHintsAndExternalCounters)
{
    cAsciiStringTokenizerContext oContext;
    unsigned iSeparators = 0;
    unsigned iAll = 0;
    oContext.addSeparator(" ").leaveCount(&iSeparators);
    oContext.addSeparator(",").leaveCount(&iAll);
    oContext.addKey("=", 7).leaveCount(&iAll);
    oContext.addKey("==", 8); // never wins: "=" is registered first

    cAsciiString sText("a = b,, c == d ");
    cAsciiStringTokenizer oTokenizer(sText, oContext);
    oTokenizer.process();
    EXPECT_TRUE(oTokenizer.empty());
    EXPECT_EQ(6u, oContext.special(0).numHints());
    EXPECT_EQ(2u, oContext.special(1).numHints());
    EXPECT_EQ(3u, oContext.special(2).numHints());
    EXPECT_EQ(0u, oContext.special(3).numHints());
    EXPECT_EQ(6u, iSeparators);
    EXPECT_EQ(5u, iAll);

    // A second tokenizer on the same context adds to the counts.
    cAsciiString sMore("x = y");
    cAsciiStringTokenizer oSecond(sMore, oContext);
    oSecond.process();
    EXPECT_EQ(8u, oContext.special(0).numHints());
    EXPECT_EQ(8u, iSeparators);
    EXPECT_EQ(6u, iAll);
    EXPECT_THROW(oContext.special(4), cOutOfRangeException);
}

TEST(Tokenizer, RemoveQuotesKeepsWhatWasEscaped)
{
    // The escape string, the text and the text without escapes.
    const std::tuple<const char*, const char*, const char*> oTable[] = {
        {"\\", "a\\ b", "a b"},       {"\\", "\\\\", "\\"},   {"\\", "x\\", "x"},
        {"\\", "\\\"q\\\"", "\"q\""}, {"\\", "\\\\\\", "\\"}, {"", "a\\ b", "a\\ b"},
        {"''", "it''''s''", "it''s"}, {"''", "'a'", "'a'"}};
    for (const auto& [pQuote, pIn, pOut] : oTable) {
        SCOPED_TRACE(pIn);
        cAsciiStringTokenizerContext oContext;
        oContext.setSingleQuote(pQuote);
        cAsciiString sNothing;
        cAsciiStringTokenizer oTokenizer(sNothing, oContext);
        cAsciiString sText(pIn);
        oTokenizer.removeQuotes(sText);
        EXPECT_STREQ(pOut, sText.c_str());
    }
}

TEST(Tokenizer, Utf8TokensAreDecoded)
{
    cUTF8StringTokenizerContext oContext;
    oContext.addSeparator(" ");
    oContext.addKey(qucs::cString(L"\u2192"), 3); // encoded from a cString
    oContext.addKey("\xc3\xa9t\xc3\xa9", 4);      // UTF-8 bytes as they are
    oContext.setSingleQuote(qucs::cString(L"\u00a7"));
    EXPECT_EQ(3u, oContext.special(1).special().length());

    qucs::cString sSource(L"gr\u00fc\u00dfe \u65e5\u2192\u672c \u00a7\u2192x \u00e9t\u00e9");
    tArray<char> oBytes;
    qucs::cEnDecUTF8().encode(sSource, oBytes);
    cUTF8StringTokenizer oTokenizer(oBytes, oContext);

    const std::pair<const wchar_t*, unsigned> oExpected[] = {
        {L"gr\u00fc\u00dfe", 0}, {L"\u65e5", 0},        {L"\u2192", 3},
        {L"\u672c", 0},          {L"\u00a7\u2192x", 0}, {L"\u00e9t\u00e9", 4}};
    for (const auto& [pText, iExpectedId] : oExpected) {
        qucs::cString sToken;
        unsigned iId = 99;
        ASSERT_TRUE(oTokenizer.getNextToken(sToken, iId));
        EXPECT_TRUE(sToken == qucs::cString(pText)) << sToken.ascii('?').c_str();
        EXPECT_EQ(iExpectedId, iId);
        if (iId == 0 && sToken.length() == 3 && sToken[0] == 0xa7) {
            oTokenizer.removeQuotes(sToken);
            EXPECT_TRUE(sToken == qucs::cString(L"\u2192x"));
        }
    }
    qucs::cString sToken;
    oTokenizer >> sToken;
    EXPECT_TRUE(sToken.empty());
    EXPECT_THROW(oTokenizer.expectToken(sToken), cRuntimeException);
}

TEST(Tokenizer, UnicodeStringTokenizerWorksOnCodePoints)
{
    tTokenizerContext<qucs::cString> oContext;
    oContext.addKey(qucs::cString(L"\u00b7\u00b7"), 1);
    oContext.addSeparator(qucs::cString(L"\u3000"));
    tTokenizer<qucs::cString, qucs::cString> oTokenizer(
        qucs::cString(L"\u3000\u00e4\u00b7\u00b7b\u3000\u3000"), oContext);
    tTokenizer<qucs::cString, qucs::cString>::tToken oToken;
    std::vector<unsigned> oSeen;
    unsigned iId = 0;
    while (oTokenizer.getNext(oToken, &iId))
        oSeen.insert(oSeen.end(), {oToken.length(), oToken[0], iId});
    EXPECT_EQ((std::vector<unsigned>{1, 0xe4, 0, 2, 0xb7, 1, 1, 'b', 0}), oSeen);
    EXPECT_EQ(3u, oContext.special(1).numHints());
}
