// searchpaths.h - qio::cSearchPaths, an ordered list of directories to look files up in.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_IO_SEARCHPATHS_H
#define QOR_CORE_IO_SEARCHPATHS_H

#include "qor_core/io/fs.h"
#include "qor_core/std/vector.h"

namespace qio {

/// Directories, in insertion order and without duplicates (compared exactly), on one
/// file system.
class QOR_EXPORT cSearchPaths
{
public:
    enum Type
    {
        RegularFile = 0,
        Directory = 1,
        Either = 2
    };

    /// On the system's default file system.
    cSearchPaths();
    explicit cSearchPaths(const cFs& oFs);

    /// Appends sDir unless it is present; returns whether it was added.
    bool addPath(const qucs::cString& sDir);
    void add(const cSearchPaths& oOther);
    /// Removes every entry equal to sDir.
    void removePath(const qucs::cString& sDir);
    void clear() { moPaths.clear(); }
    unsigned size() const { return moPaths.count(); }
    /// Checked: container "tVector", operation "at".
    const qucs::cString& operator[](unsigned i) const { return moPaths.at(i); }

    /// sPath exists (links followed) and is of the type.
    bool exists(const qucs::cString& sPath, Type eType) const;
    /// The first directory (in order) holding sName of the type: sResult is that
    /// name and the result true; else sResult is emptied.
    bool tryFindFile(const qucs::cString& sName, qucs::cString& sResult,
                     Type eType = RegularFile) const;
    qucs::cString tryFindFile(const qucs::cString& sName, Type eType = RegularFile) const;
    /// The existing names of sName below each directory, in order, each once; an
    /// absolute sName is the only candidate (not tested).
    void existingCandidates(const qucs::cString& sName, qstd::tVector<qucs::cString>& oOut,
                            Type eType = RegularFile) const;
    /// The same without the existence test.
    void candidates(const qucs::cString& sName, qstd::tVector<qucs::cString>& oOut) const;

private:
    void collect(const qucs::cString& sName, qstd::tVector<qucs::cString>& oOut, bool bTest,
                 Type eType) const;

    cFs moFs;
    qstd::tVector<qucs::cString> moPaths;
};

} // namespace qio

#endif // QOR_CORE_IO_SEARCHPATHS_H
