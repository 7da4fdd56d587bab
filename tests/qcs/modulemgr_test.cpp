// Tests of the module manager and its components: IDs, announcement, two-phase
// removal, look-ups, class loaders, remote exceptions, and slots that throw,
// re-enter or destroy things while a management pass runs.
#include "qcs/componenttesting.h"

#include <memory>

using namespace qcs;
using qortest::cManagerRecorder;
using qortest::ComponentTest;
using qortest::cTestComponent;
using qortest::messageOf;
using qortest::tLog;
using qstd::cAsciiString;

namespace {

typedef qstd::tAutoPtr<cAbstractComponent> tComponentPtr;

const cInterfaceDesc::InterfaceType Provided = cInterfaceDesc::Provided;

/// A class loader that opens nothing and logs its destruction.
class cLoggingClassLoader : public qpi::cAbstractClassLoader
{
public:
    cLoggingClassLoader(tLog& oLog, const char* pName)
        : qpi::cAbstractClassLoader(qucs::cString(pName)), moLog(oLog), msName(pName)
    {
    }
    ~cLoggingClassLoader() override { moLog.push_back("loader gone " + msName); }
    cAbstractPlugIn* instance(qsa::cReferenceFrame&) override { return nullptr; }
    cAbstractComponent* instance(qsa::cReferenceFrame&, cModuleMgr&) override { return nullptr; }
    void getModuleVersion(unsigned int&, unsigned int&) const override {}
    void getModuleQORVersion(unsigned int&, unsigned int&) const override {}

private:
    tLog& moLog;
    std::string msName;
};

class cTestApp : public cAbstractQORApp
{
};

/// An exception prototype that reads one number.
class cCodeException : public qstd::cRuntimeException
{
public:
    explicit cCodeException(int iTag = 0) : miTag(iTag) {}
    cAbstractException* createObject() const override { return new cCodeException(*this); }
    cAsciiString typeName() const override { return "cCodeException"; }
    void load(qsa::cAbstractDeserializer& oDeserializer) override { oDeserializer.load(miCode); }
    int miTag;
    int miCode = 0;
};

} // namespace

class ModuleMgr : public ComponentTest
{
};

TEST_F(ModuleMgr, AutomaticAndFixedIDs)
{
    cModuleMgr oManager(moExtensions);
    tLog oLog;
    cManagerRecorder oRecorder(oManager, oLog);
    cTestComponent a(oManager, "a"), b(oManager, "b"), c(oManager, "c");
    for (cTestComponent* p : {&a, &b, &c})
        oManager.addComponent(*p, cComponentAddr(1, 1));
    EXPECT_STREQ("1:2", a.address().toString().c_str());
    EXPECT_STREQ("1:4", c.address().toString().c_str());
    EXPECT_EQ(c.address(), c.location().address());
    EXPECT_EQ(cComponentAddr(1, 1), b.deployedBy());

    cTestComponent oTen(oManager, "ten", nullptr, 10), oNext(oManager, "next");
    oManager.addComponent(oTen, cComponentAddr());
    oManager.addComponent(oNext, cComponentAddr());
    EXPECT_EQ(11u, oNext.address().moduleID());

    // Refused: below the last ID, or the last ID while a component holds it. Nothing
    // is registered, nothing announced, and an owned component dies exactly once.
    for (unsigned iId : {7u, 11u}) {
        SCOPED_TRACE(iId);
        oLog.clear();
        cTestComponent::siDestroyed = 0;
        auto e = qortest::expectThrow<qstd::cRuntimeException>([&] {
            oManager.addComponent(tComponentPtr(new cTestComponent(oManager, "dup", &oLog, iId)),
                                  cComponentAddr());
        });
        EXPECT_EQ("Component id (" + std::to_string(iId) + ") not unique!", messageOf(e));
        EXPECT_EQ(1, cTestComponent::siDestroyed);
        EXPECT_EQ((tLog{"destroyed dup"}), oLog);
        EXPECT_EQ(5u, oManager.components().count());
    }
    cTestComponent oSeven(oManager, "seven", nullptr, 7);
    EXPECT_THROW(oManager.addComponent(oSeven, cComponentAddr()), qstd::cRuntimeException);
    EXPECT_FALSE(oSeven.isRegistered());
    EXPECT_FALSE(oSeven.address().valid());

    // Once the holder of the last ID is gone, the last ID is free again.
    oManager.removeComponent(oNext.address());
    turn();
    ASSERT_FALSE(oNext.isRegistered());
    cTestComponent oEleven(oManager, "eleven", nullptr, 11);
    EXPECT_EQ(11u, oManager.addComponent(oEleven, cComponentAddr()).address().moduleID());

    // Registering twice, or with another manager, is a bug.
    EXPECT_THROW(oManager.addComponent(a, cComponentAddr()), qstd::cBugException);
    cModuleMgr oOther(moExtensions);
    cTestComponent oStranger(oOther, "stranger");
    EXPECT_THROW(oManager.addComponent(oStranger, cComponentAddr()), qstd::cBugException);
    EXPECT_THROW(a.setComponentID(99), qstd::cBugException);
}

