// Tests of the module manager and its components: IDs, announcement, two-phase
// removal, look-ups, class loaders, remote exceptions, and slots that throw,
// re-enter or destroy things while a management pass runs.
#include "qcs/componenttesting.h"

using namespace qcs;
using namespace qortest;
using qstd::cAsciiString;

namespace {

typedef qstd::tAutoPtr<cAbstractComponent> tComponentPtr;

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
    cTestComponent oTen(oManager, "ten", nullptr, 10), oNext(oManager, "next");
    for (cTestComponent* p : {&a, &b, &c, &oTen, &oNext})
        oManager.addComponent(*p, cComponentAddr(1, 1));
    EXPECT_STREQ("1:2", a.address().toString().c_str());
    EXPECT_EQ(c.address(), c.location().address());
    EXPECT_STREQ("1:4", c.location().address().toString().c_str());
    EXPECT_EQ(cComponentAddr(1, 1), b.deployedBy());
    EXPECT_EQ(11u, oNext.address().moduleID());

    // Refused: below the last ID, or the last ID while a component holds it. Nothing
    // is registered or announced, and an owned component dies exactly once.
    for (unsigned iId : {7u, 11u}) {
        oLog.clear();
        cTestComponent::siDestroyed = 0;
        auto e = expectThrow<qstd::cRuntimeException>([&] {
            oManager.addComponent(tComponentPtr(new cTestComponent(oManager, "dup", &oLog, iId)),
                                  cComponentAddr());
        });
        EXPECT_EQ("Component id (" + std::to_string(iId) + ") not unique!", messageOf(e));
        EXPECT_EQ((tLog{"destroyed dup"}), oLog);
        EXPECT_EQ(1, cTestComponent::siDestroyed);
        EXPECT_EQ(5u, oManager.components().count());
    }
    // Once its holder is gone, the last ID is free again.
    oManager.removeComponent(oNext.address());
    turns();
    cTestComponent oEleven(oManager, "eleven", nullptr, 11);
    EXPECT_EQ(11u, oManager.addComponent(oEleven, cComponentAddr()).address().moduleID());

    // Registering twice or re-numbering is a bug.
    EXPECT_THROW(oManager.addComponent(a, cComponentAddr()), qstd::cBugException);
    EXPECT_THROW(a.setComponentID(99), qstd::cBugException);

    // The automatic IDs end instead of wrapping to IDs in use.
    cModuleMgr oOther(moExtensions);
    cTestComponent oTop(oOther, "top", nullptr, 0xffffffffU), oAfter(oOther, "after");
    oOther.addComponent(oTop, cComponentAddr());
    auto e = expectThrow<qstd::cRuntimeException>(
        [&] { oOther.addComponent(oAfter, cComponentAddr()); });
    EXPECT_EQ("No component id left!", messageOf(e));
}

TEST_F(ModuleMgr, AddedAtOnceAnnouncedOnceOnALaterPass)
{
    tLog oLog;
    cModuleMgr oManager(moExtensions);
    cManagerRecorder oRecorder(oManager, oLog);
    cTestComponent oLate(oManager, "late", &oLog), a(oManager, "a", &oLog);
    oLate.mbDelay = true;
    oRecorder.mfHook = [&](const std::string& sWhat, cAbstractComponent& c) {
        if (sWhat == "registered") { // address set, not yet flagged or notified
            EXPECT_TRUE(c.address().valid() && !c.announced());
        }
    };
    oManager.addComponent(oLate, cComponentAddr());
    oManager.addComponent(a, cComponentAddr());
    oManager.addComponent(tComponentPtr(new cTestComponent(oManager, "b", &oLog)),
                          cComponentAddr());
    EXPECT_EQ((tLog{"added late", "added a", "added b"}), oLog);
    oLog.clear();
    for (int i = 0; i < 3; ++i) {
        turns();
        EXPECT_FALSE(oLate.announced());
        EXPECT_TRUE(passWanted(oManager)); // asked again while held back
    }
    EXPECT_EQ((tLog{"registered a", "notified a", "registered b", "notified b"}), oLog);
    oLate.mbDelay = false;
    oLog.clear();
    turns(3);
    EXPECT_EQ((tLog{"registered late", "notified late"}), oLog);
    EXPECT_FALSE(passWanted(oManager));

    // The works keep their names; the idle work emits every 4000 ms.
    cModuleMgrImpl& oImpl = oManager.impl();
    EXPECT_STREQ("ComapatIdle", oImpl.moIdleWork.name().c_str());
    EXPECT_STREQ("ComponentManagement", oImpl.moManagementWork.name().c_str());
    EXPECT_TRUE(oImpl.moIdleWork.isStarted() && oImpl.moIdleWork.interval() == 4000);
    cProbe oIdle;
    oManager.sigCompatIdle.connect(oIdle, &cProbe::slt);
    oImpl.moIdleWork();
    EXPECT_EQ(1, oIdle.miCalls);
}

