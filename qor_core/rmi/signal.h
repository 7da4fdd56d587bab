// signal.h - signal0, the signal that can be connected to a receiver by slot name.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_RMI_SIGNAL_H
#define QOR_CORE_RMI_SIGNAL_H

#include "qor_core/rmi/indirectslotcall.h"
#include "qor_core/rmi/localsignal.h"
#include "qor_core/rmi/publicsignal.h"
#include "qor_core/sa/typereference.h"

namespace qrmi {

/// A signal without arguments that, besides member functions, can be connected to
/// a public slot of a receiver by the slot's name, and can be published
/// (exportSignal).
template <class R> class signal0 : public tLocalSignal<R>
{
public:
    explicit signal0(
        cAbstractSignal::InvocationBehavior eBehavior = cAbstractSignal::ThrowWhenUnconnected)
        : tLocalSignal<R>(eBehavior)
    {
    }

    using tLocalSignal<R>::connect;

    /// Connects the public slot sSlotName of oReceiver, behind all other slot calls.
    /// With ResolveAtConnect the slot is looked up now, and a missing one throws
    /// cNoSuchSlotException with the arguments "(?)" (the signal is unchanged);
    /// otherwise it is looked up at every emission, which then reports a missing
    /// slot.
    void connect(cConnectable& oReceiver, const qstd::cAsciiString& sSlotName,
                 cAbstractSignal::SlotResolving eResolving) override
    {
        if (eResolving == cAbstractSignal::ResolveAtConnect) {
            cAbstractSlotCall* pResolved = oReceiver.tryFindSlot(sSlotName);
            if (!pResolved)
                cRMIExceptions::throwNoSuchSlot(sSlotName, "(?)");
            connect(cIndirectResolvingSlotCall0<R>(oReceiver, pResolved),
                    cAbstractSignal::ConnectLast);
        } else {
            connect(cIndirectLazySlotCall0<R>(oReceiver, sSlotName), cAbstractSignal::ConnectLast);
        }
    }

    qstd::cAsciiString returnTypeString() const override
    {
        return qstd::cAsciiString(qsa::tTypeName<R>::name());
    }
    qstd::cAsciiString parametersTypeString() const override { return qstd::cAsciiString(); }
    /// Describes the return value: a void one for piVoid.
    void addParameterInfo(cPublicSignal& oSignal) override
    {
        cSSValue& oReturn = oSignal.returnValue();
        oReturn.setTypeName(returnTypeString());
        oReturn.setAlterable(false);
        oReturn.setVoid(std::is_same<R, piVoid>::value);
    }
};

} // namespace qrmi

#endif // QOR_CORE_RMI_SIGNAL_H
