// pluginmgr_test.cpp - plug-ins loaded from real libraries: the guard's order of
// destruction, registration and unloading, failures that leave nothing behind, and
// components from a library outliving no loader.
#include "pi/worktesting.h"
#include "plugins/plugintesting.h"
#include "std/testutil.h"

using namespace qortest;

namespace {

class PlugInMgr : public testing::Test
{
protected:
    void SetUp() override { moduleEvents().clear(); }
    void TearDown() override { moduleEvents().clear(); }

    const std::string msPath = modulePath("testplugin");
    qcs::cPlugInMgr moManager;
};

} // namespace

TEST_F(PlugInMgr, GuardDeletesThePlugInBeforeClosingItsLibrary)
{
    qstd::tAutoPtr<qcs::cPlugInGuard> pGuard = moManager.loadPlugIn(ucs(msPath));
    ASSERT_NE(nullptr, pGuard->plugIn());
    EXPECT_TRUE(pGuard->plugIn()->isPlugIn());
    EXPECT_FALSE(pGuard->plugIn()->isStatic());
    EXPECT_EQ(1u, pGuard->plugIn()->classLoader()->numReferences());
    EXPECT_TRUE(moManager.plugIns().empty()); // not registered by loading
    observeModule(msPath);
    pGuard.reset();
    EXPECT_EQ((std::vector<std::string>{"plug-in deleted", "library unloaded"}), moduleEvents());
    EXPECT_FALSE(isLoaded(msPath));
}

TEST_F(PlugInMgr, PlugInWithoutExtensionSaysSoWithItsName)
{
    qstd::tAutoPtr<qcs::cPlugInGuard> pGuard = moManager.loadPlugIn(ucs(msPath));
    EXPECT_EQ(std::string("none"), (*pGuard)->pluginTypeName().c_str());
    EXPECT_FALSE((*pGuard)->isCoreExtension());
    qstd::cRuntimeException e =
        expectThrow<qstd::cRuntimeException>([&] { (*pGuard)->coreExtension(); });
    EXPECT_EQ("Module (\"testplugin\") does not provide core extension functionality.",
              messageOf(e));
}

TEST_F(PlugInMgr, RegisteredPlugInsAreUnloadedOneByOneOrAll)
{
    qsa::cReferenceFrame oFrame;
    qstd::tAutoPtr<qcs::cPlugInGuard> pFirst = moManager.loadPlugIn(ucs(msPath), oFrame);
    qstd::tAutoPtr<qcs::cPlugInGuard> pSecond = moManager.loadPlugIn(ucs(msPath), oFrame);
    qcs::cAbstractPlugIn* pPlugIn1 = pFirst->plugIn();
    qcs::cAbstractPlugIn* pPlugIn2 = pSecond->plugIn();
    moManager.registerPlugIn(pFirst);
    moManager.registerPlugIn(pSecond);
    ASSERT_EQ(2u, moManager.plugIns().count());

    // A pointer no guard holds changes nothing.
    qcs::cAbstractPlugIn* pStranger = reinterpret_cast<qcs::cAbstractPlugIn*>(&oFrame);
    moManager.unloadPlugIn(pStranger);
    moManager.unloadPlugIn(nullptr);
    EXPECT_EQ(2u, moManager.plugIns().count());

    // Each loadPlugIn opened the library once more; the last close unmaps it.
    moManager.unloadPlugIn(pPlugIn1);
    ASSERT_EQ(1u, moManager.plugIns().count());
    EXPECT_EQ(pPlugIn2, (*moManager.plugIns().begin())->plugIn());
    EXPECT_TRUE(isLoaded(msPath));
    moManager.unloadAll();
    EXPECT_TRUE(moManager.plugIns().empty());
    EXPECT_FALSE(isLoaded(msPath));

    // "<dir>/testplugin" names "<dir>/libtestplugin.so"; a manager unloads its
    // plug-ins when it goes.
    {
        qcs::cPlugInMgr oManager;
        oManager.registerPlugIn(
            oManager.loadPlugIn(ucs(std::string(QOR_TEST_MODULE_DIR) + "/testplugin")));
        EXPECT_TRUE(isLoaded(msPath));
    }
    EXPECT_FALSE(isLoaded(msPath));
}

