// platform_test.cpp - the platform queries, the naming rules of shared objects and the
// life cycle of the system object.
#include "std/testutil.h"
#include "qor_core/qor_core.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

using namespace qortest;

namespace {

std::string soName(const char* pName)
{
    qucs::cString sName(pName);
    qpi::cPlatform().createPlatformInfo()->osSpecificSOName(sName);
    return sName.ascii('?').c_str();
}

} // namespace

TEST(Platform, EnvironmentQueriesFallBackWhenVariablesAreMissing)
{
    qpi::cPlatform oPlatform;
    std::string sUser = oPlatform.getEnv("USER").c_str(), sHome = oPlatform.getEnv("HOME").c_str();
    unsetenv("USER");
    unsetenv("HOME");
    EXPECT_EQ(std::string("unknown"), oPlatform.userName().c_str());
    EXPECT_TRUE(oPlatform.homeDirectory().empty());
    EXPECT_TRUE(oPlatform.getEnv("USER").empty());
    setenv("USER", "alice", 1);
    setenv("HOME", "/home/j\xc3\xb6rg", 1); // decoded as UTF-8
    EXPECT_EQ(std::string("alice"), oPlatform.userName().c_str());
    ASSERT_EQ(10u, oPlatform.homeDirectory().length());
    EXPECT_EQ(0xf6u, oPlatform.homeDirectory()[7]);
    setenv("USER", sUser.c_str(), 1);
    setenv("HOME", sHome.c_str(), 1);
    EXPECT_EQ(std::string("/"), oPlatform.osDirectory().ascii('?').c_str());
    EXPECT_EQ(std::string("/usr/local/"), oPlatform.applicationsDirectory().ascii('?').c_str());
    EXPECT_EQ('/', oPlatform.osSpecificPathDelimiter());
    EXPECT_EQ(unsigned(getpid()), oPlatform.pid());
    EXPECT_EQ(std::string(std::strerror(ENOENT)), oPlatform.osFileIOErrorString(ENOENT).c_str());
    char cHost[1025] = {};
    gethostname(cHost, 1024);
    EXPECT_EQ(std::string(cHost), oPlatform.hostname().c_str());
}

TEST(Platform, SharedObjectNamesGetPrefixAndExtensionOnce)
{
    qstd::tAutoPtr<qpi::cAbstractPlatformInfo> pInfo = qpi::cPlatform().createPlatformInfo();
    EXPECT_EQ(std::string("Linux"), pInfo->platformName().c_str());
    EXPECT_EQ(std::string("lib"), pInfo->osSharedObjectFilePrefix().c_str());
    EXPECT_EQ(std::string(".so"), pInfo->osSharedObjectFileExtension().c_str());
    EXPECT_TRUE(pInfo->osSharedObjectFileSuffix().empty());
    EXPECT_TRUE(pInfo->osAppFileExtension().empty());

    EXPECT_EQ("libnet.so", soName("net"));
    EXPECT_EQ("libnet.so", soName("libnet"));
    EXPECT_EQ("libnet.so", soName("libnet.so"));
    EXPECT_EQ("/opt/m/libx.so", soName("/opt/m/libx.so"));
    EXPECT_EQ("/opt/m/libx.so", soName("/opt/m/x"));
    // The directory part is left alone, also when it begins with "lib".
    EXPECT_EQ("lib/libx.so", soName("lib/x"));
}

TEST(System, CleanupThenSystemBuildsEverythingAnew)
{
    qpi::cSystem& oFirst = qpi::system();
    EXPECT_EQ(&oFirst, &qpi::system());
    qpi::cWorkQueue* pQueue = &oFirst.workQueue();
    // A work the queue owns stays behind in the old queue.
    pQueue->createJob();
    ASSERT_EQ(1u, pQueue->jobs().count());
    qce::cCoreExtensionMgr& oExtensions = oFirst.coreExtensions();
    oExtensions.add(qstd::tAutoPtr<qce::cAbstractCoreExtension>(new qce::cGenericExtension(
        "kept until cleanup", qce::cAbstractCoreExtension::SAExtension)));
    qcs::cAbstractQORApp oApp;
    oFirst.setApp(&oApp);
    EXPECT_EQ(&oApp, &qpi::system().app());

    qpi::cSystem::cleanup();
    qpi::cSystem& oSecond = qpi::system();
    EXPECT_TRUE(oSecond.coreExtensions().extensions().empty());
    EXPECT_EQ(0u, oSecond.workQueue().jobs().count());
    EXPECT_NE(nullptr, oSecond.workQueue().events());
    // No application object survives.
    qstd::cBugException e = expectThrow<qstd::cBugException>([&] { oSecond.app(); });
    EXPECT_EQ("No application object set!", messageOf(e));
    // The new system works.
    oSecond.exec();
    EXPECT_EQ(10u, oSecond.defaults().moNumberFormat.base());
}
