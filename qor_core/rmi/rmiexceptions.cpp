// rmiexceptions.cpp - the throw family of qrmi and its exceptions.
// SPDX-License-Identifier: MIT
#include "qor_core/rmi/rmiexceptions.h"
#include "qor_core/rmi/publicslot.h"
#include "qor_core/sa/referenceframe.h"
#include "qor_core/sa/serializetotypestring.h"

namespace qrmi {

QOR_DEFINE_EXCEPTION_IDENTITY(cUnconnectedSignalException)
QOR_DEFINE_EXCEPTION_IDENTITY(cNoSuchSignalException)
QOR_DEFINE_EXCEPTION_ASSIGNMENT(cNoSuchSignalException)
QOR_DEFINE_EXCEPTION_IDENTITY(cNoSuchSlotException)
QOR_DEFINE_EXCEPTION_ASSIGNMENT(cNoSuchSlotException)
QOR_DEFINE_EXCEPTION_IDENTITY(cCallParameterMissmatchException)
QOR_DEFINE_EXCEPTION_ASSIGNMENT(cCallParameterMissmatchException)

cUnconnectedSignalException::cUnconnectedSignalException()
    : cRuntimeException(qucs::cLIMessage::fromTemplate("$MTR$Call of an unconnected signal"),
                        nullptr, 0)
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

cNoSuchSlotException::cNoSuchSlotException(const qstd::cAsciiString& sSlotName,
                                           const qstd::cAsciiString& sArguments, bool bFromFrame)
    : msSlotName(sSlotName), msArguments(sArguments)
{
    qucs::cLIMessage oMsg;
    if (bFromFrame)
        oMsg << "$MTR$Slot \"%slot%(%args%)\" not found in interface" << sSlotName << sArguments;
    else
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

void cRMIExceptions::throwNoSuchSlot(const qstd::cAsciiString& sName,
                                     qsa::cReferenceFrame& oArguments)
{
    qstd::cAsciiString sTypes;
    try {
        qsa::cSerializeToTypeString oTypes;
        oArguments.store(oTypes);
        sTypes = oTypes.typeString();
    } catch (const qstd::cAbstractException&) {
        // A value that cannot describe itself (it opens contexts) must not hide
        // the missing slot.
        sTypes = "?";
    }
    throw cNoSuchSlotException(sName, qstd::cAsciiString("(") + sTypes + ")", true);
}

void cRMIExceptions::throwNoSuchSignal(const qstd::cAsciiString& sName)
{
    throw cNoSuchSignalException(sName);
}

void cRMIExceptions::throwUnconnectedSignal()
{
    throw cUnconnectedSignalException();
}

void cRMIExceptions::throwIndirectLocalConnection()
{
    throw qstd::cBugException(
        qucs::cLIMessage::fromTemplate("$MTR$Indirect connections not possible with explicit local "
                                       "signals!"),
        nullptr, 0);
}

void cRMIExceptions::throwIndirectLocalSlotCall()
{
    throw qstd::cBugException(
        qucs::cLIMessage::fromTemplate("$MTR$Slots connected to an explicit local signal cannot be "
                                       "called indirectly!"),
        nullptr, 0);
}

void cRMIExceptions::throwIndirectCallSlotCallRef()
{
    throw qstd::cBugException(
        qucs::cLIMessage::fromTemplate("$MTR$Indirect slots cannot be called by reference!"),
        nullptr, 0);
}

void cRMIExceptions::throwParameterMissmatch(const cPublicSlot* pSlot,
                                             const qstd::cAbstractException& oCause)
{
    cCallParameterMissmatchException oException(pSlot ? pSlot->name() : qstd::cAsciiString());
    if (pSlot) {
        qucs::cLIMessage oMsg;
        oMsg << "$MTR$Definition: \"%returnValue% %slotName%(%arguments%)\""
             << pSlot->returnTypeName() << pSlot->name() << pSlot->paramTypeNames();
        qstd::cRuntimeException oDefinition(oMsg, nullptr, 0);
        oDefinition.link(oCause);
        oException.link(oDefinition);
    } else {
        oException.link(oCause);
    }
    throw oException;
}

void cRMIExceptions::throwSlotNotPublic()
{
    throw qstd::cBugException(qucs::cLIMessage::fromTemplate("$MTR$Slot is not a public one!"),
                              nullptr, 0);
}

void cRMIExceptions::throwSignalNotPublic()
{
    throw qstd::cBugException(qucs::cLIMessage::fromTemplate("$MTR$Signal is not a public one!"),
                              nullptr, 0);
}

} // namespace qrmi
