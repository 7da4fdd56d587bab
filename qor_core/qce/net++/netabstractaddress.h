// netabstractaddress.h - qce::cNetAbstractAddress, the base of network addresses.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCE_NETPP_NETABSTRACTADDRESS_H
#define QOR_CORE_QCE_NETPP_NETABSTRACTADDRESS_H

#include "qor_core/std/pitypes.h"

namespace qce {

/// A network address of some transport. Network-address extensions create the
/// concrete kinds by type name (cCoreExtensionMgr::createNetAddress). So far only
/// the destructor: the text forms arrive with the network classes.
class QOR_EXPORT cNetAbstractAddress
{
public:
    virtual ~cNetAbstractAddress();
};

} // namespace qce

#endif // QOR_CORE_QCE_NETPP_NETABSTRACTADDRESS_H
