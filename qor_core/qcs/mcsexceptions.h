// mcsexceptions.h - the throw family of the component system and its exception classes.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCS_MCSEXCEPTIONS_H
#define QOR_CORE_QCS_MCSEXCEPTIONS_H

#include "qor_core/qcs/componentlocation.h"
#include "qor_core/std/exception.h"
#include "qor_core/ucs/string.h"

namespace qrmi {
class cConnectable;
}

namespace qcs {

/// No registered component has the address, location or lookup name asked for.
/// Carries the address given (the location's address, or an invalid address when a
/// name was given).
class QOR_EXPORT cNoSuchModuleException : public qstd::cBugException
{
public:
    QOR_DECLARE_EXCEPTION_ASSIGNMENT(cNoSuchModuleException);
    cNoSuchModuleException();
    /// "$MTR$Module (%addr%) not found!" with the address text.
    explicit cNoSuchModuleException(const cComponentAddr& oAddress);
    /// The same message with the location text.
    explicit cNoSuchModuleException(const cComponentLocation& oLocation);
    /// The same message with the name.
    explicit cNoSuchModuleException(const qstd::cAsciiString& sName);
    cAbstractException* createObject() const override;
    qstd::cAsciiString typeName() const override;

    const cComponentAddr& address() const { return moAddress; }

private:
    cComponentAddr moAddress;
};

/// An object that is not one of the interfaces asked about.
class QOR_EXPORT cNoPublicInterfaceException : public qstd::cBugException
{
public:
    /// "$MTR$No public interface!"
    cNoPublicInterfaceException();
    cAbstractException* createObject() const override;
    qstd::cAsciiString typeName() const override;
};

/// An interface dependency was asked for its provider while it has none.
class QOR_EXPORT cUnmatchedInterfaceException : public qstd::cRuntimeException
{
public:
    /// "$MTR$Unmatched interface!"
    cUnmatchedInterfaceException();
    cAbstractException* createObject() const override;
    qstd::cAsciiString typeName() const override;
};

/// A remote slot call or signal connection failed. Raised by the remote-call layer
/// of the application; the component system only defines and transports it.
class QOR_EXPORT cRMIException : public qstd::cRuntimeException
{
public:
    QOR_DECLARE_EXCEPTION_ASSIGNMENT(cRMIException);
    /// Fixed width: a stream may carry other values, which leave the message empty.
    enum Operation : piUInt32
    {
        CallSlot = 0,     ///< calling a slot
        ConnectSignal = 1 ///< connecting a signal
    };

    /// Empty message, default location, everything else 0; for exception factories.
    cRMIException();
    /// A failure at an interface given by index; interface key 0.
    cRMIException(const cComponentLocation& oLocation, unsigned int iInterfaceIndex,
                  Operation eOperation, const qstd::cAsciiString& sName);
    /// A failure at an interface given by key; the location is this process's
    /// default one.
    cRMIException(unsigned int iInterfaceKey, Operation eOperation,
                  const qstd::cAsciiString& sName);
    cAbstractException* createObject() const override;
    qstd::cAsciiString typeName() const override;
    /// The base fields, then location, index, key, operation and name.
    void store(qsa::cAbstractSerializer& oSerializer) const override;
    /// Reads what store() wrote; the fields of this class change only when all of
    /// them were read.
    void load(qsa::cAbstractDeserializer& oDeserializer) override;

    const cComponentLocation& location() const { return moLocation; }
    unsigned int interfaceIndex() const { return miInterfaceIndex; }
    unsigned int interfaceKey() const { return miInterfaceKey; }
    Operation operation() const { return meOperation; }
    const qstd::cAsciiString& signalSlotName() const { return msSignalSlotName; }

private:
    cComponentLocation moLocation;
    piUInt32 miInterfaceIndex;
    piUInt32 miInterfaceKey;
    Operation meOperation;
    qstd::cAsciiString msSignalSlotName;
};

/// A module library that cannot be used. Raised by the class loader with the
/// library's file name and the problem's message, which is also the exception's
/// message. Only the base fields travel through store() and load().
class QOR_EXPORT cModuleLoadException : public qstd::cRuntimeException
{
public:
    QOR_DECLARE_EXCEPTION_ASSIGNMENT(cModuleLoadException);
    /// Fixed width, as the values are part of the interface.
    enum KindOfProblem : piUInt32
    {
        LibraryNotLoadable = 0, ///< the dynamic loader cannot open the file
        NoFunctionality = 1,    ///< an entry point is missing or made no object
        MissingSymbol = 2       ///< a required exported symbol is missing
    };

    /// Kind 0, no file name, empty message; for exception factories.
    cModuleLoadException();
    cModuleLoadException(KindOfProblem eKind, const qucs::cString& sFileName,
                         const qucs::cLIMessage& oMessage);
    cAbstractException* createObject() const override;
    qstd::cAsciiString typeName() const override;

    const qucs::cString& fileName() const { return msFileName; }
    const qucs::cLIMessage& problemMessage() const { return moProblem; }
    KindOfProblem problem() const { return meProblem; }

private:
    qucs::cString msFileName;
    qucs::cLIMessage moProblem;
    KindOfProblem meProblem;
};

/// Static throw helpers of the component system; each throws and never returns.
class QOR_EXPORT cMCSExceptions
{
public:
    /// cRuntimeException "$MTR$Expecting \":\"!"
    [[noreturn]] static void throwExpectingColon();
    /// cRuntimeException "$MTR$Malformed component address (\"%addr%\")!" with sText,
    /// a copy of oCause linked beneath it.
    [[noreturn]] static void throwMalformedComponentAddress(const qstd::cAsciiString& sText,
                                                            const qstd::cAbstractException& oCause);
    /// cRuntimeException "$MTR$No such interface (\"%interface%\")!"; a copy of pCause
    /// is linked beneath it when given.
    [[noreturn]] static void throwNoSuchInterface(const qstd::cAsciiString& sName,
                                                  const qstd::cAbstractException* pCause);
    /// cNoPublicInterfaceException.
    [[noreturn]] static void throwNoPublicInterface(const qrmi::cConnectable& oObject);
    /// cRuntimeException "$MTR$Unable to deserialize interface description of \"%name%\"!"
    [[noreturn]] static void throwInterfaceLoadError(const qstd::cAsciiString& sName);
    /// cRuntimeException "$MTR$Component id (%id%) not unique!"
    [[noreturn]] static void throwComponentIdNotUnique(unsigned int iId);
    /// cNoSuchModuleException for an address, a location or a lookup name.
    [[noreturn]] static void throwNoSuchModule(const cComponentAddr& oAddress);
    [[noreturn]] static void throwNoSuchModule(const cComponentLocation& oLocation);
    [[noreturn]] static void throwNoSuchModule(const qstd::cAsciiString& sName);
    /// cUnmatchedInterfaceException.
    [[noreturn]] static void throwUnmatchedInterface();
    /// cBugException "$MTR$No application object set!"
    [[noreturn]] static void throwNoApplicationObject();
    /// cRuntimeException "$MTR$No component id left!": the automatic IDs reached
    /// the largest 32-bit value.
    [[noreturn]] static void throwComponentIdsExhausted();
    /// cRuntimeException "$MTR$Module (\"%name%\") does not provide core extension
    /// functionality." with sName.
    [[noreturn]] static void throwNoCoreExtension(const qucs::cString& sName);
};

} // namespace qcs

#endif // QOR_CORE_QCS_MCSEXCEPTIONS_H
