// Tests of interface dependencies: first-best and explicit selection, the location
// filters, re-matching as providers come and go, and dependencies that die in
// their own signals or outlive their owner.
#include "qcs/componenttesting.h"

using namespace qcs;
using namespace qortest;

namespace {

cInterfaceDesc clockWanted()
{
    return cInterfaceDesc(Required, "Clock", "anyone", 0, "");
}

/// Logs a dependency's signals as "matched 1:3" and "unmatched".
class cDepRecorder : public qrmi::cConnectable
{
public:
    cDepRecorder(cInterfaceDep& oDependency, tLog& oLog) : moLog(oLog)
    {
        oDependency.sigMatched.connect(*this, &cDepRecorder::sltMatched);
        oDependency.sigUnmatched.connect(*this, &cDepRecorder::sltUnmatched);
    }
    piVoid sltMatched(const cComponentAddr& oAddress)
    {
        moLog.push_back(std::string("matched ") + oAddress.toString().c_str());
        if (mfOnMatched)
            mfOnMatched();
        return piVoid();
    }
    piVoid sltUnmatched() { return moLog.push_back("unmatched"), piVoid(); }
    std::function<void()> mfOnMatched;

private:
    tLog& moLog;
};

/// A component that needs a clock; its dependency attaches a local interface.
class cClient : public cTestComponent
{
public:
    cClient(cModuleMgr& oManager, tLog& oLog,
            cInterfaceDep::selectionAlgo eAlgo = cInterfaceDep::saUseFirstBest)
        : cTestComponent(oManager, "client"), moLocal(Required, "Clock"),
          moDep(*this, clockWanted(), &moLocal, eAlgo), moRecorder(moDep, oLog)
    {
    }
    cTestInterface moLocal;
    cInterfaceDep moDep;
    cDepRecorder moRecorder;
};

std::string matched(const cAbstractComponent& c)
{
    return std::string("matched ") + c.address().toString().c_str();
}

} // namespace

class InterfaceDep : public ComponentTest
{
protected:
    /// A registered provider of "Clock" (its second interface), on pHost if given.
    cTestComponent& provider(cModuleMgr& oManager, const char* pName, const char* pHost = nullptr)
    {
        moProviders.emplace_back(new cTestComponent(oManager, pName));
        cTestComponent& c = *moProviders.back();
        c.offer(Provided, "Other");
        c.offer(Provided, "Clock");
        if (pHost)
            c.componentLocation() = cComponentLocation(cComponentAddr(), pHost, "", 4242);
        oManager.addComponent(c, cComponentAddr());
        return c;
    }
    void TearDown() override
    {
        moProviders.clear();
        ComponentTest::TearDown();
    }
    std::vector<std::unique_ptr<cTestComponent>> moProviders;
};

TEST_F(InterfaceDep, FirstBestFollowsProvidersComingAndGoing)
{
    tLog oLog, oManagerLog;
    cModuleMgr oManager(moExtensions);
    cManagerRecorder oManagerRecorder(oManager, oManagerLog);
    cClient oClient(oManager, oLog);
    oManager.addComponent(oClient, cComponentAddr());
    cTestComponent& a = provider(oManager, "a");
    turns();
    cTestComponent& b = provider(oManager, "b");
    turns(2);
    // The first provider stays, later ones are ignored.
    EXPECT_EQ((tLog{matched(a)}), oLog);
    EXPECT_EQ(&a.getInterface(1), oClient.moLocal.mpAttached);
    EXPECT_EQ(a.location(), oClient.moDep.match().location());

    // Removed: invalid at once, given up and replaced by the owner's next pass.
    oManager.removeComponent(a.address());
    oManagerLog.clear();
    turns();
    EXPECT_FALSE(a.isRegistered());
    EXPECT_TRUE(oClient.moDep.matched() && !oClient.moDep.match().valid());
    auto e = expectThrow<cUnmatchedInterfaceException>([&] { oClient.moDep.address(); });
    EXPECT_EQ("Unmatched interface!", messageOf(e));
    EXPECT_EQ(1u, oLog.size());
    turns();
    EXPECT_EQ((tLog{matched(a), "unmatched", matched(b)}), oLog);
    EXPECT_EQ((tLog{"attach Clock", "detach", "attach Clock"}), oClient.moLocal.moLog);
    EXPECT_EQ(b.address(), oClient.moDep.address());
    EXPECT_EQ((tLog{"removed a", "interfacedeps 1:2"}), oManagerLog);

    oManager.removeComponent(b.address());
    turns(2);
    EXPECT_EQ("unmatched", oLog.back());
    EXPECT_FALSE(oClient.moDep.matched());
}

TEST_F(InterfaceDep, ProviderRemovedInTheSamePassIsNotChosen)
{
    tLog oLog;
    cModuleMgr oManager(moExtensions);
    cTestComponent& a = provider(oManager, "a");
    cTestComponent& b = provider(oManager, "b");
    cClient oClient(oManager, oLog);
    oManager.addComponent(oClient, cComponentAddr());
    turns();
    // a goes and the client, after it, recalculates in the same pass while a is
    // still registered.
    oManager.removeComponent(a.address());
    turns();
    EXPECT_EQ((tLog{matched(a), "unmatched", matched(b)}), oLog);
}

