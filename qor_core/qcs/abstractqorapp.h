// abstractqorapp.h - cAbstractQORApp, the application object.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCS_ABSTRACTQORAPP_H
#define QOR_CORE_QCS_ABSTRACTQORAPP_H

#include "qor_core/std/pitypes.h"

namespace qcs {

/// The base of an application's own application object. The library calls nothing
/// on it: the module manager stores it and passes it to its components (when they
/// are asked whether the application may close); its contents are the
/// application's.
class QOR_EXPORT cAbstractQORApp
{
public:
    virtual ~cAbstractQORApp();
};

} // namespace qcs

#endif // QOR_CORE_QCS_ABSTRACTQORAPP_H
