// epollprocessevents.h - qpi::cEpollProcessEvents, the wait of the system queue over
// epoll, with the descriptors registered while their works wait.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_PLATFORM_DEPENDEND_NATIVE_LINUX_EPOLLPROCESSEVENTS_H
#define QOR_CORE_PI_PLATFORM_DEPENDEND_NATIVE_LINUX_EPOLLPROCESSEVENTS_H

#include "qor_core/pi/platform/dependend/native_linux/posixprocessevents.h"

namespace qpi {

/// Waits like cPosixProcessEvents, but keeps the descriptors of its queue's waiting
/// works registered with an epoll instance from the moment they start waiting, so a
/// wait costs what is ready, not what waits. The queue reports the works that start
/// and stop waiting (trackWorks); the descriptors themselves are read at the next
/// wait, so that a change made through cFDAIOData reaches the registration in time,
/// and a work without descriptor data raises the same errors out of yield().
///
/// What a wait reports is what poll would report: the requested events of each
/// descriptor plus error and hang-up, every work on a ready descriptor marked.
/// Descriptors epoll refuses (regular files, numbers that are not open) are polled
/// beside the epoll instance, which reports them as poll does. Handed a list other
/// than its queue's, yield() waits exactly as cPosixProcessEvents does.
///
/// The epoll instance exists only while it holds a descriptor, so that a queue with
/// nothing to wait for keeps no descriptor open. Like the POSIX implementation it
/// cannot be woken from outside.
class QOR_EXPORT cEpollProcessEvents : public cPosixProcessEvents
{
public:
    cEpollProcessEvents();
    ~cEpollProcessEvents() override;

    void yield(unsigned int iLevel, tJobList& oJobs, unsigned int iTimeout) override;
    bool trackWorks(tJobList& oJobs) override;
    cWorkRegistration* watchWork(cWork& oWork, cWorkRegistration* pRegistration) override;
    void unwatchWork(cWorkRegistration* pRegistration) override;

    /// Descriptors registered with the epoll instance (for tests and diagnostics).
    unsigned registeredDescriptors() const;
    /// Descriptors that epoll refused and that are polled beside it.
    unsigned polledDescriptors() const;

private:
    class cImpl;
    cImpl* mpImpl; ///< owned
};

} // namespace qpi

#endif
