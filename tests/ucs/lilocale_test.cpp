// lilocale_test.cpp - locales: the translation-file grammar, includes and fromFile,
// the messages of malformed files, the fallback chain and its signals.
// SPDX-License-Identifier: MIT
#include "io/iotesting.h"

#include <sys/stat.h>

using qortest::failureOf;
using qortest::str;
using qortest::text;
using qstd::cAsciiString;
using qucs::cLILocale;
using qucs::cLIMessage;
using qucs::cString;

namespace {

class LILocale : public qortest::cScratchTest
{
protected:
    /// Writes a file below the scratch directory and returns its full name.
    std::string write(const std::string& sName, const std::string& sData)
    {
        std::filesystem::create_directories(std::filesystem::path(path(sName)).parent_path());
        qortest::writeAll(path(sName), sData);
        return path(sName);
    }
    std::string tr(const cLILocale& oLocale, const char* pKey)
    {
        return text(oLocale.translate(cAsciiString(pKey)));
    }
    /// The chain of a failed load of sData from a file named "bad.tr".
    std::vector<std::string> loadFailure(cLILocale& oLocale, const std::string& sData)
    {
        write("bad.tr", sData);
        return failureOf([&] { oLocale.loadFromFile(qpath("bad.tr")); });
    }
    std::string parseError(unsigned iLine, const std::string& sFile = "bad.tr")
    {
        return "Unable to parse translation file (" + path(sFile) + ") line " +
               std::to_string(iLine) + "!";
    }
};

struct cMissingRecorder : public qrmi::cConnectable
{
    piVoid sltMissing(const cLILocale& oOrigin, const cLIMessage& oMessage)
    {
        moOrigins.push_back(&oOrigin);
        moKeys.push_back(oMessage.key().c_str());
        return piVoid();
    }
    piVoid sltChanged()
    {
        ++miChanges;
        return piVoid();
    }
    std::vector<const cLILocale*> moOrigins;
    std::vector<std::string> moKeys;
    int miChanges = 0;
};

} // namespace

TEST_F(LILocale, ReadsTheGrammar)
{
    write("lang/de.tr",
          "\xEF\xBB\xBF// German\r\n"
          "\"Gr\xC3\xBC\xC3\x9F\" = \"\xE2\x82\xAC\"\n"
          "Name = \"Deutsch\"; Flag=\"flags/de.png\"\r\n"
          "\"Hello\" = \"Hallo\"\t\"Bye\"=\"Tschuess\";\n"
          "stray words \"Quote \\\"%x%\\\"\" = \"Zitat \\\"%x%\\\"\"  // trailing comment\n"
          "\"Back\\\\slash\" = \"ends in \\\\\"\r"
          "\"Names\" = \"key with a keyword inside\"\n"
          "\"Hello\" = \"ignored: the first entry wins\"\n"
          "\"Spaces  and ; inside\" = \"bleiben\"\n"
          "\"\" = \"empty key\"\n");
    cLILocale oLocale("de");
    cMissingRecorder oRecorder;
    oLocale.sigChanged.connect(oRecorder, &cMissingRecorder::sltChanged);
    oLocale.loadFromFile(qpath("lang/de.tr"));
    EXPECT_EQ(1, oRecorder.miChanges);
    EXPECT_EQ("Deutsch", text(oLocale.name()));
    EXPECT_EQ(path("lang/") + "flags/de.png", text(oLocale.flag()));
    EXPECT_EQ(path("lang/de.tr"), text(oLocale.fileName()));
    EXPECT_EQ("Hallo", tr(oLocale, "$MTR$Hello"));
    EXPECT_EQ("Tschuess", tr(oLocale, "Bye"));
    // The stored text keeps the backslash; rendering takes it as an escape.
    EXPECT_EQ("ends in \\",
              text(oLocale.translator().hasTranslation("Back\\slash")->translation()));
    EXPECT_EQ("key with a keyword inside", tr(oLocale, "Names"));
    EXPECT_EQ("bleiben", tr(oLocale, "Spaces  and ; inside"));
    EXPECT_NE(nullptr, oLocale.translator().hasTranslation(""));
    EXPECT_EQ(9u, oLocale.translator().count());
    // Values are UTF-8; keys are narrowed to ASCII with '?'.
    EXPECT_EQ(0x20ACu, oLocale.translate(cAsciiString("Gr??"))[0]);

    cLIMessage oQuote;
    oQuote << "$MTR$Quote \"%x%\"" << cString("1");
    EXPECT_EQ("Zitat \"1\"", text(oLocale.translate(oQuote)));
}

