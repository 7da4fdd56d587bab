// Tests of tVector, tPtrVector, tStack and tPair.
#include "qor_core/qor_core.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <new>

using namespace qstd;
using qortest::cCounted;
using qortest::expectThrow;

namespace {

/// Records the elements it is notified about.
class cRecordingVector : public tVector<int>
{
public:
    void notifyElementRemoved(int& iElement) override { moRemoved.append(iElement); }
    tArray<int> moRemoved;
};

std::vector<int> values(const tVector<int>& oVector)
{
    std::vector<int> oResult;
    for (tVector<int>::const_iterator it = oVector.begin(); it != oVector.end(); ++it)
        oResult.push_back(*it);
    return oResult;
}

} // namespace

TEST(Vector, InsertAtCountAppendsAndRemoveAtCountThrows)
{
    tVector<int> oVector;
    oVector.insert(0, 2);
    oVector.insert(1, 3); // at count: appends
    oVector.push_front(1);
    oVector.push_back(4);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), values(oVector));
    EXPECT_THROW(oVector.insert(5, 9), cOutOfRangeException);
    cOutOfRangeException e = expectThrow<cOutOfRangeException>([&] { oVector.remove(4); });
    EXPECT_EQ(cSTDExceptions::Value, e.outOfRangeType());
    EXPECT_EQ(4, e.maxValue());
    EXPECT_THROW(oVector.at(4), cOutOfRangeException);
}

TEST(Vector, InsertRemoveLastKeepsTheCount)
{
    cCounted::reset();
    {
        tVector<cCounted> oVector;
        for (int i = 0; i < 4; ++i)
            oVector.append(cCounted(i));
        oVector.insertRemoveLast(1, cCounted(9));
        ASSERT_EQ(4u, oVector.count());
        EXPECT_EQ(0, oVector[0].miValue);
        EXPECT_EQ(9, oVector[1].miValue);
        EXPECT_EQ(2, oVector[3].miValue);
        EXPECT_EQ(4, cCounted::siAlive);
        EXPECT_THROW(oVector.insertRemoveLast(4, cCounted(1)), cOutOfRangeException);
    }
    EXPECT_EQ(0, cCounted::siAlive);
}

TEST(Vector, RemovalNotifiesUnlessToldNotTo)
{
    cRecordingVector oVector;
    for (int i = 1; i <= 4; ++i)
        oVector.append(i * 10);
    oVector.remove(1);
    oVector.remove(0, tVector<int>::DoNotNotify);
    ASSERT_EQ(1u, oVector.moRemoved.length());
    EXPECT_EQ(20, oVector.moRemoved[0]);
    oVector.clear();
    EXPECT_EQ(3u, oVector.moRemoved.length());
    EXPECT_TRUE(oVector.empty());
}

TEST(Vector, PoolFollowsTheStepRule)
{
    tVector<int> oVector;
    oVector.append(1);
    EXPECT_EQ(10u, oVector.poolSize());
    for (int i = 0; i < 10; ++i)
        oVector.append(i);
    EXPECT_EQ(20u, oVector.poolSize());
    oVector.resize(3);
    EXPECT_EQ(20u, oVector.poolSize()); // growth never shrinks
    oVector.optimizeMemory();
    EXPECT_EQ(10u, oVector.poolSize());
    oVector.setNumElementsAhead(4);
    oVector.resize(9);
    EXPECT_EQ(12u, oVector.poolSize());
    EXPECT_EQ(0, oVector[8]); // new elements are value-initialised
    EXPECT_EQ(4u, tVectorPool::getRequiredPoolSize(0, 4));
    EXPECT_EQ(8u, tVectorPool::getRequiredPoolSize(8, 4));
}

