// connectable.cpp - cConnectable.
// SPDX-License-Identifier: MIT
#include "qor_core/rmi/connectable.h"
#include "qor_core/rmi/abstractsignal.h"
#include "qor_core/rmi/abstractslotcall.h"

namespace qrmi {

cConnectable::cConnectable() : mbDetaching(false), miIndex(0) {}

cConnectable::~cConnectable() { clear(); }

void cConnectable::notifySignalAttached(cAbstractSignal& oSignal)
{
    moAttachedSignals.append(&oSignal);
}

void cConnectable::notifySignalDetached(cAbstractSignal& oSignal)
{
    if (!mbDetaching)
        moAttachedSignals.remove(&oSignal);
}

void cConnectable::reAssign(cAbstractSignal& oFrom, cAbstractSignal& oTo)
{
    for (qstd::tPtrList<cAbstractSignal>::iterator it = moAttachedSignals.begin();
         it != moAttachedSignals.end(); ++it)
        if (*it == &oFrom)
            *it = &oTo;
}

void cConnectable::detachAllSignals()
{
    mbDetaching = true;
    for (qstd::tPtrList<cAbstractSignal>::iterator it = moAttachedSignals.begin();
         it != moAttachedSignals.end(); ++it)
        (*it)->notifyConnectableDestroyed(*this);
    mbDetaching = false;
}

void cConnectable::clear()
{
    detachAllSignals();
    moAttachedSignals.clear();
}

bool cConnectable::operator==(const cAbstractSlotCall* pSlotCall) const
{
    return pSlotCall && pSlotCall->matchSlotOfObject(this);
}

} // namespace qrmi
