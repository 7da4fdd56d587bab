// Tests of cDeserializeBinary: round trips, look-ahead, contexts, label search,
// re-serializing, and the rejection of malformed input.
#include "qor_core/sa/deserializebinary.h"
#include "qor_core/sa/saexceptions.h"
#include "qor_core/sa/serializebinary.h"
#include "qor_core/ucs/string.h"
#include "sabytes.h"
#include "std/testutil.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <memory>

using namespace qortest;
using qsa::cDeserializeBinary;
using qsa::cSerializeBinary;

namespace {

template <class T> T loaded(cDeserializeBinary& d)
{
    T oValue{};
    d.load(oValue);
    return oValue;
}

qstd::tArray<char> block(cDeserializeBinary& d)
{
    qstd::tArray<char> oBlock;
    d.loadBlock(oBlock);
    return oBlock;
}

template <class... T> void storeAll(cSerializeBinary& s, const T&... oValues)
{
    (s.store(oValues), ...);
}

/// Writes iDepth nested contexts, each holding its depth, inside one another.
void writeNested(cSerializeBinary& s, int iDepth)
{
    if (iDepth == 0)
        return;
    qsa::cContext oContext(s.newContext(iDepth % 2 ? "odd" : nullptr));
    s.store(iDepth);
    writeNested(s, iDepth - 1);
    oContext.release();
}

/// Reads what writeNested wrote, checking every value and the end of every context.
void readNested(cDeserializeBinary& d, int iDepth)
{
    if (iDepth == 0)
        return;
    qsa::cContext oContext(d.getContext(iDepth % 2 ? "odd" : nullptr));
    EXPECT_EQ(iDepth, loaded<int>(d));
    readNested(d, iDepth - 1);
    EXPECT_TRUE(d.eoc());
    oContext.release();
}

} // namespace

TEST(DeserializeBinary, ScalarsRoundTrip)
{
    cSerializeBinary s;
    storeAll(s, (unsigned char)200, (signed char)-100, (unsigned short)65535, (short)-32768,
             0xFFFFFFFFu, INT_MIN, 0xFFFFFFFFFFFFFFFFULL, LLONG_MIN, true, false, -0.5,
             std::nan(""));
    s.storeBlock("\0\1\2", 3);
    cReader r(s);
    cDeserializeBinary& d = r.moReader;
    EXPECT_EQ(200, loaded<unsigned char>(d));
    EXPECT_EQ(-100, loaded<signed char>(d));
    EXPECT_EQ(65535, loaded<unsigned short>(d));
    EXPECT_EQ(-32768, loaded<short>(d));
    EXPECT_EQ(0xFFFFFFFFu, loaded<unsigned>(d));
    EXPECT_EQ(INT_MIN, loaded<int>(d));
    EXPECT_EQ(0xFFFFFFFFFFFFFFFFULL, loaded<unsigned long long>(d));
    EXPECT_EQ(LLONG_MIN, loaded<long long>(d));
    EXPECT_TRUE(loaded<bool>(d));
    EXPECT_FALSE(loaded<bool>(d));
    EXPECT_EQ(-0.5, loaded<double>(d));
    EXPECT_TRUE(std::isnan(loaded<double>(d)));
    EXPECT_EQ(tBytes({0, 1, 2}), bytesOf(block(d)));
    EXPECT_TRUE(d.eoc());

    // Any non-zero bool is true; wide blocks (id 14) load as well.
    cReader w(words({8, 0x100}) + words({14, 2, 0}) + text("ok"));
    EXPECT_TRUE(loaded<bool>(w.moReader));
    EXPECT_EQ(text("ok"), bytesOf(block(w.moReader)));
}

TEST(DeserializeBinary, StringsRoundTripInBothModes)
{
    const qucs::cString sUnicode(L"\u00e4\u20ac\U0001F600x");
    for (unsigned iMode : {0u, 1u}) {
        SCOPED_TRACE(iMode);
        cSerializeBinary s;
        s.setStringStoreMode(cSerializeBinary::StringStoreMode(iMode));
        storeAll(s, sUnicode, qucs::cString(), qstd::cAsciiString("ascii\0x", 7));
        cReader r(s);
        qucs::cString sEmpty("not empty");
        EXPECT_TRUE(sUnicode == loaded<qucs::cString>(r.moReader));
        r.moReader.load(sEmpty);
        EXPECT_TRUE(sEmpty.empty());
        EXPECT_EQ(qstd::cAsciiString("ascii\0x", 7), loaded<qstd::cAsciiString>(r.moReader));
    }
}

