// searchpaths.cpp - qio::cSearchPaths.
// SPDX-License-Identifier: MIT
#include "qor_core/io/searchpaths.h"
#include "qor_core/io/fileinfo.h"
#include "qor_core/pi/system.h"

namespace qio {

cSearchPaths::cSearchPaths() : moFs(qpi::system().fs()), moPaths(10) {}

cSearchPaths::cSearchPaths(const cFs& oFs) : moFs(oFs), moPaths(10) {}

bool cSearchPaths::addPath(const qucs::cString& sDir)
{
    for (unsigned i = 0; i < moPaths.count(); ++i)
        if (moPaths[i] == sDir)
            return false;
    moPaths.append(sDir);
    return true;
}

void cSearchPaths::add(const cSearchPaths& oOther)
{
    // A copy, so that adding a list to itself ends.
    qstd::tVector<qucs::cString> oOthers(oOther.moPaths);
    for (unsigned i = 0; i < oOthers.count(); ++i)
        addPath(oOthers[i]);
}

void cSearchPaths::removePath(const qucs::cString& sDir)
{
    qucs::cString s(sDir); // sDir may be one of the entries
    for (unsigned i = moPaths.count(); i-- > 0;)
        if (moPaths[i] == s)
            moPaths.remove(i);
}

bool cSearchPaths::exists(const qucs::cString& sPath, Type eType) const
{
    if (!moFs.exists(sPath, true))
        return false;
    int iType = moFs.fileInfo(sPath).type(true);
    switch (eType) {
    case RegularFile:
        return iType == cFileInfo::RegularFile;
    case Directory:
        return iType == cFileInfo::Directory;
    default:
        return iType == cFileInfo::RegularFile || iType == cFileInfo::Directory;
    }
}

bool cSearchPaths::tryFindFile(const qucs::cString& sName, qucs::cString& sResult, Type eType) const
{
    qucs::cString sWanted(sName);
    for (unsigned i = 0; i < moPaths.count(); ++i) {
        sResult = moPaths[i];
        cFileInfo::setFileName(sResult, sWanted, true);
        if (exists(sResult, eType))
            return true;
    }
    sResult.clear();
    return false;
}

qucs::cString cSearchPaths::tryFindFile(const qucs::cString& sName, Type eType) const
{
    qucs::cString sResult;
    tryFindFile(sName, sResult, eType);
    return sResult;
}

void cSearchPaths::collect(const qucs::cString& sName, qstd::tVector<qucs::cString>& oOut,
                           bool bTest, Type eType) const
{
    oOut.clear();
    qucs::cString sDirPart;
    unsigned iDirLength = cPath::pathComponentLength(sName);
    sDirPart.append(sName.data(true), iDirLength);
    if (iDirLength && !isRelative(sDirPart)) {
        oOut.append(sName);
        return;
    }
    qucs::cString sFileName;
    if (sName.length() > iDirLength)
        sFileName.append(sName.data() + iDirLength, sName.length() - iDirLength);
    for (unsigned i = 0; i < moPaths.count(); ++i) {
        cPath oDir(moPaths[i], true);
        oDir.cd(sDirPart);
        oDir.fixup();
        qucs::cString sCandidate(sFileName);
        cFileInfo::setFilePath(sCandidate, oDir.path());
        if (bTest && !exists(sCandidate, eType))
            continue;
        bool bPresent = false;
        for (unsigned j = 0; j < oOut.count() && !bPresent; ++j)
            bPresent = oOut[j] == sCandidate;
        if (!bPresent)
            oOut.append(sCandidate);
    }
}

void cSearchPaths::existingCandidates(const qucs::cString& sName,
                                      qstd::tVector<qucs::cString>& oOut, Type eType) const
{
    collect(sName, oOut, true, eType);
}

void cSearchPaths::candidates(const qucs::cString& sName, qstd::tVector<qucs::cString>& oOut) const
{
    collect(sName, oOut, false, Either);
}

} // namespace qio
