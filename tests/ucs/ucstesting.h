// ucstesting.h - helpers shared by the Unicode tests: printing strings and reading
// the texts of thrown exception chains.
// SPDX-License-Identifier: MIT
#ifndef QOR_TESTS_UCS_UCSTESTING_H
#define QOR_TESTS_UCS_UCSTESTING_H

#include "qor_core/std/exception.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

namespace qucs {
/// Lets GoogleTest print strings: ASCII as is, other code points as <U+hex>.
inline void PrintTo(const cString& sText, std::ostream* pOut)
{
    *pOut << '"';
    for (unsigned i = 0; i < sText.length(); ++i) {
        if (sText[i] >= 32 && sText[i] < 127)
            *pOut << char(sText[i]);
        else
            *pOut << "<U+" << std::hex << sText[i] << std::dec << '>';
    }
    *pOut << '"';
}
} // namespace qucs

namespace qortest {

/// A string of the given code points.
inline qucs::cString codePoints(std::initializer_list<unsigned> oCodes)
{
    qucs::cString sResult;
    for (unsigned iCode : oCodes)
        sResult += iCode;
    return sResult;
}

/// The untranslated text of each exception of the chain, outermost first. Every
/// element is expected to be a runtime exception.
inline std::vector<std::string> chainTexts(const qstd::cAbstractException& oException)
{
    std::vector<std::string> oTexts;
    for (const qstd::cAbstractException* p = &oException; p; p = p->history()) {
        EXPECT_EQ(qstd::cAbstractException::Runtime, p->type()) << p->typeName().c_str();
        qstd::cAsciiString sText;
        if (p->liMessage())
            p->liMessage()->untranslated(sText);
        oTexts.push_back(sText.c_str());
    }
    return oTexts;
}

/// Runs call, which must throw a cRuntimeException, and returns the texts of its chain.
template <class F> std::vector<std::string> failureOf(F call)
{
    try {
        call();
    } catch (const qstd::cRuntimeException& e) {
        return chainTexts(e);
    }
    ADD_FAILURE() << "no exception thrown";
    return {};
}

typedef std::vector<std::string> tTexts;

} // namespace qortest

#endif // QOR_TESTS_UCS_UCSTESTING_H
