// Values of other classes through the binary format: messages, strings, exception
// chains, date-times and build information.
#include "qor_core/sa/deserializebinary.h"
#include "qor_core/sa/saexceptions.h"
#include "qor_core/sa/serializebinary.h"
#include "qor_core/std/buildinfo.h"
#include "qor_core/std/datetime.h"
#include "qor_core/std/exceptions.h"
#include "qor_core/ucs/limessage.h"
#include "sabytes.h"
#include "std/testutil.h"

#include <gtest/gtest.h>

using namespace qortest;
using qsa::cDeserializeBinary;
using qsa::cSerializeBinary;

namespace {

std::string rendered(const qucs::cLIMessage& oMsg)
{
    qstd::cAsciiString sText;
    oMsg.untranslated(sText);
    return sText.c_str();
}

std::string chainText(const qstd::cAbstractException& e)
{
    qucs::cString sOut;
    e.createMessage(sOut, qucs::cString("|"), qstd::cAbstractException::WithHistory, nullptr);
    return sOut.ascii('?').c_str();
}

/// Knows the exception classes these tests stream.
class cTestFactory : public qstd::cAbstractExceptionFactory
{
public:
    qstd::tAutoPtr<qstd::cAbstractException>
    createException(const qstd::cAsciiString& sTypeName) const override
    {
        if (sTypeName == "cRuntimeException")
            return qstd::tAutoPtr<qstd::cAbstractException>(new qstd::cRuntimeException);
        if (sTypeName == "cBugException")
            return qstd::tAutoPtr<qstd::cAbstractException>(new qstd::cBugException);
        if (sTypeName == "cLabeledTypeMissmatchException")
            return qstd::tAutoPtr<qstd::cAbstractException>(
                new qsa::cLabeledTypeMissmatchException);
        qstd::cSTDExceptions::throwElementNotFound("cTestFactory", "createException");
    }
};

qstd::cRuntimeException runtime(const char* pKey)
{
    qucs::cLIMessage oMsg;
    oMsg << pKey;
    return qstd::cRuntimeException(oMsg, nullptr, 0);
}

} // namespace

TEST(SerializeBinaryStream, MessageKeepsKeyArgumentsAndFlag)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MNTR$File %file% at %line%!" << qstd::cAsciiString("/x") << 12;
    cSerializeBinary s;
    oMsg >> s;
    qstd::tArray<char> oData(arrayOf(bytesOf(s)));
    cDeserializeBinary d((qstd::tConstArrayRef<char>(oData)));
    qucs::cLIMessage oLoaded;
    oLoaded << d;
    EXPECT_TRUE(d.eoc());
    EXPECT_EQ("File /x at 12!", rendered(oLoaded));
    EXPECT_FALSE(oLoaded.translatable());
    EXPECT_EQ(oMsg.key(), oLoaded.key());

    // The stored form is one context named after the class.
    cDeserializeBinary oPeek((qstd::tConstArrayRef<char>(oData)));
    EXPECT_EQ("cLIMessage", std::string(oPeek.getNextContextTypeName().c_str()));
}

TEST(SerializeBinaryStream, MessageFromAMismatchedStreamStaysUnchanged)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$kept";
    cSerializeBinary s;
    {
        qsa::cContext oContext(s.newContext("cLIMessage"));
        s.store(qstd::cAsciiString("key"));
        s.store(1.0); // where the search position belongs
        oContext.release();
    }
    qstd::tArray<char> oData(arrayOf(bytesOf(s)));
    cDeserializeBinary d((qstd::tConstArrayRef<char>(oData)));
    EXPECT_THROW(oMsg << d, qstd::cTypeMissmatchException);
    EXPECT_EQ("kept", rendered(oMsg));
    EXPECT_EQ(0u, d.currentPos());
}

