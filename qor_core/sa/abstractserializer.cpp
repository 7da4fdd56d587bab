// abstractserializer.cpp - default operations of the serializer interfaces and the
// scalar operators.
// SPDX-License-Identifier: MIT
#include "qor_core/sa/abstractserializer.h"
#include "qor_core/std/exception.h"
#include "qor_core/std/exceptions.h"
#include "qor_core/io/file.h"
#include "qor_core/io/ioexceptions.h"
#include "qor_core/pi/system.h"
#include "qor_core/ucs/string.h"

namespace qsa {

cAbstractSerializer::~cAbstractSerializer() {}

void cAbstractSerializer::store(unsigned short iValue)
{
    store((unsigned int)iValue);
}
void cAbstractSerializer::store(short iValue)
{
    store((int)iValue);
}

void cAbstractSerializer::storeToFile(const qucs::cString& sPath)
{
    qstd::tArrayRef<char> oData = data();
    qio::cFile oFile(qpi::system().fs(), sPath, qio::WriteOnly, qio::CreateIfMissing,
                     qio::Truncate);
    if (!oData.empty() && oFile.write(oData.data(), oData.length()) != oData.length())
        qio::cIOExceptions::throwUnableToWrite(oData.length());
    // Closing reports what the destructor would swallow.
    oFile.close();
}

cAbstractDeserializer::~cAbstractDeserializer() {}

void cAbstractDeserializer::load(unsigned short& iValue)
{
    unsigned int iWide = 0;
    load(iWide);
    iValue = (unsigned short)iWide;
}

void cAbstractDeserializer::load(short& iValue)
{
    int iWide = 0;
    load(iWide);
    iValue = (short)iWide;
}

#define QOR_SCALAR_OPERATORS(TYPE)                                                                 \
    cAbstractSerializer& operator>>(TYPE oValue, cAbstractSerializer& s)                           \
    {                                                                                              \
        s.store(oValue);                                                                           \
        return s;                                                                                  \
    }                                                                                              \
    cAbstractDeserializer& operator<<(TYPE& oValue, cAbstractDeserializer& d)                      \
    {                                                                                              \
        d.load(oValue);                                                                            \
        return d;                                                                                  \
    }

QOR_SCALAR_OPERATORS(bool)
QOR_SCALAR_OPERATORS(signed char)
QOR_SCALAR_OPERATORS(unsigned char)
QOR_SCALAR_OPERATORS(short)
QOR_SCALAR_OPERATORS(unsigned short)
QOR_SCALAR_OPERATORS(int)
QOR_SCALAR_OPERATORS(unsigned int)
QOR_SCALAR_OPERATORS(long long)
QOR_SCALAR_OPERATORS(unsigned long long)
QOR_SCALAR_OPERATORS(double)

#undef QOR_SCALAR_OPERATORS

} // namespace qsa