TEST_F(LILocale, IncludeAndFromFileResolveAgainstTheIncludingFile)
{
    write("main.tr", "include \"sub/part.tr\"\n\"Main\" = \"main\"\n");
    write("sub/part.tr", "\"Part\" = fromFile(\"texts/long text.txt\")\n"
                         "include \"../other.tr\" Name = \"From part\"\n");
    write("sub/texts/long text.txt", "line one\nline \"two\"\n");
    write("other.tr", "\"Other\" = \"other\"\nFlag = \"f.png\"");
    cLILocale oLocale;
    oLocale.loadFromFile(qpath("main.tr"));
    EXPECT_EQ("main", tr(oLocale, "Main"));
    EXPECT_EQ("line one\nline \"two\"\n", tr(oLocale, "Part"));
    EXPECT_EQ("other", tr(oLocale, "Other"));
    EXPECT_EQ("From part", text(oLocale.name()));
    EXPECT_EQ(path("") + "f.png", text(oLocale.flag()));
}

TEST_F(LILocale, TenFilesLoadAndTheEleventhFails)
{
    for (int i = 1; i <= 11; ++i)
        write("c" + std::to_string(i) + ".tr", "\"K" + std::to_string(i) +
                                                   "\" = \"v\"\ninclude \"c" +
                                                   std::to_string(i + 1) + ".tr\"\n");
    write("c10.tr", "\"K10\" = \"v\"\n");
    cLILocale oLocale;
    oLocale.loadFromFile(qpath("c1.tr"));
    EXPECT_EQ(10u, oLocale.translator().count());

    write("c10.tr", "\"K10\" = \"v\"\ninclude \"c11.tr\"");
    std::vector<std::string> oChain = failureOf([&] { oLocale.loadFromFile(qpath("c2.tr")); });
    ASSERT_EQ(11u, oChain.size());
    EXPECT_EQ(parseError(2, "c2.tr"), oChain[0]);
    EXPECT_EQ(parseError(2, "c10.tr"), oChain[8]);
    EXPECT_EQ("Maximum include depth exceeded!", oChain[10]);
    EXPECT_EQ(path("c1.tr"), text(oLocale.fileName()));
    EXPECT_EQ(10u, oLocale.translator().count());

    // Siblings count too, and a file including itself stops at the limit.
    std::string sSiblings;
    for (int i = 0; i < 10; ++i)
        sSiblings += "include \"leaf.tr\"\n";
    write("leaf.tr", "\"Leaf\" = \"l\"");
    write("siblings.tr", sSiblings);
    EXPECT_EQ(parseError(10, "siblings.tr"),
              failureOf([&] { oLocale.loadFromFile(qpath("siblings.tr")); })[0]);
    write("self.tr", "\"Self\" = \"s\" include \"self.tr\"");
    EXPECT_EQ("Maximum include depth exceeded!",
              failureOf([&] { oLocale.loadFromFile(qpath("self.tr")); }).back());
    EXPECT_EQ(nullptr, oLocale.translator().hasTranslation("Self"));
}

TEST_F(LILocale, MalformedFilesReportTheMessageAndLine)
{
    cLILocale oLocale;
    oLocale.translator().addTranslation("Kept", cString("kept"));
    const struct
    {
        const char* pText;
        unsigned iLine;
        const char* pMessage;
    } kCases[] = {
        {"\"a\" = \"b\"\r\n\"unterminated = \"x\"", 2, "\"=\" expected!"},
        {"\"a\" = \"b\"\r\n\r\n\"open", 3, "\" expected!"},
        {"\"a\" \"b\"", 1, "\"=\" expected!"},
        {"\"a\" = word", 1, "\" expected!"},
        {"\"a\"\n=\n\"unterminated\\\"", 3, "\" expected!"},
        {"\n\nName \"x\"", 3, "\"=\" expected!"},
        {"Flag = (", 1, "\" expected!"},
        {"\r\r\"k\" = fromFile \"x\"", 3, "\"(\" expected!"},
        {"\"k\" = fromFile(\"\")", 1, "Filename expected!"},
        {"\"k\" = fromFile(\"x\";\n", 2, "\")\" expected!"},
    };
    for (const auto& oCase : kCases) {
        std::vector<std::string> oChain = loadFailure(oLocale, oCase.pText);
        ASSERT_EQ(2u, oChain.size()) << oCase.pText;
        EXPECT_EQ(parseError(oCase.iLine), oChain[0]) << oCase.pText;
        EXPECT_EQ(oCase.pMessage, oChain[1]) << oCase.pText;
    }
    EXPECT_EQ(1u, oLocale.translator().count());
    EXPECT_EQ("kept", tr(oLocale, "Kept"));
}