TEST(Vector, CopiesAreDeepAndElementAddressesStable)
{
    tVector<int> oVector;
    oVector.append(5);
    int* pFirst = &oVector[0];
    for (int i = 0; i < 100; ++i)
        oVector.append(i);
    EXPECT_EQ(pFirst, &oVector[0]);
    tVector<int> oCopy(oVector);
    EXPECT_TRUE(oCopy == oVector);
    oCopy[0] = 6;
    EXPECT_EQ(5, oVector[0]);
    EXPECT_TRUE(oCopy != oVector);
    tVector<int> oOther;
    oOther.append(1);
    oOther.insert(1, oVector);
    EXPECT_EQ(102u, oOther.count());
    EXPECT_EQ(5, oOther[1]);
}

TEST(PtrVector, EveryDeletionModeBalancesConstructions)
{
    cCounted::reset();
    {
        tPtrVector<cCounted> oOwning;
        oOwning.append(new cCounted(1));
        oOwning.append(tAutoPtr<cCounted>(new cCounted(2)));
        oOwning.append(new cCounted(3));
        oOwning.remove(0);
        EXPECT_EQ(2, cCounted::siAlive);
        cCounted* pTaken = oOwning.take(0);
        EXPECT_EQ(2, pTaken->miValue);
        delete pTaken;
        oOwning.resize(3);
        EXPECT_EQ(nullptr, oOwning[2]);
        oOwning.resize(1);
    }
    EXPECT_EQ(0, cCounted::siAlive);
    {
        tPtrVector<cCounted> oRing;
        for (int i = 0; i < 3; ++i)
            oRing.append(new cCounted(i));
        oRing.insertRemoveLast(0, new cCounted(9)); // the pointee of the dropped one goes
        EXPECT_EQ(3, cCounted::siAlive);
        EXPECT_EQ(1, oRing[2]->miValue);
    }
    EXPECT_EQ(0, cCounted::siAlive);
    {
        tPtrVector<cCounted> oArrays(tAutoPtrType::Array);
        oArrays.append(new cCounted[3]);
        oArrays.append(new cCounted[2]);
        EXPECT_EQ(5, cCounted::siAlive);
        oArrays.remove(1);
        EXPECT_EQ(3, cCounted::siAlive);
    }
    EXPECT_EQ(0, cCounted::siAlive);
    cCounted oLocal(7);
    {
        tPtrVector<cCounted> oBorrowing(tAutoPtrType::Borrowed);
        oBorrowing.append(&oLocal);
        oBorrowing.clear();
    }
    EXPECT_EQ(1, cCounted::siAlive);
}

TEST(Stack, PopsInReverseAndAssertsWhenEmpty)
{
    tStack<int> oStack;
    oStack.push(1);
    oStack.push(2);
    EXPECT_EQ(2, oStack.top());
    EXPECT_EQ(2, oStack.pop());
    EXPECT_EQ(1, oStack.pop());
    cBugException e = expectThrow<cBugException>([&] { oStack.pop(); });
    EXPECT_NE(std::string::npos, qortest::messageOf(e).find("(miTopIdx)!"));
}

namespace {

/// A value whose copies fail while sbFailCopies is set.
struct cFragile
{
    static inline bool sbFailCopies = false;
    explicit cFragile(int iValue) : miValue(iValue) {}
    cFragile(const cFragile& o) : miValue(o.miValue)
    {
        if (sbFailCopies)
            throw std::bad_alloc();
    }
    int miValue;
};

} // namespace

TEST(Stack, FailedPopLeavesTheStackUnchanged)
{
    tStack<cFragile> oStack;
    oStack.push(cFragile(1));
    oStack.push(cFragile(2));
    cFragile::sbFailCopies = true;
    EXPECT_THROW(oStack.pop(), std::bad_alloc);
    cFragile::sbFailCopies = false;
    EXPECT_EQ(2u, oStack.count());
    oStack.push(cFragile(3));
    EXPECT_EQ(3, oStack.pop().miValue);
    EXPECT_EQ(2, oStack.pop().miValue);
    EXPECT_EQ(1, oStack.pop().miValue);
}

TEST(Pair, ComparesMemberWise)
{
    tPair<int, cAsciiString> a(1, "x"), b(1, "y"), c(1, "x");
    EXPECT_TRUE(a < b && !(b < a) && !(a == b) && a == c);
}
