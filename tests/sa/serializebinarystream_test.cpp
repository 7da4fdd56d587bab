// Values of other classes through the binary format: messages, strings, exception
// chains, date-times and build information.
#include "qor_core/sa/saexceptions.h"
#include "qor_core/std/buildinfo.h"
#include "qor_core/std/datetime.h"
#include "qor_core/std/exceptions.h"
#include "qor_core/ucs/limessage.h"
#include "sabytes.h"
#include "support/exceptionfactory.h"
#include "std/testutil.h"

#include <gtest/gtest.h>

using namespace qortest;
using qsa::cSerializeBinary;

namespace {

std::string rendered(const qucs::cLIMessage& oMsg)
{
    qstd::cAsciiString sText;
    oMsg.untranslated(sText);
    return sText.c_str();
}

/// The chain read back from what storeRecursive wrote, as one text.
std::string chainThroughStream(const qstd::cAbstractException& e, unsigned iCut = 0)
{
    cSerializeBinary s;
    testing::internal::CaptureStderr();
    e.storeRecursive(s);
    testing::internal::GetCapturedStderr();
    tBytes oBytes = bytesOf(s);
    oBytes.resize(oBytes.size() - iCut);
    cReader r(oBytes);
    qstd::tAutoPtr<qstd::cAbstractException> pLoaded =
        qstd::cAbstractException::createFromStream(r.moReader, qortest::cTestExceptionFactory());
    if (!pLoaded)
        return "none";
    EXPECT_TRUE(iCut || r.moReader.eoc());
    qucs::cString sOut;
    pLoaded->createMessage(sOut, qucs::cString("|"), qstd::cAbstractException::WithHistory,
                           nullptr);
    std::string sText = sOut.ascii('?').c_str();
    return pLoaded->history() ? sText + " / " + pLoaded->history()->typeName().c_str() : sText;
}

qstd::cRuntimeException runtime(const char* pKey)
{
    qucs::cLIMessage oMsg;
    oMsg << pKey;
    return qstd::cRuntimeException(oMsg, nullptr, 0);
}

} // namespace

TEST(SerializeBinaryStream, MessagesAndStrings)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MNTR$File %file% at %line%!" << qstd::cAsciiString("/x") << 12;
    cSerializeBinary s;
    s.setStringStoreMode(cSerializeBinary::StoreUTF8);
    oMsg >> s;
    qstd::cAsciiString("plain") >> s;
    qucs::cString(L"gr\u00fc\u00df") >> s;
    cReader r(s);
    EXPECT_EQ("cLIMessage", std::string(r.moReader.getNextContextTypeName().c_str()));
    qucs::cLIMessage oLoaded;
    qstd::cAsciiString sPlain;
    qucs::cString sWide;
    oLoaded << r.moReader;
    sPlain << r.moReader;
    sWide << r.moReader;
    EXPECT_TRUE(r.moReader.eoc());
    EXPECT_EQ("File /x at 12!", rendered(oLoaded));
    EXPECT_FALSE(oLoaded.translatable());
    EXPECT_EQ(oMsg.key(), oLoaded.key());
    EXPECT_EQ("plain", std::string(sPlain.c_str()));
    EXPECT_TRUE(sWide == qucs::cString(L"gr\u00fc\u00df"));
}

TEST(SerializeBinaryStream, ExceptionChainThroughStoreRecursive)
{
    qstd::cRuntimeException e = runtime("$MTR$outer %n%");
    qucs::cLIMessage oInner;
    oInner << "$MNTR$inner";
    e.link(qstd::cBugException(oInner, nullptr, 0));
    e.link(qsa::cLabeledTypeMissmatchException("piInt32", "cString", "name"));
    EXPECT_EQ("outer ???|inner|Type mismatch: Expecting type \"cString\" but got object of type "
              "\"piInt32\" - last label was \"name\"! / cBugException",
              chainThroughStream(e));

    // Cut inside the second element's message: the first survives, the second becomes
    // the unknown-type marker.
    qstd::cRuntimeException oTwo = runtime("$MTR$first");
    oTwo.link(runtime("$MTR$second"));
    EXPECT_EQ("first|Unknown exception type cRuntimeException! / cRuntimeException",
              chainThroughStream(oTwo, 20));
}

TEST(SerializeBinaryStream, DateTimeWithAndWithoutLabel)
{
    qstd::cDateTime oWhen(qstd::cTime(1234567890123456ULL), qstd::cDateTime::Unshifted);
    cSerializeBinary s; // prefers no labels
    oWhen >> s;
    EXPECT_EQ(words({6, 0x3C8ABAC0, 0x462D5}), bytesOf(s));
    cSerializeBinary t;
    t.setPreferNoLabels(false);
    oWhen >> t;
    EXPECT_EQ(words({13, 10, 8}) + text("DateTime") + words({6, 0x3C8ABAC0, 0x462D5}), bytesOf(t));
    for (cSerializeBinary* p : {&s, &t}) {
        cReader r(*p);
        qstd::cDateTime oLoaded(qstd::cTime(0ULL), qstd::cDateTime::Unshifted);
        oLoaded << r.moReader;
        EXPECT_TRUE(oLoaded == oWhen);
    }
}

TEST(SerializeBinaryStream, BuildInfoIsReplacedOnlyWhenComplete)
{
    qstd::cBuildInfo oInfo("cmake", "g++", "12", "host", "today", 42);
    cSerializeBinary s;
    oInfo >> s;
    cReader r(s);
    qstd::cBuildInfo oLoaded;
    oLoaded << r.moReader;
    EXPECT_EQ("host", std::string(oLoaded.buildHost().c_str()));
    EXPECT_EQ("today", std::string(oLoaded.buildDate().c_str()));
    EXPECT_EQ(42u, oLoaded.buildCount());

    // Without the count the fields stay as they were.
    tBytes oBytes = bytesOf(s);
    oBytes.resize(oBytes.size() - 12);
    cReader c(oBytes);
    qstd::cBuildInfo oUnchanged;
    EXPECT_THROW(oUnchanged << c.moReader, qstd::cRuntimeException);
    EXPECT_EQ("unknown", std::string(oUnchanged.buildSystem().c_str()));
}