TEST_F(ModuleMgr, TheLastAutomaticIDIsRefusedNotWrapped)
{
    cModuleMgr oManager(moExtensions);
    cTestComponent oTop(oManager, "top", nullptr, 0xffffffffU), oAfter(oManager, "after");
    oManager.addComponent(oTop, cComponentAddr());
    auto e = qortest::expectThrow<qstd::cRuntimeException>(
        [&] { oManager.addComponent(oAfter, cComponentAddr()); });
    EXPECT_EQ("No component id left!", messageOf(e));
    EXPECT_EQ(1u, oManager.components().count());
}

TEST_F(ModuleMgr, AddedAtOnceAnnouncedOnceOnTheNextPass)
{
    tLog oLog;
    cModuleMgr oManager(moExtensions);
    cManagerRecorder oRecorder(oManager, oLog);
    cTestComponent a(oManager, "a", &oLog);
    oRecorder.mfOnRegistered = [&](cAbstractComponent& c) {
        // Address set, not yet flagged, not yet notified.
        EXPECT_TRUE(c.address().valid());
        EXPECT_FALSE(c.announced());
    };
    oManager.addComponent(a, cComponentAddr());
    oManager.addComponent(tComponentPtr(new cTestComponent(oManager, "b", &oLog)),
                          cComponentAddr());
    EXPECT_EQ((tLog{"added a", "added b"}), oLog);
    EXPECT_TRUE(passWanted(oManager));
    turn();
    EXPECT_EQ(
        (tLog{"added a", "added b", "registered a", "notified a", "registered b", "notified b"}),
        oLog);
    EXPECT_TRUE(a.announced());
    EXPECT_FALSE(passWanted(oManager));
    oLog.clear();
    oManager.handleComponentIterationLater();
    turns(2);
    EXPECT_EQ(tLog{}, oLog);
}

TEST_F(ModuleMgr, DelayedAnnouncementKeepsThePassComing)
{
    tLog oLog;
    cModuleMgr oManager(moExtensions);
    cManagerRecorder oRecorder(oManager, oLog);
    cTestComponent oLate(oManager, "late", &oLog), oEarly(oManager, "early", &oLog);
    oLate.mbDelay = true;
    oManager.addComponent(oLate, cComponentAddr());
    oManager.addComponent(oEarly, cComponentAddr());
    oLog.clear();
    for (int i = 0; i < 3; ++i) {
        turn();
        EXPECT_FALSE(oLate.announced());
        EXPECT_TRUE(passWanted(oManager));
    }
    EXPECT_EQ((tLog{"registered early", "notified early"}), oLog);
    oLate.mbDelay = false;
    turn();
    EXPECT_TRUE(oLate.announced());
    EXPECT_FALSE(passWanted(oManager));
}