TEST_F(ModuleMgr, RequiredComponentOutlivesTheOnesThatNeedIt)
{
    tLog oLog;
    cModuleMgr oManager(moExtensions);
    cManagerRecorder oRecorder(oManager, oLog);
    cTestComponent* pUser = new cTestComponent(oManager, "user", &oLog);
    cTestComponent* pBase = new cTestComponent(oManager, "base", &oLog);
    pUser->addLocalRequiredComponent(pBase);
    oManager.addComponent(tComponentPtr(pUser), cComponentAddr());
    oManager.addComponent(tComponentPtr(pBase), cComponentAddr());
    turns();
    EXPECT_EQ("componentdeps", oLog[4]); // after the announcement of the one that requires
    oLog.clear();
    std::string sUserLocation = pUser->location().toString().c_str();
    cComponentAddr oBaseAddress = pBase->address();
    oRecorder.mfHook = [&](const std::string&, cAbstractComponent& c) {
        EXPECT_EQ(&c, oManager.hasComponent(c.address())); // still findable
    };
    oManager.removeComponent(oBaseAddress);
    testing::internal::CaptureStderr();
    turns();
    EXPECT_NE(std::string::npos,
              testing::internal::GetCapturedStderr().find(
                  "cModuleMgr: Mark referencing component for removal... (" + sUserLocation + ")"));
    EXPECT_TRUE(oLog.empty() && pUser->toRemove());
    turns();
    EXPECT_EQ((tLog{"removed user", "destroyed user"}), oLog);
    turns();
    EXPECT_EQ((tLog{"removed user", "destroyed user", "removed base", "destroyed base"}), oLog);
    EXPECT_TRUE(oManager.components().empty());
    EXPECT_FALSE(passWanted(oManager));
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
        turns();
        oLog.clear();
        testing::internal::CaptureStderr();
        oManager.removeAllComponentsNow();
        testing::internal::GetCapturedStderr();
        EXPECT_TRUE(oManager.components().empty());
        EXPECT_EQ((tLog{"destroyed a", "destroyed b"}), oLog);
        EXPECT_FALSE(oC.isRegistered());
        turns(2);
        EXPECT_EQ(2u, oLog.size());
    }
    EXPECT_EQ(3, cTestComponent::siDestroyed);
}

TEST_F(ModuleMgr, LookUps)
{
    cModuleMgr oManager(moExtensions);
    cTestComponent a(oManager, "a"), b(oManager, "b");
    cTestInterface& oInterface = b.offer(Provided, "Service");
    b.moduleInfo().setContext("libb");
    oManager.addComponent(a, cComponentAddr());
    oManager.addComponent(b, cComponentAddr());
    EXPECT_EQ(&b, &oManager.findComponent(b.address()));
    EXPECT_EQ(&b, &oManager.findComponent(b.location()));
    EXPECT_EQ(&b, &oManager.findComponent(cAsciiString("libb")));
    EXPECT_EQ(&b, &oManager.findComponent(static_cast<qrmi::cConnectable&>(oInterface)));
    cComponentAddr oInvalid(a.address());
    oInvalid.invalidate();
    EXPECT_EQ(nullptr, oManager.hasComponent(oInvalid));
    EXPECT_EQ(nullptr, oManager.hasComponent(cComponentAddr(2, a.address().moduleID())));
    cComponentLocation oElsewhere(a.address(), "elsewhere", "", a.location().pid());
    EXPECT_FALSE(oManager.exists(oElsewhere));

    auto e =
        expectThrow<cNoSuchModuleException>([&] { oManager.findComponent(cComponentAddr(1, 99)); });
    EXPECT_EQ("Module (1:99) not found!", messageOf(e));
    EXPECT_EQ(cComponentAddr(1, 99), e.address());
    e = expectThrow<cNoSuchModuleException>([&] { oManager.findComponent(oElsewhere); });
    EXPECT_EQ("Module (" + std::string(oElsewhere.toString().c_str()) + ") not found!",
              messageOf(e));
    e = expectThrow<cNoSuchModuleException>([&] { oManager.findComponent(cAsciiString("x")); });
    EXPECT_EQ("Module (x) not found!", messageOf(e));
    cTestInterface oLoose(Provided, "Service");
    EXPECT_THROW(oManager.findComponent(static_cast<qrmi::cConnectable&>(oLoose)),
                 cNoPublicInterfaceException);
}

