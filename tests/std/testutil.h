// testutil.h - helpers shared by the foundation tests.
#ifndef QOR_TESTS_STD_TESTUTIL_H
#define QOR_TESTS_STD_TESTUTIL_H

#include "qor_core/std/exception.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace qortest {

/// The untranslated text of an exception's own message (or its what text).
inline std::string messageOf(const qstd::cAbstractException& e)
{
    qucs::cString sText;
    qstd::cAbstractException::createMessage(e, sText, 0, nullptr);
    return sText.ascii('?').c_str();
}

/// Runs fCall, which must throw an exception of type E, and returns it.
template <class E> E expectThrow(const std::function<void()>& fCall)
{
    try {
        fCall();
    } catch (const E& e) {
        return e;
    } catch (const qstd::cAbstractException& e) {
        ADD_FAILURE() << "unexpected " << e.typeName().c_str() << ": " << messageOf(e);
        throw;
    }
    ADD_FAILURE() << "nothing thrown";
    return E();
}

/// Counts constructions and destructions, to catch ownership faults.
struct cCounted
{
    static inline int siAlive = 0;
    static inline int siDestroyed = 0;
    explicit cCounted(int iValue = 0) : miValue(iValue) { ++siAlive; }
    cCounted(const cCounted& o) : miValue(o.miValue) { ++siAlive; }
    virtual ~cCounted()
    {
        --siAlive;
        ++siDestroyed;
    }
    bool operator==(const cCounted& o) const { return miValue == o.miValue; }
    static void reset() { siAlive = siDestroyed = 0; }
    int miValue;
};

} // namespace qortest

#endif
