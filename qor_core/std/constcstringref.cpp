// constcstringref.cpp - cConstCStringRef.
// SPDX-License-Identifier: MIT
#include "qor_core/std/constcstringref.h"

#include <cstring>

namespace qstd {

cConstCStringRef::cConstCStringRef(const char* pString) : mpCStyleStringRef(pString), miLength(0)
{
    QOR_ASSERT_TEXT(pString != nullptr, "mpCStyleStringRef != 0");
    miLength = unsigned(std::strlen(pString));
}

cConstCStringRef::cConstCStringRef(const char* pString, unsigned iLength)
    : mpCStyleStringRef(pString), miLength(iLength)
{
    QOR_ASSERT_TEXT(pString != nullptr, "mpCStyleStringRef != 0");
}

cConstCStringRef::~cConstCStringRef() {}

const char& cConstCStringRef::operator[](unsigned iIndex) const
{
    QOR_ASSERT_TEXT(iIndex < miLength, "i < miLength");
    return mpCStyleStringRef[iIndex];
}

void cConstCStringRef::proxyCopyPartTo(char* pTarget, unsigned iStart, unsigned iCount) const
{
    tBounds::startSize2End(miLength, iStart, iCount, "cConstCStringRef", "copyPartTo");
    if (iCount)
        std::memcpy(pTarget, mpCStyleStringRef + iStart, iCount);
}

const char* cConstCStringRef::proxyProvideData(unsigned iStart, unsigned iCount) const
{
    tBounds::startSize2End(miLength, iStart, iCount, "cConstCStringRef", "provideData");
    return mpCStyleStringRef + iStart;
}

} // namespace qstd