TEST_F(ModuleMgr, RequiredComponentOutlivesTheOnesThatNeedIt)
{
    tLog oLog;
    cModuleMgr oManager(moExtensions);
    cManagerRecorder oRecorder(oManager, oLog);
    cTestComponent* pUser = new cTestComponent(oManager, "user", &oLog);
    cTestComponent* pBase = new cTestComponent(oManager, "base", &oLog);
    pUser->addLocalRequiredComponent(pBase);
    pUser->addLocalRequiredComponent(nullptr);
    EXPECT_TRUE(pUser->requires(pBase));
    oManager.addComponent(tComponentPtr(pUser), cComponentAddr());
    oManager.addComponent(tComponentPtr(pBase), cComponentAddr());
    turn();
    oLog.clear();
    std::string sUserLocation = pUser->location().toString().c_str();

    // While "removed" runs the component is still findable.
    cComponentAddr oBaseAddress = pBase->address();
    oRecorder.mfOnRemoved = [&](cAbstractComponent& c) {
        EXPECT_EQ(&c, oManager.hasComponent(c.address()));
    };
    oManager.removeComponent(oBaseAddress);
    testing::internal::CaptureStderr();
    turn();
    std::string sErr = testing::internal::GetCapturedStderr();
    EXPECT_NE(
        std::string::npos,
        sErr.find("cModuleMgr: Mark referencing component for removal... (" + sUserLocation + ")"));
    EXPECT_EQ(tLog{}, oLog);
    EXPECT_TRUE(pUser->toRemove());
    EXPECT_EQ(2u, oManager.components().count());

    turn();
    EXPECT_EQ((tLog{"removed user", "destroyed user"}), oLog);
    turn();
    EXPECT_EQ((tLog{"removed user", "destroyed user", "removed base", "destroyed base"}), oLog);
    EXPECT_TRUE(oManager.components().empty());
    EXPECT_FALSE(passWanted(oManager));
    EXPECT_THROW(oManager.removeComponent(oBaseAddress), cNoSuchModuleException);
}

TEST_F(ModuleMgr, RemoveAllNowBreaksCyclesAndEmitsNothing)
{
    tLog oLog;
    {
        cModuleMgr oManager(moExtensions);
        cManagerRecorder oRecorder(oManager, oLog);
        cTestComponent* pA = new cTestComponent(oManager, "a", &oLog);
        cTestComponent* pB = new cTestComponent(oManager, "b", &oLog);
        cTestComponent oC(oManager, "c", &oLog);
        pA->addLocalRequiredComponent(pB);
        pB->addLocalRequiredComponent(pA);
        oManager.addComponent(tComponentPtr(pA), cComponentAddr());
        oManager.addComponent(tComponentPtr(pB), cComponentAddr());
        oManager.addComponent(oC, cComponentAddr());
        turn();
        oLog.clear();
        testing::internal::CaptureStderr();
        oManager.removeAllComponentsNow();
        testing::internal::GetCapturedStderr();
        EXPECT_TRUE(oManager.components().empty());
        EXPECT_EQ(2, cTestComponent::siDestroyed);
        EXPECT_FALSE(oC.isRegistered());
        EXPECT_EQ((tLog{"destroyed a", "destroyed b"}), oLog);
        turns(2); // the passes asked for meanwhile find nothing to do
        EXPECT_EQ(2u, oLog.size());
    }
    EXPECT_EQ(3, cTestComponent::siDestroyed);
}

