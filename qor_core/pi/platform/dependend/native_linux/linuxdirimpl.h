// linuxdirimpl.h - qpi::cLinuxDirImpl, a directory stream of the kernel.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_NATIVE_LINUX_LINUXDIRIMPL_H
#define QOR_CORE_PI_NATIVE_LINUX_LINUXDIRIMPL_H

#include "qor_core/io/abstractdirimpl.h"

#include <dirent.h>

namespace qpi {

/// Reads a directory with readdir, in the kernel's order. The position of the
/// current entry is the number of entries the stream returned before it; a copy
/// opens the directory again and skips that many, so it stands on the same entry.
/// (telldir cannot serve: its long cannot hold the 64-bit directory offsets a
/// 32-bit process meets on a 64-bit file system, and seekdir to a cut value
/// lands on an arbitrary entry.)
class QOR_EXPORT cLinuxDirImpl : public qio::cAbstractDirImpl
{
public:
    /// iFlags: 1 omits ".", 2 omits "..". Throws "opendir" with the path.
    cLinuxDirImpl(const qio::cFs& oFs, const qucs::cString& sPath, int iFlags);
    cLinuxDirImpl(const cLinuxDirImpl& oOther);
    ~cLinuxDirImpl() override;
    cLinuxDirImpl& operator=(const cLinuxDirImpl&) = delete;

    void setNext() override;
    const qio::cDirInfo& element() const override { return moCurrent; }
    bool isEnd() const override { return mbEnd; }
    qstd::tAutoPtr<qio::cAbstractDirImpl> createCopy() const override;

private:
    void openStream();
    void firstEntry(unsigned long long iSkip = 0);

    DIR* mpDir; ///< owned
    qio::cDirInfo moCurrent;
    unsigned long long miPosition; ///< entries the stream returned before the current one
    unsigned long long miRead;     ///< entries the stream returned so far
    bool mbEnd;
    bool mbOmitDot;
    bool mbOmitDotDot;
};

} // namespace qpi

#endif // QOR_CORE_PI_NATIVE_LINUX_LINUXDIRIMPL_H
