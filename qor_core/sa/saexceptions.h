// saexceptions.h - the throw family of the serialization namespace and its exception class.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_SA_SAEXCEPTIONS_H
#define QOR_CORE_SA_SAEXCEPTIONS_H

#include "qor_core/std/exceptions.h"

namespace qsa {

/// The type mismatch of the deserializers when a label was passed over before the
/// item: the message names the last label, which locates the failure in the stream.
class QOR_EXPORT cLabeledTypeMissmatchException : public qstd::cTypeMissmatchException
{
public:
    cLabeledTypeMissmatchException();
    cLabeledTypeMissmatchException(const qstd::cAsciiString& sAssigned,
                                   const qstd::cAsciiString& sExpected,
                                   const qstd::cAsciiString& sLabel);
    QOR_DECLARE_EXCEPTION_ASSIGNMENT(cLabeledTypeMissmatchException);
    qstd::cAbstractException* createObject() const override;
    qstd::cAsciiString typeName() const override;

    const qstd::cAsciiString& lastLabel() const { return msLabel; }

private:
    qstd::cAsciiString msLabel;
};

/// Static throw helpers of the serializers; each throws and never returns. All are
/// thrown with source file null and line 0.
class QOR_EXPORT cSAExceptions
{
public:
    /// cRuntimeException "$MTR$Unable to deserialize - end of context!": an item, a
    /// payload or a context reaches past the current context or the data.
    [[noreturn]] static void throwEndOfContext();
    /// cRuntimeException naming the label.
    [[noreturn]] static void throwLabelNotFound(const qstd::cAsciiString& sLabel);
    /// cRuntimeException "Serialization error (class)" with a copy of oCause beneath.
    [[noreturn]] static void throwSerializationError(const qstd::cAbstractException& oCause,
                                                     const qstd::cAsciiString& sClassName);
    /// cRuntimeException "Deserialization error in (class)" with a copy of oCause beneath.
    [[noreturn]] static void throwDeserializationError(const qstd::cAbstractException& oCause,
                                                       const qstd::cAsciiString& sClassName);
    /// cBugException "$MTR$cContextRef::unguardImpl(): no valid reference!"
    [[noreturn]] static void throwContextRefNoImpl();
    /// cBugException: a type that only lives in this process was to be serialized.
    [[noreturn]] static void throwUnserializable(const char* pType);
    /// cBugException: clear() while a context is open.
    [[noreturn]] static void throwSerializerClearWithOpenContexts();
    /// cBugException: data() while a context is open.
    [[noreturn]] static void throwSerializerDataWithOpenContexts();
    /// cRuntimeException: the stream holds an id the operation cannot handle.
    [[noreturn]] static void throwInvalidTypeId(long long iId);
    /// cRuntimeException: a reader was to enter more than iMaxDepth nested contexts.
    [[noreturn]] static void throwContextsNestedTooDeep(unsigned iMaxDepth);
    /// cBugException "$MTR$A reference frame cannot contain itself!": a reference
    /// would make a frame a sub-frame of itself, at some depth.
    [[noreturn]] static void throwFrameContainsItself();
    /// cBugException: a frame was to append its own references without a copy.
    [[noreturn]] static void throwFrameAppendedToItself();
    /// cTypeMissmatchException, or cLabeledTypeMissmatchException when sLastLabel is
    /// not empty.
    [[noreturn]] static void throwTypeMissmatch(const qstd::cAsciiString& sAssigned,
                                                const qstd::cAsciiString& sExpected,
                                                const qstd::cAsciiString& sLastLabel);
};

} // namespace qsa

#endif // QOR_CORE_SA_SAEXCEPTIONS_H
