// publicslot.cpp - cPublicSlot.
// SPDX-License-Identifier: MIT
#include "qor_core/rmi/publicslot.h"
#include "qor_core/rmi/abstractslotcall.h"
#include "qor_core/sa/abstractserializer.h"

namespace qrmi {

cPublicSlot::cPublicSlot(qstd::tAutoPtr<cAbstractSlotCall> pSlotCall)
    : moParameters(10), mpSlotCall(pSlotCall.release())
{
}

cPublicSlot::cPublicSlot(const qstd::cAsciiString& sName, const qstd::cAsciiString& sReturnTypeName,
                         const qstd::cAsciiString& sParamTypeNames,
                         const qstd::cAsciiString& sDescription,
                         qstd::tAutoPtr<cAbstractSlotCall> pSlotCall)
    : msName(sName), msReturnTypeName(sReturnTypeName), msParamTypeNames(sParamTypeNames),
      msDescription(sDescription), moParameters(10), mpSlotCall(pSlotCall.release())
{
}

cPublicSlot::~cPublicSlot()
{
    delete mpSlotCall;
}

cSSValue& cPublicSlot::addParameter()
{
    moParameters.append(cSSValue());
    return moParameters.last();
}

qsa::cAbstractSerializer& cPublicSlot::operator>>(qsa::cAbstractSerializer& oSerializer) const
{
    msName >> oSerializer;
    msReturnTypeName >> oSerializer;
    msParamTypeNames >> oSerializer;
    msDescription >> oSerializer;
    storeParameters(moParameters, oSerializer);
    moReturnValue >> oSerializer;
    return oSerializer;
}

qsa::cAbstractDeserializer& cPublicSlot::operator<<(qsa::cAbstractDeserializer& oDeserializer)
{
    qstd::cAsciiString sName, sReturnTypeName, sParamTypeNames, sDescription;
    tSSValues oParameters(10);
    cSSValue oReturnValue;
    sName << oDeserializer;
    sReturnTypeName << oDeserializer;
    sParamTypeNames << oDeserializer;
    sDescription << oDeserializer;
    loadParameters(oParameters, oDeserializer);
    oReturnValue << oDeserializer;
    // Only a complete description replaces the current one.
    msName = sName;
    msReturnTypeName = sReturnTypeName;
    msParamTypeNames = sParamTypeNames;
    msDescription = sDescription;
    moParameters = oParameters;
    moReturnValue = oReturnValue;
    return oDeserializer;
}

} // namespace qrmi
