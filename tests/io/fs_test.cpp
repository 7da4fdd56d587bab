// fs_test.cpp - qio::cFs, qio::cProxyFs and the native file-system operations.
#include "iotesting.h"

#include <fcntl.h>
#include <sys/stat.h>

using namespace qortest;

namespace {

/// A file system that records the paths it is asked about. It claims the paths
/// below its prefix (rewriting them to what follows the prefix), and the empty path
/// only when bClaimEmpty is set.
class cRecordingFs : public qio::cAbstractFsImpl
{
public:
    cRecordingFs(const qio::cFs& oFs, const char* pPrefix, bool bClaimEmpty,
                 std::vector<std::string>& oLog)
        : qio::cAbstractFsImpl(oFs), msPrefix(pPrefix), mbClaimEmpty(bClaimEmpty), moLog(oLog)
    {
    }
    ~cRecordingFs() override { moLog.push_back("deleted " + msPrefix); }

    bool matches(qucs::cString& sPath, Operation) override
    {
        if (sPath.empty())
            return mbClaimEmpty;
        std::string s = text(sPath);
        if (msPrefix.empty() || s.compare(0, msPrefix.size(), msPrefix) != 0)
            return false;
        sPath = str(s.substr(msPrefix.size()));
        return true;
    }
    bool isUsed() const override { return mbUsed; }

    bool exists(const qucs::cString& sPath, bool, qstd::cDateTime*,
                qio::cFileInfoFlags::TimeStamp) const override
    {
        moLog.push_back(msPrefix + " exists " + text(sPath));
        return true;
    }
    void remove(const qucs::cString& sPath) override { log("remove", sPath); }
    qio::cPath cwd() const override
    {
        moLog.push_back(msPrefix + " cwd");
        return qio::cPath("/cwd/");
    }
    void mkdir(const qucs::cString& sPath) override { log("mkdir", sPath); }
    void rename(const qucs::cString& sFrom, const qucs::cString& sTo) override
    {
        moLog.push_back(msPrefix + " rename " + text(sFrom) + " " + text(sTo));
    }
    bool supportsSymLinks() const override { return false; }
    void createSymLink(const qucs::cString& sTarget, const qucs::cString&) override
    {
        log("symlink", sTarget);
    }
    void setPermissions(const qucs::cString& sPath, const qio::cPermissions&, bool) override
    {
        log("chmod", sPath);
    }
    qstd::tAutoPtr<qio::cAbstractDirImpl> createDirImpl(const qio::cFs&, const qucs::cString&,
                                                        int) const override
    {
        return qstd::tAutoPtr<qio::cAbstractDirImpl>();
    }
    qstd::tAutoPtr<qio::cAbstractFileInfoImpl>
    createFileInfoImpl(const qio::cFs&, const qucs::cString&) const override
    {
        return qstd::tAutoPtr<qio::cAbstractFileInfoImpl>();
    }
    qstd::tAutoPtr<qio::cAbstractFileImpl> createFileImpl(const qio::cFs&,
                                                          qio::cAbstractIOBlockDevice&,
                                                          const qucs::cString&) const override
    {
        return qstd::tAutoPtr<qio::cAbstractFileImpl>();
    }

    bool mbUsed = false;

private:
    void log(const char* pOperation, const qucs::cString& sPath)
    {
        moLog.push_back(msPrefix + " " + pOperation + " " + text(sPath));
    }
    std::string msPrefix;
    bool mbClaimEmpty;
    std::vector<std::string>& moLog;
};

/// A handle on a new proxy.
qio::cFs proxyFs()
{
    qio::cFs oFs;
    oFs.setImpl(qstd::tAutoPtr<qio::cAbstractFsImpl>(new qio::cProxyFs(oFs)));
    return oFs;
}

qio::cProxyFs& proxyOf(const qio::cFs& oFs)
{
    return dynamic_cast<qio::cProxyFs&>(oFs.impl());
}

} // namespace

TEST(ProxyFs, WithoutFileSystems)
{
    qio::cFs oFs = proxyFs();
    EXPECT_EQ(std::vector<std::string>{"ProxyFs has not valid filesystems!"},
              failureOf([&] { oFs.cwd(); }));
    EXPECT_EQ(
        std::vector<std::string>{
            "ProxyFs has not valid filesystem for /x and no registered filesystems at all!"},
        failureOf([&] { oFs.mkdir("/x"); }));
    EXPECT_THROW(proxyOf(oFs).nativeFs(), qstd::cBugException);
    EXPECT_EQ(std::vector<std::string>{"Bind / unbind not supported for filesystem "
                                       "implementation!"},
              failureOf([] { qio::cFs().unbind("/"); }));
}

