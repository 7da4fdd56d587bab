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
#include <tuple>
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
    // The key, the values streamed after it and the text.
    const std::tuple<const char*, std::vector<const char*>, const char*> oTable[] = {
        {"$MTR$Unable to open file \"%file%\"!", {"/x"}, "Unable to open file \"/x\"!"},
        {"a %x% b", {}, "a ??? b"},
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
        {"%a%%b%", {"%b%", "B"}, "%b%B"},
        // Backslashes belong to a name; an escape after a value still escapes.
        {"%a\\b% %c", {"1", "2"}, "1 2"},
        {"%v%\\x", {"a\\"}, "a\\x"},
        {"50%% off", {"X"}, "50X off"}};
    for (const auto& [pKey, oValues, pExpected] : oTable)
        EXPECT_EQ(pExpected, rendered(message(pKey, oValues))) << pKey;
}

TEST(LIMessage, RenderingTakesLinearTime)
{
    // 100,000 distinct placeholders, each bound once, in a key of about 1.2 MB.
    // Looking each name up among all arguments, or moving the rest of the text
    // for each one, would take minutes.
    const unsigned kCount = 100000;
    std::string sKey, sExpected;
    cLIMessage oMessage;
    for (unsigned i = 0; i < kCount; ++i)
        sKey += "%p" + std::to_string(i) + "% ";
    oMessage << sKey.c_str();
    for (unsigned i = 0; i < kCount; ++i) {
        std::string sValue = "v" + std::to_string(kCount - i);
        oMessage << sValue.c_str();
        sExpected += sValue + " ";
    }
    EXPECT_EQ(sExpected, rendered(oMessage));
}

TEST(LIMessage, MarkersAreRemovedFromTheFirstStreamedString)
{
    // The string streamed first, the key and whether it is translatable.
    const std::tuple<const char*, const char*, bool> oTable[] = {
        {"$MTR$k", "k", true},        {"$MNTR$k", "k", false},
        {"$MTR$$MNTR$k", "k", false}, {"$MNTR$$MTR$k", "$MTR$k", false},
        {"k$MTR$", "k$MTR$", true},   {"$MTR", "$MTR", true}};
    for (const auto& [pStreamed, pKey, bTranslatable] : oTable) {
        SCOPED_TRACE(pStreamed);
        cLIMessage oAscii, oWide;
        oAscii << qstd::cAsciiString(pStreamed);
        oWide << cString(pStreamed);
        for (const cLIMessage* p : {&oAscii, &oWide}) {
            EXPECT_STREQ(pKey, p->key().c_str());
            EXPECT_EQ(bTranslatable, p->translatable());
        }
    }

    // Given to the constructor, the key is kept as it is and values bind at once.
    cLIMessage oConstructed(qstd::cAsciiString("$MNTR$k %v%"));
    oConstructed << "1";
    EXPECT_STREQ("$MNTR$k %v%", oConstructed.key().c_str());
    EXPECT_TRUE(oConstructed.translatable());
    EXPECT_EQ("$MNTR$k 1", rendered(oConstructed));
}

TEST(LIMessage, TranslationIsFilledByPlaceholderNameOrLeftOut)
{
    cLIMessage oMessage = message("$MTR$%a% before %b%", {"1", "2"});
    cString sResult("old");
    oMessage.translate(cString("%b% vor %a%, %c%"), sResult);
    EXPECT_EQ(cString("2 vor 1, ???"), sResult);

    cLIMessage oFixed = message("$MNTR$%a% stays", {"1"});
    oFixed.translate(cString("%a% translated"), sResult);
    EXPECT_EQ(cString("1 stays"), sResult);

    // A locale without translations renders the message untranslated.
    const qucs::cLILocale oLocale;
    const cLIMessage oMissing = message("$MTR$File %f% missing", {"a"});
    EXPECT_FALSE(oLocale.translate(oMissing, sResult));
    EXPECT_EQ(cString("File a missing"), sResult);
    EXPECT_EQ(cString("File a missing"), oLocale.translate(oMissing));
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
    // Key, search position, flag, then name and value of each bound argument.
    ASSERT_EQ(
        (std::vector<std::string>{"context", "cAsciiString", "piUInt32", "piBool", "cAsciiString",
                                  "cString", "cAsciiString", "cString", "end"}),
        qortest::fakeKinds(oItems));
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
