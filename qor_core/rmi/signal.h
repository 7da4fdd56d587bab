// signal.h - signal0, the signal that can be connected to a receiver by slot name.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_RMI_SIGNAL_H
#define QOR_CORE_RMI_SIGNAL_H

#include "qor_core/rmi/localsignal.h"

namespace qrmi {

/// A signal without arguments that, besides member functions, can be connected to
/// a public slot of a receiver by the slot's name.
template <class R>
class signal0 : public tLocalSignal<R>
{
public:
    explicit signal0(cAbstractSignal::InvocationBehavior eBehavior = cAbstractSignal::ThrowWhenUnconnected)
        : tLocalSignal<R>(eBehavior)
    {
    }

    using tLocalSignal<R>::connect;

    /// Connects the public slot sSlotName of oReceiver. The receiver publishes no
    /// slot that could be found by name, so both resolving modes report the slot as
    /// missing: at once, with the arguments "(?)".
    void connect(cConnectable& /*oReceiver*/, const qstd::cAsciiString& sSlotName,
                 cAbstractSignal::SlotResolving /*eResolving*/) override
    {
        cRMIExceptions::throwNoSuchSlot(sSlotName, "(?)");
    }
};

} // namespace qrmi

#endif // QOR_CORE_RMI_SIGNAL_H
