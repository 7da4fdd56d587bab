// Tests of the range checks, tArray, the array windows and cConstCStringRef.
#include "qor_core/qor_core.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <functional>

#include <cstring>

using namespace qstd;
using qortest::expectThrow;
using qortest::messageOf;

namespace {

tArray<char> bytes(const char* p)
{
    return tArray<char>(p, unsigned(std::strlen(p)));
}

std::string text(const tArray<char>& a)
{
    return std::string(a.data(true), a.length());
}

} // namespace

TEST(Bounds, RangeChecksReportTheKindOfViolation)
{
    auto startEnd = [](unsigned iCount, unsigned iStart, unsigned iEnd) {
        return tBounds::startEnd2Size(iCount, iStart, iEnd, "tArray", "t");
    };
    EXPECT_EQ(4u, startEnd(4, 0, 4));
    EXPECT_EQ(0u, startEnd(4, 3, 3));
    EXPECT_THROW(startEnd(4, 3, 2), cOutOfBoundsException);
    EXPECT_THROW(startEnd(4, 1, 5), cOutOfRangeException);
    EXPECT_THROW(startEnd(4, 4, 4), cOutOfRangeException);
    EXPECT_THROW(startEnd(0, 0, 0), cOutOfRangeException);

    // Overflowing 32 bits is a bounds violation, a start past the end an index one,
    // and a size past the end a size one with the room left as max.
    EXPECT_THROW(tBounds::startSize2End(10, 5, 0xffffffffu, "tArray", "x"), cOutOfBoundsException);
    cOutOfRangeException e =
        expectThrow<cOutOfRangeException>([] { tBounds::startSize2End(10, 11, 0, "tArray", "x"); });
    EXPECT_EQ(cSTDExceptions::Index, e.outOfRangeType());
    EXPECT_EQ(9, e.maxValue());
    e = expectThrow<cOutOfRangeException>([] { tBounds::startSize2End(10, 4, 7, "tArray", "x"); });
    EXPECT_EQ(cSTDExceptions::Size, e.outOfRangeType());
    EXPECT_EQ(7, e.errornousValue());
    EXPECT_EQ(6, e.maxValue());
    EXPECT_EQ(10u, tBounds::startSize2End(10, 4, 6, "tArray", "x"));
    EXPECT_EQ(10u, tBounds::startSize2End(10, 10, 0, "tArray", "x"));
}

TEST(Array, AtOnEmptyArrayThrowsTheIndexMessageWithMaxZero)
{
    tArray<char> oArray;
    cOutOfRangeException e = expectThrow<cOutOfRangeException>([&] { oArray.at(0); });
    EXPECT_EQ("Index out of range in tArray / at. The index should be between 0 - 0 but is 0!",
              messageOf(e));
    oArray.append('a');
    e = expectThrow<cOutOfRangeException>([&] { oArray.at(3); });
    EXPECT_EQ("Index out of range in tArray / at. The index should be between 0 - 0 but is 3!",
              messageOf(e));
}

TEST(Array, CapacityGrowsInStepsAndEraseFitsExactly)
{
    tArray<int> oArray;
    EXPECT_EQ(nullptr, oArray.data(true));
    EXPECT_EQ(0u, oArray.append(7));
    EXPECT_EQ(32u, oArray.poolSize());
    for (int i = 1; i < 33; ++i)
        oArray.append(i);
    EXPECT_EQ(64u, oArray.poolSize());
    oArray.erase(0, 3);
    EXPECT_EQ(30u, oArray.length());
    EXPECT_EQ(30u, oArray.poolSize());
    EXPECT_EQ(3, oArray[0]);

    oArray.setFitOnErase(false);
    oArray.erase(2);
    EXPECT_EQ(28u, oArray.length());
    EXPECT_EQ(30u, oArray.poolSize());
    oArray.setGrowStep(2);
    oArray.optimizeMemory();
    EXPECT_EQ(28u, oArray.poolSize());
    oArray.clear();
    EXPECT_EQ(0u, oArray.poolSize());
    EXPECT_THROW(oArray.data(), cBugException); // "mpPool != 0"
}

