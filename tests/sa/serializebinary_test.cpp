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

TEST(SerializeBinary, ItemLayoutsAreLittleEndian)
{
    struct Row
    {
        const char* pName;
        std::function<void(cSerializeBinary&)> fStore;
        tBytes oExpected;
    };
    const Row oTable[] = {
        {"int -2",
         [](cSerializeBinary& s) { s.store(-2); },
         {0x05, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF}},
        {"bool true", [](cSerializeBinary& s) { s.store(true); }, {0x08, 0, 0, 0, 1, 0, 0, 0}},
        {"bool false", [](cSerializeBinary& s) { s.store(false); }, {0x08, 0, 0, 0, 0, 0, 0, 0}},
        {"double 1.0",
         [](cSerializeBinary& s) { s.store(1.0); },
         {0x09, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}},
        {"empty ascii",
         [](cSerializeBinary& s) { s.store(qstd::cAsciiString()); },
         {0x0A, 0, 0, 0, 0, 0, 0, 0}},
        {"ascii ab",
         [](cSerializeBinary& s) { s.store(qstd::cAsciiString("ab")); },
         {0x0A, 0, 0, 0, 2, 0, 0, 0, 'a', 'b'}},
        {"uchar", [](cSerializeBinary& s) { s.store((unsigned char)0xAB); }, {2, 0, 0, 0, 0xAB}},
        {"schar", [](cSerializeBinary& s) { s.store((signed char)-1); }, {3, 0, 0, 0, 0xFF}},
        {"uint", [](cSerializeBinary& s) { s.store(0x01020304u); }, {4, 0, 0, 0, 4, 3, 2, 1}},
        {"uint64",
         [](cSerializeBinary& s) { s.store(0x0102030405060708ULL); },
         {6, 0, 0, 0, 8, 7, 6, 5, 4, 3, 2, 1}},
        {"int64 -2",
         [](cSerializeBinary& s) { s.store(-2LL); },
         {7, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"ushort",
         [](cSerializeBinary& s) { s.store((unsigned short)0x0102); },
         {17, 0, 0, 0, 2, 1}},
        {"short -2", [](cSerializeBinary& s) { s.store((short)-2); }, {18, 0, 0, 0, 0xFE, 0xFF}},
        {"block",
         [](cSerializeBinary& s) { s.storeBlock("xyz", 3); },
         {1, 0, 0, 0, 3, 0, 0, 0, 'x', 'y', 'z'}},
        {"empty block",
         [](cSerializeBinary& s) { s.storeBlock(nullptr, 0); },
         {1, 0, 0, 0, 0, 0, 0, 0}},
        {"label",
         [](cSerializeBinary& s) { s.newLabel("n"); },
         {13, 0, 0, 0, 10, 0, 0, 0, 1, 0, 0, 0, 'n'}},
        {"cString ucs4", [](cSerializeBinary& s) { s.store(qucs::cString(L"a\u20ac")); },
         words({11, 2, 'a', 0x20AC})},
        {"cString utf8",
         [](cSerializeBinary& s) {
             s.setStringStoreMode(cSerializeBinary::StoreUTF8);
             s.store(qucs::cString(L"a\u20ac"));
         },
         words({16, 4}) + tBytes{'a', 0xE2, 0x82, 0xAC}},
        {"cString unknown mode",
         [](cSerializeBinary& s) {
             s.setStringStoreMode(cSerializeBinary::StringStoreMode(7));
             s.store(qucs::cString("a"));
         },
         {}},
    };
    for (const Row& oRow : oTable) {
        SCOPED_TRACE(oRow.pName);
        cSerializeBinary s;
        oRow.fStore(s);
        EXPECT_EQ(oRow.oExpected, bytesOf(s));
        EXPECT_EQ(oRow.oExpected.size(), s.currentPos());
    }
}

TEST(SerializeBinary, PrefersNoLabels)
{
    EXPECT_TRUE(cSerializeBinary().noLabelsPreferred());
    qstd::tArray<char> oArray;
    EXPECT_TRUE(cSerializeBinary(qstd::tArrayRef<char>(oArray)).noLabelsPreferred());
}

TEST(SerializeBinary, ContextLengthCoversHeaderAndContents)
{
    cSerializeBinary s;
    qsa::cContext oContext(s.newContext(nullptr));
    EXPECT_TRUE(s.hasOpenContexts());
    oContext.release();
    EXPECT_EQ(words({12, 4, 16, 8, 0}), bytesOf(s));

    // Named, with one item and a nested empty context.
    cSerializeBinary t;
    {
        qsa::cContext oOuter(t.newContext("ab"));
        t.store(7);
        qsa::cContext oInner(t.newContext(nullptr));
        oInner.release();
        oOuter.release();
    }
    const tBytes oInner = words({12, 4, 16, 8, 0});
    const tBytes oExpected =
        words({12, 4, 16 + 10 + 8 + 20, 8, 1, 10, 2}) + text("ab") + words({5, 7}) + oInner;
    EXPECT_EQ(oExpected, bytesOf(t));
}

TEST(SerializeBinary, AbandonedContextsLeaveTheStreamAsItWas)
{
    cSerializeBinary s;
    s.store(1);
    const tBytes oBefore = bytesOf(s);
    {
        qsa::cContext oContext(s.newContext("x"));
        s.store(2);
        s.store(3);
        // no release: leaving the block discards
    }
    EXPECT_FALSE(s.hasOpenContexts());
    EXPECT_EQ(oBefore, bytesOf(s));

    // A context abandoned while an exception unwinds, inside a released one.
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
    EXPECT_EQ(oBefore + words({12, 4, 16 + 16, 8, 0, 5, 4, 5, 6}), bytesOf(s));

    // A bare reference going away discards as well.
    cSerializeBinary t;
    t.newContext("gone");
    EXPECT_FALSE(t.hasOpenContexts());
    EXPECT_TRUE(bytesOf(t).empty());
}

TEST(SerializeBinary, ReleasingAnOuterContextCompletesTheInnerOnes)
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

    // Discarding the outer one drops the inner one with it.
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

TEST(SerializeBinary, RewindOverwritesAndDataCutsTheRest)
{
    cSerializeBinary s;
    s.store(1);
    s.store(2);
    s.rewind();
    s.store(true);
    EXPECT_EQ(words({8, 1}), bytesOf(s));

    cSerializeBinary t;
    t.store(9);
    qsa::cContext oContext(t.newContext(nullptr));
    t.store(1);
    t.store(2);
    t.rewind();
    t.store(3);
    oContext.release();
    EXPECT_EQ(words({5, 9, 12, 4, 24, 8, 0, 5, 3}), bytesOf(t));
}

TEST(SerializeBinary, SwapDataAndOwnData)
{
    cSerializeBinary s;
    s.store(1);
    qstd::tArray<char> oTaken;
    s.data();
    s.swapData(oTaken);
    EXPECT_EQ(words({5, 1}), bytesOf(qstd::tConstArrayRef<char>(oTaken)));
    EXPECT_EQ(0u, s.currentPos());
    EXPECT_TRUE(s.ownData().empty());
    s.store(2);
    EXPECT_EQ(words({5, 2}), bytesOf(s));
    EXPECT_EQ(8u, s.ownData().length());
}

TEST(SerializeBinary, WritesIntoTheCallersArray)
{
    qstd::tArray<char> oArray(
        arrayOf({0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}));
    {
        cSerializeBinary s((qstd::tArrayRef<char>(oArray)));
        s.store(1); // overwrites
        s.store(2); // half over, half appended
        s.data();   // nothing to cut
        EXPECT_TRUE(s.ownData().empty());
    }
    EXPECT_EQ(words({5, 1, 5, 2}), bytesOf(qstd::tConstArrayRef<char>(oArray)));
    {
        cSerializeBinary s((qstd::tArrayRef<char>(oArray)));
        s.store(true);
        s.data(); // cuts the caller's array to what was written
    }
    EXPECT_EQ(words({8, 1}), bytesOf(qstd::tConstArrayRef<char>(oArray)));
    {
        // A context's length is completed in the caller's array as well.
        cSerializeBinary s((qstd::tArrayRef<char>(oArray)));
        qsa::cContext oContext(s.newContext(nullptr));
        s.store(3);
        oContext.release();
        s.data();
    }
    EXPECT_EQ(words({12, 4, 24, 8, 0, 5, 3}), bytesOf(qstd::tConstArrayRef<char>(oArray)));
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
    EXPECT_EQ(words({5, 7, 5, 2}), bytesOf(s));
    s.patch(16, oReference);
    EXPECT_EQ(24u, s.currentPos());
    EXPECT_EQ(words({5, 7, 5, 2, 5, 7}), bytesOf(s));
    EXPECT_THROW(s.patch(25, oReference), qstd::cOutOfBoundsException);
    EXPECT_EQ(24u, s.currentPos());
}

TEST(SerializeBinary, ContextsOutliveTheirSerializerSafely)
{
    qsa::cContextRef oRef;
    {
        cSerializeBinary s;
        qsa::cContextRef oOpened(s.newContext(nullptr));
        oRef = oOpened;
    }
    // Destroying the detached context must not touch the gone serializer (ASan).
}
