// interfacedesc.cpp - cInterfaceDesc.
// SPDX-License-Identifier: MIT
#include "qor_core/qcs/interfacedesc.h"
#include "qor_core/qcs/mcsexceptions.h"
#include "qor_core/sa/abstractserializer.h"

namespace qcs {

cInterfaceDesc::cInterfaceDesc() : meType(Required), miVersion(0) {}

cInterfaceDesc::cInterfaceDesc(InterfaceType eType, const qstd::cAsciiString& sName,
                               const qstd::cAsciiString& sAuthor, unsigned int iVersion,
                               const qstd::cAsciiString& sDescription)
    : meType(eType), msName(sName), msAuthor(sAuthor), miVersion(iVersion),
      msDescription(sDescription)
{
}

void cInterfaceDesc::swap(cInterfaceDesc& oOther)
{
    InterfaceType eType = meType;
    meType = oOther.meType;
    oOther.meType = eType;
    msName.swap(oOther.msName);
    msAuthor.swap(oOther.msAuthor);
    piUInt32 iVersion = miVersion;
    miVersion = oOther.miVersion;
    oOther.miVersion = iVersion;
    msDescription.swap(oOther.msDescription);
}

bool cInterfaceDesc::operator==(const cInterfaceDesc& o) const
{
    return msName == o.msName && msAuthor == o.msAuthor && miVersion == o.miVersion &&
           meType == o.meType;
}

qsa::cAbstractSerializer& cInterfaceDesc::operator>>(qsa::cAbstractSerializer& oSerializer) const
{
    oSerializer.store((unsigned int)meType);
    oSerializer.store(msName);
    oSerializer.store(msAuthor);
    oSerializer.store((unsigned int)miVersion);
    oSerializer.store(msDescription);
    return oSerializer;
}

qsa::cAbstractDeserializer& cInterfaceDesc::operator<<(qsa::cAbstractDeserializer& oDeserializer)
{
    unsigned int iType = 0;
    unsigned int iVersion = 0;
    cInterfaceDesc oLoaded;
    oDeserializer.load(iType);
    oDeserializer.load(oLoaded.msName);
    if (iType > Required)
        cMCSExceptions::throwInterfaceLoadError(oLoaded.msName);
    oDeserializer.load(oLoaded.msAuthor);
    oDeserializer.load(iVersion);
    oDeserializer.load(oLoaded.msDescription);
    oLoaded.meType = InterfaceType(iType);
    oLoaded.miVersion = iVersion;
    swap(oLoaded);
    return oDeserializer;
}

} // namespace qcs
