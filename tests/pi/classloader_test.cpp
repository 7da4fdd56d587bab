// classloader_test.cpp - the Linux class loader against real module libraries: entry
// points, every refusal with its kind and text, nothing left open after a failure,
// unloading, UTF-8 file names and repeated cycles.
#include "plugins/plugintesting.h"
#include "qor_core/pi/platform/dependend/native_linux/linuxclassloader.h"
#include "std/testutil.h"

#include <cstdio>
#include <filesystem>
#include <utility>

using namespace qortest;

namespace {

/// A class loader for sPath that must be refused with eKind; returns the exception.
qcs::cModuleLoadException expectRefused(const std::string& sPath,
                                        qcs::cModuleLoadException::KindOfProblem eKind)
{
    cFlatCheck oFlat;
    qcs::cModuleLoadException e = expectThrow<qcs::cModuleLoadException>(
        [&] { qpi::cPlatform().createClassLoader(ucs(sPath)); });
    EXPECT_EQ(eKind, e.problem());
    EXPECT_TRUE(e.fileName().isEqual(ucs(sPath).data(), ucs(sPath).length(), 0));
    EXPECT_FALSE(isLoaded(sPath));
    oFlat.expectUnchanged();
    return e;
}

} // namespace

TEST(ClassLoader, OpensAPlugInLibraryAndMakesItsPlugIn)
{
    const std::string sPath = modulePath("testplugin");
    qstd::tAutoPtr<qpi::cAbstractClassLoader> pLoader =
        qpi::cPlatform().createClassLoader(ucs(sPath));
    EXPECT_TRUE(isLoaded(sPath));
    EXPECT_TRUE(pLoader->isUnused());
    unsigned iMajor = 0, iMinor = 0;
    pLoader->getModuleVersion(iMajor, iMinor);
    EXPECT_EQ(3u, iMajor);
    EXPECT_EQ(14u, iMinor);
    pLoader->getModuleQORVersion(iMajor, iMinor);
    EXPECT_EQ(0u, iMajor);
    EXPECT_EQ(1u, iMinor);

    qsa::cReferenceFrame oFrame;
    qcs::cAbstractPlugIn* pPlugIn = pLoader->instance(oFrame);
    ASSERT_NE(nullptr, pPlugIn);
    EXPECT_EQ(1u, pLoader->numReferences());
    EXPECT_TRUE(pPlugIn->isPlugIn());
    EXPECT_FALSE(pPlugIn->isComponent());
    pPlugIn->setClassLoader(pLoader.get(), "ctx");
    EXPECT_EQ(std::string("ctx"), pPlugIn->info().context().c_str());
    delete pPlugIn; // counts the loader down
    EXPECT_TRUE(pLoader->isUnused());

    // A plug-in library offers no component.
    qcs::cModuleMgr oManager(qpi::system().coreExtensions());
    qcs::cModuleLoadException e =
        expectThrow<qcs::cModuleLoadException>([&] { pLoader->instance(oFrame, oManager); });
    EXPECT_EQ(qcs::cModuleLoadException::NoFunctionality, e.problem());
    EXPECT_EQ("cClassLoader: No component!", messageOf(e));
    EXPECT_TRUE(isLoaded(sPath));

    pLoader.reset();
    EXPECT_FALSE(isLoaded(sPath));
}

TEST(ClassLoader, FileThatIsNoLibraryCarriesTheDynamicLoadersText)
{
    const std::string sPath = testing::TempDir() + "/libnotalibrary.so";
    writeFile(sPath, "this is text, not an ELF object\n");
    qcs::cModuleLoadException e =
        expectRefused(sPath, qcs::cModuleLoadException::LibraryNotLoadable);
    std::string sText = messageOf(e);
    EXPECT_EQ(0u, sText.find("Unable to load plugin. OS returned ")) << sText;
    // glibc names the file in its text.
    EXPECT_NE(std::string::npos, sText.find(sPath)) << sText;
    std::remove(sPath.c_str());

    // Cut at a NUL the name would open a library that exists.
    qucs::cString sName = ucs(modulePath("testplugin"));
    sName.append(0u);
    sName.append('x');
    cFlatCheck oFlat;
    EXPECT_EQ(qcs::cModuleLoadException::LibraryNotLoadable,
              expectThrow<qcs::cModuleLoadException>([&] {
                  qpi::cPlatform().createClassLoader(sName);
              }).problem());
    EXPECT_FALSE(isLoaded(modulePath("testplugin")));
    oFlat.expectUnchanged();
}

TEST(ClassLoader, EveryMissingSymbolIsRefusedAndTheLibraryClosed)
{
    const std::pair<const char*, const char*> oCases[] = {{"testnoinit", "moduleInit"},
                                                          {"testnomoduleversion", "moduleVersion"},
                                                          {"testnoqorversion", "qorVersion"}};
    for (const auto& c : oCases)
        EXPECT_EQ(std::string("Invalid module. Missing ") + c.second + " section!",
                  messageOf(expectRefused(modulePath(c.first),
                                          qcs::cModuleLoadException::MissingSymbol)));
}