TEST(Array, ArgumentsReferringIntoTheArraySurviveItsChanges)
{
    tArray<char> oArray;
    for (int i = 0; i < 32; ++i)
        oArray.append(char('a' + i % 26));
    oArray.append(oArray[0]);         // triggers growth while referring into the pool
    oArray.append(oArray.data(), 33); // source inside the pool as well
    EXPECT_EQ(66u, oArray.length());
    EXPECT_EQ('a', oArray[32]);
    EXPECT_EQ(text(oArray).substr(0, 33), text(oArray).substr(33));

    // Windows onto the own pool, through the proxy interface, across growth.
    cAsciiString sText("abcdefghijklmnopqrstuvwxyz01234"); // 31 of 32 places used
    sText.append(cConstCStringRef(sText.c_str()));
    EXPECT_STREQ("abcdefghijklmnopqrstuvwxyz01234abcdefghijklmnopqrstuvwxyz01234", sText.c_str());
    sText.append(tConstArrayRef<char, tArrayAsciiStringTraits<char>>(sText, 60));
    EXPECT_STREQ("34", sText.c_str() + 62);

    // The value to trim or replace is an element of the array itself.
    tArray<char> oTrimmed = bytes("xxabcxx");
    oTrimmed.trim(oTrimmed[0], true, true); // trimming the back reallocates the pool first
    EXPECT_EQ("abc", text(oTrimmed));
    tArray<char> oReplaced = bytes("a-b-c-d");
    oReplaced.replace(oReplaced[1], oReplaced[0]);
    EXPECT_EQ("aabacad", text(oReplaced));
}

namespace {

/// A proxy of iLength 'p's whose copy writes half of what it was asked for and then
/// fails, as a proxy reading from a source that breaks halfway would.
class cBreakingProxy : public tAbstractConstArrayProxy<char>
{
public:
    explicit cBreakingProxy(unsigned iLength) : miLength(iLength) {}
    const char& proxyAt(unsigned) const override { return mcElement; }
    unsigned proxyLength() const override { return miLength; }
    void proxyCopyPartTo(char* pTarget, unsigned, unsigned iCount) const override
    {
        std::memset(pTarget, 'p', iCount / 2 + 1);
        throw cRuntimeException();
    }
    const char* proxyProvideData(unsigned, unsigned) const override { return nullptr; }
    unsigned proxyPreferredBlockSize() const override { return 0; }
    const tAbstractConstArrayProxy<char>* constProxyPhysical(unsigned& iOffset) const override
    {
        iOffset = 0;
        return this;
    }

private:
    unsigned miLength;
    char mcElement = 'p';
};

} // namespace

TEST(Array, FailedAppendOfAProxyLeavesTheArrayUnchanged)
{
    // A window whose target shrank afterwards fails before it copies anything; the
    // breaking proxy fails after writing part of its elements.
    tArray<char> oSource = bytes("abcdef");
    tConstArrayRef<char> oStale(oSource, 0, 6);
    oSource.truncate(2);
    cBreakingProxy oBreaking(6);
    for (unsigned iLength : {2u, 32u}) { // room behind the elements, and growth needed
        SCOPED_TRACE(iLength);
        tArray<char> oArray;
        cAsciiString sText;
        for (unsigned i = 0; i < iLength; ++i) {
            oArray.append('x');
            sText += 'x';
        }
        EXPECT_THROW(oArray.append(oStale), cOutOfRangeException);
        EXPECT_THROW(oArray.append(oBreaking), cRuntimeException);
        EXPECT_EQ(std::string(iLength, 'x'), text(oArray));
        EXPECT_THROW(sText.append(oBreaking), cRuntimeException);
        EXPECT_EQ(std::string(iLength, 'x'), std::string(sText.c_str())); // still terminated
        oArray.append(bytes("yz"));
        EXPECT_EQ(std::string(iLength, 'x') + "yz", text(oArray));
    }
    // A copy that fails while an array is constructed leaves nothing allocated.
    EXPECT_THROW(tArray<char> oCopy(oBreaking), cRuntimeException);
}

TEST(Array, InsertEraseTruncateChecks)
{
    tArray<char> oArray = bytes("abcdef");
    oArray.insert(6, "XY", 2);
    oArray.insert(0, "<", 1);
    EXPECT_EQ("<abcdefXY", text(oArray));
    cOutOfRangeException e = expectThrow<cOutOfRangeException>([&] { oArray.insert(10, "z", 1); });
    EXPECT_EQ(cSTDExceptions::Value, e.outOfRangeType());
    EXPECT_EQ(9, e.maxValue());

    oArray.erase(1, 3);
    EXPECT_EQ("<defXY", text(oArray));
    EXPECT_THROW(oArray.erase(4, 3), cOutOfRangeException);
    e = expectThrow<cOutOfRangeException>([&] { oArray.erase(7); });
    EXPECT_EQ("Size is out of range in tArray / erase. The size must be a value 0 and 6 but is 7!",
              messageOf(e));
    oArray.truncate(6); // no-op
    EXPECT_EQ(6u, oArray.length());
    EXPECT_THROW(oArray.truncate(7), cOutOfRangeException);
    oArray.truncate(2);
    EXPECT_EQ("<d", text(oArray));
}

