// abstractmodule.cpp - cAbstractModule.
// SPDX-License-Identifier: MIT
#include "qor_core/qcs/abstractmodule.h"
#include "qor_core/pi/abstractclassloader.h"

namespace qcs {

cAbstractModule::cAbstractModule() : mpClassLoader(nullptr) {}

cAbstractModule::cAbstractModule(qsa::cReferenceFrame&) : mpClassLoader(nullptr) {}

cAbstractModule::~cAbstractModule()
{
    if (mpClassLoader)
        mpClassLoader->decRef();
}

void cAbstractModule::storeSettings(qsa::cAbstractSerializer&) const {}

void cAbstractModule::loadSettings(qsa::cAbstractDeserializer&) {}

void cAbstractModule::applySettings() {}

void cAbstractModule::setClassLoader(qpi::cAbstractClassLoader* pLoader,
                                     const qstd::cAsciiString& sContext)
{
    moInfo.setContext(sContext);
    qpi::cAbstractClassLoader* pOld = mpClassLoader;
    mpClassLoader = pLoader;
    if (pOld)
        pOld->decRef();
}

} // namespace qcs
