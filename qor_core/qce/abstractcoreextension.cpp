// abstractcoreextension.cpp - qce::cAbstractCoreExtension.
// SPDX-License-Identifier: MIT
#include "qor_core/qce/abstractcoreextension.h"

namespace qce {

cAbstractCoreExtension::~cAbstractCoreExtension() {}

void cAbstractCoreExtension::provides(qstd::tVector<qstd::cAsciiString>&) const {}

} // namespace qce
