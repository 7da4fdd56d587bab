// Tests of the exception classes and the throw family of the foundation library.
#include "qor_core/qor_core.h"
#include "support/exceptionfactory.h"
#include "support/fakeserializer.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <tuple>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace qstd;
using qortest::expectThrow;
using qortest::messageOf;

namespace {

qucs::cLIMessage message(const char* pText)
{
    qucs::cLIMessage oMsg;
    oMsg << pText;
    return oMsg;
}

cRuntimeException runtime(const char* pText)
{
    return cRuntimeException(message(pText), nullptr, 0);
}

std::string chainText(const cAbstractException& e, unsigned iFlags)
{
    qucs::cString sOut;
    e.createMessage(sOut, qucs::cString("|"), iFlags, nullptr);
    return sOut.ascii('?').c_str();
}

/// The chain read back from what storeRecursive wrote, followed by the kinds of its
/// elements and whether the stream was read to its end.
std::string throughStream(const cAbstractException& e)
{
    qortest::cFakeSerializer oSerializer;
    testing::internal::CaptureStderr(); // storing prints a debug line
    e.storeRecursive(oSerializer);
    testing::internal::GetCapturedStderr();
    qortest::cFakeDeserializer oDeserializer(oSerializer.moItems);
    tAutoPtr<cAbstractException> pLoaded =
        cAbstractException::createFromStream(oDeserializer, qortest::cTestExceptionFactory());
    if (!pLoaded)
        return "none";
    std::string sText = chainText(*pLoaded, 1) + ":";
    for (const cAbstractException* p = pLoaded.get(); p; p = p->history())
        sText += p->type() == cAbstractException::Bug ? " bug" : " runtime";
    return oDeserializer.eoc() ? sText + " (all read)" : sText;
}

} // namespace

TEST(Exception, SourceFileIsCutAndWhatNamesTheKind)
{
    std::string sLong(100, 'f');
    cBugException e(qucs::cLIMessage("$MTR$x"), sLong.c_str(), 17);
    EXPECT_EQ(std::string(60, 'f'), e.sourceFileName());
    EXPECT_STREQ("bug", e.what());
    cBugException oDefault;
    EXPECT_STREQ("unknown", oDefault.sourceFileName());
    cRuntimeException oNoFile = runtime("x");
    EXPECT_STREQ("", oNoFile.sourceFileName());
    EXPECT_STREQ("runtime", oNoFile.what());
    ASSERT_NE(nullptr, oNoFile.backtrace());
    EXPECT_NE(0u, oNoFile.backtrace()[0]);
}

TEST(Exception, CreateMessageWalksTheChainWithFlags)
{
    cRuntimeException e = runtime("$MTR$A");
    e.link(runtime("B"));
    e.link(new cBugException(message("$MNTR$C"), nullptr, 0));
    EXPECT_EQ("A", chainText(e, 0));
    EXPECT_EQ("A|B|C", chainText(e, 1));
    EXPECT_EQ("A| B|  C   ", chainText(e, 5));
    EXPECT_EQ("A", chainText(e, 4));
    qucs::cLILocale oLocale("en");
    qucs::cString sOut;
    e.createMessage(sOut, qucs::cString(", "), 1, &oLocale);
    EXPECT_TRUE(sOut == "A, B, C");
}

TEST(Exception, CopiesAreDeepAndHasFindsByTypeName)
{
    cRuntimeException e = runtime("top");
    e.link(cOutOfBoundsException("tList", "x"));
    e.link(runtime("bottom"));
    cRuntimeException oCopy(e);
    ASSERT_NE(nullptr, oCopy.history());
    EXPECT_NE(e.history(), oCopy.history());
    EXPECT_EQ("top|Out of bounds condition detected in \"tList\" while executing \"x\"!|bottom",
              chainText(oCopy, 1));
    const cAbstractException* pFound = oCopy.has("cOutOfBoundsException");
    ASSERT_NE(nullptr, pFound);
    EXPECT_EQ(oCopy.history(), pFound);
    EXPECT_EQ(&oCopy, oCopy.has("cRuntimeException"));
    EXPECT_EQ(nullptr, oCopy.has("cBugException"));
    bool bOutOfMemory = false;
    tAutoPtr<cAbstractException> pHistory(oCopy.getHistory(bOutOfMemory));
    EXPECT_FALSE(bOutOfMemory);
    EXPECT_EQ("cOutOfBoundsException", std::string(pHistory->typeName().c_str()));
    EXPECT_EQ(nullptr, runtime("x").getHistory(bOutOfMemory));
    cRuntimeException oAssigned = runtime("other");
    oAssigned = e;
    EXPECT_EQ(chainText(e, 1), chainText(oAssigned, 1));
}

