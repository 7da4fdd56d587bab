// Tests of cReferenceFrame: the reading cursor, typed reads, filtered store and
// load, sub-frames and copies.
#include "qor_core/sa/referenceframe.h"
#include "qor_core/std/exceptions.h"
#include "qor_core/std/stdexceptions.h"
#include "std/testutil.h"
#include "support/fakeserializer.h"

#include <gtest/gtest.h>

#include <string>

using namespace qsa;
using qortest::cFakeDeserializer;
using qortest::cFakeSerializer;
using qortest::tFakeStream;

namespace {

std::vector<int> storedInts(const tFakeStream& oItems)
{
    std::vector<int> oInts;
    for (const qortest::tFakeItem& oItem : oItems)
        oInts.push_back(std::get<int>(oItem));
    return oInts;
}

/// A reference as another module would make it: not a cTypeReference of this
/// module, recognisable only by its names.
class cForeignReference : public cAbstractTypeReference
{
public:
    qstd::tAutoPtr<cAbstractTypeReference> create() const override
    {
        return qstd::tAutoPtr<cAbstractTypeReference>(new cForeignReference);
    }
    void store(cAbstractSerializer&) const override {}
    void load(cAbstractDeserializer&) override {}
    const char* mangeledTypeName() const override { return "foreign"; }
    qstd::cAsciiString typeName() const override { return "cForeign"; }
    bool alterable() const override { return true; }
    bool readable() const override { return true; }
};

} // namespace

TEST(ReferenceFrame, ReadsArgumentsAfterTheReturnValueUntilTheEnd)
{
    piVoid oResult;
    int iFirst = 11, iSecond = 22;
    cReferenceFrame oFrame;
    oFrame.addRef(oResult, true, false).addRef(iFirst, false, true).addRef(iSecond, false, true);
    EXPECT_FALSE(oFrame.canRead()); // a new frame must be rewound before reading
    EXPECT_THROW(oFrame.currentReference(), qstd::cOutOfBoundsException);

    oFrame.restartReading();
    EXPECT_STREQ("piVoid", oFrame.currentReference().typeName().c_str());
    oFrame.skipNext();
    int& iReadFirst = oFrame.readNext<int>();
    EXPECT_EQ(&iFirst, &iReadFirst); // the caller's variable itself, not a copy
    EXPECT_EQ(22, oFrame.readNext<int>());
    EXPECT_FALSE(oFrame.canRead());
    EXPECT_THROW(oFrame.readNext<int>(), qstd::cOutOfBoundsException);
    EXPECT_THROW(oFrame.skipNext(), qstd::cOutOfBoundsException);
}

TEST(ReferenceFrame, ReadNextChecksTheType)
{
    qstd::cAsciiString sText("abc");
    cReferenceFrame oFrame;
    oFrame.addRef(sText, false, true);
    // A reference the dynamic type test does not recognise is compared by its
    // mangled name, and reported with its own type name.
    oFrame.addReference(qstd::tAutoPtr<cAbstractTypeReference>(new cForeignReference));
    oFrame.restartReading();
    auto e = qortest::expectThrow<qstd::cTypeMissmatchException>([&] { oFrame.readNext<int>(); });
    EXPECT_STREQ("cAsciiString", e.assignedType().c_str());
    EXPECT_STREQ("piInt32", e.expectedType().c_str());
    // The failed read did not move the cursor.
    EXPECT_STREQ("abc", oFrame.readNext<qstd::cAsciiString>().c_str());
    e = qortest::expectThrow<qstd::cTypeMissmatchException>([&] { oFrame.readNext<int>(); });
    EXPECT_STREQ("cForeign", e.assignedType().c_str());
}

TEST(ReferenceFrame, FilteredStoreWritesOnlyTheSelectedReferences)
{
    int iAlterable = 1, iReadable = 2, iBoth = 3, iNeither = 4;
    cReferenceFrame oFrame;
    oFrame.addRef(iAlterable, true, false).addRef(iReadable, false, true);
    oFrame.addRef(iBoth, true, true).addRef(iNeither, false, false);

    struct Row
    {
        bool bOnlyAlterable, bOnlyReadable;
        std::vector<int> oExpected;
    };
    const Row oTable[] = {{true, false, {1, 3}},
                          {false, true, {2, 3}},
                          {true, true, {3}},
                          {false, false, {1, 2, 3, 4}}};
    for (const Row& oRow : oTable) {
        SCOPED_TRACE(testing::Message() << oRow.bOnlyAlterable << "/" << oRow.bOnlyReadable);
        cFakeSerializer oOut;
        oFrame.store(oOut, oRow.bOnlyAlterable, oRow.bOnlyReadable);
        EXPECT_EQ(oRow.oExpected, storedInts(oOut.moItems));
    }
    cFakeSerializer oAll;
    oFrame >> oAll;
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), storedInts(oAll.moItems));
}

