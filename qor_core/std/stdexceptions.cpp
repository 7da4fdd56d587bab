// stdexceptions.cpp - the throw family of the foundation library.
// SPDX-License-Identifier: MIT
#include "qor_core/std/stdexceptions.h"
#include "qor_core/pi/debug.h"
#include "qor_core/std/exceptions.h"
#include "qor_core/std/sharedobject.h"

namespace qstd {

namespace {
void writeStackTrace()
{
    QOR_DEBUG_LINE(qpi::piStackTrace(128));
}
} // namespace

void cSTDExceptions::throwCoreBug(const char* pBug, const char* pFile, unsigned iLine)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Bug (\"%bug%\") detected!" << cAsciiString(pBug);
    throw cBugException(oMsg, pFile, iLine);
}

void cSTDExceptions::throwAssertionFailed(const char* pOperation, const char* pFile, unsigned iLine)
{
    writeStackTrace();
    cBugException::throwAssertionFailed(pOperation, pFile, iLine);
}

void cSTDExceptions::throwUnsupportedOperation(const cAsciiString& sOperation)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$The operation \"%s%\" is not supported!" << sOperation;
    throw cBugException(oMsg, nullptr, 0);
}

void cSTDExceptions::throwUnexpectedEndOfInput()
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Unexpected end of input!";
    throw cRuntimeException(oMsg, nullptr, 0);
}

void cSTDExceptions::throwOutOfBounds(const char* pContainer, const char* pOperation)
{
    throw cOutOfBoundsException(pContainer, pOperation);
}

void cSTDExceptions::throwElementNotFound(const char* pContainer, const char* pOperation)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Element could not be found in \"%container%\" while operation \"%operation%\"!"
         << cAsciiString(pContainer) << cAsciiString(pOperation);
    throw cBugException(oMsg, nullptr, 0);
}

void cSTDExceptions::throwInvalidDecimalBase(int iBase, int iMin, int iMax)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Invalid base for a decimal. The base must be between %min% and %max% but is "
            "%base%!"
         << iMin << iMax << iBase;
    throw cRuntimeException(oMsg, nullptr, 0);
}

void cSTDExceptions::throwInvalidDecimal(const qucs::cString& sString, unsigned iIndex)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Invalid decimal number (\"%string%\"). Character at index %index% not points to "
            "digit!"
         << sString << iIndex;
    throw cRuntimeException(oMsg, nullptr, 0);
}

void cSTDExceptions::throwTextParseError(const qucs::cLIMessage& oMsg, const cAsciiString& sFormat,
                                         const qucs::cString& sFileName, unsigned iRow,
                                         unsigned iColumn)
{
    throw cTextParseException(oMsg, sFormat, sFileName, iRow, iColumn);
}

void cSTDExceptions::throwWrongAnyDereference(const cAsciiString& sType,
                                              const cAsciiString& sContains)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$User requested object of wrong type (\"%type%\") from type cAny which contains "
            "\"%contains%\"!"
         << sType << sContains;
    cTypeMissmatchException oException(sContains, sType);
    oException.link(new cRuntimeException(oMsg, nullptr, 0));
    throw oException;
}

void cSTDExceptions::throwOutOfRange(const char* pContainer, const char* pOperation,
                                     OutOfRangeType eType, long long iValue, long long iMin,
                                     long long iMax)
{
    writeStackTrace();
    throw cOutOfRangeException(pContainer, pOperation, eType, iValue, iMin, iMax);
}

void tSharedObjectData::throwWrongSharedObjectDereference()
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Invalid shared object dereference!";
    throw cBugException(oMsg, nullptr, 0);
}

} // namespace qstd
