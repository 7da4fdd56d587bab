// Tests of cComponentAddr: the text form both ways, equality and both serialized
// shapes.
#include "qcs/qcstesting.h"

using namespace qcs;
using qortest::arrayOf;
using qortest::bytesOf;
using qortest::operator+;
using qortest::causeOf;
using qortest::messageOf;
using qortest::tBytes;
using qortest::text;
using qortest::words;
using qstd::cAsciiString;

namespace {

/// A label item followed by nothing: id 13 and the name as a string item.
tBytes label(const std::string& sName)
{
    return words({13, 10, unsigned(sName.size())}) + text(sName);
}

} // namespace

TEST(ComponentAddr, TextFormRoundTrips)
{
    struct Row
    {
        const char* pText;
        unsigned iQueue, iModule;
    };
    const Row oTable[] = {
        {"1:17", 1, 17}, {"0:0", 0, 0}, {"4294967295:4294967295", ~0u, ~0u}, {"12:0", 12, 0}};
    for (const Row& oRow : oTable) {
        SCOPED_TRACE(oRow.pText);
        cComponentAddr oAddress(oRow.pText);
        EXPECT_TRUE(oAddress.valid());
        EXPECT_EQ(oRow.iQueue, oAddress.queueID());
        EXPECT_EQ(oRow.iModule, oAddress.moduleID());
        EXPECT_EQ(oAddress, cComponentAddr(oRow.iQueue, oRow.iModule));
        EXPECT_STREQ(oRow.pText, oAddress.toString().c_str());
    }
    // The queue comes first in the text and in the two-number constructor.
    EXPECT_STREQ("3:9", cComponentAddr(3, 9).toString().c_str());
}

TEST(ComponentAddr, MalformedTextIsRefusedAndLeavesTheAddressAlone)
{
    struct Row
    {
        const char* pText;
        const char* pCause; ///< the linked reason
    };
    const char* pNotNumber = "cNumberConversionException";
    const Row oTable[] = {
        {"17", "cRuntimeException"},  {"", "cRuntimeException"},    {":", pNotNumber},
        {"1:", pNotNumber},           {":5", pNotNumber},           {"a:1", pNotNumber},
        {"1:x", pNotNumber},          {"1:2:3", pNotNumber},        {"-1:2", pNotNumber},
        {" 1:2", pNotNumber},         {"1:2 ", pNotNumber},         {"0x1:2", pNotNumber},
        {"1:4294967296", pNotNumber}, {"99999999999:1", pNotNumber}};
    for (const Row& oRow : oTable) {
        SCOPED_TRACE(oRow.pText);
        cComponentAddr oAddress(4, 5);
        oAddress.invalidate();
        auto e =
            qortest::expectThrow<qstd::cRuntimeException>([&] { oAddress.fromString(oRow.pText); });
        EXPECT_EQ(std::string("Malformed component address (\"") + oRow.pText + "\")!",
                  messageOf(e));
        ASSERT_NE(nullptr, e.history());
        EXPECT_STREQ(oRow.pCause, e.history()->typeName().c_str());
        EXPECT_FALSE(oAddress.valid());
        EXPECT_EQ(4u, oAddress.queueID());
        EXPECT_EQ(5u, oAddress.moduleID());
    }
    auto e = qortest::expectThrow<qstd::cRuntimeException>([] { cComponentAddr oAddress("17"); });
    EXPECT_EQ("Expecting \":\"!", causeOf(e));
}

TEST(ComponentAddr, ValidityTakesPartInEquality)
{
    cComponentAddr oDefault;
    EXPECT_FALSE(oDefault.valid());
    EXPECT_STREQ("0:0", oDefault.toString().c_str());

    cComponentAddr oAddress(1, 17);
    cComponentAddr oFormer(oAddress);
    oAddress.invalidate();
    EXPECT_STREQ("1:17", oAddress.toString().c_str());
    EXPECT_NE(oFormer, oAddress);
    EXPECT_NE(oDefault, oAddress); // two invalid addresses with different IDs

    oFormer.swap(oAddress);
    EXPECT_FALSE(oFormer.valid());
    EXPECT_TRUE(oAddress.valid());
    EXPECT_EQ(17u, oFormer.moduleID());
}

TEST(ComponentAddr, PlainShapePutsTheModuleFirst)
{
    qsa::cSerializeBinary oWriter;
    cComponentAddr(1, 17) >> oWriter;
    EXPECT_EQ(words({4, 17, 4, 1}), bytesOf(oWriter));

    // A reader left at its default (labels preferred) reads the plain shape as well.
    qsa::cDeserializeBinary oReader(oWriter.data());
    cComponentAddr oRead;
    oRead << oReader;
    EXPECT_EQ(cComponentAddr(1, 17), oRead);
    EXPECT_TRUE(oReader.eoc());
}

TEST(ComponentAddr, LabelledShapeIsReadByName)
{
    qsa::cSerializeBinary oWriter;
    oWriter.setPreferNoLabels(false);
    cComponentAddr(1, 17) >> oWriter;
    EXPECT_EQ(label("ID") + words({4, 17}) + label("Queue") + words({4, 1}), bytesOf(oWriter));

    // The labels in the other order are found all the same.
    qstd::tArray<char> oSwapped =
        arrayOf(label("Queue") + words({4, 3}) + label("ID") + words({4, 8}));
    qsa::cDeserializeBinary oReader(oSwapped);
    cComponentAddr oRead;
    oRead << oReader;
    EXPECT_EQ(cComponentAddr(3, 8), oRead);
}

TEST(ComponentAddr, TruncatedStreamsLeaveTheAddressAlone)
{
    for (bool bLabelled : {false, true}) {
        qsa::cSerializeBinary oWriter;
        oWriter.setPreferNoLabels(!bLabelled);
        cComponentAddr(2, 40) >> oWriter;
        cComponentAddr oTarget(9, 9);
        qortest::expectEveryTruncationRefused(
            bytesOf(oWriter), [&](qsa::cDeserializeBinary& d) { oTarget << d; },
            [&] { EXPECT_EQ(cComponentAddr(9, 9), oTarget); });
    }
}
