// litrtable_test.cpp - the translation table: hashing, lookup, rendering,
// statistics and serialization.
// SPDX-License-Identifier: MIT
#include "qor_core/sa/deserializebinary.h"
#include "qor_core/sa/serializebinary.h"
#include "qor_core/ucs/litrtable.h"
#include "support/fakeserializer.h"
#include "ucs/ucstesting.h"

using qstd::cAsciiString;
using qucs::cLIMessage;
using qucs::cLITrTable;
using qucs::cString;

namespace {

cString render(const cLITrTable& oTable, const cLIMessage& oMessage, bool bExpected)
{
    cString sResult;
    EXPECT_EQ(bExpected, oTable.translation(oMessage, sResult));
    return sResult;
}

} // namespace

TEST(LITrTable, HashesAreTheDocumentedFunctionsOnUnsignedBytes)
{
    EXPECT_EQ(0u, cLITrTable::hashKey1(""));
    EXPECT_EQ(0u, cLITrTable::hashKey2(""));
    EXPECT_EQ(5u, cLITrTable::hashKey1(cAsciiString(std::string(30, 'x').c_str())));
    EXPECT_EQ((97u + 98u) % 23, cLITrTable::hashKey2("ab"));   // bytes 1 and 0
    EXPECT_EQ((98u + 97u) % 23, cLITrTable::hashKey2("abc"));  // bytes 1 and 0
    EXPECT_EQ((99u + 97u) % 23, cLITrTable::hashKey2("abcd")); // bytes 2 and 0
    // A byte above 127 counts as its unsigned value on every target.
    EXPECT_EQ((0xE9u + 0xE9u) % 23, cLITrTable::hashKey2("\xE9"));
    EXPECT_EQ((0xFFu + 'a') % 23, cLITrTable::hashKey2("a\xFF"));
    // The items' full hash (FNV-1a, 32 bits) is the same on every target.
    EXPECT_EQ(0x811C9DC5u, qucs::cLITrItem::keyHash(""));
    EXPECT_EQ(0xE40C292Cu, qucs::cLITrItem::keyHash("a"));
    EXPECT_EQ(0x6C0B6C44u, qucs::cLITrItem::keyHash("\xE9"));
}

TEST(LITrTable, CollidingKeysAreAllFoundAndTheFirstEntryWins)
{
    cLITrTable oTable;
    // Equal length, equal first and middle bytes: one list.
    const char* const kKeys[] = {"a1m2z", "a3m4y", "a5m6x", "a7m8w"};
    for (const char* pKey : kKeys)
        oTable.addTranslation(pKey, cString(pKey) + cString("!"));
    oTable.addTranslation("a3m4y", cString("second"));
    EXPECT_EQ(5u, oTable.count());
    for (const char* pKey : kKeys) {
        const qucs::cLITrItem* pItem = oTable.hasTranslation(pKey);
        ASSERT_NE(nullptr, pItem) << pKey;
        EXPECT_EQ(cString(pKey) + cString("!"), pItem->translation());
    }
    EXPECT_EQ(nullptr, oTable.hasTranslation("a1m2y"));
    EXPECT_EQ(nullptr, oTable.hasTranslation("a1m2"));
    EXPECT_EQ(nullptr, oTable.hasTranslation(""));
    // Same list and same full hash, different bytes: the key decides.
    ASSERT_EQ(qucs::cLITrItem::keyHash("afzm6g"), qucs::cLITrItem::keyHash("a4cmdh"));
    oTable.addTranslation("afzm6g", cString("first"));
    EXPECT_EQ(nullptr, oTable.hasTranslation("a4cmdh"));
    oTable.addTranslation("a4cmdh", cString("other"));
    EXPECT_EQ(cString("other"), oTable.hasTranslation("a4cmdh")->translation());
    EXPECT_EQ(cString("first"), oTable.hasTranslation("afzm6g")->translation());
    const cLITrTable::tHashPart* pPart = oTable.hashParts()[5];
    ASSERT_NE(nullptr, pPart);
    EXPECT_EQ(4u + 1u, (*pPart)[cLITrTable::hashKey2("a1m2z")]->count());
}

