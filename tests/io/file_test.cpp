// file_test.cpp - qio::cFile over the native file system: streams, the cache window
// and the array view, modes, copies, mapping and failures.
#include "iotesting.h"

#include "qor_core/pi/platform/dependend/native_linux/linuxfileimpl.h"

#include <fcntl.h>
#include <random>
#include <sys/stat.h>

using namespace qortest;
using qio::cFile;

namespace {

std::string randomBytes(size_t iCount, unsigned iSeed)
{
    std::mt19937 oRandom(iSeed);
    std::string s(iCount, '\0');
    for (char& c : s)
        c = char(oRandom());
    return s;
}

std::string readFrom(cFile& oFile, size_t iCount)
{
    std::string s(iCount, '\0');
    s.resize(oFile.read(&s[0], iCount));
    return s;
}

} // namespace

class File : public cScratchTest
{
};

TEST_F(File, ReadBackAcrossCacheWindowsAndReopening)
{
    const std::string sData = randomBytes(200000, 1);
    {
        cFile oFile(qpath("f"), qio::ReadWrite, qio::CreateIfMissing, qio::Truncate);
        EXPECT_EQ(sData.size(), oFile.write(sData.data(), sData.size()));
        EXPECT_EQ(sData.size(), oFile.size());
        // Through the array view, which moves its 64 KiB window along.
        qstd::tConstArrayRef<char> oView(oFile);
        ASSERT_EQ(sData.size(), oView.length());
        for (size_t i = 0; i < sData.size(); i += 997)
            ASSERT_EQ(sData[i], oView.at(unsigned(i))) << i;
        EXPECT_EQ(sData.size(), oFile.pos()) << "the view kept the stream position";
    }
    cFile oFile(qpath("f"), qio::ReadOnly);
    EXPECT_EQ(sData, readFrom(oFile, 300000));
    EXPECT_EQ(0u, oFile.read(nullptr, 0));
    char c;
    EXPECT_EQ(0u, oFile.read(&c, 1)) << "at the end";
    EXPECT_TRUE(oFile.eof());
    qstd::tArray<char> oCopy(oFile); // proxyCopyPartTo reads directly
    EXPECT_EQ(sData, std::string(oCopy.data(), oCopy.length()));
    EXPECT_EQ(sData, readAll(path("f")));
}

TEST_F(File, TheWindowAndTheStreamStayCoherent)
{
    writeAll(path("f"), std::string(100000, 'a'));
    cFile oFile(qpath("f"), qio::ReadWrite);
    // A change through the view is visible to a stream read.
    oFile.proxyAt(70000u) = 'V';
    oFile.seek(70000, qio::SeekFromStart);
    EXPECT_EQ("Va", readFrom(oFile, 2));
    // A stream write is visible through the view.
    oFile.seek(5, qio::SeekFromStart);
    oFile.write("S", 1);
    const cFile& oConst = oFile;
    EXPECT_EQ('S', oConst.proxyAt(5u));
    // A dirty window never overwrites a newer stream write.
    oFile.proxyAt(10u) = 'V';
    oFile.seek(10, qio::SeekFromStart);
    oFile.write("S", 1);
    oFile.flush();
    // A truncation is never undone by a later write-back.
    oFile.proxyAt(90000u) = 'V';
    oFile.truncate(50000);
    oFile.flush();
    oFile.close();
    std::string sDisk = readAll(path("f"));
    ASSERT_EQ(50000u, sDisk.size());
    EXPECT_EQ('S', sDisk[5]);
    EXPECT_EQ('S', sDisk[10]);
    EXPECT_EQ("aSaaaaS", sDisk.substr(4, 7));
}

