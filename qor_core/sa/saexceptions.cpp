// saexceptions.cpp - the throw family of the serialization namespace.
// SPDX-License-Identifier: MIT
#include "qor_core/sa/saexceptions.h"
#include "qor_core/std/exception.h"
#include "qor_core/ucs/limessage.h"

namespace qsa {

void cSAExceptions::throwContextRefNoImpl()
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$cContextRef::unguardImpl(): no valid reference!";
    throw qstd::cBugException(oMsg, nullptr, 0);
}

} // namespace qsa
