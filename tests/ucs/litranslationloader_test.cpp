// litranslationloader_test.cpp - plain translation files and their parse errors.
// SPDX-License-Identifier: MIT
#include "io/iotesting.h"

using qortest::str;
using qortest::text;
using qucs::cLITranslationLoader;
using qucs::cLITrTable;
using qucs::cString;

namespace {

class LITranslationLoader : public qortest::cScratchTest
{
protected:
    std::string write(const std::string& sName, const std::string& sData)
    {
        qortest::writeAll(path(sName), sData);
        return path(sName);
    }
    /// The text-parse exception of loading sData into oTable.
    qstd::cTextParseException parseFailure(cLITrTable& oTable, const std::string& sData)
    {
        write("bad.txt", sData);
        try {
            cLITranslationLoader().loadFile(qpath("bad.txt"), oTable);
        } catch (const qstd::cTextParseException& e) {
            return e;
        }
        ADD_FAILURE() << "no parse error: " << sData;
        return qstd::cTextParseException();
    }
};

std::string translation(const cLITrTable& oTable, const char* pKey)
{
    const qucs::cLITrItem* pItem = oTable.hasTranslation(pKey);
    return pItem ? text(pItem->translation()) : "<none>";
}

} // namespace

TEST_F(LITranslationLoader, LoadsAndPatches)
{
    write("a.txt", "// comment \"x\" = \"y\"\r\n\"One\" = \"Eins\"; \"Two\"=\"Zwei\"\n"
                   "Name = stray words \"Esc\\\"aped\" = \"a\\\\b\"");
    write("b.txt", "\"Two\" = \"zwo\"\n\"Three\" = \"Drei\"");
    cLITrTable oTable;
    oTable.addTranslation("Old", cString("alt"));
    cLITranslationLoader oLoader;
    oLoader.loadFile(qpath("a.txt"), oTable);
    EXPECT_EQ("<none>", translation(oTable, "Old"));
    EXPECT_EQ("<none>", translation(oTable, "x"));
    EXPECT_EQ("Eins", translation(oTable, "One"));
    EXPECT_EQ("a\\b", translation(oTable, "Esc\"aped"));
    EXPECT_EQ(3u, oTable.count());
    oLoader.patchFromFile(qpath("b.txt"), oTable);
    EXPECT_EQ("Zwei", translation(oTable, "Two"));
    EXPECT_EQ("Drei", translation(oTable, "Three"));
    EXPECT_EQ(5u, oTable.count());
}

TEST_F(LITranslationLoader, ParseErrorsCarryFileLineAndColumnAndChangeNothing)
{
    cLITrTable oTable;
    oTable.addTranslation("Kept", cString("k"));
    const struct
    {
        const char* pText;
        unsigned iRow, iColumn;
        const char* pMessage;
    } kCases[] = {
        {"\"a\" = \"b\"\r\n  \"c\" \"d\"", 2, 8, "\"=\" expected!"},
        {"\"a\" = \"b\"\n\"c\" = d", 2, 8, "\" expected!"},
        {"\"a\" = \"b\"\n\"c\" =", 2, 6, "\" expected!"},
        {"\"a\" = \"b\"\r\r  \"c", 3, 4, "\" expected!"},
        {"\"\xC3\xA4\" = fromFile(\"x\")", 1, 16, "\" expected!"}, // "(" is text here
    };
    for (const auto& oCase : kCases) {
        qstd::cTextParseException e = parseFailure(oTable, oCase.pText);
        EXPECT_EQ("tr", std::string(e.format().c_str())) << oCase.pText;
        EXPECT_EQ(path("bad.txt"), text(e.fileName())) << oCase.pText;
        EXPECT_EQ(oCase.iRow, e.row()) << oCase.pText;
        EXPECT_EQ(oCase.iColumn, e.column()) << oCase.pText;
        qstd::cAsciiString sText;
        e.liMessage()->untranslated(sText);
        EXPECT_EQ(oCase.pMessage, std::string(sText.c_str())) << oCase.pText;
    }
    write("good.txt", "\"New\" = \"n\"\n\"c\" \"d\"");
    EXPECT_THROW(cLITranslationLoader().patchFromFile(qpath("good.txt"), oTable),
                 qstd::cTextParseException);
    EXPECT_THROW(cLITranslationLoader().loadFile(qpath("missing.txt"), oTable),
                 qstd::cAbstractException);
    // A device is refused, not read forever.
    EXPECT_THROW(cLITranslationLoader().patchFromFile(str("/dev/zero"), oTable),
                 qstd::cRuntimeException);
    EXPECT_EQ(1u, oTable.count());
    EXPECT_EQ("k", translation(oTable, "Kept"));
}
