// faultfs_test.cpp - a file system mounted through the proxy that fails the n-th
// read, write, seek, close or rename with a chosen errno, run over a copy-and-rewrite
// scenario for every n.
#include "iotesting.h"
#include "qor_core/pi/platform/dependend/native_linux/linuxfileimpl.h"
#include "qor_core/pi/platform/dependend/native_linux/linuxfsimpl.h"

#include <cerrno>
#include <functional>
#include <random>

using namespace qortest;

namespace {

/// Which call fails: the iFailAt-th call of kind eFail.
struct cFaultPlan
{
    enum Kind
    {
        Read,
        Write,
        Seek,
        Close,
        Rename,
        Kinds
    };
    void reset(Kind eKind, int iAt, int iError)
    {
        for (int& i : miCounts)
            i = 0;
        meFail = eKind;
        miFailAt = iAt;
        miError = iError;
        mbFired = false;
    }
    bool hit(Kind eKind)
    {
        if (++miCounts[eKind] != miFailAt || eKind != meFail)
            return false;
        mbFired = true;
        errno = miError;
        return true;
    }
    int miCounts[Kinds] = {};
    Kind meFail = Read;
    int miFailAt = 0;
    int miError = EIO;
    bool mbFired = false;
};

class cFaultFileImpl : public qpi::cLinuxFileImpl
{
public:
    cFaultFileImpl(const qio::cFs& oFs, qio::cAbstractIOBlockDevice& oDevice, cFaultPlan& oPlan)
        : qpi::cLinuxFileImpl(oFs, oDevice), moPlan(oPlan)
    {
    }
    cFaultFileImpl(const cFaultFileImpl& oOther, qio::cAbstractIOBlockDevice& oDevice)
        : qpi::cLinuxFileImpl(oOther, oDevice), moPlan(oOther.moPlan)
    {
    }
    ~cFaultFileImpl() override
    {
        // The base destructor would close through the base's own calls.
        try {
            flush();
        } catch (...) {
        }
        try {
            close();
        } catch (...) {
        }
    }
    qstd::tAutoPtr<qio::cAbstractFileImpl>
    deepCopy(qio::cAbstractIOBlockDevice& oDevice) const override
    {
        return qstd::tAutoPtr<qio::cAbstractFileImpl>(new cFaultFileImpl(*this, oDevice));
    }

protected:
    ssize_t sysRead(int iFd, void* p, size_t n) override
    {
        return moPlan.hit(cFaultPlan::Read) ? -1 : qpi::cLinuxFileImpl::sysRead(iFd, p, n);
    }
    ssize_t sysWrite(int iFd, const void* p, size_t n) override
    {
        return moPlan.hit(cFaultPlan::Write) ? -1 : qpi::cLinuxFileImpl::sysWrite(iFd, p, n);
    }
    long long sysSeek(int iFd, long long iOffset, int iWhence) const override
    {
        return moPlan.hit(cFaultPlan::Seek) ? -1
                                            : qpi::cLinuxFileImpl::sysSeek(iFd, iOffset, iWhence);
    }
    int sysClose(int iFd) override
    {
        // As on Linux: the descriptor is gone even when close reports an error.
        int iResult = qpi::cLinuxFileImpl::sysClose(iFd);
        return moPlan.hit(cFaultPlan::Close) ? -1 : iResult;
    }
    int sysRename(const char* pFrom, const char* pTo) override
    {
        return moPlan.hit(cFaultPlan::Rename) ? -1 : qpi::cLinuxFileImpl::sysRename(pFrom, pTo);
    }

private:
    cFaultPlan& moPlan;
};

/// Serves the paths below its prefix with faulty files and renames.
class cFaultFs : public qpi::cLinuxFsImpl
{
public:
    cFaultFs(const qio::cFs& oFs, const std::string& sPrefix, cFaultPlan& oPlan)
        : qpi::cLinuxFsImpl(oFs), msPrefix(sPrefix), moPlan(oPlan)
    {
    }
    bool matches(qucs::cString& sPath, Operation) override
    {
        return text(sPath).compare(0, msPrefix.size(), msPrefix) == 0 && !msPrefix.empty();
    }
    bool isUsed() const override { return false; }
    void rename(const qucs::cString& sFrom, const qucs::cString& sTo) override
    {
        if (moPlan.hit(cFaultPlan::Rename))
            throw qstd::cOSErrorException("rename", errno, sFrom);
        qpi::cLinuxFsImpl::rename(sFrom, sTo);
    }
    qstd::tAutoPtr<qio::cAbstractFileImpl> createFileImpl(const qio::cFs& oFs,
                                                          qio::cAbstractIOBlockDevice& oDevice,
                                                          const qucs::cString&) const override
    {
        return qstd::tAutoPtr<qio::cAbstractFileImpl>(new cFaultFileImpl(oFs, oDevice, moPlan));
    }

private:
    std::string msPrefix;
    cFaultPlan& moPlan;
};

class FaultFs : public cScratchTest
{
protected:
    /// oFs as a proxy whose paths below the scratch directory are served faulty.
    void mountFaulty(qio::cFs& oFs, cFaultPlan& oPlan)
    {
        oFs.setImpl(qstd::tAutoPtr<qio::cAbstractFsImpl>(new qio::cProxyFs(oFs)));
        oFs.bind(qpi::cPlatform().createFsImpl(oFs));
        oFs.bind(qstd::tAutoPtr<qio::cAbstractFsImpl>(new cFaultFs(oFs, msDir, oPlan)));
    }

