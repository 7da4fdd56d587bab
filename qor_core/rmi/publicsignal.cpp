// publicsignal.cpp - cPublicSignal.
// SPDX-License-Identifier: MIT
#include "qor_core/rmi/publicsignal.h"
#include "qor_core/sa/abstractserializer.h"

namespace qrmi {

cPublicSignal::cPublicSignal(const qstd::cAsciiString& sName,
                             const qstd::cAsciiString& sReturnTypeName,
                             const qstd::cAsciiString& sParamTypeNames,
                             cAbstractSignal::InterfaceType eType,
                             const qstd::cAsciiString& sDescription, cAbstractSignal* pSignal)
    : cPublicMember(sName, sReturnTypeName, sParamTypeNames, sDescription), meType(eType),
      mpSignal(nullptr), mpNextOfSignal(nullptr)
{
    if (pSignal)
        pSignal->setPublicSignal(this);
}

// The signals of a connectable die before its registries: a signal that is gone
// has already cleared mpSignal.
cPublicSignal::~cPublicSignal()
{
    if (mpSignal)
        mpSignal->unlinkPublicSignal(*this);
}

qsa::cAbstractSerializer& cPublicSignal::operator>>(qsa::cAbstractSerializer& oSerializer) const
{
    storeHead(oSerializer);
    static_cast<unsigned int>(meType) >> oSerializer;
    storeTail(oSerializer);
    return oSerializer;
}

qsa::cAbstractDeserializer& cPublicSignal::operator<<(qsa::cAbstractDeserializer& oDeserializer)
{
    // Only a complete description replaces the current one.
    cPublicSignal oLoaded("", "", "", meType, "", nullptr);
    oLoaded.loadHead(oDeserializer);
    unsigned int iType = 0;
    iType << oDeserializer;
    oLoaded.loadTail(oDeserializer);
    cPublicMember::operator=(oLoaded);
    meType = static_cast<cAbstractSignal::InterfaceType>(iType);
    return oDeserializer;
}

} // namespace qrmi