TEST(DeserializeBinary, MismatchNamesBothTypesAndKeepsThePosition)
{
    cReader r(words({10, 1}) + text("x"));
    int iValue = 5;
    auto e = expectThrow<qstd::cTypeMissmatchException>([&] { r.moReader.load(iValue); });
    EXPECT_EQ("piInt32", std::string(e.expectedType().c_str()));
    EXPECT_EQ("cAsciiString", std::string(e.assignedType().c_str()));
    EXPECT_EQ(5, iValue);
    EXPECT_EQ(0u, r.moReader.currentPos());
    e = expectThrow<qstd::cTypeMissmatchException>([&] { block(r.moReader); });
    EXPECT_EQ("block", std::string(e.expectedType().c_str()));

    // After a label the mismatch carries its name.
    cSerializeBinary t;
    t.newLabel("count");
    t.store(1.5);
    cReader q(t);
    auto l = expectThrow<qsa::cLabeledTypeMissmatchException>([&] { q.moReader.load(iValue); });
    EXPECT_EQ("count", std::string(l.lastLabel().c_str()));
    EXPECT_EQ("Type mismatch: Expecting type \"piInt32\" but got object of type \"piDouble\" - "
              "last label was \"count\"!",
              messageOf(l));
    EXPECT_EQ(0u, q.moReader.currentPos());
    EXPECT_EQ(1.5, loaded<double>(q.moReader));
}

TEST(DeserializeBinary, LooksAheadWithoutMoving)
{
    cSerializeBinary s;
    s.newLabel("a");
    {
        qsa::cContext oContext(s.newContext("cfg"));
        s.store(1);
        s.newLabel("x"); // trailing labels do not count for eoc()
        oContext.release();
    }
    s.newLabel("b");
    s.store(2);
    cReader r(s);
    cDeserializeBinary& d = r.moReader;
    EXPECT_TRUE(d.isLabel());
    EXPECT_EQ("a", std::string(d.getNextLabelName().c_str()));
    EXPECT_TRUE(d.isContext());
    EXPECT_EQ("cfg", std::string(d.getNextContextTypeName().c_str()));
    EXPECT_EQ(0u, d.currentPos());
    EXPECT_TRUE(d.lastLabel().empty());
    {
        qsa::cContext oContext(d.getContext("cfg"));
        EXPECT_FALSE(d.isContext());
        EXPECT_FALSE(d.eoc());
        EXPECT_EQ(1, loaded<int>(d));
        EXPECT_TRUE(d.eoc());
        EXPECT_TRUE(d.isLabel());
        d.rewind();
        oContext.release(); // skips what is unread again
    }
    EXPECT_FALSE(d.isContext());
    EXPECT_THROW(d.getNextContextTypeName(), qstd::cTypeMissmatchException);
    EXPECT_EQ(2, loaded<int>(d));
    EXPECT_EQ("b", std::string(d.lastLabel().c_str()));
    EXPECT_TRUE(d.eoc());
    EXPECT_FALSE(d.isLabel());
}

TEST(DeserializeBinary, NestedContextsAndTypeNames)
{
    cSerializeBinary s;
    writeNested(s, 2); // an unnamed context holding 2 and a context "odd" holding 1
    s.store(5);
    cReader r(s);
    cDeserializeBinary& d = r.moReader;

    // A named request rejects a context stored without a name or with another one.
    auto e = expectThrow<qstd::cTypeMissmatchException>([&] { d.getContext("other"); });
    EXPECT_EQ("context other", std::string(e.expectedType().c_str()));
    EXPECT_EQ("context ", std::string(e.assignedType().c_str()));
    EXPECT_EQ(0u, d.currentPos());
    qsa::cContext oOuter(d.getContext(nullptr));
    EXPECT_EQ(2, loaded<int>(d));
    e = expectThrow<qstd::cTypeMissmatchException>([&] { d.getContext("other"); });
    EXPECT_EQ("context odd", std::string(e.assignedType().c_str()));
    {
        qsa::cContext oInner(d.getContext("odd"));
        EXPECT_EQ(1, loaded<int>(d));
        d.rewind(); // to the start of the context
        EXPECT_EQ(1, loaded<int>(d));
        EXPECT_TRUE(d.eoc());
        EXPECT_THROW(loaded<int>(d), qstd::cRuntimeException);
        oInner.release();
    }
    EXPECT_TRUE(d.eoc());
    oOuter.release();
    EXPECT_EQ(5, loaded<int>(d));
    d.rewind();
    EXPECT_EQ(0u, d.currentPos());
}

