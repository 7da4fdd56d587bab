// contextref.cpp - cContextRef and cContext.
// SPDX-License-Identifier: MIT
#include "qor_core/sa/contextref.h"
#include "qor_core/sa/saexceptions.h"

namespace qsa {

cAbstractContextData::~cAbstractContextData() {}

cContextRef::~cContextRef()
{
    delete mpData;
}

cContextRef& cContextRef::operator=(cContextRef& oOther)
{
    if (&oOther != this) {
        cAbstractContextData* pData = oOther.mpData;
        oOther.mpData = nullptr;
        delete mpData;
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

cContext::cContext(cContextRef oRef) : mpData(oRef.empty() ? nullptr : oRef.unguardImpl()) {}

cContext::cContext(cContext& oOther) : mpData(oOther.unguard()) {}

cContext::~cContext()
{
    unset();
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

void cContext::release()
{
    if (mpData)
        mpData->release();
}

void cContext::unset()
{
    cAbstractContextData* pData = mpData;
    mpData = nullptr;
    delete pData;
}

cAbstractContextData* cContext::unguard()
{
    cAbstractContextData* pData = mpData;
    mpData = nullptr;
    return pData;
}

} // namespace qsa
