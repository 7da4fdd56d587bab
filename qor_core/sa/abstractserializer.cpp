// abstractserializer.cpp - default operations of the serializer interfaces and the
// scalar operators.
// SPDX-License-Identifier: MIT
#include "qor_core/sa/abstractserializer.h"
#include "qor_core/std/exception.h"
#include "qor_core/std/exceptions.h"
#include "qor_core/ucs/endecutf8.h"
#include "qor_core/ucs/string.h"

#include <cerrno>
#include <cstdio>

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
    qstd::tArray<char> oName;
    qucs::cEnDecUTF8().encodeCString(sPath, oName);
    qstd::tArrayRef<char> oData = data();
    std::FILE* pFile = std::fopen(oName.data(), "wb");
    if (!pFile)
        throw qstd::cOSErrorException("fopen", errno, sPath);
    bool bWritten =
        oData.empty() || std::fwrite(oData.data(), 1, oData.length(), pFile) == oData.length();
    int iError = errno;
    if (std::fclose(pFile) != 0 && bWritten) {
        bWritten = false;
        iError = errno;
    }
    if (!bWritten)
        throw qstd::cOSErrorException("write", iError, sPath);
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
