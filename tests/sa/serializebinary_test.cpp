// Tests of cSerializeBinary: the byte layout of every item, contexts with their length
// placeholder, discarding, and the buffer operations.
#include "qor_core/sa/saexceptions.h"
#include "qor_core/sa/serializebinary.h"
#include "qor_core/sa/typereference.h"
#include "qor_core/ucs/string.h"
#include "sabytes.h"
#include "std/testutil.h"

#include <gtest/gtest.h>

#include <functional>

using namespace qortest;
using qsa::cSerializeBinary;
typedef cSerializeBinary& S;

TEST(SerializeBinary, ItemLayoutsAreLittleEndian)
{
    struct Row
    {
        const char* pName;
        std::function<void(S)> fStore;
        tBytes oExpected;
        unsigned iStringMode = cSerializeBinary::StoreUCS4;
    };
    const Row oTable[] = {
        {"int -2", [](S s) { s.store(-2); }, words({5, 0xFFFFFFFE})},
        {"bool true", [](S s) { s.store(true); }, words({8, 1})},
        {"bool false", [](S s) { s.store(false); }, words({8, 0})},
        {"double 1.0", [](S s) { s.store(1.0); }, words({9, 0, 0x3FF00000})},
        {"empty ascii", [](S s) { s.store(qstd::cAsciiString()); }, words({10, 0})},
        {"ascii ab", [](S s) { s.store(qstd::cAsciiString("ab")); }, words({10, 2}) + text("ab")},
        {"uchar", [](S s) { s.store((unsigned char)0xAB); }, {2, 0, 0, 0, 0xAB}},
        {"schar", [](S s) { s.store((signed char)-1); }, {3, 0, 0, 0, 0xFF}},
        {"uint", [](S s) { s.store(0x01020304u); }, words({4, 0x01020304})},
        {"uint64", [](S s) { s.store(0x0102030405060708ULL); }, words({6, 0x05060708, 0x01020304})},
        {"int64 -2", [](S s) { s.store(-2LL); }, words({7, 0xFFFFFFFE, 0xFFFFFFFF})},
        {"ushort", [](S s) { s.store((unsigned short)0x0102); }, {17, 0, 0, 0, 2, 1}},
        {"short -2", [](S s) { s.store((short)-2); }, {18, 0, 0, 0, 0xFE, 0xFF}},
        {"block", [](S s) { s.storeBlock("xyz", 3); }, words({1, 3}) + text("xyz")},
        {"empty block", [](S s) { s.storeBlock(nullptr, 0); }, words({1, 0})},
        {"label", [](S s) { s.newLabel("n"); }, words({13, 10, 1}) + text("n")},
        {"cString ucs4", [](S s) { s.store(qucs::cString(L"a\u20ac")); },
         words({11, 2, 'a', 0x20AC})},
        {"cString utf8", [](S s) { s.store(qucs::cString(L"a\u20ac")); },
         words({16, 4}) + tBytes{'a', 0xE2, 0x82, 0xAC}, cSerializeBinary::StoreUTF8},
        {"cString unknown mode", [](S s) { s.store(qucs::cString("a")); }, {}, 7},
    };
    for (const Row& oRow : oTable) {
        SCOPED_TRACE(oRow.pName);
        cSerializeBinary s;
        if (oRow.iStringMode != cSerializeBinary::StoreUCS4) // else the default stays
            s.setStringStoreMode(cSerializeBinary::StringStoreMode(oRow.iStringMode));
        oRow.fStore(s);
        EXPECT_EQ(oRow.oExpected, bytesOf(s));
        EXPECT_EQ(oRow.oExpected.size(), s.currentPos());
    }
}

// Texts of every short length, where the copy is done word-wise, in strings, labels
// and context type names.
TEST(SerializeBinary, ShortTextsOfEveryLength)
{
    const std::string sAlphabet = "abcdefghijklmnopqrstuvwxyz";
    for (unsigned iLength = 0; iLength <= 20; ++iLength) {
        std::string sText = sAlphabet.substr(iLength % 3, iLength);
        cSerializeBinary s;
        s.store(qstd::cAsciiString(sText.c_str()));
        s.newLabel(sText.c_str());
        qsa::cContext(s.newContext(sText.c_str())).release();
        EXPECT_EQ(words({10, iLength}) + text(sText) + words({13, 10, iLength}) + text(sText) +
                      words({12, 4, 24 + iLength, 8, 1, 10, iLength}) + text(sText),
                  bytesOf(s))
            << iLength;
    }
}