TEST(Exception, AssignmentFromAnElementOfItsOwnChain)
{
    cRuntimeException e = runtime("top");
    e.link(runtime("middle"));
    e.link(runtime("bottom"));
    e = static_cast<const cRuntimeException&>(*e.history());
    EXPECT_EQ("middle|bottom", chainText(e, 1));
    // Through the base, which copies only its own fields.
    static_cast<cAbstractException&>(e) = *e.history();
    EXPECT_EQ(nullptr, e.history());

    // Fields of a derived class are taken from the source as well.
    cOutOfBoundsException oBounds("tList", "first");
    oBounds.link(cOutOfBoundsException("tVector", "second"));
    oBounds = static_cast<const cOutOfBoundsException&>(*oBounds.history());
    EXPECT_STREQ("second", oBounds.operation().c_str());
    EXPECT_EQ("Out of bounds condition detected in \"tVector\" while executing \"second\"!",
              chainText(oBounds, 1));
    EXPECT_EQ(nullptr, oBounds.history());
}

TEST(Exception, LongChainsCopyAndDieWithoutRecursion)
{
    cRuntimeException e = runtime("0");
    cAbstractException* pLast = &e;
    for (int i = 1; i < 200000; ++i) {
        cAbstractException* pNext = new cRuntimeException(runtime("n"));
        pLast->link(pNext);
        pLast = pNext;
    }
    cRuntimeException oCopy(e);
    unsigned iLength = 0;
    for (const cAbstractException* p = &oCopy; p; p = p->history())
        ++iLength;
    EXPECT_EQ(200000u, iLength);
}

TEST(Exception, RemoteLocationIsCopiedAndAssertedWhenMissing)
{
    cRuntimeException e = runtime("x");
    EXPECT_FALSE(e.isRemote());
    cBugException oAssert = expectThrow<cBugException>([&] { e.remoteLocation(); });
    EXPECT_NE(std::string::npos, messageOf(oAssert).find("(mpRemoteLocation != 0)!"));
    e.setRemoteInfo(qcs::cComponentLocation(qcs::cComponentAddr(1, 2), "host", "", 99));
    cRuntimeException oCopy(e);
    ASSERT_TRUE(oCopy.isRemote());
    EXPECT_EQ(99u, oCopy.remoteLocation().pid());
    EXPECT_EQ(2u, oCopy.remoteLocation().address().moduleID());
}

TEST(StdExceptions, OutOfRangeMessagesByRangeType)
{
    // Index and size texts are checked with the containers that throw them.
    const std::pair<cSTDExceptions::OutOfRangeType, const char*> oTable[] = {
        {cSTDExceptions::Value,
         "Value out of range in C / op. The value should be between 1 and 9 but is 12!"},
        {cSTDExceptions::IndexOrSize,
         "Index or size is out of range in C / op. The value must be between 1 and 9 but is 12!"},
        {cSTDExceptions::EndValue,
         "End-value is out of range in C / op. The value must be between 1 and 9 but is 12!"},
        {cSTDExceptions::OutOfRangeType(7),
         "Index out of range in C / op. The index should be between 1 - 9 but is 12!"}};
    for (const auto& [eType, pText] : oTable)
        EXPECT_EQ(pText, messageOf(cOutOfRangeException("C", "op", eType, 12, 1, 9)));
    cOutOfRangeException oUnknown(nullptr, nullptr, cSTDExceptions::Index, -5, 0, 0);
    EXPECT_EQ(
        "Index out of range in unknown / unknown. The index should be between 0 - 0 but is -5!",
        messageOf(oUnknown));
}

TEST(StdExceptions, MessageTextsOfTheThrowFamily)
{
    // Missing names are left out of the text. The end-of-input and decimal helpers are
    // checked with the parsers that throw them.
    EXPECT_EQ("Out of bounds condition detected!", messageOf(cOutOfBoundsException(nullptr, "op")));
    EXPECT_EQ("Out of bounds condition detected in \"C\"!",
              messageOf(cOutOfBoundsException("C", nullptr)));
    EXPECT_EQ("Type mismatch: Expecting type \"int\" but got object of type \"float\"!",
              messageOf(cTypeMissmatchException("float", "int")));

    cBugException e =
        expectThrow<cBugException>([] { cSTDExceptions::throwCoreBug("oops", "file.cpp", 3); });
    EXPECT_EQ("Bug (\"oops\") detected!", messageOf(e));
    EXPECT_STREQ("file.cpp", e.sourceFileName());
    e = expectThrow<cBugException>(
        [] { cBugException::throwAssertionFailed(nullptr, nullptr, 7); });
    EXPECT_EQ("Assertion failed in file unknown file:7. (unknown)!", messageOf(e));
    e = expectThrow<cBugException>([] { QOR_ASSERT(1 + 1 == 3); });
    EXPECT_NE(std::string::npos, messageOf(e).find(". (1 + 1 == 3)!"));
    EXPECT_THROW(cSTDExceptions::throwUnsupportedOperation("fly"), cBugException);
    EXPECT_THROW(cSTDExceptions::throwElementNotFound("tList", "find"), cBugException);

    cTypeMissmatchException m = expectThrow<cTypeMissmatchException>(
        [] { cSTDExceptions::throwWrongAnyDereference("int", "double"); });
    EXPECT_EQ("double", std::string(m.assignedType().c_str()));
    EXPECT_EQ("int", std::string(m.expectedType().c_str()));
    ASSERT_NE(nullptr, m.history());
    EXPECT_EQ(
        "User requested object of wrong type (\"int\") from type cAny which contains \"double\"!",
        messageOf(*m.history()));

    cTextParseException p = expectThrow<cTextParseException>(
        [] { cSTDExceptions::throwTextParseError(message("$MTR$bad"), "ini", "a.ini", 3, 4); });
    EXPECT_EQ("bad", messageOf(p));
    EXPECT_TRUE(p.fileName() == "a.ini");
    EXPECT_EQ(3u, p.row());
}

