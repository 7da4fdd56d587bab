// rmiexceptions.h - the throw family of the signal and slot namespace and its exceptions.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_RMI_RMIEXCEPTIONS_H
#define QOR_CORE_RMI_RMIEXCEPTIONS_H

#include "qor_core/std/exception.h"

namespace qsa {
class cReferenceFrame;
}

namespace qrmi {

class cPublicSlot;

/// A signal without slot calls was emitted while it must not be.
class QOR_EXPORT cUnconnectedSignalException : public qstd::cRuntimeException
{
public:
    cUnconnectedSignalException();
    cAbstractException* createObject() const override;
    qstd::cAsciiString typeName() const override;
};

/// A signal was looked up by a name no signal has.
class QOR_EXPORT cNoSuchSignalException : public qstd::cRuntimeException
{
public:
    cNoSuchSignalException();
    explicit cNoSuchSignalException(const qstd::cAsciiString& sSignalName);
    QOR_DECLARE_EXCEPTION_ASSIGNMENT(cNoSuchSignalException);
    cAbstractException* createObject() const override;
    qstd::cAsciiString typeName() const override;
    const qstd::cAsciiString& signalName() const { return msSignalName; }

private:
    qstd::cAsciiString msSignalName;
};

/// A slot was looked up by a name (and arguments) no slot has.
class QOR_EXPORT cNoSuchSlotException : public qstd::cRuntimeException
{
public:
    cNoSuchSlotException();
    /// sArguments is the argument text as given by the caller ("(?)" when unknown).
    cNoSuchSlotException(const qstd::cAsciiString& sSlotName, const qstd::cAsciiString& sArguments);
    /// With bFromFrame set, sArguments is the parenthesised type string of a call
    /// frame, and the message has no final '!'.
    cNoSuchSlotException(const qstd::cAsciiString& sSlotName, const qstd::cAsciiString& sArguments,
                         bool bFromFrame);
    QOR_DECLARE_EXCEPTION_ASSIGNMENT(cNoSuchSlotException);
    cAbstractException* createObject() const override;
    qstd::cAsciiString typeName() const override;
    const qstd::cAsciiString& slotName() const { return msSlotName; }
    const qstd::cAsciiString& slotArguments() const { return msArguments; }

private:
    qstd::cAsciiString msSlotName;
    qstd::cAsciiString msArguments;
};

/// The parameters or the return value of a slot call did not match the slot.
class QOR_EXPORT cCallParameterMissmatchException : public qstd::cBugException
{
public:
    cCallParameterMissmatchException();
    explicit cCallParameterMissmatchException(const qstd::cAsciiString& sSlotName);
    QOR_DECLARE_EXCEPTION_ASSIGNMENT(cCallParameterMissmatchException);
    cAbstractException* createObject() const override;
    qstd::cAsciiString typeName() const override;
    const qstd::cAsciiString& slotName() const { return msSlotName; }

private:
    qstd::cAsciiString msSlotName;
};

/// Static throw helpers of qrmi; each throws and never returns.
class QOR_EXPORT cRMIExceptions
{
public:
    [[noreturn]] static void throwNoSuchSlot(const qstd::cAsciiString& sName,
                                             const qstd::cAsciiString& sArguments);
    /// The arguments are named by the type string of oArguments (its references'
    /// serialized types), in parentheses.
    [[noreturn]] static void throwNoSuchSlot(const qstd::cAsciiString& sName,
                                             qsa::cReferenceFrame& oArguments);
    [[noreturn]] static void throwNoSuchSignal(const qstd::cAsciiString& sName);
    [[noreturn]] static void throwUnconnectedSignal();
    /// "$MTR$Indirect connections not possible with explicit local signals!"
    [[noreturn]] static void throwIndirectLocalConnection();
    /// "$MTR$Slots connected to an explicit local signal cannot be called indirectly!"
    [[noreturn]] static void throwIndirectLocalSlotCall();
    /// "$MTR$Indirect slots cannot be called by reference!"
    [[noreturn]] static void throwIndirectCallSlotCallRef();
    /// cCallParameterMissmatchException named after pSlot (unnamed when null). With
    /// a slot, a cRuntimeException with the slot's definition stands between it and
    /// a copy of oCause; without, the copy of oCause follows directly.
    [[noreturn]] static void throwParameterMissmatch(const cPublicSlot* pSlot,
                                                     const qstd::cAbstractException& oCause);
    /// cBugException "$MTR$Slot is not a public one!"
    [[noreturn]] static void throwSlotNotPublic();
    /// cBugException "$MTR$Signal is not a public one!"
    [[noreturn]] static void throwSignalNotPublic();
};

} // namespace qrmi

#endif // QOR_CORE_RMI_RMIEXCEPTIONS_H
