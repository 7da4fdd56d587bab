// abstractslotcall.h - slot calls: the objects a signal stores and calls.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_RMI_ABSTRACTSLOTCALL_H
#define QOR_CORE_RMI_ABSTRACTSLOTCALL_H

#include "qor_core/rmi/abstractsignal.h"
#include "qor_core/sa/referenceframe.h"
#include "qor_core/std/autoptr.h"

#include <type_traits>

namespace qrmi {

class cPublicSlot;

/// A call of one receiver's slot. A slot call stored in a signal is registered with
/// its receiver for its whole life; a prototype (no signal) registers nothing.
class QOR_EXPORT cAbstractSlotCall
{
public:
    /// With a signal, registers the signal with the receiver.
    cAbstractSlotCall(cConnectable& oReceiver, cAbstractSignal* pSignal);
    virtual ~cAbstractSlotCall();
    cAbstractSlotCall(const cAbstractSlotCall&) = delete;
    cAbstractSlotCall& operator=(const cAbstractSlotCall&) = delete;

    /// True when pObject is the receiver.
    virtual bool matchSlotOfObject(const cConnectable* pObject) const;
    /// Calls the slot with the values of a reference frame; the base only reports.
    virtual void call(qsa::cReferenceFrame& oFrame) const;
    /// Calls the slot with serialized arguments; the base only reports.
    virtual void call(qsa::cAbstractDeserializer& oArguments,
                      qsa::cAbstractSerializer& oResult) const;

    cConnectable& assignedObject() const { return *mpAssignedObject; }
    cAbstractSignal* signal() const { return mpSignal; }
    void setPublicSlot(const cPublicSlot* pSlot) { mpPublicSlot = pSlot; }
    const cPublicSlot* isPublicSlot() const { return mpPublicSlot; }
    /// Re-points the receiver's entries of this slot call's signal to pNewSignal.
    void reAssign(cAbstractSignal* pNewSignal);

    /// The name this slot call is published under; throws cBugException
    /// "$MTR$Slot is not a public one!" when it is not published.
    const qstd::cAsciiString& publicSlotName() const;
    /// Publishes pSlotCall (taking it over) as a slot of this slot call's receiver;
    /// returns the public slot, which the receiver owns.
    cPublicSlot* registerSlotByInterface(const qstd::cAsciiString& sName,
                                         const qstd::cAsciiString& sReturnType,
                                         const qstd::cAsciiString& sParamTypes,
                                         const qstd::cAsciiString& sDescription,
                                         qstd::tAutoPtr<cAbstractSlotCall> pSlotCall);

private:
    cConnectable* mpAssignedObject;  ///< the receiver; not owned
    cAbstractSignal* mpSignal;       ///< the signal that stores this call; null for a prototype
    const cPublicSlot* mpPublicSlot; ///< set when registered as a public slot
};

/// A slot call with the argument types A... and the return type R.
template <class R, class... A> class tAbstractSlotCall : public cAbstractSlotCall
{
public:
    tAbstractSlotCall(cConnectable& oReceiver, cAbstractSignal* pSignal)
        : cAbstractSlotCall(oReceiver, pSignal), mbCalled(false)
    {
    }

    /// Calls through a frame whose first reference is the return value and whose
    /// next references are the arguments in order: checks that the arguments are
    /// there with the right types, rewinds the frame and hands it to callRef().
    /// Throws cTypeMissmatchException for an argument of another type and
    /// cOutOfBoundsException when the frame holds too few references.
    void call(qsa::cReferenceFrame& oFrame) const override
    {
        oFrame.restartReading();
        oFrame.skipNext();
        (static_cast<void>(oFrame.readNext<typename std::decay<A>::type>()), ...);
        oFrame.restartReading();
        callRef(oFrame);
    }
    using cAbstractSlotCall::call;
    virtual R call(A... oArguments) const = 0;
    virtual qstd::cAsciiString parametersTypeString() const { return qstd::cAsciiString(); }
    virtual qstd::cAsciiString returnTypeString() const { return qstd::cAsciiString("piVoid"); }
    /// Calls the slot with the values of a frame already positioned for reading.
    virtual R callRef(qsa::cReferenceFrame& oFrame) const = 0;
    /// A new slot call equal to this one, stored in oSignal; the caller owns it.
    virtual tAbstractSlotCall* createConnectedInstance(cAbstractSignal& oSignal) const = 0;

    /// Whether an emission has called this slot call. Emissions keep their progress
    /// themselves (a nested emission must not disturb an outer one's); they only set
    /// the flag.
    bool called() const { return mbCalled; }
    void setCalled(bool bCalled) { mbCalled = bCalled; }

private:
    bool mbCalled; ///< set once an emission has called this slot
};

template <class R> using cAbstractSlotCall0 = tAbstractSlotCall<R>;
template <class R, class A1> using cAbstractSlotCall1 = tAbstractSlotCall<R, A1>;
template <class R, class A1, class A2> using cAbstractSlotCall2 = tAbstractSlotCall<R, A1, A2>;
template <class R, class A1, class A2, class A3>
using cAbstractSlotCall3 = tAbstractSlotCall<R, A1, A2, A3>;

} // namespace qrmi

#endif // QOR_CORE_RMI_ABSTRACTSLOTCALL_H