TEST_F(ModuleMgr, LookUps)
{
    cModuleMgr oManager(moExtensions);
    cTestComponent a(oManager, "a"), b(oManager, "b");
    qortest::cTestInterface& oInterface = b.offer(Provided, "Service");
    b.moduleInfo().setContext("libb");
    oManager.addComponent(a, cComponentAddr());
    oManager.addComponent(b, cComponentAddr());

    EXPECT_EQ(&b, &oManager.findComponent(b.address()));
    EXPECT_EQ(&b, &oManager.findComponent(b.location()));
    EXPECT_EQ(&b, &oManager.findComponent(cAsciiString("libb")));
    EXPECT_EQ(&b, &oManager.findComponent(static_cast<qrmi::cConnectable&>(oInterface)));
    EXPECT_TRUE(oManager.exists(a.location()));

    cComponentAddr oInvalid(a.address());
    oInvalid.invalidate();
    EXPECT_EQ(nullptr, oManager.hasComponent(oInvalid));
    EXPECT_EQ(nullptr, oManager.hasComponent(cComponentAddr(2, a.address().moduleID())));
    EXPECT_EQ(nullptr, oManager.hasComponent(cAsciiString("none")));
    cComponentLocation oElsewhere(a.address(), "elsewhere", "", a.location().pid());
    EXPECT_EQ(nullptr, oManager.hasComponent(oElsewhere));
    EXPECT_FALSE(oManager.exists(oElsewhere));

    auto e = qortest::expectThrow<cNoSuchModuleException>(
        [&] { oManager.findComponent(cComponentAddr(1, 99)); });
    EXPECT_EQ("Module (1:99) not found!", messageOf(e));
    EXPECT_EQ(cComponentAddr(1, 99), e.address());
    e = qortest::expectThrow<cNoSuchModuleException>([&] { oManager.findComponent(oElsewhere); });
    EXPECT_EQ("Module (" + std::string(oElsewhere.toString().c_str()) + ") not found!",
              messageOf(e));
    e = qortest::expectThrow<cNoSuchModuleException>(
        [&] { oManager.findComponent(cAsciiString("none")); });
    EXPECT_EQ("Module (none) not found!", messageOf(e));
    EXPECT_FALSE(e.address().valid());
    qortest::cTestInterface oLoose(Provided, "Service");
    EXPECT_THROW(oManager.findComponent(static_cast<qrmi::cConnectable&>(oLoose)),
                 cNoPublicInterfaceException);

    b.removeLater();
    a.addLocalRequiredComponent(&b);
    qstd::tList<cAbstractComponent*> oReferencing;
    oReferencing.append(&b); // replaced, not appended to
    oManager.componentsReferencedBy(b, oReferencing);
    ASSERT_EQ(1u, oReferencing.count());
    EXPECT_EQ(&a, oReferencing.first());
    EXPECT_EQ(&moExtensions, &oManager.coreExtensions());
}

TEST_F(ModuleMgr, AskingEveryComponent)
{
    tLog oLog;
    cModuleMgr oManager(moExtensions);
    cTestComponent a(oManager, "a", &oLog), b(oManager, "b", &oLog), c(oManager, "c", &oLog);
    for (cTestComponent* p : {&a, &b, &c})
        oManager.addComponent(*p, cComponentAddr());

    auto e = qortest::expectThrow<qstd::cBugException>([&] { oManager.app(); });
    EXPECT_EQ("No application object set!", messageOf(e));
    cTestApp oApp;
    oManager.setApp(oApp);
    EXPECT_EQ(&oApp, &static_cast<const cModuleMgr&>(oManager).app());

    EXPECT_TRUE(oManager.applicationCloseAdvisable(oApp));
    a.mbCloseAdvisable = false;
    oLog.clear();
    EXPECT_FALSE(oManager.applicationCloseAdvisable(oApp));
    EXPECT_EQ((tLog{"close? a", "close? b", "close? c"}), oLog); // all asked after a refusal
    oLog.clear();
    oManager.submitShortlyRemove();
    EXPECT_EQ((tLog{"shortly a", "shortly b", "shortly c"}), oLog);
}

TEST_F(ModuleMgr, RemoteExceptionsComeFromTheFirstPrototype)
{
    cModuleMgr oManager(moExtensions);
    cTestComponent a(oManager, "a"), b(oManager, "b");
    oManager.addComponent(a, cComponentAddr());
    oManager.addComponent(b, cComponentAddr());
    b.registerRemoteException(qstd::tAutoPtr<qstd::cAbstractException>(new cCodeException(2)));
    a.registerRemoteException(qstd::tAutoPtr<qstd::cAbstractException>(new cCodeException(1)));

    cComponentLocation oFrom(cComponentAddr(3, 4), "remote", "", 77);
    qsa::cSerializeBinary oWriter;
    oWriter.store(42);
    oWriter.store(43);
    qsa::cDeserializeBinary oReader(oWriter.data());
    auto pException = oManager.createRemoteException(oFrom, "cCodeException", oReader);
    auto* pCode = dynamic_cast<cCodeException*>(pException.get());
    ASSERT_NE(nullptr, pCode);
    EXPECT_EQ(1, pCode->miTag);
    EXPECT_EQ(42, pCode->miCode);
    ASSERT_TRUE(pException->isRemote());
    EXPECT_EQ(oFrom, pException->remoteLocation());

    // An unknown type reads nothing and comes back as a runtime exception.
    pException = oManager.createRemoteException(oFrom, "cOther", oReader);
    EXPECT_STREQ("cRuntimeException", pException->typeName().c_str());
    EXPECT_EQ("Unknown remote exception of type cOther!", messageOf(*pException));
    EXPECT_EQ(oFrom, pException->remoteLocation());
    EXPECT_TRUE(a.tryCreateRegisteredException("cOther", oReader).null());
    int iNext = 0;
    oReader.load(iNext);
    EXPECT_EQ(43, iNext);
}

