// localeventprocessor.h - qpi::cLocalEventProcessor, a minimal process-events object.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_LOCALEVENTPROCESSOR_H
#define QOR_CORE_PI_LOCALEVENTPROCESSOR_H

#include "qor_core/pi/abstractprocessevents.h"

namespace qpi {

/// Process events without descriptors, for queues of an application's own. Given an
/// empty list it busy-waits, yielding the processor between checks, until the
/// timeout passes or wakeUp() is called; given works it reports at once. Works of
/// type AsyncIO are not served: the queue turns them into periodic works.
class QOR_EXPORT cLocalEventProcessor : public cAbstractProcessEvents
{
public:
    cLocalEventProcessor() : mbWakeUp(false) {}
    ~cLocalEventProcessor() override;

    bool supportsAIO() const override { return false; }
    bool isAsynchronous() const override { return false; }
    void yield(unsigned int iLevel, tJobList& oJobs, unsigned int iTimeout) override;
    /// Ends the current wait; called on the queue's thread, from nested processing.
    void wakeUp() override { mbWakeUp = true; }

private:
    bool mbWakeUp;
};

} // namespace qpi

#endif // QOR_CORE_PI_LOCALEVENTPROCESSOR_H