TEST(Array, FindCountsFromStartAndTreatsZeroCountAsToTheEnd)
{
    tArray<char> oArray = bytes("abcabcab");
    bool bFound = false;
    EXPECT_EQ(2u, oArray.find("ca", 2, bFound, 1));
    EXPECT_TRUE(bFound);
    EXPECT_EQ(5u, oArray.find("c", 1, bFound, 3, 0));
    EXPECT_TRUE(bFound);
    oArray.find("cab", 3, bFound, 3, 4); // the match at 5 reaches past the window "abca"
    EXPECT_FALSE(bFound);
    EXPECT_EQ(6u, oArray.find("ab", 2, bFound, 4, 100)); // count past the end: to the end
    EXPECT_TRUE(bFound);
    EXPECT_EQ(2u, oArray.find("", 0, bFound, 2));
    EXPECT_FALSE(bFound);
    oArray.find("abcd", 4, bFound);
    EXPECT_FALSE(bFound);
    EXPECT_THROW(oArray.find("a", 1, bFound, 9), cOutOfRangeException);
    EXPECT_TRUE(oArray.beginsWith("", 0));
    EXPECT_TRUE(oArray.beginsWith("abc", 3));
    EXPECT_TRUE(oArray.endsWith("cab", 3));
    EXPECT_FALSE(oArray.endsWith("abcabcabc", 9));
    EXPECT_TRUE(oArray.contains("bca", 3));
}

TEST(Array, RelationsWithArraysAndCStrings)
{
    tArray<char> oAbc = bytes("abc");
    EXPECT_TRUE(oAbc < "abc"); // the C string's terminator takes part
    EXPECT_EQ(0, cAsciiString("abc").relation("abc"));
    EXPECT_LT(bytes("ab").relation(oAbc), 0);
    EXPECT_GT(bytes("abd").relation(oAbc), 0);
    EXPECT_GT(bytes("\xff").relation(bytes("a")), 0); // bytes compare unsigned
    tArray<char> oNoPool, oEmptyPool(4);
    oEmptyPool.setFitOnErase(false);
    oEmptyPool.truncate(0);
    EXPECT_EQ(0, oNoPool.relation(oEmptyPool));
    EXPECT_LT(oNoPool.relation(oAbc), 0);
    EXPECT_THROW(oAbc.relation(static_cast<const char*>(nullptr)), cBugException);
    EXPECT_TRUE(oAbc.isEqual("abc", 3));
    EXPECT_FALSE(oAbc.isEqual("ab", 2));
    EXPECT_TRUE(oAbc.isEqual("bc", 2, 1));
}

TEST(Array, ReplaceFillAndDeepCopy)
{
    tArray<char> oArray = bytes("a-b-c");
    oArray.replace('-', '+', 2);
    EXPECT_EQ("a-b+c", text(oArray));
    EXPECT_THROW(oArray.replace('a', 'b', 5), cOutOfRangeException);
    tArray<char>().replace('a', 'b', 3); // nothing to check on an empty array
    oArray.setGrowStep(3);
    oArray.setFitOnErase(false);
    tArray<char> oCopy(oArray); // takes grow step and fit flag along
    EXPECT_EQ(3u, oCopy.growStep());
    EXPECT_FALSE(oCopy.fitOnErase());
    oCopy.fill('x');
    EXPECT_EQ("xxxxx", text(oCopy));
    EXPECT_EQ("a-b+c", text(oArray));
    oArray = oCopy;
    EXPECT_EQ("xxxxx", text(oArray));
}

TEST(ArrayRef, WindowReadsAndWritesThroughToTheTarget)
{
    tArray<char> oArray = bytes("0123456789");
    tArrayRef<char> oWindow(oArray, 2, 4); // "2345"
    EXPECT_EQ('3', oWindow.at(1));
    EXPECT_THROW(oWindow.at(4), cOutOfRangeException);

    oWindow.insert(1, "ab", 2);
    EXPECT_EQ("012ab3456789", text(oArray));
    EXPECT_EQ(6u, oWindow.length());
    oWindow.append('Z');
    EXPECT_EQ("012ab345Z6789", text(oArray));
    oWindow.erase(0, 3);
    EXPECT_EQ("01345Z6789", text(oArray));
    EXPECT_EQ(4u, oWindow.length());
    oWindow.truncate(2);
    EXPECT_EQ("01346789", text(oArray));
    EXPECT_THROW(oWindow.truncate(2), cOutOfRangeException); // truncate to the length throws
    oWindow.setSize(4);
    EXPECT_EQ(10u, oArray.length());
    EXPECT_EQ('6', oArray[6]);

    // A window onto a window refers to the physical array.
    tArrayRef<char> oInner(oWindow, 1, 2);
    unsigned iOffset = 0;
    EXPECT_EQ(&oArray, oInner.constProxyPhysical(iOffset));
    EXPECT_EQ(3u, iOffset);
}

