// platform.h - qpi::cPlatform, the stateless entry to what depends on the operating system.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_PLATFORM_H
#define QOR_CORE_PI_PLATFORM_H

#include "qor_core/pi/abstractclassloader.h"
#include "qor_core/pi/abstractmuteximpl.h"
#include "qor_core/pi/abstractplatforminfo.h"
#include "qor_core/pi/abstractprocessevents.h"
#include "qor_core/pi/abstractrunnableimpl.h"
#include "qor_core/std/asciistring.h"
#include "qor_core/std/autoptr.h"

namespace qio {
class cFs;
class cAbstractFsImpl;
} // namespace qio

namespace qpi {

/// Answers questions about the environment and makes the platform's implementation
/// objects. Stateless: create it on the stack wherever it is needed.
class QOR_EXPORT cPlatform
{
public:
    /// The variable's value, or an empty string when it is not set.
    qstd::cAsciiString getEnv(const qstd::cAsciiString& sName) const;
    /// The environment variable "USER", or "unknown".
    qstd::cAsciiString userName() const;
    /// The environment variable "HOME" decoded with the system's default encoder;
    /// empty when it is not set.
    qucs::cString homeDirectory() const;
    /// The root directory, "/".
    qucs::cString osDirectory() const;
    /// Where applications are installed, "/usr/local/".
    qucs::cString applicationsDirectory() const;
    /// The host name, or "unknown" when it cannot be read.
    qstd::cAsciiString hostname() const;
    unsigned pid() const;
    /// Gives the processor to other threads for a moment.
    void yield() const;
    char osSpecificPathDelimiter() const { return '/'; }
    /// The system's text for an error number, or the number in decimal when that text
    /// is empty.
    qstd::cAsciiString osFileIOErrorString(int iError) const;

    /// Checks the build against the platform; there is nothing to check on Linux.
    void buildChecks() const {}
    /// Reserved for the platform's build information; does nothing so far.
    void buildInfo() const {}

    /// The naming rules of this operating system; the caller owns the object.
    qstd::tAutoPtr<cAbstractPlatformInfo> createPlatformInfo() const;
    /// A class loader that has opened sFile; the caller owns it and must destroy every
    /// object made through it first. Throws qcs::cModuleLoadException when the
    /// library cannot be used.
    qstd::tAutoPtr<cAbstractClassLoader> createClassLoader(const qucs::cString& sFile) const;
    /// A new recursive mutex; the caller owns it.
    qstd::tAutoPtr<cAbstractMutexImpl> createMutexImpl() const;
    /// A new thread that will run pFunction(pArgument) once started; the caller owns it.
    qstd::tAutoPtr<cAbstractRunnableImpl> createThread(void (*pFunction)(void*),
                                                       void* pArgument) const;
    /// New process events for a work queue (on Linux epoll, with poll for what epoll
    /// refuses); the caller owns them.
    qstd::tAutoPtr<cAbstractProcessEvents> createProcessEvents() const;
    /// The native file system for oFs (which lends it its encoder); the caller owns it.
    qstd::tAutoPtr<qio::cAbstractFsImpl> createFsImpl(qio::cFs& oFs) const;
};

} // namespace qpi

#endif // QOR_CORE_PI_PLATFORM_H
