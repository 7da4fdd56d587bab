// genericextension.cpp - qce::cGenericExtension and qce::cGenericPlugIn.
// SPDX-License-Identifier: MIT
#include "qor_core/qce/genericextension.h"
#include "qor_core/qce/genericplugin.h"

namespace qce {

cGenericExtension::cGenericExtension(const qstd::cAsciiString& sDescription, ExtensionType eType)
    : msDescription(sDescription), meType(eType)
{
}

bool cGenericExtension::supports(const qstd::cAsciiString&) const
{
    return false;
}

cGenericPlugIn::cGenericPlugIn(qsa::cReferenceFrame& oFrame, qstd::cAsciiString sDescription)
    : cAbstractPlugIn(oFrame), moExtension(sDescription, cAbstractCoreExtension::EnDecExtension)
{
}

cGenericPlugIn::~cGenericPlugIn() {}

bool cGenericPlugIn::isCoreExtension() const
{
    return true;
}

const cAbstractCoreExtension& cGenericPlugIn::coreExtension() const
{
    return moExtension;
}

} // namespace qce
