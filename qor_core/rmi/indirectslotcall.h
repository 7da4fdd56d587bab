// indirectslotcall.h - slot calls that reach a public slot of a receiver through a reference frame.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_RMI_INDIRECTSLOTCALL_H
#define QOR_CORE_RMI_INDIRECTSLOTCALL_H

#include "qor_core/rmi/abstractslotcall.h"
#include "qor_core/rmi/connectable.h"
#include "qor_core/rmi/rmiexceptions.h"
#include "qor_core/sa/referenceframe.h"
#include "qor_core/std/stdexceptions.h"

namespace qrmi {

/// Calls the public slot named at connection time, looking it up on the receiver
/// at every call: a slot published after the connection is found, a missing one is
/// reported by the call as cNoSuchSlotException. The call passes a frame holding
/// only the (alterable) return value.
template <class R> class cIndirectLazySlotCall0 : public tAbstractSlotCall<R>
{
public:
    /// A prototype when pSignal is null.
    cIndirectLazySlotCall0(cConnectable& oReceiver, const qstd::cAsciiString& sSlotName,
                           cAbstractSignal* pSignal = nullptr)
        : tAbstractSlotCall<R>(oReceiver, pSignal), mpReceiver(&oReceiver), msSlotName(sSlotName)
    {
    }

    R call() const override
    {
        R oResult = R();
        qsa::cReferenceFrame oFrame;
        oFrame.addRef(oResult, true, false);
        mpReceiver->invokeIndirectSlot(msSlotName, oFrame);
        return oResult;
    }
    R callRef(qsa::cReferenceFrame&) const override
    {
        cRMIExceptions::throwIndirectCallSlotCallRef();
    }
    tAbstractSlotCall<R>* createConnectedInstance(cAbstractSignal& oSignal) const override
    {
        return new cIndirectLazySlotCall0(*mpReceiver, msSlotName, &oSignal);
    }
    using tAbstractSlotCall<R>::call;

    const qstd::cAsciiString& slotName() const { return msSlotName; }

private:
    cConnectable* mpReceiver; ///< not owned
    qstd::cAsciiString msSlotName;
};

/// Calls a public slot looked up once, at connection time. The slot call belongs
/// to the receiver's public slot; both go away together with the receiver, which
/// first removes this call from its signal.
template <class R> class cIndirectResolvingSlotCall0 : public tAbstractSlotCall<R>
{
public:
    /// A prototype when pSignal is null. pResolved is not owned.
    cIndirectResolvingSlotCall0(cConnectable& oReceiver, cAbstractSlotCall* pResolved,
                                cAbstractSignal* pSignal = nullptr)
        : tAbstractSlotCall<R>(oReceiver, pSignal), mpReceiver(&oReceiver), mpCall(pResolved)
    {
    }

    R call() const override
    {
        R oResult = R();
        qsa::cReferenceFrame oFrame;
        oFrame.addRef(oResult, true, false);
        mpCall->call(oFrame);
        return oResult;
    }
    R callRef(qsa::cReferenceFrame&) const override
    {
        cRMIExceptions::throwIndirectCallSlotCallRef();
    }
    tAbstractSlotCall<R>* createConnectedInstance(cAbstractSignal& oSignal) const override
    {
        QOR_ASSERT(mpCall != 0);
        return new cIndirectResolvingSlotCall0(*mpReceiver, mpCall, &oSignal);
    }
    using tAbstractSlotCall<R>::call;

    cAbstractSlotCall* resolvedCall() const { return mpCall; }

private:
    cConnectable* mpReceiver;  ///< not owned
    cAbstractSlotCall* mpCall; ///< not owned; the public slot's call
};

} // namespace qrmi

#endif // QOR_CORE_RMI_INDIRECTSLOTCALL_H
