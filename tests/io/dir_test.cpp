// dir_test.cpp - qio::cFileInfo, qio::cDir, recursive removal, qio::cSearchPaths and
// qio::cFileWatch.
#include "iotesting.h"

#include <chrono>
#include <set>
#include <sys/stat.h>

using namespace qortest;
using qio::cFileInfo;

TEST(FileInfoNames, NameArithmetic)
{
    qio::cFs oFs;
    cFileInfo oInfo("/data/a.tar.gz", oFs);
    EXPECT_EQ("a.tar.gz", text(oInfo.fileName()));
    EXPECT_EQ("a", text(oInfo.fileBaseName()));
    EXPECT_EQ(".tar.gz", text(oInfo.fileExtension()));
    EXPECT_EQ("/data/", text(oInfo.pathComponent()));
    cFileInfo oDot("/data/.profile", oFs);
    EXPECT_EQ("", text(oDot.fileBaseName()));
    EXPECT_EQ(".profile", text(oDot.fileExtension()));
    EXPECT_EQ("/x/", text(cFileInfo("/x/data/../", oFs).path().path()));

    qucs::cString s("/x/y.txt");
    cFileInfo::setFileName(s, "z.txt");
    EXPECT_EQ("/x/z.txt", text(s));
    s = "/x/y.txt";
    cFileInfo::setFileName(s, "z.txt", true);
    EXPECT_EQ("/x/y.txt/z.txt", text(s));
    cFileInfo::setFileName(s, s); // its own text
    EXPECT_EQ("/x/y.txt//x/y.txt/z.txt", text(s));
    s = "/l/libm.so";
    cFileInfo::setFileNamePrefix(s, "lib");
    EXPECT_EQ("/l/libm.so", text(s));
    s = "/l/m.so";
    cFileInfo::setFileNamePrefix(s, "lib");
    EXPECT_EQ("/l/libm.so", text(s));
    cFileInfo::setFileNameSuffix(s, "_d");
    EXPECT_EQ("/l/libm_d.so", text(s));
    cFileInfo::setFileNameSuffix(s, "_d");
    EXPECT_EQ("/l/libm_d.so", text(s));
    cFileInfo::setFileNameExtension(s, "a");
    EXPECT_EQ("/l/libm_d.a", text(s));
    cFileInfo::setFilePath(s, "/usr/lib");
    EXPECT_EQ("/usr/lib/libm_d.a", text(s));
    s = "name";
    cFileInfo::setFilePath(s, "");
    EXPECT_EQ("name", text(s));
}

class Dir : public cScratchTest
{
};

TEST_F(Dir, ListingsAndIndependentCopies)
{
    for (const char* p : {"a", "b", "c"})
        writeAll(path(p), p);
    qio::cFs oFs;
    std::set<std::string> oNames;
    for (const qio::cDirInfo& oEntry : oFs.openDir(qpath(""), 3))
        oNames.insert(text(cFileInfo(oEntry, oFs).fileName()));
    EXPECT_EQ((std::set<std::string>{"a", "b", "c"}), oNames);
    oNames.clear();
    for (const qio::cDirInfo& oEntry : oFs.openDir(str(msDir), 0))
        oNames.insert(text(oEntry.fullPath()));
    EXPECT_EQ((std::set<std::string>{path("."), path(".."), path("a"), path("b"), path("c")}),
              oNames);

    qio::cDir oDir(oFs, str(msDir), qio::OmitDot | qio::OmitDotDot);
    oDir.setNext();
    qucs::cString sSecond = oDir.element();
    qio::cDir oCopy(oDir);
    EXPECT_TRUE(oCopy.element() == oDir.element());
    oCopy.setNext();
    EXPECT_FALSE(oCopy.element() == oDir.element());
    EXPECT_EQ(text(sSecond), text(oDir.element().fullPath())) << "the original did not move";
    oCopy.setNext();
    EXPECT_TRUE(oCopy.isEnd());
    EXPECT_FALSE(oDir.isEnd());
    qio::cDir oAtEnd(oCopy);
    EXPECT_TRUE(oAtEnd.isEnd());

    // Two iterations over one listing are independent.
    auto oList = oDir.list();
    auto it1 = oList.begin();
    auto it2 = oList.begin();
    ++it1;
    EXPECT_EQ(text(sSecond), text(it2->fullPath()));
    EXPECT_THROW(*oList.end(), qstd::cOutOfBoundsException);
    EXPECT_EQ(std::make_pair(std::string("opendir"), ENOENT),
              osErrorOf([&] { qio::cDir(oFs, qpath("none")); }));
}