TEST(ArrayRef, WindowUsedAsAProxyChangesOnlyItsPartOfTheTarget)
{
    typedef tAbstractArrayProxy<char>& P;
    struct Row
    {
        const char* pName;
        std::function<void(P)> fChange;
        const char* pTarget; ///< the target afterwards; unchanged when the change throws
        unsigned iWindowLength;
    };
    const Row oTable[] = {
        {"patch", [](P p) { p.proxyPatchData("xy", 1, 2); }, "012xy56789", 4},
        {"write", [](P p) { p.proxyProvideWriteableData(1, 1)[0] = 'w'; }, "012w456789", 4},
        {"at", [](P p) { p.proxyAt(3) = 'q'; }, "01234q6789", 4},
        {"insert", [](P p) { p.proxyInsert(4, "ab", 2); }, "012345ab6789", 6},
        {"gap", [](P p) { p.proxyInsertDefaultObjects(0, 1), p.proxyAt(0) = '_'; }, "01_23456789",
         5},
        {"erase", [](P p) { p.proxyErase(1, 2); }, "01256789", 2},
        {"shrink", [](P p) { p.proxySetSize(1); }, "0126789", 1},
        {"grow", [](P p) { p.proxySetSize(5), p.proxyAt(4) = '!'; }, "012345!6789", 5},
        {"patch past the end", [](P p) { p.proxyPatchData("xy", 3, 2); }, "0123456789", 4},
        {"write past the end", [](P p) { p.proxyProvideWriteableData(4, 1); }, "0123456789", 4},
        {"insert past the end", [](P p) { p.proxyInsert(5, "ab", 2); }, "0123456789", 4},
        {"gap past the end", [](P p) { p.proxyInsertDefaultObjects(5, 1); }, "0123456789", 4},
        {"erase past the end", [](P p) { p.proxyErase(3, 2); }, "0123456789", 4},
        {"at past the end", [](P p) { p.proxyAt(4); }, "0123456789", 4}};
    for (const Row& oRow : oTable) {
        SCOPED_TRACE(oRow.pName);
        tArray<char> oArray = bytes("0123456789");
        tArrayRef<char> oWindow(oArray, 2, 4); // "2345"
        try {
            oRow.fChange(oWindow);
        } catch (const cBugException&) {
        }
        EXPECT_EQ(oRow.pTarget, text(oArray));
        EXPECT_EQ(oRow.iWindowLength, oWindow.length());
    }
    tArray<char> oArray = bytes("01");
    tArrayRef<char> oEmpty(oArray, 1, 0);
    EXPECT_EQ(nullptr, oEmpty.data());
    unsigned iOffset = 0;
    EXPECT_EQ(&oArray, oEmpty.proxyPhysical(iOffset));
    EXPECT_EQ(1u, iOffset);
}

TEST(ArrayRef, CutChecksItsRange)
{
    tArray<char> oArray = bytes("abcdef");
    tConstArrayRef<char> oWindow(oArray, 1); // "bcdef"
    tConstArrayRef<char> oCut = oWindow.cut(1, 3);
    EXPECT_TRUE(oCut.isEqual("cd", 2));
    cOutOfRangeException e = expectThrow<cOutOfRangeException>([&] { oWindow.cut(5, 5); });
    EXPECT_EQ(cSTDExceptions::Index, e.outOfRangeType());
    EXPECT_THROW(oWindow.cut(3, 2), cOutOfBoundsException);
    EXPECT_THROW(tConstArrayRef<char>(oArray, 2, 5), cOutOfRangeException);
    tConstArrayRef<char> oEmpty;
    EXPECT_THROW(oEmpty[0], cBugException); // "mpData != 0"
}

TEST(ConstCStringRef, ViewsAStringWithoutOwningIt)
{
    cConstCStringRef oRef("hello");
    EXPECT_EQ(5u, oRef.proxyLength());
    EXPECT_EQ('e', oRef[1]);
    EXPECT_THROW(oRef[5], cBugException);
    char cBuffer[3];
    oRef.proxyCopyPartTo(cBuffer, 2, 3);
    EXPECT_EQ(0, std::memcmp(cBuffer, "llo", 3));
    EXPECT_THROW(oRef.proxyCopyPartTo(cBuffer, 3, 3), cOutOfRangeException);
    EXPECT_THROW(cConstCStringRef(nullptr), cBugException);
    tArray<char> oCopy(oRef);
    EXPECT_EQ("hello", text(oCopy));
}
