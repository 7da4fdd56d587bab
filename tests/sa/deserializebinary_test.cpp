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

using namespace qortest;
using qsa::cDeserializeBinary;
using qsa::cSerializeBinary;

namespace {

/// A deserializer over a copy of the given bytes.
struct cReader
{
    explicit cReader(const tBytes& oBytes)
        : moData(arrayOf(oBytes)), moReader(qstd::tConstArrayRef<char>(moData))
    {
    }
    explicit cReader(cSerializeBinary& s) : cReader(bytesOf(s)) {}
    qstd::tArray<char> moData;
    cDeserializeBinary moReader;
};

} // namespace

TEST(DeserializeBinary, ScalarsRoundTrip)
{
    cSerializeBinary s;
    s.store((unsigned char)200);
    s.store((signed char)-100);
    s.store((unsigned short)65535);
    s.store((short)-32768);
    s.store(0xFFFFFFFFu);
    s.store(INT_MIN);
    s.store(0xFFFFFFFFFFFFFFFFULL);
    s.store(LLONG_MIN);
    s.store(true);
    s.store(false);
    s.store(-0.5);
    s.store(std::nan(""));
    s.storeBlock("\0\1\2", 3);

    cReader r(s);
    cDeserializeBinary& d = r.moReader;
    unsigned char iUChar = 0;
    signed char iChar = 0;
    unsigned short iUShort = 0;
    short iShort = 0;
    unsigned iUInt = 0;
    int iInt = 0;
    unsigned long long iUInt64 = 0;
    long long iInt64 = 0;
    bool bTrue = false, bFalse = true;
    double dHalf = 0, dNan = 0;
    qstd::tArray<char> oBlock;
    d.load(iUChar);
    d.load(iChar);
    d.load(iUShort);
    d.load(iShort);
    d.load(iUInt);
    d.load(iInt);
    d.load(iUInt64);
    d.load(iInt64);
    d.load(bTrue);
    d.load(bFalse);
    d.load(dHalf);
    d.load(dNan);
    d.loadBlock(oBlock);
    EXPECT_EQ(200, iUChar);
    EXPECT_EQ(-100, iChar);
    EXPECT_EQ(65535, iUShort);
    EXPECT_EQ(-32768, iShort);
    EXPECT_EQ(0xFFFFFFFFu, iUInt);
    EXPECT_EQ(INT_MIN, iInt);
    EXPECT_EQ(0xFFFFFFFFFFFFFFFFULL, iUInt64);
    EXPECT_EQ(LLONG_MIN, iInt64);
    EXPECT_TRUE(bTrue);
    EXPECT_FALSE(bFalse);
    EXPECT_EQ(-0.5, dHalf);
    EXPECT_TRUE(std::isnan(dNan));
    EXPECT_EQ(tBytes({0, 1, 2}), bytesOf(qstd::tConstArrayRef<char>(oBlock)));
    EXPECT_TRUE(d.eoc());
}

TEST(DeserializeBinary, AnyNonZeroBoolIsTrueAndWideBlocksLoad)
{
    cReader r(words({8, 0x100}) + words({14, 2, 0}) + text("ok"));
    bool bValue = false;
    r.moReader.load(bValue);
    EXPECT_TRUE(bValue);
    qstd::tArray<char> oBlock;
    r.moReader.loadBlock(oBlock);
    EXPECT_EQ(text("ok"), bytesOf(qstd::tConstArrayRef<char>(oBlock)));
}

TEST(DeserializeBinary, StringsRoundTripInBothModes)
{
    const qucs::cString sUnicode(L"\u00e4\u20ac\U0001F600x");
    for (unsigned iMode : {0u, 1u}) {
        SCOPED_TRACE(iMode);
        cSerializeBinary s;
        s.setStringStoreMode(cSerializeBinary::StringStoreMode(iMode));
        s.store(sUnicode);
        s.store(qucs::cString());
        s.store(qstd::cAsciiString("ascii\0x", 7));
        cReader r(s);
        qucs::cString sLoaded, sEmpty("not empty");
        qstd::cAsciiString sAscii;
        r.moReader.load(sLoaded);
        r.moReader.load(sEmpty);
        r.moReader.load(sAscii);
        EXPECT_TRUE(sUnicode == sLoaded);
        EXPECT_TRUE(sEmpty.empty());
        EXPECT_EQ(7u, sAscii.length());
        EXPECT_EQ(qstd::cAsciiString("ascii\0x", 7), sAscii);
    }
}

