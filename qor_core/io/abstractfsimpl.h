// abstractfsimpl.h - qio::cAbstractFsImpl, the interface every file system implements.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_IO_ABSTRACTFSIMPL_H
#define QOR_CORE_IO_ABSTRACTFSIMPL_H

#include "qor_core/io/permissions.h"
#include "qor_core/std/autoptr.h"
#include "qor_core/std/sharedobject.h"
#include "qor_core/ucs/abstractendec.h"

namespace qstd {
class cDateTime;
}

namespace qio {

class cFs;
class cPath;
class cAbstractDirImpl;
class cAbstractFileInfoImpl;
class cAbstractFileImpl;
class cAbstractIOBlockDevice;

/// What a file system does behind a cFs. An implementation is shared by every copy
/// of the cFs handles that refer to it and deleted with the last one. It keeps the
/// text encoder of the cFs it was made for; it does not keep that cFs, so it never
/// refers to a handle that is gone.
class QOR_EXPORT cAbstractFsImpl
{
public:
    /// The operation codes a proxy passes to matches().
    enum Operation
    {
        OpExists = 0,
        OpRemove = 1,
        OpCwd = 2,
        OpMkdir = 3,
        OpRename = 4, ///< also createSymLink
        OpSupportsSymLinks = 5,
        OpSetPermissions = 7,
        OpCreateDirImpl = 8,
        OpCreateFileInfoImpl = 9,
        OpCreateFileImpl = 10,
        OpBind = 11,
        OpUnbind = 12
    };

    explicit cAbstractFsImpl(const cFs& oFs);
    virtual ~cAbstractFsImpl();
    cAbstractFsImpl(const cAbstractFsImpl&) = delete;
    cAbstractFsImpl& operator=(const cAbstractFsImpl&) = delete;

    /// A handle on this implementation with its encoder. It does not keep the
    /// implementation alive: use it only while the caller holds a cFs on it.
    cFs fs() const;
    const qucs::cAbstractEnDec& endec() const { return *mpEnDec; }

    /// Whether path exists; bFollow follows symbolic links; pTime, when not null,
    /// receives the time stamp eKind. Failure reads as false.
    virtual bool exists(const qucs::cString& sPath, bool bFollow, qstd::cDateTime* pTime,
                        cFileInfoFlags::TimeStamp eKind) const = 0;
    virtual void remove(const qucs::cString& sPath) = 0;
    virtual cPath cwd() const = 0;
    virtual void mkdir(const qucs::cString& sPath) = 0;
    virtual void rename(const qucs::cString& sFrom, const qucs::cString& sTo) = 0;
    virtual bool supportsSymLinks() const = 0;
    /// Creates the link sLink holding the text sTarget.
    virtual void createSymLink(const qucs::cString& sTarget, const qucs::cString& sLink) = 0;
    virtual void setPermissions(const qucs::cString& sPath, const cPermissions& oPermissions,
                                bool bFlag) = 0;
    /// A reader of the directory sPath; iFlags: 1 omits ".", 2 omits "..".
    virtual qstd::tAutoPtr<cAbstractDirImpl>
    createDirImpl(const cFs& oFs, const qucs::cString& sPath, int iFlags) const = 0;
    virtual qstd::tAutoPtr<cAbstractFileInfoImpl>
    createFileInfoImpl(const cFs& oFs, const qucs::cString& sPath) const = 0;
    /// A closed file implementation serving oDevice.
    virtual qstd::tAutoPtr<cAbstractFileImpl> createFileImpl(const cFs& oFs,
                                                             cAbstractIOBlockDevice& oDevice,
                                                             const qucs::cString& sPath) const = 0;
    /// Whether the file system is in use and may not be unbound. True by default.
    virtual bool isUsed() const;
    /// Whether this file system serves sPath for eOperation; it may rewrite sPath,
    /// and the rewritten path is what its operation then receives. True by default.
    virtual bool matches(qucs::cString& sPath, Operation eOperation);
    /// Not supported by default: throws cBugException.
    virtual void bind(qstd::tAutoPtr<cAbstractFsImpl> pFs);
    virtual void unbind(const qucs::cString& sPath);

private:
    qstd::tSharedObject<const qucs::cAbstractEnDec> mpEnDec; ///< not owned
};

} // namespace qio

#endif // QOR_CORE_IO_ABSTRACTFSIMPL_H
