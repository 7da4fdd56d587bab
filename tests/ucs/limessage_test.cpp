// limessage_test.cpp - tests of cLIMessage and of the rendering through cLILocale.
// SPDX-License-Identifier: MIT
#include "qor_core/ucs/limessage.h"
#include "qor_core/std/numberconversion.h"
#include "qor_core/ucs/lilocale.h"

#include "support/fakeserializer.h"
#include "ucstesting.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using qortest::codePoints;
using qucs::cLIMessage;
using qucs::cString;

namespace {

std::string rendered(const cLIMessage& oMessage)
{
    qstd::cAsciiString sText;
    oMessage.untranslated(sText);
    return sText.c_str();
}

cLIMessage message(const char* pKey, const std::vector<const char*>& oValues = {})
{
    cLIMessage oMessage;
    oMessage << pKey;
    for (const char* pValue : oValues)
        oMessage << pValue;
    return oMessage;
}

} // namespace

TEST(LIMessage, RendersTheKeyWithItsArguments)
{
    struct Row
    {
        const char* pKey;
        std::vector<const char*> oValues;
        const char* pExpected;
    };
    const Row oTable[] = {
        {"$MTR$Unable to open file \"%file%\"!", {"/x"}, "Unable to open file \"/x\"!"},
        {"$MNTR$x %v%", {"1"}, "x 1"},
        {"a %x% b", {}, "a ??? b"},
        {"%n% and %n%", {"1"}, "1 and 1"},
        // A value binds the next placeholder in the text, even a repeated one; every
        // occurrence renders the first value bound to its name.
        {"%a% %a% %b%", {"1", "2"}, "1 1 ???"},
        {"%a%, %b%", {"1", "2", "3"}, "1, 2"},
        {"path %p%", {"C:\\dir\\"}, "path C:\\dir\\"},
        {"100\\% of %n%", {"5"}, "100% of 5"},
        {"%a% \\%b\\% %b%", {"1", "2"}, "1 %b% 2"},
        {"a\\\\b %v%", {"1"}, "a\\b 1"},
        {"trailing \\", {}, "trailing "},
        // A name ends at a space (which stays) or at the end of the text.
        {"%a b", {"X"}, "X b"},
        {"value %v", {"7"}, "value 7"},
        // Inserted values are not searched for placeholders.
        {"%a%%b%", {"%b%", "B"}, "%b%B"}};
    for (const Row& oRow : oTable) {
        SCOPED_TRACE(oRow.pKey);
        EXPECT_EQ(oRow.pExpected, rendered(message(oRow.pKey, oRow.oValues)));
    }
}

TEST(LIMessage, MarkersAreRemovedFromTheFirstStreamedString)
{
    struct Row
    {
        const char* pStreamed;
        const char* pKey;
        bool bTranslatable;
    };
    const Row oTable[] = {{"$MTR$k", "k", true},        {"$MNTR$k", "k", false},
                          {"$MTR$$MNTR$k", "k", false}, {"$MNTR$$MTR$k", "$MTR$k", false},
                          {"k$MTR$", "k$MTR$", true},   {"$MTR", "$MTR", true}};
    for (const Row& oRow : oTable) {
        SCOPED_TRACE(oRow.pStreamed);
        cLIMessage oAscii;
        oAscii << qstd::cAsciiString(oRow.pStreamed);
        EXPECT_STREQ(oRow.pKey, oAscii.key().c_str());
        EXPECT_EQ(oRow.bTranslatable, oAscii.translatable());
        cLIMessage oWide;
        oWide << cString(oRow.pStreamed);
        EXPECT_STREQ(oRow.pKey, oWide.key().c_str());
        EXPECT_EQ(oRow.bTranslatable, oWide.translatable());
    }

    // Given to the constructor, the key is kept as it is and values bind at once.
    cLIMessage oConstructed(qstd::cAsciiString("$MNTR$k %v%"));
    oConstructed << "1";
    EXPECT_STREQ("$MNTR$k %v%", oConstructed.key().c_str());
    EXPECT_TRUE(oConstructed.translatable());
    EXPECT_EQ("$MNTR$k 1", rendered(oConstructed));
}

TEST(LIMessage, TranslationIsFilledByPlaceholderName)
{
    cLIMessage oMessage = message("$MTR$%a% before %b%", {"1", "2"});
    cString sResult("old");
    oMessage.translate(cString("%b% vor %a%, %c%"), sResult);
    EXPECT_EQ(cString("2 vor 1, ???"), sResult);

    cLIMessage oFixed = message("$MNTR$%a% stays", {"1"});
    oFixed.translate(cString("%a% translated"), sResult);
    EXPECT_EQ(cString("1 stays"), sResult);
}

TEST(LIMessage, WideValuesKeepTheirCodePoints)
{
    cLIMessage oMessage;
    oMessage << "$MTR$name: %n%!" << codePoints({'a', 0x1F600});
    cString sWide;
    oMessage.untranslated(sWide);
    EXPECT_EQ(codePoints({'n', 'a', 'm', 'e', ':', ' ', 'a', 0x1F600, '!'}), sWide);
    qstd::cAsciiString sNarrow("previous");
    oMessage.untranslated(sNarrow);
    EXPECT_STREQ("name: a?!", sNarrow.c_str());
}

