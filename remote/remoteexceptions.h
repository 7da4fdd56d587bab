// remoteexceptions.h - qremote::cRemoteExceptions, the throw family of the remote-call
// library, and the throwers that raise a rebuilt exception with its own type.
// SPDX-License-Identifier: MIT
#ifndef QOR_REMOTE_REMOTEEXCEPTIONS_H
#define QOR_REMOTE_REMOTEEXCEPTIONS_H

#include "qor_core/std/exception.h"
#include "qor_core/std/ptrvector.h"
#include "remote/remoteglobal.h"

namespace qcs {
class cAbstractComponent;
class cRMIException;
} // namespace qcs

namespace qremote {

/// Raises an exception with the C++ type it has, so that a handler can catch a
/// rebuilt remote exception as what it was.
class QOR_REMOTE_EXPORT cAbstractExceptionThrower
{
public:
    virtual ~cAbstractExceptionThrower();
    /// True when oException is of the thrower's class (or derived from it).
    virtual bool knows(const qstd::cAbstractException& oException) const = 0;
    /// Throws a copy of oException, which the thrower knows, as its class.
    [[noreturn]] virtual void raise(const qstd::cAbstractException& oException) const = 0;
    /// A new copy; the caller owns it.
    virtual cAbstractExceptionThrower* clone() const = 0;
};

/// The thrower of the exception class T.
template <class T> class tExceptionThrower : public cAbstractExceptionThrower
{
public:
    bool knows(const qstd::cAbstractException& oException) const override
    {
        return dynamic_cast<const T*>(&oException) != nullptr;
    }
    [[noreturn]] void raise(const qstd::cAbstractException& oException) const override
    {
        throw T(dynamic_cast<const T&>(oException));
    }
    cAbstractExceptionThrower* clone() const override { return new tExceptionThrower<T>; }
};

typedef qstd::tPtrVector<cAbstractExceptionThrower> tExceptionThrowers;

/// Static throw helpers of the remote-call library; each builds its message, links
/// a copy of a given cause beneath it and never returns.
class QOR_REMOTE_EXPORT cRemoteExceptions
{
public:
    /// cRuntimeException "$MTR$Malformed frame: a length of %length% bytes exceeds the
    /// limit of %limit% bytes!"
    [[noreturn]] static void throwFrameTooLarge(unsigned int iLength, unsigned int iLimit);
    /// cRuntimeException "$MTR$Malformed frame: a length of %length% bytes is too short
    /// for a message!"
    [[noreturn]] static void throwFrameTooShort(unsigned int iLength);
    /// cRuntimeException "$MTR$Malformed message of kind %kind% from the peer!" with
    /// the cause.
    [[noreturn]] static void throwMalformedMessage(unsigned int iKind,
                                                   const qstd::cAbstractException& oCause);
    /// cRuntimeException "$MTR$Unknown message kind %kind%!"
    [[noreturn]] static void throwUnknownMessage(unsigned int iKind);
    /// cRuntimeException "$MTR$The peer does not speak the remote-call protocol!"
    [[noreturn]] static void throwNotAPeer();
    /// cRuntimeException "$MTR$The peer speaks version %version% of the remote-call
    /// protocol, but version %expected% is needed!"
    [[noreturn]] static void throwProtocolVersion(unsigned int iVersion, unsigned int iExpected);
    /// cRuntimeException "$MTR$The peer %peer% closed the connection!"
    [[noreturn]] static void throwPeerClosed(const qstd::cAsciiString& sPeer);
    /// cRuntimeException "$MTR$The peer leaves %bytes% bytes unread!"
    [[noreturn]] static void throwTxBacklog(unsigned int iBytes);
    /// cRuntimeException "$MTR$The type \"%type%\" cannot be passed to a remote slot!"
    [[noreturn]] static void throwUnsupportedType(const qstd::cAsciiString& sType);
    /// cRuntimeException "$MTR$The remote slot \"%slot%\" failed with an exception
    /// that is not one of the framework!"
    [[noreturn]] static void throwForeignException(const qstd::cAsciiString& sSlot);
    /// cRuntimeException "$MTR$The peer sends more than %limit% %what%!"
    [[noreturn]] static void throwLimitExceeded(unsigned int iLimit, const char* pWhat);
    /// cRuntimeException "$MTR$The peer published the component %location% twice!"
    [[noreturn]] static void throwDuplicateComponent(const qstd::cAsciiString& sLocation);
    /// cRuntimeException "$MTR$Too many arguments (%count%) for a remote slot call!"
    [[noreturn]] static void throwTooManyArguments(unsigned int iCount);

    /// The failure of a call whose connection closed before the reply came: the
    /// network text "$MTR$Unable to complete request - remote connection has been
    /// closed unexpectedly!" over oCall (what could not be done) and, beneath it,
    /// pReason (why the connection closed), when given.
    [[noreturn]] static void throwCallClosed(const qcs::cRMIException& oCall,
                                             const qstd::cAbstractException* pReason);
    /// The failure of a call without reply in time: "$MTR$Transfer timeout after
    /// %iMSec% milliseconds!" over oCall.
    [[noreturn]] static void throwCallTimeout(unsigned int iMSec, const qcs::cRMIException& oCall);

    /// Throws a copy of oException with its own class: through pThrower when given
    /// and it knows the exception, else as the framework's exception class it is
    /// (most derived first), else as cBugException or cRuntimeException by its type.
    [[noreturn]] static void raise(const qstd::cAbstractException& oException,
                                   const cAbstractExceptionThrower* pThrower);
    /// Registers a default-constructed prototype of every exception class of the
    /// framework with oComponent, so that the module manager rebuilds them.
    static void registerFrameworkExceptions(qcs::cAbstractComponent& oComponent);
};

} // namespace qremote

#endif // QOR_REMOTE_REMOTEEXCEPTIONS_H
