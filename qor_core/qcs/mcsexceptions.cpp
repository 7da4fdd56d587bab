// mcsexceptions.cpp - the throw family of qcs and its exceptions.
// SPDX-License-Identifier: MIT
#include "qor_core/qcs/mcsexceptions.h"
#include "qor_core/sa/abstractserializer.h"

namespace qcs {

QOR_DEFINE_EXCEPTION_ASSIGNMENT(cModuleLoadException)

QOR_DEFINE_EXCEPTION_ASSIGNMENT(cRMIException)

QOR_DEFINE_EXCEPTION_ASSIGNMENT(cNoSuchModuleException)

QOR_DEFINE_EXCEPTION_IDENTITY(cNoSuchModuleException)
QOR_DEFINE_EXCEPTION_IDENTITY(cNoPublicInterfaceException)
QOR_DEFINE_EXCEPTION_IDENTITY(cUnmatchedInterfaceException)
QOR_DEFINE_EXCEPTION_IDENTITY(cRMIException)
QOR_DEFINE_EXCEPTION_IDENTITY(cModuleLoadException)

namespace {

qucs::cLIMessage moduleNotFound(const qstd::cAsciiString& sWhat)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Module (%addr%) not found!" << sWhat;
    return oMsg;
}

} // namespace

cNoSuchModuleException::cNoSuchModuleException() {}

cNoSuchModuleException::cNoSuchModuleException(const cComponentAddr& oAddress)
    : cBugException(moduleNotFound(oAddress.toString()), nullptr, 0), moAddress(oAddress)
{
}

cNoSuchModuleException::cNoSuchModuleException(const cComponentLocation& oLocation)
    : cBugException(moduleNotFound(oLocation.toString()), nullptr, 0),
      moAddress(oLocation.address())
{
}

cNoSuchModuleException::cNoSuchModuleException(const qstd::cAsciiString& sName)
    : cBugException(moduleNotFound(sName), nullptr, 0)
{
}

cNoPublicInterfaceException::cNoPublicInterfaceException()
    : cBugException(qucs::cLIMessage::fromTemplate("$MTR$No public interface!"), nullptr, 0)
{
}

cUnmatchedInterfaceException::cUnmatchedInterfaceException()
    : cRuntimeException(qucs::cLIMessage::fromTemplate("$MTR$Unmatched interface!"), nullptr, 0)
{
}

cRMIException::cRMIException() : miInterfaceIndex(0), miInterfaceKey(0), meOperation(CallSlot) {}

cRMIException::cRMIException(const cComponentLocation& oLocation, unsigned int iInterfaceIndex,
                             Operation eOperation, const qstd::cAsciiString& sName)
    : moLocation(oLocation), miInterfaceIndex(iInterfaceIndex), miInterfaceKey(0),
      meOperation(eOperation), msSignalSlotName(sName)
{
    qucs::cLIMessage oMsg;
    if (eOperation == CallSlot)
        oMsg << "$MTR$Unable to call slot \"%slot%\" on interface %idx%!" << sName
             << iInterfaceIndex;
    else if (eOperation == ConnectSignal)
        oMsg << "$MTR$Unable to connect signal \"%signal%\" to interface %idx%!" << sName
             << iInterfaceIndex;
    setMsg(oMsg);
}

cRMIException::cRMIException(unsigned int iInterfaceKey, Operation eOperation,
                             const qstd::cAsciiString& sName)
    : miInterfaceIndex(0), miInterfaceKey(iInterfaceKey), meOperation(eOperation),
      msSignalSlotName(sName)
{
    qucs::cLIMessage oMsg;
    if (eOperation == CallSlot)
        oMsg << "$MTR$Unable to call slot \"%slot%\" on interface key %key%!" << sName
             << iInterfaceKey;
    else if (eOperation == ConnectSignal)
        oMsg << "$MTR$Unable to connect signal \"%signal%\" to interface key %key%!" << sName
             << iInterfaceKey;
    setMsg(oMsg);
}

