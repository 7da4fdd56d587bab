// linuxdirimpl.h - qpi::cLinuxDirImpl, a directory stream of the kernel.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_NATIVE_LINUX_LINUXDIRIMPL_H
#define QOR_CORE_PI_NATIVE_LINUX_LINUXDIRIMPL_H

#include "qor_core/io/abstractdirimpl.h"

#include <dirent.h>

namespace qpi {

/// Reads a directory with readdir, in the kernel's order. The position of the
/// current entry (telldir before it was read) lets a copy open the directory again
/// and stand on the same entry.
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
    void firstEntry();

    DIR* mpDir; ///< owned
    qio::cDirInfo moCurrent;
    long miPosition; ///< telldir before the current entry was read
    bool mbEnd;
    bool mbOmitDot;
    bool mbOmitDotDot;
};

} // namespace qpi

#endif // QOR_CORE_PI_NATIVE_LINUX_LINUXDIRIMPL_H
