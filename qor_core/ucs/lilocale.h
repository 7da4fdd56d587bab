// lilocale.h - cLILocale, the translations of message keys for one language.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_UCS_LILOCALE_H
#define QOR_CORE_UCS_LILOCALE_H

#include "qor_core/ucs/limessage.h"

namespace qucs {

/// A locale renders messages in its language. This locale holds no translation
/// table yet: every message renders untranslated.
class QOR_EXPORT cLILocale
{
public:
    /// A null name leaves the debug name empty.
    explicit cLILocale(const char* pDebugName = nullptr);
    virtual ~cLILocale();

    const qstd::cAsciiString& debugName() const { return msDebugName; }
    void setDebugName(const qstd::cAsciiString& sName) { msDebugName = sName; }

    /// Renders oMessage into sResult, translated when a translation is known; returns
    /// whether one was.
    bool translate(const cLIMessage& oMessage, cString& sResult,
                   const cLILocale* pOrigin = nullptr) const;
    cString translate(const cLIMessage& oMessage) const;

private:
    qstd::cAsciiString msDebugName;
};

} // namespace qucs

#endif // QOR_CORE_UCS_LILOCALE_H
