// exception.h - the exception base classes and the exception factory interface.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_EXCEPTION_H
#define QOR_CORE_STD_EXCEPTION_H

#include "qor_core/std/autoptr.h"
#include "qor_core/ucs/limessage.h"

#include <cstdint>

namespace qcs {
class cComponentLocation;
}
namespace qucs {
class cLILocale;
}

/// Declares the copy operations of an exception class with fields of its own, and
/// of every class derived from one. The implicit assignment would copy the fields
/// after the base had already deleted the old chain, to which the source may belong
/// (e = *e.history()); this assignment copies the source first and then moves the
/// copy in. Define it with QOR_DEFINE_EXCEPTION_ASSIGNMENT.
#define QOR_DECLARE_EXCEPTION_ASSIGNMENT(CLASS)                                                    \
    CLASS(const CLASS& oOther) = default;                                                          \
    CLASS& operator=(const CLASS& oOther);                                                         \
    CLASS& operator=(CLASS&& oOther) = default

/// Defines the assignment declared by QOR_DECLARE_EXCEPTION_ASSIGNMENT; for use in a
/// .cpp inside the class's namespace.
#define QOR_DEFINE_EXCEPTION_ASSIGNMENT(CLASS)                                                     \
    CLASS& CLASS::operator=(const CLASS& oOther)                                                   \
    {                                                                                              \
        if (this != &oOther) {                                                                     \
            CLASS oCopy(oOther);                                                                   \
            *this = static_cast<CLASS&&>(oCopy);                                                   \
        }                                                                                          \
        return *this;                                                                              \
    }

namespace qstd {

/// The root of every exception of the framework. An exception carries the kind of
/// failure, its source location, the return addresses at construction, an
/// optional remote location and a chain of further exceptions (its history), which
/// it owns. Copies are deep; chains of any length are copied and destroyed
/// without recursion.
class QOR_EXPORT cAbstractException
{
public:
    enum Type
    {
        Bug = 0,
        Runtime = 1
    };
    /// Flags of createMessage.
    enum MessageFlags
    {
        WithHistory = 1, ///< append the texts of the whole chain
        Indent = 4       ///< indent each further text by one more space
    };
    enum
    {
        kFileNameLength = 60,
        kWhatLength = 255,
        kBacktraceEntries = 64
    };

    cAbstractException(const char* pWhat, Type eType, const char* pSourceFile,
                       unsigned int iSourceLine);
    cAbstractException(const cAbstractException& oOther);
    /// Copies oOther, which may be an element of this exception's own chain: the old
    /// chain is deleted only after everything has been copied.
    cAbstractException& operator=(const cAbstractException& oOther);
    /// Exchanges the contents with oOther, which then owns the old chain. From an
    /// element of this exception's own chain it copies instead, since exchanging
    /// would link the chain into itself.
    cAbstractException& operator=(cAbstractException&& oOther);
    void swap(cAbstractException& oOther);
    virtual ~cAbstractException();

    /// A new heap copy of the most derived object, chain included; the caller owns it.
    virtual cAbstractException* createObject() const = 0;
    /// The class name without namespace.
    virtual cAsciiString typeName() const = 0;
    /// The message, or null.
    virtual const qucs::cLIMessage* liMessage() const;
    /// Null in every class of this library.
    virtual const void* dialog() const;
    virtual bool isRemote() const;
    /// The remote location; on a local exception the assertion "mpRemoteLocation != 0".
    virtual const qcs::cComponentLocation& remoteLocation() const;
    /// Writes one line per exception of the chain to the debug output.
    virtual void dump() const;
    /// Writes the type name, the type and the out-of-memory flag.
    virtual void store(qsa::cAbstractSerializer& oSerializer) const;
    /// Reads the type and the flag (the type name was consumed by the reader).
    virtual void load(qsa::cAbstractDeserializer& oDeserializer);
    virtual bool outOfMemoryCondition() const;

    const char* what() const { return mcWhat; }
    Type type() const { return meType; }
    const char* sourceFileName() const { return mcSourceFile; }
    unsigned int sourceFileLine() const { return miSourceLine; }

    /// The next exception of the chain (not a copy), or null.
    const cAbstractException* history() const { return mpHistory; }
    /// A new heap copy of the rest of the chain, or null. When memory runs out, the
    /// copy ends where it ran out (its last element carries the out-of-memory flag),
    /// or null is returned with bOutOfMemory set when not even the first copy was made.
    cAbstractException* getHistory(bool& bOutOfMemory) const;
    /// Appends pException (taking ownership) at the end of the chain.
    void link(cAbstractException* pException);
    /// Appends a copy of oException at the end of the chain.
    void link(const cAbstractException& oException);
    /// This exception or the first of its chain whose typeName() is sTypeName, else null.
    const cAbstractException* has(const cAsciiString& sTypeName) const;
    bool hasOutOfMemoryCondition() const;
    void setRemoteInfo(const qcs::cComponentLocation& oLocation);
    /// The return addresses, 0-terminated, or null when none were taken.
    const std::uintptr_t* backtrace() const;

