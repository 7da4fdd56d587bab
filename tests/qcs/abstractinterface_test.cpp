// Tests of interface descriptions, interfaces (matching, storing and rebuilding
// through an RMI factory), the interface provider and the module's class loader
// reference.
#include "qcs/interfacetesting.h"

using namespace qcs;
using qortest::arrayOf;
using qortest::bytesOf;
using qortest::operator+;
using qortest::cTestInterface;
using qortest::cTestRMIFactory;
using qortest::messageOf;
using qortest::namesOf;
using qortest::tBytes;
using qortest::text;
using qortest::words;
using qstd::cAsciiString;

namespace {

const cInterfaceDesc::InterfaceType Provided = cInterfaceDesc::Provided;
const cInterfaceDesc::InterfaceType Required = cInterfaceDesc::Required;

tBytes stringItem(const std::string& sText)
{
    return words({10, unsigned(sText.size())}) + text(sText);
}

/// An unnamed context holding nothing.
tBytes emptyContext()
{
    return words({12, 4, 16, 8, 0});
}

tBytes storedBytes(const cAbstractInterface& oInterface)
{
    qsa::cSerializeBinary oWriter;
    oInterface.store(oWriter);
    return bytesOf(oWriter);
}

/// A class loader that opens nothing; the tests only count its references.
class cNullClassLoader : public qpi::cAbstractClassLoader
{
public:
    cNullClassLoader() : qpi::cAbstractClassLoader(qucs::cString("libnull.so")) {}
    cAbstractPlugIn* instance(qsa::cReferenceFrame&) override { return nullptr; }
    cAbstractComponent* instance(qsa::cReferenceFrame&, cModuleMgr&) override { return nullptr; }
    void getModuleVersion(unsigned int&, unsigned int&) const override {}
    void getModuleQORVersion(unsigned int&, unsigned int&) const override {}
};

class cTestModule : public cAbstractModule
{
public:
    bool isPlugIn() const override { return false; }
    bool isComponent() const override { return false; }
};

} // namespace

TEST(InterfaceDesc, EqualityAndPlainBytes)
{
    cInterfaceDesc oDesc(Provided, "Clock", "me", 3, "tells the time");
    EXPECT_EQ(oDesc, cInterfaceDesc(Provided, "Clock", "me", 3, "something else"));
    EXPECT_NE(oDesc, cInterfaceDesc(Required, "Clock", "me", 3, "tells the time"));
    EXPECT_NE(oDesc, cInterfaceDesc(Provided, "Clock", "you", 3, "tells the time"));
    EXPECT_NE(oDesc, cInterfaceDesc(Provided, "Clock", "me", 4, "tells the time"));
    EXPECT_EQ(Required, cInterfaceDesc().type());

    qsa::cSerializeBinary oWriter;
    oWriter.setPreferNoLabels(false); // never labelled, whatever the writer prefers
    oDesc >> oWriter;
    EXPECT_EQ(words({4, 0}) + stringItem("Clock") + stringItem("me") + words({4, 3}) +
                  stringItem("tells the time"),
              bytesOf(oWriter));
    qsa::cDeserializeBinary oReader(oWriter.data());
    cInterfaceDesc oRead;
    oRead << oReader;
    EXPECT_EQ(oDesc, oRead);
    EXPECT_EQ(cAsciiString("tells the time"), oRead.description());
}

TEST(InterfaceDesc, RefusedLoadsLeaveTheDescriptionAlone)
{
    const cInterfaceDesc oOld(Required, "Old", "a", 1, "old one");
    auto unchanged = [&](const cInterfaceDesc& oDesc) {
        EXPECT_EQ(oOld, oDesc);
        EXPECT_EQ(cAsciiString("old one"), oDesc.description());
    };

    // A type other than 0 or 1 names the description that was being read.
    qstd::tArray<char> oBadType = arrayOf(words({4, 2}) + stringItem("Bad") + stringItem("x") +
                                          words({4, 1}) + stringItem(""));
    qsa::cDeserializeBinary oReader(oBadType);
    cInterfaceDesc oDesc(oOld);
    auto e = qortest::expectThrow<qstd::cRuntimeException>([&] { oDesc << oReader; });
    EXPECT_EQ("Unable to deserialize interface description of \"Bad\"!", messageOf(e));
    unchanged(oDesc);

    qsa::cSerializeBinary oWriter;
    cInterfaceDesc(Provided, "New", "b", 2, "new one") >> oWriter;
    qortest::expectEveryTruncationRefused(
        bytesOf(oWriter), [&](qsa::cDeserializeBinary& d) { oDesc << d; },
        [&] { unchanged(oDesc); });
}

TEST(AbstractInterface, MatchesTheOtherSideOfTheSameName)
{
    cTestInterface oProvided(Provided, "A");
    EXPECT_TRUE(oProvided.matches(cInterfaceDesc(Required, "A", "anyone", 99, "")));
    EXPECT_FALSE(oProvided.matches(cInterfaceDesc(Provided, "A", "tester", 1, "")));
    EXPECT_FALSE(oProvided.matches(cInterfaceDesc(Required, "B", "tester", 1, "")));
    EXPECT_FALSE(oProvided.matches(cInterfaceDesc(Required, "a", "tester", 1, "")));
    cTestInterface oRequired(Required, "A");
    EXPECT_TRUE(oRequired.matches(oProvided.desc()));
}

