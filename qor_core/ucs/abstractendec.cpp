// abstractendec.cpp - the default operations of cAbstractEnDec.
// SPDX-License-Identifier: MIT
#include "qor_core/ucs/abstractendec.h"
#include "qor_core/std/exception.h"
#include "qor_core/ucs/limessage.h"

namespace qucs {

cAbstractEnDec::~cAbstractEnDec() {}

void cAbstractEnDec::throwNotImplemented(const char* pTemplate) const
{
    cLIMessage oMsg;
    oMsg << pTemplate << name();
    throw qstd::cRuntimeException(oMsg, nullptr, 0);
}

void cAbstractEnDec::encode(const cString&, qstd::tArray<char>&) const
{
    throwNotImplemented("$MTR$Not implemented: %name%::encode (ucs32 -> ascii)");
}

void cAbstractEnDec::encode(const cString&, qstd::tArray<unsigned short>&) const
{
    throwNotImplemented("$MTR$Not implemented: %name%::encode (ucs32 -> ucs16)");
}

void cAbstractEnDec::reEncode(const cString& sSource, cString& sTarget) const
{
    sTarget = sSource;
}

void cAbstractEnDec::encodeCString(const cString& sSource, qstd::tArray<char>& oTarget) const
{
    encode(sSource, oTarget);
    oTarget.append('\0');
}

void cAbstractEnDec::decode(const qstd::tConstArrayRef<char>&, cString&) const
{
    throwNotImplemented("$MTR$Not implemented: %name%::decode (ucs16 -> ascii)");
}

void cAbstractEnDec::decode(const qstd::tConstArrayRef<unsigned short>&, cString&) const
{
    throwNotImplemented("$MTR$Not implemented: %name%::decode (ucs16 -> ucs32)");
}

void cAbstractEnDec::reDecode(const cString& sSource, cString& sTarget) const
{
    sTarget = sSource;
}

} // namespace qucs
