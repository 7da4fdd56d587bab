// coreextensionmgr_test.cpp - finding extensions by kind and name, first added wins,
// kinds kept apart, and extension libraries loaded, refused and unloaded.
#include "plugins/plugintesting.h"
#include "std/testutil.h"

using namespace qortest;
using qce::cAbstractCoreExtension;

namespace {

/// An encoder that remembers which extension made it and for which name.
class cNamedEnDec : public qucs::cEnDecUTF8
{
public:
    explicit cNamedEnDec(const std::string& sName) : msName(sName) {}
    std::string msName;
};

/// Supports the names it was given; counts the questions.
class cTestEnDecExtension : public qce::cAbstractEnDecExtension
{
public:
    cTestEnDecExtension(const char* pId, std::vector<std::string> oNames)
        : msId(pId), moNames(std::move(oNames))
    {
    }
    qstd::cAsciiString description() const override { return msId.c_str(); }
    const qstd::cBuildInfo& buildInfo() const override { return moBuildInfo; }
    bool supports(const qstd::cAsciiString& sName) const override
    {
        ++miAsked;
        for (const std::string& s : moNames)
            if (s == sName.c_str())
                return true;
        return false;
    }
    void provides(qstd::tVector<qstd::cAsciiString>& oNames) const override
    {
        for (const std::string& s : moNames)
            oNames.append(qstd::cAsciiString(s.c_str()));
    }
    qstd::tAutoPtr<qucs::cAbstractEnDec> createEnDec(const qstd::cAsciiString& sName) const override
    {
        return qstd::tAutoPtr<qucs::cAbstractEnDec>(new cNamedEnDec(msId + ":" + sName.c_str()));
    }

    std::string msId;
    std::vector<std::string> moNames;
    mutable int miAsked = 0;
    qstd::cBuildInfo moBuildInfo;
};

/// A serializer extension that supports everything and records its calls.
class cTestSAExtension : public qce::cAbstractSAExtension
{
public:
    qstd::cAsciiString description() const override { return "sa"; }
    const qstd::cBuildInfo& buildInfo() const override { return moBuildInfo; }
    bool supports(const qstd::cAsciiString&) const override { return ++miAsked, true; }
    qstd::tAutoPtr<qsa::cAbstractSerializer>
    createSerializer(const qstd::cAsciiString& sType,
                     const qstd::cAsciiString& sArgument) const override
    {
        msCalls += std::string("ser ") + sType.c_str() + " " + sArgument.c_str() + ";";
        return qstd::tAutoPtr<qsa::cAbstractSerializer>();
    }
    qstd::tAutoPtr<qsa::cAbstractDeserializer>
    createDeserializer(const qstd::cAsciiString& sType,
                       const qstd::tConstArrayRef<char>& oData) const override
    {
        msCalls += std::string("des ") + sType.c_str() + " " + std::to_string(oData.size()) + ";";
        return qstd::tAutoPtr<qsa::cAbstractDeserializer>();
    }
    qstd::tAutoPtr<qsa::cAbstractDeserializer>
    createDeserializer(const qstd::cAsciiString& sType, const qucs::cString& sSource) const override
    {
        msCalls += std::string("des ") + sType.c_str() + " " + sSource.ascii('?').c_str() + ";";
        return qstd::tAutoPtr<qsa::cAbstractDeserializer>();
    }

    mutable std::string msCalls;
    mutable int miAsked = 0;
    qstd::cBuildInfo moBuildInfo;
};

/// Claims to be an encoder extension while it is not one.
class cLyingExtension : public cTestSAExtension
{
public:
    ExtensionType extensionType() const override { return EnDecExtension; }
};

template <class T> T* added(qce::cCoreExtensionMgr& oManager, T* p)
{
    oManager.add(qstd::tAutoPtr<cAbstractCoreExtension>(p));
    return p;
}

std::string madeBy(const qstd::tAutoPtr<qucs::cAbstractEnDec>& p)
{
    const cNamedEnDec* pNamed = dynamic_cast<const cNamedEnDec*>(p.get());
    return pNamed ? pNamed->msName : "?";
}

} // namespace

