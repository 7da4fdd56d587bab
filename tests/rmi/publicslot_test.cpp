// Tests of public slots and signals: the registries of cConnectable, calls by
// name through frames and streams, signals connected to public slots by name, the
// serialized descriptions and the rebuilding of an interface with proxies from an
// RMI factory.
#include "qor_core/qor_core.h"
#include "qor_core/sa/deserializebinary.h"
#include "qor_core/sa/serializebinary.h"
#include "std/testutil.h"
#include "support/fakeserializer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qrmi;
using qortest::cFakeDeserializer;
using qortest::cFakeSerializer;
using qortest::expectThrow;
using qortest::messageOf;
using qortest::tFakeStream;
using qstd::cAsciiString;

namespace {

/// The public slot "int sltAdd(int, int)" as an application would write it: the
/// frame holds the result and the two summands; the streams carry the summands
/// in and the sum out. Counts its destructions.
class cAddSlotCall : public cAbstractSlotCall2<int, int, int>
{
public:
    cAddSlotCall(cConnectable& oReceiver, int& iDestroyed, cAbstractSignal* pSignal = nullptr)
        : cAbstractSlotCall2<int, int, int>(oReceiver, pSignal), miDestroyed(iDestroyed)
    {
    }
    ~cAddSlotCall() override { ++miDestroyed; }

    int call(int a, int b) const override { return a + b; }
    int callRef(qsa::cReferenceFrame& oFrame) const override
    {
        int& iResult = oFrame.readNext<int>();
        int a = oFrame.readNext<int>();
        int b = oFrame.readNext<int>();
        return iResult = call(a, b);
    }
    void call(qsa::cAbstractDeserializer& oIn, qsa::cAbstractSerializer& oOut) const override
    {
        int a = 0, b = 0;
        try {
            a << oIn;
            b << oIn;
        } catch (const qstd::cAbstractException& e) {
            cRMIExceptions::throwParameterMissmatch(isPublicSlot(), e);
        }
        call(a, b) >> oOut;
    }
    cAbstractSlotCall2<int, int, int>*
    createConnectedInstance(cAbstractSignal& oSignal) const override
    {
        return new cAddSlotCall(assignedObject(), miDestroyed, &oSignal);
    }
    using cAbstractSlotCall2<int, int, int>::call;

private:
    int& miDestroyed;
};

/// Publishes sltAdd with a full description.
class cCalculator : public cConnectable
{
public:
    cCalculator() { publish(*this, "sltAdd"); }

    cPublicSlot* publish(cConnectable& oOwner, const char* pName)
    {
        cPublicSlot* pSlot = oOwner.registerSlot(
            pName, "int", "int, int", "adds two numbers",
            qstd::tAutoPtr<cAbstractSlotCall>(new cAddSlotCall(oOwner, miSlotsDestroyed)));
        pSlot->addParameter() = cSSValue("int", "first summand", false, false);
        pSlot->addParameter() = cSSValue("int", "second summand", false, false);
        pSlot->returnValue() = cSSValue("int", "the sum", true, false);
        return pSlot;
    }

    int miSlotsDestroyed = 0;
};

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

/// A proxy slot call: records what it is asked to forward.
class cProxySlotCall : public cAbstractSlotCall
{
public:
    cProxySlotCall(cConnectable& oOwner, std::vector<std::string>& oLog)
        : cAbstractSlotCall(oOwner, nullptr), moLog(oLog)
    {
    }
    void call(qsa::cAbstractDeserializer& oIn, qsa::cAbstractSerializer& oOut) const override
    {
        cAsciiString sArgument;
        sArgument << oIn;
        moLog.push_back(std::string("forward ") + publicSlotName().c_str() + " " +
                        sArgument.c_str());
        true >> oOut;
    }

private:
    std::vector<std::string>& moLog;
};

/// The application's factory: proxy slot calls and one proxy signal per index.
class cTestRMIFactory : public cAbstractRMIFactory
{
public:
    qstd::tAutoPtr<cAbstractSlotCall> createRemoteSlotCall(cConnectable& oOwner) override
    {
        return qstd::tAutoPtr<cAbstractSlotCall>(new cProxySlotCall(oOwner, moLog));
    }
    cAbstractSignal* createRemoteSignal(unsigned int iConnectableIndex) override
    {
        moIndices.push_back(iConnectableIndex);
        return moSignals.emplace_back(new signal0<piVoid>).get();
    }