TEST(ClassLoader, EntryPointsThatMakeNothingRaiseKindOneAndKeepTheLibraryOpen)
{
    qsa::cReferenceFrame oFrame;
    qcs::cModuleMgr oManager(qpi::system().coreExtensions());

    const std::string sEmpty = modulePath("testemptyplugin");
    qstd::tAutoPtr<qpi::cAbstractClassLoader> pEmpty =
        qpi::cPlatform().createClassLoader(ucs(sEmpty));
    qcs::cModuleLoadException e =
        expectThrow<qcs::cModuleLoadException>([&] { pEmpty->instance(oFrame); });
    EXPECT_EQ(qcs::cModuleLoadException::NoFunctionality, e.problem());
    EXPECT_EQ("Plugin (" + sEmpty + ") does not provide functionality!", messageOf(e));
    e = expectThrow<qcs::cModuleLoadException>([&] { pEmpty->instance(oFrame, oManager); });
    EXPECT_EQ("cClassLoader: No instance!", messageOf(e));
    EXPECT_TRUE(pEmpty->isUnused());
    EXPECT_TRUE(isLoaded(sEmpty));

    // A component-only module loads; it is no plug-in.
    const std::string sComponent = modulePath("testcomponent");
    qstd::tAutoPtr<qpi::cAbstractClassLoader> pComponent =
        qpi::cPlatform().createClassLoader(ucs(sComponent));
    e = expectThrow<qcs::cModuleLoadException>([&] { pComponent->instance(oFrame); });
    EXPECT_EQ(qcs::cModuleLoadException::NoFunctionality, e.problem());
    EXPECT_EQ("File " + sComponent + " is not a plugin!", messageOf(e));
    EXPECT_TRUE(pComponent->isUnused());
}

TEST(ClassLoader, UnloadingForgetsTheEntryPoints)
{
    const std::string sPath = modulePath("testplugin");
    qpi::cLinuxClassLoader oLoader(ucs(sPath));
    oLoader.unloadLibrary();
    EXPECT_FALSE(oLoader.isLoaded());
    EXPECT_FALSE(isLoaded(sPath));
    qsa::cReferenceFrame oFrame;
    qcs::cModuleLoadException e =
        expectThrow<qcs::cModuleLoadException>([&] { oLoader.instance(oFrame); });
    EXPECT_EQ(qcs::cModuleLoadException::NoFunctionality, e.problem());
    EXPECT_EQ("File " + sPath + " is not a plugin!", messageOf(e));
    unsigned iMajor = 7, iMinor = 8;
    oLoader.getModuleVersion(iMajor, iMinor);
    oLoader.getModuleQORVersion(iMajor, iMinor);
    EXPECT_EQ(7u, iMajor);
    EXPECT_EQ(8u, iMinor);

    // A failing loadLibrary closes the library it had open and leaves the loader empty.
    oLoader.loadLibrary(ucs(sPath));
    EXPECT_THROW(oLoader.loadLibrary(ucs(modulePath("testnoinit"))), qcs::cModuleLoadException);
    EXPECT_FALSE(oLoader.isLoaded());
    EXPECT_FALSE(isLoaded(sPath));
}

TEST(ClassLoader, OpensAFileWithAUTF8Name)
{
    std::filesystem::path oDir = std::filesystem::path(testing::TempDir()) / "qor-m\xc3\xb6"
                                                                             "dule";
    std::filesystem::create_directories(oDir);
    std::filesystem::path oCopy = oDir / "libpl\xc3\xbcgin-\xe2\x82\xac.so";
    std::filesystem::copy_file(modulePath("testplugin"), oCopy,
                               std::filesystem::copy_options::overwrite_existing);
    qstd::tAutoPtr<qpi::cAbstractClassLoader> pLoader =
        qpi::cPlatform().createClassLoader(ucs(oCopy.string()));
    EXPECT_TRUE(isLoaded(oCopy.string()));
    pLoader.reset();
    EXPECT_FALSE(isLoaded(oCopy.string()));
    std::filesystem::remove_all(oDir);
}

TEST(ClassLoader, TwoHundredCyclesLeaveMappingsAndDescriptorsFlat)
{
    const std::string sPath = modulePath("testplugin");
    // One cycle first, so that what the first use allocates for good is there.
    {
        qstd::tAutoPtr<qpi::cAbstractClassLoader> p =
            qpi::cPlatform().createClassLoader(ucs(sPath));
    }
    cFlatCheck oFlat;
    qsa::cReferenceFrame oFrame;
    for (int i = 0; i < 200; ++i) {
        qstd::tAutoPtr<qpi::cAbstractClassLoader> pLoader =
            qpi::cPlatform().createClassLoader(ucs(sPath));
        qcs::cAbstractPlugIn* pPlugIn = pLoader->instance(oFrame);
        pPlugIn->setClassLoader(pLoader.get(), qstd::cAsciiString());
        delete pPlugIn;
        ASSERT_TRUE(pLoader->isUnused());
    }
    EXPECT_FALSE(isLoaded(sPath));
    oFlat.expectUnchanged();
}