TEST(CoreExtensionMgr, WithoutExtensionsEveryKindIsUnsupported)
{
    qce::cCoreExtensionMgr oManager;
    qce::cUnsupportedExtensionException e =
        expectThrow<qce::cUnsupportedExtensionException>([&] { oManager.createEnDec("utf8"); });
    EXPECT_EQ(std::string("Encoder / Decoder"), e.className().c_str());
    EXPECT_EQ(std::string("utf8"), e.extensionName().c_str());
    EXPECT_FALSE(e.otherExtensionsFound());
    EXPECT_EQ("No Encoder / Decoder of type \"utf8\" found!", messageOf(e));

    e = expectThrow<qce::cUnsupportedExtensionException>(
        [&] { oManager.createSerializer("Binary", "x"); });
    EXPECT_EQ("No serializer of type \"Binary\" found!", messageOf(e));
    e = expectThrow<qce::cUnsupportedExtensionException>(
        [&] { oManager.createNetAddress("TcpIpv4"); });
    EXPECT_EQ("No netwok address of type \"TcpIpv4\" found!", messageOf(e));

    // The copy keeps every field; swap exchanges them.
    qstd::tAutoPtr<qstd::cAbstractException> pCopy(e.createObject());
    auto* pTyped = dynamic_cast<qce::cUnsupportedExtensionException*>(pCopy.get());
    ASSERT_NE(nullptr, pTyped);
    EXPECT_EQ(std::string("cUnsupportedExtensionException"), pTyped->typeName().c_str());
    EXPECT_EQ(std::string("TcpIpv4"), pTyped->extensionName().c_str());
    qce::cUnsupportedExtensionException oOther("serializer", "abc", true);
    oOther.swap(*pTyped);
    EXPECT_EQ(std::string("TcpIpv4"), oOther.extensionName().c_str());
    EXPECT_FALSE(oOther.otherExtensionsFound());
    EXPECT_EQ("No netwok address of type \"TcpIpv4\" found!", messageOf(oOther));
    EXPECT_TRUE(pTyped->otherExtensionsFound());
    EXPECT_EQ("No serializer of type \"abc\" found!", messageOf(*pTyped));
}

TEST(CoreExtensionMgr, NamesAreAskedInUpperCaseAndTheFirstAddedWins)
{
    qce::cCoreExtensionMgr oManager;
    added(oManager, new cTestEnDecExtension("first", {"UTF8"}));
    cTestEnDecExtension* pSecond =
        added(oManager, new cTestEnDecExtension("second", {"UTF8", "LATIN1"}));
    EXPECT_EQ("first:UTF8", madeBy(oManager.createEnDec("utf8")));
    EXPECT_EQ("second:LATIN1", madeBy(oManager.createEnDec("Latin1")));
    EXPECT_EQ(1, pSecond->miAsked); // only when the first did not support the name

    qce::cUnsupportedExtensionException e =
        expectThrow<qce::cUnsupportedExtensionException>([&] { oManager.createEnDec("ebcdic"); });
    EXPECT_TRUE(e.otherExtensionsFound());
    EXPECT_EQ(std::string("ebcdic"), e.extensionName().c_str());

    // provides() appends, never clears, and only for the kind asked.
    qstd::tVector<qstd::cAsciiString> oNames;
    oManager.provides(cAbstractCoreExtension::EnDecExtension, oNames);
    oManager.provides(cAbstractCoreExtension::EnDecExtension, oNames);
    EXPECT_EQ(6u, oNames.size());
    oManager.provides(cAbstractCoreExtension::SAExtension, oNames);
    EXPECT_EQ(6u, oNames.size());
}

TEST(CoreExtensionMgr, ExtensionsOfOtherKindsAreNeitherAskedNorUsed)
{
    qce::cCoreExtensionMgr oManager;
    cTestSAExtension* pSA = added(oManager, new cTestSAExtension);
    qce::cUnsupportedExtensionException e =
        expectThrow<qce::cUnsupportedExtensionException>([&] { oManager.createEnDec("utf8"); });
    EXPECT_FALSE(e.otherExtensionsFound());
    EXPECT_EQ(0, pSA->miAsked);
    e = expectThrow<qce::cUnsupportedExtensionException>([&] { oManager.createNetAddress("Tcp"); });
    EXPECT_FALSE(e.otherExtensionsFound());

    // The serializer factories pass type and argument on unchanged.
    oManager.createSerializer("Binary", "arg");
    qstd::tArray<char> oData("abc", 3);
    oManager.createDeserializer("binary", qstd::tConstArrayRef<char>(oData));
    oManager.createDeserializer("Binary", qucs::cString("src"));
    EXPECT_EQ("ser Binary arg;des binary 3;des Binary src;", pSA->msCalls);

    // A generic extension of the kind counts as present but never serves.
    added(oManager, new qce::cGenericExtension("generic", cAbstractCoreExtension::EnDecExtension));
    e = expectThrow<qce::cUnsupportedExtensionException>([&] { oManager.createEnDec("utf8"); });
    EXPECT_TRUE(e.otherExtensionsFound());

    // An extension that claims a kind whose class it does not have fails the check.
    added(oManager, new cLyingExtension);
    qstd::cBugException oBug = expectThrow<qstd::cBugException>([&] { oManager.createEnDec("x"); });
    EXPECT_NE(std::string::npos, messageOf(oBug).find("(p != 0)")) << messageOf(oBug);
}

