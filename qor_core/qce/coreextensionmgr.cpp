// coreextensionmgr.cpp - qce::cCoreExtensionMgr.
// SPDX-License-Identifier: MIT
#include "qor_core/qce/coreextensionmgr.h"

namespace qce {

cCoreExtensionMgr::cCoreExtensionMgr() {}

cCoreExtensionMgr::~cCoreExtensionMgr() {}

} // namespace qce
