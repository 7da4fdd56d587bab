// ssvalue.cpp - cSSValue and the serialized parameter lists.
// SPDX-License-Identifier: MIT
#include "qor_core/rmi/ssvalue.h"
#include "qor_core/sa/abstractserializer.h"

namespace qrmi {

bool cSSValue::operator==(const cSSValue& oOther) const
{
    return msTypeName == oOther.msTypeName && msDescription == oOther.msDescription &&
           mbAlterable == oOther.mbAlterable && mbVoid == oOther.mbVoid;
}

qsa::cAbstractSerializer& cSSValue::operator>>(qsa::cAbstractSerializer& oSerializer) const
{
    msTypeName >> oSerializer;
    msDescription >> oSerializer;
    mbAlterable >> oSerializer;
    mbVoid >> oSerializer;
    return oSerializer;
}

qsa::cAbstractDeserializer& cSSValue::operator<<(qsa::cAbstractDeserializer& oDeserializer)
{
    msTypeName << oDeserializer;
    msDescription << oDeserializer;
    mbAlterable << oDeserializer;
    mbVoid << oDeserializer;
    return oDeserializer;
}

void storeParameters(const tSSValues& oValues, qsa::cAbstractSerializer& oSerializer)
{
    qsa::cContext oContext(oSerializer.newContext("unknown"));
    for (unsigned i = 0; i < oValues.count(); ++i)
        oValues[i] >> oSerializer;
    oContext.release();
}

void loadParameters(tSSValues& oValues, qsa::cAbstractDeserializer& oDeserializer)
{
    qsa::cContext oContext(oDeserializer.getContext("unknown"));
    tSSValues oLoaded;
    while (!oDeserializer.eoc()) {
        cSSValue oValue;
        oValue << oDeserializer;
        oLoaded.append(oValue);
    }
    oContext.release();
    oValues.insert(oValues.count(), oLoaded);
}

} // namespace qrmi