TEST(SerializeBinary, ContextLengthCoversHeaderAndContents)
{
    // Named, with one item and a nested empty, unnamed context.
    cSerializeBinary s;
    {
        qsa::cContext oOuter(s.newContext("ab"));
        s.store(7);
        qsa::cContext(s.newContext(nullptr)).release();
        EXPECT_TRUE(s.hasOpenContexts());
        oOuter.release();
    }
    EXPECT_EQ(words({12, 4, 16 + 10 + 8 + 20, 8, 1, 10, 2}) + text("ab") + words({5, 7}) +
                  words({12, 4, 16, 8, 0}),
              bytesOf(s));
}

TEST(SerializeBinary, AbandonedContextsLeaveTheStreamAsItWas)
{
    // A context abandoned while an exception unwinds, inside a released one.
    cSerializeBinary s;
    s.store(1);
    {
        qsa::cContext oOuter(s.newContext(nullptr));
        s.store(4);
        try {
            qsa::cContext oInner(s.newContext("inner"));
            s.store(5);
            throw 1;
        } catch (int) {
        }
        s.store(6);
        oOuter.release();
    }
    const tBytes oKept = words({5, 1, 12, 4, 16 + 16, 8, 0, 5, 4, 5, 6});
    EXPECT_EQ(oKept, bytesOf(s));

    // A bare reference going away discards as well.
    s.newContext("gone");
    EXPECT_FALSE(s.hasOpenContexts());
    EXPECT_EQ(oKept, bytesOf(s));
}

TEST(SerializeBinary, ReleasingOrDiscardingAnOuterContextClosesTheInnerOnes)
{
    cSerializeBinary s;
    qsa::cContext oOuter(s.newContext(nullptr));
    qsa::cContext oInner(s.newContext(nullptr));
    s.store(1);
    oOuter.release();
    EXPECT_FALSE(s.hasOpenContexts());
    oInner.release(); // already closed: no effect
    oInner.unset();
    EXPECT_EQ(words({12, 4, 16 + 28, 8, 0, 12, 4, 24, 8, 0, 5, 1}), bytesOf(s));

    cSerializeBinary t;
    {
        qsa::cContext oA(t.newContext(nullptr));
        qsa::cContext oB(t.newContext(nullptr));
        t.store(1);
        oA.unset();
        EXPECT_FALSE(t.hasOpenContexts());
        oB.release();
    }
    EXPECT_TRUE(bytesOf(t).empty());
    t.releaseCurrentContext(); // nothing open: no effect
}

TEST(SerializeBinary, ClosedContextsOutliveTheirSerializer)
{
    // Released, and closed together with the outer context: destroying them after
    // the serializer must not hand them back to the gone one (ASan).
    cSerializeBinary* pSerializer = new cSerializeBinary;
    qsa::cContext oReleased(pSerializer->newContext("x"));
    pSerializer->store(7);
    oReleased.release();
    qsa::cContext oOuter(pSerializer->newContext(nullptr));
    qsa::cContext oInner(pSerializer->newContext("inner"));
    oOuter.release();
    qsa::cContext oOpen(pSerializer->newContext(nullptr));
    delete pSerializer;
    oReleased.release(); // nothing left to complete
}

TEST(SerializeBinary, DataAndClearRefuseOpenContexts)
{
    cSerializeBinary s;
    s.store(1);
    qsa::cContext oContext(s.newContext(nullptr));
    auto e = expectThrow<qstd::cBugException>([&] { s.data(); });
    EXPECT_EQ("Calling data() with open contexts is invalid!", messageOf(e));
    e = expectThrow<qstd::cBugException>([&] { s.clear(); });
    EXPECT_EQ("Calling erase() with open contexts is invalid!", messageOf(e));
    qstd::tArray<char> oOther;
    EXPECT_THROW(s.swapData(oOther), qstd::cBugException);
    s.releaseCurrentContext();
    s.clear();
    EXPECT_EQ(0u, s.currentPos());
    EXPECT_TRUE(bytesOf(s).empty());
}

