// Tests of tList, tPtrList and tConstListRef.
#include "qor_core/qor_core.h"
#include "testutil.h"

#include <gtest/gtest.h>

using namespace qstd;
using qortest::cCounted;
using qortest::expectThrow;

namespace {

std::vector<int> values(const tList<int>& oList)
{
    std::vector<int> oResult;
    for (tList<int>::const_iterator it = oList.begin(); it != oList.end(); ++it)
        oResult.push_back(*it);
    return oResult;
}

/// Counts down from a start value; a producer for tConstListRef.
class cCountdown : public tConstListRefNode<int>
{
public:
    explicit cCountdown(int iStart) : miCurrent(iStart) {}
    void setNext() override { --miCurrent; }
    const int& element() const override { return miCurrent; }
    bool isEnd() const override { return miCurrent <= 0; }
    tConstListRefNode<int>* createCopy() const override { return new cCountdown(*this); }

private:
    int miCurrent;
};

} // namespace

TEST(List, IteratorsAreCheckedAtTheSentinels)
{
    tList<int> oList;
    EXPECT_TRUE(oList.empty());
    EXPECT_TRUE(oList.begin() == oList.end());
    tList<int>::iterator it = oList.end();
    cOutOfBoundsException e = expectThrow<cOutOfBoundsException>([&] { ++it; });
    EXPECT_EQ("tList", std::string(e.container().c_str()));
    tList<int>::iterator itStart = oList.start();
    EXPECT_THROW(--itStart, cOutOfBoundsException);
    EXPECT_THROW(*oList.end(), cOutOfBoundsException);
    EXPECT_THROW(*static_cast<const tList<int>&>(oList).begin(), cOutOfBoundsException);
    EXPECT_THROW(oList.erase(oList.end()), cOutOfBoundsException);
    EXPECT_THROW(oList.end().eraseLater(), cOutOfBoundsException);
}

TEST(List, InsertEraseAndExchange)
{
    tList<int> oList;
    oList.append(2);
    oList.prepend(1);
    oList.append(4);
    oList.insert(oList.last(), 3);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), values(oList));
    tList<int>::iterator itNext = oList.erase(oList.find(2));
    EXPECT_EQ(3, *itNext);
    EXPECT_EQ(3u, oList.count());
    oList.exchange(oList.begin(), oList.last());
    EXPECT_EQ((std::vector<int>{4, 3, 1}), values(oList));
    oList.exchange(oList.begin(), oList.find(3)); // neighbours
    EXPECT_EQ((std::vector<int>{3, 4, 1}), values(oList));
    oList.exchange(oList.last(), oList.find(4)); // neighbours, reversed
    EXPECT_EQ((std::vector<int>{3, 1, 4}), values(oList));
    EXPECT_THROW(oList.exchange(oList.begin(), oList.end()), cOutOfBoundsException);
    tList<int> oCopy(oList);
    EXPECT_TRUE(oCopy == oList);
    oCopy.remove(1);
    EXPECT_EQ((std::vector<int>{3, 4}), values(oCopy));
    EXPECT_EQ(3u, oList.count());
}

TEST(List, EraseLaterKeepsNodesUntilTheSweep)
{
    tList<int> oList;
    for (int i = 0; i < 6; ++i)
        oList.append(i);
    int iVisited = 0;
    for (tList<int>::iterator it = oList.begin(); it != oList.end(); ++it) {
        ++iVisited;
        if (*it % 2 == 0)
            it.eraseLater();
        // Marking a node ahead of the walk does not hide it from the walk.
        if (*it == 1)
            oList.find(5).eraseLater();
    }
    EXPECT_EQ(6, iVisited);
    EXPECT_EQ(6u, oList.count());
    oList.sweep();
    EXPECT_EQ((std::vector<int>{1, 3}), values(oList));
}

TEST(PtrList, GuardModesBalanceConstructions)
{
    cCounted::reset();
    {
        tPtrList<cCounted> oList(tPtrList<cCounted>::GuardSingle);
        oList.guardedInsert(oList.end(), tAutoPtr<cCounted>(new cCounted(1)));
        oList.append(new cCounted(2));
        oList.append(new cCounted(3));
        oList.erase(oList.begin());
        EXPECT_EQ(2, cCounted::siAlive);
        cCounted* pTaken = oList.take(oList.begin());
        EXPECT_EQ(2, pTaken->miValue);
        delete pTaken;
        EXPECT_THROW(oList.take(oList.end()), cOutOfBoundsException);
        oList.begin().eraseLater();
        oList.sweep();
        EXPECT_EQ(0, cCounted::siAlive);
        oList.append(new cCounted(4));
    }
    EXPECT_EQ(0, cCounted::siAlive);
    {
        tPtrList<cCounted> oArrays(tPtrList<cCounted>::GuardArray);
        oArrays.append(new cCounted[3]);
        tPtrList<cCounted> oTarget;
        oTarget.moveFrom(oArrays);
        EXPECT_TRUE(oArrays.empty());
        EXPECT_EQ(tPtrList<cCounted>::GuardArray, oTarget.guardMode());
        EXPECT_EQ(tPtrList<cCounted>::NoGuard, oArrays.guardMode());
    }
    EXPECT_EQ(0, cCounted::siAlive);
    cCounted oLocal;
    {
        tPtrList<cCounted> oBorrowing;
        oBorrowing.append(&oLocal);
    }
    EXPECT_EQ(1, cCounted::siAlive);
}

TEST(ConstListRef, IterationsAreIndependent)
{
    tConstListRef<cCountdown> oRef{cCountdown(3)};
    for (int iPass = 0; iPass < 2; ++iPass) {
        std::vector<int> oSeen;
        for (tConstListRef<cCountdown>::const_iterator it = oRef.begin(); it != oRef.end(); ++it)
            oSeen.push_back(*it);
        EXPECT_EQ((std::vector<int>{3, 2, 1}), oSeen) << "pass " << iPass;
    }
    tConstListRef<cCountdown>::const_iterator itEnd = oRef.end();
    EXPECT_THROW(*itEnd, cOutOfBoundsException);
}
