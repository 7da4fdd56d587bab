// exceptionfactory.h - the exception factory that tests and the stream fuzzer give to
// createFromStream: it knows the exception classes they stream.
// SPDX-License-Identifier: MIT
#ifndef QOR_TESTS_SUPPORT_EXCEPTIONFACTORY_H
#define QOR_TESTS_SUPPORT_EXCEPTIONFACTORY_H

#include "qor_core/sa/saexceptions.h"
#include "qor_core/std/exceptions.h"

namespace qortest {

/// Creates cRuntimeException, cBugException, cTypeMissmatchException and
/// cLabeledTypeMissmatchException by name; any other name throws the element-not-found
/// bug, which createFromStream turns into its unknown-type marker.
class cTestExceptionFactory : public qstd::cAbstractExceptionFactory
{
public:
    qstd::tAutoPtr<qstd::cAbstractException>
    createException(const qstd::cAsciiString& sTypeName) const override
    {
        typedef qstd::tAutoPtr<qstd::cAbstractException> tResult;
        if (sTypeName == "cRuntimeException")
            return tResult(new qstd::cRuntimeException);
        if (sTypeName == "cBugException")
            return tResult(new qstd::cBugException);
        if (sTypeName == "cTypeMissmatchException")
            return tResult(new qstd::cTypeMissmatchException);
        if (sTypeName == "cLabeledTypeMissmatchException")
            return tResult(new qsa::cLabeledTypeMissmatchException);
        qstd::cSTDExceptions::throwElementNotFound("cTestExceptionFactory", "createException");
    }
};

} // namespace qortest

#endif
