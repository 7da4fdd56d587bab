// posixprocessevents.h - qpi::cPosixProcessEvents, the wait of the system queue.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_PLATFORM_DEPENDEND_NATIVE_LINUX_POSIXPROCESSEVENTS_H
#define QOR_CORE_PI_PLATFORM_DEPENDEND_NATIVE_LINUX_POSIXPROCESSEVENTS_H

#include "qor_core/pi/abstractprocessevents.h"

namespace qpi {

/// Waits in poll on the descriptors of the started AsyncIO works, or, when there
/// are none, sleeps in select; then sets the event flag of every work whose
/// descriptor was reported and emits sigFinished. It cannot be woken from outside:
/// a wait lasts until its timeout or a descriptor event.
class QOR_EXPORT cPosixProcessEvents : public cAbstractProcessEvents
{
public:
    cPosixProcessEvents();
    ~cPosixProcessEvents() override;

    bool supportsAIO() const override { return true; }
    bool isAsynchronous() const override { return false; }
    /// A timeout of 0 returns at once: nothing is examined, nothing emitted. A
    /// started AsyncIO work without descriptor data makes the cBugException of
    /// cWork::aioData() or cAbstractAIOData::fdAIOData() leave.
    void yield(unsigned int iLevel, tJobList& oJobs, unsigned int iTimeout) override;
    void wakeUp() override {}

private:
    class cPollSet;
    cPollSet* mpPollSet; ///< owned; the arrays of the last wait, kept for their capacity
};

} // namespace qpi

#endif