TEST(DeserializeBinary, MismatchNamesBothTypesAndKeepsThePosition)
{
    cSerializeBinary s;
    s.store(qstd::cAsciiString("x"));
    cReader r(s);
    int iValue = 5;
    auto e = expectThrow<qstd::cTypeMissmatchException>([&] { r.moReader.load(iValue); });
    EXPECT_EQ("piInt32", std::string(e.expectedType().c_str()));
    EXPECT_EQ("cAsciiString", std::string(e.assignedType().c_str()));
    EXPECT_EQ(5, iValue);
    EXPECT_EQ(0u, r.moReader.currentPos());
    qstd::tArray<char> oBlock;
    e = expectThrow<qstd::cTypeMissmatchException>([&] { r.moReader.loadBlock(oBlock); });
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
    double dValue = 0;
    q.moReader.load(dValue);
    EXPECT_EQ(1.5, dValue);
}

TEST(DeserializeBinary, LooksAheadWithoutMoving)
{
    cSerializeBinary s;
    s.newLabel("a");
    {
        qsa::cContext oContext(s.newContext("cfg"));
        s.store(1);
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
        oContext.release(); // skips the unread 1
    }
    EXPECT_FALSE(d.isContext());
    EXPECT_THROW(d.getNextContextTypeName(), qstd::cTypeMissmatchException);
    int iValue = 0;
    d.load(iValue);
    EXPECT_EQ(2, iValue);
    EXPECT_EQ("b", std::string(d.lastLabel().c_str()));
    EXPECT_TRUE(d.eoc());
    EXPECT_FALSE(d.isLabel());
}

TEST(DeserializeBinary, NestedContextsAndTypeNames)
{
    cSerializeBinary s;
    {
        qsa::cContext oOuter(s.newContext("outer"));
        s.store(1);
        {
            qsa::cContext oInner(s.newContext(nullptr));
            s.store(2);
            s.store(3);
            oInner.release();
        }
        s.store(4);
        oOuter.release();
    }
    s.store(5);
    cReader r(s);
    cDeserializeBinary& d = r.moReader;

    // A named request rejects a context stored without that name.
    auto e = expectThrow<qstd::cTypeMissmatchException>([&] { d.getContext("other"); });
    EXPECT_EQ("context other", std::string(e.expectedType().c_str()));
    EXPECT_EQ("context outer", std::string(e.assignedType().c_str()));
    EXPECT_EQ(0u, d.currentPos());

    int i = 0;
    qsa::cContext oOuter(d.getContext("outer"));
    d.load(i);
    EXPECT_EQ(1, i);
    e = expectThrow<qstd::cTypeMissmatchException>([&] { d.getContext("inner"); });
    EXPECT_EQ("context ", std::string(e.assignedType().c_str()));
    {
        qsa::cContext oInner(d.getContext(nullptr));
        d.load(i);
        EXPECT_EQ(2, i);
        d.rewind();
        d.load(i);
        EXPECT_EQ(2, i);
        d.load(i);
        EXPECT_TRUE(d.eoc());
        EXPECT_THROW(d.load(i), qstd::cRuntimeException);
        oInner.release();
    }
    d.load(i);
    EXPECT_EQ(4, i);
    EXPECT_TRUE(d.eoc());
    oOuter.release();
    d.load(i);
    EXPECT_EQ(5, i);
    EXPECT_TRUE(d.eoc());
    d.rewind();
    EXPECT_EQ(0u, d.currentPos());
}

TEST(DeserializeBinary, AbandonedReadContextCountsAsNotRead)
{
    cSerializeBinary s;
    s.newLabel("here");
    {
        qsa::cContext oContext(s.newContext(nullptr));
        s.store(1);
        oContext.release();
    }
    cReader r(s);
    cDeserializeBinary& d = r.moReader;
    const unsigned iIdPos = 4 + 4 + 4 + 4; // behind the label
    {
        qsa::cContext oContext(d.getContext(nullptr));
        int i = 0;
        d.load(i);
    }
    EXPECT_EQ(iIdPos, d.currentPos());
    EXPECT_TRUE(d.isContext());
    // Releasing the outer of two open contexts closes the inner one too.
    qsa::cContext oOuter(d.getContext(nullptr));
    d.releaseCurrentContext();
    EXPECT_TRUE(d.eoc());
    d.releaseCurrentContext(); // top level: no effect
    EXPECT_TRUE(d.eoc());
}

