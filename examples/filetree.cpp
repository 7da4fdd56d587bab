// filetree.cpp - lists a directory tree with the sizes of its files, then watches a
// file for changes from the main loop.
//
//   qor_filetree [directory [file-to-watch [seconds]]]
//
// Without arguments it lists the current directory and watches a file it creates in
// the temporary directory, which it then changes itself.
#include "qor_core/qor_core.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <unistd.h>

namespace {

std::string text(const qucs::cString& s)
{
    return s.ascii('?').c_str();
}

/// Prints the tree below sDir depth first, sorted as the file system returns it;
/// symbolic links are shown, never followed. Returns the bytes of the files below.
unsigned long long listTree(const qio::cFs& oFs, const qucs::cString& sDir, int iDepth)
{
    unsigned long long iTotal = 0;
    for (const qio::cDirInfo& oEntry : oFs.openDir(sDir, qio::OmitDot | qio::OmitDotDot)) {
        qio::cFileInfo oInfo(oEntry, oFs);
        std::string sIndent(size_t(iDepth) * 2, ' ');
        if (oInfo.isSymLink()) {
            std::printf("%s%s -> %s\n", sIndent.c_str(), text(oInfo.fileName()).c_str(),
                        text(oInfo.readLink()).c_str());
        } else if (oInfo.isDir(false)) {
            std::printf("%s%s/\n", sIndent.c_str(), text(oInfo.fileName()).c_str());
            iTotal += listTree(oFs, oEntry.fullPath(), iDepth + 1);
        } else {
            unsigned long long iSize = oInfo.size(false);
            iTotal += iSize;
            std::printf("%s%s  %llu bytes\n", sIndent.c_str(), text(oInfo.fileName()).c_str(),
                        iSize);
        }
    }
    return iTotal;
}

class cWatcher : public qrmi::cConnectable
{
public:
    piVoid sltChanged()
    {
        ++miChanges;
        std::printf("changed (%d)\n", miChanges);
        return piVoid();
    }
    int miChanges = 0;
};

} // namespace

int main(int iArgs, char** pArgs)
{
    try {
        qio::cFs& oFs = qpi::system().fs();
        qucs::cString sDir = iArgs > 1 ? qucs::cString(pArgs[1]) : oFs.cwd().path();
        unsigned long long iTotal = listTree(oFs, sDir, 0);
        std::printf("%llu bytes in files\n", iTotal);

        bool bOwnFile = iArgs <= 2;
        std::string sWatched = bOwnFile
                                   ? std::string("/tmp/qor_filetree_") + std::to_string(getpid())
                                   : std::string(pArgs[2]);
        if (bOwnFile) {
            qio::cFile oFile(sWatched.c_str(), qio::WriteOnly, qio::CreateIfMissing, qio::Truncate);
            oFile.writeTextLine(qstd::cAsciiString("first"), qstd::cAsciiString("\n"));
        }
        qio::cFileWatch oWatch(sWatched.c_str());
        cWatcher oWatcher;
        oWatch.sigFileChanged.connect(oWatcher, &cWatcher::sltChanged);
        oWatch.start(50);
        std::printf("watching %s\n", sWatched.c_str());

        time_t iEnd = std::time(nullptr) + (iArgs > 3 ? std::atoi(pArgs[3]) : 2);
        bool bAppended = false;
        while (std::time(nullptr) < iEnd && !(bOwnFile && oWatcher.miChanges > 0)) {
            qpi::system().exec();
            if (bOwnFile && !bAppended) {
                qio::cFile oFile(sWatched.c_str(), qio::WriteOnly, qio::MustExist, qio::Append);
                oFile.writeTextLine(qstd::cAsciiString("second"), qstd::cAsciiString("\n"));
                bAppended = true;
            }
        }
        if (bOwnFile)
            oFs.remove(sWatched.c_str());
        return 0;
    } catch (const qstd::cAbstractException& e) {
        qucs::cString sText;
        e.createMessage(sText, qucs::cString("\n  "), qstd::cAbstractException::WithHistory,
                        nullptr);
        std::fprintf(stderr, "%s\n", text(sText).c_str());
        return 1;
    }
}