    /// True when oException is this exception or an element of its chain.
    bool isInChain(const cAbstractException& oException) const;

    /// The readable text: this exception's, and with WithHistory those of the chain,
    /// separated by sSeparator.
    void createMessage(qucs::cString& sOut, const qucs::cString& sSeparator, unsigned int iFlags,
                       const qucs::cLILocale* pLocale) const;
    /// Appends the text of oException alone.
    static void createMessage(const cAbstractException& oException, qucs::cString& sOut,
                              unsigned int iFlags, const qucs::cLILocale* pLocale);

    /// Writes a true marker and store() for each exception of the chain, then false.
    void storeRecursive(qsa::cAbstractSerializer& oSerializer) const;
    /// Rebuilds a chain written by storeRecursive; empty when the stream starts with
    /// false. An element that cannot be rebuilt ends the chain as a cRuntimeException
    /// "Unknown exception type".
    static tAutoPtr<cAbstractException>
    createFromStream(qsa::cAbstractDeserializer& oDeserializer,
                     const class cAbstractExceptionFactory& oFactory);

protected:
    void setOutOfMemoryCondition(bool bCondition) { mbOutOfMemory = bCondition; }

private:
    void copyHistoryFrom(const cAbstractException& oSource);
    /// Deletes a chain element by element, so that its length needs no stack.
    static void deleteChain(cAbstractException* pFirst);
    cAbstractException* lastInChain();

    char mcSourceFile[kFileNameLength + 1]; ///< cut to 60 characters, NUL-terminated
    unsigned int miSourceLine;
    char mcWhat[kWhatLength + 1]; ///< "bug" or "runtime", cut to 255 characters
    Type meType;
    cAbstractException* mpHistory;                 ///< owned; next exception of the chain
    bool mbOutOfMemory;                            ///< a copy of the history could not be made
    qcs::cComponentLocation* mpRemoteLocation;     ///< owned; null for a local exception
    std::uintptr_t miBacktrace[kBacktraceEntries]; ///< return addresses, 0-terminated
};

/// A programming error.
class QOR_EXPORT cBugException : public cAbstractException
{
public:
    /// Source file "unknown", line 0, empty message.
    cBugException();
    cBugException(const qucs::cLIMessage& oMsg, const char* pSourceFile, unsigned int iSourceLine);
    QOR_DECLARE_EXCEPTION_ASSIGNMENT(cBugException);

    cAbstractException* createObject() const override;
    cAsciiString typeName() const override;
    const qucs::cLIMessage* liMessage() const override;
    void store(qsa::cAbstractSerializer& oSerializer) const override;
    void load(qsa::cAbstractDeserializer& oDeserializer) override;
    void setMsg(const qucs::cLIMessage& oMsg) { moMessage = oMsg; }

    /// Throws "$MTR$Assertion failed in file %file%:%line%. (%operation%)!".
    [[noreturn]] static void throwAssertionFailed(const char* pOperation, const char* pFile,
                                                  unsigned int iLine);

private:
    qucs::cLIMessage moMessage;
};

/// A runtime condition.
class QOR_EXPORT cRuntimeException : public cAbstractException
{
public:
    cRuntimeException();
    cRuntimeException(const qucs::cLIMessage& oMsg, const char* pSourceFile,
                      unsigned int iSourceLine);
    QOR_DECLARE_EXCEPTION_ASSIGNMENT(cRuntimeException);

    cAbstractException* createObject() const override;
    cAsciiString typeName() const override;
    const qucs::cLIMessage* liMessage() const override;
    void store(qsa::cAbstractSerializer& oSerializer) const override;
    void load(qsa::cAbstractDeserializer& oDeserializer) override;
    void setMsg(const qucs::cLIMessage& oMsg) { moMessage = oMsg; }

private:
    qucs::cLIMessage moMessage;
};

/// Creates default-constructed exceptions by type name, so that chains can be
/// rebuilt from a stream. Applications supply the concrete factory.
class QOR_EXPORT cAbstractExceptionFactory
{
public:
    virtual ~cAbstractExceptionFactory();
    /// A new exception whose typeName() is sTypeName; throws when the name is unknown.
    virtual tAutoPtr<cAbstractException> createException(const cAsciiString& sTypeName) const = 0;
};

} // namespace qstd

/// Defines createObject() (a copy) and typeName() (the class name) of an exception
/// class; for use in a .cpp inside the class's namespace.
#define QOR_DEFINE_EXCEPTION_IDENTITY(CLASS)                                                       \
    ::qstd::cAbstractException* CLASS::createObject() const                                        \
    {                                                                                              \
        return new CLASS(*this);                                                                   \
    }                                                                                              \
    ::qstd::cAsciiString CLASS::typeName() const                                                   \
    {                                                                                              \
        return ::qstd::cAsciiString(#CLASS);                                                       \
    }

#endif // QOR_CORE_STD_EXCEPTION_H
