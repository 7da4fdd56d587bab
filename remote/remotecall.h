// remotecall.h - qremote::cRemoteCall, one call of a remote slot and its outcome.
// SPDX-License-Identifier: MIT
#ifndef QOR_REMOTE_REMOTECALL_H
#define QOR_REMOTE_REMOTECALL_H

#include "qor_core/pi/work.h"
#include "qor_core/qcs/componentlocation.h"
#include "qor_core/rmi/connectable.h"
#include "qor_core/rmi/localsignal.h"
#include "qor_core/sa/referenceframe.h"
#include "qor_core/std/exception.h"
#include "remote/remoteglobal.h"

namespace qremote {

class cAbstractExceptionThrower;
class cRemoteClient;

/// One call of a slot of a remote component (cRemoteInterface::startCall, or on the
/// stack of a synchronous call). The frame given at the start is copied: its
/// references designate the caller's variables, which receive the return value and
/// the alterable arguments when the reply comes, and which must therefore live
/// until the call has finished.
///
/// A call finishes exactly once: succeeded when the reply brings the values,
/// failed when it brings the remote exception chain (rebuilt through the module
/// manager and marked with the remote component's location), when the connection
/// closes first ("Unable to complete request - remote connection has been closed
/// unexpectedly!") or when no reply comes within the time-out ("Transfer timeout
/// after %iMSec% milliseconds!"). sigFinished tells it; its slots may delete the
/// call. Deleting a call that has not finished abandons it: a late reply is ignored.
class QOR_REMOTE_EXPORT cRemoteCall : public qrmi::cConnectable
{
public:
    enum State
    {
        Pending = 0,
        Succeeded = 1,
        Failed = 2
    };

    cRemoteCall();
    ~cRemoteCall() override;
    cRemoteCall(const cRemoteCall&) = delete;
    cRemoteCall& operator=(const cRemoteCall&) = delete;

    State state() const { return meState; }
    bool finished() const { return meState != Pending; }
    /// The failure; null unless the call failed.
    const qstd::cAbstractException* failure() const { return mpFailure.get(); }
    /// Throws the failure with its own exception class; nothing otherwise.
    void check() const;
    /// Turns the system's work queue (a nested loop) until the call has finished.
    /// Exceptions of other works that no handler takes pass through.
    void wait();

    const qstd::cAsciiString& slotName() const { return msSlotName; }
    unsigned int interfaceIndex() const { return miInterfaceIndex; }
    /// The location of the called component.
    const qcs::cComponentLocation& location() const { return moLocation; }
    piUInt32 id() const { return miId; }

    piVoid sltTimeout();

    /// Emitted once when the call has finished.
    qrmi::localSignal1<piVoid, cRemoteCall&> sigFinished;

private:
    friend class cRemoteClient;
    friend class cRemoteInterface;

    /// What this call is, for the messages of cRMIException.
    void describe(const qcs::cComponentLocation& oLocation, unsigned int iInterfaceIndex,
                  const qstd::cAsciiString& sSlotName);
    /// Finishes with pFailure (null: succeeded) and emits sigFinished.
    void finish(qstd::tAutoPtr<qstd::cAbstractException> pFailure);
    /// Fails with the connection's close reason.
    void failClosed(const qstd::cAbstractException* pReason);

    cRemoteClient* mpClient; ///< not owned; set while the call is pending with a client
    cRemoteCall* mpPrev;     ///< the client's list of pending calls
    cRemoteCall* mpNext;
    piUInt32 miId;
    State meState;
    qsa::cReferenceFrame moFrame; ///< designates the caller's variables
    qstd::tAutoPtr<qstd::cAbstractException> mpFailure;
    /// Owned: raises the failure with an application's class; empty for the
    /// framework's classes.
    qstd::tAutoPtr<cAbstractExceptionThrower> mpThrower;
    qcs::cComponentLocation moLocation;
    unsigned int miInterfaceIndex;
    qstd::cAsciiString msSlotName;
    unsigned int miTimeout; ///< milliseconds; 0 for none
    qpi::cWork moTimeoutWork;
};

} // namespace qremote

#endif // QOR_REMOTE_REMOTECALL_H