TEST(DeserializeBinary, AbandonedReadContextCountsAsNotRead)
{
    cSerializeBinary s;
    s.newLabel("here");
    qsa::cContext oWritten(s.newContext(nullptr));
    s.store(1);
    oWritten.release();
    cReader r(s);
    cDeserializeBinary& d = r.moReader;
    {
        qsa::cContext oContext(d.getContext(nullptr));
        loaded<int>(d);
    }
    EXPECT_EQ(16u, d.currentPos()); // behind the label
    EXPECT_TRUE(d.isContext());
    qsa::cContext oOuter(d.getContext(nullptr));
    d.releaseCurrentContext();
    EXPECT_TRUE(d.eoc());
    d.releaseCurrentContext(); // top level: no effect
    EXPECT_TRUE(d.eoc());
}

TEST(DeserializeBinary, ClosedContextsOutliveTheirReader)
{
    cSerializeBinary s;
    for (int i = 0; i < 3; ++i) {
        qsa::cContext oOuter(s.newContext(nullptr));
        qsa::cContext oInner(s.newContext(nullptr));
        oOuter.release();
    }
    tBytes oBytes = bytesOf(s);
    qstd::tArray<char> oData(arrayOf(oBytes));
    cDeserializeBinary* pReader = new cDeserializeBinary(qstd::tConstArrayRef<char>(oData));
    qsa::cContext oReleased(pReader->getContext(nullptr));
    oReleased.release();
    qsa::cContext oOuter(pReader->getContext(nullptr));
    qsa::cContext oInner(pReader->getContext(nullptr));
    oOuter.release(); // closes the inner one too
    qsa::cContext oOpen(pReader->getContext(nullptr));
    delete pReader; // the contexts go afterwards, touching nothing of it (ASan)
}

TEST(DeserializeBinary, FindLabelSearchesOnceMoreFromTheStart)
{
    cSerializeBinary s;
    s.newLabel("first");
    s.store(1);
    {
        qsa::cContext oContext(s.newContext(nullptr));
        s.newLabel("hidden");
        s.store(9);
        oContext.release();
    }
    s.newLabel("second");
    s.store(qstd::cAsciiString("two"));
    s.storeBlock("b", 1);
    s.store(qucs::cString("w"));
    cReader r(s);
    cDeserializeBinary& d = r.moReader;

    d.findLabel("second");
    EXPECT_EQ("two", std::string(loaded<qstd::cAsciiString>(d).c_str()));
    d.findLabel("first"); // behind the read position: found by the second pass
    EXPECT_EQ(1, loaded<int>(d));
    // Labels inside a nested context are not seen; the position stays.
    unsigned iPos = d.currentPos();
    EXPECT_FALSE(d.tryFindLabel("hidden"));
    EXPECT_EQ(iPos, d.currentPos());
    auto e = expectThrow<qstd::cRuntimeException>([&] { d.findLabel("nowhere"); });
    EXPECT_EQ("Unable to deserialize - label (\"nowhere\") not found in current context!",
              messageOf(e));
    EXPECT_EQ(iPos, d.currentPos());
    // Inside the context the search stays inside.
    qsa::cContext oContext(d.getContext(nullptr));
    EXPECT_TRUE(d.tryFindLabel("hidden"));
    EXPECT_FALSE(d.tryFindLabel("second"));
}