    std::vector<std::string> moLog;
    std::vector<unsigned> moIndices;
    std::vector<std::unique_ptr<signal0<piVoid>>> moSignals; ///< owns the proxy signals
};

} // namespace

TEST(PublicSlot, CalledByNameThroughAFrame)
{
    cCalculator oCalc;
    int iSum = 0, a = 2, b = 40;
    qsa::cReferenceFrame oFrame;
    oFrame.addRef(iSum, true, false).addRef(a, false, true).addRef(b, false, true);
    oFrame.restartReading();
    oFrame.skipNext();
    oFrame.skipNext(); // wherever the cursor stands, the call starts from the front
    oCalc.invokeIndirectSlot("sltAdd", oFrame);
    EXPECT_EQ(42, iSum);

    // Missing arguments or arguments of another type are found before the slot runs.
    double dWrong = 1.0;
    qsa::cReferenceFrame oShort, oWrong;
    oShort.addRef(iSum, true, false).addRef(a, false, true);
    oWrong.addRef(iSum, true, false).addRef(a, false, true).addRef(dWrong, false, true);
    iSum = 0;
    EXPECT_THROW(oCalc.invokeIndirectSlot("sltAdd", oShort), qstd::cOutOfBoundsException);
    EXPECT_THROW(oCalc.invokeIndirectSlot("sltAdd", oWrong), qstd::cTypeMissmatchException);
    EXPECT_EQ(0, iSum);

    auto e = expectThrow<cNoSuchSlotException>([&] { oCalc.invokeIndirectSlot("sltSub", oFrame); });
    EXPECT_STREQ("sltSub", e.slotName().c_str());
    EXPECT_EQ("Slot \"sltSub((piInt32, piInt32, piInt32))\" not found in interface", messageOf(e));
}

TEST(PublicSlot, CalledByNameThroughStreams)
{
    cCalculator oCalc;
    cFakeDeserializer oIn(tFakeStream{19, 23});
    cFakeSerializer oOut;
    oCalc.invokeIndirectRemoteSlot("sltAdd", oIn, oOut);
    ASSERT_EQ(1u, oOut.moItems.size());
    EXPECT_EQ(42, std::get<int>(oOut.moItems[0]));

    // The same call through the binary format.
    qsa::cSerializeBinary oArguments;
    oArguments.store(100);
    oArguments.store(-1);
    qsa::cDeserializeBinary oBinaryIn(oArguments.data());
    qsa::cSerializeBinary oResult;
    oCalc.invokeIndirectRemoteSlot("sltAdd", oBinaryIn, oResult);
    qsa::cDeserializeBinary oReadBack(oResult.data());
    int iSum = 0;
    iSum << oReadBack;
    EXPECT_EQ(99, iSum);

    cFakeDeserializer oNone(tFakeStream{});
    auto e = expectThrow<cNoSuchSlotException>(
        [&] { oCalc.invokeIndirectRemoteSlot("sltMul", oNone, oOut); });
    EXPECT_EQ("Slot \"sltMul((?))\" not found in interface!", messageOf(e));
}

TEST(PublicSlot, ArgumentsNotMatchingTheDescriptionNameTheSlot)
{
    cCalculator oCalc;
    cFakeDeserializer oIn(tFakeStream{1, cAsciiString("two")});
    cFakeSerializer oOut;
    auto e = expectThrow<cCallParameterMissmatchException>(
        [&] { oCalc.invokeIndirectRemoteSlot("sltAdd", oIn, oOut); });
    EXPECT_EQ("Slot parameter of (sltAdd) or return value missmatch!", messageOf(e));
    ASSERT_NE(nullptr, e.history());
    EXPECT_STREQ("cRuntimeException", e.history()->typeName().c_str());
    EXPECT_EQ("Definition: \"int sltAdd(int, int)\"", messageOf(*e.history()));
    ASSERT_NE(nullptr, e.history()->history()); // the reader's own failure
}