TEST_F(ModuleMgr, ClassLoadersGoWhenUnusedAndAfterTheComponents)
{
    tLog oLog;
    {
        cModuleMgr oManager(moExtensions);
        auto* pUsed = new cLoggingClassLoader(oLog, "used");
        auto* pIdle = new cLoggingClassLoader(oLog, "idle");
        oManager.registerClassLoader(qstd::tAutoPtr<qpi::cAbstractClassLoader>(pUsed));
        oManager.registerClassLoader(qstd::tAutoPtr<qpi::cAbstractClassLoader>(pIdle));
        cTestComponent* pLoaded = new cTestComponent(oManager, "loaded", &oLog);
        pUsed->incRef();
        pLoaded->setClassLoader(pUsed, "libused");
        oManager.addComponent(tComponentPtr(pLoaded), cComponentAddr());
        turn();
        EXPECT_EQ((tLog{"notified loaded", "loader gone idle"}), oLog);
        oLog.clear();
    }
    EXPECT_EQ((tLog{"destroyed loaded", "loader gone used"}), oLog);
}

TEST_F(ModuleMgr, ReleasedUsersLetTheirLoaderGoOnTheSamePass)
{
    tLog oLog;
    cModuleMgr oManager(moExtensions);
    auto* pLoader = new cLoggingClassLoader(oLog, "lib");
    oManager.registerClassLoader(qstd::tAutoPtr<qpi::cAbstractClassLoader>(pLoader));
    cTestComponent* pLoaded = new cTestComponent(oManager, "loaded", &oLog);
    pLoader->incRef();
    pLoaded->setClassLoader(pLoader, "lib");
    oManager.addComponent(tComponentPtr(pLoaded), cComponentAddr());
    turn();
    EXPECT_EQ((tLog{"notified loaded"}), oLog);
    oLog.clear();
    oManager.removeComponent(pLoaded->address());
    turn();
    EXPECT_EQ((tLog{"destroyed loaded", "loader gone lib"}), oLog);
}

TEST_F(ModuleMgr, ThrowingSlotsLoseNothingAndRepeatNothing)
{
    tLog oLog;
    cModuleMgr oManager(moExtensions);
    cManagerRecorder oRecorder(oManager, oLog);
    cTestComponent a(oManager, "a", &oLog), b(oManager, "b", &oLog);
    oManager.addComponent(a, cComponentAddr());
    oManager.addComponent(b, cComponentAddr());
    bool bThrow = true;
    auto throwOnce = [&](cAbstractComponent&) {
        if (bThrow) {
            bThrow = false;
            throw qstd::cRuntimeException();
        }
    };
    oRecorder.mfOnRegistered = throwOnce;
    oLog.clear();
    EXPECT_THROW(turn(), qstd::cRuntimeException);
    EXPECT_TRUE(passWanted(oManager)); // the rest follows
    turn();
    EXPECT_EQ((tLog{"registered a", "notified a", "registered b", "notified b"}), oLog);

    // A throwing "removed" slot: the component goes all the same, announced once.
    oLog.clear();
    bThrow = true;
    oRecorder.mfOnRemoved = throwOnce;
    a.removeLater();
    b.removeLater();
    EXPECT_THROW(turn(), qstd::cRuntimeException);
    EXPECT_EQ((tLog{"removed a"}), oLog);
    EXPECT_FALSE(a.isRegistered());
    EXPECT_TRUE(b.isRegistered());
    turn();
    EXPECT_EQ((tLog{"removed a", "removed b"}), oLog);
    EXPECT_TRUE(oManager.components().empty());
}

