// coreextensionmgr.h - qce::cCoreExtensionMgr, the registry of core extensions.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCE_COREEXTENSIONMGR_H
#define QOR_CORE_QCE_COREEXTENSIONMGR_H

#include "qor_core/std/pitypes.h"

namespace qce {

/// The registry through which encoders, serializers and network-address kinds are
/// found by name. The module manager keeps a reference to it and hands it to its
/// components (cModuleMgr::coreExtensions()). So far it registers nothing: the
/// look-ups arrive with the extension libraries.
class QOR_EXPORT cCoreExtensionMgr
{
public:
    cCoreExtensionMgr();
    virtual ~cCoreExtensionMgr();
    cCoreExtensionMgr(const cCoreExtensionMgr&) = delete;
    cCoreExtensionMgr& operator=(const cCoreExtensionMgr&) = delete;
};

} // namespace qce

#endif // QOR_CORE_QCE_COREEXTENSIONMGR_H