TEST(PublicSlot, RegistryLookups)
{
    int iDestroyed = 0;
    {
        cConnectable oPlain;
        EXPECT_EQ(nullptr, oPlain.tryFindSlot("sltAdd"));
        EXPECT_FALSE(oPlain.hasPublicSlots()); // looking did not create the list
        EXPECT_THROW(oPlain.findPublicSlot("sltAdd"), cNoSuchSlotException);

        cCalculator oHelper;
        cPublicSlot* pFirst = oHelper.publish(oPlain, "sltTwice");
        cPublicSlot* pSecond = oHelper.publish(oPlain, "sltTwice");
        EXPECT_TRUE(oPlain.hasPublicSlots());
        EXPECT_EQ(pFirst->slot(), oPlain.tryFindSlot("sltTwice"));
        EXPECT_EQ(pFirst, oPlain.findPublicSlot("sltTwice"));
        EXPECT_EQ(pSecond, oPlain.tryFindPublicSlot(*pSecond->slot()));
        EXPECT_STREQ("sltTwice", pSecond->slot()->publicSlotName().c_str());
        EXPECT_STREQ("sltTwice", oPlain.publicSlotName(*pSecond->slot()).c_str());

        cAddSlotCall oUnregistered(oPlain, iDestroyed);
        EXPECT_EQ(nullptr, oPlain.tryFindPublicSlot(oUnregistered));
        EXPECT_STREQ("unknown", oPlain.publicSlotName(oUnregistered).c_str());
        auto e = expectThrow<qstd::cBugException>([&] { oUnregistered.publicSlotName(); });
        EXPECT_EQ("Slot is not a public one!", messageOf(e));

        cPublicSlot* pByInterface = pFirst->slot()->registerSlotByInterface(
            "sltOther", "piVoid", "", "",
            qstd::tAutoPtr<cAbstractSlotCall>(new cAddSlotCall(oPlain, iDestroyed)));
        EXPECT_EQ(pByInterface, oPlain.findPublicSlot("sltOther"));

        oPlain.registerRemoteSlot(
            "sltTmp", qstd::tAutoPtr<cAbstractSlotCall>(new cAddSlotCall(oPlain, iDestroyed)));

        oPlain.clear(); // deletes the public slots with their slot calls
        EXPECT_FALSE(oPlain.hasPublicSlots());
        EXPECT_EQ(nullptr, oPlain.tryFindSlot("sltTwice"));
        EXPECT_EQ(2, oHelper.miSlotsDestroyed);
        EXPECT_EQ(2, iDestroyed);
    }
    EXPECT_EQ(3, iDestroyed); // oUnregistered
}

TEST(PublicSignal, ExportedSignalsAreFoundByName)
{
    cConnectable oOwner;
    signal0<piVoid> sigChanged(cAbstractSignal::IgnoreWhenUnconnected);
    auto e = expectThrow<qstd::cBugException>([&] { sigChanged.publicSignalName(); });
    EXPECT_EQ("Signal is not a public one!", messageOf(e));
    cPublicSignal* pPublic = sigChanged.exportSignal(
        oOwner, "sigChanged", cAbstractSignal::ClientSide, "the value changed");
    EXPECT_TRUE(oOwner.hasPublicSignals());
    EXPECT_EQ(pPublic, sigChanged.isPublicSignal());
    EXPECT_STREQ("sigChanged", sigChanged.publicSignalName().c_str());
    EXPECT_EQ(cSSValue("piVoid", "", false, true), pPublic->returnValue());
    EXPECT_EQ(&sigChanged, oOwner.findSignal("sigChanged"));
    EXPECT_EQ(pPublic, oOwner.findPublicSignal("sigChanged"));
    auto n = expectThrow<cNoSuchSignalException>([&] { oOwner.findSignal("sigGone"); });
    EXPECT_EQ("Signal \"sigGone\" could not be found in interface!", messageOf(n));
}