TEST_F(ModuleMgr, ThrowingNotificationIsNotRetried)
{
    tLog oLog;
    cModuleMgr oManager(moExtensions);
    cTestComponent a(oManager, "a", &oLog);
    a.mfOnNotify = [] { throw qstd::cRuntimeException(); };
    oManager.addComponent(a, cComponentAddr());
    EXPECT_THROW(turn(), qstd::cRuntimeException);
    turns(2);
    EXPECT_EQ((tLog{"notified a"}), oLog);
    EXPECT_FALSE(passWanted(oManager));
}

TEST_F(ModuleMgr, SlotsThatReenterTheManager)
{
    tLog oLog;
    cModuleMgr oManager(moExtensions);
    cManagerRecorder oRecorder(oManager, oLog);
    std::unique_ptr<cTestComponent> pLater(new cTestComponent(oManager, "later", &oLog));
    cTestComponent* pDoomed = new cTestComponent(oManager, "doomed", &oLog);
    cTestComponent a(oManager, "a", &oLog), oUser(oManager, "user", &oLog);
    oUser.addLocalRequiredComponent(pDoomed);
    oRecorder.mfOnRegistered = [&](cAbstractComponent& c) {
        if (&c != &a)
            return;
        // A nested pass only asks for another one; a component registered now is
        // announced once; removing all from here leaves it to the pass; deleting a
        // registered component directly takes it out.
        oManager.impl().mngSltProcessComponentManagement();
        oManager.addComponent(*pLater, cComponentAddr());
        delete pDoomed;
        EXPECT_FALSE(oUser.requires(pDoomed));
    };
    oManager.addComponent(a, cComponentAddr());
    oManager.addComponent(tComponentPtr(pDoomed), cComponentAddr());
    oManager.addComponent(oUser, cComponentAddr());
    oLog.clear();
    turns(3);
    EXPECT_EQ(
        (tLog{"registered a", "added later", "destroyed doomed", "notified a", "registered user",
              "notified user", "componentdeps", "registered later", "notified later"}),
        oLog);
    EXPECT_EQ((std::vector<std::string>{"a", "user", "later"}), names(oManager));

    // removeAllComponentsNow from a slot of a pass marks; the pass removes.
    oLog.clear();
    oRecorder.mfOnRemoved = nullptr;
    oRecorder.mfOnRegistered = nullptr;
    cTestComponent oTrigger(oManager, "trigger", &oLog);
    oRecorder.mfOnRegistered = [&](cAbstractComponent&) { oManager.removeAllComponentsNow(); };
    oManager.addComponent(oTrigger, cComponentAddr());
    turns(2);
    EXPECT_TRUE(oManager.components().empty());
    pLater.reset();
}

TEST_F(ModuleMgr, ManagerDestroyedByItsOwnSlot)
{
    tLog oLog;
    cModuleMgr* pManager = new cModuleMgr(moExtensions);
    cManagerRecorder oRecorder(*pManager, oLog);
    oRecorder.mfOnRegistered = [&](cAbstractComponent&) { delete pManager; };
    pManager->addComponent(tComponentPtr(new cTestComponent(*pManager, "a", &oLog)),
                           cComponentAddr());
    pManager->addComponent(tComponentPtr(new cTestComponent(*pManager, "b", &oLog)),
                           cComponentAddr());
    oLog.clear();
    turns(2);
    EXPECT_EQ((tLog{"registered a", "destroyed a", "destroyed b"}), oLog);
}

TEST_F(ModuleMgr, DestructionDeletesOwnedComponentsSilently)
{
    tLog oLog;
    cTestComponent* pKept;
    {
        cModuleMgr oManager(moExtensions);
        cManagerRecorder oRecorder(oManager, oLog);
        pKept = new cTestComponent(oManager, "kept", &oLog);
        oManager.addComponent(tComponentPtr(new cTestComponent(oManager, "owned", &oLog)),
                              cComponentAddr());
        oManager.addComponent(*pKept, cComponentAddr());
        turn();
        oLog.clear();
    }
    EXPECT_EQ((tLog{"destroyed owned"}), oLog);
    EXPECT_FALSE(pKept->isRegistered());
    pKept->removeLater(); // the manager is gone: nothing to ask
    delete pKept;
}

