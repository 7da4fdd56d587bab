// exceptions.cpp - the exception classes of the foundation library.
// SPDX-License-Identifier: MIT
#include "qor_core/std/exceptions.h"
#include "qor_core/pi/platform.h"

namespace qstd {

namespace {
cAsciiString nameOrUnknown(const char* pName)
{
    return cAsciiString(pName ? pName : "unknown");
}

const char* rangeTemplate(cSTDExceptions::OutOfRangeType eType)
{
    switch (eType) {
    case cSTDExceptions::Value:
        return "$MTR$Value out of range in %container% / %operation%. The value should be between "
               "%min% and %max% but is %index%!";
    case cSTDExceptions::Size:
        return "$MTR$Size is out of range in %container% / %operation%. The size must be a value "
               "%min% and %max% but is %size%!";
    case cSTDExceptions::IndexOrSize:
        return "$MTR$Index or size is out of range in %container% / %operation%. The value must be "
               "between %min% and %max% but is %value%!";
    case cSTDExceptions::EndValue:
        return "$MTR$End-value is out of range in %container% / %operation%. The value must be "
               "between %min% and %max% but is %value%!";
    default:
        return "$MTR$Index out of range in %container% / %operation%. The index should be between "
               "%min% - %max% but is %index%!";
    }
}
} // namespace

QOR_DEFINE_EXCEPTION_IDENTITY(cOutOfRangeException)
QOR_DEFINE_EXCEPTION_ASSIGNMENT(cOutOfRangeException)
QOR_DEFINE_EXCEPTION_IDENTITY(cOutOfBoundsException)
QOR_DEFINE_EXCEPTION_ASSIGNMENT(cOutOfBoundsException)
QOR_DEFINE_EXCEPTION_IDENTITY(cTypeErrorException)
QOR_DEFINE_EXCEPTION_ASSIGNMENT(cTypeErrorException)
QOR_DEFINE_EXCEPTION_IDENTITY(cTypeMissmatchException)
QOR_DEFINE_EXCEPTION_ASSIGNMENT(cTypeMissmatchException)
QOR_DEFINE_EXCEPTION_IDENTITY(cTextParseException)
QOR_DEFINE_EXCEPTION_ASSIGNMENT(cTextParseException)
QOR_DEFINE_EXCEPTION_IDENTITY(cOSErrorException)
QOR_DEFINE_EXCEPTION_ASSIGNMENT(cOSErrorException)
QOR_DEFINE_EXCEPTION_IDENTITY(cNumberConversionException)
QOR_DEFINE_EXCEPTION_ASSIGNMENT(cNumberConversionException)

cOutOfRangeException::cOutOfRangeException()
    : meRangeType(cSTDExceptions::Index), miValue(0), miMin(0), miMax(0)
{
}

cOutOfRangeException::cOutOfRangeException(const char* pContainer, const char* pOperation,
                                           cSTDExceptions::OutOfRangeType eType, long long iValue,
                                           long long iMin, long long iMax)
    : meRangeType(eType), miValue(iValue), miMin(iMin), miMax(iMax),
      msContainer(nameOrUnknown(pContainer)), msOperation(nameOrUnknown(pOperation))
{
    qucs::cLIMessage oMsg;
    oMsg << rangeTemplate(eType) << msContainer << msOperation << iMin << iMax << iValue;
    setMsg(oMsg);
}

cOutOfBoundsException::cOutOfBoundsException() {}

cOutOfBoundsException::cOutOfBoundsException(const char* pContainer, const char* pOperation)
    : msContainer(pContainer), msOperation(pOperation)
{
    qucs::cLIMessage oMsg;
    if (pContainer && pOperation)
        oMsg << "$MTR$Out of bounds condition detected in \"%container%\" while executing "
                "\"%operation%\"!";
    else if (pContainer)
        oMsg << "$MTR$Out of bounds condition detected in \"%container%\"!";
    else
        oMsg << "$MTR$Out of bounds condition detected!";
    oMsg << msContainer << msOperation;
    setMsg(oMsg);
}

cTypeErrorException::cTypeErrorException() {}

cTypeErrorException::cTypeErrorException(const cAsciiString& sType) : msType(sType)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Type error while deserializing of %type%!" << sType;
    setMsg(oMsg);
}

cTypeMissmatchException::cTypeMissmatchException() {}

cTypeMissmatchException::cTypeMissmatchException(const cAsciiString& sAssigned,
                                                 const cAsciiString& sExpected)
    : cTypeErrorException(sAssigned), msAssigned(sAssigned), msExpected(sExpected)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Type mismatch: Expecting type \"%expected%\" but got object of type \"%got%\"!"
         << sExpected << sAssigned;
    setMsg(oMsg);
}

cTextParseException::cTextParseException() : miRow(0), miColumn(0) {}

cTextParseException::cTextParseException(const qucs::cLIMessage& oMsg, const cAsciiString& sFormat,
                                         unsigned iRow, unsigned iColumn)
    : cRuntimeException(oMsg, nullptr, 0), msFormat(sFormat), miRow(iRow), miColumn(iColumn)
{
}

cTextParseException::cTextParseException(const qucs::cLIMessage& oMsg, const cAsciiString& sFormat,
                                         const qucs::cString& sFileName, unsigned iRow,
                                         unsigned iColumn)
    : cRuntimeException(oMsg, nullptr, 0), msFileName(sFileName), msFormat(sFormat), miRow(iRow),
      miColumn(iColumn)
{
}

cOSErrorException::cOSErrorException() : miOSErrorCode(0) {}

cOSErrorException::cOSErrorException(const cAsciiString& sOperation, int iOSErrorCode)
    : msOperation(sOperation), miOSErrorCode(iOSErrorCode)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$OS-Error while trying operation \"%operation%\"!" << sOperation;
    setMsg(oMsg);
    linkErrorText();
}

cOSErrorException::cOSErrorException(const cAsciiString& sOperation, int iOSErrorCode,
                                     const qucs::cString& sFile)
    : msOperation(sOperation), miOSErrorCode(iOSErrorCode), msFile(sFile)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$OS-Error while trying operation \"%operation%\" on file \"%file%\"!" << sOperation
         << sFile;
    setMsg(oMsg);
    linkErrorText();
}

void cOSErrorException::linkErrorText()
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Error: \"%error%\"!" << qpi::cPlatform().osFileIOErrorString(miOSErrorCode);
    link(new cRuntimeException(oMsg, nullptr, 0));
}

cNumberConversionException::cNumberConversionException() : miIndex(0) {}

cNumberConversionException::cNumberConversionException(const cAsciiString& sNumber, unsigned iIndex)
    : msNumber(sNumber), miIndex(iIndex)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Number conversion error. \"%string%\" contains invalid characters at index "
            "%index%!"
         << sNumber << iIndex;
    setMsg(oMsg);
}

} // namespace qstd
