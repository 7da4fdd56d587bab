// abstractrmifactory.h - cAbstractRMIFactory, the maker of proxies for remote slots and signals.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_RMI_ABSTRACTRMIFACTORY_H
#define QOR_CORE_RMI_ABSTRACTRMIFACTORY_H

#include "qor_core/std/autoptr.h"

namespace qrmi {

class cAbstractSignal;
class cAbstractSlotCall;
class cConnectable;

/// Supplied by the application: makes the proxies through which a connectable
/// rebuilt from a serialized interface description reaches the remote object. The
/// transport between the processes is entirely the proxies' business.
class QOR_EXPORT cAbstractRMIFactory
{
public:
    virtual ~cAbstractRMIFactory() {}

    /// A slot call bound to oOwner that forwards its calls to the remote slot. The
    /// caller owns it (cConnectable::registerRemoteSlot hands it to a public slot).
    virtual qstd::tAutoPtr<cAbstractSlotCall> createRemoteSlotCall(cConnectable& oOwner) = 0;
    /// A signal that is emitted when the remote signal of the connectable with the
    /// index iConnectableIndex is. The factory keeps ownership of it and must keep
    /// it alive as long as the connectable that registers it.
    virtual cAbstractSignal* createRemoteSignal(unsigned int iConnectableIndex) = 0;
};

} // namespace qrmi

#endif // QOR_CORE_RMI_ABSTRACTRMIFACTORY_H