TEST_F(PlugInMgr, FailedLoadsLeaveNothingBehind)
{
    cFlatCheck oFlat;
    const std::string sText = testing::TempDir() + "/libplaintext.so";
    writeFile(sText, "plain text");
    EXPECT_THROW(moManager.loadPlugIn(ucs(sText)), qcs::cModuleLoadException);
    std::remove(sText.c_str());
    for (const char* pModule :
         {"testnoinit", "testnoqorversion", "testcomponent", "testemptyplugin"}) {
        SCOPED_TRACE(pModule);
        EXPECT_THROW(moManager.loadPlugIn(ucs(modulePath(pModule))), qcs::cModuleLoadException);
        EXPECT_FALSE(isLoaded(modulePath(pModule)));
    }
    EXPECT_TRUE(moManager.plugIns().empty());
    oFlat.expectUnchanged();
}

TEST_F(PlugInMgr, TwoHundredLoadUnloadCyclesStayFlat)
{
    moManager.registerPlugIn(moManager.loadPlugIn(ucs(msPath)));
    moManager.unloadAll();
    cFlatCheck oFlat;
    for (int i = 0; i < 200; ++i) {
        moManager.registerPlugIn(moManager.loadPlugIn(ucs(msPath)));
        moManager.unloadPlugIn((*moManager.plugIns().begin())->plugIn());
        ASSERT_TRUE(moManager.plugIns().empty());
    }
    EXPECT_FALSE(isLoaded(msPath));
    oFlat.expectUnchanged();
}

TEST_F(PlugInMgr, ModuleManagerDeletesLibraryComponentsBeforeTheirLoaders)
{
    const std::string sPath = modulePath("testcomponent");
    {
        qcs::cModuleMgr oModules(qpi::system().coreExtensions());
        qstd::tAutoPtr<qpi::cAbstractClassLoader> pLoader =
            qpi::cPlatform().createClassLoader(ucs(sPath));
        qsa::cReferenceFrame oFrame;
        qstd::tAutoPtr<qcs::cAbstractComponent> pComponent(pLoader->instance(oFrame, oModules));
        pComponent->setClassLoader(pLoader.get(), "tested");
        oModules.registerClassLoader(pLoader);
        oModules.addComponent(pComponent, qcs::cComponentAddr());
        EXPECT_EQ(&oModules.findComponent(qstd::cAsciiString("tested")),
                  oModules.hasComponent(qstd::cAsciiString("tested")));
        observeModule(sPath);
        // Management passes keep the loader: its component is alive. The queue turns
        // with process events that never wait.
        qpi::cWorkQueue& oQueue = qpi::system().workQueue();
        oQueue.setEvents(qstd::tAutoPtr<qpi::cAbstractProcessEvents>(new cRecordingEvents));
        oModules.handleComponentIterationLater();
        qpi::system().exec();
        qpi::system().exec();
        oQueue.setEvents(qpi::cPlatform().createProcessEvents());
        EXPECT_TRUE(isLoaded(sPath));
    }
    EXPECT_EQ((std::vector<std::string>{"component deleted", "library unloaded"}), moduleEvents());
    EXPECT_FALSE(isLoaded(sPath));
}

TEST_F(PlugInMgr, LibraryStaysLoadedWhileAnotherObjectMadeFromItLives)
{
    // The application asked the plug-in's loader for a component too, then dropped
    // the plug-in's guard first.
    const std::string sPath = modulePath("testboth");
    qcs::cModuleMgr oModules(qpi::system().coreExtensions());
    qstd::tAutoPtr<qcs::cPlugInGuard> pGuard = moManager.loadPlugIn(ucs(sPath));
    qpi::cAbstractClassLoader* pLoader = pGuard->plugIn()->classLoader();
    qsa::cReferenceFrame oFrame;
    qstd::tAutoPtr<qcs::cAbstractComponent> pComponent(pLoader->instance(oFrame, oModules));
    pComponent->setClassLoader(pLoader, qstd::cAsciiString());
    observeModule(sPath);
    pGuard.reset();
    EXPECT_EQ((std::vector<std::string>{"plug-in deleted"}), moduleEvents());
    EXPECT_TRUE(isLoaded(sPath));
    pComponent.reset(); // its code is still there
    EXPECT_TRUE(pLoader->isUnused());
    delete pLoader; // what the application now owns
    EXPECT_EQ(
        (std::vector<std::string>{"plug-in deleted", "component deleted", "library unloaded"}),
        moduleEvents());
}
