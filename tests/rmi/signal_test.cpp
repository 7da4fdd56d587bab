// Tests of local signals, slot calls and connectable receivers.
#include "qor_core/qor_core.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace qrmi;
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
        msLog += msName;
        if (fAction)
            fAction();
        return piVoid();
    }
    piVoid sltValue(int iValue)
    {
        msLog += msName + std::to_string(iValue);
        return piVoid();
    }
    piVoid sltPair(const cAsciiString& sText, int iValue)
    {
        msLog += msName + sText.c_str() + std::to_string(iValue);
        return piVoid();
    }
    piVoid sltTriple(int a, int b, int c)
    {
        msLog += msName + std::to_string(a + b + c);
        return piVoid();
    }

    std::string& msLog;
    std::string msName;
    std::function<void()> fAction;
};

typedef localSignal0<piVoid> tSignal;

} // namespace

TEST(Signal, InvocationBehaviourDecidesAboutUnconnectedEmission)
{
    tSignal oThrowing;
    EXPECT_THROW(oThrowing(), cUnconnectedSignalException);
    EXPECT_EQ(0u, oThrowing.nestingCount());
    tSignal oQuiet(cAbstractSignal::IgnoreWhenUnconnected);
    oQuiet();
    oQuiet.invoke();
    try {
        oThrowing();
    } catch (const qstd::cAbstractException& e) {
        qucs::cString sText;
        e.liMessage()->untranslated(sText);
        EXPECT_TRUE(sText == "Call of an unconnected signal");
    }
}

TEST(Signal, SlotsRunInConnectionOrderWithFrontConnectionsFirst)
{
    std::string sLog;
    cReceiver a(sLog, "A"), b(sLog, "B"), c(sLog, "C"), d(sLog, "D");
    tSignal oSignal;
    oSignal.connect(a, &cReceiver::sltFire);
    oSignal.connect(b, &cReceiver::sltFire);
    oSignal.connect(c, &cReceiver::sltFire, cAbstractSignal::ConnectLast);
    oSignal.connect(cDirectLocalSlotCall0<cReceiver, piVoid>(d, &cReceiver::sltFire),
                    cAbstractSignal::ConnectFirst);
    oSignal();
    EXPECT_EQ("DABC", sLog);
    EXPECT_EQ(1u, a.numAttachedSignals());
}

TEST(Signal, ArgumentsReachTheSlots)
{
    std::string sLog;
    cReceiver a(sLog, "A");
    localSignal1<piVoid, int> oOne;
    localSignal2<piVoid, const cAsciiString&, int> oTwo;
    localSignal3<piVoid, int, int, int> oThree;
    oOne.connect(a, &cReceiver::sltValue);
    oTwo.connect(a, &cReceiver::sltPair);
    oThree.connect(a, &cReceiver::sltTriple);
    oOne(7);
    oTwo("x", 2);
    oThree.invoke(1, 2, 3);
    EXPECT_EQ("A7Ax2A6", sLog);
    EXPECT_EQ(3u, a.numAttachedSignals());
}

TEST(Signal, SlotDisconnectingItselfLetsTheOthersRunOnce)
{
    std::string sLog;
    cReceiver a(sLog, "A"), b(sLog, "B"), c(sLog, "C");
    tSignal oSignal;
    oSignal.connect(a, &cReceiver::sltFire);
    oSignal.connect(b, &cReceiver::sltFire);
    oSignal.connect(c, &cReceiver::sltFire);
    b.fAction = [&] { oSignal.disconnect(b); };
    oSignal();
    EXPECT_EQ("ABC", sLog);
    EXPECT_EQ(2u, oSignal.numSlotCalls());
    EXPECT_EQ(0u, b.numAttachedSignals());
    sLog.clear();
    oSignal();
    EXPECT_EQ("AC", sLog);
}

TEST(Signal, RemovingEarlierSlotsDoesNotSkipLaterOnes)
{
    std::string sLog;
    cReceiver a(sLog, "A"), b(sLog, "B"), c(sLog, "C");
    tSignal oSignal;
    oSignal.connect(a, &cReceiver::sltFire);
    oSignal.connect(b, &cReceiver::sltFire);
    oSignal.connect(c, &cReceiver::sltFire);
    b.fAction = [&] {
        oSignal.disconnect(a);
        oSignal.disconnect(b);
    };
    oSignal();
    EXPECT_EQ("ABC", sLog);
}

TEST(Signal, SlotConnectedDuringEmissionRunsInTheSameEmission)
{
    std::string sLog;
    cReceiver a(sLog, "A"), b(sLog, "B"), c(sLog, "C");
    tSignal oSignal;
    oSignal.connect(a, &cReceiver::sltFire);
    bool bOnce = true;
    a.fAction = [&] {
        if (bOnce) {
            bOnce = false;
            oSignal.connect(b, &cReceiver::sltFire); // the only slot adds one
            oSignal.connect(c, &cReceiver::sltFire, cAbstractSignal::ConnectFirst);
        }
    };
    oSignal();
    EXPECT_EQ("ACB", sLog); // both new slots ran, the front one first; none twice
}

