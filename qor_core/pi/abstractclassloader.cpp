// abstractclassloader.cpp - qpi::cAbstractClassLoader.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/abstractclassloader.h"

namespace qpi {

cAbstractClassLoader::cAbstractClassLoader(const qucs::cString& sFile)
    : miReferences(0), msLibFileName(sFile)
{
}

cAbstractClassLoader::~cAbstractClassLoader() {}

void cAbstractClassLoader::decRef()
{
    if (miReferences != 0)
        --miReferences;
}

} // namespace qpi
