// piexceptions.h - the throw family of the platform layer and its exception.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_PIEXCEPTIONS_H
#define QOR_CORE_PI_PIEXCEPTIONS_H

#include "qor_core/std/exception.h"

namespace qpi {

/// An operation this platform does not provide.
class QOR_EXPORT cUnsupportedPlatformException : public qstd::cBugException
{
public:
    cUnsupportedPlatformException();
    explicit cUnsupportedPlatformException(const qstd::cAsciiString& sOperation);
    QOR_DECLARE_EXCEPTION_ASSIGNMENT(cUnsupportedPlatformException);
    cAbstractException* createObject() const override;
    qstd::cAsciiString typeName() const override;
    const qstd::cAsciiString& operation() const { return msOperation; }
    void swap(cUnsupportedPlatformException& oOther);

private:
    qstd::cAsciiString msOperation;
};

/// Static throw helpers of qpi; each throws and never returns.
class QOR_EXPORT cPIExceptions
{
public:
    [[noreturn]] static void throwUnimplemented(const qstd::cAsciiString& sOperation);
    [[noreturn]] static void throwUnableGetCWD();
    [[noreturn]] static void throwUnableGetOSSpecificPath();
    /// "$MTR$Threads could not be copied!"
    [[noreturn]] static void throwRunnableNotCopyable();
    /// "$MTR$Threads could not be assigned!"
    [[noreturn]] static void throwRunnableNotAssignable();
};

} // namespace qpi

#endif // QOR_CORE_PI_PIEXCEPTIONS_H
