// lilocale.cpp - cLILocale.
// SPDX-License-Identifier: MIT
#include "qor_core/ucs/lilocale.h"

namespace qucs {

cLILocale::cLILocale(const char* pDebugName) : msDebugName(pDebugName) {}

cLILocale::~cLILocale() {}

bool cLILocale::translate(const cLIMessage& oMessage, cString& sResult, const cLILocale*) const
{
    oMessage.untranslated(sResult);
    return false;
}

cString cLILocale::translate(const cLIMessage& oMessage) const
{
    cString sResult;
    translate(oMessage, sResult);
    return sResult;
}

} // namespace qucs