TEST_F(Dir, RemoveRecursiveKeepsWhatLinksPointTo)
{
    qio::cFs oFs;
    oFs.createPath(qio::cPath(qpath("t/sub/deeper")));
    oFs.createPath(qio::cPath(qpath("keep")));
    writeAll(path("keep/precious"), "x");
    writeAll(path("t/sub/deeper/f"), "y");
    writeAll(path("t/f"), "z");
    oFs.createSymLink(qpath("keep"), qpath("t/sub/link"));
    oFs.createSymLink(qpath("nowhere"), qpath("t/dead"));
    oFs.removeRecursive(qpath("t"));
    EXPECT_FALSE(std::filesystem::exists(path("t")));
    EXPECT_EQ("x", readAll(path("keep/precious")));

    // A link given itself goes as a link unless following is asked for.
    oFs.createSymLink(qpath("keep"), qpath("l"));
    oFs.removeRecursive(qpath("l"));
    EXPECT_FALSE(std::filesystem::is_symlink(path("l")));
    EXPECT_TRUE(std::filesystem::exists(path("keep/precious")));

    oFs.removeRecursive(qpath("missing")); // nothing to do
    writeAll(path("file"), "f");
    oFs.removeRecursive(qpath("file"));
    EXPECT_FALSE(std::filesystem::exists(path("file")));

    // Paths that name the root are refused outright.
    EXPECT_EQ(std::vector<std::string>{"Invalid path \"/t/../../\"!"},
              failureOf([&] { oFs.removeRecursive("/t/../../"); }));
    EXPECT_THROW(oFs.removeRecursive("/"), qstd::cRuntimeException);
    // Climbing is resolved by the kernel, never into the root.
    oFs.createPath(qio::cPath(qpath("a/victim")));
    std::string sName = msDir.substr(msDir.rfind('/') + 1);
    oFs.removeRecursive(qpath("a/../../" + sName + "/a/victim"));
    EXPECT_FALSE(std::filesystem::exists(path("a/victim")));
    EXPECT_TRUE(std::filesystem::exists(path("a")));
}

TEST_F(Dir, LinksTypesAndHiddenEntries)
{
    qio::cFs oFs;
    writeAll(path(".profile"), "p");
    ASSERT_EQ(0, symlink("../x/target", path("rel").c_str()));
    ASSERT_EQ(0, symlink(path(".profile").c_str(), path("good").c_str()));
    cFileInfo oRel(qpath("rel"), oFs);
    EXPECT_EQ(5, oRel.type(false));
    EXPECT_TRUE(oRel.isSymLink());
    EXPECT_TRUE(oRel.isDeadSymLink());
    EXPECT_EQ("../x/target", text(oRel.readLink()));
    EXPECT_EQ(std::make_pair(std::string("stat"), ENOENT), osErrorOf([&] { oRel.type(true); }));
    cFileInfo oGood(qpath("good"), oFs);
    EXPECT_EQ(0, oGood.type(true));
    EXPECT_FALSE(oGood.isDeadSymLink());
    EXPECT_FALSE(cFileInfo(qpath(".profile"), oFs).isDeadSymLink());
    EXPECT_EQ(path(".profile"), text(cFileInfo(qpath(".profile"), oFs).readLink()));

    EXPECT_TRUE(cFileInfo(qpath(".profile"), oFs).isHidden());
    EXPECT_FALSE(cFileInfo(qpath("good"), oFs).isHidden());
    EXPECT_FALSE(cFileInfo(str(msDir + "/"), oFs).isHidden());
    EXPECT_FALSE(cFileInfo(str(msDir + "/."), oFs).isHidden());
    EXPECT_FALSE(cFileInfo(str(msDir + "/.."), oFs).isHidden());
    EXPECT_EQ(1u, cFileInfo(qpath(".profile"), oFs).size());
    EXPECT_TRUE(cFileInfo(qpath(""), oFs).isDir());
    EXPECT_TRUE(qio::cPath(str(msDir)).exists());
    EXPECT_FALSE(qio::cPath(qpath(".profile")).exists());
}