TEST(ProxyFs, SelectsByPathAndBindingOrder)
{
    std::vector<std::string> oLog;
    {
        qio::cFs oFs = proxyFs();
        oFs.bind(qstd::tAutoPtr<qio::cAbstractFsImpl>(new cRecordingFs(oFs, "", true, oLog)));
        oFs.bind(qstd::tAutoPtr<qio::cAbstractFsImpl>(new cRecordingFs(oFs, "/m", false, oLog)));
        EXPECT_EQ(1u, proxyOf(oFs).boundCount()) << "the first became the native one";
        oFs.mkdir("/m/a");
        oFs.mkdir("/other");
        oFs.rename("/m/x", "/m/y");
        EXPECT_EQ(std::vector<std::string>{"Rename across filesystem boundaries is not supported "
                                           "(/m/x -> /elsewhere"},
                  failureOf([&] { oFs.rename("/m/x", "/elsewhere"); }));
        EXPECT_THROW(oFs.createSymLink("/m/t", "/l"), qstd::cRuntimeException);
        oFs.cwd();
        EXPECT_EQ(
            (std::vector<std::string>{"/m mkdir /a", " mkdir /other", "/m rename /x /y", " cwd"}),
            oLog);

        // A second file system that claims the empty path now goes in front of the
        // native one, for everything.
        oFs.bind(qstd::tAutoPtr<qio::cAbstractFsImpl>(new cRecordingFs(oFs, "", true, oLog)));
        oLog.clear();
        oFs.cwd();
        EXPECT_EQ(std::vector<std::string>{" cwd"}, oLog);
        EXPECT_EQ(2u, proxyOf(oFs).boundCount());
        oLog.clear();
    }
    EXPECT_EQ(3u, oLog.size()) << "the proxy deletes what is bound to it";
}

TEST(ProxyFs, UnbindRefusesFileSystemsInUse)
{
    std::vector<std::string> oLog;
    qio::cFs oFs = proxyFs();
    auto* pNative = new cRecordingFs(oFs, "", true, oLog);
    pNative->mbUsed = true;
    oFs.bind(qstd::tAutoPtr<qio::cAbstractFsImpl>(pNative));
    auto* pMounted = new cRecordingFs(oFs, "/m", false, oLog);
    pMounted->mbUsed = true;
    oFs.bind(qstd::tAutoPtr<qio::cAbstractFsImpl>(pMounted));
    EXPECT_EQ(std::vector<std::string>{"Filesystem (/m/) is in use!"},
              failureOf([&] { oFs.unbind("/m/"); }));
    EXPECT_EQ(1u, proxyOf(oFs).boundCount());
    oFs.mkdir("/m/still");
    EXPECT_EQ("/m mkdir /still", oLog.back());
    pMounted->mbUsed = false;
    oFs.unbind("/m/");
    EXPECT_EQ(0u, proxyOf(oFs).boundCount());
    EXPECT_EQ("deleted /m", oLog.back());

    EXPECT_EQ(std::vector<std::string>{"Native filesystem  is in use!"},
              failureOf([&] { oFs.unbind(""); }));
    pNative->mbUsed = false;
    oFs.unbind("");
    EXPECT_EQ("deleted ", oLog.back());
    EXPECT_THROW(oFs.cwd(), qstd::cBugException);
}

class NativeFs : public cScratchTest
{
};

TEST_F(NativeFs, CreatePathAndItsFailure)
{
    qio::cFs oFs;
    oFs.createPath(qio::cPath(qpath("a/b/c")));
    EXPECT_TRUE(qio::cPath(qpath("a/b/c")).exists());
    oFs.createPath(qio::cPath(qpath("a/b/c"))); // nothing missing: nothing to do

    writeAll(path("f"), "x");
    std::vector<std::string> oChain = failureOf([&] { oFs.createPath(qio::cPath(qpath("f/g"))); });
    ASSERT_EQ(2u, oChain.size());
    EXPECT_EQ("Unable to remove file " + path("f/g/") + "!", oChain[0]);
    EXPECT_EQ("Item \"" + path("f/") + "\" is not a directory!", oChain[1]);

    EXPECT_TRUE(oFs.fileExists(qpath("f")));
    EXPECT_FALSE(oFs.fileExists(qpath("a")));
    EXPECT_FALSE(oFs.fileExists(qpath("missing")));
    EXPECT_EQ(path("f"), text(oFs.tryFindInPath(qio::cPath(msDir.c_str()), "f")));
    EXPECT_EQ("", text(oFs.tryFindInPath(qio::cPath(msDir.c_str()), "a")));
}