TEST(LIMessage, NumbersUseTheMessageFormatFromWhereItIsSet)
{
    cLIMessage oDefault;
    oDefault << "%a% %b% %c% %d% %e%" << -5 << 4294967295u << LLONG_MIN << ULLONG_MAX << 0.5;
    EXPECT_EQ("-5 4294967295 -9223372036854775808 18446744073709551615 0.5", rendered(oDefault));
    EXPECT_EQ(nullptr, oDefault.numberConversionFormat());

    cLIMessage oFormatted;
    oFormatted << "%a% %b% %c%" << 255 << qstd::cNumberConversionFormat(16) << 255;
    ASSERT_NE(nullptr, oFormatted.numberConversionFormat());
    EXPECT_EQ(16u, oFormatted.numberConversionFormat()->base());
    oFormatted << qstd::cNumberConversionFormat(2);
    cLIMessage oCopy(oFormatted);
    oCopy << 5;
    EXPECT_EQ("255 ff 101", rendered(oCopy));
    EXPECT_EQ(10u, qstd::cNumberConversionFormat::getGlobalDefaultNumberConversionFormat().base());
}

TEST(LIMessage, CopiesAreIndependent)
{
    cLIMessage oOriginal = message("%a% %b%", {"1"});
    cLIMessage oCopy(oOriginal);
    oCopy << "2";
    oOriginal << "3";
    EXPECT_EQ("1 3", rendered(oOriginal));
    EXPECT_EQ("1 2", rendered(oCopy));

    cLIMessage oAssigned = message("other %x%", {"x"});
    oAssigned = oCopy;
    oAssigned.swap(oOriginal);
    EXPECT_EQ("1 3", rendered(oAssigned));
    EXPECT_EQ("1 2", rendered(oOriginal));
}

TEST(LIMessage, StoresAndLoadsKeyPositionFlagAndArgumentsInOneContext)
{
    const cLIMessage oMessage = message("$MNTR$k %a% %b% %c%", {"1", "2"});
    qortest::cFakeSerializer oSerializer;
    oMessage >> oSerializer;
    const qortest::tFakeStream& oItems = oSerializer.moItems;
    ASSERT_EQ(
        (std::vector<std::string>{"context", "cAsciiString", "piUInt32", "piBool", "cAsciiString",
                                  "cString", "cAsciiString", "cString", "end"}),
        qortest::fakeKinds(oItems));
    EXPECT_STREQ("k %a% %b% %c%", std::get<qstd::cAsciiString>(oItems[1]).c_str());
    EXPECT_EQ(9u, std::get<unsigned>(oItems[2])); // just after "%b%"
    EXPECT_FALSE(std::get<bool>(oItems[3]));
    EXPECT_STREQ("%b", std::get<qstd::cAsciiString>(oItems[6]).c_str());
    EXPECT_EQ(cString("2"), std::get<cString>(oItems[7]));

    qortest::cFakeDeserializer oDeserializer(oItems);
    cLIMessage oLoaded = message("other %x% %y%", {"x"});
    oLoaded << oDeserializer;
    EXPECT_TRUE(oDeserializer.eoc());
    EXPECT_FALSE(oLoaded.translatable());
    // The search position came along: the next value binds %c%.
    oLoaded << "3";
    EXPECT_EQ("k 1 2 3", rendered(oLoaded));
}

TEST(LIMessage, FailedLoadLeavesTheMessageUnchanged)
{
    cLIMessage oMessage = message("$MTR$kept %a%", {"1"});
    qortest::cFakeSerializer oSerializer;
    {
        qsa::cContext oContext(oSerializer.newContext("cLIMessage"));
        oSerializer.store(qstd::cAsciiString("k %a%"));
        oSerializer.store(2u);
        oSerializer.store(true);
        oSerializer.store(qstd::cAsciiString("%a"));
        oContext.release(); // the value of the argument is missing
    }
    qortest::cFakeDeserializer oDeserializer(oSerializer.moItems);
    EXPECT_THROW(oMessage << oDeserializer, qstd::cRuntimeException);
    EXPECT_EQ("kept 1", rendered(oMessage));
    EXPECT_EQ(0u, oDeserializer.position());
}

TEST(LILocale, RendersUntranslatedWithoutTranslations)
{
    const qucs::cLILocale oLocale;
    EXPECT_STREQ("", oLocale.debugName().c_str());
    EXPECT_STREQ("de", qucs::cLILocale("de").debugName().c_str());

    const cLIMessage oMessage = message("$MTR$File %f% missing", {"a"});
    cString sResult("old");
    EXPECT_FALSE(oLocale.translate(oMessage, sResult));
    EXPECT_EQ(cString("File a missing"), sResult);
    EXPECT_EQ(cString("File a missing"), oLocale.translate(oMessage));
}
