// path.cpp - qio::cPath and the path parsing functions.
// SPDX-License-Identifier: MIT
#include "qor_core/io/path.h"
#include "qor_core/io/fs.h"
#include "qor_core/io/fileinfo.h"
#include "qor_core/pi/platform.h"
#include "qor_core/pi/system.h"

namespace qio {

namespace {

bool isSeparator(unsigned iChar)
{
    return iChar == '/' || iChar == '\\';
}

/// True when s holds the ASCII text pText at iAt.
bool hasAt(const qucs::cString& s, unsigned iAt, const char* pText)
{
    unsigned i = 0;
    for (; pText[i]; ++i)
        if (iAt + i >= s.length() || s[iAt + i] != (unsigned char)pText[i])
            return false;
    return true;
}

bool equals(const qucs::cString& s, unsigned iStart, const char* pText)
{
    unsigned iLength = 0;
    while (pText[iLength])
        ++iLength;
    return s.length() - iStart == iLength && hasAt(s, iStart, pText);
}

qucs::cString part(const qucs::cString& s, unsigned iStart, unsigned iEnd)
{
    qucs::cString sPart;
    if (iEnd > iStart)
        sPart.append(s.data() + iStart, iEnd - iStart);
    return sPart;
}

/// The components of s between slashes; empty ones are skipped.
void splitComponents(const qucs::cString& s, qstd::tVector<qucs::cString>& oOut)
{
    unsigned iStart = 0;
    for (unsigned i = 0; i <= s.length(); ++i) {
        if (i == s.length() || s[i] == '/') {
            if (i > iStart)
                oOut.append(part(s, iStart, i));
            iStart = i + 1;
        }
    }
}

} // namespace

char driveLetter(const qucs::cString& s)
{
    if (s.length() < 2 || s[1] != ':')
        return 0;
    unsigned iChar = s[0];
    if (iChar >= 'a' && iChar <= 'z')
        return char(iChar - 32);
    if (iChar >= 'A' && iChar <= 'Z')
        return char(iChar);
    return 0;
}

bool isRelative(const qucs::cString& s)
{
    if (s.empty())
        return true;
    if (s[0] == '/')
        return false;
    return driveLetter(s) == 0;
}

char setPath(const qucs::cString& sIn, qucs::cString& sOut, bool bFixup)
{
    qucs::cString s(sIn);
    if (s.empty())
        s = ".";
    s.replace('\\', '/');
    if (s[s.length() - 1] != '/')
        s += unsigned('/');
    char cDrive = driveLetter(s);
    if (cDrive)
        s.erase(0, 2);
    if (bFixup) {
        bool bClimbed = false;
        fixupPath(s, bClimbed);
        if (bClimbed)
            cDrive = 0;
    }
    sOut.swap(s);
    return cDrive;
}

void fixupPath(qucs::cString& s, bool& bClimbed)
{
    bClimbed = false;
    const bool bAbsolute = !isRelative(s);
    qucs::cString r;
    bool bAtStart = true;
    const unsigned iLength = s.length();
    unsigned i = 0;
    // Every token starts a component or is a slash, so "../" and "./" are only
    // recognised as whole components.
    while (i < iLength) {
        if (s[i] == '/') {
            ++i;
            // Runs of slashes collapse; a relative path never gains a leading slash.
            if (r.empty() ? !bAbsolute : isSeparator(r[r.length() - 1]))
                ;
            else
                r += unsigned('/');
            bAtStart = false;
        } else if (hasAt(s, i, "../")) {
            i += 3;
            bool bFound = false;
            unsigned k = 0;
            for (unsigned j = r.length() >= 2 ? r.length() - 1 : 0; j-- > 0;) {
                if (isSeparator(r[j])) {
                    bFound = true;
                    k = j;
                    break;
                }
            }
            if (bFound) {
                if (bClimbed && equals(r, k + 1, "../")) {
                    r.appendC("../");
                    bAtStart = false;
                } else {
                    r.truncate(k + 1);
                }
            } else if (bAbsolute) {
                // At the root: there is nothing above it to climb to.
            } else if (equals(r, 0, "./")) {
                r = "../";
                bClimbed = true;
                bAtStart = false;
            } else if (!r.empty() && !equals(r, 0, "../")) {
                r.clear();
            } else {
                bClimbed = true;
                r.appendC("../");
                bAtStart = false;
            }
        } else if (hasAt(s, i, "./")) {
            i += 2;
            if (bAtStart)
                r.appendC("./");
            bAtStart = false;
        } else {
            unsigned iEnd = i;
            while (iEnd < iLength && s[iEnd] != '/')
                ++iEnd;
            r.append(s.data() + i, iEnd - i);
            i = iEnd;
            bAtStart = false;
        }
    }
    if (r.empty())
        r = "./";
    s.swap(r);
}

// --- cPath ------------------------------------------------------------------

cPath::cPath() : mcDrive(0)
{
    *this = qpi::system().fs().cwd();
}

cPath::cPath(const qucs::cString& sPath, bool bFixup) : mcDrive(0)
{
    set(sPath, bFixup);
}

cPath::cPath(const char* pPath, bool bFixup) : mcDrive(0)
{
    set(qucs::cString(pPath), bFixup);
}

void cPath::set(const qucs::cString& sPath, bool bFixup)
{
    mcDrive = setPath(sPath, msPath, bFixup);
}

void cPath::fixup()
{
    bool bClimbed = false;
    fixupPath(msPath, bClimbed);
    if (bClimbed)
        mcDrive = 0;
}

void cPath::swap(cPath& oOther)
{
    msPath.swap(oOther.msPath);
    char c = mcDrive;
    mcDrive = oOther.mcDrive;
    oOther.mcDrive = c;
}

bool cPath::isRelative() const
{
    return qio::isRelative(msPath);
}

qucs::cString cPath::path() const
{
    if (mcDrive == 0 || isRelative())
        return msPath;
    qucs::cString s;
    s += unsigned((unsigned char)mcDrive);
    s += unsigned(':');
    s += msPath;
    return s;
}

qucs::cString cPath::osPath() const
{
    qucs::cString s = path();
    char cDelimiter = qpi::cPlatform().osSpecificPathDelimiter();
    if (cDelimiter != '/')
        s.replace('/', (unsigned char)cDelimiter);
    return s;
}

cPath& cPath::cd(const qucs::cString& s)
{
    if (s.empty())
        return *this;
    if (!qio::isRelative(s)) {
        set(s, true);
        return *this;
    }
    // Another path may be passed in that is this one's own string.
    qucs::cString sAdd(s);
    msPath += sAdd;
    if (!isSeparator(sAdd[sAdd.length() - 1]))
        msPath += unsigned('/');
    return *this;
}

cPath& cPath::cd(const cPath& oOther)
{
    return cd(oOther.path());
}

void cPath::makeAbsolute(const cPath& oBase)
{
    if (isAbsolute())
        return;
    // The drive letter stays a field of its own, so the base's text is joined
    // without it.
    qucs::cString s = oBase.msPath + msPath;
    bool bClimbed = false;
    fixupPath(s, bClimbed);
    msPath.swap(s);
    mcDrive = bClimbed ? 0 : oBase.mcDrive;
}

void cPath::makeRelative(const cPath& oBase)
{
    if (!isAbsolute() || !oBase.isAbsolute())
        return;
    qstd::tVector<qucs::cString> oOwn, oOther;
    splitComponents(msPath, oOwn);
    splitComponents(oBase.msPath, oOther);
    unsigned iCommon = 0;
    while (iCommon < oOwn.count() && iCommon < oOther.count() && oOwn[iCommon] == oOther[iCommon])
        ++iCommon;
    qucs::cString s;
    for (unsigned i = iCommon; i < oOther.count(); ++i)
        if (!(oOther[i] == "."))
            s.appendC("../");
    for (unsigned i = iCommon; i < oOwn.count(); ++i) {
        s += oOwn[i];
        s += unsigned('/');
    }
    if (s.empty())
        s = "./";
    msPath.swap(s);
}

qucs::cString cPath::relativeTo(const qucs::cString& sFile) const
{
    unsigned iDirLength = pathComponentLength(sFile);
    qucs::cString sDir = part(sFile, 0, iDirLength);
    qucs::cString sName = part(sFile, iDirLength, sFile.length());
    if (!qio::isRelative(sDir))
        return sDir + sName;
    cPath oDir(*this);
    oDir.cd(sDir);
    oDir.fixup();
    if (oDir.isRelative())
        oDir.makeAbsolute(cPath());
    return oDir.path() + sName;
}

unsigned cPath::pathComponentLength(const qucs::cString& s)
{
    unsigned iLength = s.length();
    unsigned iLast = iLength;
    while (iLast > 0 && !isSeparator(s[iLast - 1]))
        --iLast;
    // A final "." or ".." names a directory, never a file.
    if (equals(s, iLast, ".") || equals(s, iLast, ".."))
        return iLength;
    if (iLast > 0)
        return iLast;
    return qio::driveLetter(s) ? 2 : 0;
}

void cPath::storePathComponent(const qucs::cString& s, qucs::cString& sOut)
{
    unsigned iLength = pathComponentLength(s);
    if (iLength == 0) {
        sOut = "./";
        return;
    }
    qucs::cString sDir = part(s, 0, iLength);
    if (!isSeparator(sDir[iLength - 1]))
        sDir += unsigned('/');
    sOut.swap(sDir);
}

qucs::cString cPath::getPart(unsigned i) const
{
    qucs::cString s = path();
    bool bFound = false;
    unsigned iStart = s.find(unsigned('/'), bFound);
    if (!bFound)
        return qucs::cString();
    ++iStart;
    for (unsigned iPart = 0;; ++iPart) {
        unsigned iEnd = iStart;
        while (iEnd < s.length() && s[iEnd] != '/')
            ++iEnd;
        if (iEnd >= s.length())
            return qucs::cString();
        if (iPart == i)
            return part(s, iStart, iEnd);
        iStart = iEnd + 1;
    }
}

qucs::cString cPath::getParts(unsigned n) const
{
    qucs::cString s = path();
    unsigned iSlashes = 0;
    for (unsigned i = 0; i < s.length(); ++i) {
        if (s[i] != '/')
            continue;
        if (iSlashes == n)
            return part(s, 0, i + 1);
        ++iSlashes;
    }
    return qucs::cString();
}

bool cPath::operator==(const cPath& oOther) const
{
    if (mcDrive != oOther.mcDrive)
        return false;
    qucs::cString sOwn(msPath), sOther(oOther.msPath);
    bool bClimbed = false;
    fixupPath(sOwn, bClimbed);
    fixupPath(sOther, bClimbed);
    return sOwn == sOther;
}

bool cPath::exists(const cFs* pFs) const
{
    const cFs& oFs = pFs ? *pFs : qpi::system().fs();
    qucs::cString sPath = osPath();
    return oFs.exists(sPath, true) && oFs.fileInfo(sPath).isDir(true);
}

void cPath::mkdir(cFs* pFs) const
{
    cFs& oFs = pFs ? *pFs : qpi::system().fs();
    oFs.createPath(*this);
}

} // namespace qio