TEST_F(File, SmallWritesWaitInTheWindowAndStayCoherent)
{
    const std::string sData = randomBytes(100000, 2);
    std::string sExpected = sData;
    cFile oFile(qpath("f"), qio::ReadWrite, qio::CreateIfMissing, qio::Truncate);
    EXPECT_EQ(0u, oFile.size()); // measured while empty: not kept
    for (size_t i = 0; i < sData.size(); i += 1000) {
        ASSERT_EQ(1000u, oFile.write(&sData[i], 1000));
        ASSERT_EQ(i + 1000, oFile.pos()) << "the position moves at once";
        ASSERT_EQ(i + 1000, oFile.size()) << "measured once, then kept up to date";
    }
    ASSERT_TRUE(oFile.cache().isDirty()) << "the last bytes wait";
    EXPECT_LT(readAll(path("f")).size(), sData.size());
    // The array view, the size and the end see the waiting bytes.
    EXPECT_EQ(sData.size(), oFile.size());
    EXPECT_TRUE(oFile.eof());
    const cFile& oConst = oFile;
    EXPECT_EQ(sData[99999], oConst.proxyAt(99999u));
    EXPECT_EQ(sData[10], oConst.proxyAt(10u)) << "moving the window writes the bytes back";
    EXPECT_EQ(sData[99999], oConst.proxyAt(99999u));

    // A write before the waiting bytes, then one behind the end: the hole reads as
    // zeros, and the size counts the bytes still waiting.
    oFile.seek(99990, qio::SeekFromStart);
    oFile.write("tail", 4);
    oFile.seek(50, qio::SeekFromStart);
    oFile.write("head", 4);
    sExpected.replace(99990, 4, "tail");
    sExpected.replace(50, 4, "head");
    EXPECT_EQ(sExpected.size(), oFile.size());
    oFile.seek(100010, qio::SeekFromStart);
    oFile.write("far", 3);
    sExpected += std::string(10, '\0') + "far";
    EXPECT_EQ(sExpected.size(), oFile.size());
    oFile.seek(-13, qio::SeekFromEnd);
    EXPECT_EQ(sExpected.size() - 13, oFile.pos()) << "the end lies behind the waiting bytes";
    EXPECT_EQ(sExpected.substr(sExpected.size() - 13), readFrom(oFile, 20));

    // A read right after a write reads what was written.
    oFile.seek(40, qio::SeekFromStart);
    oFile.write("read", 4);
    sExpected.replace(40, 4, "read");
    oFile.seek(40, qio::SeekFromStart);
    EXPECT_EQ(sExpected.substr(40, 20), readFrom(oFile, 20));

    // A copy sees the waiting bytes and shares the position.
    oFile.write("copy", 4);
    sExpected.replace(60, 4, "copy");
    cFile oCopy(oFile);
    oCopy.seek(0, qio::SeekFromStart);
    EXPECT_EQ(sExpected.substr(0, 70), readFrom(oCopy, 70));
    EXPECT_EQ(70u, oFile.pos());
    oCopy.close();

    // Bytes the array view handed out, written again from where they lie.
    const char* pHanded = oFile.proxyProvideData(0, 16) + 2;
    oFile.write(pHanded, 8);
    sExpected.replace(70, 8, sExpected.substr(2, 8));
    EXPECT_EQ(sExpected.substr(70, 8), std::string(oFile.proxyProvideData(70, 8), 8));

    // A truncation through waiting bytes is never undone.
    oFile.seek(1000, qio::SeekFromStart);
    oFile.write("gone", 4);
    oFile.truncate(500);
    EXPECT_EQ(500u, oFile.size());
    oFile.write("more", 4); // at 1004: the hole is zeros
    sExpected = sExpected.substr(0, 500) + std::string(504, '\0') + "more";
    oFile.close();
    EXPECT_EQ(sExpected, readAll(path("f")));
}