TEST(DeserializeBinary, ReserializeCopiesTheCurrentContext)
{
    cSerializeBinary s;
    s.store(7);
    {
        qsa::cContext oContext(s.newContext("cfg"));
        s.newLabel("name");
        storeAll(s, qstd::cAsciiString("v"), (short)-3);
        s.storeBlock("ab", 2);
        qsa::cContext oInner(s.newContext(nullptr));
        storeAll(s, 2.5, qucs::cString("u"));
        oInner.release();
        oContext.release();
    }
    const tBytes oOriginal = bytesOf(s);
    cReader r(oOriginal + words({0, 19}));

    // A target that keeps labels gets an identical copy.
    cSerializeBinary oCopy;
    oCopy.setPreferNoLabels(false);
    r.moReader.reserialize(oCopy);
    EXPECT_EQ(0u, r.moReader.currentPos());
    EXPECT_EQ(oOriginal, bytesOf(oCopy));

    // Without labels, inside the context only.
    loaded<int>(r.moReader);
    qsa::cContext oContext(r.moReader.getContext("cfg"));
    cSerializeBinary oNoLabels;
    r.moReader.reserialize(oNoLabels);
    cReader q(oNoLabels);
    EXPECT_EQ("v", std::string(loaded<qstd::cAsciiString>(q.moReader).c_str()));
    EXPECT_TRUE(q.moReader.lastLabel().empty());
}

TEST(DeserializeBinary, MalformedInputThrowsAndKeepsThePosition)
{
    typedef cDeserializeBinary& D;
    const std::function<void(D)> fInt = [](D d) { loaded<int>(d); };
    const std::function<void(D)> fAscii = [](D d) { loaded<qstd::cAsciiString>(d); };
    const std::function<void(D)> fString = [](D d) { loaded<qucs::cString>(d); };
    const std::function<void(D)> fBlock = [](D d) { block(d); };
    std::vector<std::unique_ptr<qsa::cContext>> oEntered;
    const std::function<void(D)> fEnter = [&](D d) {
        for (;;)
            oEntered.emplace_back(new qsa::cContext(d.getContext(nullptr)));
    };
    const std::function<void(D)> fFind = [](D d) { d.findLabel("x"); };
    cSerializeBinary oSink;
    const std::function<void(D)> fCopy = [&](D d) { d.reserialize(oSink); };
    const std::function<void(D)> fNextLabel = [](D d) { d.getNextLabelName(); };

    tBytes oDeep; // 257 contexts, each holding the next
    for (unsigned i = 1; i <= 257; ++i)
        oDeep = words({12, 4, 20 * i - 4, 8, 0}) + oDeep;
    // An empty message stands for a type mismatch.
    const char* const kEnd = "Unable to deserialize - end of context!";
    const char* const kDeep = "nested deeper than 256";
    const struct Row
    {
        const char* pName;
        tBytes oBytes;
        const std::function<void(D)>& fCall;
        const char* pMessage;
    } oTable[] = {
        {"empty", {}, fInt, kEnd},
        {"truncated id", {5, 0}, fInt, kEnd},
        {"truncated scalar", {5, 0, 0, 0, 1, 2}, fInt, kEnd},
        {"truncated label", words({13, 10, 5}) + text("ab"), fInt, kEnd},
        {"label without name item", words({13, 5, 1}), fInt, ""},
        {"string count beyond data", words({10, 0xFFFFFFF0}) + text("abc"), fAscii, kEnd},
        {"ucs4 count beyond data", words({11, 0x40000001, 65}), fString, kEnd},
        {"utf8 count beyond data", words({16, 100}) + text("abc"), fString, kEnd},
        {"block count beyond data", words({1, 0xFFFFFFFF}) + text("x"), fBlock, kEnd},
        {"block64 count beyond data", words({14, 0, 1}), fBlock, kEnd},
        {"context length too long", words({12, 4, 1000, 8, 0}), fEnter, kEnd},
        {"context64 length too long", words({15, 6, 0, 1, 8, 0}), fEnter, kEnd},
        {"context length too short", words({12, 4, 4, 8, 0}), fEnter, kEnd},
        {"context header beyond length", words({12, 4, 8, 8, 0}), fEnter, kEnd},
        {"context name beyond length", words({12, 4, 24, 8, 1, 10, 4}) + text("abcd"), fEnter,
         kEnd},
        {"context without length item", words({12, 5, 16, 8, 0}), fEnter, ""},
        {"257 nested contexts", oDeep, fEnter, kDeep},
        {"unknown id in label search", words({5, 1, 99, 0}), fFind,
         "Invalid type id (99) while deserializing!"},
        {"truncated item in label search", words({5, 1, 10, 50}), fFind, kEnd},
        {"skipped context too long", words({12, 4, 100, 8, 0}), fFind, kEnd},
        {"skipped context too short", words({12, 4, 0, 8, 0}), fFind, kEnd},
        {"skipped ucs4 too long", words({11, 0x40000000}), fFind, kEnd},
        {"reserialize truncated", words({5, 1, 6, 1}), fCopy, kEnd},
        {"reserialize 257 nested", oDeep, fCopy, kDeep},
        // Wide blocks load, but are not copied.
        {"reserialize block64", words({5, 1, 14, 0, 0}), fCopy, "Invalid type id (14)"},
        {"reserialize id ~0", words({5, 1, 0xFFFFFFFF}), fCopy, "Invalid type id (4294967295)"},
        {"next label truncated", words({13, 10, 9}), fNextLabel, kEnd},
    };
    for (const Row& oRow : oTable) {
        SCOPED_TRACE(oRow.pName);
        const bool bDeepEnter = &oRow.fCall == &fEnter && oRow.pMessage == kDeep;
        cReader r(oRow.oBytes);
        cDeserializeBinary& d = r.moReader;
        auto fCall = [&] { oRow.fCall(d); };
        if (*oRow.pMessage) {
            auto e = expectThrow<qstd::cRuntimeException>(fCall);
            EXPECT_NE(std::string::npos, messageOf(e).find(oRow.pMessage)) << messageOf(e);
        } else {
            expectThrow<qstd::cTypeMissmatchException>(fCall);
        }
        // Only the nesting limit leaves contexts entered: 256 of 20 bytes each.
        EXPECT_EQ(bDeepEnter ? 256u : 0u, oEntered.size());
        EXPECT_EQ(bDeepEnter ? 256u * 20 : 0u, d.currentPos());
        while (!oEntered.empty())
            oEntered.pop_back();
        EXPECT_EQ(0u, d.currentPos());
    }
}