TEST_F(ModuleMgr, AskingEveryComponent)
{
    tLog oLog;
    cModuleMgr oManager(moExtensions);
    cTestComponent a(oManager, "a", &oLog), b(oManager, "b", &oLog);
    oManager.addComponent(a, cComponentAddr());
    oManager.addComponent(b, cComponentAddr());
    auto e = expectThrow<qstd::cBugException>([&] { oManager.app(); });
    EXPECT_EQ("No application object set!", messageOf(e));
    struct cApp : cAbstractQORApp
    {
    } oApp;
    oManager.setApp(oApp);
    EXPECT_EQ(&oApp, &oManager.app());
    a.mbCloseAdvisable = false;
    EXPECT_FALSE(oManager.applicationCloseAdvisable(oApp));
    oManager.submitShortlyRemove();
    EXPECT_EQ((tLog{"close? a", "close? b", "shortly a", "shortly b"}), oLog);
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
    EXPECT_TRUE(pCode->miTag == 1 && pCode->miCode == 42);
    EXPECT_EQ(oFrom, pException->remoteLocation());

    // An unknown type reads nothing and comes back as a runtime exception.
    pException = oManager.createRemoteException(oFrom, "cOther", oReader);
    EXPECT_EQ("Unknown remote exception of type cOther!", messageOf(*pException));
    EXPECT_EQ(oFrom, pException->remoteLocation());
    int iNext = 0;
    oReader.load(iNext);
    EXPECT_EQ(43, iNext);
}

TEST_F(ModuleMgr, ClassLoadersGoWhenUnusedAndAfterTheComponents)
{
    tLog oLog;
    {
        cModuleMgr oManager(moExtensions);
        cLoggingClassLoader* pLoaders[3] = {new cLoggingClassLoader(oLog, "a"),
                                            new cLoggingClassLoader(oLog, "b"),
                                            new cLoggingClassLoader(oLog, "idle")};
        for (cLoggingClassLoader* p : pLoaders)
            oManager.registerClassLoader(qstd::tAutoPtr<qpi::cAbstractClassLoader>(p));
        cTestComponent* pLoaded[2];
        for (int i = 0; i < 2; ++i) {
            pLoaded[i] = new cTestComponent(oManager, i ? "fromb" : "froma", &oLog);
            pLoaders[i]->incRef();
            pLoaded[i]->setClassLoader(pLoaders[i], "lib");
            oManager.addComponent(tComponentPtr(pLoaded[i]), cComponentAddr());
        }
        turns();
        oManager.removeComponent(pLoaded[0]->address());
        turns();
    }
    EXPECT_EQ((tLog{"notified froma", "notified fromb", "loader gone idle", "destroyed froma",
                    "loader gone a", "destroyed fromb", "loader gone b"}),
              oLog);
}

TEST_F(ModuleMgr, ThrowingSlotsLoseNothingAndRepeatNothing)
{
    tLog oLog;
    cModuleMgr oManager(moExtensions);
    cManagerRecorder oRecorder(oManager, oLog);
    cTestComponent a(oManager, "a", &oLog), b(oManager, "b", &oLog), c(oManager, "c", &oLog);
    c.mfOnNotify = [] { throw qstd::cRuntimeException(); };
    for (cTestComponent* p : {&a, &b, &c})
        oManager.addComponent(*p, cComponentAddr());
    oRecorder.mfHook = [&](const std::string&, cAbstractComponent& c) {
        if (&c == &a)
            throw qstd::cRuntimeException();
    };
    oLog.clear();
    EXPECT_THROW(turns(), qstd::cRuntimeException);
    EXPECT_TRUE(passWanted(oManager)); // the rest follows
    EXPECT_THROW(turns(), qstd::cRuntimeException);
    turns(2);
    EXPECT_EQ((tLog{"registered a", "notified a", "registered b", "notified b", "registered c",
                    "notified c"}),
              oLog);

    // A throwing "removed" slot: the component goes all the same, announced once.
    oLog.clear();
    a.removeLater();
    b.removeLater();
    EXPECT_THROW(turns(), qstd::cRuntimeException);
    EXPECT_EQ((tLog{"removed a"}), oLog);
    EXPECT_FALSE(a.isRegistered());
    turns();
    EXPECT_EQ((tLog{"removed a", "removed b"}), oLog);
}