TEST_F(LILocale, AnyFailureLeavesTheLocaleAsItWas)
{
    write("good.tr", "Name = \"Good\"\n\"A\" = \"a\"");
    cLILocale oLocale;
    oLocale.loadFromFile(qpath("good.tr"));

    // An error in an included file: the main file and the include's line, then the
    // included file and the error's line.
    write("inc.tr", "\"B\" = \"b\"\n\n\"C\" \"c\"");
    write("main.tr", "Name = \"Bad\"\n\"B0\" = \"b\"\ninclude\n\"inc.tr\"\n\"D\" = \"d\"");
    std::vector<std::string> oChain = failureOf([&] { oLocale.loadFromFile(qpath("main.tr")); });
    ASSERT_EQ(3u, oChain.size());
    EXPECT_EQ(parseError(4, "main.tr"), oChain[0]);
    EXPECT_EQ(parseError(3, "inc.tr"), oChain[1]);
    EXPECT_EQ("\"=\" expected!", oChain[2]);

    // An unreadable include, a missing fromFile file, a missing file, a zero byte.
    write("noinc.tr", "\"B\" = \"b\" include \"nothere.tr\"");
    oChain = failureOf([&] { oLocale.loadFromFile(qpath("noinc.tr")); });
    EXPECT_EQ(parseError(1, "noinc.tr"), oChain[0]);
    EXPECT_EQ("Unable to read translation file (" + path("nothere.tr") + ")!", oChain[1]);
    write("nofrom.tr", "\"B\" = fromFile(\"nothere.txt\")");
    EXPECT_EQ(parseError(1, "nofrom.tr"),
              failureOf([&] { oLocale.loadFromFile(qpath("nofrom.tr")); })[0]);
    oChain = failureOf([&] { oLocale.loadFromFile(qpath("missing.tr")); });
    EXPECT_EQ("Unable to read translation file (" + path("missing.tr") + ")!", oChain[0]);
    write("binary.tr", std::string("\"B\" = \"b\" // \0 zero", 19));
    oChain = failureOf([&] { oLocale.loadFromFile(qpath("binary.tr")); });
    EXPECT_EQ("Unable to read translation file (" + path("binary.tr") + ")!", oChain[0]);

    // Only regular files of at most 16 MiB are read: a FIFO or a device would block
    // or never end.
    ASSERT_EQ(0, mkfifo(path("fifo.tr").c_str(), 0600));
    write("fifoinc.tr", "\"B\" = \"b\"\n include \"fifo.tr\"");
    oChain = failureOf([&] { oLocale.loadFromFile(qpath("fifoinc.tr")); });
    ASSERT_EQ(3u, oChain.size());
    EXPECT_EQ(parseError(2, "fifoinc.tr"), oChain[0]);
    EXPECT_EQ("Unable to read translation file (" + path("fifo.tr") + ")!", oChain[1]);
    EXPECT_EQ("\"" + path("fifo.tr") + "\" is not a regular file!", oChain[2]);
    write("zero.tr", "\n\n\"B\" = fromFile(\"/dev/zero\")");
    oChain = failureOf([&] { oLocale.loadFromFile(qpath("zero.tr")); });
    ASSERT_EQ(2u, oChain.size());
    EXPECT_EQ(parseError(3, "zero.tr"), oChain[0]);
    EXPECT_EQ("\"/dev/zero\" is not a regular file!", oChain[1]);
    write("huge.tr", "");
    std::filesystem::resize_file(path("huge.tr"), (16u << 20) + 1);
    oChain = failureOf([&] { oLocale.loadFromFile(qpath("huge.tr")); });
    ASSERT_EQ(2u, oChain.size());
    EXPECT_EQ("\"" + path("huge.tr") + "\" is larger than 16777216 bytes!", oChain[1]);

    EXPECT_EQ("Good", text(oLocale.name()));
    EXPECT_EQ(path("good.tr"), text(oLocale.fileName()));
    EXPECT_EQ(1u, oLocale.translator().count());
    EXPECT_EQ("a", tr(oLocale, "A"));
}