TEST_F(NativeFs, OperationsReportTheCallAndErrno)
{
    qio::cFs oFs;
    EXPECT_EQ(std::make_pair(std::string("mkdir"), ENOENT),
              osErrorOf([&] { oFs.mkdir(qpath("no/such")); }));
    EXPECT_EQ(std::make_pair(std::string("rename"), ENOENT),
              osErrorOf([&] { oFs.rename(qpath("no"), qpath("yes")); }));
    oFs.remove(qpath("missing")); // silent
    oFs.mkdir(qpath("d"));
    writeAll(path("d/f"), "x");
    EXPECT_EQ(std::make_pair(std::string("unlink"), ENOTEMPTY),
              osErrorOf([&] { oFs.remove(qpath("d")); }));
    oFs.createSymLink("d", qpath("link"));
    EXPECT_EQ(std::make_pair(std::string("symlink"), EEXIST),
              osErrorOf([&] { oFs.createSymLink("d", qpath("link")); }));
    oFs.remove(qpath("link")); // the link, not the directory
    EXPECT_TRUE(oFs.exists(qpath("d/f")));

    oFs.setPermissions(qpath("d/f"), qio::cPermissions(qio::cPermissions::OwnerRead |
                                                       qio::cPermissions::GroupExecute |
                                                       qio::cPermissions::Sticky));
    struct stat oStat;
    ASSERT_EQ(0, stat(path("d/f").c_str(), &oStat));
    EXPECT_EQ(unsigned(S_IRUSR | S_IXGRP | S_ISVTX), unsigned(oStat.st_mode & 07777));
    qio::cPermissions oRead = oFs.fileInfo(qpath("d/f")).permissions();
    EXPECT_TRUE(oRead.isReadable());
    EXPECT_TRUE(oRead.isExecutable());
    EXPECT_FALSE(oRead.isWriteable());

    qstd::cDateTime oTime;
    EXPECT_TRUE(oFs.exists(qpath("d/f"), true, &oTime));
    EXPECT_EQ((unsigned long long)oStat.st_mtime, oTime.utcTime().toSec());
}

TEST_F(NativeFs, PathsWithZeroCharactersAreRefused)
{
    qio::cFs oFs;
    writeAll(path("victim"), "keep");
    ASSERT_EQ(0, mkdir(path("dir").c_str(), 0777));
    qucs::cString sFile = qpath("victim");
    sFile += 0u;
    sFile.appendC("tail");
    qucs::cString sDir = qpath("dir");
    sDir += 0u;
    const std::string sRefused =
        "Invalid path \"" + path("victim") + "\\0tail\": it contains a zero character!";
    EXPECT_EQ(sRefused, failureOf([&] { oFs.exists(sFile); }).at(0));
    EXPECT_EQ(sRefused, failureOf([&] { oFs.remove(sFile); }).at(0));
    EXPECT_EQ(sRefused, failureOf([&] { oFs.fileInfo(sFile); }).at(0));
    EXPECT_EQ(sRefused, failureOf([&] { oFs.rename(sFile, qpath("x")); }).at(0));
    EXPECT_EQ(sRefused, failureOf([&] { oFs.createSymLink(qpath("t"), sFile); }).at(0));
    EXPECT_EQ(sRefused, failureOf([&] { oFs.setPermissions(sFile, qio::cPermissions()); }).at(0));
    std::vector<std::string> oOpen = failureOf(
        [&] { qio::cFile(oFs, sFile, qio::ReadWrite, qio::CreateIfMissing, qio::Truncate); });
    ASSERT_EQ(2u, oOpen.size());
    EXPECT_EQ(sRefused, oOpen[1]);
    EXPECT_THROW(oFs.removeRecursive(sDir), qstd::cRuntimeException);
    EXPECT_THROW(oFs.openDir(sDir), qstd::cRuntimeException);
    EXPECT_THROW(oFs.mkdir(sDir + qucs::cString("x")), qstd::cRuntimeException);
    EXPECT_EQ("keep", readAll(path("victim")));
    EXPECT_TRUE(std::filesystem::is_directory(path("dir")));
    EXPECT_FALSE(std::filesystem::exists(path("x")));
}

TEST_F(NativeFs, HandlesOutliveTheFileSystemTheyCameFrom)
{
    writeAll(path("f"), "12345");
    qio::cFileInfo oInfo = qio::cFs().fileInfo(qpath("f"));
    qio::cFile oFile = qio::cFs().fileOpenRead(qpath("f"));
    EXPECT_EQ(5u, oInfo.size());
    EXPECT_EQ(5u, oFile.size());
    qio::cFs oCopy;
    {
        qio::cFs oOriginal;
        oCopy = oOriginal;
    }
    EXPECT_TRUE(oCopy.exists(qpath("f")));
    EXPECT_TRUE(oCopy.impl().fs().exists(qpath("f")));
}
