// Tests of local signals, slot calls and connectable receivers.
#include "qor_core/qor_core.h"
#include "std/testutil.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <utility>

using namespace qrmi;
using qortest::expectThrow;
using qortest::messageOf;
using qstd::cAsciiString;

namespace {

/// A receiver that logs its calls and can act on the signal while it runs.
class cReceiver : public cConnectable
{
public:
    explicit cReceiver(std::string& sLog, const char* pName) : msLog(sLog), msName(pName) {}
    ~cReceiver() override { msLog += "~" + msName; }

    piVoid sltFire()
    {
        log("");
        if (fAction)
            fAction();
        return piVoid();
    }
    piVoid sltValue(int iValue) { return log(std::to_string(iValue)); }
    piVoid sltPair(const cAsciiString& s, int i) { return log(s.c_str() + std::to_string(i)); }
    piVoid sltTriple(int a, int b, int c) { return log(std::to_string(a + b + c)); }
    piVoid log(const std::string& sWhat)
    {
        msLog += msName + sWhat;
        return piVoid();
    }

    std::string& msLog;
    std::string msName;
    std::function<void()> fAction;
};

typedef localSignal0<piVoid> tSignal;

/// Receivers A, B and C, which log into one text, and a signal.
class Signal : public testing::Test
{
protected:
    void connect(std::initializer_list<cReceiver*> oReceivers)
    {
        for (cReceiver* p : oReceivers)
            moSignal.connect(*p, &cReceiver::sltFire);
    }
    /// Emits the signal and returns what was logged meanwhile.
    std::string emit()
    {
        msLog.clear();
        moSignal();
        return msLog;
    }

    std::string msLog;
    cReceiver a{msLog, "A"}, b{msLog, "B"}, c{msLog, "C"};
    tSignal moSignal;
};

} // namespace

TEST_F(Signal, InvocationBehaviourDecidesAboutUnconnectedEmission)
{
    auto e = expectThrow<cUnconnectedSignalException>([&] { moSignal(); });
    EXPECT_EQ("Call of an unconnected signal", messageOf(e));
    EXPECT_EQ(0u, moSignal.nestingCount());
    tSignal oQuiet(cAbstractSignal::IgnoreWhenUnconnected);
    oQuiet();
    oQuiet.invoke();
}

TEST_F(Signal, SlotsRunInConnectionOrderWithFrontConnectionsFirst)
{
    cReceiver d(msLog, "D");
    connect({&a, &b});
    moSignal.connect(c, &cReceiver::sltFire, cAbstractSignal::ConnectLast);
    moSignal.connect(cDirectLocalSlotCall0<cReceiver, piVoid>(d, &cReceiver::sltFire),
                     cAbstractSignal::ConnectFirst);
    EXPECT_EQ("DABC", emit());
    EXPECT_EQ(1u, a.numAttachedSignals());

    // Arguments reach the slots.
    localSignal1<piVoid, int> oOne;
    localSignal2<piVoid, const cAsciiString&, int> oTwo;
    localSignal3<piVoid, int, int, int> oThree;
    oOne.connect(a, &cReceiver::sltValue);
    oTwo.connect(a, &cReceiver::sltPair);
    oThree.connect(a, &cReceiver::sltTriple);
    msLog.clear();
    oOne(7);
    oTwo("x", 2);
    oThree.invoke(1, 2, 3);
    EXPECT_EQ("A7Ax2A6", msLog);
    EXPECT_EQ(4u, a.numAttachedSignals());
}

TEST_F(Signal, SlotsRemovedDuringEmissionDoNotSkipTheOthers)
{
    connect({&a, &b, &c});
    b.fAction = [&] { moSignal.disconnect(b); };
    EXPECT_EQ("ABC", emit());
    EXPECT_EQ(2u, moSignal.numSlotCalls());
    EXPECT_EQ(0u, b.numAttachedSignals());
    EXPECT_EQ("AC", emit());

    // C removes the earlier A and itself; B after it still runs, once.
    connect({&b});
    b.fAction = nullptr;
    c.fAction = [&] {
        moSignal.disconnect(a);
        moSignal.disconnect(c);
    };
    EXPECT_EQ("ACB", emit());
    EXPECT_EQ(1u, moSignal.numSlotCalls());
}

TEST_F(Signal, SlotConnectedDuringEmissionRunsInTheSameEmission)
{
    connect({&a});
    bool bOnce = true;
    a.fAction = [&] {
        if (std::exchange(bOnce, false)) {
            connect({&b}); // the only slot adds one
            moSignal.connect(c, &cReceiver::sltFire, cAbstractSignal::ConnectFirst);
        }
    };
    EXPECT_EQ("ACB", emit()); // both new slots ran, the front one first; none twice
}

TEST_F(Signal, NestedEmissionsEachRunEverySlotOnce)
{
    connect({&a, &b, &c});
    bool bOnce = true;
    a.fAction = [&] {
        if (std::exchange(bOnce, false))
            moSignal();
    };
    // The outer emission runs A, the inner one A, B, C, then the outer one goes on.
    EXPECT_EQ("AABCBC", emit());

    // The inner emission removes A (behind both positions) and connects D in front:
    // both emissions run D, neither skips B or C.
    cReceiver d(msLog, "D");
    bOnce = true;
    bool bChange = true;
    b.fAction = [&] {
        if (std::exchange(bChange, false)) {
            moSignal.disconnect(a);
            moSignal.connect(d, &cReceiver::sltFire, cAbstractSignal::ConnectFirst);
        }
    };
    EXPECT_EQ("AABDCDBC", emit()); // outer A, inner ABDC, outer DBC
    EXPECT_EQ("DBC", emit());

    // An inner emission ended by an exception leaves the outer one intact.
    b.fAction = [&] {
        if (std::exchange(bOnce, false)) {
            EXPECT_THROW(moSignal(), std::runtime_error);
            EXPECT_EQ(1u, moSignal.nestingCount());
        }
    };
    c.fAction = [&] {
        if (moSignal.nestingCount() == 2)
            throw std::runtime_error("inner");
    };
    bOnce = true;
    EXPECT_EQ("DBDBCC", emit()); // outer DB, inner DBC (thrown), outer C
}

