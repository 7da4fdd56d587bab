// publicmember.cpp - cPublicMember.
// SPDX-License-Identifier: MIT
#include "qor_core/rmi/publicmember.h"
#include "qor_core/sa/abstractserializer.h"

namespace qrmi {

cPublicMember::cPublicMember() : moParameters(10) {}

cPublicMember::cPublicMember(const qstd::cAsciiString& sName,
                             const qstd::cAsciiString& sReturnTypeName,
                             const qstd::cAsciiString& sParamTypeNames,
                             const qstd::cAsciiString& sDescription)
    : msName(sName), msReturnTypeName(sReturnTypeName), msParamTypeNames(sParamTypeNames),
      msDescription(sDescription), moParameters(10)
{
}

cPublicMember::~cPublicMember() {}

cSSValue& cPublicMember::addParameter()
{
    moParameters.append(cSSValue());
    return moParameters.last();
}

void cPublicMember::storeHead(qsa::cAbstractSerializer& oSerializer) const
{
    msName >> oSerializer;
    msReturnTypeName >> oSerializer;
    msParamTypeNames >> oSerializer;
    msDescription >> oSerializer;
}

void cPublicMember::storeTail(qsa::cAbstractSerializer& oSerializer) const
{
    storeParameters(moParameters, oSerializer);
    moReturnValue >> oSerializer;
}

void cPublicMember::loadHead(qsa::cAbstractDeserializer& oDeserializer)
{
    msName << oDeserializer;
    msReturnTypeName << oDeserializer;
    msParamTypeNames << oDeserializer;
    msDescription << oDeserializer;
}

void cPublicMember::loadTail(qsa::cAbstractDeserializer& oDeserializer)
{
    loadParameters(moParameters, oDeserializer);
    moReturnValue << oDeserializer;
}

} // namespace qrmi