TEST(SerializeBinaryStream, StringOperators)
{
    cSerializeBinary s;
    s.setStringStoreMode(cSerializeBinary::StoreUTF8);
    qstd::cAsciiString("plain") >> s;
    qucs::cString(L"gr\u00fc\u00df") >> s;
    qstd::tArray<char> oData(arrayOf(bytesOf(s)));
    cDeserializeBinary d((qstd::tConstArrayRef<char>(oData)));
    qstd::cAsciiString sPlain;
    qucs::cString sWide;
    sPlain << d;
    sWide << d;
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
    cSerializeBinary s;
    testing::internal::CaptureStderr();
    e.storeRecursive(s);
    testing::internal::GetCapturedStderr();

    qstd::tArray<char> oData(arrayOf(bytesOf(s)));
    cDeserializeBinary d((qstd::tConstArrayRef<char>(oData)));
    qstd::tAutoPtr<qstd::cAbstractException> pLoaded =
        qstd::cAbstractException::createFromStream(d, cTestFactory());
    ASSERT_TRUE(pLoaded);
    EXPECT_TRUE(d.eoc());
    EXPECT_EQ("outer ???|inner|Type mismatch: Expecting type \"cString\" but got object of type "
              "\"piInt32\" - last label was \"name\"!",
              chainText(*pLoaded));
    EXPECT_EQ(qstd::cAbstractException::Runtime, pLoaded->type());
    ASSERT_NE(nullptr, pLoaded->history());
    EXPECT_EQ("cBugException", std::string(pLoaded->history()->typeName().c_str()));
    EXPECT_EQ(qstd::cAbstractException::Bug, pLoaded->history()->type());

    // A stream that begins with false holds no exception.
    cSerializeBinary t;
    t.store(false);
    qstd::tArray<char> oFalse(arrayOf(bytesOf(t)));
    cDeserializeBinary f((qstd::tConstArrayRef<char>(oFalse)));
    EXPECT_FALSE(qstd::cAbstractException::createFromStream(f, cTestFactory()));
}

TEST(SerializeBinaryStream, TruncatedExceptionStreamEndsTheChain)
{
    qstd::cRuntimeException e = runtime("$MTR$first");
    e.link(runtime("$MTR$second"));
    cSerializeBinary s;
    testing::internal::CaptureStderr();
    e.storeRecursive(s);
    testing::internal::GetCapturedStderr();
    tBytes oBytes = bytesOf(s);
    // Cut inside the second element's message: the first survives, the second becomes
    // the unknown-type marker.
    oBytes.resize(oBytes.size() - 20);
    qstd::tArray<char> oData(arrayOf(oBytes));
    cDeserializeBinary d((qstd::tConstArrayRef<char>(oData)));
    qstd::tAutoPtr<qstd::cAbstractException> pLoaded =
        qstd::cAbstractException::createFromStream(d, cTestFactory());
    ASSERT_TRUE(pLoaded);
    EXPECT_EQ("first|Unknown exception type cRuntimeException!", chainText(*pLoaded));
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
        qstd::tArray<char> oData(arrayOf(bytesOf(*p)));
        cDeserializeBinary d((qstd::tConstArrayRef<char>(oData)));
        qstd::cDateTime oLoaded(qstd::cTime(0ULL), qstd::cDateTime::Unshifted);
        oLoaded << d;
        EXPECT_TRUE(oLoaded == oWhen);
    }
}

TEST(SerializeBinaryStream, BuildInfoIsReplacedOnlyWhenComplete)
{
    qstd::cBuildInfo oInfo("cmake", "g++", "12", "host", "today", 42);
    cSerializeBinary s;
    oInfo >> s;
    qstd::tArray<char> oData(arrayOf(bytesOf(s)));
    cDeserializeBinary d((qstd::tConstArrayRef<char>(oData)));
    qstd::cBuildInfo oLoaded;
    oLoaded << d;
    EXPECT_EQ("host", std::string(oLoaded.buildHost().c_str()));
    EXPECT_EQ("today", std::string(oLoaded.buildDate().c_str()));
    EXPECT_EQ(42u, oLoaded.buildCount());

    // Without the count the fields stay as they were.
    tBytes oBytes = bytesOf(s);
    oBytes.resize(oBytes.size() - 12);
    qstd::tArray<char> oCut(arrayOf(oBytes));
    cDeserializeBinary c((qstd::tConstArrayRef<char>(oCut)));
    qstd::cBuildInfo oUnchanged;
    EXPECT_THROW(oUnchanged << c, qstd::cRuntimeException);
    EXPECT_EQ("unknown", std::string(oUnchanged.buildSystem().c_str()));
}
