// netexceptions.cpp - the throw family of the network classes.
// SPDX-License-Identifier: MIT
#include "qor_core/qce/net++/netexceptions.h"
#include "qor_core/std/exception.h"
#include "qor_core/ucs/limessage.h"

namespace qce {

namespace {

[[noreturn]] void throwLinked(const char* pTemplate, const qstd::cAbstractException& oCause)
{
    qstd::cRuntimeException oException(qucs::cLIMessage::fromTemplate(pTemplate), nullptr, 0);
    oException.link(oCause);
    throw oException;
}

} // namespace

void cNETExceptions::throwInvalidAddress(const qstd::cAbstractException& oCause)
{
    throwLinked("$MTR$Invalid network address!", oCause);
}

void cNETExceptions::throwConnectionTxBusy()
{
    throw qstd::cRuntimeException(
        qucs::cLIMessage::fromTemplate("$MTR$Unable to send packet - transmitter is busy!"),
        nullptr, 0);
}

void cNETExceptions::throwUnableToCompleteConnectionClosedUnexpectedly(
    const qstd::cAbstractException& oCause)
{
    throwLinked("$MTR$Unable to complete request - remote connection has been closed unexpectedly!",
                oCause);
}

void cNETExceptions::throwConnectionClosedUnexpectedly(const qstd::cAbstractException& oCause)
{
    throwLinked("$MTR$Remote connection has been closed unexpectedly!", oCause);
}

void cNETExceptions::throwTransferTimeout(unsigned int iMSec)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Transfer timeout after %iMSec% milliseconds!" << iMSec;
    throw qstd::cRuntimeException(oMsg, nullptr, 0);
}

} // namespace qce
