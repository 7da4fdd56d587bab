// moduleinfo.cpp - cModuleInfo.
// SPDX-License-Identifier: MIT
#include "qor_core/qcs/moduleinfo.h"
#include "qor_core/sa/abstractserializer.h"

namespace qcs {

void cModuleInfo::swap(cModuleInfo& oOther)
{
    msName.swap(oOther.msName);
    msAuthor.swap(oOther.msAuthor);
    msDescription.swap(oOther.msDescription);
    moBuildInfo.swap(oOther.moBuildInfo);
    msContext.swap(oOther.msContext);
}

qstd::cAsciiString cModuleInfo::toString() const
{
    qstd::cAsciiString sText(msName);
    sText += " (build ";
    sText.addUNum(moBuildInfo.buildCount());
    sText += ")";
    sText += " Written by ";
    sText += msAuthor;
    sText += " builded on \"";
    sText += moBuildInfo.buildHost();
    sText += "\" (";
    sText += moBuildInfo.buildDate();
    sText += ") using ";
    sText += moBuildInfo.compiler();
    sText += " - ";
    sText += moBuildInfo.compilerVersion();
    return sText;
}

qsa::cAbstractSerializer& cModuleInfo::operator>>(qsa::cAbstractSerializer& oSerializer) const
{
    oSerializer.store(msName);
    oSerializer.store(msAuthor);
    oSerializer.store(msDescription);
    moBuildInfo >> oSerializer;
    oSerializer.store(msContext);
    return oSerializer;
}

qsa::cAbstractDeserializer& cModuleInfo::operator<<(qsa::cAbstractDeserializer& oDeserializer)
{
    cModuleInfo oLoaded;
    oDeserializer.load(oLoaded.msName);
    oDeserializer.load(oLoaded.msAuthor);
    oDeserializer.load(oLoaded.msDescription);
    oLoaded.moBuildInfo << oDeserializer;
    oDeserializer.load(oLoaded.msContext);
    swap(oLoaded);
    return oDeserializer;
}

} // namespace qcs