TEST_F(ModuleMgr, IdleSignalComesFromThePeriodicWork)
{
    tLog oLog;
    cModuleMgr oManager(moExtensions);
    cManagerRecorder oRecorder(oManager, oLog);
    qpi::cWork& oIdle = oManager.impl().moIdleWork;
    EXPECT_STREQ("ComapatIdle", oIdle.name().c_str());
    EXPECT_STREQ("ComponentManagement", oManager.impl().moManagementWork.name().c_str());
    EXPECT_TRUE(oIdle.isStarted());
    EXPECT_EQ(qpi::cWork::Periodic, oIdle.type());
    EXPECT_EQ(4000u, oIdle.interval());
    oIdle();
    EXPECT_EQ((tLog{"idle"}), oLog);
}

TEST(AbstractComponent, DependencyAndRequirementBookkeeping)
{
    qce::cCoreExtensionMgr oExtensions;
    cModuleMgr oManager(oExtensions);
    cTestComponent c(oManager, "c");
    EXPECT_FALSE(c.componentDepModified());
    c.addLocalRequiredComponent(nullptr);
    EXPECT_FALSE(c.componentDepModified());
    EXPECT_TRUE(c.localRequiredComponents().empty());

    c.setComponentID(7);
    EXPECT_STREQ("1:7", c.address().toString().c_str());
    EXPECT_EQ(c.address(), c.location().address());

    // Removing a dependency removes every entry of it and keeps the others' order.
    auto* pA = reinterpret_cast<cInterfaceDep*>(0x10);
    auto* pB = reinterpret_cast<cInterfaceDep*>(0x20);
    c.resetInterfaceDepModification();
    testing::internal::CaptureStderr();
    for (cInterfaceDep* p : {pA, pB, pA})
        c.addInterfaceDep(p);
    testing::internal::GetCapturedStderr();
    c.resetInterfaceDepModification();
    c.removeInterfaceDep(pA);
    ASSERT_EQ(1u, c.interfaceDeps().count());
    EXPECT_EQ(pB, c.interfaceDeps()[0]);
    EXPECT_TRUE(c.interfaceDepModified());
    c.resetInterfaceDepModification();
    c.removeInterfaceDep(pA);
    EXPECT_TRUE(c.interfaceDepModified());
    c.removeInterfaceDep(pB);
}

TEST(RMIException, MessagesAndStream)
{
    cComponentLocation oWhere(cComponentAddr(1, 5), "box", "", 9);
    struct Row
    {
        cRMIException oException;
        const char* pMessage;
    };
    const Row oTable[] = {{cRMIException(oWhere, 3, cRMIException::CallSlot, "sltGo"),
                           "Unable to call slot \"sltGo\" on interface 3!"},
                          {cRMIException(oWhere, 3, cRMIException::ConnectSignal, "sigGo"),
                           "Unable to connect signal \"sigGo\" to interface 3!"},
                          {cRMIException(8, cRMIException::CallSlot, "sltGo"),
                           "Unable to call slot \"sltGo\" on interface key 8!"},
                          {cRMIException(8, cRMIException::ConnectSignal, "sigGo"),
                           "Unable to connect signal \"sigGo\" to interface key 8!"},
                          {cRMIException(8, cRMIException::Operation(2), "x"), ""}};
    for (const Row& oRow : oTable) {
        SCOPED_TRACE(oRow.pMessage);
        EXPECT_EQ(oRow.pMessage, messageOf(oRow.oException));
    }
    EXPECT_EQ(cComponentLocation(), oTable[2].oException.location());

    qsa::cSerializeBinary oWriter;
    oTable[1].oException.store(oWriter);
    qsa::cDeserializeBinary oReader(oWriter.data());
    cAsciiString sType;
    oReader.load(sType);
    EXPECT_STREQ("cRMIException", sType.c_str());
    cRMIException oRead;
    oRead.load(oReader);
    EXPECT_EQ(oWhere, oRead.location());
    EXPECT_EQ(3u, oRead.interfaceIndex());
    EXPECT_EQ(cRMIException::ConnectSignal, oRead.operation());
    EXPECT_STREQ("sigGo", oRead.signalSlotName().c_str());
    std::unique_ptr<qstd::cAbstractException> pCopy(oRead.createObject());
    EXPECT_STREQ("cRMIException", pCopy->typeName().c_str());
}
