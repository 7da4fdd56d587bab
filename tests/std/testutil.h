// testutil.h - helpers shared by the foundation tests.
#ifndef QOR_TESTS_STD_TESTUTIL_H
#define QOR_TESTS_STD_TESTUTIL_H

#include "qor_core/std/exception.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
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

/// "type: text" of each exception of the chain, joined by " | ".
inline std::string chainText(const qstd::cAbstractException& e)
{
    std::string sChain;
    for (const qstd::cAbstractException* p = &e; p; p = p->history())
        sChain +=
            (p == &e ? "" : " | ") + std::string(p->typeName().c_str()) + ": " + messageOf(*p);
    return sChain;
}

/// A call that must throw, and the chain it throws as chainText renders it.
struct cThrowRow
{
    const char* mpName;
    std::function<void()> mfThrow;
    std::string msChain;
};

/// Runs every row and compares the chain each one throws.
inline void expectThrownChains(std::initializer_list<cThrowRow> oRows)
{
    for (const cThrowRow& oRow : oRows) {
        SCOPED_TRACE(oRow.mpName);
        try {
            oRow.mfThrow();
            ADD_FAILURE() << "nothing thrown";
        } catch (const qstd::cAbstractException& e) {
            EXPECT_EQ(oRow.msChain, chainText(e));
            qstd::tAutoPtr<qstd::cAbstractException> pCopy(e.createObject());
            EXPECT_EQ(oRow.msChain, chainText(*pCopy));
        }
    }
}

/// A default-constructed E, assigned e, equals e; so does a copy assigned onto a
/// chain of its own.
template <class E> void expectAssignable(const E& e)
{
    SCOPED_TRACE(e.typeName().c_str());
    E oTarget;
    oTarget = e;
    EXPECT_EQ(chainText(e), chainText(oTarget));
    E oCopy(e);
    oCopy = oTarget;
    EXPECT_EQ(chainText(e), chainText(oCopy));
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
