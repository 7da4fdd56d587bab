// abstractplatforminfo.cpp - qpi::cAbstractPlatformInfo.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/abstractplatforminfo.h"
#include "qor_core/io/fileinfo.h"
#include "qor_core/ucs/string.h"

namespace qpi {

cAbstractPlatformInfo::~cAbstractPlatformInfo() {}

void cAbstractPlatformInfo::osSpecificSOName(qucs::cString& sName) const
{
    qio::cFileInfo::setFileNamePrefix(sName, qucs::cString(osSharedObjectFilePrefix(), '?'));
    qio::cFileInfo::setFileNameSuffix(sName, qucs::cString(osSharedObjectFileSuffix(), '?'));
    qio::cFileInfo::setFileNameExtension(sName, qucs::cString(osSharedObjectFileExtension(), '?'));
}

} // namespace qpi