TEST_F(Signal, ReceiverDestroyedDuringEmission)
{
    cReceiver* pVictim = new cReceiver(msLog, "V");
    connect({&a, pVictim});
    a.fAction = [&] { delete pVictim; };
    EXPECT_EQ("A~V", emit());
    EXPECT_EQ(1u, moSignal.numSlotCalls());

    // A receiver that destroys itself from its own slot.
    a.fAction = nullptr;
    cReceiver* pSelf = new cReceiver(msLog, "S");
    moSignal.connect(*pSelf, &cReceiver::sltFire, cAbstractSignal::ConnectFirst);
    pSelf->fAction = [&] { delete pSelf; };
    EXPECT_EQ("S~SA", emit());
}

TEST_F(Signal, ReceiversAndSignalsDetachWhenEitherGoes)
{
    {
        tSignal oSignal;
        oSignal.connect(a, &cReceiver::sltFire);
        oSignal.connect(a, &cReceiver::sltFire);
        EXPECT_EQ(2u, a.numAttachedSignals());
    }
    EXPECT_EQ(0u, a.numAttachedSignals());

    // A receiver connected twice leaves completely.
    {
        cReceiver d(msLog, "D");
        connect({&d, &a, &d});
        EXPECT_EQ(2u, d.numAttachedSignals());
    }
    EXPECT_EQ(1u, moSignal.numSlotCalls());
    EXPECT_EQ("A", emit());
}

TEST_F(Signal, DetachedReceiverAndSignalDieInEitherOrder)
{
    cReceiver* pReceiver = new cReceiver(msLog, "R");
    tSignal* pSignal = new tSignal;
    pSignal->connect(*pReceiver, &cReceiver::sltFire);
    connect({pReceiver, &a});
    pReceiver->detachAllSignals();
    EXPECT_EQ(0u, pReceiver->numAttachedSignals());
    EXPECT_EQ(0u, pSignal->numSlotCalls());
    EXPECT_EQ("A", emit());
    delete pSignal;
    delete pReceiver; // must not ask the dead signal for anything (ASan)

    // Detached, connected anew, then gone before the signal.
    cReceiver* pOther = new cReceiver(msLog, "O");
    pOther->detachAllSignals();
    connect({pOther});
    EXPECT_EQ(1u, pOther->numAttachedSignals());
    delete pOther;
    EXPECT_EQ("A", emit());
}

TEST_F(Signal, ExceptionEndsTheEmissionAndRestoresTheNesting)
{
    connect({&a, &b});
    a.fAction = [] { qstd::cSTDExceptions::throwUnexpectedEndOfInput(); };
    EXPECT_THROW(emit(), qstd::cRuntimeException);
    EXPECT_EQ("A", msLog);
    EXPECT_EQ(0u, moSignal.nestingCount());
    a.fAction = nullptr;
    EXPECT_EQ("AB", emit());
}

TEST_F(Signal, NestedEmissionCountsAndSignalDestroyedInsideItsEmission)
{
    tSignal* pSignal = new tSignal;
    pSignal->connect(a, &cReceiver::sltFire);
    pSignal->connect(b, &cReceiver::sltFire);
    unsigned iInnerNesting = 0;
    a.fAction = [&] { iInnerNesting = pSignal->nestingCount(); };
    (*pSignal)();
    EXPECT_EQ(1u, iInnerNesting);

    a.fAction = [&] { delete pSignal; };
    msLog.clear();
    testing::internal::CaptureStderr();
    (*pSignal)(); // must stop without touching the dead signal
    std::string sErr = testing::internal::GetCapturedStderr();
    EXPECT_EQ("A", msLog);
    EXPECT_NE(std::string::npos, sErr.find(">>>>>>>>> delete this situation in signal!"));
    EXPECT_EQ(0u, a.numAttachedSignals());
}

TEST_F(Signal, ConnectionsByNameAndIndirectCallsOfLocalSlots)
{
    EXPECT_THROW(moSignal.connect(a, "sltFire", cAbstractSignal::ResolveAtConnect),
                 qstd::cBugException);
    EXPECT_EQ(0u, moSignal.numSlotCalls());

    signal0<piVoid> oPublic;
    auto n = expectThrow<cNoSuchSlotException>(
        [&] { oPublic.connect(a, "sltMissing", cAbstractSignal::ResolveAtConnect); });
    EXPECT_EQ("Slot \"sltMissing((?))\" not found in interface!", messageOf(n));
    EXPECT_EQ(0u, oPublic.numSlotCalls());
    cDirectLocalSlotCall0<cReceiver, piVoid> oPrototype(a, &cReceiver::sltFire);
    EXPECT_EQ(0u, a.numAttachedSignals()); // a prototype registers nothing
    EXPECT_TRUE(a == &oPrototype);
    EXPECT_EQ("Slot parameter or return value missmatch on unregistered slot!",
              messageOf(cCallParameterMissmatchException("")));
}
