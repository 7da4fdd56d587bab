// linuxplatforminfo.cpp - qpi::cLinuxPlatformInfo.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/platform/dependend/native_linux/linuxplatforminfo.h"

namespace qpi {

qstd::cAsciiString cLinuxPlatformInfo::platformName() const
{
    return qstd::cAsciiString("Linux");
}

qstd::cAsciiString cLinuxPlatformInfo::osSharedObjectFileExtension() const
{
    return qstd::cAsciiString(".so");
}

qstd::cAsciiString cLinuxPlatformInfo::osSharedObjectFilePrefix() const
{
    return qstd::cAsciiString("lib");
}

qstd::cAsciiString cLinuxPlatformInfo::osSharedObjectFileSuffix() const
{
    return qstd::cAsciiString();
}

qstd::cAsciiString cLinuxPlatformInfo::osAppFileExtension() const
{
    return qstd::cAsciiString();
}

} // namespace qpi
