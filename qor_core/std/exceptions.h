// exceptions.h - the exception classes of the foundation library.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_EXCEPTIONS_H
#define QOR_CORE_STD_EXCEPTIONS_H

#include "qor_core/std/exception.h"
#include "qor_core/std/stdexceptions.h"

namespace qstd {

/// A position, size or value outside its range. The message depends on the range
/// type; null container or operation names are stored as "unknown".
class QOR_EXPORT cOutOfRangeException : public cBugException
{
public:
    cOutOfRangeException();
    cOutOfRangeException(const char* pContainer, const char* pOperation,
                         cSTDExceptions::OutOfRangeType eType, long long iValue, long long iMin,
                         long long iMax);
    QOR_DECLARE_EXCEPTION_ASSIGNMENT(cOutOfRangeException);
    cAbstractException* createObject() const override;
    cAsciiString typeName() const override;

    cSTDExceptions::OutOfRangeType outOfRangeType() const { return meRangeType; }
    long long errornousValue() const { return miValue; }
    long long minValue() const { return miMin; }
    long long maxValue() const { return miMax; }
    const cAsciiString& container() const { return msContainer; }
    const cAsciiString& operation() const { return msOperation; }

private:
    cSTDExceptions::OutOfRangeType meRangeType;
    long long miValue;
    long long miMin;
    long long miMax;
    cAsciiString msContainer;
    cAsciiString msOperation;
};

/// An access outside a container that has no range to report.
class QOR_EXPORT cOutOfBoundsException : public cBugException
{
public:
    cOutOfBoundsException();
    cOutOfBoundsException(const char* pContainer, const char* pOperation);
    QOR_DECLARE_EXCEPTION_ASSIGNMENT(cOutOfBoundsException);
    cAbstractException* createObject() const override;
    cAsciiString typeName() const override;

    const cAsciiString& container() const { return msContainer; }
    const cAsciiString& operation() const { return msOperation; }

private:
    cAsciiString msContainer;
    cAsciiString msOperation;
};

/// A value of an unexpected type was read.
class QOR_EXPORT cTypeErrorException : public cBugException
{
public:
    cTypeErrorException();
    explicit cTypeErrorException(const cAsciiString& sType);
    QOR_DECLARE_EXCEPTION_ASSIGNMENT(cTypeErrorException);
    cAbstractException* createObject() const override;
    cAsciiString typeName() const override;

    const cAsciiString& type() const { return msType; }

private:
    cAsciiString msType;
};

/// An object of one type was found where another was expected.
class QOR_EXPORT cTypeMissmatchException : public cTypeErrorException
{
public:
    cTypeMissmatchException();
    cTypeMissmatchException(const cAsciiString& sAssigned, const cAsciiString& sExpected);
    QOR_DECLARE_EXCEPTION_ASSIGNMENT(cTypeMissmatchException);
    cAbstractException* createObject() const override;
    cAsciiString typeName() const override;

    const cAsciiString& assignedType() const { return msAssigned; }
    const cAsciiString& expectedType() const { return msExpected; }

private:
    cAsciiString msAssigned;
    cAsciiString msExpected;
};

/// A text in some format could not be parsed at a row and column.
class QOR_EXPORT cTextParseException : public cRuntimeException
{
public:
    cTextParseException();
    cTextParseException(const qucs::cLIMessage& oMsg, const cAsciiString& sFormat, unsigned iRow,
                        unsigned iColumn);
    cTextParseException(const qucs::cLIMessage& oMsg, const cAsciiString& sFormat,
                        const qucs::cString& sFileName, unsigned iRow, unsigned iColumn);
    QOR_DECLARE_EXCEPTION_ASSIGNMENT(cTextParseException);
    cAbstractException* createObject() const override;
    cAsciiString typeName() const override;

    const qucs::cString& fileName() const { return msFileName; }
    const cAsciiString& format() const { return msFormat; }
    unsigned row() const { return miRow; }
    unsigned column() const { return miColumn; }

private:
    qucs::cString msFileName; ///< empty when not given
    cAsciiString msFormat;
    unsigned miRow;
    unsigned miColumn;
};

/// An operating-system call failed; the system's text for the error code is linked
/// beneath as a cRuntimeException.
class QOR_EXPORT cOSErrorException : public cRuntimeException
{
public:
    cOSErrorException();
    cOSErrorException(const cAsciiString& sOperation, int iOSErrorCode);
    cOSErrorException(const cAsciiString& sOperation, int iOSErrorCode, const qucs::cString& sFile);
    QOR_DECLARE_EXCEPTION_ASSIGNMENT(cOSErrorException);
    cAbstractException* createObject() const override;
    cAsciiString typeName() const override;

    const cAsciiString& operation() const { return msOperation; }
    int osErrorCode() const { return miOSErrorCode; }
    const qucs::cString& file() const { return msFile; }

private:
    void linkErrorText();

    cAsciiString msOperation;
    int miOSErrorCode;
    qucs::cString msFile;
};

/// A number text holds a character that is not a digit.
class QOR_EXPORT cNumberConversionException : public cRuntimeException
{
public:
    cNumberConversionException();
    cNumberConversionException(const cAsciiString& sNumber, unsigned iIndex);
    QOR_DECLARE_EXCEPTION_ASSIGNMENT(cNumberConversionException);
    cAbstractException* createObject() const override;
    cAsciiString typeName() const override;

    const cAsciiString& errornousNumber() const { return msNumber; }
    unsigned errornousIndex() const { return miIndex; }

private:
    cAsciiString msNumber;
    unsigned miIndex;
};

} // namespace qstd

#endif // QOR_CORE_STD_EXCEPTIONS_H
