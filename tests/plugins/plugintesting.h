// plugintesting.h - where the test module libraries are, a snapshot of the process's
// mappings and descriptors, and an observer of what a module library reports.
#ifndef QOR_TESTS_PLUGINS_PLUGINTESTING_H
#define QOR_TESTS_PLUGINS_PLUGINTESTING_H

#include "qor_core/qor_core.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <dlfcn.h>
#include <unistd.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace qortest {

/// The full path of the test module library "lib<name>.so".
inline std::string modulePath(const std::string& sName)
{
    return std::string(QOR_TEST_MODULE_DIR) + "/lib" + sName + ".so";
}

inline qucs::cString ucs(const std::string& s)
{
    qucs::cString sOut;
    qstd::tArray<char> oBytes(s.data(), unsigned(s.size()));
    qucs::cEnDecUTF8().decode(qstd::tConstArrayRef<char>(oBytes), sOut);
    return sOut;
}

/// The files mapped into the process and the targets of its open descriptors.
struct cProcessSnapshot
{
    std::multiset<std::string> oMappedFiles; ///< one entry per file, not per mapping
    std::multiset<std::string> oDescriptors;

    static cProcessSnapshot take()
    {
        cProcessSnapshot o;
        std::set<std::string> oFiles;
        std::ifstream oMaps("/proc/self/maps");
        std::string sLine;
        while (std::getline(oMaps, sLine)) {
            std::string::size_type i = sLine.find('/');
            if (i != std::string::npos)
                oFiles.insert(sLine.substr(i));
        }
        o.oMappedFiles.insert(oFiles.begin(), oFiles.end());
        DIR* pDir = opendir("/proc/self/fd");
        int iOwn = pDir ? dirfd(pDir) : -1;
        while (pDir) {
            dirent* pEntry = readdir(pDir);
            if (!pEntry)
                break;
            if (pEntry->d_name[0] == '.' || std::atoi(pEntry->d_name) == iOwn)
                continue;
            char cTarget[4096];
            std::string sPath = std::string("/proc/self/fd/") + pEntry->d_name;
            ssize_t n = readlink(sPath.c_str(), cTarget, sizeof(cTarget) - 1);
            o.oDescriptors.insert(std::string(pEntry->d_name) + " -> " +
                                  (n > 0 ? std::string(cTarget, std::size_t(n)) : "?"));
        }
        if (pDir)
            closedir(pDir);
        return o;
    }

    bool maps(const std::string& sFile) const { return oMappedFiles.count(sFile) != 0; }
};

/// Compares the snapshot at construction with the one at expectUnchanged().
struct cFlatCheck
{
    cProcessSnapshot oBefore = cProcessSnapshot::take();

    void expectUnchanged() const
    {
        cProcessSnapshot oAfter = cProcessSnapshot::take();
        EXPECT_EQ(oBefore.oMappedFiles, oAfter.oMappedFiles);
        EXPECT_EQ(oBefore.oDescriptors, oAfter.oDescriptors);
    }
};

/// Whether the dynamic loader has the library open (without opening it).
inline bool isLoaded(const std::string& sPath)
{
    void* p = dlopen(sPath.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (p)
        dlclose(p);
    return p != nullptr;
}

/// Events reported by the test module libraries, in order.
inline std::vector<std::string>& moduleEvents()
{
    static std::vector<std::string> oEvents;
    return oEvents;
}

inline void recordModuleEvent(const char* pEvent)
{
    moduleEvents().push_back(pEvent);
}

/// Makes the loaded library sPath report to moduleEvents().
inline void observeModule(const std::string& sPath)
{
    void* p = dlopen(sPath.c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(nullptr, p) << sPath << " is not loaded";
    typedef void (*tSetObserver)(void (*)(const char*));
    tSetObserver fSet = reinterpret_cast<tSetObserver>(dlsym(p, "testModuleSetObserver"));
    ASSERT_NE(nullptr, fSet);
    fSet(&recordModuleEvent);
    dlclose(p);
}

/// Writes sContent to sPath.
inline void writeFile(const std::string& sPath, const std::string& sContent)
{
    std::ofstream(sPath, std::ios::binary) << sContent;
}

} // namespace qortest

#endif