TEST(Signal, ReceiverDestroyedDuringEmission)
{
    std::string sLog;
    cReceiver a(sLog, "A");
    cReceiver* pVictim = new cReceiver(sLog, "V");
    tSignal oSignal;
    oSignal.connect(a, &cReceiver::sltFire);
    oSignal.connect(*pVictim, &cReceiver::sltFire);
    a.fAction = [&] {
        delete pVictim;
        pVictim = nullptr;
    };
    oSignal();
    EXPECT_EQ("A~V", sLog);
    EXPECT_EQ(1u, oSignal.numSlotCalls());

    // A receiver that destroys itself from its own slot.
    sLog.clear();
    cReceiver* pSelf = new cReceiver(sLog, "S");
    oSignal.connect(*pSelf, &cReceiver::sltFire, cAbstractSignal::ConnectFirst);
    pSelf->fAction = [&] { delete pSelf; };
    oSignal();
    EXPECT_EQ("S~SA", sLog);
}

TEST(Signal, ReceiverConnectedTwiceDetachesCompletely)
{
    std::string sLog;
    tSignal oSignal;
    cReceiver a(sLog, "A");
    {
        cReceiver b(sLog, "B");
        oSignal.connect(b, &cReceiver::sltFire);
        oSignal.connect(a, &cReceiver::sltFire);
        oSignal.connect(b, &cReceiver::sltFire);
        EXPECT_EQ(2u, b.numAttachedSignals());
    }
    EXPECT_EQ(1u, oSignal.numSlotCalls());
    sLog.clear();
    oSignal();
    EXPECT_EQ("A", sLog);
}

TEST(Signal, SignalDestroyedBeforeItsReceiversLeavesThemDetached)
{
    std::string sLog;
    cReceiver a(sLog, "A");
    {
        tSignal oSignal;
        oSignal.connect(a, &cReceiver::sltFire);
        oSignal.connect(a, &cReceiver::sltFire);
        EXPECT_EQ(2u, a.numAttachedSignals());
    }
    EXPECT_EQ(0u, a.numAttachedSignals());
}

TEST(Signal, ExceptionEndsTheEmissionAndRestoresTheNesting)
{
    std::string sLog;
    cReceiver a(sLog, "A"), b(sLog, "B");
    tSignal oSignal;
    oSignal.connect(a, &cReceiver::sltFire);
    oSignal.connect(b, &cReceiver::sltFire);
    a.fAction = [] { qstd::cSTDExceptions::throwUnexpectedEndOfInput(); };
    EXPECT_THROW(oSignal(), qstd::cRuntimeException);
    EXPECT_EQ("A", sLog);
    EXPECT_EQ(0u, oSignal.nestingCount());
    a.fAction = nullptr;
    sLog.clear();
    oSignal();
    EXPECT_EQ("AB", sLog);
}

TEST(Signal, NestedEmissionCountsAndSignalDestroyedInsideItsEmission)
{
    std::string sLog;
    cReceiver a(sLog, "A"), b(sLog, "B");
    tSignal* pSignal = new tSignal;
    pSignal->connect(a, &cReceiver::sltFire);
    pSignal->connect(b, &cReceiver::sltFire);
    unsigned iInnerNesting = 0;
    a.fAction = [&] { iInnerNesting = pSignal->nestingCount(); };
    (*pSignal)();
    EXPECT_EQ(1u, iInnerNesting);

    a.fAction = [&] {
        delete pSignal;
        pSignal = nullptr;
    };
    sLog.clear();
    testing::internal::CaptureStderr();
    tSignal* pEmitting = pSignal;
    (*pEmitting)(); // must stop without touching the dead signal
    std::string sErr = testing::internal::GetCapturedStderr();
    EXPECT_EQ("A", sLog);
    EXPECT_NE(std::string::npos, sErr.find(">>>>>>>>> delete this situation in signal!"));
    EXPECT_EQ(0u, a.numAttachedSignals());
}

TEST(Signal, ConnectionsByNameAndIndirectCallsOfLocalSlots)
{
    std::string sLog;
    cReceiver a(sLog, "A");
    tSignal oLocal;
    EXPECT_THROW(oLocal.connect(a, "sltFire", cAbstractSignal::ResolveAtConnect),
                 qstd::cBugException);
    EXPECT_EQ(0u, oLocal.numSlotCalls());
    signal0<piVoid> oPublic;
    try {
        oPublic.connect(a, "sltMissing", cAbstractSignal::ResolveAtConnect);
        ADD_FAILURE();
    } catch (const cNoSuchSlotException& e) {
        qucs::cString sText;
        e.liMessage()->untranslated(sText);
        EXPECT_TRUE(sText == "Slot \"sltMissing((?))\" not found in interface!");
    }
    EXPECT_EQ(0u, oPublic.numSlotCalls());
    cDirectLocalSlotCall0<cReceiver, piVoid> oPrototype(a, &cReceiver::sltFire);
    EXPECT_EQ(0u, a.numAttachedSignals()); // a prototype registers nothing
    EXPECT_TRUE(a == &oPrototype);
}

TEST(RMIExceptions, MessageTexts)
{
    auto text = [](const qstd::cAbstractException& e) {
        qucs::cString s;
        e.liMessage()->untranslated(s);
        return std::string(s.ascii().c_str());
    };
    EXPECT_EQ("Signal \"sigX\" could not be found in interface!",
              text(cNoSuchSignalException("sigX")));
    EXPECT_EQ("Slot parameter of (sltY) or return value missmatch!",
              text(cCallParameterMissmatchException("sltY")));
    EXPECT_EQ("Slot parameter or return value missmatch on unregistered slot!",
              text(cCallParameterMissmatchException("")));
    try {
        cRMIExceptions::throwIndirectLocalSlotCall();
    } catch (const qstd::cBugException& e) {
        EXPECT_EQ("Slots connected to an explicit local signal cannot be called indirectly!",
                  text(e));
    }
}