TEST(StdExceptions, EveryClassCopiesAndAssignsItsFields)
{
    qortest::expectAssignable(cOutOfBoundsException("C", "op"));
    qortest::expectAssignable(cTypeErrorException("piInt32"));
    qortest::expectAssignable(cTypeMissmatchException("float", "int"));
    qortest::expectAssignable(cOSErrorException("open", ENOENT, "/x"));
    qortest::expectAssignable(cNumberConversionException("12x", 2));
    qortest::expectAssignable(cOutOfRangeException("C", "op", cSTDExceptions::Value, 12, 1, 9));
    cOutOfRangeException oRange;
    oRange = cOutOfRangeException("C", "op", cSTDExceptions::EndValue, 12, 1, 9);
    EXPECT_EQ(std::make_tuple(cSTDExceptions::EndValue, 12LL, 1LL, 9LL, std::string("C")),
              std::make_tuple(oRange.outOfRangeType(), oRange.errornousValue(), oRange.minValue(),
                              oRange.maxValue(), std::string(oRange.container().c_str())));
    qortest::expectAssignable(cTextParseException(message("$MTR$bad"), "ini", "a.ini", 3, 4));
    cTextParseException oParse;
    oParse = cTextParseException(message("$MTR$bad"), "ini", "a.ini", 3, 4);
    EXPECT_EQ(std::make_tuple(std::string("ini"), 3u, 4u),
              std::make_tuple(std::string(oParse.format().c_str()), oParse.row(), oParse.column()));
    EXPECT_TRUE(oParse.fileName() == "a.ini");
}

TEST(StdExceptions, OSErrorLinksTheSystemText)
{
    cOSErrorException e("open", ENOENT, "/x");
    EXPECT_EQ("OS-Error while trying operation \"open\" on file \"/x\"!", messageOf(e));
    ASSERT_NE(nullptr, e.history());
    EXPECT_EQ("Error: \"" + std::string(std::strerror(ENOENT)) + "\"!", messageOf(*e.history()));
    cOSErrorException oNoFile("read", EBADF);
    EXPECT_EQ("OS-Error while trying operation \"read\"!", messageOf(oNoFile));
    EXPECT_EQ(EBADF, oNoFile.osErrorCode());
}

TEST(Exception, DumpsToStandardError)
{
    // With QE=dump every new exception prints where it was made.
    ::setenv("QE", "dump", 1);
    testing::internal::CaptureStderr();
    runtime("x");
    std::string sErr = testing::internal::GetCapturedStderr();
    ::unsetenv("QE");
    EXPECT_NE(std::string::npos, sErr.find("exception.cpp:"));
    testing::internal::CaptureStderr();
    runtime("x");
    EXPECT_EQ("", testing::internal::GetCapturedStderr());

    // dump() writes one line per element of the chain.
    cRuntimeException e = runtime("$MTR$first %n%");
    e.link(cBugException(message("$MTR$second"), nullptr, 0));
    testing::internal::CaptureStderr();
    e.dump();
    sErr = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, sErr.find("[cRuntimeException (runtime)]: first ???\r\n"));
    EXPECT_NE(std::string::npos, sErr.find("[cBugException (bug)]: second\r\n"));
}

TEST(ExceptionStream, ChainSurvivesTheRoundTrip)
{
    cRuntimeException e = runtime("$MTR$outer %n%");
    e.link(cBugException(message("$MNTR$inner"), nullptr, 0));
    EXPECT_EQ("outer ???|inner: runtime bug (all read)", throughStream(e));

    // An element the factory does not know ends the chain with a runtime exception.
    cRuntimeException oUnknown = runtime("first");
    oUnknown.link(cOutOfBoundsException("C", "op"));
    oUnknown.link(runtime("never read"));
    EXPECT_EQ("first|Unknown exception type cOutOfBoundsException!: runtime runtime",
              throughStream(oUnknown));

    // A stream that begins with false holds no exception.
    qortest::cFakeSerializer oEmpty;
    oEmpty.store(false);
    qortest::cFakeDeserializer oNothing(oEmpty.moItems);
    EXPECT_FALSE(cAbstractException::createFromStream(oNothing, qortest::cTestExceptionFactory()));
}
