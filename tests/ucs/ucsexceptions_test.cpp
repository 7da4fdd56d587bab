// ucsexceptions_test.cpp - tests of cUCSExceptions and throwUEOD.
// SPDX-License-Identifier: MIT
#include "qor_core/ucs/ucsexceptions.h"
#include "qor_core/std/exception.h"

#include "ucstesting.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using qortest::codePoints;
using qortest::failureOf;
using qortest::tTexts;
using qucs::cUCSExceptions;

TEST(UCSExceptions, EachHelperWrapsACopyOfTheWholeCauseChain)
{
    const qucs::cString sFile = codePoints({'/', 't', 0xE9, '.', 't', 'r'});
    typedef const qstd::cAbstractException& tCause;
    struct Row
    {
        const char* pMessage;
        std::function<void(tCause)> raise;
    };
    const Row oTable[] = {
        {"Unicode decode error!",
         [](tCause oCause) { cUCSExceptions::throwUCSDecodeError(oCause); }},
        {"Unicode encoding error!",
         [](tCause oCause) { cUCSExceptions::throwUSCEncodeError(oCause); }},
        {"Unable to read translation file (/t?.tr)!",
         [&](tCause oCause) { cUCSExceptions::throwUnableToReadTranslationFile(oCause, sFile); }},
        {"Unable to parse translation file (/t?.tr) line 4294967295!", [&](tCause oCause) {
             cUCSExceptions::throwUnableToParseTranslationFile(oCause, sFile, 4294967295u);
         }}};
    for (const Row& oRow : oTable) {
        SCOPED_TRACE(oRow.pMessage);
        // The cause is gone before the chain is read, so the chain must hold copies.
        EXPECT_EQ((tTexts{oRow.pMessage, "inner detail", "root"}), failureOf([&] {
                      qucs::cLIMessage oInner, oRoot;
                      oInner << "$MTR$inner %what%"
                             << "detail";
                      oRoot << "$MNTR$root";
                      auto pCause = std::make_unique<qstd::cRuntimeException>(oInner, nullptr, 0);
                      pCause->link(qstd::cRuntimeException(oRoot, nullptr, 0));
                      oRow.raise(*pCause);
                  }));
    }
}

TEST(UCSExceptions, UnexpectedEndOfDataHasNoCause)
{
    EXPECT_EQ(tTexts{"UTF8 decode error - unexpected end of data at index 4294967295!"},
              failureOf([] { qucs::throwUEOD(4294967295u); }));
}