TEST(CoreExtensionMgr, LoadsAnExtensionLibraryAndUnloadsItOnClear)
{
    const std::string sPath = modulePath("testencoder");
    qce::cCoreExtensionMgr oManager;
    EXPECT_TRUE(oManager.has(ucs(std::string(QOR_TEST_MODULE_DIR) + "/testencoder")));
    EXPECT_FALSE(isLoaded(sPath)); // has() loads nothing
    EXPECT_FALSE(oManager.has(ucs(std::string(QOR_TEST_MODULE_DIR) + "/nosuchextension")));

    const cAbstractCoreExtension& oExtension = oManager.load(ucs(sPath));
    EXPECT_EQ(cAbstractCoreExtension::EnDecExtension, oExtension.extensionType());
    EXPECT_EQ(std::string("test encoder"), oExtension.description().c_str());
    ASSERT_EQ(1u, oManager.extensions().count());
    EXPECT_EQ(std::string("encoder"),
              (*oManager.extensions().begin())->plugIn()->pluginTypeName().c_str());
    {
        qstd::tAutoPtr<qucs::cAbstractEnDec> pEnDec = oManager.createEnDec("testcode");
        EXPECT_NE(nullptr, pEnDec.get());
    }
    qstd::tVector<qstd::cAsciiString> oNames;
    oManager.provides(cAbstractCoreExtension::EnDecExtension, oNames);
    ASSERT_EQ(1u, oNames.size());
    EXPECT_EQ(std::string("TESTCODE"), oNames[0].c_str());

    moduleEvents().clear();
    observeModule(sPath);
    oManager.clear();
    EXPECT_EQ((std::vector<std::string>{"plug-in deleted", "library unloaded"}), moduleEvents());
    EXPECT_TRUE(oManager.extensions().empty());
    EXPECT_FALSE(isLoaded(sPath));
    moduleEvents().clear();
}

TEST(CoreExtensionMgr, LibrariesWithoutExtensionAreRefusedAndClosed)
{
    qce::cCoreExtensionMgr oManager;
    cFlatCheck oFlat;
    qsa::cReferenceFrame oFrame;
    qstd::cRuntimeException e = expectThrow<qstd::cRuntimeException>(
        [&] { oManager.load(qstd::cAsciiString(modulePath("testplugin").c_str()), oFrame); });
    EXPECT_EQ("Module (\"" + modulePath("testplugin") +
                  "\") does not provide core extension functionality.",
              messageOf(e));
    EXPECT_THROW(oManager.load(ucs(modulePath("testnomoduleversion"))), qcs::cModuleLoadException);
    EXPECT_THROW(oManager.load(ucs(modulePath("testemptyplugin"))), qcs::cModuleLoadException);
    EXPECT_TRUE(oManager.extensions().empty());
    EXPECT_FALSE(isLoaded(modulePath("testplugin")));
    oFlat.expectUnchanged();
}

TEST(CoreExtensionMgr, GenericPlugInStaysListedButServesNothing)
{
    qce::cCoreExtensionMgr oManager;
    const cAbstractCoreExtension& oExtension = oManager.load(ucs(modulePath("testgeneric")));
    EXPECT_EQ(std::string("generic test extension"), oExtension.description().c_str());
    EXPECT_EQ(cAbstractCoreExtension::EnDecExtension, oExtension.extensionType());
    EXPECT_EQ(1u, oManager.extensions().count());
    qce::cUnsupportedExtensionException e =
        expectThrow<qce::cUnsupportedExtensionException>([&] { oManager.createEnDec("utf8"); });
    EXPECT_TRUE(e.otherExtensionsFound());
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
