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
    : msName(sName), msReturnTypeName(sReturnTypeName), msParamTypeNames(sParamTypeNames),
      msDescription(sDescription), meType(eType), mpSignal(pSignal), moParameters(10)
{
}

// The signal is not owned, and may already be gone: the signals of a connectable
// die before its registries.
cPublicSignal::~cPublicSignal() {}

cSSValue& cPublicSignal::addParameter()
{
    moParameters.append(cSSValue());
    return moParameters.last();
}

qsa::cAbstractSerializer& cPublicSignal::operator>>(qsa::cAbstractSerializer& oSerializer) const
{
    msName >> oSerializer;
    msReturnTypeName >> oSerializer;
    msParamTypeNames >> oSerializer;
    msDescription >> oSerializer;
    static_cast<unsigned int>(meType) >> oSerializer;
    storeParameters(moParameters, oSerializer);
    moReturnValue >> oSerializer;
    return oSerializer;
}

qsa::cAbstractDeserializer& cPublicSignal::operator<<(qsa::cAbstractDeserializer& oDeserializer)
{
    qstd::cAsciiString sName, sReturnTypeName, sParamTypeNames, sDescription;
    unsigned int iType = 0;
    tSSValues oParameters(10);
    cSSValue oReturnValue;
    sName << oDeserializer;
    sReturnTypeName << oDeserializer;
    sParamTypeNames << oDeserializer;
    sDescription << oDeserializer;
    iType << oDeserializer;
    loadParameters(oParameters, oDeserializer);
    oReturnValue << oDeserializer;
    // Only a complete description replaces the current one.
    msName = sName;
    msReturnTypeName = sReturnTypeName;
    msParamTypeNames = sParamTypeNames;
    msDescription = sDescription;
    meType = static_cast<cAbstractSignal::InterfaceType>(iType);
    moParameters = oParameters;
    moReturnValue = oReturnValue;
    return oDeserializer;
}

} // namespace qrmi