TEST(PublicSignal, SignalAndEntryForgetEachOtherWhenEitherGoes)
{
    signal0<piVoid> sigKept(cAbstractSignal::IgnoreWhenUnconnected);
    {
        cConnectable oOwner;
        sigKept.exportSignal(oOwner, "sigKept", cAbstractSignal::ClientSide, "");
    }
    EXPECT_EQ(nullptr, sigKept.isPublicSignal()) << "the entry died with its owner";
    auto e = expectThrow<qstd::cBugException>([&] { sigKept.publicSignalName(); });
    EXPECT_EQ("Signal is not a public one!", messageOf(e));

    // Exported on two owners: clearing one leaves the other's entry in charge.
    cConnectable oFirst, oSecond;
    sigKept.exportSignal(oFirst, "sigFirst", cAbstractSignal::ClientSide, "");
    cPublicSignal* pSecond =
        sigKept.exportSignal(oSecond, "sigSecond", cAbstractSignal::ClientSide, "");
    oSecond.clear();
    EXPECT_STREQ("sigFirst", sigKept.publicSignalName().c_str());
    oFirst.clear();
    EXPECT_EQ(nullptr, sigKept.isPublicSignal());
    pSecond = sigKept.exportSignal(oSecond, "sigSecond", cAbstractSignal::ClientSide, "");

    // The signal goes first: the entries stay as descriptions, without a signal.
    {
        signal0<piVoid> sigGone;
        sigGone.exportSignal(oFirst, "sigGone", cAbstractSignal::ProviderSide, "");
        sigGone.exportSignal(oSecond, "sigGone", cAbstractSignal::ProviderSide, "");
    }
    EXPECT_EQ(nullptr, oFirst.findPublicSignal("sigGone")->signal());
    EXPECT_EQ(nullptr, oSecond.findPublicSignal("sigGone")->signal());
    auto n = expectThrow<cNoSuchSignalException>([&] { oSecond.findSignal("sigGone"); });
    EXPECT_EQ("Signal \"sigGone\" could not be found in interface!", messageOf(n));
    EXPECT_EQ(&sigKept, oSecond.findSignal("sigSecond"));
    EXPECT_EQ(pSecond, sigKept.isPublicSignal());
}

TEST(PublicSlot, DescriptionsRoundTrip)
{
    cCalculator oCalc;
    const cPublicSlot* pSlot = oCalc.findPublicSlot("sltAdd");
    cFakeSerializer oOut;
    *pSlot >> oOut;
    const std::vector<std::string> oKinds = {
        "cAsciiString", "cAsciiString", "cAsciiString", "cAsciiString", // name .. description
        "context",                                                      // the parameters
        "cAsciiString", "cAsciiString", "piBool",       "piBool",       "cAsciiString",
        "cAsciiString", "piBool",       "piBool",       "end",          "cAsciiString",
        "cAsciiString", "piBool",       "piBool"}; // the return value
    EXPECT_EQ(oKinds, qortest::fakeKinds(oOut.moItems));
    EXPECT_EQ("unknown", std::get<qortest::cFakeContextBegin>(oOut.moItems[4]).sType);

    int iDestroyed = 0;
    cConnectable oOther;
    cPublicSlot oCopy(qstd::tAutoPtr<cAbstractSlotCall>(new cAddSlotCall(oOther, iDestroyed)));
    cFakeDeserializer oIn(oOut.moItems);
    oCopy << oIn;
    EXPECT_EQ(pSlot->name(), oCopy.name());
    EXPECT_EQ(pSlot->returnTypeName(), oCopy.returnTypeName());
    EXPECT_EQ(pSlot->paramTypeNames(), oCopy.paramTypeNames());
    EXPECT_EQ(pSlot->description(), oCopy.description());
    EXPECT_TRUE(pSlot->parameters() == oCopy.parameters());
    EXPECT_EQ(pSlot->returnValue(), oCopy.returnValue());

    // An empty parameter list is an empty context.
    cPublicSignal oSignal("sigX", "piVoid", "", cAbstractSignal::ClientSide, "d", nullptr);
    cFakeSerializer oSignalOut;
    oSignal >> oSignalOut;
    const std::vector<std::string> oSignalKinds = {
        "cAsciiString", "cAsciiString", "cAsciiString", "cAsciiString", "piUInt32", "context",
        "end",          "cAsciiString", "cAsciiString", "piBool",       "piBool"};
    EXPECT_EQ(oSignalKinds, qortest::fakeKinds(oSignalOut.moItems));
    EXPECT_EQ(1u, std::get<unsigned int>(oSignalOut.moItems[4]));
}

