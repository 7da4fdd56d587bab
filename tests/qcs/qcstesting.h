// qcstesting.h - helpers of the component system tests.
#ifndef QOR_TESTS_QCS_QCSTESTING_H
#define QOR_TESTS_QCS_QCSTESTING_H

#include "qor_core/qor_core.h"
#include "sa/sabytes.h"
#include "std/testutil.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace qortest {

/// The untranslated text of the first exception linked beneath e, or "" when none.
inline std::string causeOf(const qstd::cAbstractException& e)
{
    return e.history() ? messageOf(*e.history()) : std::string();
}

/// Feeds every proper prefix of oBytes to fLoad, which must throw for each of them;
/// fUnchanged then checks that the target was not touched.
inline void expectEveryTruncationRefused(const tBytes& oBytes,
                                         const std::function<void(qsa::cDeserializeBinary&)>& fLoad,
                                         const std::function<void()>& fUnchanged)
{
    for (std::size_t iLength = 0; iLength < oBytes.size(); ++iLength) {
        SCOPED_TRACE(testing::Message() << "prefix of " << iLength << " bytes");
        qstd::tArray<char> oPrefix = arrayOf(tBytes(oBytes.begin(), oBytes.begin() + iLength));
        qsa::cDeserializeBinary oReader(oPrefix);
        EXPECT_THROW(fLoad(oReader), qstd::cAbstractException);
        fUnchanged();
    }
}

} // namespace qortest

#endif
