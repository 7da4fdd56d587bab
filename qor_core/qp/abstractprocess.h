// abstractprocess.h - process objects: a task with running, finished and cancelled
// flags and the context it is attached to.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QP_ABSTRACTPROCESS_H
#define QOR_CORE_QP_ABSTRACTPROCESS_H

#include "qor_core/std/pitypes.h"

namespace qp {

class cLocker;
class cAbstractPollable;
class cAbstractProcessData;

/// A task. Applications derive the work itself.
class QOR_EXPORT cAbstractProcess
{
public:
    /// Which kind of process uses a process data object.
    enum Context
    {
        NoContext = 0,
        PollableContext = 1,
        DefaultPreferredContext = 2
    };

    /// Creates and owns its own process data.
    cAbstractProcess();
    /// Uses the caller's data, which must outlive the process.
    explicit cAbstractProcess(cAbstractProcessData& oData);
    virtual ~cAbstractProcess();
    cAbstractProcess(const cAbstractProcess&) = delete;
    cAbstractProcess& operator=(const cAbstractProcess&) = delete;

    /// Performs the process.
    virtual void process() = 0;
    virtual cAbstractPollable* isPollable() = 0;
    virtual void* isRunnable() = 0;
    virtual void interrupt(bool bInterrupt) = 0;

    cAbstractProcessData& processData() { return moData; }
    bool isFinished() const;
    bool isRunning() const;

private:
    cAbstractProcessData* mpOwnedData; ///< owned; null when the caller supplied the data
    cAbstractProcessData& moData;
};

/// The state of a process. Attached to at most one process at a time. While a
/// state locker is set the flags are read and written under it.
class QOR_EXPORT cAbstractProcessData
{
public:
    /// The context enumeration is cAbstractProcess's; these names stay for callers
    /// that know it from here.
    typedef cAbstractProcess::Context Context;
    static constexpr Context NoContext = cAbstractProcess::NoContext;
    static constexpr Context PollableContext = cAbstractProcess::PollableContext;
    static constexpr Context DefaultPreferredContext = cAbstractProcess::DefaultPreferredContext;

    explicit cAbstractProcessData(cLocker* pLocker);
    virtual ~cAbstractProcessData();
    cAbstractProcessData(const cAbstractProcessData&) = delete;
    cAbstractProcessData& operator=(const cAbstractProcessData&) = delete;

    /// Marks the process running again and clears the other flags.
    virtual void restart();

    void setContext(Context eContext, cLocker* pStateLocker, cLocker* pSecondLocker);
    Context context() const { return meContext; }
    /// The locker given at construction (null for cBasicProcessData).
    cLocker* locker() const { return mpLocker; }
    void setPreferredContext(Context eContext) { mePreferredContext = eContext; }
    Context preferredContext() const { return mePreferredContext; }

    bool isRunning() const;
    bool isFinished() const;
    bool isCanceled() const;
    /// Running false, finished true.
    void setFinished();
    void cancel();

private:
    cLocker* mpLocker;       ///< not owned; given at construction
    cLocker* mpStateLocker;  ///< not owned; guards the flags while set
    cLocker* mpSecondLocker; ///< not owned
    Context meContext;
    Context mePreferredContext;
    bool mbCanceled;
    bool mbFinished;
    bool mbRunning;
};

/// Process data without a locker of its own.
class QOR_EXPORT cBasicProcessData : public cAbstractProcessData
{
public:
    cBasicProcessData();
};

/// A process that is polled from the main loop.
class QOR_EXPORT cAbstractPollable : public cAbstractProcess
{
public:
    /// Throws cBugException when the data already belongs to another process.
    explicit cAbstractPollable(cAbstractProcessData& oData);
    cAbstractPollable* isPollable() override { return this; }
    void* isRunnable() override { return nullptr; }
    void interrupt(bool) override {}

private:
    /// oData when no process uses it; throws before anything is attached otherwise.
    static cAbstractProcessData& unusedData(cAbstractProcessData& oData);
};

} // namespace qp

#endif // QOR_CORE_QP_ABSTRACTPROCESS_H
