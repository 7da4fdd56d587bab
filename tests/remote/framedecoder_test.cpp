// Tests of the framing of the remote-call protocol.
#include "io/iotesting.h"
#include "remote/framedecoder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using qortest::failureOf;
using qremote::cFrameDecoder;

std::string header(unsigned iLength)
{
    return std::string{char(iLength & 0xFF), char((iLength >> 8) & 0xFF),
                       char((iLength >> 16) & 0xFF), char((iLength >> 24) & 0xFF)};
}

std::string payloadOf(const qstd::tArray<char>& oFrame)
{
    return std::string(oFrame.begin(), oFrame.end());
}

TEST(FrameDecoder, FramesCutAtEveryByteComeOutWholeAndInOrder)
{
    qstd::tArray<char> oStream;
    const std::string sFirst = "12345678", sSecond(1000, 'x');
    cFrameDecoder::appendFrame(oStream, sFirst.data(), unsigned(sFirst.size()));
    cFrameDecoder::appendFrame(oStream, sSecond.data(), unsigned(sSecond.size()));
    EXPECT_EQ(header(8), std::string(oStream.begin(), oStream.begin() + 4));

    cFrameDecoder oDecoder;
    qstd::tArray<char> oFrame;
    std::vector<std::string> oOut;
    for (unsigned i = 0; i < oStream.size(); ++i) {
        oDecoder.feed(oStream.data() + i, 1);
        while (oDecoder.next(oFrame))
            oOut.push_back(payloadOf(oFrame));
    }
    ASSERT_EQ(2u, oOut.size());
    EXPECT_EQ(sFirst, oOut[0]);
    EXPECT_EQ(sSecond, oOut[1]);
    EXPECT_EQ(0u, oDecoder.buffered());

    // Both frames in one piece, followed by the start of a third.
    oDecoder.feed(oStream.data(), oStream.size());
    oDecoder.feed(oStream.data(), 6);
    ASSERT_TRUE(oDecoder.next(oFrame));
    ASSERT_TRUE(oDecoder.next(oFrame));
    EXPECT_EQ(sSecond, payloadOf(oFrame));
    EXPECT_FALSE(oDecoder.next(oFrame));
    EXPECT_EQ(6u, oDecoder.buffered());
}

TEST(FrameDecoder, LengthsOutsideTheLimitsFailBeforeAnyPayloadArrives)
{
    struct Row
    {
        unsigned iLength;
        const char* pError; ///< null: accepted, the decoder waits for the payload
    };
    const Row oTable[] = {
        {qremote::kMaxFrameSize, nullptr},
        {cFrameDecoder::kMinFrameSize, nullptr},
        {qremote::kMaxFrameSize + 1,
         "Malformed frame: a length of 16777217 bytes exceeds the limit of 16777216 bytes!"},
        {0xFFFFFFFFu,
         "Malformed frame: a length of 4294967295 bytes exceeds the limit of 16777216 bytes!"},
        {7, "Malformed frame: a length of 7 bytes is too short for a message!"},
        {0, "Malformed frame: a length of 0 bytes is too short for a message!"}};
    for (const Row& oRow : oTable) {
        SCOPED_TRACE(oRow.iLength);
        cFrameDecoder oDecoder;
        const std::string sHeader = header(oRow.iLength);
        oDecoder.feed(sHeader.data(), 4);
        qstd::tArray<char> oFrame;
        if (!oRow.pError) {
            EXPECT_FALSE(oDecoder.next(oFrame));
            EXPECT_FALSE(oDecoder.failed());
            continue;
        }
        EXPECT_EQ(std::vector<std::string>{oRow.pError}, failureOf([&] { oDecoder.next(oFrame); }));
        EXPECT_TRUE(oDecoder.failed());
        EXPECT_EQ(0u, oFrame.size());
        // The position of the next frame is lost: the stream stays refused.
        const std::string sGood = header(8) + "12345678";
        oDecoder.feed(sGood.data(), unsigned(sGood.size()));
        EXPECT_ANY_THROW(oDecoder.next(oFrame));
        oDecoder.reset();
        oDecoder.feed(sGood.data(), unsigned(sGood.size()));
        EXPECT_TRUE(oDecoder.next(oFrame));
    }
}

TEST(FrameDecoder, RefusesToWriteAFrameAboveTheLimit)
{
    qstd::tArray<char> oOut;
    EXPECT_THROW(cFrameDecoder::appendFrame(oOut, "", qremote::kMaxFrameSize + 1),
                 qstd::cBugException);
    EXPECT_EQ(0u, oOut.size());
}

} // namespace