TEST_F(InterfaceDep, OnlyTheOtherSideOnAPossibleHostIsChosen)
{
    tLog oLog;
    cModuleMgr oManager(moExtensions);
    cTestComponent oSameSide(oManager, "same");
    oSameSide.offer(Required, "Clock");
    oManager.addComponent(oSameSide, cComponentAddr());
    provider(oManager, "ony", "y");
    cTestComponent& oX = provider(oManager, "onx", "x");
    cTestComponent& oX2 = provider(oManager, "onx2", "x");
    cClient oClient(oManager, oLog);
    oClient.moDep.addPossibleLocation(cComponentLocation(cComponentAddr(), "x", "", 1), true);
    oClient.moDep.excludedLocations().append(oX.location());
    oManager.addComponent(oClient, cComponentAddr());
    turns();
    // Only host names count among the possible locations; excluded ones never.
    EXPECT_EQ((tLog{matched(oX2)}), oLog);

    auto e = expectThrow<qstd::cBugException>(
        [&] { oClient.moDep.addPossibleLocation(cComponentLocation(), false); });
    EXPECT_EQ("The operation \"cInterfaceDep::addPossibleLocation(useUnpredictable)\" is not "
              "supported!",
              messageOf(e));
    EXPECT_EQ(1u, oClient.moDep.possibleLocations().count());
}

TEST_F(InterfaceDep, ManagerFormFollowsTheManagerWithoutAnOwner)
{
    tLog oLog;
    cModuleMgr oManager(moExtensions);
    cTestComponent oPlain(oManager, "plain");
    oManager.addComponent(oPlain, cComponentAddr());
    cTestInterface oLocal(Required, "Clock");
    cInterfaceDep oDep(oManager, clockWanted(), &oLocal, cInterfaceDep::saUseFirstBest);
    cDepRecorder oRecorder(oDep, oLog);
    oDep.invalidateMatch(); // detaches, emits nothing
    EXPECT_TRUE(oLocal.moLog == tLog{"detach"} && oLog.empty());

    cTestComponent& a = provider(oManager, "a");
    turns();
    oManager.removeComponent(a.address());
    turns(2);
    EXPECT_EQ((tLog{matched(a)}), oLog); // nobody recalculates it
    EXPECT_FALSE(oDep.match().valid());
    oDep.recalc();
    EXPECT_EQ((tLog{matched(a), "unmatched"}), oLog);
}

TEST_F(InterfaceDep, ExplicitChoice)
{
    tLog oLog;
    cModuleMgr oManager(moExtensions);
    cTestComponent& a = provider(oManager, "a", "x");
    cTestComponent& b = provider(oManager, "b", "y");
    cTestComponent oPlain(oManager, "plain");
    oManager.addComponent(oPlain, cComponentAddr());
    cClient oClient(oManager, oLog, cInterfaceDep::saUseExplicit);
    oClient.moDep.addPossibleLocation(a.location(), true);
    oManager.addComponent(oClient, cComponentAddr());
    turns();
    EXPECT_TRUE(oLog.empty()); // never chooses by itself

    oClient.moDep.setExplicit(b.location());      // the location lists do not apply
    oClient.moDep.setExplicit(oPlain.location()); // nothing matching there
    EXPECT_EQ((tLog{matched(b), "unmatched"}), oLog);
    oClient.moDep.setExplicit(a.location());
    EXPECT_THROW(oClient.moDep.setExplicit(cComponentLocation(cComponentAddr(1, 99), "x", "", 1)),
                 cNoSuchModuleException);
    EXPECT_EQ((tLog{matched(b), "unmatched", matched(a), "unmatched"}), oLog);

    // A first-best dependency made explicit gives its stale match up on recalculation.
    cClient oOther(oManager, oLog);
    oManager.addComponent(oOther, cComponentAddr());
    turns();
    oOther.moDep.setExplicit(b.location());
    EXPECT_EQ(cInterfaceDep::saUseExplicit, oOther.moDep.algorithm());
    oLog.clear();
    oManager.removeComponent(b.address());
    turns(2);
    EXPECT_EQ((tLog{"unmatched"}), oLog);
}

TEST_F(InterfaceDep, UnsupportedAndUnknownSelections)
{
    cModuleMgr oManager(moExtensions);
    cTestComponent& a = provider(oManager, "a");
    cInterfaceDep oInteractive(oManager, clockWanted(), nullptr, cInterfaceDep::saUseInteractive);
    auto e = expectThrow<qstd::cBugException>([&] { oInteractive.recalc(a); });
    EXPECT_EQ("The operation \"cInterfaceDep::saUseInteractive\" is not supported!", messageOf(e));
    EXPECT_THROW(turns(), qstd::cBugException); // through the pass that announces a
    EXPECT_TRUE(a.announced());
    cInterfaceDep oOdd(oManager, clockWanted(), nullptr, cInterfaceDep::selectionAlgo(7));
    oOdd.recalc(a);
    EXPECT_FALSE(oOdd.matched());
}

TEST_F(InterfaceDep, DependenciesThatDieOrOutliveTheirOwner)
{
    tLog oLog;
    cModuleMgr oManager(moExtensions);
    provider(oManager, "a");
    cTestInterface oLocal(Required, "Clock");
    auto* pDep = new cInterfaceDep(oManager, clockWanted(), &oLocal, cInterfaceDep::saUseFirstBest);
    cDepRecorder oRecorder(*pDep, oLog);
    oRecorder.mfOnMatched = [&] { delete pDep; };
    turns();
    EXPECT_EQ(1u, oLog.size());

    cTestComponent* pOwner = new cTestComponent(oManager, "owner");
    std::unique_ptr<cInterfaceDep> pOrphan(
        new cInterfaceDep(*pOwner, clockWanted(), nullptr, cInterfaceDep::saUseFirstBest));
    oManager.addComponent(qstd::tAutoPtr<cAbstractComponent>(pOwner), cComponentAddr());
    turns();
    EXPECT_TRUE(pOrphan->matched());
    oManager.removeComponent(pOwner->address());
    turns();
    EXPECT_EQ(nullptr, pOrphan->owner());
}
