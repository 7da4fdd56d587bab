// piexceptions.cpp - the throw family of the platform layer.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/piexceptions.h"

namespace qpi {

QOR_DEFINE_EXCEPTION_IDENTITY(cUnsupportedPlatformException)
QOR_DEFINE_EXCEPTION_ASSIGNMENT(cUnsupportedPlatformException)

cUnsupportedPlatformException::cUnsupportedPlatformException() {}

cUnsupportedPlatformException::cUnsupportedPlatformException(const qstd::cAsciiString& sOperation)
    : msOperation(sOperation)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Operation (\"%operation%\") not supported for this platform!" << sOperation;
    setMsg(oMsg);
}

void cUnsupportedPlatformException::swap(cUnsupportedPlatformException& oOther)
{
    cBugException oMine(*this);
    cBugException::operator=(oOther);
    static_cast<cBugException&>(oOther) = oMine;
    msOperation.swap(oOther.msOperation);
}

void cPIExceptions::throwUnimplemented(const qstd::cAsciiString& sOperation)
{
    throw cUnsupportedPlatformException(sOperation);
}

void cPIExceptions::throwUnableGetCWD()
{
    throw qstd::cRuntimeException(
        qucs::cLIMessage::fromTemplate("$MTR$Unable to find out current working directory!"),
        nullptr, 0);
}

void cPIExceptions::throwUnableGetOSSpecificPath()
{
    throw qstd::cRuntimeException(
        qucs::cLIMessage::fromTemplate("$MTR$Unable to find out os specific path!"), nullptr, 0);
}

void cPIExceptions::throwRunnableNotCopyable()
{
    throw qstd::cBugException(qucs::cLIMessage::fromTemplate("$MTR$Threads could not be copied!"),
                              nullptr, 0);
}

void cPIExceptions::throwRunnableNotAssignable()
{
    throw qstd::cBugException(qucs::cLIMessage::fromTemplate("$MTR$Threads could not be assigned!"),
                              nullptr, 0);
}

} // namespace qpi
