// contextref.cpp - cContextRef and cContext.
// SPDX-License-Identifier: MIT
#include "qor_core/sa/contextref.h"
#include "qor_core/sa/saexceptions.h"

namespace qsa {

cAbstractContextData::~cAbstractContextData() {}

void cAbstractContextData::destroy()
{
    delete this;
}

cContextDataPool::~cContextDataPool()
{
    while (miCount)
        delete mapSpare[--miCount];
}

cContextRef& cContextRef::operator=(cContextRef& oOther)
{
    if (&oOther != this) {
        cAbstractContextData* pData = oOther.mpData;
        oOther.mpData = nullptr;
        cAbstractContextData::dispose(mpData);
        mpData = pData;
    }
    return *this;
}

cAbstractContextData* cContextRef::unguardImpl()
{
    if (!mpData)
        cSAExceptions::throwContextRefNoImpl();
    cAbstractContextData* pData = mpData;
    mpData = nullptr;
    return pData;
}

cContext& cContext::operator=(cContext& oOther)
{
    if (&oOther != this) {
        cAbstractContextData* pData = oOther.unguard();
        unset();
        mpData = pData;
    }
    return *this;
}

} // namespace qsa
