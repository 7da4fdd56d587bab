// Tests of cComponentLocation and cModuleInfo: text forms, serialized shapes and
// loads that fail halfway.
#include "qcs/qcstesting.h"

#include <unistd.h>

using namespace qcs;
using qortest::arrayOf;
using qortest::bytesOf;
using qortest::operator+;
using qortest::messageOf;
using qortest::tBytes;
using qortest::text;
using qortest::words;
using qstd::cAsciiString;

namespace {

tBytes stringItem(const std::string& sText)
{
    return words({10, unsigned(sText.size())}) + text(sText);
}

const cComponentLocation& panelLocation()
{
    static const cComponentLocation oLocation(cComponentAddr(1, 17), "box", "panel", 812);
    return oLocation;
}

} // namespace

TEST(ComponentLocation, DefaultIsThisProcess)
{
    cComponentLocation oHere;
    EXPECT_FALSE(oHere.address().valid());
    EXPECT_EQ(unsigned(::getpid()), oHere.pid());
    EXPECT_EQ(qpi::cPlatform().hostname(), oHere.hostName());
    EXPECT_TRUE(oHere.localId().empty());
    std::string sText = oHere.toString().c_str();
    EXPECT_EQ("0:0-" + std::to_string(::getpid()) + "@" + oHere.hostName().c_str(), sText);

    // provide() refreshes host and pid and drops a local ID, but keeps the address.
    cComponentLocation oMoved(cComponentAddr(2, 3), "elsewhere", "x", 1);
    oMoved.provide();
    EXPECT_EQ(cComponentAddr(2, 3), oMoved.address());
    EXPECT_EQ(oHere.hostName(), oMoved.hostName());
    EXPECT_TRUE(oMoved.localId().empty());
}

TEST(ComponentLocation, TextForms)
{
    EXPECT_STREQ("1:17-812@box:panel", panelLocation().toString().c_str());
    cComponentLocation oNoLocal(cComponentAddr(1, 17), "box", "", 812);
    EXPECT_STREQ("1:17-812@box", oNoLocal.toString().c_str());

    struct Row
    {
        const char* pText;
        const char* pAddress;
        unsigned iPid;
        const char* pHost;
        const char* pLocal;
    };
    const Row oTable[] = {
        {"1:17-812@box:panel", "1:17", 812, "box", "panel"},
        {"1:17-812@box", "1:17", 812, "box", ""},
        {"1:17-812@my-box", "1:17", 812, "my", ""},    // "-" always separates
        {"1:17-812@box:a:b", "1:17", 812, "box", "a"}, // so does every ":" behind the pid
        {"  1:17-812@box:panel trailing", "1:17", 812, "box", "panel"},
        {"1:17", "1:17", 0, "", ""},                 // an empty pid reads as 0
        {"1:17-@box", nullptr, 0, nullptr, nullptr}, // "box" is taken as the pid
        {"1:17-81x@box", nullptr, 0, nullptr, nullptr},
        {"1:17-4294967296@box", nullptr, 0, nullptr, nullptr},
        {"17-812@box", nullptr, 0, nullptr, nullptr},
        {"", nullptr, 0, nullptr, nullptr},
    };
    for (const Row& oRow : oTable) {
        SCOPED_TRACE(oRow.pText);
        cComponentLocation oLocation(panelLocation());
        oLocation.setAddress(cComponentAddr(5, 5));
        const cComponentLocation oBefore(oLocation);
        if (!oRow.pAddress) {
            auto e = qortest::expectThrow<qstd::cRuntimeException>(
                [&] { oLocation.fromString(oRow.pText); });
            EXPECT_EQ(0u, messageOf(e).find("Malformed component address"));
            EXPECT_NE(nullptr, e.history());
            EXPECT_EQ(oBefore, oLocation);
            continue;
        }
        oLocation.fromString(oRow.pText);
        EXPECT_EQ(cComponentAddr(oRow.pAddress), oLocation.address());
        EXPECT_EQ(oRow.iPid, oLocation.pid());
        EXPECT_STREQ(oRow.pHost, oLocation.hostName().c_str());
        EXPECT_STREQ(oRow.pLocal, oLocation.localId().c_str());
    }

    // A bad pid names the whole location text; a bad address names the address text.
    auto e = qortest::expectThrow<qstd::cRuntimeException>(
        [] { cComponentLocation oLocation("1:17-8x@box"); });
    EXPECT_EQ("Malformed component address (\"1:17-8x@box\")!", messageOf(e));
    e = qortest::expectThrow<qstd::cRuntimeException>(
        [] { cComponentLocation oLocation("117-8@box"); });
    EXPECT_EQ("Malformed component address (\"117\")!", messageOf(e));

    cComponentLocation oParsed(panelLocation().toString());
    EXPECT_EQ(panelLocation(), oParsed);
}