TEST_F(Dir, SearchPaths)
{
    qio::cFs oFs;
    oFs.createPath(qio::cPath(qpath("one/sub")));
    oFs.createPath(qio::cPath(qpath("two/sub")));
    writeAll(path("one/sub/f"), "1");
    writeAll(path("two/sub/f"), "2");
    writeAll(path("two/g"), "2");
    qio::cSearchPaths oPaths(oFs);
    EXPECT_TRUE(oPaths.addPath(qpath("one")));
    EXPECT_FALSE(oPaths.addPath(qpath("one")));
    EXPECT_TRUE(oPaths.addPath(qpath("two")));
    oPaths.add(oPaths);
    ASSERT_EQ(2u, oPaths.size());
    EXPECT_THROW(oPaths[2], qstd::cOutOfRangeException);

    EXPECT_EQ(path("one/sub/f"), text(oPaths.tryFindFile("sub/f")));
    EXPECT_EQ(path("two/g"), text(oPaths.tryFindFile("g")));
    EXPECT_EQ(path("one/sub"), text(oPaths.tryFindFile("sub", qio::cSearchPaths::Directory)));
    qucs::cString sFound("stale");
    EXPECT_FALSE(oPaths.tryFindFile("sub", sFound, qio::cSearchPaths::RegularFile));
    EXPECT_TRUE(sFound.empty());

    qstd::tVector<qucs::cString> oOut;
    oPaths.existingCandidates("sub/./f", oOut);
    ASSERT_EQ(2u, oOut.count());
    EXPECT_EQ(path("one/sub/f"), text(oOut[0]));
    oPaths.existingCandidates("g", oOut);
    EXPECT_EQ(1u, oOut.count());
    oPaths.existingCandidates("/not/there", oOut);
    ASSERT_EQ(1u, oOut.count());
    EXPECT_EQ("/not/there", text(oOut[0]));
    oPaths.candidates("h", oOut);
    EXPECT_EQ(2u, oOut.count());

    oPaths.removePath(qpath("one"));
    EXPECT_EQ(path("two/sub/f"), text(oPaths.tryFindFile("sub/f")));
}

TEST_F(Dir, FileWatchSignalsChangesFromTheLoop)
{
    EXPECT_THROW(qio::cFileWatch(qpath("none")), qstd::cRuntimeException);
    writeAll(path("w"), "one");
    int iChanges = 0;
    {
        qio::cFileWatch oWatch(qpath("w"));
        struct cReceiver : qrmi::cConnectable
        {
            int& miCount;
            explicit cReceiver(int& iCount) : miCount(iCount) {}
            piVoid slt()
            {
                ++miCount;
                return piVoid();
            }
        } oReceiver(iChanges);
        oWatch.sigFileChanged.connect(oReceiver, &cReceiver::slt);
        oWatch.start(5);
        auto turn = [&](int iMSec) {
            auto oEnd = std::chrono::steady_clock::now() + std::chrono::milliseconds(iMSec);
            while (std::chrono::steady_clock::now() < oEnd && iChanges == 0)
                qpi::system().exec();
        };
        turn(30);
        EXPECT_EQ(0, iChanges);
        writeAll(path("w"), "a longer text"); // the size changes at once
        turn(2000);
        EXPECT_EQ(1, iChanges);
        // Replaced by a rename, as editors save.
        writeAll(path("w2"), "replaced text, longer still");
        std::filesystem::rename(path("w2"), path("w"));
        iChanges = 0;
        turn(2000);
        EXPECT_EQ(1, iChanges);
        oWatch.stop();
        writeAll(path("w"), "x");
        iChanges = 0;
        turn(30);
        EXPECT_EQ(0, iChanges);
    }
    qpi::system().exec(); // the work is gone from the queue
}