TEST_F(File, WaitingBytesReachOtherReadersAfterFlushRenameAndClose)
{
    cFile oFile(qpath("f"), qio::WriteOnly, qio::CreateIfMissing, qio::Truncate);
    oFile.write("abc", 3);
    EXPECT_EQ("", readAll(path("f")));
    oFile.flush();
    EXPECT_EQ("abc", readAll(path("f")));
    cFile oReader(qpath("f"), qio::ReadOnly);
    EXPECT_EQ("abc", std::string(oReader.mmap(), 3));
    oFile.write("def", 3);
    EXPECT_EQ(std::vector<std::string>{"MMAP not supported in r/w mode!"},
              failureOf([&] { oFile.mmap(); }));
    oFile.rename(qpath("g"));
    EXPECT_EQ("abcdef", readAll(path("g"))) << "renaming writes the bytes first";
    oFile.write("ghi", 3);
    {
        cFile oOther(qpath("h"), qio::WriteOnly, qio::CreateIfMissing, qio::Truncate);
        oOther.write("h", 1);
        oOther = oFile; // the assigned file's bytes are written, then it is closed
        EXPECT_EQ("h", readAll(path("h")));
        EXPECT_EQ("abcdefghi", readAll(path("g"))) << "the copy wrote the bytes first";
        oOther.write("jkl", 3);
    }
    EXPECT_EQ("abcdefghijkl", readAll(path("g"))) << "the destructor writes them";

    // A write into a window that was only read never writes its older bytes back
    // over what another object wrote in the meantime.
    cFile oViewer(qpath("g"), qio::ReadWrite);
    EXPECT_EQ('a', static_cast<const cFile&>(oViewer).proxyAt(0u));
    {
        cFile oOther(qpath("g"), qio::WriteOnly);
        oOther.seek(8, qio::SeekFromStart);
        oOther.write("I", 1);
    }
    oViewer.write("A", 1);
    oViewer.close();
    EXPECT_EQ("AbcdefghIjkl", readAll(path("g")));

    // Copies that write in turn keep their order.
    cFile oFirst(qpath("c"), qio::WriteOnly, qio::CreateIfMissing, qio::Truncate);
    cFile oSecond(oFirst);
    oFirst.write("a1", 2);
    oSecond.write("b1", 2);
    oFirst.write("a2", 2);
    oFirst.close();
    oSecond.close();
    EXPECT_EQ("a1b1a2", readAll(path("c")));
}

