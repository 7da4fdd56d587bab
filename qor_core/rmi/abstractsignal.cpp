// abstractsignal.cpp - cAbstractSignal.
// SPDX-License-Identifier: MIT
#include "qor_core/rmi/abstractsignal.h"
#include "qor_core/pi/debug.h"
#include "qor_core/rmi/rmiexceptions.h"

namespace qrmi {

cAbstractSignal::cAbstractSignal(InvocationBehavior eBehavior)
    : meInvocationBehavior(eBehavior), mpPublicSignal(nullptr)
{
}

cAbstractSignal::~cAbstractSignal() {}

void cAbstractSignal::connect(cConnectable&, const qstd::cAsciiString&, SlotResolving)
{
    cRMIExceptions::throwIndirectLocalConnection();
}

void cAbstractSignal::addParameterInfo(cPublicSignal&) {}

qstd::cAsciiString cAbstractSignal::parametersTypeString() const { return qstd::cAsciiString(); }

qstd::cAsciiString cAbstractSignal::returnTypeString() const { return qstd::cAsciiString(); }

void cAbstractSignal::checkNIC(unsigned)
{
    QOR_DEBUG_LINE(">>>>>>>>> delete this situation in signal!");
    QOR_DEBUG_LINE(qpi::piStackTrace(128));
}

} // namespace qrmi
