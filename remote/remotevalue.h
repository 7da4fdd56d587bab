// remotevalue.h - qremote::cRemoteValue, a variable made from the name of its type.
// SPDX-License-Identifier: MIT
#ifndef QOR_REMOTE_REMOTEVALUE_H
#define QOR_REMOTE_REMOTEVALUE_H

#include "qor_core/sa/referenceframe.h"
#include "qor_core/std/asciistring.h"
#include "qor_core/std/autoptr.h"
#include "remote/remoteglobal.h"

namespace qremote {

/// One variable of the frame with which the receiving side calls a slot: a remote
/// call names the type of each of its references ("piInt32", "cAsciiString", ...,
/// as qsa::tTypeName gives them), and the receiver makes a variable of that type,
/// loads the sent value into it and references it from the frame, so that the slot
/// finds the types it reads. The scalars, both string classes and piVoid can
/// travel; other types (sub-frames, application types) cannot.
class QOR_REMOTE_EXPORT cRemoteValue
{
public:
    virtual ~cRemoteValue();
    /// Appends a reference to the variable to oFrame.
    virtual void addTo(qsa::cReferenceFrame& oFrame, bool bAlterable, bool bReadable) = 0;

    /// A new value-initialised variable of the type sTypeName; empty when values of
    /// that type cannot travel.
    static qstd::tAutoPtr<cRemoteValue> create(const qstd::cAsciiString& sTypeName);
};

} // namespace qremote

#endif // QOR_REMOTE_REMOTEVALUE_H