TEST_F(LILocale, FallsBackThroughTheChainAndReportsMissingTranslationsOnce)
{
    cLILocale oRoot("root"), oMiddle("middle"), oChild("child");
    oRoot.translator().addTranslation("Only root %n%", cString("root %n%"));
    oMiddle.translator().addTranslation("Both", cString("middle"));
    oRoot.translator().addTranslation("Both", cString("root"));
    oMiddle.link(&oRoot);
    oChild.link(&oMiddle);

    cMissingRecorder oRecorder;
    oRoot.sigTranslationMissing().connect(oRecorder, &cMissingRecorder::sltMissing);
    oChild.sigTranslationMissing().connect(oRecorder, &cMissingRecorder::sltMissing);
    oChild.sigChanged.connect(oRecorder, &cMissingRecorder::sltChanged);

    cLIMessage oMessage;
    oMessage << "$MTR$Only root %n%" << 3;
    cString sResult;
    EXPECT_TRUE(oChild.translate(oMessage, sResult));
    EXPECT_EQ("root 3", text(sResult));
    EXPECT_EQ(&oMiddle, oChild.parent());
    EXPECT_EQ("middle", tr(oChild, "Both"));

    cLIMessage oUnknown;
    oUnknown << "$MTR$Unknown %n%" << 4;
    EXPECT_FALSE(oChild.translate(oUnknown, sResult));
    EXPECT_EQ("Unknown 4", text(sResult));
    ASSERT_EQ(1u, oRecorder.moOrigins.size());
    EXPECT_EQ(&oChild, oRecorder.moOrigins[0]);
    EXPECT_EQ("Unknown %n%", oRecorder.moKeys[0]);
    EXPECT_FALSE(oMiddle.translate(oUnknown, sResult, &oRoot));
    EXPECT_EQ(&oRoot, oRecorder.moOrigins.back());

    // Changes up the chain reach the child.
    oRoot.clear();
    EXPECT_EQ(1, oRecorder.miChanges);
    EXPECT_FALSE(oChild.translate(oMessage, sResult));
    EXPECT_EQ("Only root 3", text(sResult));

    // A cycle is refused; the link stays.
    EXPECT_THROW(oRoot.link(&oChild), qstd::cBugException);
    EXPECT_THROW(oRoot.link(&oRoot), qstd::cBugException);
    EXPECT_EQ(nullptr, oRoot.parent());

    // Unlinking stops the propagation; re-linking replaces the link.
    oChild.link(nullptr);
    EXPECT_EQ("Both", tr(oChild, "Both"));
    int iChanges = oRecorder.miChanges;
    oChild.link(&oRoot);
    oChild.link(&oMiddle);
    oRoot.sigChanged();
    EXPECT_EQ(iChanges + 3, oRecorder.miChanges);
}

TEST_F(LILocale, ADestroyedParentUnlinksItsChildren)
{
    cLILocale oChild("child");
    {
        cLILocale oParent("parent");
        oParent.translator().addTranslation("P", cString("p"));
        oChild.link(&oParent);
        cLILocale oOther;
        oOther.link(&oParent);
        EXPECT_EQ("p", tr(oChild, "P"));
    }
    EXPECT_EQ(nullptr, oChild.parent());
    EXPECT_EQ("P", tr(oChild, "P"));
}

TEST_F(LILocale, LoadingKeepsTheLinkAndSwapExchangesContents)
{
    cLILocale oParent, oLocale("mine"), oOther("other");
    oParent.translator().addTranslation("P", cString("p"));
    oLocale.link(&oParent);
    write("l.tr", "Name = \"L\" \"A\" = \"a\"");
    oLocale.loadFromFile(qpath("l.tr"));
    EXPECT_EQ("p", tr(oLocale, "P"));
    oLocale.swap(oOther);
    EXPECT_EQ("L", text(oOther.name()));
    EXPECT_EQ("a", tr(oOther, "A"));
    EXPECT_EQ(path("l.tr"), text(oOther.fileName()));
    EXPECT_EQ("p", tr(oLocale, "P"));
    EXPECT_EQ("mine", std::string(oLocale.debugName().c_str()));
}

TEST_F(LILocale, TheSystemLocaleRendersExceptionChains)
{
    write("sys.tr", "\"Unable to read translation file (%filename%)!\" = "
                    "\"Kann Uebersetzungsdatei nicht lesen (%filename%)!\"\n"
                    "\"Outer %a% and %b%\" = \"Aussen %b% und %a%\"");
    qucs::cLILocale& oSystem = qpi::system().locale();
    oSystem.loadFromFile(qpath("sys.tr"));
    cLIMessage oOuter;
    oOuter << "$MTR$Outer %a% and %b%" << 1 << 2;
    qstd::cRuntimeException oException(oOuter, nullptr, 0);
    try {
        cLILocale().loadFromFile(qpath("none.tr"));
    } catch (const qstd::cAbstractException& e) {
        oException.link(e);
    }
    cString sText;
    oException.createMessage(sText, cString(" / "), qstd::cAbstractException::WithHistory,
                             &oSystem);
    std::string sExpected =
        "Aussen 2 und 1 / Kann Uebersetzungsdatei nicht lesen (" + path("none.tr") + ")!";
    EXPECT_EQ(sExpected, text(sText).substr(0, sExpected.size()));
    oSystem.clear();
    EXPECT_EQ("Outer 1 and 2", text(oSystem.translate(oOuter)));
}