TEST(LITrTable, RendersReorderedAndRepeatedPlaceholders)
{
    cLITrTable oTable;
    oTable.addTranslation("Copy %from% to %to%!", cString("Nach %to% von %from% (%from%)!"));
    cLIMessage oMessage;
    oMessage << "$MTR$Copy %from% to %to%!" << cString("a") << cString("b");
    EXPECT_EQ(cString("Nach b von a (a)!"), render(oTable, oMessage, true));

    cLIMessage oMissing;
    oMissing << "$MTR$Gone %x%" << 7;
    EXPECT_EQ(cString("Gone 7"), render(oTable, oMissing, false));

    // A never-translated message renders its key even when a translation exists.
    oTable.addTranslation("Fixed", cString("Fest"));
    cLIMessage oFixed;
    oFixed << "$MNTR$Fixed";
    EXPECT_EQ(cString("Fixed"), render(oTable, oFixed, true));
}

TEST(LITrTable, ClearAndSwap)
{
    cLITrTable oA, oB;
    oA.addTranslation("one", cString("eins"));
    oB.addTranslation("two", cString("zwei"));
    oB.addTranslation("three", cString("drei"));
    oA.swap(oB);
    EXPECT_EQ(2u, oA.count());
    EXPECT_NE(nullptr, oA.hasTranslation("three"));
    EXPECT_NE(nullptr, oB.hasTranslation("one"));
    oA.clear();
    EXPECT_EQ(nullptr, oA.hasTranslation("three"));
    EXPECT_EQ(0u, oA.count() + oA.hashParts().count());
    oB.printStatistics(); // must cope with absent places at both levels
}

TEST(LITrTable, WritesTheDocumentedLayout)
{
    cLITrTable oTable;
    oTable.addTranslation("a", cString("A")); // hash 1 / (97 + 97) % 23 = 10
    qortest::cFakeSerializer oOut;
    oTable >> oOut;
    std::vector<std::string> oExpected = {"context", "piBool", "piBool", "label", "context"};
    for (int i = 0; i < 10; ++i)
        oExpected.push_back("piBool");
    for (const char* p : {"piBool", "label", "context", "label", "context", "cAsciiString",
                          "cString", "end", "end", "end", "end"})
        oExpected.push_back(p);
    EXPECT_EQ(oExpected, qortest::fakeKinds(oOut.moItems));
    EXPECT_TRUE(std::get<bool>(oOut.moItems[1]));
    EXPECT_FALSE(std::get<bool>(oOut.moItems[2]));
    // Contexts "unknown", "unknown", unnamed, unnamed; labels in their order.
    const int kContexts[] = {0, 4, 17, 19}, kLabels[] = {3, 16, 18};
    const char* const kNames[] = {"unknown", "unknown", "", "", "Hash-Part", "Hash", "Translation"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(kNames[i],
                  std::get<qortest::cFakeContextBegin>(oOut.moItems[kContexts[i]]).sType);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(kNames[4 + i], std::get<qortest::cFakeLabel>(oOut.moItems[kLabels[i]]).sName);
}

TEST(LITrTable, BinaryRoundTripKeepsEveryItemAndAFailedReadChangesNothing)
{
    cLITrTable oTable;
    for (unsigned i = 0; i < 300; ++i) {
        std::string sKey = "Key number " + std::to_string(i * 7919u) + std::string(i % 40, '.');
        oTable.addTranslation(sKey.c_str(), cString(("T" + std::to_string(i)).c_str()));
    }
    oTable.addTranslation("Key number 0", cString("shadowed"));
    qsa::cSerializeBinary oOut;
    oTable >> oOut;

    cLITrTable oLoaded;
    oLoaded.addTranslation("old", cString("alt"));
    qsa::cDeserializeBinary oIn(oOut.data());
    oLoaded << oIn;
    EXPECT_EQ(oTable.count(), oLoaded.count());
    EXPECT_EQ(nullptr, oLoaded.hasTranslation("old"));
    EXPECT_EQ(cString("T0"), oLoaded.hasTranslation("Key number 0")->translation());
    for (unsigned i = 0; i < 300; ++i) {
        std::string sKey = "Key number " + std::to_string(i * 7919u) + std::string(i % 40, '.');
        const qucs::cLITrItem* pItem = oLoaded.hasTranslation(sKey.c_str());
        ASSERT_NE(nullptr, pItem) << sKey;
        EXPECT_EQ(cString(("T" + std::to_string(i)).c_str()), pItem->translation());
    }

    // Cut short: the reader fails and the table keeps what it had.
    qstd::tArray<char> oCut;
    oCut.append(oOut.data().constData(), oOut.data().length() / 2);
    qsa::cDeserializeBinary oShort(oCut);
    EXPECT_THROW(oLoaded << oShort, qstd::cAbstractException);
    EXPECT_EQ(oTable.count(), oLoaded.count());
}
