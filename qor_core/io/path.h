// path.h - qio::cPath, the portable directory path, and the free functions that
// parse and normalise path strings.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_IO_PATH_H
#define QOR_CORE_IO_PATH_H

#include "qor_core/ucs/string.h"

namespace qio {

class cFs;

/// The upper-case drive letter when s starts with a letter and a colon, else 0.
QOR_EXPORT char driveLetter(const qucs::cString& s);
/// Empty strings are relative; a leading "/" or a drive letter makes a path absolute.
QOR_EXPORT bool isRelative(const qucs::cString& s);
/// Parses a path in any accepted form (backslashes, drive letter, missing final
/// slash) into the portable form in sOut and returns the drive letter (0 for none).
/// With bFixup the result is normalised; a path that climbs above its start loses
/// its drive letter. Never throws.
QOR_EXPORT char setPath(const qucs::cString& sIn, qucs::cString& sOut, bool bFixup);
/// Normalises s in place: runs of slashes collapse, "./" is dropped except at the
/// start, "name/../" pairs cancel. An absolute path never climbs above its root (a
/// "../" there is dropped and the rest kept); a relative path keeps its leading
/// "../" and sets bClimbed. Only whole components count: "a../" and ".x/" are names.
/// An empty result becomes "./".
QOR_EXPORT void fixupPath(qucs::cString& s, bool& bClimbed);

/// A directory path in portable form: forward slashes only, always ending in "/",
/// the drive letter kept apart. A cPath always denotes a directory; a file is a
/// path plus a name (see relativeTo). Copyable value; parsing never throws.
class QOR_EXPORT cPath
{
public:
    /// The current working directory of the system's default file system.
    cPath();
    cPath(const qucs::cString& sPath, bool bFixup = true);
    cPath(const char* pPath, bool bFixup = true);

    void set(const qucs::cString& sPath, bool bFixup = true);
    /// Normalises the stored string; a path that climbs above its start loses its
    /// drive letter.
    void fixup();
    void swap(cPath& oOther);

    bool isRelative() const;
    bool isAbsolute() const { return !isRelative(); }
    char driveLetter() const { return mcDrive; }

    /// The stored string (never with a drive prefix).
    const qucs::cString& unixEquivalent() const { return msPath; }
    /// The stored string, behind "X:" for an absolute path with a drive letter.
    qucs::cString path() const;
    /// path() with the platform's delimiter.
    qucs::cString osPath() const;

    /// An absolute s replaces the path (normalised); a relative one is appended as
    /// it is, with a "/" behind it; an empty one changes nothing.
    cPath& cd(const qucs::cString& s);
    cPath& cd(const cPath& oOther);
    cPath& cd(const char* pPath) { return cd(qucs::cString(pPath)); }
    /// A relative path becomes oBase followed by it, normalised.
    void makeAbsolute(const cPath& oBase);
    /// When both paths are absolute, this becomes the way from oBase to it.
    void makeRelative(const cPath& oBase);
    /// The full name of the file sFile resolved against this directory.
    qucs::cString relativeTo(const qucs::cString& sFile) const;

    /// The length of the directory part of s (up to and including the last
    /// separator; all of s when it ends in "." or ".."; 0 without a separator).
    static unsigned pathComponentLength(const qucs::cString& s);
    /// sOut = the directory part of s ending in a separator, or "./" when s has none.
    static void storePathComponent(const qucs::cString& s, qucs::cString& sOut);

    /// Component i of path(), counted after the root; empty when there are fewer.
    qucs::cString getPart(unsigned i) const;
    /// The root and the first n components of path(); empty when there are fewer.
    qucs::cString getParts(unsigned n) const;

    bool operator==(const cPath& oOther) const;
    bool operator!=(const cPath& oOther) const { return !(*this == oOther); }

    /// Whether the path exists on pFs (the system's default file system when null)
    /// and is a directory.
    bool exists(const cFs* pFs = nullptr) const;
    /// Creates every missing directory of the path on pFs (the default when null).
    void mkdir(cFs* pFs = nullptr) const;

private:
    qucs::cString msPath; ///< portable form, ends in "/"
    char mcDrive;         ///< 'A'..'Z' or 0
};

} // namespace qio

#endif // QOR_CORE_IO_PATH_H
