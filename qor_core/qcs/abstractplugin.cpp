// abstractplugin.cpp - qcs::cAbstractPlugIn.
// SPDX-License-Identifier: MIT
#include "qor_core/qcs/abstractplugin.h"
#include "qor_core/qcs/mcsexceptions.h"

namespace qcs {

cAbstractPlugIn::cAbstractPlugIn(qsa::cReferenceFrame& oFrame) : cAbstractModule(oFrame) {}

cAbstractPlugIn::~cAbstractPlugIn() {}

bool cAbstractPlugIn::isPlugIn() const
{
    return true;
}

bool cAbstractPlugIn::isComponent() const
{
    return false;
}

bool cAbstractPlugIn::isCoreExtension() const
{
    return false;
}

const qce::cAbstractCoreExtension& cAbstractPlugIn::coreExtension() const
{
    cMCSExceptions::throwNoCoreExtension(qucs::cString(info().name(), '?'));
}

qstd::cAsciiString cAbstractPlugIn::pluginTypeName() const
{
    return qstd::cAsciiString("none");
}

} // namespace qcs