TEST(DeserializeBinary, ContextMayNotReachPastItsEnclosure)
{
    // The inner context claims more than the outer one holds, though the data has it.
    cReader r(words({12, 4, 16 + 20, 8, 0, 12, 4, 40, 8, 0, 0, 0, 0, 0, 0}));
    qsa::cContext oOuter(r.moReader.getContext(nullptr));
    EXPECT_THROW(r.moReader.getContext(nullptr), qstd::cRuntimeException);
    EXPECT_THROW(r.moReader.findLabel("x"), qstd::cRuntimeException);
}

TEST(DeserializeBinary, DataTakenOverAndReplaced)
{
    cSerializeBinary s;
    s.store(3);
    cDeserializeBinary d(qstd::tAutoPtr<qstd::tArray<char>>(new qstd::tArray<char>(s.ownData())));
    EXPECT_EQ(3, loaded<int>(d));
    qstd::tArray<char> oOther(arrayOf(words({5, 4})));
    d.setData(qstd::tConstArrayRef<char>(oOther));
    EXPECT_EQ(4, loaded<int>(d));

    cDeserializeBinary oEmpty;
    EXPECT_TRUE(oEmpty.eoc());
    EXPECT_THROW(loaded<int>(oEmpty), qstd::cRuntimeException);
}

// Writer and reader keep closed context data for their next contexts; nesting deeper
// than they keep, abandoning contexts and repeating must all give the same stream.
TEST(DeserializeBinary, ContextDataIsReusedWithoutCarryingState)
{
    cSerializeBinary s;
    writeNested(s, 7);
    {
        qsa::cContext oAbandoned(s.newContext("dropped"));
        s.store(99);
    }
    writeNested(s, 7);
    tBytes oBytes = bytesOf(s);
    ASSERT_EQ(0u, oBytes.size() % 2);
    EXPECT_EQ(tBytes(oBytes.begin(), oBytes.begin() + oBytes.size() / 2),
              tBytes(oBytes.begin() + oBytes.size() / 2, oBytes.end()));

    cReader r(oBytes);
    cDeserializeBinary& d = r.moReader;
    readNested(d, 7);
    {
        qsa::cContext oAbandoned(d.getContext("odd"));
        EXPECT_EQ(7, loaded<int>(d));
    }
    EXPECT_EQ(oBytes.size() / 2, d.currentPos());
    readNested(d, 7);
    EXPECT_TRUE(d.eoc());
}
