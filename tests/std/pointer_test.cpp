// Tests of tAutoPtr, tSharedObject, tSharedObjectWatch and tParentWatch.
#include "qor_core/qor_core.h"
#include "testutil.h"

#include <gtest/gtest.h>

using namespace qstd;
using qortest::cCounted;
using qortest::expectThrow;

namespace {

/// Holds a handle to another object and drops it in its destructor.
struct cHolder
{
    explicit cHolder(const tSharedObject<cCounted>& p) : mpHeld(p) {}
    virtual ~cHolder() {}
    tSharedObject<cCounted> mpHeld;
};

} // namespace

TEST(AutoPtr, CopyingMovesOwnership)
{
    cCounted::reset();
    {
        tAutoPtr<cCounted> pFirst(new cCounted(1));
        tAutoPtr<cCounted> pSecond(pFirst);
        EXPECT_FALSE(pFirst);
        tAutoPtr<cCounted> pThird;
        pThird = pSecond;
        EXPECT_TRUE(pSecond.null());
        EXPECT_EQ(1, cCounted::siAlive);
        pThird.reset(new cCounted(2)); // the old object goes
        EXPECT_EQ(1, cCounted::siAlive);
        pThird.reinit(pThird.get(), tAutoPtrType::Borrowed); // same pointer: only the type changes
        EXPECT_EQ(1, cCounted::siAlive);
        cCounted* pRaw = pThird.get();
        pThird.reset();
        EXPECT_EQ(1, cCounted::siAlive); // borrowed: not deleted
        delete pRaw;
        tAutoPtr<cCounted> pArray(new cCounted[3], tAutoPtrType::Array);
        EXPECT_EQ(3, cCounted::siAlive);
        EXPECT_EQ(0, pArray[2].miValue);
    }
    EXPECT_EQ(0, cCounted::siAlive);
}

TEST(SharedObject, LastStrongHandleDeletesTheObject)
{
    cCounted::reset();
    tSharedObjectWatch<cCounted> oWatch;
    {
        tSharedObject<cCounted> pFirst(new cCounted(5));
        tSharedObject<cCounted> pSecond = pFirst;
        EXPECT_EQ(2u, pFirst.refCount());
        oWatch = tSharedObjectWatch<cCounted>(pFirst);
        EXPECT_EQ(2u, pFirst.refCount()); // watches do not count as strong references
        pFirst.unref();
        EXPECT_TRUE(pSecond.unique());
        EXPECT_TRUE(oWatch.valid());
        tSharedObject<cCounted> pFromWatch = oWatch.lock();
        EXPECT_EQ(5, pFromWatch->miValue);
    }
    EXPECT_EQ(0, cCounted::siAlive);
    EXPECT_FALSE(oWatch.valid());
    EXPECT_EQ(nullptr, oWatch.get());
    EXPECT_TRUE(oWatch.lock().null());
}

TEST(SharedObject, InvalidationNullsEveryHandle)
{
    cCounted::reset();
    tSharedObject<cCounted> pFirst(tAutoPtr<cCounted>(new cCounted(1)));
    tSharedObject<cCounted> pSecond(pFirst);
    tSharedObjectWatch<cCounted> oWatch(pSecond);
    pFirst.invalidateObject();
    EXPECT_EQ(0, cCounted::siAlive);
    EXPECT_TRUE(pSecond.null());
    EXPECT_EQ(0u, pSecond.refCount());
    EXPECT_FALSE(oWatch.valid());
    EXPECT_TRUE(pFirst == pSecond);
    cBugException e = expectThrow<cBugException>([&] { (void)pSecond->miValue; });
    EXPECT_EQ("Invalid shared object dereference!", qortest::messageOf(e));
    EXPECT_THROW(*tSharedObject<cCounted>(), cBugException);
    tSharedObject<cCounted> pCopy(pSecond); // copying an invalidated handle stays null
    EXPECT_TRUE(pCopy.null());
    tSharedObject<cCounted> pJoined(pCopy.controlBlock(), pCopy.rawPointer());
    EXPECT_TRUE(pJoined.null());
}

TEST(SharedObject, HandleFromReferenceNeverDeletesAndNestedDeletionIsSafe)
{
    cCounted::reset();
    cCounted oLocal(3);
    {
        tSharedObject<cCounted> pHandle(oLocal);
        tSharedObject<cCounted> pCopy(pHandle);
        pCopy.invalidateObject();
        EXPECT_TRUE(pHandle.null());
    }
    EXPECT_EQ(1, cCounted::siAlive);

    // A destructor that drops the last handle to another object is safe.
    tSharedObject<cCounted> pInner(new cCounted(1));
    tSharedObject<cHolder> pOuter(new cHolder(pInner));
    pInner.unref();
    EXPECT_EQ(2, cCounted::siAlive);
    pOuter.reset(); // deleting the holder deletes the inner object too
    EXPECT_EQ(1, cCounted::siAlive);
}

TEST(SharedObject, HandleFromAnAutoPointerDeletesAsThePointerSays)
{
    cCounted oBorrowed(1); // on the stack: deleting it would be an invalid free
    cCounted::reset();
    {
        tSharedObject<cCounted> pArray(tAutoPtr<cCounted>(new cCounted[3], tAutoPtrType::Array));
        tSharedObject<cCounted> pBorrowed(tAutoPtr<cCounted>(&oBorrowed, tAutoPtrType::Borrowed));
        // Every value beyond the named ones means borrowed as well.
        tSharedObject<cCounted> pOther(
            tAutoPtr<cCounted>(&oBorrowed, tAutoPtrType::PointerType(7)));
        EXPECT_EQ(1, pOther->miValue);
        EXPECT_EQ(3, cCounted::siAlive);
    }
    EXPECT_EQ(0, cCounted::siAlive);
    EXPECT_EQ(3, cCounted::siDestroyed);
}

TEST(ParentWatch, UnlinkReparentsChildrenInOrder)
{
    int iRoot = 0, iMiddle = 1, iA = 2, iB = 3, iSibling = 4;
    tParentWatch<int> oRoot(&iRoot), oMiddle(&iMiddle), oA(&iA), oB(&iB), oSibling(&iSibling);
    oRoot.addChild(oMiddle);
    oRoot.addChild(oSibling);
    oMiddle.addChild(oA);
    oMiddle.addChild(oB);
    oMiddle.unlinkAndReparentChildren();
    EXPECT_EQ(nullptr, oMiddle.parent());
    EXPECT_EQ(&oRoot, oA.parent());
    std::vector<int> oOrder;
    for (tList<tParentWatch<int>*>::const_iterator it = oRoot.children().begin();
         it != oRoot.children().end(); ++it)
        oOrder.push_back((*it)->object());
    EXPECT_EQ((std::vector<int>{4, 2, 3}), oOrder);

    oRoot.unlinkAndReparentChildren(); // without a parent the children become roots
    EXPECT_EQ(nullptr, oA.parent());
    EXPECT_EQ(nullptr, oSibling.parent());
    tParentWatch<int> oEmpty;
    EXPECT_THROW(oEmpty.object(), cBugException);
}
