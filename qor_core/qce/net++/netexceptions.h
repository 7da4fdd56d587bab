// netexceptions.h - qce::cNETExceptions, the throw family of the network classes.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCE_NETPP_NETEXCEPTIONS_H
#define QOR_CORE_QCE_NETPP_NETEXCEPTIONS_H

#include "qor_core/std/pitypes.h"

namespace qstd {
class cAbstractException;
}

namespace qce {

/// Static throw helpers of the network classes. Each raises a cRuntimeException,
/// links a copy of the given cause beneath it (where it takes one) and never returns.
class QOR_EXPORT cNETExceptions
{
public:
    /// "$MTR$Invalid network address!"
    [[noreturn]] static void throwInvalidAddress(const qstd::cAbstractException& oCause);
    /// "$MTR$Unable to send packet - transmitter is busy!"
    [[noreturn]] static void throwConnectionTxBusy();
    /// "$MTR$Unable to complete request - remote connection has been closed unexpectedly!"
    [[noreturn]] static void
    throwUnableToCompleteConnectionClosedUnexpectedly(const qstd::cAbstractException& oCause);
    /// "$MTR$Remote connection has been closed unexpectedly!"
    [[noreturn]] static void
    throwConnectionClosedUnexpectedly(const qstd::cAbstractException& oCause);
    /// "$MTR$Transfer timeout after %iMSec% milliseconds!"
    [[noreturn]] static void throwTransferTimeout(unsigned int iMSec);
};

} // namespace qce

#endif // QOR_CORE_QCE_NETPP_NETEXCEPTIONS_H