TEST(AbstractInterface, StoresTheDescriptionAndTwoContexts)
{
    cTestInterface oBare(Provided, "Bare");
    qsa::cSerializeBinary oDescOnly;
    oBare.desc() >> oDescOnly;
    EXPECT_EQ(bytesOf(oDescOnly) + emptyContext() + emptyContext(), storedBytes(oBare));
}

TEST(AbstractInterface, RebuiltThroughAFactoryStoresTheSameBytes)
{
    cTestInterface oOriginal(Provided, "Player");
    oOriginal.publishSlot("sltPlay");
    oOriginal.publishSignal("sigStopped");
    oOriginal.publishSlot("sltStop");
    oOriginal.publishSignal("sigStarted");
    tBytes oBytes = storedBytes(oOriginal);

    cTestRMIFactory oFactory;
    cTestInterface oProxy(Required, "Stale");
    oProxy.setIndex(5);
    oProxy.publishSlot("sltOld"); // load starts from a cleared connectable
    qstd::tArray<char> oData = arrayOf(oBytes);
    qsa::cDeserializeBinary oReader(oData);
    oProxy.load(oReader, oFactory);

    EXPECT_EQ(oOriginal.desc(), oProxy.desc());
    EXPECT_EQ(cAsciiString("for tests"), oProxy.desc().description());
    EXPECT_EQ((std::vector<std::string>{"sltPlay", "sltStop"}), namesOf(oProxy.publicSlots()));
    EXPECT_EQ((std::vector<std::string>{"sigStopped", "sigStarted"}),
              namesOf(oProxy.publicSignals()));
    EXPECT_EQ(2, oFactory.miSlotCalls);
    EXPECT_EQ((std::vector<unsigned>{5, 5}), oFactory.moIndices);
    EXPECT_EQ(oBytes, storedBytes(oProxy));
    EXPECT_TRUE(oReader.eoc());
}

TEST(AbstractInterface, BrokenStreamLeavesNoHalfBuiltProxy)
{
    cTestInterface oOriginal(Provided, "Player");
    oOriginal.publishSlot("sltPlay");
    oOriginal.publishSlot("sltStop");
    oOriginal.publishSignal("sigStopped");
    tBytes oBytes = storedBytes(oOriginal);

    // Cut inside the second slot's description: the first slot had been registered.
    cTestRMIFactory oFactory;
    cTestInterface oProxy(Required, "Stale");
    qstd::tArray<char> oCut = arrayOf(tBytes(oBytes.begin(), oBytes.end() - 40));
    qsa::cDeserializeBinary oReader(oCut);
    EXPECT_THROW(oProxy.load(oReader, oFactory), qstd::cAbstractException);
    EXPECT_EQ(cAsciiString("Stale"), oProxy.desc().name());
    EXPECT_FALSE(oProxy.hasPublicSlots());
    EXPECT_FALSE(oProxy.hasPublicSignals());

    // Still usable: a sound stream loads afterwards.
    qstd::tArray<char> oData = arrayOf(oBytes);
    qsa::cDeserializeBinary oGood(oData);
    oProxy.load(oGood, oFactory);
    EXPECT_EQ(oBytes, storedBytes(oProxy));
}

TEST(InterfaceProvider, IndicesFollowTheListAndBadIndicesAreNamed)
{
    cTestModule oModule;
    cTestInterface* pA = new cTestInterface(Provided, "A");
    cTestInterface* pB = new cTestInterface(Provided, "B");
    cTestInterface* pC = new cTestInterface(Provided, "C");
    for (cTestInterface* p : {pA, pB, pC})
        oModule.addInterface(qstd::tAutoPtr<cAbstractInterface>(p));
    ASSERT_EQ(3u, oModule.numInterfaces());
    EXPECT_EQ(pC, &oModule.getInterface(2));

    cTestInterface::siDestroyed = 0;
    oModule.removeInterface(*pB);
    EXPECT_EQ(1, cTestInterface::siDestroyed);
    EXPECT_EQ(2u, oModule.numInterfaces());
    EXPECT_EQ(pC, &oModule.getInterface(1));
    EXPECT_EQ(pC, &oModule.interface(1));

    struct Row
    {
        std::function<void()> fCall;
        const char* pContainer;
        const char* pOperation;
    };
    const Row oTable[] = {
        {[&] { oModule.getInterface(2); }, "cAbstractInterfaceProvider", "getInterface"},
        {[&] { oModule.interface(7); }, "tVector", "at"}};
    for (const Row& oRow : oTable) {
        SCOPED_TRACE(oRow.pOperation);
        auto e = qortest::expectThrow<qstd::cRuntimeException>(oRow.fCall);
        EXPECT_EQ("No such interface (\"given by index\")!", messageOf(e));
        auto* pRange = dynamic_cast<const qstd::cOutOfRangeException*>(e.history());
        ASSERT_NE(nullptr, pRange);
        EXPECT_STREQ(oRow.pContainer, pRange->container().c_str());
        EXPECT_STREQ(oRow.pOperation, pRange->operation().c_str());
    }

    // Removing what is not registered changes nothing.
    cTestInterface oStranger(Provided, "A");
    oModule.removeInterface(oStranger);
    EXPECT_EQ(2u, oModule.numInterfaces());
}

