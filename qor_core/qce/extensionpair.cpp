// extensionpair.cpp - qce::cExtensionPair.
// SPDX-License-Identifier: MIT
#include "qor_core/qce/extensionpair.h"
#include "qor_core/qcs/pluginguard.h"
#include "qor_core/std/stdexceptions.h"

namespace qce {

cExtensionPair::cExtensionPair(qstd::tAutoPtr<cAbstractCoreExtension> pExtension)
    : mpExtension(pExtension.get()), mpOwnedExtension(pExtension)
{
    QOR_ASSERT_TEXT(mpExtension != nullptr, "pExtension.get() != 0");
}

cExtensionPair::cExtensionPair(qstd::tAutoPtr<qcs::cAbstractPlugIn> pPlugIn) : mpExtension(nullptr)
{
    try {
        QOR_ASSERT_TEXT(pPlugIn.get() != nullptr, "pPlugIn.get() != 0");
        mpExtension = &pPlugIn->coreExtension();
    } catch (...) {
        qcs::deletePlugInAndLoader(pPlugIn.release());
        throw;
    }
    mpPlugIn = pPlugIn;
}

cExtensionPair::~cExtensionPair()
{
    qcs::deletePlugInAndLoader(mpPlugIn.release());
    mpOwnedExtension.reset();
}

} // namespace qce