TEST(DeserializeBinary, EocIgnoresTrailingLabels)
{
    cSerializeBinary s;
    {
        qsa::cContext oContext(s.newContext(nullptr));
        s.store(1);
        s.newLabel("x");
        s.newLabel("y");
        oContext.release();
    }
    cReader r(s);
    qsa::cContext oContext(r.moReader.getContext(nullptr));
    EXPECT_FALSE(r.moReader.eoc());
    int i = 0;
    r.moReader.load(i);
    EXPECT_TRUE(r.moReader.eoc());
    EXPECT_TRUE(r.moReader.isLabel());
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
    qstd::cAsciiString sTwo;
    d.load(sTwo);
    EXPECT_EQ("two", std::string(sTwo.c_str()));
    // Behind the read position: found by the second pass.
    d.findLabel("first");
    int i = 0;
    d.load(i);
    EXPECT_EQ(1, i);
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
        s.store(qstd::cAsciiString("v"));
        s.store((short)-3);
        s.storeBlock("ab", 2);
        {
            qsa::cContext oInner(s.newContext(nullptr));
            s.store(2.5);
            s.store(qucs::cString("u"));
            oInner.release();
        }
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
    int i = 0;
    r.moReader.load(i);
    qsa::cContext oContext(r.moReader.getContext("cfg"));
    cSerializeBinary oNoLabels;
    r.moReader.reserialize(oNoLabels);
    cReader q(oNoLabels);
    qstd::cAsciiString sValue;
    q.moReader.load(sValue);
    EXPECT_EQ("v", std::string(sValue.c_str()));
    EXPECT_TRUE(q.moReader.lastLabel().empty());
}

