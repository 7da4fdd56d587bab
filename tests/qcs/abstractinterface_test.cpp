// Tests of interface descriptions, interfaces (matching, storing and rebuilding
// through an RMI factory), the interface provider and the module's class loader
// reference.
#include "qcs/componenttesting.h"

using namespace qcs;
using namespace qortest;
using qstd::cAsciiString;

namespace {

tBytes stringItem(const std::string& sText)
{
    return words({10, unsigned(sText.size())}) + text(sText);
}

tBytes storedBytes(const cAbstractInterface& oInterface)
{
    qsa::cSerializeBinary oWriter;
    oInterface.store(oWriter);
    return bytesOf(oWriter);
}

/// A class loader that opens nothing; only its references count.
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

TEST(InterfaceDesc, EqualityBytesAndRefusedLoads)
{
    cInterfaceDesc oDesc(Provided, "Clock", "me", 3, "tells the time");
    EXPECT_EQ(oDesc, cInterfaceDesc(Provided, "Clock", "me", 3, "something else"));
    EXPECT_NE(oDesc, cInterfaceDesc(Required, "Clock", "me", 3, "tells the time"));
    EXPECT_NE(oDesc, cInterfaceDesc(Provided, "Clock", "me", 4, "tells the time"));

    qsa::cSerializeBinary oWriter;
    oWriter.setPreferNoLabels(false); // never labelled
    oDesc >> oWriter;
    tBytes oBytes = bytesOf(oWriter);
    EXPECT_EQ(words({4, 0}) + stringItem("Clock") + stringItem("me") + words({4, 3}) +
                  stringItem("tells the time"),
              oBytes);

    // A type above 1 names the description; failed loads leave the old value.
    const cInterfaceDesc oOld(Required, "Old", "a", 1, "old one");
    cInterfaceDesc oTarget(oOld);
    auto unchanged = [&] {
        EXPECT_EQ(oOld, oTarget);
        EXPECT_EQ(cAsciiString("old one"), oTarget.description());
    };
    qstd::tArray<char> oBadType = arrayOf(words({4, 2}) + stringItem("Bad") + stringItem("") +
                                          words({4, 1}) + stringItem(""));
    qsa::cDeserializeBinary oBad(oBadType);
    auto e = expectThrow<qstd::cRuntimeException>([&] { oTarget << oBad; });
    EXPECT_EQ("Unable to deserialize interface description of \"Bad\"!", messageOf(e));
    unchanged();
    expectEveryTruncationRefused(
        oBytes, [&](qsa::cDeserializeBinary& d) { oTarget << d; }, unchanged);
}

TEST(AbstractInterface, MatchesTheOtherSideOfTheSameName)
{
    cTestInterface oProvided(Provided, "A");
    EXPECT_TRUE(oProvided.matches(cInterfaceDesc(Required, "A", "anyone", 99, "")));
    EXPECT_FALSE(oProvided.matches(cInterfaceDesc(Provided, "A", "tester", 1, "")));
    EXPECT_FALSE(oProvided.matches(cInterfaceDesc(Required, "B", "tester", 1, "")));
}

TEST(AbstractInterface, RebuiltThroughAFactoryStoresTheSameBytes)
{
    // Without slots and signals: the description and two empty unnamed contexts.
    cTestInterface oBare(Provided, "Bare");
    qsa::cSerializeBinary oDescOnly;
    oBare.desc() >> oDescOnly;
    tBytes oEmptyContext = words({12, 4, 16, 8, 0});
    EXPECT_EQ(bytesOf(oDescOnly) + oEmptyContext + oEmptyContext, storedBytes(oBare));

    cTestInterface oOriginal(Provided, "Player");
    oOriginal.publishSlot("sltPlay");
    oOriginal.publishSignal("sigStopped");
    oOriginal.publishSlot("sltStop");
    tBytes oBytes = storedBytes(oOriginal);

    cTestRMIFactory oFactory;
    cTestInterface oProxy(Required, "Stale");
    oProxy.setIndex(5);
    oProxy.publishSlot("sltOld"); // load starts from a cleared connectable

    // A stream cut inside the second slot leaves no half-built proxy behind.
    qstd::tArray<char> oCut = arrayOf(tBytes(oBytes.begin(), oBytes.end() - 40));
    qsa::cDeserializeBinary oCutReader(oCut);
    EXPECT_THROW(oProxy.load(oCutReader, oFactory), qstd::cAbstractException);
    EXPECT_EQ(cAsciiString("Stale"), oProxy.desc().name());
    EXPECT_FALSE(oProxy.hasPublicSlots() || oProxy.hasPublicSignals());

    qstd::tArray<char> oData = arrayOf(oBytes);
    qsa::cDeserializeBinary oReader(oData);
    oProxy.load(oReader, oFactory);
    EXPECT_EQ(oOriginal.desc(), oProxy.desc());
    EXPECT_EQ((tLog{"sltPlay", "sltStop"}), namesOf(oProxy.publicSlots()));
    EXPECT_EQ((tLog{"sigStopped"}), namesOf(oProxy.publicSignals()));
    EXPECT_EQ(5u, oFactory.moIndices.back());
    EXPECT_EQ(oBytes, storedBytes(oProxy));
}

TEST(InterfaceProvider, IndicesLookupsAndOwnership)
{
    cTestInterface::siDestroyed = 0;
    cTestModule oModule;
    cTestInterface oBorrowed(Required, "Same");
    cTestInterface* pB = new cTestInterface(Provided, "Same");
    cTestInterface* pC = new cTestInterface(Provided, "C");
    oModule.addInterface(oBorrowed);
    oModule.addInterface(qstd::tAutoPtr<cAbstractInterface>(pB));
    oModule.addInterface(qstd::tAutoPtr<cAbstractInterface>(pC));
    EXPECT_EQ(&oBorrowed, &oModule.getInterface("Same")); // the lowest index
    EXPECT_EQ(pB, &oModule.getMatchingInterface(cInterfaceDesc(Required, "Same", "", 0, "")));
    EXPECT_EQ(nullptr, oModule.tryFindInterface("None"));
    auto e = expectThrow<qstd::cRuntimeException>([&] { oModule.findInterface("None"); });
    EXPECT_EQ("No such interface (\"None\")!", messageOf(e));
    EXPECT_FALSE(oModule.hasMatchingInterface(cInterfaceDesc(Provided, "C", "", 0, "")));
    EXPECT_EQ(pC, oModule.hasInterface(*pC));
    cTestInterface oLookalike(Provided, "C");
    EXPECT_THROW(oModule.findInterface(static_cast<qrmi::cConnectable&>(oLookalike)),
                 cNoPublicInterfaceException);
    qstd::tAutoPtr<qstd::tPtrList<cAbstractInterface>> pList = oModule.interfaces();
    EXPECT_EQ(3u, pList->count());
    EXPECT_EQ(pC, pList->lastElement());

    // Removing the middle one moves the last down; a bad index names itself and
    // links the range error of the operation asked.
    oModule.removeInterface(*pB);
    EXPECT_EQ(1, cTestInterface::siDestroyed);
    EXPECT_EQ(pC, &oModule.getInterface(1));
    struct Row
    {
        std::function<void()> fCall;
        const char *pContainer, *pOperation;
    };
    const Row oTable[] = {
        {[&] { oModule.getInterface(2); }, "cAbstractInterfaceProvider", "getInterface"},
        {[&] { oModule.interface(7); }, "tVector", "at"}};
    for (const Row& oRow : oTable) {
        auto e = expectThrow<qstd::cRuntimeException>(oRow.fCall);
        EXPECT_EQ("No such interface (\"given by index\")!", messageOf(e));
        auto* pRange = dynamic_cast<const qstd::cOutOfRangeException*>(e.history());
        ASSERT_NE(nullptr, pRange);
        EXPECT_STREQ(oRow.pContainer, pRange->container().c_str());
        EXPECT_STREQ(oRow.pOperation, pRange->operation().c_str());
    }
    EXPECT_THROW(oModule.addInterface(qstd::tAutoPtr<cAbstractInterface>()), qstd::cBugException);
    EXPECT_EQ(2u, oModule.numInterfaces());
}

TEST(InterfaceProvider, OnlyOwnedInterfacesDieWithIt)
{
    cTestInterface::siDestroyed = 0;
    cTestInterface oBorrowed(Provided, "Borrowed");
    {
        cTestModule oModule;
        oModule.addInterface(oBorrowed);
        oModule.addInterface(qstd::tAutoPtr<cAbstractInterface>(new cTestInterface(Provided, "O")));
    }
    EXPECT_EQ(1, cTestInterface::siDestroyed);
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
        oSecond.incRef();
        oModule.setClassLoader(&oSecond, "other"); // releases the first
        EXPECT_TRUE(oFirst.isUnused());
        EXPECT_EQ(1u, oSecond.numReferences());
    }
    EXPECT_TRUE(oSecond.isUnused());
    oSecond.decRef(); // a surplus release keeps the count at 0
    EXPECT_EQ(0u, oSecond.numReferences());
}
