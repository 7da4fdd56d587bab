// path_test.cpp - qio::cPath and the path normalisation.
#include "iotesting.h"

using namespace qortest;
using qio::cPath;

TEST(Path, ParsingAndNormalisation)
{
    struct Row
    {
        const char* pIn;
        const char* pStored;
        char cDrive;
    };
    const Row oTable[] = {
        {"", "./", 0},
        {"C:\\data\\x", "/data/x/", 'C'},
        {"c:/data", "/data/", 'C'},
        {"c:..\\x", "../x/", 0}, // climbed: the drive goes
        {"/a/b/../c/", "/a/c/", 0},
        {"a//b/./", "a/b/", 0},
        {"./x/", "./x/", 0},
        {"././x", "./x/", 0},
        {"a/../", "./", 0},
        {"../../a/", "../../a/", 0},
        {"./../a", "../a/", 0},
        {"a/../../b", "../b/", 0},
        // Never above the root, and the rest of the path stays.
        {"/../a/", "/a/", 0},
        {"/t/../../x", "/x/", 0},
        {"/..", "/", 0},
        // Only whole components are special.
        {"/x/a../b/", "/x/a../b/", 0},
        {"/x/a./.b/..c/", "/x/a./.b/..c/", 0},
        // A relative path never becomes absolute.
        {"a/..//b/", "b/", 0},
        {"//a///b", "/a/b/", 0},
    };
    for (const Row& oRow : oTable) {
        SCOPED_TRACE(oRow.pIn);
        cPath oPath(oRow.pIn, true);
        EXPECT_EQ(oRow.pStored, text(oPath.unixEquivalent()));
        EXPECT_EQ(oRow.cDrive, oPath.driveLetter());
        qucs::cString sAgain = oPath.unixEquivalent();
        bool bClimbed = false;
        qio::fixupPath(sAgain, bClimbed);
        EXPECT_EQ(oRow.pStored, text(sAgain)) << "normalising twice changed it";
    }
    EXPECT_EQ("C:/data/x/", text(cPath("c:\\data\\x").path()));
    EXPECT_EQ("x/", text(cPath("c:x").path())) << "a relative path shows no drive";

    qucs::cString s("../../a/");
    bool bClimbed = false;
    qio::fixupPath(s, bClimbed);
    EXPECT_TRUE(bClimbed);
    s = "/../../a/";
    qio::fixupPath(s, bClimbed);
    EXPECT_FALSE(bClimbed);
    EXPECT_EQ("/a/", text(s));
}

TEST(Path, CdAndFixup)
{
    cPath oPath("/a/");
    oPath.cd("sub");
    EXPECT_EQ("/a/sub/", text(oPath.path()));
    oPath.cd("../b");
    EXPECT_EQ("/a/sub/../b/", text(oPath.path()));
    oPath.fixup();
    EXPECT_EQ("/a/b/", text(oPath.path()));
    oPath.cd("");
    EXPECT_EQ("/a/b/", text(oPath.path()));
    oPath.cd("/x/./y");
    EXPECT_EQ("/x/y/", text(oPath.path()));

    cPath oRelative("x/");
    oRelative.cd(oRelative); // its own text
    EXPECT_EQ("x/x/", text(oRelative.path()));
    oRelative.cd(oRelative.unixEquivalent());
    EXPECT_EQ("x/x/x/x/", text(oRelative.path()));
}

TEST(Path, PartsAndComparison)
{
    cPath oPath("/usr/lib/");
    EXPECT_EQ("usr", text(oPath.getPart(0)));
    EXPECT_EQ("lib", text(oPath.getPart(1)));
    EXPECT_EQ("", text(oPath.getPart(2)));
    EXPECT_EQ("/", text(oPath.getParts(0)));
    EXPECT_EQ("/usr/", text(oPath.getParts(1)));
    EXPECT_EQ("/usr/lib/", text(oPath.getParts(2)));
    EXPECT_EQ("", text(oPath.getParts(5)));
    EXPECT_EQ("D:/", text(cPath("d:/usr").getParts(0)));

    EXPECT_TRUE(cPath("/a/./b//", false) == cPath("/a/b/"));
    EXPECT_FALSE(cPath("c:/a/") == cPath("d:/a/"));
    EXPECT_TRUE(cPath("c:/a/") != cPath("/a/"));
}

TEST(Path, RelativeAndAbsolute)
{
    cPath oPath("/a/b/c/");
    oPath.makeRelative(cPath("/a/x/"));
    EXPECT_EQ("../b/c/", text(oPath.path()));
    cPath oSame("/a/b/");
    oSame.makeRelative(cPath("/a/b/"));
    EXPECT_EQ("./", text(oSame.path()));
    cPath oUnchanged("rel/");
    oUnchanged.makeRelative(cPath("/a/"));
    EXPECT_EQ("rel/", text(oUnchanged.path()));

    cPath oRel("../x/");
    oRel.makeAbsolute(cPath("c:/a/b/"));
    EXPECT_EQ("/a/x/", text(oRel.unixEquivalent()));
    EXPECT_EQ('C', oRel.driveLetter());
    cPath oRoot("../../../x/");
    oRoot.makeAbsolute(cPath("/a/"));
    EXPECT_EQ("/x/", text(oRoot.path()));

    EXPECT_EQ("/d/sub/f.txt", text(cPath("/d/").relativeTo("sub/./f.txt")));
    EXPECT_EQ("/abs/./f", text(cPath("/d/").relativeTo("/abs/./f")));
    EXPECT_EQ("/d/f", text(cPath("/d/").relativeTo("f")));
    cPath oCwd = qpi::system().fs().cwd();
    EXPECT_EQ(text(oCwd.path()) + "r/f", text(cPath("r/").relativeTo("f")));
}

TEST(Path, DirectoryPartOfNames)
{
    struct Row
    {
        const char* pIn;
        unsigned iLength;
        const char* pStored;
    };
    const Row oTable[] = {{"/a/b.txt", 3, "/a/"}, {"b.txt", 0, "./"}, {"a\\b", 2, "a\\"},
                          {"/a/..", 5, "/a/../"}, {"..", 2, "../"},   {"C:x", 2, "C:/"},
                          {"/a/...", 3, "/a/"},   {"dir/", 4, "dir/"}};
    for (const Row& oRow : oTable) {
        SCOPED_TRACE(oRow.pIn);
        EXPECT_EQ(oRow.iLength, cPath::pathComponentLength(oRow.pIn));
        qucs::cString sOut;
        cPath::storePathComponent(oRow.pIn, sOut);
        EXPECT_EQ(oRow.pStored, text(sOut));
    }
}
