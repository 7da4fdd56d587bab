// Tests of interface dependencies: first-best and explicit selection, the location
// filters, re-matching as providers come and go, and dependencies that die in
// their own signals or outlive their owner.
#include "qcs/componenttesting.h"

#include <memory>

using namespace qcs;
using qortest::cManagerRecorder;
using qortest::ComponentTest;
using qortest::cTestComponent;
using qortest::cTestInterface;
using qortest::messageOf;
using qortest::tLog;

namespace {

const cInterfaceDesc::InterfaceType Provided = cInterfaceDesc::Provided;
const cInterfaceDesc::InterfaceType Required = cInterfaceDesc::Required;

/// What the dependency on "Clock" asks for.
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
    piVoid sltUnmatched()
    {
        moLog.push_back("unmatched");
        return piVoid();
    }
    std::function<void()> mfOnMatched;

private:
    tLog& moLog;
};

/// A component that needs a clock: its dependency attaches a local interface.
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

std::string addr(const cAbstractComponent& c)
{
    return c.address().toString().c_str();
}

} // namespace

class InterfaceDep : public ComponentTest
{
protected:
    /// A registered provider of "Clock" on the given host.
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

TEST_F(InterfaceDep, FirstBestStaysWithTheFirstProvider)
{
    tLog oLog;
    cModuleMgr oManager(moExtensions);
    cClient oClient(oManager, oLog);
    cTestComponent& a = provider(oManager, "a");
    oManager.addComponent(oClient, cComponentAddr());
    turn();
    EXPECT_EQ((tLog{"matched " + addr(a)}), oLog);
    EXPECT_EQ((tLog{"attach Clock"}), oClient.moLocal.moLog);
    EXPECT_EQ(&a.getInterface(1), oClient.moLocal.mpAttached);
    EXPECT_TRUE(oClient.moDep.matched());
    EXPECT_EQ(a.address(), oClient.moDep.address());
    EXPECT_EQ(a.location(), oClient.moDep.match().location());

    provider(oManager, "b");
    turns(2);
    EXPECT_EQ(1u, oLog.size());
    EXPECT_EQ(a.address(), oClient.moDep.address());
}

TEST_F(InterfaceDep, RemovedProviderIsReplacedOnTheOwnersNextPass)
{
    tLog oLog;
    cModuleMgr oManager(moExtensions);
    tLog oManagerLog;
    cManagerRecorder oManagerRecorder(oManager, oManagerLog);
    cClient oClient(oManager, oLog);
    oManager.addComponent(oClient, cComponentAddr());
    cTestComponent& a = provider(oManager, "a");
    cTestComponent& b = provider(oManager, "b");
    turn();
    ASSERT_EQ((tLog{"matched " + addr(a)}), oLog);
    std::string sB = addr(b);

    oManager.removeComponent(a.address());
    oManagerLog.clear();
    turn();
    // Invalid at once, given up only by the owner's next pass.
    EXPECT_FALSE(a.isRegistered());
    EXPECT_TRUE(oClient.moDep.matched());
    EXPECT_FALSE(oClient.moDep.match().valid());
    auto e = qortest::expectThrow<cUnmatchedInterfaceException>([&] { oClient.moDep.address(); });
    EXPECT_EQ("Unmatched interface!", messageOf(e));
    EXPECT_EQ(1u, oLog.size());
    EXPECT_TRUE(oClient.interfaceDepModified());

    turn();
    EXPECT_EQ((tLog{"matched " + addr(a), "unmatched", "matched " + sB}), oLog);
    EXPECT_EQ((tLog{"attach Clock", "detach", "attach Clock"}), oClient.moLocal.moLog);
    EXPECT_EQ((tLog{"removed a", "interfacedeps " + addr(oClient)}), oManagerLog);
    EXPECT_FALSE(oClient.interfaceDepModified());

    // The last provider goes: unmatched for good.
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
    turn();
    ASSERT_EQ((tLog{"matched " + addr(a)}), oLog);
    // a goes and the client comes after it in the same pass: a, still registered
    // while the client recalculates, must not be taken again.
    oManager.removeComponent(a.address());
    turn();
    EXPECT_EQ((tLog{"matched " + addr(a), "unmatched", "matched " + addr(b)}), oLog);
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
    turn();
    // Only the host counts among the possible locations; an excluded one never goes.
    EXPECT_EQ((tLog{"matched " + addr(oX2)}), oLog);

    auto e = qortest::expectThrow<qstd::cBugException>(
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
    EXPECT_EQ(nullptr, oDep.owner());

    // Giving up an empty match detaches but emits nothing.
    oDep.invalidateMatch();
    EXPECT_EQ((tLog{"detach"}), oLocal.moLog);
    EXPECT_TRUE(oLog.empty());

    cTestComponent& a = provider(oManager, "a");
    turn();
    EXPECT_EQ((tLog{"matched " + addr(a)}), oLog);
    oManager.removeComponent(a.address());
    turns(2);
    EXPECT_FALSE(oDep.match().valid());
    EXPECT_EQ(1u, oLog.size()); // nobody recalculates it
    oDep.recalc();              // the first component visited gives the stale match up
    EXPECT_EQ((tLog{"matched " + addr(a), "unmatched"}), oLog);
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
    turn();
    EXPECT_TRUE(oLog.empty()); // explicit mode never chooses by itself

    // The location lists do not apply to an explicit choice.
    oClient.moDep.setExplicit(b.location());
    EXPECT_EQ((tLog{"matched " + addr(b)}), oLog);
    oClient.moDep.setExplicit(oPlain.location()); // no matching interface there
    EXPECT_EQ((tLog{"matched " + addr(b), "unmatched"}), oLog);
    EXPECT_FALSE(oClient.moDep.matched());

    oClient.moDep.setExplicit(a.location());
    cComponentLocation oNowhere(cComponentAddr(1, 99), "x", "", 1);
    EXPECT_THROW(oClient.moDep.setExplicit(oNowhere), cNoSuchModuleException);
    EXPECT_EQ("unmatched", oLog.back());
    EXPECT_EQ(cInterfaceDep::saUseExplicit, oClient.moDep.algorithm());

    // A first-best dependency turned explicit stays explicit; its stale match is
    // given up by the next recalculation.
    cClient oOther(oManager, oLog);
    oManager.addComponent(oOther, cComponentAddr());
    turn();
    oOther.moDep.setExplicit(b.location());
    oLog.clear();
    oManager.removeComponent(b.address());
    turns(2);
    EXPECT_EQ((tLog{"unmatched"}), oLog);
    EXPECT_FALSE(oOther.moDep.matched());
}

TEST_F(InterfaceDep, UnsupportedAndUnknownSelections)
{
    tLog oLog;
    cModuleMgr oManager(moExtensions);
    cTestComponent& a = provider(oManager, "a");
    cInterfaceDep oInteractive(oManager, clockWanted(), nullptr, cInterfaceDep::saUseInteractive);
    auto e = qortest::expectThrow<qstd::cBugException>([&] { oInteractive.recalc(a); });
    EXPECT_EQ("The operation \"cInterfaceDep::saUseInteractive\" is not supported!", messageOf(e));
    // Announcing a component throws through the pass; the pass resumes on the next turn.
    EXPECT_THROW(turn(), qstd::cBugException);
    EXPECT_TRUE(a.announced());

    cInterfaceDep oOdd(oManager, clockWanted(), nullptr, cInterfaceDep::selectionAlgo(7));
    oOdd.recalc(a);
    EXPECT_FALSE(oOdd.matched());
}

TEST_F(InterfaceDep, CallsGoThroughTheMatchedInterfaceByName)
{
    tLog oLog;
    cModuleMgr oManager(moExtensions);
    cTestComponent& a = provider(oManager, "a");
    cTestInterface& oClock = static_cast<cTestInterface&>(a.getInterface("Clock"));
    oClock.publishSlot("sltTick");
    cClient oClient(oManager, oLog);
    oManager.addComponent(oClient, cComponentAddr());
    turn();
    ASSERT_NE(nullptr, oClient.moLocal.mpAttached);
    qrmi::signal0<piVoid> sigTick;
    sigTick.connect(*oClient.moLocal.mpAttached, "sltTick",
                    qrmi::cAbstractSignal::ResolveAtConnect);
    sigTick();
    sigTick();
    EXPECT_EQ(2, oClock.miSlotCalls);
}

TEST_F(InterfaceDep, DependenciesThatDieOrOutliveTheirOwner)
{
    tLog oLog;
    cModuleMgr oManager(moExtensions);
    provider(oManager, "a");
    // Destroyed by a slot of its own sigMatched.
    cTestInterface oLocal(Required, "Clock");
    auto* pDep = new cInterfaceDep(oManager, clockWanted(), &oLocal, cInterfaceDep::saUseFirstBest);
    cDepRecorder oRecorder(*pDep, oLog);
    oRecorder.mfOnMatched = [&] { delete pDep; };
    turn();
    EXPECT_EQ(1u, oLog.size());

    // Outlives its owner, which it then forgets.
    cTestComponent* pOwner = new cTestComponent(oManager, "owner");
    std::unique_ptr<cInterfaceDep> pOrphan(
        new cInterfaceDep(*pOwner, clockWanted(), nullptr, cInterfaceDep::saUseFirstBest));
    oManager.addComponent(qstd::tAutoPtr<cAbstractComponent>(pOwner), cComponentAddr());
    turn();
    EXPECT_TRUE(pOrphan->matched());
    oManager.removeComponent(pOwner->address());
    turn();
    EXPECT_EQ(nullptr, pOrphan->owner());
    pOrphan.reset();
}
