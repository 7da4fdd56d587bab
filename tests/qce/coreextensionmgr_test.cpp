// coreextensionmgr_test.cpp - finding extensions by kind and name, first added wins,
// kinds kept apart, and extension libraries loaded, refused and unloaded.
#include "plugins/plugintesting.h"
#include "std/testutil.h"

#include <algorithm>

using namespace qortest;
using qce::cAbstractCoreExtension;

namespace {

/// Supports the names it was given; what it makes is named "<id>:<name asked>".
/// Claims whatever kind it is told, to test that the search keeps kinds apart.
class cTestExtension : public qce::cAbstractEnDecExtension
{
public:
    cTestExtension(const char* pId, std::vector<std::string> oNames,
                   ExtensionType eType = EnDecExtension)
        : msId(pId), moNames(std::move(oNames)), meType(eType)
    {
    }
    ExtensionType extensionType() const override { return meType; }
    qstd::cAsciiString description() const override { return msId.c_str(); }
    const qstd::cBuildInfo& buildInfo() const override { return moBuildInfo; }
    bool supports(const qstd::cAsciiString& sName) const override
    {
        ++miAsked;
        return std::find(moNames.begin(), moNames.end(), sName.c_str()) != moNames.end();
    }
    void provides(qstd::tVector<qstd::cAsciiString>& oNames) const override
    {
        for (const std::string& s : moNames)
            oNames.append(qstd::cAsciiString(s.c_str()));
    }
    qstd::tAutoPtr<qucs::cAbstractEnDec> createEnDec(const qstd::cAsciiString& sName) const override
    {
        msMade = msId + ":" + sName.c_str();
        return qstd::tAutoPtr<qucs::cAbstractEnDec>(new qucs::cEnDecUTF8);
    }

    std::string msId;
    std::vector<std::string> moNames;
    ExtensionType meType;
    qstd::cBuildInfo moBuildInfo;
    mutable int miAsked = 0;
    static inline std::string msMade;
};

cTestExtension* add(qce::cCoreExtensionMgr& oManager, cTestExtension* p)
{
    oManager.add(qstd::tAutoPtr<cAbstractCoreExtension>(p));
    return p;
}

qce::cUnsupportedExtensionException unsupported(const std::function<void()>& fCall)
{
    return expectThrow<qce::cUnsupportedExtensionException>(fCall);
}

} // namespace

TEST(CoreExtensionMgr, UnsupportedNamesNameTheKindAndTheRequest)
{
    qce::cCoreExtensionMgr oManager;
    qce::cUnsupportedExtensionException e = unsupported([&] { oManager.createEnDec("utf8"); });
    EXPECT_EQ(std::string("Encoder / Decoder"), e.className().c_str());
    EXPECT_EQ(std::string("utf8"), e.extensionName().c_str());
    EXPECT_FALSE(e.otherExtensionsFound());
    EXPECT_EQ("No Encoder / Decoder of type \"utf8\" found!", messageOf(e));
    e = unsupported([&] { oManager.createSerializer("Binary", "x"); });
    EXPECT_EQ("No serializer of type \"Binary\" found!", messageOf(e));
    e = unsupported([&] { oManager.createNetAddress("TcpIpv4"); });
    EXPECT_EQ("No netwok address of type \"TcpIpv4\" found!", messageOf(e));

    // Copies keep every field; swap exchanges them.
    qstd::tAutoPtr<qstd::cAbstractException> pCopy(e.createObject());
    auto& oCopy = dynamic_cast<qce::cUnsupportedExtensionException&>(*pCopy);
    qce::cUnsupportedExtensionException oOther("serializer", "abc", true);
    oOther.swap(oCopy);
    EXPECT_EQ("No netwok address of type \"TcpIpv4\" found!", messageOf(oOther));
    EXPECT_FALSE(oOther.otherExtensionsFound());
    EXPECT_EQ(std::string("abc"), oCopy.extensionName().c_str());
    EXPECT_TRUE(oCopy.otherExtensionsFound());
}

TEST(CoreExtensionMgr, NamesAreAskedInUpperCaseAndTheFirstAddedWins)
{
    qce::cCoreExtensionMgr oManager;
    add(oManager, new cTestExtension("first", {"UTF8"}));
    cTestExtension* pSecond = add(oManager, new cTestExtension("second", {"UTF8", "LATIN1"}));
    oManager.createEnDec("utf8");
    EXPECT_EQ("first:UTF8", cTestExtension::msMade);
    EXPECT_EQ(0, pSecond->miAsked);
    oManager.createEnDec("Latin1");
    EXPECT_EQ("second:LATIN1", cTestExtension::msMade);
    qce::cUnsupportedExtensionException e = unsupported([&] { oManager.createEnDec("ebcdic"); });
    EXPECT_TRUE(e.otherExtensionsFound());

    // provides() appends, never clears, and only for the kind asked.
    qstd::tVector<qstd::cAsciiString> oNames;
    oManager.provides(cAbstractCoreExtension::EnDecExtension, oNames);
    oManager.provides(cAbstractCoreExtension::EnDecExtension, oNames);
    oManager.provides(cAbstractCoreExtension::SAExtension, oNames);
    EXPECT_EQ(6u, oNames.size());
}