TEST_F(File, AppendingFilesPipesAndLargeWritesGoThroughAtOnce)
{
    writeAll(path("f"), "abc");
    cFile oAppend(qpath("f"), qio::WriteOnly, qio::MustExist, qio::Append);
    oAppend.write("d", 1);
    EXPECT_EQ("abcd", readAll(path("f")));
    EXPECT_FALSE(oAppend.cache().isDirty());

    cFile oLarge(qpath("g"), qio::WriteOnly, qio::CreateIfMissing, qio::Truncate);
    const std::string sLarge = randomBytes(cFile::kDeferLimit, 3);
    oLarge.write(sLarge.data(), sLarge.size());
    EXPECT_EQ(sLarge, readAll(path("g")));

    ASSERT_EQ(0, mkfifo(path("p").c_str(), 0600));
    cFile oPipe(qpath("p"), qio::ReadWrite, qio::MustExist, qio::Overwrite);
    EXPECT_EQ(3u, oPipe.write("xyz", 3));
    int iReader = open(path("p").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_NE(-1, iReader);
    char cBuffer[8];
    EXPECT_EQ(3, ::read(iReader, cBuffer, sizeof(cBuffer)));
    EXPECT_EQ("xyz", std::string(cBuffer, 3));
    close(iReader);
}

TEST_F(File, ArrayViewEdges)
{
    writeAll(path("f"), "0123456789");
    cFile oFile(qpath("f"), qio::ReadWrite);
    const cFile& oConst = oFile;
    EXPECT_EQ('0', oConst.proxyAt(0u));
    EXPECT_EQ(10u, oFile.cache().cachedLength()) << "a 10-byte file is cached whole";
    EXPECT_EQ('9', oConst.proxyAt(9u));
    EXPECT_THROW(oConst.proxyAt(10u), qstd::cOutOfRangeException);
    EXPECT_THROW(oFile.proxyAt(10u), qstd::cOutOfRangeException);
    EXPECT_FALSE(oFile.cache().isDirty());
    EXPECT_THROW(oFile.proxyProvideData(8, 3), qstd::cOutOfRangeException);

    // Insertion only at the end, never over existing bytes.
    oFile.proxyInsert(10, "AB", 2);
    EXPECT_EQ(std::vector<std::string>{"Insertion anywhere in the middle of file is not supported "
                                       "yet - sorry!"},
              failureOf([&] { oFile.proxyInsert(11, "C", 1); }));
    EXPECT_THROW(oFile.proxyInsertDefaultObjects(3, 2), qstd::cBugException);
    oFile.proxyInsertDefaultObjects(12, 2);
    EXPECT_EQ(14u, oFile.size());
    oFile.flush(); // for the reader below, which opens the file anew
    EXPECT_EQ(std::string("0123456789AB\0\0", 14), readAll(path("f")));

    // Erasing only the last bytes.
    EXPECT_THROW(oFile.proxyErase(2, 3), qstd::cBugException);
    oFile.proxyErase(10, 4);
    EXPECT_EQ(10u, oFile.size());
    EXPECT_THROW(oFile.proxySetSize(3), qstd::cBugException);

    // Windows and patches.
    qstd::tArrayRef<char> oWindow(oFile, 2, 3);
    oWindow.at(0) = 'x';
    oFile.proxyPatchData("PQ", 8, 2);
    EXPECT_THROW(oFile.proxyPatchData("PQ", 9, 2), qstd::cOutOfRangeException);
    oFile.flush();
    EXPECT_EQ("01x34567PQ", readAll(path("f")));
}

TEST_F(File, SizeIsMeasuredAnewWhileEmpty)
{
    writeAll(path("f"), "");
    cFile oFile(qpath("f"), qio::ReadOnly);
    EXPECT_EQ(0u, oFile.size());
    writeAll(path("f"), "abc"); // from outside
    EXPECT_EQ(3u, oFile.size());
    EXPECT_EQ(3u, oFile.bytesLeft());
}

TEST_F(File, SparseFileBeyondFourGiB)
{
    const unsigned long long k5GiB = 5ULL << 30;
    cFile oFile(qpath("big"), qio::ReadWrite, qio::CreateIfMissing, qio::Truncate);
    oFile.seek((long long)k5GiB, qio::SeekFromStart);
    EXPECT_EQ(k5GiB, oFile.pos());
    ASSERT_EQ(1u, oFile.write("z", 1));
    EXPECT_EQ(k5GiB + 1, oFile.size(true));
    EXPECT_EQ(k5GiB + 1, oFile.pos());
    EXPECT_EQ(k5GiB + 1, qio::cFileInfo(qpath("big")).size());
    std::vector<std::string> oTooLarge = failureOf([&] { oFile.proxyLength(); });
    EXPECT_EQ("File \"" + path("big") + "\" of 5368709121 bytes is too large for its array view!",
              oTooLarge.at(0));
    oFile.seek(-1, qio::SeekFromEnd);
    EXPECT_EQ("z", readFrom(oFile, 5));
    oFile.truncate(k5GiB - 1);
    EXPECT_EQ(k5GiB - 1, oFile.size());
}

TEST_F(File, OpenModes)
{
    EXPECT_THROW(cFile(qpath("none"), qio::ReadOnly, qio::CreateIfMissing),
                 qstd::cRuntimeException);
    EXPECT_FALSE(std::filesystem::exists(path("none"))) << "creating applies only to writing";
    std::vector<std::string> oChain =
        failureOf([&] { cFile(qpath("none"), qio::WriteOnly, qio::MustExist); });
    ASSERT_LE(2u, oChain.size());
    EXPECT_EQ("Unable to open file \"" + path("none") + "\"!", oChain[0]);
    EXPECT_EQ(std::make_pair(std::string("open"), ENOENT),
              osErrorOf([&] { cFile(qpath("none"), qio::WriteOnly, qio::MustExist); }));

    writeAll(path("f"), "abc");
    {
        cFile oAppend(qpath("f"), qio::WriteOnly, qio::MustExist, qio::Append);
        oAppend.seek(0, qio::SeekFromStart);
        oAppend.write("d", 1);
    }
    EXPECT_EQ("abcd", readAll(path("f")));
    {
        cFile oOverwrite(qpath("f"), qio::WriteOnly, qio::MustExist, qio::Overwrite);
        oOverwrite.write("X", 1);
    }
    EXPECT_EQ("Xbcd", readAll(path("f")));
    {
        cFile oTruncate(qpath("f"), qio::ReadWrite, qio::MustExist, qio::Truncate);
        EXPECT_EQ(0u, oTruncate.size());
    }
    ASSERT_EQ(0, symlink(path("f").c_str(), path("link").c_str()));
    cFile oLink(qio::cFs(), qpath("link"));
    EXPECT_EQ(std::make_pair(std::string("open"), ELOOP), osErrorOf([&] {
                  oLink.open(qpath("link"), qio::ReadOnly, qio::MustExist, qio::Overwrite, false);
              }));
    EXPECT_FALSE(oLink.isOpen());
    oLink.open(qpath("link"), qio::ReadOnly, qio::MustExist, qio::Overwrite, true);
    EXPECT_TRUE(oLink.isOpen());
}

TEST_F(File, NotOpenFilesReportBadDescriptor)
{
    cFile oFile(qio::cFs(), qpath("f"));
    char c;
    EXPECT_EQ(std::make_pair(std::string("read"), EBADFD), osErrorOf([&] { oFile.read(&c, 1); }));
    EXPECT_EQ(std::make_pair(std::string("write"), EBADFD), osErrorOf([&] { oFile.write(&c, 1); }));
    EXPECT_EQ(std::make_pair(std::string("seek"), EBADFD), osErrorOf([&] { oFile.pos(); }));
    EXPECT_EQ(std::make_pair(std::string("truncate"), EBADFD),
              osErrorOf([&] { oFile.truncate(0); }));
    EXPECT_EQ(std::make_pair(std::string("flush"), EBADFD), osErrorOf([&] { oFile.flush(); }));
    oFile.close(); // closing a closed file is no error
}

TEST_F(File, CopiesShareThePosition)
{
    cFile oFile(qpath("f"), qio::ReadWrite, qio::CreateIfMissing, qio::Truncate);
    oFile.write("abcdef", 6);
    oFile.seek(0, qio::SeekFromStart);
    oFile.proxyAt(0u) = 'A'; // dirty: the copy must see it
    cFile oCopy(oFile);
    EXPECT_EQ("Ab", readFrom(oCopy, 2));
    EXPECT_EQ(2u, oFile.pos());
    cFile oAssigned(qpath("f"), qio::ReadOnly);
    oAssigned = oCopy;
    EXPECT_EQ("cd", readFrom(oAssigned, 2));
    EXPECT_EQ(4u, oCopy.pos());
    EXPECT_EQ(oFile.name(), oAssigned.name());
    oFile.close();
    EXPECT_EQ("ef", readFrom(oAssigned, 9)) << "a copy stays open";
}

TEST_F(File, RemoveOnCloseReleaseAndRename)
{
    {
        cFile oFile(qpath("a"), qio::WriteOnly, qio::CreateIfMissing, qio::Truncate);
        oFile.setRemoveOnClose();
        oFile.close();
        EXPECT_FALSE(std::filesystem::exists(path("a")));
        writeAll(path("a"), "new"); // the name now belongs to another file
    }
    EXPECT_TRUE(std::filesystem::exists(path("a"))) << "removed once only";
    {
        cFile oFile(qpath("b"), qio::WriteOnly, qio::CreateIfMissing, qio::Truncate);
        oFile.setRemoveOnClose();
    }
    EXPECT_FALSE(std::filesystem::exists(path("b"))) << "the destructor closes";
    {
        cFile oFile(qpath("c"), qio::WriteOnly, qio::CreateIfMissing, qio::Truncate);
        oFile.setRemoveOnClose();
        oFile.release();
    }
    EXPECT_TRUE(std::filesystem::exists(path("c")));
    {
        cFile oFile(qpath("d"), qio::WriteOnly, qio::CreateIfMissing, qio::Truncate);
        oFile.setRemoveOnClose();
        oFile.rename(qpath("e"));
        EXPECT_EQ(path("e"), text(oFile.name()));
        writeAll(path("d"), "unrelated");
    }
    EXPECT_FALSE(std::filesystem::exists(path("e"))) << "the renamed file goes";
    EXPECT_TRUE(std::filesystem::exists(path("d"))) << "the old name is left alone";

    cFile oGone(qpath("c"), qio::ReadOnly);
    std::filesystem::remove(path("c"));
    EXPECT_EQ(std::make_pair(std::string("unlink"), ENOENT), osErrorOf([&] { oGone.remove(); }));
}

TEST_F(File, MemoryMapping)
{
    writeAll(path("f"), "mapped");
    cFile oWriter(qpath("f"), qio::ReadWrite);
    EXPECT_EQ(std::vector<std::string>{"MMAP not supported in r/w mode!"},
              failureOf([&] { oWriter.mmap(); }));
    cFile oFile(qpath("f"), qio::ReadOnly);
    const char* pData = oFile.mmap();
    EXPECT_EQ("mapped", std::string(pData, 6));
    EXPECT_EQ(0u, oFile.proxyPreferredBlockSize());
    EXPECT_EQ(std::vector<std::string>{"File is already memory mapped!"},
              failureOf([&] { oFile.mmap(); }));
    oFile.close();
    oFile.open(qpath("f"), qio::ReadOnly, qio::MustExist, qio::Overwrite);
    EXPECT_EQ('m', oFile.mmap()[0]);
}

TEST_F(File, DescriptorZeroIsAValidFile)
{
    int iSaved = dup(0);
    ASSERT_NE(-1, iSaved);
    close(0);
    {
        cFile oFile(qpath("f"), qio::ReadWrite, qio::CreateIfMissing, qio::Truncate);
        auto& oImpl = dynamic_cast<qpi::cLinuxFileImpl&>(oFile.impl());
        EXPECT_EQ(0, oImpl.descriptor());
        EXPECT_EQ(3u, oFile.write("abc", 3));
        cFile oCopy(oFile);
        oFile.seek(0, qio::SeekFromStart);
        EXPECT_EQ("abc", readFrom(oCopy, 3));
        oCopy.close();
    } // the destructor closes descriptor 0
    EXPECT_EQ(-1, fcntl(0, F_GETFD));
    EXPECT_EQ(0, dup2(iSaved, 0));
    close(iSaved);
    EXPECT_EQ("abc", readAll(path("f")));
}

TEST_F(File, TextLines)
{
    writeAll(path("f"), "\r\n\r\nabc\n");
    cFile oFile(qpath("f"), qio::ReadOnly);
    qio::cAbstractIODevice::tCharArray oLine;
    EXPECT_TRUE(oFile.readTextLine(oLine, 0));
    EXPECT_EQ("abc", std::string(oLine.data(), oLine.length()));
    EXPECT_FALSE(oFile.readTextLine(oLine, 0));
    EXPECT_TRUE(oLine.empty());

    writeAll(path("g"), "abc");
    cFile oNoEnd(qpath("g"), qio::ReadOnly);
    EXPECT_FALSE(oNoEnd.readTextLine(oLine, 0));
    EXPECT_EQ("abc", std::string(oLine.data(), oLine.length()));

    writeAll(path("h"), "x;;;y;;;");
    cFile oDelimited(qpath("h"), qio::ReadOnly);
    qstd::cAsciiString sDelimiter(";;;");
    EXPECT_TRUE(oDelimited.readTextLine(oLine, sDelimiter, false));
    EXPECT_EQ("x", std::string(oLine.data(), oLine.length()));
    EXPECT_TRUE(oDelimited.readTextLine(oLine, sDelimiter, true, 1000));
    EXPECT_EQ("y;;;", std::string(oLine.data(), oLine.length()));

    cFile oOut(qpath("o"), qio::WriteOnly, qio::CreateIfMissing, qio::Truncate);
    oOut.writeTextLine(qstd::cAsciiString("line"), qstd::cAsciiString("\r\n"));
    qstd::tArray<char> oText("two", 3);
    oOut.writeTextLine(qstd::tConstArrayRef<char>(oText), qstd::cAsciiString("\n"));
    oOut.close();
    EXPECT_EQ("line\r\ntwo\n", readAll(path("o")));
}

TEST_F(File, FailingOperationsLeakNoDescriptor)
{
    int iBefore = openDescriptors();
    for (int i = 0; i < 3; ++i) {
        EXPECT_THROW(cFile(qpath("none"), qio::ReadOnly), qstd::cRuntimeException);
        EXPECT_THROW(qio::cFs().openDir(qpath("none")), qstd::cRuntimeException);
        EXPECT_EQ(iBefore, openDescriptors());
    }
    qio::cFs oFs;
    qsa::cSerializeBinary oWriter;
    oWriter.store(42);
    oWriter.storeToFile(qpath("settings"));
    EXPECT_FALSE(readAll(path("settings")).empty());
    EXPECT_THROW(oWriter.storeToFile(qpath("none/settings")), qstd::cRuntimeException);
    EXPECT_EQ(iBefore, openDescriptors());
}
