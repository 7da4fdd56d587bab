// rmiexceptions.cpp - the throw family of qrmi and its exceptions.
// SPDX-License-Identifier: MIT
#include "qor_core/rmi/rmiexceptions.h"

namespace qrmi {

namespace {
qucs::cLIMessage message(const char* pTemplate)
{
    qucs::cLIMessage oMsg;
    oMsg << pTemplate;
    return oMsg;
}
} // namespace

QOR_DEFINE_EXCEPTION_IDENTITY(cUnconnectedSignalException)
QOR_DEFINE_EXCEPTION_IDENTITY(cNoSuchSignalException)
QOR_DEFINE_EXCEPTION_IDENTITY(cNoSuchSlotException)
QOR_DEFINE_EXCEPTION_IDENTITY(cCallParameterMissmatchException)

cUnconnectedSignalException::cUnconnectedSignalException()
    : cRuntimeException(message("$MTR$Call of an unconnected signal"), nullptr, 0)
{
}

cNoSuchSignalException::cNoSuchSignalException() {}

cNoSuchSignalException::cNoSuchSignalException(const qstd::cAsciiString& sSignalName)
    : msSignalName(sSignalName)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Signal \"%s%\" could not be found in interface!" << sSignalName;
    setMsg(oMsg);
}

cNoSuchSlotException::cNoSuchSlotException() {}

cNoSuchSlotException::cNoSuchSlotException(const qstd::cAsciiString& sSlotName,
                                           const qstd::cAsciiString& sArguments)
    : msSlotName(sSlotName), msArguments(sArguments)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Slot \"%slot%(%args%)\" not found in interface!" << sSlotName << sArguments;
    setMsg(oMsg);
}

cCallParameterMissmatchException::cCallParameterMissmatchException() {}

cCallParameterMissmatchException::cCallParameterMissmatchException(
    const qstd::cAsciiString& sSlotName)
    : msSlotName(sSlotName)
{
    qucs::cLIMessage oMsg;
    if (sSlotName.empty())
        oMsg << "$MTR$Slot parameter or return value missmatch on unregistered slot!";
    else
        oMsg << "$MTR$Slot parameter of (%slot%) or return value missmatch!" << sSlotName;
    setMsg(oMsg);
}

void cRMIExceptions::throwNoSuchSlot(const qstd::cAsciiString& sName,
                                     const qstd::cAsciiString& sArguments)
{
    throw cNoSuchSlotException(sName, sArguments);
}

void cRMIExceptions::throwNoSuchSignal(const qstd::cAsciiString& sName)
{
    throw cNoSuchSignalException(sName);
}

void cRMIExceptions::throwUnconnectedSignal() { throw cUnconnectedSignalException(); }

void cRMIExceptions::throwIndirectLocalConnection()
{
    throw qstd::cBugException(message("$MTR$Indirect connections not possible with explicit local "
                                      "signals!"),
                              nullptr, 0);
}

void cRMIExceptions::throwIndirectLocalSlotCall()
{
    throw qstd::cBugException(message("$MTR$Slots connected to an explicit local signal cannot be "
                                      "called indirectly!"),
                              nullptr, 0);
}

void cRMIExceptions::throwIndirectCallSlotCallRef()
{
    throw qstd::cBugException(message("$MTR$Indirect slots cannot be called by reference!"), nullptr,
                              0);
}

} // namespace qrmi