TEST(InterfaceProvider, LookupsTakeTheLowestIndex)
{
    cTestModule oModule;
    cTestInterface oFirst(Provided, "Same"), oSecond(Provided, "Same"), oOther(Required, "Other");
    oModule.addInterface(oOther);
    oModule.addInterface(oFirst);
    oModule.addInterface(oSecond);

    EXPECT_EQ(&oFirst, &oModule.getInterface("Same"));
    EXPECT_EQ(&oFirst, oModule.tryFindInterface("Same"));
    EXPECT_EQ(nullptr, oModule.tryFindInterface("None"));
    auto e = qortest::expectThrow<qstd::cRuntimeException>([&] { oModule.findInterface("None"); });
    EXPECT_EQ("No such interface (\"None\")!", messageOf(e));
    EXPECT_EQ(nullptr, e.history());

    cInterfaceDesc oWanted(Required, "Same", "", 0, "");
    EXPECT_TRUE(oModule.hasMatchingInterface(oWanted));
    EXPECT_EQ(&oFirst, &oModule.getMatchingInterface(oWanted));
    cInterfaceDesc oSameSide(Required, "Other", "", 0, "");
    EXPECT_FALSE(static_cast<const cTestModule&>(oModule).hasMatchingInterface(oSameSide));
    e = qortest::expectThrow<qstd::cRuntimeException>(
        [&] { oModule.getMatchingInterface(oSameSide); });
    EXPECT_EQ("No such interface (\"Other\")!", messageOf(e));

    // By object: identity, not name.
    EXPECT_EQ(&oSecond, oModule.hasInterface(oSecond));
    cTestInterface oLookalike(Provided, "Same");
    EXPECT_EQ(nullptr, oModule.hasInterface(oLookalike));
    EXPECT_THROW(oModule.findInterface(static_cast<qrmi::cConnectable&>(oLookalike)),
                 cNoPublicInterfaceException);

    qstd::tAutoPtr<qstd::tPtrList<cAbstractInterface>> pList = oModule.interfaces();
    std::vector<cAbstractInterface*> oAll;
    for (auto it = pList->begin(); it != pList->end(); ++it)
        oAll.push_back(*it);
    EXPECT_EQ((std::vector<cAbstractInterface*>{&oOther, &oFirst, &oSecond}), oAll);
    pList.reset(); // the list goes, the interfaces stay
    EXPECT_EQ(cAsciiString("Other"), oModule.getInterface(0u).desc().name());
}

TEST(InterfaceProvider, OnlyOwnedInterfacesDieWithTheProvider)
{
    cTestInterface oBorrowed(Provided, "Borrowed");
    cTestInterface::siDestroyed = 0;
    {
        cTestModule oModule;
        oModule.addInterface(oBorrowed);
        oModule.addInterface(
            qstd::tAutoPtr<cAbstractInterface>(new cTestInterface(Provided, "Own")));
        oModule.removeInterface(oBorrowed);
        oModule.addInterface(oBorrowed);
        EXPECT_EQ(0, cTestInterface::siDestroyed);
    }
    EXPECT_EQ(1, cTestInterface::siDestroyed);
    EXPECT_EQ(cAsciiString("Borrowed"), oBorrowed.desc().name());

    cTestModule oModule;
    EXPECT_THROW(oModule.addInterface(qstd::tAutoPtr<cAbstractInterface>()), qstd::cBugException);
    EXPECT_EQ(0u, oModule.numInterfaces());
}

TEST(AbstractModule, ReleasesItsClassLoaderReference)
{
    cNullClassLoader oFirst, oSecond;
    {
        cTestModule oModule;
        EXPECT_TRUE(oModule.isStatic());
        oFirst.incRef();
        oModule.setClassLoader(&oFirst, "lookup-name");
        EXPECT_FALSE(oModule.isStatic());
        EXPECT_EQ(cAsciiString("lookup-name"), oModule.info().context());
        EXPECT_EQ(1u, oFirst.numReferences());

        // A second hand-over releases the first loader.
        oSecond.incRef();
        oModule.setClassLoader(&oSecond, "other");
        EXPECT_TRUE(oFirst.isUnused());
        EXPECT_EQ(&oSecond, oModule.classLoader());
    }
    EXPECT_TRUE(oSecond.isUnused());
    oSecond.decRef(); // a surplus release keeps the count at 0
    EXPECT_EQ(0u, oSecond.numReferences());
}
