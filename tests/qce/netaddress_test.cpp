// Tests of the abstract network addresses, the IPv4 text form and cNETExceptions.
#include "qce/nettesting.h"

using qortest::cTestIPv4Address;
using qortest::failureOf;
using Texts = std::vector<std::string>;

namespace {

const std::string kInvalid = "Invalid network address!";
const std::string kNumber = "Expecting an unsigned decimal number!";

TEST(NetIPv4Address, BitLayoutAndTextBothWays)
{
    cTestIPv4Address oAddress;
    oAddress.fromString("192.168.0.1");
    EXPECT_EQ(192u | (168u << 8) | (0u << 16) | (1u << 24), oAddress.miIp);
    EXPECT_EQ(0u, oAddress.miPort);
    EXPECT_STREQ("192.168.0.1", oAddress.toString().c_str());
    EXPECT_STREQ("192.168.0.1:0", oAddress.toString(true).c_str());
    EXPECT_STREQ("TcpIpv4", oAddress.addrType().c_str());
    EXPECT_EQ(&oAddress, static_cast<qce::cNetAbstractAddress&>(oAddress).isIPAddress());

    oAddress.fromString("0.0.0.0:65535");
    EXPECT_EQ(0u, oAddress.miIp);
    EXPECT_EQ(65535u, oAddress.port());
    oAddress.fromString("255.255.255.255:8080");
    EXPECT_EQ(0xFFFFFFFFu, oAddress.miIp);
    EXPECT_STREQ("255.255.255.255:8080", oAddress.toString(true).c_str());
    // Leading zeros are still decimal.
    oAddress.fromString("010.1.2.3:00080");
    EXPECT_STREQ("10.1.2.3:80", oAddress.toString(true).c_str());
}

TEST(NetIPv4Address, RangeErrorsLinkedBeneathInvalidAddress)
{
    cTestIPv4Address oAddress;
    EXPECT_EQ((Texts{kInvalid, "IP number part (256) is not in range of 0..255!"}),
              failureOf([&] { oAddress.fromString("1.2.256.4"); }));
    EXPECT_EQ((Texts{kInvalid, "Given port number (65536) is not in range of 0..65535"}),
              failureOf([&] { oAddress.fromString("1.2.3.4:65536"); }));
    EXPECT_EQ((Texts{kInvalid, "Expecting port number!"}),
              failureOf([&] { oAddress.fromString("1.2.3.4:"); }));
    // Beyond 64 bits the digits themselves are named, not a wrapped value.
    EXPECT_EQ(
        (Texts{kInvalid, "IP number part (99999999999999999999999) is not in range of 0..255!"}),
        failureOf([&] { oAddress.fromString("99999999999999999999999.1.1.1"); }));
    EXPECT_EQ(
        (Texts{kInvalid, "Given port number (18446744073709551616) is not in range of 0..65535"}),
        failureOf([&] { oAddress.fromString("1.1.1.1:18446744073709551616"); }));
    EXPECT_EQ(
        (Texts{kInvalid, "Given port number (18446744073709551615) is not in range of 0..65535"}),
        failureOf([&] { oAddress.fromString("1.1.1.1:18446744073709551615"); }));
}

TEST(NetIPv4Address, MalformedTextIsRefusedAndLeavesTheObject)
{
    cTestIPv4Address oAddress;
    oAddress.fromString("9.8.7.6:5");
    const std::vector<std::string> oEmptyPart = {
        "",         "1.2.3",    "1..2.3.4",   ".1.2.3.4",   "1.2.3.:4",   "+1.2.3.4",  "1.2.3.-4",
        " 1.2.3.4", "1.2.3.4 ", "1.2.3.4:+5", "1.2.3.4: 5", "1.2.3.4:5x", "0x1.2.3.4", "1.2.3.4a"};
    for (const std::string& sText : oEmptyPart)
        EXPECT_EQ((Texts{kInvalid, kNumber}),
                  failureOf([&] { oAddress.fromString(sText.c_str()); }))
            << sText;
    // Text after a complete address: a fifth part, a second colon, a trailing dot.
    for (const char* pText : {"1.2.3.4.5", "1.2.3.4.", "1.2.3.4:80:90", "1.2.3.4:80.1"}) {
        Texts oChain = failureOf([&] { oAddress.fromString(pText); });
        ASSERT_EQ(2u, oChain.size()) << pText;
        EXPECT_EQ(kInvalid, oChain[0]);
        EXPECT_NE(std::string::npos, oChain[1].find("Unexpected text")) << pText;
    }
    // A zero character is not the end of the text.
    EXPECT_EQ((Texts{kInvalid, kNumber}),
              failureOf([&] { oAddress.fromString(qstd::cAsciiString("1.2.3.4\0", 8)); }));
    EXPECT_STREQ("9.8.7.6:5", oAddress.toString(true).c_str());
}

TEST(NetExceptions, TextsAndCauses)
{
    // The busy transmitter and the transfer time-out are checked where they are thrown.
    qstd::cRuntimeException oCause(qucs::cLIMessage::fromTemplate("$MTR$cause"), nullptr, 0);
    EXPECT_EQ((Texts{"Unable to complete request - remote connection has been closed unexpectedly!",
                     "cause"}),
              failureOf([&] {
                  qce::cNETExceptions::throwUnableToCompleteConnectionClosedUnexpectedly(oCause);
              }));
    EXPECT_EQ((Texts{"Remote connection has been closed unexpectedly!", "cause"}),
              failureOf([&] { qce::cNETExceptions::throwConnectionClosedUnexpectedly(oCause); }));
    EXPECT_EQ((Texts{kInvalid, "cause"}),
              failureOf([&] { qce::cNETExceptions::throwInvalidAddress(oCause); }));
}

} // namespace
