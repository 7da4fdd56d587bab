// serializetotypestring.cpp - cSerializeToTypeString.
// SPDX-License-Identifier: MIT
#include "qor_core/sa/serializetotypestring.h"
#include "qor_core/std/array.h"
#include "qor_core/std/stdexceptions.h"

namespace qsa {

cSerializeToTypeString::cSerializeToTypeString() {}

cSerializeToTypeString::~cSerializeToTypeString() {}

void cSerializeToTypeString::storeType(const char* pTypeName)
{
    if (!msTypeString.empty())
        msTypeString += ", ";
    msTypeString += pTypeName;
}

void cSerializeToTypeString::storeBlock(const char*, unsigned)
{
    storeType("char*");
}
void cSerializeToTypeString::store(unsigned char)
{
    storeType("piUChar");
}
void cSerializeToTypeString::store(signed char)
{
    storeType("piChar");
}
void cSerializeToTypeString::store(unsigned short)
{
    storeType("piUInt16");
}
void cSerializeToTypeString::store(short)
{
    storeType("piInt16");
}
void cSerializeToTypeString::store(unsigned int)
{
    storeType("piUInt32");
}
void cSerializeToTypeString::store(int)
{
    storeType("piInt32");
}
void cSerializeToTypeString::store(unsigned long long)
{
    storeType("piUInt64");
}
void cSerializeToTypeString::store(long long)
{
    storeType("piInt64");
}
void cSerializeToTypeString::store(bool)
{
    storeType("piBool");
}
void cSerializeToTypeString::store(double)
{
    storeType("piDouble");
}
void cSerializeToTypeString::store(const qstd::cAsciiString&)
{
    storeType("cAsciiString");
}
void cSerializeToTypeString::store(const qucs::cString&)
{
    storeType("cString");
}

void cSerializeToTypeString::rewind()
{
    msTypeString = qstd::cAsciiString();
}

void cSerializeToTypeString::clear()
{
    msTypeString = qstd::cAsciiString();
}

cContextRef cSerializeToTypeString::newContext(const char*)
{
    qstd::cSTDExceptions::throwUnsupportedOperation("cSerializeToTypeString::newContext(...)");
}

void cSerializeToTypeString::releaseCurrentContext() {}

void cSerializeToTypeString::newLabel(const qstd::cAsciiString&) {}

qstd::tArrayRef<char> cSerializeToTypeString::data()
{
    qstd::cSTDExceptions::throwUnsupportedOperation("cSerializeToTypeString::data()");
}

void cSerializeToTypeString::swapData(qstd::tArray<char>& oData)
{
    // The string keeps its characters in an array with other traits, so the
    // exchange goes through copies.
    qstd::tArray<char> oChars(msTypeString.data(true), msTypeString.length());
    msTypeString = qstd::cAsciiString(oData.data(true), oData.length());
    oChars.swap(oData);
}

} // namespace qsa
