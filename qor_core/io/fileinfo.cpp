// fileinfo.cpp - qio::cFileInfo.
// SPDX-License-Identifier: MIT
#include "qor_core/io/fileinfo.h"
#include "qor_core/pi/system.h"

namespace qio {

cAbstractFileInfoImpl::~cAbstractFileInfoImpl() {}

namespace {

qucs::cString part(const qucs::cString& s, unsigned iStart, unsigned iEnd)
{
    qucs::cString sPart;
    if (iEnd > iStart)
        sPart.append(s.data() + iStart, iEnd - iStart);
    return sPart;
}

/// The length of the base name of the name part starting at iNameStart.
unsigned baseLength(const qucs::cString& s, unsigned iNameStart)
{
    unsigned i = iNameStart;
    while (i < s.length() && s[i] != '.')
        ++i;
    return i - iNameStart;
}

bool endsWithSeparator(const qucs::cString& s)
{
    return !s.empty() && (s[s.length() - 1] == '/' || s[s.length() - 1] == '\\');
}

} // namespace

cFileInfo::cFileInfo(const qucs::cString& sPath, const cFs& oFs)
    : moFs(oFs), mpImpl(oFs.createFileInfoImpl(sPath))
{
}

cFileInfo::cFileInfo(const qucs::cString& sPath) : cFileInfo(sPath, qpi::system().fs()) {}

cFileInfo::cFileInfo(const qstd::cAsciiString& sPath)
    : cFileInfo(qucs::cString(sPath.c_str()), qpi::system().fs())
{
}

bool cFileInfo::exists(bool bFollow, qstd::cDateTime* pTime, cFileInfoFlags::TimeStamp eKind) const
{
    return moFs.exists(fullPath(), bFollow, pTime, eKind);
}

bool cFileInfo::isDeadSymLink() const
{
    return exists(false) && !exists(true);
}

qucs::cString cFileInfo::pathComponent() const
{
    qucs::cString s;
    cPath::storePathComponent(fullPath(), s);
    return s;
}

cPath cFileInfo::path() const
{
    return cPath(pathComponent(), true);
}

qucs::cString cFileInfo::fileName() const
{
    qucs::cString s = fullPath();
    return part(s, cPath::pathComponentLength(s), s.length());
}

qucs::cString cFileInfo::fileBaseName() const
{
    qucs::cString s = fullPath();
    unsigned iStart = cPath::pathComponentLength(s);
    return part(s, iStart, iStart + baseLength(s, iStart));
}

qucs::cString cFileInfo::fileExtension() const
{
    qucs::cString s = fullPath();
    unsigned iStart = cPath::pathComponentLength(s);
    return part(s, iStart + baseLength(s, iStart), s.length());
}

qucs::cString cFileInfo::fullAbsolutePath() const
{
    return moFs.cwd().relativeTo(fullPath());
}

qucs::cString cFileInfo::fullRelativePath(const cPath& oBase) const
{
    cPath oDir(pathComponent(), true);
    oDir.makeAbsolute(moFs.cwd());
    oDir.makeRelative(oBase);
    return oDir.path() + fileName();
}

void cFileInfo::setFileName(qucs::cString& s, const qucs::cString& sName, bool bDirectory)
{
    qucs::cString sNew(sName); // sName may be s itself
    if (!bDirectory)
        s.truncate(cPath::pathComponentLength(s));
    if (!s.empty() && !endsWithSeparator(s))
        s += unsigned('/');
    s += sNew;
}

void cFileInfo::setFilePath(qucs::cString& s, const qucs::cString& sPath)
{
    qucs::cString sResult(sPath);
    qucs::cString sName = part(s, cPath::pathComponentLength(s), s.length());
    if (!sResult.empty() && !endsWithSeparator(sResult))
        sResult += unsigned('/');
    sResult += sName;
    s.swap(sResult);
}

void cFileInfo::setFileNameExtension(qucs::cString& s, const qucs::cString& sExtension)
{
    qucs::cString sNew(sExtension);
    if (!sNew.empty() && sNew[0] != '.')
        sNew.insert(0, unsigned('.'));
    unsigned iStart = cPath::pathComponentLength(s);
    s.truncate(iStart + baseLength(s, iStart));
    s += sNew;
}

void cFileInfo::setFileNamePrefix(qucs::cString& s, const qucs::cString& sPrefix)
{
    qucs::cString sNew(sPrefix);
    unsigned iStart = cPath::pathComponentLength(s);
    if (sNew.empty() || s.isEqual(sNew.data(), sNew.length(), iStart))
        return;
    s.insert(iStart, sNew.data(), sNew.length());
}

void cFileInfo::setFileNameSuffix(qucs::cString& s, const qucs::cString& sSuffix)
{
    qucs::cString sNew(sSuffix);
    unsigned iStart = cPath::pathComponentLength(s);
    unsigned iBaseEnd = iStart + baseLength(s, iStart);
    if (sNew.empty() || (iBaseEnd - iStart >= sNew.length() &&
                         s.isEqual(sNew.data(), sNew.length(), iBaseEnd - sNew.length())))
        return;
    s.insert(iBaseEnd, sNew.data(), sNew.length());
}

} // namespace qio
