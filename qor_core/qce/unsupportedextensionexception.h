// unsupportedextensionexception.h - qce::cUnsupportedExtensionException.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCE_UNSUPPORTEDEXTENSIONEXCEPTION_H
#define QOR_CORE_QCE_UNSUPPORTEDEXTENSIONEXCEPTION_H

#include "qor_core/std/exception.h"

namespace qce {

/// No core extension of a kind supports a requested name: "$MTR$No %s% of type
/// \"%specialized%\" found!" with the kind's name and the name as requested.
class QOR_EXPORT cUnsupportedExtensionException : public qstd::cBugException
{
public:
    QOR_DECLARE_EXCEPTION_ASSIGNMENT(cUnsupportedExtensionException);
    cUnsupportedExtensionException();
    /// sClassName is the kind's name ("serializer", ...); sExtensionName the name as
    /// requested (not upper-cased); bOtherExtensionsFound whether extensions of the
    /// kind exist at all.
    cUnsupportedExtensionException(const qstd::cAsciiString& sClassName,
                                   const qstd::cAsciiString& sExtensionName,
                                   bool bOtherExtensionsFound);
    cAbstractException* createObject() const override;
    qstd::cAsciiString typeName() const override;
    /// Exchanges everything, the base's fields included.
    void swap(cUnsupportedExtensionException& oOther);

    const qstd::cAsciiString& className() const { return msClassName; }
    const qstd::cAsciiString& extensionName() const { return msExtensionName; }
    bool otherExtensionsFound() const { return mbOtherExtensionsFound; }

private:
    qstd::cAsciiString msClassName;
    qstd::cAsciiString msExtensionName;
    bool mbOtherExtensionsFound;
};

} // namespace qce

#endif // QOR_CORE_QCE_UNSUPPORTEDEXTENSIONEXCEPTION_H