TEST(DeserializeBinary, ReserializeRejectsIdsItCannotCopy)
{
    for (unsigned iId : {14u, 20u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(iId);
        cReader r(words({5, 1, iId, 0, 0}));
        cSerializeBinary oTarget;
        auto e = expectThrow<qstd::cRuntimeException>([&] { r.moReader.reserialize(oTarget); });
        EXPECT_NE(std::string::npos, messageOf(e).find("Invalid type id"));
        EXPECT_EQ(0u, r.moReader.currentPos());
    }
}

TEST(DeserializeBinary, MalformedInputThrowsAndKeepsThePosition)
{
    enum Expect
    {
        EndOfContext,
        InvalidId,
        Mismatch,
        TooDeep
    };
    enum Operation
    {
        LoadInt,
        LoadAscii,
        LoadString,
        LoadBlock,
        Enter,
        FindLabel,
        Reserialize,
        NextLabel
    };
    struct Row
    {
        const char* pName;
        tBytes oBytes;
        Operation eOperation;
        Expect eExpect;
    };
    tBytes oDeep; // 257 contexts, each holding the next
    {
        cSerializeBinary s;
        std::vector<qsa::cContext*> oOpen;
        for (unsigned i = 0; i < 257; ++i)
            oOpen.push_back(new qsa::cContext(s.newContext(nullptr)));
        for (auto it = oOpen.rbegin(); it != oOpen.rend(); ++it) {
            (*it)->release();
            delete *it;
        }
        oDeep = bytesOf(s);
    }
    const Row oTable[] = {
        {"empty", {}, LoadInt, EndOfContext},
        {"truncated id", {5, 0}, LoadInt, EndOfContext},
        {"truncated scalar", {5, 0, 0, 0, 1, 2}, LoadInt, EndOfContext},
        {"truncated label", words({13, 10, 5}) + text("ab"), LoadInt, EndOfContext},
        {"label without name item", words({13, 5, 1}), LoadInt, Mismatch},
        {"string count beyond data", words({10, 0xFFFFFFF0}) + text("abc"), LoadAscii,
         EndOfContext},
        {"ucs4 count beyond data", words({11, 0x40000001, 65}), LoadString, EndOfContext},
        {"utf8 count beyond data", words({16, 100}) + text("abc"), LoadString, EndOfContext},
        {"block count beyond data", words({1, 0xFFFFFFFF}) + text("x"), LoadBlock, EndOfContext},
        {"block64 count beyond data", words({14, 0, 1}), LoadBlock, EndOfContext},
        {"context length too long", words({12, 4, 1000, 8, 0}), Enter, EndOfContext},
        {"context64 length too long", words({15, 6, 0, 1, 8, 0}), Enter, EndOfContext},
        {"context length too short", words({12, 4, 4, 8, 0}), Enter, EndOfContext},
        {"context header beyond length", words({12, 4, 8, 8, 0}), Enter, EndOfContext},
        {"context name beyond length", words({12, 4, 24, 8, 1, 10, 4}) + text("abcd"), Enter,
         EndOfContext},
        {"context without length item", words({12, 5, 16, 8, 0}), Enter, Mismatch},
        {"257 nested contexts", oDeep, Enter, TooDeep},
        {"unknown id in label search", words({5, 1, 99, 0}), FindLabel, InvalidId},
        {"truncated item in label search", words({5, 1, 10, 50}), FindLabel, EndOfContext},
        {"skipped context too long", words({12, 4, 100, 8, 0}), FindLabel, EndOfContext},
        {"skipped context too short", words({12, 4, 0, 8, 0}), FindLabel, EndOfContext},
        {"skipped ucs4 too long", words({11, 0x40000000}), FindLabel, EndOfContext},
        {"reserialize truncated", words({5, 1, 6, 1}), Reserialize, EndOfContext},
        {"reserialize 257 nested", oDeep, Reserialize, TooDeep},
        {"next label truncated", words({13, 10, 9}), NextLabel, EndOfContext},
    };
    for (const Row& oRow : oTable) {
        SCOPED_TRACE(oRow.pName);
        cReader r(oRow.oBytes);
        cDeserializeBinary& d = r.moReader;
        std::vector<qsa::cContext*> oEntered;
        std::function<void()> fCall;
        switch (oRow.eOperation) {
        case LoadInt:
            fCall = [&] {
                int i;
                d.load(i);
            };
            break;
        case LoadAscii:
            fCall = [&] {
                qstd::cAsciiString s;
                d.load(s);
            };
            break;
        case LoadString:
            fCall = [&] {
                qucs::cString s;
                d.load(s);
            };
            break;
        case LoadBlock:
            fCall = [&] {
                qstd::tArray<char> o;
                d.loadBlock(o);
            };
            break;
        case Enter:
            fCall = [&] {
                for (;;)
                    oEntered.push_back(new qsa::cContext(d.getContext(nullptr)));
            };
            break;
        case FindLabel:
            fCall = [&] { d.findLabel("x"); };
            break;
        case Reserialize:
            fCall = [&] {
                cSerializeBinary s;
                d.reserialize(s);
            };
            break;
        case NextLabel:
            fCall = [&] { d.getNextLabelName(); };
            break;
        }
        unsigned iPos = 0;
        if (oRow.eExpect == EndOfContext) {
            auto e = expectThrow<qstd::cRuntimeException>(fCall);
            EXPECT_EQ("Unable to deserialize - end of context!", messageOf(e));
        } else if (oRow.eExpect == InvalidId) {
            auto e = expectThrow<qstd::cRuntimeException>(fCall);
            EXPECT_EQ("Invalid type id (99) while deserializing!", messageOf(e));
        } else if (oRow.eExpect == Mismatch) {
            expectThrow<qstd::cTypeMissmatchException>(fCall);
        } else {
            auto e = expectThrow<qstd::cRuntimeException>(fCall);
            EXPECT_NE(std::string::npos, messageOf(e).find("nested deeper than 256"));
            if (oRow.eOperation == Enter) {
                EXPECT_EQ(256u, oEntered.size());
                iPos = 256 * 20;
            }
        }
        EXPECT_EQ(iPos, d.currentPos());
        for (auto it = oEntered.rbegin(); it != oEntered.rend(); ++it)
            delete *it;
        EXPECT_EQ(0u, d.currentPos());
    }
}

TEST(DeserializeBinary, ContextMayNotReachPastItsEnclosure)
{
    // The inner context claims more than the outer one holds, though the data has it.
    tBytes oBytes =
        words({12, 4, 16 + 20, 8, 0}) + words({12, 4, 40, 8, 0}) + words({0, 0, 0, 0, 0});
    cReader r(oBytes);
    qsa::cContext oOuter(r.moReader.getContext(nullptr));
    EXPECT_THROW(r.moReader.getContext(nullptr), qstd::cRuntimeException);
    EXPECT_THROW(r.moReader.findLabel("x"), qstd::cRuntimeException);
}

TEST(DeserializeBinary, DataTakenOverAndReplaced)
{
    cSerializeBinary s;
    s.store(3);
    qstd::tAutoPtr<qstd::tArray<char>> pBuffer(new qstd::tArray<char>(s.ownData()));
    cDeserializeBinary d(pBuffer);
    int i = 0;
    d.load(i);
    EXPECT_EQ(3, i);
    qstd::tArray<char> oOther(arrayOf(words({5, 4})));
    qsa::cContextRef oNothing;
    d.setData(qstd::tConstArrayRef<char>(oOther));
    d.load(i);
    EXPECT_EQ(4, i);

    cDeserializeBinary oEmpty;
    EXPECT_TRUE(oEmpty.eoc());
    EXPECT_THROW(oEmpty.load(i), qstd::cRuntimeException);
}

namespace {

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
    int i = 0;
    d.load(i);
    EXPECT_EQ(iDepth, i);
    readNested(d, iDepth - 1);
    EXPECT_TRUE(d.eoc());
    oContext.release();
}

} // namespace

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
        int i = 0;
        d.load(i);
        EXPECT_EQ(7, i);
    }
    EXPECT_EQ(oBytes.size() / 2, d.currentPos());
    readNested(d, 7);
    EXPECT_TRUE(d.eoc());
}