    /// What the scenario reported done.
    struct cProgress
    {
        unsigned long long miWritten = 0;
        bool mbPatched = false;
        bool mbClosed = false;
        bool mbRenamed = false;
    };

    /// Copies src to tmp in 16 KiB blocks, patches byte 1000 through the array view,
    /// closes both files and renames tmp to final.
    void copyAndRewrite(const qio::cFs& oFs, cProgress& oProgress)
    {
        qio::cFile oIn(oFs, qpath("src"), qio::ReadOnly, qio::MustExist, qio::Overwrite);
        qio::cFile oOut(oFs, qpath("tmp"), qio::ReadWrite, qio::CreateIfMissing, qio::Truncate);
        char cBuffer[16384];
        for (;;) {
            unsigned long long iRead = oIn.read(cBuffer, sizeof(cBuffer));
            if (iRead == 0)
                break;
            unsigned long long iWritten = oOut.write(cBuffer, iRead);
            oProgress.miWritten += iWritten;
            ASSERT_EQ(iRead, iWritten);
        }
        oOut.proxyAt(1000u) = 'R';
        oOut.flush();
        oProgress.mbPatched = true;
        oIn.close();
        oOut.close();
        oProgress.mbClosed = true;
        oFs.rename(qpath("tmp"), qpath("final"));
        oProgress.mbRenamed = true;
    }
};

} // namespace

TEST_F(FaultFs, EveryFailureIsReportedAndNothingLeaks)
{
    std::string sSource(150000, '\0');
    std::mt19937 oRandom(7);
    for (char& c : sSource)
        c = char(oRandom());
    writeAll(path("src"), sSource);
    std::string sExpected = sSource;
    sExpected[1000] = 'R';

    cFaultPlan oPlan;
    qio::cFs oFs;
    mountFaulty(oFs, oPlan);

    const char* pKinds[] = {"read", "write", "seek", "close", "rename"};
    const int iErrors[] = {EIO, ENOSPC, EIO, EIO, EXDEV};
    int iFailures = 0;
    for (int iKind = 0; iKind < cFaultPlan::Kinds; ++iKind) {
        for (int n = 1; n < 500; ++n) {
            SCOPED_TRACE(std::string(pKinds[iKind]) + " #" + std::to_string(n));
            std::filesystem::remove(path("tmp"));
            std::filesystem::remove(path("final"));
            oPlan.reset(cFaultPlan::Kind(iKind), n, iErrors[iKind]);
            int iDescriptors = openDescriptors();
            cProgress oProgress;
            bool bThrown = false;
            try {
                copyAndRewrite(oFs, oProgress);
            } catch (const qstd::cAbstractException& e) {
                bThrown = true;
                bool bHasErrno = false;
                for (const qstd::cAbstractException* p = &e; p; p = p->history())
                    if (auto* pOS = dynamic_cast<const qstd::cOSErrorException*>(p))
                        bHasErrno = pOS->osErrorCode() == iErrors[iKind];
                EXPECT_TRUE(bHasErrno) << chainOf(e)[0];
            }
            EXPECT_EQ(iDescriptors, openDescriptors());
            if (!oPlan.mbFired) {
                EXPECT_FALSE(bThrown);
                EXPECT_TRUE(oProgress.mbRenamed);
                EXPECT_EQ(sExpected, readAll(path("final")));
                EXPECT_GT(n, 1) << "the scenario never calls " << pKinds[iKind];
                break;
            }
            ++iFailures;
            EXPECT_TRUE(bThrown) << "a failure was swallowed";
            EXPECT_FALSE(oProgress.mbRenamed);
            // What was reported written is on disk.
            std::string sOnDisk =
                readAll(path(std::filesystem::exists(path("final")) ? "final" : "tmp"));
            ASSERT_GE(sOnDisk.size(), oProgress.miWritten);
            for (unsigned long long i = 0; i < oProgress.miWritten; ++i) {
                if (i != 1000) {
                    ASSERT_EQ(sSource[i], sOnDisk[i]) << i;
                }
            }
            if (oProgress.mbPatched) {
                EXPECT_EQ('R', sOnDisk[1000]);
            }
        }
    }
    EXPECT_GT(iFailures, 20);
}