void cRMIException::store(qsa::cAbstractSerializer& oSerializer) const
{
    cRuntimeException::store(oSerializer);
    moLocation >> oSerializer;
    oSerializer.store((unsigned int)miInterfaceIndex);
    oSerializer.store((unsigned int)miInterfaceKey);
    oSerializer.store((unsigned int)meOperation);
    oSerializer.store(msSignalSlotName);
}

void cRMIException::load(qsa::cAbstractDeserializer& oDeserializer)
{
    cRuntimeException::load(oDeserializer);
    cComponentLocation oLocation;
    unsigned int iIndex = 0;
    unsigned int iKey = 0;
    unsigned int iOperation = 0;
    qstd::cAsciiString sName;
    oLocation << oDeserializer;
    oDeserializer.load(iIndex);
    oDeserializer.load(iKey);
    oDeserializer.load(iOperation);
    oDeserializer.load(sName);
    moLocation.swap(oLocation);
    miInterfaceIndex = iIndex;
    miInterfaceKey = iKey;
    meOperation = Operation(iOperation);
    msSignalSlotName.swap(sName);
}

cModuleLoadException::cModuleLoadException() : meProblem(LibraryNotLoadable) {}

cModuleLoadException::cModuleLoadException(KindOfProblem eKind, const qucs::cString& sFileName,
                                           const qucs::cLIMessage& oMessage)
    : msFileName(sFileName), moProblem(oMessage), meProblem(eKind)
{
    setMsg(oMessage);
}

void cMCSExceptions::throwExpectingColon()
{
    throw qstd::cRuntimeException(qucs::cLIMessage::fromTemplate("$MTR$Expecting \":\"!"), nullptr,
                                  0);
}

void cMCSExceptions::throwMalformedComponentAddress(const qstd::cAsciiString& sText,
                                                    const qstd::cAbstractException& oCause)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Malformed component address (\"%addr%\")!" << sText;
    qstd::cRuntimeException oException(oMsg, nullptr, 0);
    oException.link(oCause);
    throw oException;
}

void cMCSExceptions::throwNoSuchInterface(const qstd::cAsciiString& sName,
                                          const qstd::cAbstractException* pCause)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$No such interface (\"%interface%\")!" << sName;
    qstd::cRuntimeException oException(oMsg, nullptr, 0);
    if (pCause)
        oException.link(*pCause);
    throw oException;
}

void cMCSExceptions::throwNoPublicInterface(const qrmi::cConnectable&)
{
    throw cNoPublicInterfaceException();
}

void cMCSExceptions::throwInterfaceLoadError(const qstd::cAsciiString& sName)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Unable to deserialize interface description of \"%name%\"!" << sName;
    throw qstd::cRuntimeException(oMsg, nullptr, 0);
}

void cMCSExceptions::throwComponentIdNotUnique(unsigned int iId)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Component id (%id%) not unique!" << iId;
    throw qstd::cRuntimeException(oMsg, nullptr, 0);
}

void cMCSExceptions::throwNoSuchModule(const cComponentAddr& oAddress)
{
    throw cNoSuchModuleException(oAddress);
}

void cMCSExceptions::throwNoSuchModule(const cComponentLocation& oLocation)
{
    throw cNoSuchModuleException(oLocation);
}

void cMCSExceptions::throwNoSuchModule(const qstd::cAsciiString& sName)
{
    throw cNoSuchModuleException(sName);
}

void cMCSExceptions::throwUnmatchedInterface()
{
    throw cUnmatchedInterfaceException();
}

void cMCSExceptions::throwNoApplicationObject()
{
    throw qstd::cBugException(qucs::cLIMessage::fromTemplate("$MTR$No application object set!"),
                              nullptr, 0);
}

void cMCSExceptions::throwComponentIdsExhausted()
{
    throw qstd::cRuntimeException(qucs::cLIMessage::fromTemplate("$MTR$No component id left!"),
                                  nullptr, 0);
}

void cMCSExceptions::throwNoCoreExtension(const qucs::cString& sName)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Module (\"%name%\") does not provide core extension functionality." << sName;
    throw qstd::cRuntimeException(oMsg, nullptr, 0);
}

} // namespace qcs
