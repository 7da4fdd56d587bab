// abstractaiodata.h - asynchronous I/O data of works: cAbstractAIOData, cFDAIOData
// and tFdInfo, the file descriptors a work waits on.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_ABSTRACTAIODATA_H
#define QOR_CORE_PI_ABSTRACTAIODATA_H

#include "qor_core/std/vector.h"

namespace qpi {

/// One descriptor a work waits on and what it waits for. The descriptor is not
/// owned: nothing here opens or closes it.
struct QOR_EXPORT tFdInfo
{
    /// Wait flags; several may be combined.
    enum Flags : piUInt32
    {
        FdReadable = 1, ///< POLLIN | POLLPRI | POLLRDNORM | POLLRDBAND
        FdWritable = 2, ///< POLLOUT | POLLWRNORM | POLLWRBAND
        FdError = 4     ///< POLLERR | POLLHUP
    };
    /// The poll events each flag requests, with the numeric values of Linux.
    enum PollEvents : piUInt32
    {
        ReadableEvents = 0x00C3,
        WritableEvents = 0x0304,
        ErrorEvents = 0x0018
    };

    tFdInfo(piInt32 iFd = -1, piUInt32 iFlags = 0) : miFd(iFd), miFlags(iFlags) {}
    /// The union of the poll events of the set flags.
    piUInt32 pollEvents() const
    {
        return ((miFlags & FdReadable) ? piUInt32(ReadableEvents) : 0u) |
               ((miFlags & FdWritable) ? piUInt32(WritableEvents) : 0u) |
               ((miFlags & FdError) ? piUInt32(ErrorEvents) : 0u);
    }

    piInt32 miFd;
    piUInt32 miFlags;
};

class cFDAIOData;
class cWork;

/// What a work of type AsyncIO waits for. The event flag is set by a process-events
/// object when the data became ready and cleared by the queue when it runs the work.
/// Owned by its work, which the data knows from cWork::setAIOData on: setting the
/// flag tells the work's queues at once, so that they find ready works without
/// looking at every work that waits.
class QOR_EXPORT cAbstractAIOData
{
public:
    cAbstractAIOData() : mbEvent(false), mpOwner(nullptr) {}
    virtual ~cAbstractAIOData();
    cAbstractAIOData(const cAbstractAIOData&) = delete;
    cAbstractAIOData& operator=(const cAbstractAIOData&) = delete;

    /// This object as descriptor information, or null.
    virtual cFDAIOData* isFDAIOData();
    /// isFDAIOData(), or a cBugException when this data has no descriptors.
    cFDAIOData& fdAIOData();

    /// Setting the flag marks the owning work ready in its queues.
    void setEvent(bool bEvent)
    {
        bool bRaised = bEvent && !mbEvent;
        mbEvent = bEvent;
        if (bRaised && mpOwner)
            notifyEvent();
    }
    bool isEvent() const { return mbEvent; }
    /// The work that owns this data, or null.
    cWork* owner() const { return mpOwner; }

protected:
    /// Tells the owner's queues that the descriptors may have changed.
    void notifyDescriptorsChanged();

private:
    friend class cWork;
    void notifyEvent();

    bool mbEvent;
    cWork* mpOwner; ///< not owned; set while a work owns this data
};

/// Descriptor information: the descriptors in the order they were added.
///
/// A process-events object may keep the descriptors registered with the system
/// between waits. It learns of changes through addFd() and the non-const fds(),
/// which count as a change: take fds() anew for every change instead of keeping
/// the reference across a wait.
class QOR_EXPORT cFDAIOData : public cAbstractAIOData
{
public:
    cFDAIOData();
    ~cFDAIOData() override;

    cFDAIOData* isFDAIOData() override { return this; }
    /// Appends a descriptor with its wait flags (tFdInfo::Flags).
    void addFd(int iFd, unsigned int iFlags);
    /// The descriptors, to be changed: the owner's queues are told.
    qstd::tVector<tFdInfo>& fds()
    {
        notifyDescriptorsChanged();
        return moFds;
    }
    const qstd::tVector<tFdInfo>& fds() const { return moFds; }

private:
    qstd::tVector<tFdInfo> moFds;
};

} // namespace qpi

#endif // QOR_CORE_PI_ABSTRACTAIODATA_H
