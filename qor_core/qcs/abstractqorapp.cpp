// abstractqorapp.cpp - cAbstractQORApp.
// SPDX-License-Identifier: MIT
#include "qor_core/qcs/abstractqorapp.h"

namespace qcs {

cAbstractQORApp::~cAbstractQORApp() {}

} // namespace qcs