TEST_F(ModuleMgr, SlotsThatReenterTheManager)
{
    tLog oLog;
    cModuleMgr oManager(moExtensions);
    cManagerRecorder oRecorder(oManager, oLog);
    cTestComponent oLater(oManager, "later", &oLog), a(oManager, "a", &oLog);
    cTestComponent oUser(oManager, "user", &oLog), oTrigger(oManager, "trigger", &oLog);
    cTestComponent* pDoomed = new cTestComponent(oManager, "doomed", &oLog);
    oUser.addLocalRequiredComponent(pDoomed);
    oRecorder.mfHook = [&](const std::string& sWhat, cAbstractComponent& c) {
        if (sWhat != "registered")
            return;
        if (&c == &oTrigger) // from inside a pass it only marks; the pass removes
            oManager.removeAllComponentsNow();
        if (&c != &a)
            return;
        // A nested pass only asks for another one; a component registered now is
        // announced once; a registered component deleted directly leaves.
        oManager.impl().mngSltProcessComponentManagement();
        oManager.addComponent(oLater, cComponentAddr());
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
    oManager.addComponent(oTrigger, cComponentAddr());
    turns(2);
    EXPECT_TRUE(oManager.components().empty());
}

TEST_F(ModuleMgr, ManagerDestroyedByItsOwnSlotOrBeforeItsComponents)
{
    tLog oLog;
    cModuleMgr* pManager = new cModuleMgr(moExtensions);
    cManagerRecorder oRecorder(*pManager, oLog);
    oRecorder.mfHook = [&](const std::string& sWhat, cAbstractComponent&) {
        if (sWhat == "registered")
            delete pManager;
    };
    cTestComponent oKept(*pManager, "kept", &oLog);
    pManager->addComponent(tComponentPtr(new cTestComponent(*pManager, "a", &oLog)),
                           cComponentAddr());
    pManager->addComponent(oKept, cComponentAddr());
    oLog.clear();
    turns(2);
    // Owned components go silently; one kept by the caller asks nothing any more.
    EXPECT_EQ((tLog{"registered a", "destroyed a"}), oLog);
    EXPECT_FALSE(oKept.isRegistered());
    oKept.removeLater();
}

TEST(AbstractComponent, RemovingADependencyRemovesEveryEntryOfIt)
{
    qce::cCoreExtensionMgr oExtensions;
    cModuleMgr oManager(oExtensions);
    cTestComponent c(oManager, "c");
    c.addLocalRequiredComponent(nullptr);
    EXPECT_FALSE(c.componentDepModified());
    auto* pA = reinterpret_cast<cInterfaceDep*>(0x10);
    auto* pB = reinterpret_cast<cInterfaceDep*>(0x20);
    testing::internal::CaptureStderr();
    for (cInterfaceDep* p : {pA, pB, pA})
        c.addInterfaceDep(p);
    testing::internal::GetCapturedStderr();
    c.removeInterfaceDep(pA);
    EXPECT_TRUE(c.interfaceDeps().count() == 1 && c.interfaceDeps()[0] == pB);
    c.resetInterfaceDepModification();
    c.removeInterfaceDep(pA); // marks modified even when nothing was found
    EXPECT_TRUE(c.interfaceDepModified());
    c.removeInterfaceDep(pB);
}

TEST(RMIException, MessagesAndStream)
{
    cComponentLocation oWhere(cComponentAddr(1, 5), "box", "", 9);
    const std::pair<cRMIException, const char*> oTable[] = {
        {cRMIException(oWhere, 3, cRMIException::CallSlot, "sltGo"),
         "Unable to call slot \"sltGo\" on interface 3!"},
        {cRMIException(oWhere, 3, cRMIException::ConnectSignal, "sigGo"),
         "Unable to connect signal \"sigGo\" to interface 3!"},
        {cRMIException(8, cRMIException::CallSlot, "sltGo"),
         "Unable to call slot \"sltGo\" on interface key 8!"},
        {cRMIException(8, cRMIException::ConnectSignal, "sigGo"),
         "Unable to connect signal \"sigGo\" to interface key 8!"},
        {cRMIException(8, cRMIException::Operation(2), "x"), ""}};
    for (const auto& oRow : oTable)
        EXPECT_EQ(oRow.second, messageOf(oRow.first));
    EXPECT_EQ(cComponentLocation(), oTable[2].first.location());

    qsa::cSerializeBinary oWriter;
    oTable[1].first.store(oWriter);
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
}

TEST(RMIException, AssignmentFromAnElementOfItsOwnChain)
{
    cComponentLocation oWhere(cComponentAddr(1, 5), "box", "", 9);
    cRMIException e(oWhere, 3, cRMIException::CallSlot, "sltFirst");
    e.link(cRMIException(7, cRMIException::ConnectSignal, "sigSecond"));
    e = static_cast<const cRMIException&>(*e.history());
    EXPECT_EQ(nullptr, e.history());
    EXPECT_EQ(7u, e.interfaceKey());
    EXPECT_EQ(cRMIException::ConnectSignal, e.operation());
    EXPECT_STREQ("sigSecond", e.signalSlotName().c_str());
    EXPECT_EQ("Unable to connect signal \"sigSecond\" to interface key 7!", messageOf(e));
}
