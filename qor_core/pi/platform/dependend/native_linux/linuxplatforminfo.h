// linuxplatforminfo.h - the naming rules of Linux. Not installed: reach it through
// cPlatform::createPlatformInfo().
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_NATIVE_LINUX_LINUXPLATFORMINFO_H
#define QOR_CORE_PI_NATIVE_LINUX_LINUXPLATFORMINFO_H

#include "qor_core/pi/abstractplatforminfo.h"

namespace qpi {

/// "Linux"; shared objects are "lib" + name + ".so"; applications have no extension.
class QOR_EXPORT cLinuxPlatformInfo : public cAbstractPlatformInfo
{
public:
    qstd::cAsciiString platformName() const override;
    qstd::cAsciiString osSharedObjectFileExtension() const override;
    qstd::cAsciiString osSharedObjectFilePrefix() const override;
    qstd::cAsciiString osSharedObjectFileSuffix() const override;
    qstd::cAsciiString osAppFileExtension() const override;
};

} // namespace qpi

#endif // QOR_CORE_PI_NATIVE_LINUX_LINUXPLATFORMINFO_H
