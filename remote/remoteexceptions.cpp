// remoteexceptions.cpp - the throw family of the remote-call library.
// SPDX-License-Identifier: MIT
#include "remote/remoteexceptions.h"
#include "qor_core/pi/piexceptions.h"
#include "qor_core/qce/net++/netexceptions.h"
#include "qor_core/qce/unsupportedextensionexception.h"
#include "qor_core/qcs/abstractcomponent.h"
#include "qor_core/qcs/mcsexceptions.h"
#include "qor_core/rmi/rmiexceptions.h"
#include "qor_core/sa/saexceptions.h"
#include "qor_core/std/exceptions.h"
#include "qor_core/ucs/limessage.h"

namespace qremote {

namespace {

[[noreturn]] void throwRuntime(qucs::cLIMessage& oMsg)
{
    throw qstd::cRuntimeException(oMsg, nullptr, 0);
}

/// Throws a copy of oException when it is a T.
template <class T> void tryRaise(const qstd::cAbstractException& oException)
{
    if (const T* p = dynamic_cast<const T*>(&oException))
        throw T(*p);
}

template <class T> void registerPrototype(qcs::cAbstractComponent& oComponent)
{
    oComponent.registerRemoteException(qstd::tAutoPtr<qstd::cAbstractException>(new T));
}

} // namespace

cAbstractExceptionThrower::~cAbstractExceptionThrower() {}

void cRemoteExceptions::throwFrameTooLarge(unsigned int iLength, unsigned int iLimit)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Malformed frame: a length of %length% bytes exceeds the limit of %limit% bytes!"
         << iLength << iLimit;
    throwRuntime(oMsg);
}

void cRemoteExceptions::throwFrameTooShort(unsigned int iLength)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Malformed frame: a length of %length% bytes is too short for a message!"
         << iLength;
    throwRuntime(oMsg);
}

void cRemoteExceptions::throwMalformedMessage(unsigned int iKind,
                                              const qstd::cAbstractException& oCause)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Malformed message of kind %kind% from the peer!" << iKind;
    qstd::cRuntimeException oException(oMsg, nullptr, 0);
    oException.link(oCause);
    throw oException;
}

void cRemoteExceptions::throwUnknownMessage(unsigned int iKind)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Unknown message kind %kind%!" << iKind;
    throwRuntime(oMsg);
}

void cRemoteExceptions::throwNotAPeer()
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$The peer does not speak the remote-call protocol!";
    throwRuntime(oMsg);
}

void cRemoteExceptions::throwProtocolVersion(unsigned int iVersion, unsigned int iExpected)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$The peer speaks version %version% of the remote-call protocol, but version "
            "%expected% is needed!"
         << iVersion << iExpected;
    throwRuntime(oMsg);
}

void cRemoteExceptions::throwPeerClosed(const qstd::cAsciiString& sPeer)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$The peer %peer% closed the connection!" << sPeer;
    throwRuntime(oMsg);
}

void cRemoteExceptions::throwTxBacklog(unsigned int iBytes)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$The peer leaves %bytes% bytes unread!" << iBytes;
    throwRuntime(oMsg);
}

void cRemoteExceptions::throwUnsupportedType(const qstd::cAsciiString& sType)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$The type \"%type%\" cannot be passed to a remote slot!" << sType;
    throwRuntime(oMsg);
}

void cRemoteExceptions::throwForeignException(const qstd::cAsciiString& sSlot)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$The remote slot \"%slot%\" failed with an exception that is not one of the "
            "framework!"
         << sSlot;
    throwRuntime(oMsg);
}

void cRemoteExceptions::throwLimitExceeded(unsigned int iLimit, const char* pWhat)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$The peer sends more than %limit% %what%!" << iLimit << qstd::cAsciiString(pWhat);
    throwRuntime(oMsg);
}

void cRemoteExceptions::throwDuplicateComponent(const qstd::cAsciiString& sLocation)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$The peer published the component %location% twice!" << sLocation;
    throwRuntime(oMsg);
}

void cRemoteExceptions::throwTooManyArguments(unsigned int iCount)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Too many arguments (%count%) for a remote slot call!" << iCount;
    throwRuntime(oMsg);
}

void cRemoteExceptions::throwCallClosed(const qcs::cRMIException& oCall,
                                        const qstd::cAbstractException* pReason)
{
    qcs::cRMIException oCause(oCall);
    if (pReason)
        oCause.link(*pReason);
    qce::cNETExceptions::throwUnableToCompleteConnectionClosedUnexpectedly(oCause);
}

