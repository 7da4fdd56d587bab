// abstractcoreextension.cpp - qce::cAbstractCoreExtension and cNetAbstractAddress.
// SPDX-License-Identifier: MIT
#include "qor_core/qce/abstractcoreextension.h"
#include "qor_core/qce/net++/netabstractaddress.h"

namespace qce {

cAbstractCoreExtension::~cAbstractCoreExtension() {}

void cAbstractCoreExtension::provides(qstd::tVector<qstd::cAsciiString>&) const {}

cNetAbstractAddress::~cNetAbstractAddress() {}

} // namespace qce
