// synchronizable.cpp - qp::cSynchronizable.
// SPDX-License-Identifier: MIT
#include "qor_core/qp/synchronizable.h"

namespace qp {

cSynchronizable::cSynchronizable() {}

cSynchronizable::~cSynchronizable() {}

} // namespace qp
