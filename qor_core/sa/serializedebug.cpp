// serializedebug.cpp - cSerializeDebug and its context data.
// SPDX-License-Identifier: MIT
#include "qor_core/sa/serializedebug.h"
#include "qor_core/pi/debug.h"
#include "qor_core/std/array.h"
#include "qor_core/std/stdexceptions.h"
#include "qor_core/ucs/string.h"

namespace qsa {

cDummyContextData::cDummyContextData(cSerializeDebug& oSerializer)
    : moSerializer(oSerializer), mbReleased(false)
{
}

cDummyContextData::~cDummyContextData()
{
    if (mbReleased)
        moSerializer.releaseCurrentContext();
}

void cDummyContextData::release()
{
    mbReleased = true;
}

cSerializeDebug::cSerializeDebug() : miDepth(0) {}

cSerializeDebug::~cSerializeDebug() {}

void cSerializeDebug::storeDataLine(const qstd::cAsciiString& sText, bool bIsValue)
{
    qstd::cAsciiString sLine;
    for (unsigned i = 0; i < miDepth; ++i)
        sLine += "    ";
    if (!msLabel.empty()) {
        sLine += "<label ";
        sLine += msLabel;
        sLine += "> ";
        msLabel = qstd::cAsciiString();
    }
    sLine += sText;
    if (bIsValue)
        sLine += ';';
    QOR_DEBUG_LINE(sLine);
}

void cSerializeDebug::storeValue(const char* pTypeName, const qstd::cAsciiString& sValue)
{
    qstd::cAsciiString sText(pTypeName);
    sText += " = ";
    sText += sValue;
    storeDataLine(sText, true);
}

void cSerializeDebug::storeBlock(const char*, unsigned iSize)
{
    qstd::cAsciiString sText("<raw bytes of size ");
    sText.addUNum32(iSize);
    sText += '>';
    storeDataLine(sText, true);
}

void cSerializeDebug::store(unsigned char iValue)
{
    storeValue("piUChar", qstd::cAsciiString().setUNum32(iValue));
}

void cSerializeDebug::store(signed char iValue)
{
    storeValue("piChar", qstd::cAsciiString().setNum32(iValue));
}

void cSerializeDebug::store(unsigned short iValue)
{
    storeValue("piUInt16", qstd::cAsciiString().setUNum32(iValue));
}

void cSerializeDebug::store(short iValue)
{
    storeValue("piInt16", qstd::cAsciiString().setNum32(iValue));
}

void cSerializeDebug::store(unsigned int iValue)
{
    storeValue("piUInt32", qstd::cAsciiString().setUNum32(iValue));
}

void cSerializeDebug::store(int iValue)
{
    storeValue("piInt32", qstd::cAsciiString().setNum32(iValue));
}

void cSerializeDebug::store(unsigned long long iValue)
{
    storeValue("piUInt64", qstd::cAsciiString().setUNum(iValue));
}

void cSerializeDebug::store(long long iValue)
{
    storeValue("piInt64", qstd::cAsciiString().setNum(iValue));
}

void cSerializeDebug::store(bool bValue)
{
    storeValue("piBool", qstd::cAsciiString(bValue ? "true" : "false"));
}

void cSerializeDebug::store(double)
{
    storeValue("piDoubleID", qstd::cAsciiString("x.y"));
}

void cSerializeDebug::store(const qstd::cAsciiString& sValue)
{
    storeValue("cAsciiString", qstd::cAsciiString("\"") + sValue + "\"");
}

void cSerializeDebug::store(const qucs::cString& sValue)
{
    storeValue("cString", qstd::cAsciiString("\"") + sValue.ascii() + "\"");
}

void cSerializeDebug::rewind()
{
    qstd::cSTDExceptions::throwUnsupportedOperation("cSerializeDebug::rewind()");
}

void cSerializeDebug::clear()
{
    qstd::cSTDExceptions::throwUnsupportedOperation("cSerializeDebug::clear()");
}

cContextRef cSerializeDebug::newContext(const char* pTypeName)
{
    qstd::cAsciiString sText("<context ");
    if (pTypeName) {
        sText += '"';
        sText += pTypeName;
        sText += '"';
    } else {
        sText += "(unnamed)";
    }
    sText += '>';
    storeDataLine(sText, false);
    storeDataLine("  {", false);
    ++miDepth;
    return cContextRef(new cDummyContextData(*this));
}

void cSerializeDebug::releaseCurrentContext()
{
    if (miDepth > 0)
        --miDepth;
    storeDataLine("  }", false);
}

void cSerializeDebug::newLabel(const qstd::cAsciiString& sName)
{
    msLabel = sName;
}

qstd::tArrayRef<char> cSerializeDebug::data()
{
    qstd::cSTDExceptions::throwUnsupportedOperation("cSerializeDebug::data()");
}

void cSerializeDebug::swapData(qstd::tArray<char>&)
{
    qstd::cSTDExceptions::throwUnsupportedOperation("cSerializeDebug::swapData()");
}

} // namespace qsa