TEST(PublicSlot, RemoteInterfaceIsRebuiltWithProxies)
{
    cCalculator oCalc;
    signal0<piVoid> sigDone(cAbstractSignal::IgnoreWhenUnconnected);
    sigDone.exportSignal(oCalc, "sigDone", cAbstractSignal::ProviderSide, "finished");
    cFakeSerializer oOut;
    *oCalc.findPublicSlot("sltAdd") >> oOut;
    *oCalc.findPublicSignal("sigDone") >> oOut;

    cTestRMIFactory oFactory;
    cConnectable oProxy;
    oProxy.setIndex(7);
    cFakeDeserializer oIn(oOut.moItems);
    cPublicSlot* pSlot = oProxy.registerRemoteSlot(oIn, oFactory);
    cPublicSignal* pSignal = oProxy.registerRemoteSignal(oIn, oFactory);
    EXPECT_STREQ("sltAdd", pSlot->name().c_str());
    EXPECT_STREQ("adds two numbers", pSlot->description().c_str());
    EXPECT_EQ(2u, pSlot->parameters().count());
    EXPECT_STREQ("sigDone", pSignal->name().c_str());
    EXPECT_EQ(cAbstractSignal::ProviderSide, pSignal->type());
    EXPECT_EQ((std::vector<unsigned>{7}), oFactory.moIndices);
    EXPECT_EQ(oFactory.moSignals[0].get(), oProxy.findSignal("sigDone"));
    EXPECT_EQ(pSignal, oFactory.moSignals[0]->isPublicSignal());

    cFakeDeserializer oCallIn(tFakeStream{cAsciiString("payload")});
    cFakeSerializer oCallOut;
    oProxy.invokeIndirectRemoteSlot("sltAdd", oCallIn, oCallOut);
    EXPECT_EQ((std::vector<std::string>{"forward sltAdd payload"}), oFactory.moLog);

    // A description that cannot be read registers nothing.
    cConnectable oBroken;
    cFakeDeserializer oGarbage(tFakeStream{1, 2, 3});
    EXPECT_THROW(oBroken.registerRemoteSlot(oGarbage, oFactory), qstd::cAbstractException);
    EXPECT_FALSE(oBroken.hasPublicSlots());
}

TEST(SignalByName, LazyConnectionLooksTheSlotUpAtEveryEmission)
{
    cConnectable oReceiver;
    signal0<piVoid> sigGo;
    sigGo.connect(oReceiver, "sltLater", cAbstractSignal::ResolveAtCall);
    EXPECT_EQ(1u, sigGo.numSlotCalls());
    EXPECT_EQ(1u, oReceiver.numAttachedSignals());
    // Built from the call's frame, which holds only the piVoid return value.
    auto e = qortest::expectThrow<cNoSuchSlotException>([&] { sigGo(); });
    EXPECT_STREQ("sltLater", e.slotName().c_str());
    EXPECT_STREQ("()", e.slotArguments().c_str());
    EXPECT_EQ("Slot \"sltLater(())\" not found in interface", qortest::messageOf(e));
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
