// iotesting.h - helpers of the file I/O tests: a scratch directory, descriptor
// counts and exception texts.
#ifndef QOR_TESTS_IO_IOTESTING_H
#define QOR_TESTS_IO_IOTESTING_H

#include "qor_core/qor_core.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace qortest {

inline qucs::cString str(const std::string& s)
{
    return qucs::cString(s.c_str());
}

inline std::string text(const qucs::cString& s)
{
    return s.ascii('?').c_str();
}

/// The untranslated text of each exception of the chain, outermost first.
inline std::vector<std::string> chainOf(const qstd::cAbstractException& e)
{
    std::vector<std::string> oTexts;
    for (const qstd::cAbstractException* p = &e; p; p = p->history()) {
        qstd::cAsciiString sText;
        if (p->liMessage())
            p->liMessage()->untranslated(sText);
        oTexts.push_back(sText.c_str());
    }
    return oTexts;
}

/// Runs f, which must throw a cAbstractException, and returns the texts of its chain.
template <class F> std::vector<std::string> failureOf(F f)
{
    try {
        f();
    } catch (const qstd::cAbstractException& e) {
        return chainOf(e);
    }
    ADD_FAILURE() << "nothing thrown";
    return {};
}

/// The call name and errno of the cOSErrorException in the chain f throws.
template <class F> std::pair<std::string, int> osErrorOf(F f)
{
    try {
        f();
    } catch (const qstd::cAbstractException& e) {
        for (const qstd::cAbstractException* p = &e; p; p = p->history())
            if (auto* pOS = dynamic_cast<const qstd::cOSErrorException*>(p))
                return {pOS->operation().c_str(), pOS->osErrorCode()};
        ADD_FAILURE() << "no OS error in " << chainOf(e)[0];
        return {};
    }
    ADD_FAILURE() << "nothing thrown";
    return {};
}

inline int openDescriptors()
{
    int iCount = 0;
    DIR* pDir = opendir("/proc/self/fd");
    while (dirent* p = readdir(pDir))
        if (p->d_name[0] != '.')
            ++iCount;
    closedir(pDir);
    return iCount - 1; // the one listing
}

inline std::string readAll(const std::string& sPath)
{
    std::ifstream oIn(sPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(oIn), std::istreambuf_iterator<char>());
}

inline void writeAll(const std::string& sPath, const std::string& sData)
{
    std::ofstream oOut(sPath, std::ios::binary | std::ios::trunc);
    oOut << sData;
}

/// A fresh directory below the temporary directory, removed afterwards.
class cScratchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string sTemplate = (std::filesystem::temp_directory_path() / "qorio.XXXXXX").string();
        msDir = mkdtemp(&sTemplate[0]);
        miDescriptors = openDescriptors();
    }
    void TearDown() override
    {
        std::error_code oError;
        std::filesystem::remove_all(msDir, oError);
        EXPECT_EQ(miDescriptors, openDescriptors()) << "descriptor leaked";
    }
    std::string path(const std::string& sName) const { return msDir + "/" + sName; }
    qucs::cString qpath(const std::string& sName) const { return str(path(sName)); }

    std::string msDir;
    int miDescriptors = 0;
};

} // namespace qortest

#endif
