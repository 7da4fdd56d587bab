// abstractdirimpl.h - qio::cAbstractDirImpl, the reader of one directory listing.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_IO_ABSTRACTDIRIMPL_H
#define QOR_CORE_IO_ABSTRACTDIRIMPL_H

#include "qor_core/io/dirinfo.h"

namespace qio {

/// The file-system specific reader behind a cDir. It stands on one entry at a time
/// (element()) until isEnd(); createCopy() gives an independent reader standing on
/// the same entry.
class QOR_EXPORT cAbstractDirImpl
{
public:
    cAbstractDirImpl(const cFs& oFs, const qucs::cString& sPath) : moFs(oFs), msPath(sPath) {}
    virtual ~cAbstractDirImpl();
    const cFs& fs() const { return moFs; }
    const qucs::cString& dirPath() const { return msPath; }

    virtual void setNext() = 0;
    virtual const cDirInfo& element() const = 0;
    virtual bool isEnd() const = 0;
    virtual qstd::tAutoPtr<cAbstractDirImpl> createCopy() const = 0;

protected:
    cFs moFs;
    qucs::cString msPath;
};

} // namespace qio

#endif // QOR_CORE_IO_ABSTRACTDIRIMPL_H
