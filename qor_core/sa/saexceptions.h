// saexceptions.h - the throw family of the serialization namespace.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_SA_SAEXCEPTIONS_H
#define QOR_CORE_SA_SAEXCEPTIONS_H

#include "qor_core/std/pitypes.h"

namespace qsa {

/// Static throw helpers of the serializers; each throws and never returns.
class QOR_EXPORT cSAExceptions
{
public:
    /// "$MTR$cContextRef::unguardImpl(): no valid reference!"
    [[noreturn]] static void throwContextRefNoImpl();
};

} // namespace qsa

#endif // QOR_CORE_SA_SAEXCEPTIONS_H
