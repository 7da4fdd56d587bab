// The throw family of the serialization namespace: class, message and cause of each.
#include "qor_core/sa/saexceptions.h"
#include "std/testutil.h"

using qsa::cSAExceptions;
using qstd::cAsciiString;

TEST(SAExceptions, ThrowFamily)
{
    const qstd::cRuntimeException oCause(qucs::cLIMessage::fromTemplate("$MTR$cause"), nullptr, 0);
    qortest::expectThrownChains({
        {"end of context", [] { cSAExceptions::throwEndOfContext(); },
         "cRuntimeException: Unable to deserialize - end of context!"},
        {"label", [] { cSAExceptions::throwLabelNotFound("id"); },
         "cRuntimeException: Unable to deserialize - label (\"id\") not found in current context!"},
        {"serialization", [&] { cSAExceptions::throwSerializationError(oCause, "cX"); },
         "cRuntimeException: Serialization error (cX)! | cRuntimeException: cause"},
        {"deserialization", [&] { cSAExceptions::throwDeserializationError(oCause, "cX"); },
         "cRuntimeException: Deserialization error in (cX)! | cRuntimeException: cause"},
        {"context ref", [] { cSAExceptions::throwContextRefNoImpl(); },
         "cBugException: cContextRef::unguardImpl(): no valid reference!"},
        {"unserializable", [] { cSAExceptions::throwUnserializable("tLocal"); },
         "cBugException: Attempt to serialize the local type tLocal!"},
        {"unserializable null", [] { cSAExceptions::throwUnserializable(nullptr); },
         "cBugException: Attempt to serialize the local type unknown!"},
        {"clear", [] { cSAExceptions::throwSerializerClearWithOpenContexts(); },
         "cBugException: Calling erase() with open contexts is invalid!"},
        {"data", [] { cSAExceptions::throwSerializerDataWithOpenContexts(); },
         "cBugException: Calling data() with open contexts is invalid!"},
        {"type id", [] { cSAExceptions::throwInvalidTypeId(-3); },
         "cRuntimeException: Invalid type id (-3) while deserializing!"},
        {"depth", [] { cSAExceptions::throwContextsNestedTooDeep(64); },
         "cRuntimeException: Unable to deserialize - contexts are nested deeper than 64 levels!"},
        {"frame contains", [] { cSAExceptions::throwFrameContainsItself(); },
         "cBugException: A reference frame cannot contain itself!"},
        {"frame appended", [] { cSAExceptions::throwFrameAppendedToItself(); },
         "cBugException: A reference frame cannot append itself without a copy (use append())!"},
        {"type mismatch", [] { cSAExceptions::throwTypeMissmatch("piInt32", "cString", "n"); },
         "cLabeledTypeMissmatchException: Type mismatch: Expecting type \"cString\" but got object "
         "of type \"piInt32\" - last label was \"n\"!"},
    });
}
