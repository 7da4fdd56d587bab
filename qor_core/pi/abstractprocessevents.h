// abstractprocessevents.h - qpi::cAbstractProcessEvents, what a work queue sleeps in.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_ABSTRACTPROCESSEVENTS_H
#define QOR_CORE_PI_ABSTRACTPROCESSEVENTS_H

#include "qor_core/rmi/localsignal.h"
#include "qor_core/std/list.h"
#include "qor_core/std/sharedobject.h"

namespace qpi {

class cWork;

/// The wait of a work queue. After each pass the queue hands over the wait time and
/// its list of works; the object waits, sets the event flag of the asynchronous I/O
/// data of works that became ready, and emits sigFinished, which the queue has
/// connected to its sltNotifyPEFinished. A synchronous implementation waits inside
/// yield(); an asynchronous one only arms a wait there and reports from poll().
///
/// Owned by its queue from cWorkQueue::setEvents on. A slot of sigFinished may
/// destroy this object (by destroying or re-equipping the queue): implementations
/// touch nothing of themselves after emitting it.
class QOR_EXPORT cAbstractProcessEvents
{
public:
    typedef qstd::tList<qstd::tSharedObject<cWork>> tJobList;

    cAbstractProcessEvents();
    virtual ~cAbstractProcessEvents();
    cAbstractProcessEvents(const cAbstractProcessEvents&) = delete;
    cAbstractProcessEvents& operator=(const cAbstractProcessEvents&) = delete;

    /// Whether works of type AsyncIO can be served.
    virtual bool supportsAIO() const = 0;
    virtual bool isAsynchronous() const = 0;
    /// Waits at most iTimeout milliseconds for the works of oJobs; iLevel is the
    /// queue's processing level at the call.
    virtual void yield(unsigned int iLevel, tJobList& oJobs, unsigned int iTimeout) = 0;
    /// Ends a wait early, where the implementation can.
    virtual void wakeUp() = 0;
    /// Drives one turn of an asynchronous implementation; nothing here.
    virtual void poll();

    /// What an implementation keeps for one work it watches. The queue holds it for
    /// the implementation and hands it back; it never looks inside.
    class QOR_EXPORT cWorkRegistration
    {
    protected:
        cWorkRegistration() {}
        ~cWorkRegistration() {}
    };

    /// Offered by a queue when it takes this object (cWorkQueue::setEvents). An
    /// implementation that keeps the descriptors of the queue's works between waits
    /// returns true; the queue then calls watchWork() for every started AsyncIO work
    /// in oJobs and unwatchWork() when it stops, leaves the list or dies, and waits
    /// with yield() on oJobs. The base returns false: yield() gets the list alone.
    virtual bool trackWorks(tJobList& oJobs);
    /// oWork waits, or its asynchronous I/O data or descriptors may have changed.
    /// pRegistration is what the last call returned for the work, null the first
    /// time; returns what to hand back next time. Only records: the descriptors are
    /// read at the next wait, which raises the errors of a work without descriptor
    /// data, as yield() does.
    virtual cWorkRegistration* watchWork(cWork& oWork, cWorkRegistration* pRegistration);
    /// The work of pRegistration no longer waits; it may be destroyed right after
    /// this call. pRegistration is not handed back again.
    virtual void unwatchWork(cWorkRegistration* pRegistration);

    /// Emitted after every wait; emitting it with nothing connected does nothing.
    qrmi::localSignal0<piVoid> sigFinished;
};

} // namespace qpi

#endif // QOR_CORE_PI_ABSTRACTPROCESSEVENTS_H
