// unsupportedextensionexception.cpp - qce::cUnsupportedExtensionException.
// SPDX-License-Identifier: MIT
#include "qor_core/qce/unsupportedextensionexception.h"

namespace qce {

QOR_DEFINE_EXCEPTION_ASSIGNMENT(cUnsupportedExtensionException)

QOR_DEFINE_EXCEPTION_IDENTITY(cUnsupportedExtensionException)

cUnsupportedExtensionException::cUnsupportedExtensionException() : mbOtherExtensionsFound(false) {}

cUnsupportedExtensionException::cUnsupportedExtensionException(
    const qstd::cAsciiString& sClassName, const qstd::cAsciiString& sExtensionName,
    bool bOtherExtensionsFound)
    : msClassName(sClassName), msExtensionName(sExtensionName),
      mbOtherExtensionsFound(bOtherExtensionsFound)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$No %s% of type \"%specialized%\" found!" << sClassName << sExtensionName;
    setMsg(oMsg);
}

void cUnsupportedExtensionException::swap(cUnsupportedExtensionException& oOther)
{
    cBugException oMine(*this);
    cBugException::operator=(oOther);
    static_cast<cBugException&>(oOther) = oMine;
    msClassName.swap(oOther.msClassName);
    msExtensionName.swap(oOther.msExtensionName);
    bool bMine = mbOtherExtensionsFound;
    mbOtherExtensionsFound = oOther.mbOtherExtensionsFound;
    oOther.mbOtherExtensionsFound = bMine;
}

} // namespace qce
