// serializebinaryshared.cpp - names of the binary format's type ids.
// SPDX-License-Identifier: MIT
#include "qor_core/sa/serializebinaryshared.h"

namespace qsa {

const char* cSerializeBinaryShared::idToString(piUInt32 iId)
{
    static const char* const kNames[] = {
        "invalid",    "rawBytes",  "piUChar",  "piChar",       "piUInt32", "piInt32", "piUInt64",
        "piInt64",    "piBool",    "piDouble", "cAsciiString", "cString",  "context", "label",
        "rawBytes64", "context64", "cString",  "piUInt16",     "piInt16",  "invalid"};
    static_assert(sizeof(kNames) / sizeof(kNames[0]) == LastKnownID + 1, "one name per id");
    return iId <= LastKnownID ? kNames[iId] : "unknown type";
}

} // namespace qsa
