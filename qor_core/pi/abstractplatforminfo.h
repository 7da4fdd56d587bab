// abstractplatforminfo.h - qpi::cAbstractPlatformInfo, the naming rules of the operating system.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_ABSTRACTPLATFORMINFO_H
#define QOR_CORE_PI_ABSTRACTPLATFORMINFO_H

#include "qor_core/std/asciistring.h"

namespace qucs {
class cString;
}

namespace qpi {

/// How the operating system names its shared objects and applications. Made by
/// cPlatform::createPlatformInfo(); the caller owns it.
class QOR_EXPORT cAbstractPlatformInfo
{
public:
    virtual ~cAbstractPlatformInfo();

    virtual qstd::cAsciiString platformName() const = 0;
    /// Turns a module's base name into the file name of its shared object: the
    /// prefix, the suffix and the extension are applied in this order, each only
    /// when the name does not carry it already ("net" and "libnet" both give
    /// "libnet.so" on Linux; "/opt/m/libx.so" stays as it is).
    virtual void osSpecificSOName(qucs::cString& sName) const;
    virtual qstd::cAsciiString osSharedObjectFileExtension() const = 0;
    virtual qstd::cAsciiString osSharedObjectFilePrefix() const = 0;
    virtual qstd::cAsciiString osSharedObjectFileSuffix() const = 0;
    virtual qstd::cAsciiString osAppFileExtension() const = 0;
};

} // namespace qpi

#endif // QOR_CORE_PI_ABSTRACTPLATFORMINFO_H