void cRemoteExceptions::throwCallTimeout(unsigned int iMSec, const qcs::cRMIException& oCall)
{
    try {
        qce::cNETExceptions::throwTransferTimeout(iMSec);
    } catch (qstd::cRuntimeException& e) {
        e.link(oCall);
        throw;
    }
}

void cRemoteExceptions::raise(const qstd::cAbstractException& oException,
                              const cAbstractExceptionThrower* pThrower)
{
    if (pThrower && pThrower->knows(oException))
        pThrower->raise(oException);
    // Most derived first.
    tryRaise<qcs::cRMIException>(oException);
    tryRaise<qcs::cUnmatchedInterfaceException>(oException);
    tryRaise<qcs::cModuleLoadException>(oException);
    tryRaise<qcs::cNoSuchModuleException>(oException);
    tryRaise<qcs::cNoPublicInterfaceException>(oException);
    tryRaise<qrmi::cUnconnectedSignalException>(oException);
    tryRaise<qrmi::cNoSuchSignalException>(oException);
    tryRaise<qrmi::cNoSuchSlotException>(oException);
    tryRaise<qrmi::cCallParameterMissmatchException>(oException);
    tryRaise<qsa::cLabeledTypeMissmatchException>(oException);
    tryRaise<qstd::cTypeMissmatchException>(oException);
    tryRaise<qstd::cTypeErrorException>(oException);
    tryRaise<qstd::cOutOfRangeException>(oException);
    tryRaise<qstd::cOutOfBoundsException>(oException);
    tryRaise<qstd::cTextParseException>(oException);
    tryRaise<qstd::cOSErrorException>(oException);
    tryRaise<qstd::cNumberConversionException>(oException);
    tryRaise<qce::cUnsupportedExtensionException>(oException);
    tryRaise<qpi::cUnsupportedPlatformException>(oException);
    tryRaise<qstd::cBugException>(oException);
    tryRaise<qstd::cRuntimeException>(oException);
    // An exception of a class derived from neither base keeps at least its texts.
    qstd::cRuntimeException oPlain;
    if (oException.liMessage())
        oPlain.setMsg(*oException.liMessage());
    if (oException.isRemote())
        oPlain.setRemoteInfo(oException.remoteLocation());
    if (oException.history())
        oPlain.link(*oException.history());
    if (oException.type() == qstd::cAbstractException::Bug) {
        qstd::cBugException oBug;
        if (oException.liMessage())
            oBug.setMsg(*oException.liMessage());
        if (oException.isRemote())
            oBug.setRemoteInfo(oException.remoteLocation());
        if (oException.history())
            oBug.link(*oException.history());
        throw oBug;
    }
    throw oPlain;
}

void cRemoteExceptions::registerFrameworkExceptions(qcs::cAbstractComponent& oComponent)
{
    registerPrototype<qstd::cRuntimeException>(oComponent);
    registerPrototype<qstd::cBugException>(oComponent);
    registerPrototype<qcs::cRMIException>(oComponent);
    registerPrototype<qcs::cUnmatchedInterfaceException>(oComponent);
    registerPrototype<qcs::cModuleLoadException>(oComponent);
    registerPrototype<qcs::cNoSuchModuleException>(oComponent);
    registerPrototype<qcs::cNoPublicInterfaceException>(oComponent);
    registerPrototype<qrmi::cUnconnectedSignalException>(oComponent);
    registerPrototype<qrmi::cNoSuchSignalException>(oComponent);
    registerPrototype<qrmi::cNoSuchSlotException>(oComponent);
    registerPrototype<qrmi::cCallParameterMissmatchException>(oComponent);
    registerPrototype<qsa::cLabeledTypeMissmatchException>(oComponent);
    registerPrototype<qstd::cTypeMissmatchException>(oComponent);
    registerPrototype<qstd::cTypeErrorException>(oComponent);
    registerPrototype<qstd::cOutOfRangeException>(oComponent);
    registerPrototype<qstd::cOutOfBoundsException>(oComponent);
    registerPrototype<qstd::cTextParseException>(oComponent);
    registerPrototype<qstd::cOSErrorException>(oComponent);
    registerPrototype<qstd::cNumberConversionException>(oComponent);
    registerPrototype<qce::cUnsupportedExtensionException>(oComponent);
    registerPrototype<qpi::cUnsupportedPlatformException>(oComponent);
}

} // namespace qremote
