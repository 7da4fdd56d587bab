// ucsexceptions.cpp - the throw family of qucs.
// SPDX-License-Identifier: MIT
#include "qor_core/ucs/ucsexceptions.h"
#include "qor_core/std/exception.h"
#include "qor_core/ucs/limessage.h"

namespace qucs {

namespace {
[[noreturn]] void throwWithCause(const cLIMessage& oMsg, const qstd::cAbstractException& oCause)
{
    qstd::cRuntimeException oException(oMsg, nullptr, 0);
    oException.link(oCause);
    throw oException;
}
} // namespace

void cUCSExceptions::throwUCSDecodeError(const qstd::cAbstractException& oCause)
{
    cLIMessage oMsg;
    oMsg << "$MTR$Unicode decode error!";
    throwWithCause(oMsg, oCause);
}

void cUCSExceptions::throwUSCEncodeError(const qstd::cAbstractException& oCause)
{
    cLIMessage oMsg;
    oMsg << "$MTR$Unicode encoding error!";
    throwWithCause(oMsg, oCause);
}

void cUCSExceptions::throwUnableToReadTranslationFile(const qstd::cAbstractException& oCause,
                                                      const cString& sFileName)
{
    cLIMessage oMsg;
    oMsg << "$MTR$Unable to read translation file (%filename%)!" << sFileName;
    throwWithCause(oMsg, oCause);
}

void cUCSExceptions::throwUnableToParseTranslationFile(const qstd::cAbstractException& oCause,
                                                       const cString& sFileName, unsigned iLine)
{
    cLIMessage oMsg;
    oMsg << "$MTR$Unable to parse translation file (%filename%) line %line%!" << sFileName << iLine;
    throwWithCause(oMsg, oCause);
}

void throwUEOD(unsigned iIndex)
{
    cLIMessage oMsg;
    oMsg << "$MTR$UTF8 decode error - unexpected end of data at index %index%!" << iIndex;
    throw qstd::cRuntimeException(oMsg, nullptr, 0);
}

} // namespace qucs