TEST(ComponentLocation, EveryFieldTakesPartInEquality)
{
    cComponentLocation oOther(panelLocation());
    EXPECT_EQ(panelLocation(), oOther);
    cComponentLocation oPid(cComponentAddr(1, 17), "box", "panel", 813);
    cComponentLocation oLocal(cComponentAddr(1, 17), "box", "", 812);
    cComponentLocation oHost(cComponentAddr(1, 17), "Box", "panel", 812);
    cComponentLocation oInvalid(panelLocation());
    cComponentAddr oAddress(1, 17);
    oAddress.invalidate();
    oInvalid.setAddress(oAddress);
    for (const cComponentLocation* p : {&oPid, &oLocal, &oHost, &oInvalid})
        EXPECT_NE(panelLocation(), *p);
}

TEST(ComponentLocation, PlainShape)
{
    qsa::cSerializeBinary oWriter;
    panelLocation() >> oWriter;
    EXPECT_EQ(words({4, 17, 4, 1}) + stringItem("box") + stringItem("panel") + words({4, 812}),
              bytesOf(oWriter));
    qsa::cDeserializeBinary oReader(oWriter.data());
    cComponentLocation oRead;
    oRead << oReader;
    EXPECT_EQ(panelLocation(), oRead);
}

TEST(ComponentLocation, LabelledShapeIsReadByName)
{
    qsa::cSerializeBinary oWriter;
    oWriter.setPreferNoLabels(false);
    panelLocation() >> oWriter;
    tBytes oBytes = bytesOf(oWriter);
    // "LocalAddress", then the context (id 12) of type "ModuleAddress".
    tBytes oHead = words({13, 10, 12}) + text("LocalAddress") + words({12});
    ASSERT_LT(oHead.size(), oBytes.size());
    EXPECT_EQ(oHead, tBytes(oBytes.begin(), oBytes.begin() + oHead.size()));
    qsa::cDeserializeBinary oReader(oWriter.data());
    cComponentLocation oRead;
    oRead << oReader;
    EXPECT_EQ(panelLocation(), oRead);

    // Written in another order, inner labels included.
    qsa::cSerializeBinary oShuffled;
    oShuffled.newLabel("PID");
    oShuffled.store(77u);
    oShuffled.newLabel("LocalID");
    oShuffled.store(cAsciiString("l"));
    oShuffled.newLabel("LocalAddress");
    {
        qsa::cContext oContext(oShuffled.newContext("ModuleAddress"));
        oShuffled.newLabel("Queue");
        oShuffled.store(6u);
        oShuffled.newLabel("ID");
        oShuffled.store(60u);
        oContext.release();
    }
    oShuffled.newLabel("HostName");
    oShuffled.store(cAsciiString("h"));
    qsa::cDeserializeBinary oShuffledReader(oShuffled.data());
    oRead << oShuffledReader;
    EXPECT_EQ(cComponentLocation(cComponentAddr(6, 60), "h", "l", 77), oRead);
}

TEST(ComponentLocation, TruncatedStreamsLeaveTheLocationAlone)
{
    for (bool bLabelled : {false, true}) {
        SCOPED_TRACE(bLabelled ? "labelled" : "plain");
        qsa::cSerializeBinary oWriter;
        oWriter.setPreferNoLabels(!bLabelled);
        panelLocation() >> oWriter;
        const cComponentLocation oBefore(cComponentAddr(9, 9), "before", "b", 9);
        cComponentLocation oTarget(oBefore);
        qortest::expectEveryTruncationRefused(
            bytesOf(oWriter), [&](qsa::cDeserializeBinary& d) { oTarget << d; },
            [&] { EXPECT_EQ(oBefore, oTarget); });
    }
}

TEST(ModuleInfo, TextAndSerializedForms)
{
    cModuleInfo oInfo;
    oInfo.setName("panel");
    oInfo.setAuthor("ann");
    oInfo.setDescription("d");
    oInfo.bi() = qstd::cBuildInfo("cmake", "g++", "12.2", "host1", "2024-05-01", 42);
    oInfo.setContext("ctx");
    EXPECT_STREQ(
        "panel (build 42) Written by ann builded on \"host1\" (2024-05-01) using g++ - 12.2",
        oInfo.toString().c_str());
    for (bool bLabelsPreferred : {false, true}) {
        qsa::cSerializeBinary oWriter;
        oWriter.setPreferNoLabels(!bLabelsPreferred);
        oInfo >> oWriter;
        qsa::cDeserializeBinary oReader(oWriter.data());
        cModuleInfo oRead;
        oRead << oReader;
        EXPECT_EQ(oInfo.toString(), oRead.toString());
        EXPECT_EQ(oInfo.description(), oRead.description());
        EXPECT_EQ(oInfo.context(), oRead.context());
        EXPECT_EQ(oInfo.buildInfo().buildSystem(), oRead.buildInfo().buildSystem());
        EXPECT_FALSE(oReader.isLabel()); // never labelled

        cModuleInfo oTarget;
        oTarget.setName("kept");
        qortest::expectEveryTruncationRefused(
            bytesOf(oWriter), [&](qsa::cDeserializeBinary& d) { oTarget << d; },
            [&] {
                EXPECT_STREQ("kept", oTarget.name().c_str());
                EXPECT_TRUE(oTarget.context().empty());
            });
    }
}
