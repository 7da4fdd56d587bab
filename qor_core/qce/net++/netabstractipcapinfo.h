// netabstractipcapinfo.h - qce::cNetAbstractIPCapInfo, what a platform's IP stack can do.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCE_NETPP_NETABSTRACTIPCAPINFO_H
#define QOR_CORE_QCE_NETPP_NETABSTRACTIPCAPINFO_H

#include "qor_core/std/asciistring.h"

namespace qce {

/// The IP capabilities of a platform, answered by a transport. The core does not
/// ask it itself.
class QOR_EXPORT cNetAbstractIPCapInfo
{
public:
    virtual ~cNetAbstractIPCapInfo();
    virtual bool hasIPv4() const = 0;
    virtual bool hasIPv6() const = 0;
    /// The name of the local host.
    virtual qstd::cAsciiString hostName() const = 0;
};

} // namespace qce

#endif // QOR_CORE_QCE_NETPP_NETABSTRACTIPCAPINFO_H
