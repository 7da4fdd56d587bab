// Tests of calls through reference frames: the frame protocol of slot calls and
// signal0 connected to public slots by name.
#include "qor_core/qor_core.h"

#include <gtest/gtest.h>

#include <string>

using namespace qrmi;
using qstd::cAsciiString;

namespace {

std::string str(const qstd::cAsciiString& s)
{
    return s.c_str();
}

std::string messageOf(const qstd::cAbstractException& e)
{
    qucs::cString sText;
    e.liMessage()->untranslated(sText);
    return sText.ascii().c_str();
}

/// A public slot without arguments that counts its calls and checks that it gets
/// the frame rewound onto the return value.
class cCountingSlotCall : public cAbstractSlotCall0<piVoid>
{
public:
    cCountingSlotCall(cConnectable& oReceiver, int& iCalls, cAbstractSignal* pSignal = nullptr)
        : cAbstractSlotCall0<piVoid>(oReceiver, pSignal), miCalls(iCalls)
    {
    }
    piVoid call() const override
    {
        ++miCalls;
        return piVoid();
    }
    piVoid callRef(qsa::cReferenceFrame& oFrame) const override
    {
        oFrame.readNext<piVoid>();
        EXPECT_FALSE(oFrame.canRead());
        return call();
    }
    cAbstractSlotCall0<piVoid>* createConnectedInstance(cAbstractSignal& oSignal) const override
    {
        return new cCountingSlotCall(assignedObject(), miCalls, &oSignal);
    }
    using cAbstractSlotCall0<piVoid>::call;

private:
    int& miCalls;
};

/// A two-argument slot call that records what callRef saw.
class cPairSlotCall : public cAbstractSlotCall2<piVoid, const cAsciiString&, int>
{
public:
    explicit cPairSlotCall(cConnectable& oReceiver)
        : cAbstractSlotCall2<piVoid, const cAsciiString&, int>(oReceiver, nullptr)
    {
    }
    piVoid call(const cAsciiString& sText, int iValue) const override
    {
        msSeen = std::string(sText.c_str()) + std::to_string(iValue);
        return piVoid();
    }
    piVoid callRef(qsa::cReferenceFrame& oFrame) const override
    {
        oFrame.skipNext();
        const cAsciiString& sText = oFrame.readNext<cAsciiString>();
        return call(sText, oFrame.readNext<int>());
    }
    cAbstractSlotCall2<piVoid, const cAsciiString&, int>*
    createConnectedInstance(cAbstractSignal&) const override
    {
        return nullptr;
    }
    using cAbstractSlotCall2<piVoid, const cAsciiString&, int>::call;

    mutable std::string msSeen;
};

} // namespace

TEST(SlotCallFrame, ArgumentsAreCheckedBeforeCallRef)
{
    cConnectable oReceiver;
    cPairSlotCall oCall(oReceiver);
    piVoid oResult;
    cAsciiString sText("n=");
    int iValue = 4;
    qsa::cReferenceFrame oFrame;
    oFrame.addRef(oResult, true, false).addRef(sText, false, true).addRef(iValue, false, true);
    oFrame.restartReading();
    oFrame.skipNext();
    oFrame.skipNext(); // wherever the cursor stands, the call starts from the front
    oCall.call(oFrame);
    EXPECT_EQ("n=4", oCall.msSeen);

    oCall.msSeen.clear();
    qsa::cReferenceFrame oShort;
    oShort.addRef(oResult, true, false).addRef(sText, false, true);
    EXPECT_THROW(oCall.call(oShort), qstd::cOutOfBoundsException);
    qsa::cReferenceFrame oSwapped;
    oSwapped.addRef(oResult, true, false).addRef(iValue, false, true).addRef(sText, false, true);
    EXPECT_THROW(oCall.call(oSwapped), qstd::cTypeMissmatchException);
    EXPECT_EQ("", oCall.msSeen);
}

TEST(SignalByName, LazyConnectionLooksTheSlotUpAtEveryEmission)
{
    cConnectable oReceiver;
    signal0<piVoid> sigGo;
    sigGo.connect(oReceiver, "sltLater", cAbstractSignal::ResolveAtCall);
    EXPECT_EQ(1u, sigGo.numSlotCalls());
    EXPECT_EQ(1u, oReceiver.numAttachedSignals());
    try {
        sigGo();
        ADD_FAILURE() << "missing slot called";
    } catch (const cNoSuchSlotException& e) {
        // Built from the call's frame, which holds only the piVoid return value.
        EXPECT_EQ("sltLater", str(e.slotName()));
        EXPECT_EQ("()", str(e.slotArguments()));
        EXPECT_EQ("Slot \"sltLater(())\" not found in interface", messageOf(e));
    }
    EXPECT_EQ(0u, sigGo.nestingCount());

    int iCalls = 0;
    oReceiver.registerSlot(
        "sltLater", "piVoid", "", "",
        qstd::tAutoPtr<cAbstractSlotCall>(new cCountingSlotCall(oReceiver, iCalls)));
    sigGo();
    sigGo();
    EXPECT_EQ(2, iCalls);
}

TEST(SignalByName, ResolvedConnectionGoesAwayWithTheReceiver)
{
    int iCalls = 0;
    signal0<piVoid> sigGo(cAbstractSignal::IgnoreWhenUnconnected);
    {
        cConnectable oReceiver;
        oReceiver.registerSlot(
            "sltNow", "piVoid", "", "",
            qstd::tAutoPtr<cAbstractSlotCall>(new cCountingSlotCall(oReceiver, iCalls)));
        sigGo.connect(oReceiver, "sltNow", cAbstractSignal::ResolveAtConnect);
        sigGo.connect(oReceiver, "sltNow", cAbstractSignal::ResolveAtCall);
        sigGo();
        EXPECT_EQ(2, iCalls);
        EXPECT_EQ(2u, oReceiver.numAttachedSignals());
        EXPECT_THROW(sigGo.connect(oReceiver, "sltNone", cAbstractSignal::ResolveAtConnect),
                     cNoSuchSlotException);
        EXPECT_EQ(2u, sigGo.numSlotCalls());
    }
    EXPECT_EQ(0u, sigGo.numSlotCalls());
    sigGo(); // the resolved call does not reach the deleted public slot
    EXPECT_EQ(2, iCalls);
}