TEST(SerializeBinary, RewindOverwritesAndSwapDataTakesTheBytes)
{
    cSerializeBinary s;
    s.store(9);
    qsa::cContext oContext(s.newContext(nullptr));
    s.store(1);
    s.store(2);
    s.rewind(); // to the start of the context
    s.store(3);
    oContext.release();
    EXPECT_EQ(words({5, 9, 12, 4, 24, 8, 0, 5, 3}), bytesOf(s));
    s.rewind();
    s.store(true); // data() cuts what lies behind
    EXPECT_EQ(words({8, 1}), bytesOf(s));

    qstd::tArray<char> oTaken;
    s.swapData(oTaken);
    EXPECT_EQ(words({8, 1}), bytesOf(oTaken));
    EXPECT_EQ(0u, s.currentPos());
    EXPECT_TRUE(s.ownData().empty());
    s.store(2);
    EXPECT_EQ(words({5, 2}), bytesOf(s));
}

TEST(SerializeBinary, WritesIntoTheCallersArray)
{
    qstd::tArray<char> oArray(arrayOf(tBytes(10, 0xAA)));
    {
        cSerializeBinary s((qstd::tArrayRef<char>(oArray)));
        EXPECT_TRUE(s.noLabelsPreferred());
        qsa::cContext oContext(s.newContext(nullptr)); // overwrites, then appends
        s.store(3);
        oContext.release(); // completes the length in the caller's array
        s.data();           // nothing to cut
        EXPECT_TRUE(s.ownData().empty());
    }
    EXPECT_EQ(words({12, 4, 24, 8, 0, 5, 3}), bytesOf(oArray));
    {
        cSerializeBinary s((qstd::tArrayRef<char>(oArray)));
        s.store(true);
        s.data(); // cuts the caller's array to what was written
    }
    EXPECT_EQ(words({8, 1}), bytesOf(oArray));
}

TEST(SerializeBinary, BlockFromTheBufferItIsWrittenTo)
{
    // The buffer grows while the block is written: the source must be read first.
    cSerializeBinary s;
    tBytes oPattern;
    for (int i = 0; i < 9000; ++i)
        oPattern.push_back((unsigned char)(i * 7));
    s.storeBlock(reinterpret_cast<const char*>(oPattern.data()), unsigned(oPattern.size()));
    const tBytes oFirst = bytesOf(s);
    s.storeBlock(s.data().data(), unsigned(oFirst.size()));
    EXPECT_EQ(oFirst + words({1, unsigned(oFirst.size())}) + oFirst, bytesOf(s));

    // Rewound: the item overlaps its own source. And into the caller's array.
    s.rewind();
    s.storeBlock(s.ownData().begin(), 100);
    EXPECT_EQ(words({1, 100}) + tBytes(oFirst.begin(), oFirst.begin() + 100), bytesOf(s));
    qstd::tArray<char> oArray(arrayOf(oFirst));
    {
        cSerializeBinary t((qstd::tArrayRef<char>(oArray)));
        t.storeBlock(oArray.begin(), oArray.length());
    }
    EXPECT_EQ(words({1, unsigned(oFirst.size())}) + oFirst, bytesOf(oArray));
}

TEST(SerializeBinary, PatchKeepsTheFurtherPosition)
{
    cSerializeBinary s;
    s.store(1);
    s.store(2);
    int iValue = 7;
    qsa::cTypeReference<int> oReference(iValue, false, true);
    s.patch(0, oReference);
    EXPECT_EQ(16u, s.currentPos());
    s.patch(16, oReference);
    EXPECT_EQ(24u, s.currentPos());
    EXPECT_EQ(words({5, 7, 5, 2, 5, 7}), bytesOf(s));
    EXPECT_THROW(s.patch(25, oReference), qstd::cOutOfBoundsException);
    EXPECT_EQ(24u, s.currentPos());
}