TEST_F(FaultFs, AWaitingWriteThatFailsIsReportedByTheNextOperationAndKept)
{
    cFaultPlan oPlan;
    qio::cFs oFs;
    mountFaulty(oFs, oPlan);
    const std::pair<std::string, int> oNoSpace("write", ENOSPC);
    struct cCase
    {
        const char* mpName;
        std::function<void(qio::cFile&)> mfOperation;
    };
    const std::vector<cCase> oCases = {
        {"flush", [](qio::cFile& f) { f.flush(); }},
        {"read",
         [](qio::cFile& f) {
             char c;
             f.read(&c, 1);
         }},
        {"size", [](qio::cFile& f) { f.size(true); }},
        {"eof",
         [](qio::cFile& f) {
             f.touchSize();
             f.eof();
         }},
        {"seek from the end", [](qio::cFile& f) { f.seek(0, qio::SeekFromEnd); }},
        {"truncate", [](qio::cFile& f) { f.truncate(f.pos()); }},
        {"array view", [](qio::cFile& f) { static_cast<const qio::cFile&>(f).proxyAt(0u); }},
        {"copy", [](qio::cFile& f) { qio::cFile oCopy(f); }},
        {"rename",
         [this](qio::cFile& f) {
             f.rename(qpath("g"));
             f.rename(qpath("f"));
         }},
        {"window full", [](qio::cFile& f) { f.write(std::string(10000, 'v').data(), 10000); }},
    };
    std::string sExpected;
    qio::cFile oFile(oFs, qpath("f"), qio::ReadWrite, qio::CreateIfMissing, qio::Truncate);
    for (const cCase& oCase : oCases) {
        SCOPED_TRACE(oCase.mpName);
        const bool bFull = std::string(oCase.mpName) == "window full";
        std::string sBytes = std::string(oCase.mpName) + ";";
        ASSERT_EQ(sBytes.size(), oFile.write(sBytes.data(), sBytes.size()));
        sExpected += sBytes;
        for (int i = 0; bFull && i < 2; ++i) {
            ASSERT_EQ(30000u, oFile.write(std::string(30000, 'w').data(), 30000));
            sExpected += std::string(30000, 'w');
        }
        unsigned long long iPos = oFile.pos();
        oPlan.reset(cFaultPlan::Write, 1, ENOSPC);
        EXPECT_EQ(oNoSpace, osErrorOf([&] { oCase.mfOperation(oFile); }));
        EXPECT_TRUE(oPlan.mbFired);
        EXPECT_TRUE(oFile.cache().isDirty()) << "the bytes still wait";
        EXPECT_EQ(iPos, oFile.pos()) << "the failed operation left the position";
        oPlan.reset(cFaultPlan::Write, 0, 0);
        oCase.mfOperation(oFile);
        if (bFull)
            sExpected += std::string(10000, 'v');
        oFile.flush();
        EXPECT_TRUE(sExpected == readAll(path("f")));
        oFile.seek(0, qio::SeekFromEnd);
    }

    // Closing reports the failure and still releases the descriptor.
    int iDescriptors = openDescriptors();
    oFile.write("lost", 4);
    oPlan.reset(cFaultPlan::Write, 1, ENOSPC);
    EXPECT_EQ(oNoSpace, osErrorOf([&] { oFile.close(); }));
    EXPECT_FALSE(oFile.isOpen());
    EXPECT_EQ(iDescriptors - 1, openDescriptors());
    oFile.close();

    // Assigning another file to one with waiting bytes writes them first.
    {
        qio::cFile oTarget(oFs, qpath("t"), qio::WriteOnly, qio::CreateIfMissing, qio::Truncate);
        qio::cFile oSource(oFs, qpath("f"), qio::ReadOnly, qio::MustExist, qio::Overwrite);
        oTarget.write("kept", 4);
        oPlan.reset(cFaultPlan::Write, 1, ENOSPC);
        EXPECT_EQ(oNoSpace, osErrorOf([&] { oTarget = oSource; }));
        EXPECT_EQ(4u, oTarget.pos()) << "still the old file";
        oPlan.reset(cFaultPlan::Write, 0, 0);
        oTarget = oSource;
        EXPECT_EQ("kept", readAll(path("t")));
    }

    // So does the destructor, which cannot report it.
    iDescriptors = openDescriptors();
    {
        qio::cFile oGone(oFs, qpath("f"), qio::WriteOnly, qio::MustExist, qio::Append);
        qio::cFile oLost(oFs, qpath("h"), qio::WriteOnly, qio::CreateIfMissing, qio::Truncate);
        oLost.write("lost", 4);
        oPlan.reset(cFaultPlan::Write, 1, ENOSPC);
    }
    EXPECT_TRUE(oPlan.mbFired);
    EXPECT_EQ(iDescriptors, openDescriptors());
}
