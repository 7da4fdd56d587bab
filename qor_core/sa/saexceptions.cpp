// saexceptions.cpp - the throw family of the serialization namespace.
// SPDX-License-Identifier: MIT
#include "qor_core/sa/saexceptions.h"
#include "qor_core/std/exception.h"
#include "qor_core/ucs/limessage.h"

namespace qsa {

cLabeledTypeMissmatchException::cLabeledTypeMissmatchException() {}

cLabeledTypeMissmatchException::cLabeledTypeMissmatchException(const qstd::cAsciiString& sAssigned,
                                                               const qstd::cAsciiString& sExpected,
                                                               const qstd::cAsciiString& sLabel)
    : qstd::cTypeMissmatchException(sAssigned, sExpected), msLabel(sLabel)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Type mismatch: Expecting type \"%expected%\" but got object of type \"%got%\" - "
            "last label was \"%label%\"!"
         << sExpected << sAssigned << sLabel;
    setMsg(oMsg);
}

QOR_DEFINE_EXCEPTION_IDENTITY(cLabeledTypeMissmatchException)
QOR_DEFINE_EXCEPTION_ASSIGNMENT(cLabeledTypeMissmatchException)

void cSAExceptions::throwEndOfContext()
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Unable to deserialize - end of context!";
    throw qstd::cRuntimeException(oMsg, nullptr, 0);
}

void cSAExceptions::throwLabelNotFound(const qstd::cAsciiString& sLabel)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Unable to deserialize - label (\"%label%\") not found in current context!"
         << sLabel;
    throw qstd::cRuntimeException(oMsg, nullptr, 0);
}

void cSAExceptions::throwSerializationError(const qstd::cAbstractException& oCause,
                                            const qstd::cAsciiString& sClassName)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Serialization error (%class%)!" << sClassName;
    qstd::cRuntimeException e(oMsg, nullptr, 0);
    e.link(oCause);
    throw e;
}

void cSAExceptions::throwDeserializationError(const qstd::cAbstractException& oCause,
                                              const qstd::cAsciiString& sClassName)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Deserialization error in (%class%)!" << sClassName;
    qstd::cRuntimeException e(oMsg, nullptr, 0);
    e.link(oCause);
    throw e;
}

void cSAExceptions::throwContextRefNoImpl()
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$cContextRef::unguardImpl(): no valid reference!";
    throw qstd::cBugException(oMsg, nullptr, 0);
}

void cSAExceptions::throwUnserializable(const char* pType)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Attempt to serialize the local type %type%!"
         << qstd::cAsciiString(pType ? pType : "unknown");
    throw qstd::cBugException(oMsg, nullptr, 0);
}

void cSAExceptions::throwSerializerClearWithOpenContexts()
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Calling erase() with open contexts is invalid!";
    throw qstd::cBugException(oMsg, nullptr, 0);
}

void cSAExceptions::throwSerializerDataWithOpenContexts()
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Calling data() with open contexts is invalid!";
    throw qstd::cBugException(oMsg, nullptr, 0);
}

void cSAExceptions::throwInvalidTypeId(long long iId)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Invalid type id (%id%) while deserializing!" << iId;
    throw qstd::cRuntimeException(oMsg, nullptr, 0);
}

void cSAExceptions::throwContextsNestedTooDeep(unsigned iMaxDepth)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Unable to deserialize - contexts are nested deeper than %max% levels!"
         << iMaxDepth;
    throw qstd::cRuntimeException(oMsg, nullptr, 0);
}

void cSAExceptions::throwFrameContainsItself()
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$A reference frame cannot contain itself!";
    throw qstd::cBugException(oMsg, nullptr, 0);
}

void cSAExceptions::throwFrameAppendedToItself()
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$A reference frame cannot append itself without a copy (use append())!";
    throw qstd::cBugException(oMsg, nullptr, 0);
}

void cSAExceptions::throwTypeMissmatch(const qstd::cAsciiString& sAssigned,
                                       const qstd::cAsciiString& sExpected,
                                       const qstd::cAsciiString& sLastLabel)
{
    if (!sLastLabel.empty())
        throw cLabeledTypeMissmatchException(sAssigned, sExpected, sLastLabel);
    throw qstd::cTypeMissmatchException(sAssigned, sExpected);
}

} // namespace qsa