TEST(CoreExtensionMgr, ExtensionsOfOtherKindsAreNeitherAskedNorCast)
{
    qce::cCoreExtensionMgr oManager;
    // A serializer extension that supports the name must not serve an encoder request.
    cTestExtension* pOther =
        add(oManager, new cTestExtension("sa", {"UTF8"}, cAbstractCoreExtension::SAExtension));
    EXPECT_FALSE(unsupported([&] { oManager.createEnDec("utf8"); }).otherExtensionsFound());
    EXPECT_EQ(0, pOther->miAsked);
    // A generic extension of the kind counts as present but never serves.
    oManager.add(qstd::tAutoPtr<cAbstractCoreExtension>(
        new qce::cGenericExtension("generic", cAbstractCoreExtension::EnDecExtension)));
    EXPECT_TRUE(unsupported([&] { oManager.createEnDec("utf8"); }).otherExtensionsFound());
    // One that claims the serializer kind without being of its class fails the check.
    qstd::cBugException e =
        expectThrow<qstd::cBugException>([&] { oManager.createSerializer("UTF8", ""); });
    EXPECT_NE(std::string::npos, messageOf(e).find("(p != 0)")) << messageOf(e);
}

TEST(CoreExtensionMgr, LoadsAnExtensionLibraryAndUnloadsItOnClear)
{
    const std::string sPath = modulePath("testencoder");
    const std::string sBase = std::string(QOR_TEST_MODULE_DIR) + "/testencoder";
    qce::cCoreExtensionMgr oManager;
    EXPECT_TRUE(oManager.has(ucs(sBase)));
    EXPECT_FALSE(oManager.has(ucs(sBase + "x")));
    EXPECT_FALSE(isLoaded(sPath)); // has() loads nothing

    qsa::cReferenceFrame oFrame;
    const cAbstractCoreExtension& oExtension =
        oManager.load(qstd::cAsciiString(sBase.c_str()), oFrame);
    EXPECT_EQ(std::string("test encoder"), oExtension.description().c_str());
    EXPECT_EQ(&oExtension, &(*oManager.extensions().begin())->extension());
    EXPECT_NE(nullptr, oManager.createEnDec("testcode").get());
    qstd::tVector<qstd::cAsciiString> oNames;
    oManager.provides(cAbstractCoreExtension::EnDecExtension, oNames);
    ASSERT_EQ(1u, oNames.size());
    EXPECT_EQ(std::string("TESTCODE"), oNames[0].c_str());

    moduleEvents().clear();
    observeModule(sPath);
    oManager.clear();
    EXPECT_EQ((std::vector<std::string>{"plug-in deleted", "library unloaded"}), moduleEvents());
    EXPECT_TRUE(oManager.extensions().empty());
    moduleEvents().clear();
}

TEST(CoreExtensionMgr, LibrariesWithoutUsableExtensionLeaveNothingBehind)
{
    qce::cCoreExtensionMgr oManager;
    cFlatCheck oFlat;
    const std::string sPath = modulePath("testplugin");
    qstd::cRuntimeException e =
        expectThrow<qstd::cRuntimeException>([&] { oManager.load(ucs(sPath)); });
    EXPECT_EQ("Module (\"" + sPath + "\") does not provide core extension functionality.",
              messageOf(e));
    EXPECT_THROW(oManager.load(ucs(modulePath("testnomoduleversion"))), qcs::cModuleLoadException);
    EXPECT_THROW(oManager.load(ucs(modulePath("testemptyplugin"))), qcs::cModuleLoadException);
    EXPECT_TRUE(oManager.extensions().empty());
    oFlat.expectUnchanged();

    // A generic plug-in is listed, but serves nothing.
    EXPECT_EQ(std::string("generic test extension"),
              oManager.load(ucs(modulePath("testgeneric"))).description().c_str());
    EXPECT_TRUE(unsupported([&] { oManager.createEnDec("utf8"); }).otherExtensionsFound());
}

TEST(CoreExtensionMgr, SystemCleanupUnloadsTheSystemsExtensionLibraries)
{
    const std::string sPath = modulePath("testencoder");
    qpi::system().coreExtensions().load(ucs(sPath));
    EXPECT_TRUE(isLoaded(sPath));
    qpi::cSystem::cleanup();
    EXPECT_FALSE(isLoaded(sPath));
    EXPECT_TRUE(qpi::system().coreExtensions().extensions().empty());
}
