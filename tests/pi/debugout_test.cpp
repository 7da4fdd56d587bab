// Tests of the debug output: line format, filtering, indentation, number modes,
// and the stack-trace helpers.
#include "qor_core/qor_core.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>

using namespace qpi;

namespace {

/// Writes one tagged line to a stream, the way the framework does.
void writeLine(cAbstractOut& oOut, const char* pFile, unsigned iLine, const char* pText)
{
    qp::cLocker::cLock oLock(oOut.mutex());
    oOut.debugMessage(pFile, iLine) << pText << "\n" << cAbstractOut::clearDebugMessage();
}

/// Collects what a stream emits.
class cRecordingOut : public cAbstractOut
{
public:
    void printChar(char cChar) override { msText += cChar; }
    std::string msText;
};

/// Writes tagged lines from a thread of its own.
class cLineWriter : public qp::cAbstractRunnable
{
public:
    cLineWriter(cAbstractOut& oOut, const char* pText) : moOut(oOut), mpText(pText) {}
    ~cLineWriter() override { stop(); }
    void run() override
    {
        for (int i = 0; i < 200; ++i)
            writeLine(moOut, "thread.cpp", unsigned(i), mpText);
    }

private:
    cAbstractOut& moOut;
    const char* mpText;
};

} // namespace

TEST(DebugStdErr, PrefixIndentationAndCrLf)
{
    cDebugStdErr oOut;
    testing::internal::CaptureStderr();
    writeLine(oOut, "a/b\\c:d.x", 7, "text");
    oOut << cAbstractOut::indent() << cAbstractOut::indent();
    writeLine(oOut, "/src/file.cpp", 12, "deeper");
    oOut << cAbstractOut::unindent() << cAbstractOut::unindent() << cAbstractOut::unindent();
    oOut << "a\nb\n"; // no tag: no prefix
    std::string sErr = testing::internal::GetCapturedStderr();
    EXPECT_EQ("d.x:7: text\r\nfile.cpp:12:     deeper\r\na\r\nb\r\n", sErr);
    EXPECT_EQ(0u, oOut.indentionLevel());
}

TEST(DebugStdErr, FilterWordsDropTaggedLines)
{
    ::setenv("PIDBG_FILTER", "  noisy  other ", 1);
    cDebugStdErr oOut;
    ::unsetenv("PIDBG_FILTER");
    ASSERT_EQ(2u, oOut.filterWords().count());
    testing::internal::CaptureStderr();
    writeLine(oOut, "/src/noisy/work.cpp", 1, "dropped");
    writeLine(oOut, "/src/quiet/work.cpp", 2, "kept");
    writeLine(oOut, "x/another.cpp", 3, "dropped: other is part of the name");
    writeLine(oOut, "x/third.cpp", 4, "kept too");
    oOut << "untagged noisy\n";
    oOut << "partial";
    oOut.flush();
    std::string sErr = testing::internal::GetCapturedStderr();
    EXPECT_EQ("work.cpp:2: kept\r\nthird.cpp:4: kept too\r\nuntagged noisy\r\npartial", sErr);
}

TEST(AbstractOut, NumberModesUnicodeTextAndMessages)
{
    cRecordingOut oOut;
    oOut << NF_Hex2Once << 255 << " " << 255 << " " << NF_Hex4 << 255u << " " << 4096LL << " ";
    oOut << -1 << " " << NF_Unchanged << 17ULL << " ";
    qstd::cNumberConversionFormat oBinary(2);
    oOut << oBinary << 5 << " " << 2.5;
    EXPECT_EQ("ff 255 00ff 1000 -001 0011 101 2.5", oOut.msText);

    oOut.msText.clear();
    qucs::cLIMessage oMessage;
    oMessage << "$MTR$%n% items" << 3;
    oOut << qucs::cString(L"caf\u00e9") << " / " << oMessage;
    EXPECT_EQ("caf\xc3\xa9 / 3 items", oOut.msText);
}

TEST(AbstractOut, LinkedStreamsPassEverythingOn)
{
    cRecordingOut oTarget;
    cRecordingOut oFront;
    oFront.link(&oTarget);
    oFront.debugMessage("f.cpp", 3) << "x\n" << 42 << cAbstractOut::indent();
    EXPECT_EQ("", oFront.msText);
    EXPECT_EQ("x\r\n42", oTarget.msText);
    EXPECT_STREQ("f.cpp", oFront.debugFileName());
    EXPECT_EQ(1u, oTarget.indentionLevel());
    EXPECT_EQ(1u, oFront.indentionLevel());
}

TEST(DebugLine, SystemOutputWritesWholeLines)
{
    testing::internal::CaptureStderr();
    {
        cDebugLevel oLevel;
        QOR_DEBUG_LINE("value " << 42);
    }
    QOR_DEBUG_LINE("back");
    std::string sErr = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, sErr.find("debugout_test.cpp:"));
    EXPECT_NE(std::string::npos, sErr.find(":   value 42\r\n"));
    EXPECT_NE(std::string::npos, sErr.find(": back\r\n"));
}

TEST(StackTrace, BackTraceClampsAndTerminates)
{
    std::uintptr_t iFrames[200];
    std::fill(std::begin(iFrames), std::end(iFrames), 1);
    piBackTrace(iFrames, 0);
    EXPECT_EQ(0u, iFrames[0]);
    EXPECT_EQ(1u, iFrames[1]);
    piBackTrace(iFrames, 500);
    EXPECT_NE(0u, iFrames[0]);
    EXPECT_EQ(0u, iFrames[127]);
    EXPECT_EQ(1u, iFrames[128]);

    qstd::cAsciiString sTrace = piStackTrace(128);
    EXPECT_TRUE(sTrace.beginsWith("\n\n"));
    qstd::cAsciiString sSymbols[8];
    piStackTrace(8, sSymbols);
    EXPECT_FALSE(sSymbols[0].empty());

    qstd::cAsciiString sName;
    EXPECT_TRUE(piResolveAddress(reinterpret_cast<std::uintptr_t>(&piStackDump), sName));
    EXPECT_EQ("qpi::piStackDump()", std::string(sName.c_str()));
    EXPECT_FALSE(piResolveAddress(16, sName));
    EXPECT_EQ("0x10", std::string(sName.c_str()));
}

TEST(DebugLine, LinesOfThreadsDoNotInterleave)
{
    cRecordingOut oOut;
    cLineWriter oFirst(oOut, "aaaaaaaaaaaaaaaaaaaa"), oSecond(oOut, "bbbbbbbbbbbbbbbbbbbb");
    oFirst.start();
    oSecond.start();
    oFirst.stop();
    oSecond.stop();
    qp::cLocker::cLock oLock(oOut.mutex());
    const std::string sA(20, 'a'), sB(20, 'b'), &sText = oOut.msText;
    ASSERT_EQ(400u * 22, sText.size());
    for (size_t i = 0; i < sText.size(); i += 22) {
        std::string sLine = sText.substr(i, 22);
        EXPECT_TRUE(sLine == sA + "\r\n" || sLine == sB + "\r\n") << sLine;
    }
}