TEST(ReferenceFrame, FilteredLoadAndLoadLastFillOnlyTheirReferences)
{
    int iOut = 0, iIn = 0, iInOut = 0;
    cReferenceFrame oFrame;
    oFrame.addRef(iOut, true, false).addRef(iIn, false, true).addRef(iInOut, true, true);

    auto values = [&] { return std::vector<int>{iOut, iIn, iInOut}; };

    // What a sender reads back after the call: the alterable values only.
    cFakeDeserializer oReply(tFakeStream{10, 30});
    oFrame.load(oReply, true, false);
    EXPECT_EQ((std::vector<int>{10, 0, 30}), values());
    EXPECT_TRUE(oReply.eoc());
    cFakeDeserializer oLast(tFakeStream{99});
    oFrame.loadLast(oLast);
    EXPECT_EQ((std::vector<int>{10, 0, 99}), values());
    cFakeDeserializer oEverything(tFakeStream{1, 2, 3});
    oFrame << oEverything; // the free operator loads all
    EXPECT_EQ((std::vector<int>{1, 2, 3}), values());
    cFakeDeserializer oNothing(tFakeStream{});
    EXPECT_NO_THROW(cReferenceFrame().loadLast(oNothing));
}

TEST(ReferenceFrame, SubFramesAreStoredInlineAndRewoundWithTheirParent)
{
    int iOuter = 1, iInner = 2;
    piVoid oNothing;
    cReferenceFrame oInner;
    oInner.addRef(iInner, true, true);
    cReferenceFrame oOuter;
    oOuter.addRef(oNothing, true, false).addRef(iOuter, true, true).addRef(oInner, true, true);

    cFakeSerializer oOut;
    oOuter.store(oOut);
    EXPECT_EQ((std::vector<int>{1, 2}), storedInts(oOut.moItems)); // piVoid writes nothing

    oOuter.restartReading();
    oOuter.skipNext();
    oOuter.skipNext();
    EXPECT_EQ(&oInner, oOuter.currentReference().isSubReferenceFrame());
    cReferenceFrame& oRead = oOuter.readNext<cReferenceFrame>();
    ASSERT_EQ(&oInner, &oRead);
    EXPECT_EQ(2, oRead.readNext<int>());
    EXPECT_FALSE(oInner.canRead());

    oOuter.restartReading();
    EXPECT_TRUE(oInner.canRead());
    EXPECT_EQ(2, oInner.readNext<int>());

    cFakeDeserializer oIn(tFakeStream{7, 8});
    oOuter.load(oIn);
    EXPECT_EQ(7, iOuter);
    EXPECT_EQ(8, iInner);
}

TEST(ReferenceFrame, AFrameNeverContainsItself)
{
    int iValue = 1;
    cReferenceFrame oFrame, oInner;
    oFrame.addRef(iValue, true, true).addRef(oInner, true, true);
    auto e = qortest::expectThrow<qstd::cBugException>([&] { oFrame.addRef(oFrame, true, true); });
    EXPECT_EQ("A reference frame cannot contain itself!", qortest::messageOf(e));
    EXPECT_THROW(oFrame.append_net(oFrame), qstd::cBugException);
    // Closing a cycle through a sub-frame, by reference or by copying references.
    EXPECT_THROW(oInner.addRef(oFrame, true, true), qstd::cBugException);
    EXPECT_THROW(oInner.append(oFrame), qstd::cBugException);
    EXPECT_THROW(oInner.addReference(qstd::tAutoPtr<cAbstractTypeReference>(
                     new cTypeReference<cReferenceFrame>(oFrame, true, true))),
                 qstd::cBugException);
    EXPECT_EQ(2u, oFrame.count());
    EXPECT_EQ(0u, oInner.count()) << "a refused append adds nothing";
    // Taking over the references of a frame that contains the target.
    EXPECT_THROW(oInner = oFrame, qstd::cBugException);
    EXPECT_THROW(oInner.swap(oFrame), qstd::cBugException);
    EXPECT_THROW(oFrame.swap(oInner), qstd::cBugException);
    EXPECT_EQ(2u, oFrame.count());
    EXPECT_EQ(0u, oInner.count());
    oFrame.append(oFrame); // through a copy: fine, and no cycle
    EXPECT_EQ(4u, oFrame.count());

    cFakeSerializer oOut; // no endless recursion
    oFrame.store(oOut);
    oFrame.restartReading();
    EXPECT_EQ((std::vector<int>{1, 1}), storedInts(oOut.moItems));
}

TEST(ReferenceFrame, CopiesDesignateTheSameVariables)
{
    int iA = 1, iB = 2;
    cReferenceFrame oFrame;
    oFrame.addRef(iA, true, true).addRef(iB, true, true);
    oFrame.restartReading();
    oFrame.skipNext();

    cReferenceFrame oCopy(oFrame);
    EXPECT_EQ(&iB, &oCopy.readNext<int>()); // the cursor was copied too
    oCopy.restartReading();
    oCopy.readNext<int>() = 10;
    EXPECT_EQ(10, iA);

    cReferenceFrame oNet;
    oNet.append_net(oCopy);
    oNet.append_net(oCopy);
    cFakeSerializer oOut;
    oNet.store(oOut);
    EXPECT_EQ((std::vector<int>{10, 2, 10, 2}), storedInts(oOut.moItems));

    cReferenceFrame oAssigned;
    oAssigned = oCopy;
    oAssigned.swap(oNet);
    EXPECT_EQ(4u, oAssigned.count());
    oNet.restartReading();
    EXPECT_EQ(&iA, &oNet.readNext<int>());
    EXPECT_EQ(&iB, &oNet.readNext<int>());
    EXPECT_FALSE(oNet.canRead());
}
