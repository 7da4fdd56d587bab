// connectable.cpp - cConnectable.
// SPDX-License-Identifier: MIT
#include "qor_core/rmi/connectable.h"
#include "qor_core/rmi/abstractsignal.h"
#include "qor_core/rmi/abstractrmifactory.h"
#include "qor_core/rmi/abstractslotcall.h"
#include "qor_core/rmi/publicsignal.h"
#include "qor_core/rmi/publicslot.h"
#include "qor_core/rmi/rmiexceptions.h"
#include "qor_core/sa/referenceframe.h"

namespace qrmi {

cConnectable::cConnectable()
    : mpPublicSlots(nullptr), mpPublicSignals(nullptr), mbDetaching(false), miIndex(0)
{
}

cConnectable::~cConnectable()
{
    clear();
}

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
    // No signal holds a slot call bound to this object any more; an entry kept
    // here would later be followed into a signal that may be gone by then.
    moAttachedSignals.clear();
    mbDetaching = false;
}

void cConnectable::clear()
{
    detachAllSignals();
    // The signals are gone from every slot call bound to this object, so no
    // resolved slot call still points into the public slots.
    delete mpPublicSlots;
    mpPublicSlots = nullptr;
    delete mpPublicSignals;
    mpPublicSignals = nullptr;
}

bool cConnectable::operator==(const cAbstractSlotCall* pSlotCall) const
{
    return pSlotCall && pSlotCall->matchSlotOfObject(this);
}

cPublicSlot* cConnectable::adoptSlot(qstd::tAutoPtr<cPublicSlot> pSlot)
{
    if (!mpPublicSlots)
        mpPublicSlots = new tPublicSlots(tPublicSlots::GuardSingle);
    cPublicSlot* pAdopted = pSlot.get();
    mpPublicSlots->guardedAppend(pSlot);
    if (pAdopted->slot())
        pAdopted->slot()->setPublicSlot(pAdopted);
    return pAdopted;
}

cPublicSignal* cConnectable::adoptSignal(qstd::tAutoPtr<cPublicSignal> pSignal)
{
    if (!mpPublicSignals)
        mpPublicSignals = new tPublicSignals(tPublicSignals::GuardSingle);
    cPublicSignal* pAdopted = pSignal.get();
    mpPublicSignals->guardedAppend(pSignal);
    if (pAdopted->signal())
        pAdopted->signal()->setPublicSignal(pAdopted);
    return pAdopted;
}

cPublicSlot* cConnectable::registerSlot(const qstd::cAsciiString& sName,
                                        const qstd::cAsciiString& sReturnType,
                                        const qstd::cAsciiString& sParamTypes,
                                        const qstd::cAsciiString& sDescription,
                                        qstd::tAutoPtr<cAbstractSlotCall> pSlotCall)
{
    return adoptSlot(qstd::tAutoPtr<cPublicSlot>(
        new cPublicSlot(sName, sReturnType, sParamTypes, sDescription, pSlotCall)));
}

cPublicSignal* cConnectable::registerSignal(const qstd::cAsciiString& sName,
                                            const qstd::cAsciiString& sReturnType,
                                            const qstd::cAsciiString& sParamTypes,
                                            cAbstractSignal::InterfaceType eType,
                                            const qstd::cAsciiString& sDescription,
                                            cAbstractSignal* pSignal)
{
    return adoptSignal(qstd::tAutoPtr<cPublicSignal>(
        new cPublicSignal(sName, sReturnType, sParamTypes, eType, sDescription, pSignal)));
}

cPublicSlot* cConnectable::registerRemoteSlot(qsa::cAbstractDeserializer& oDeserializer,
                                              cAbstractRMIFactory& oFactory)
{
    qstd::tAutoPtr<cPublicSlot> pSlot(new cPublicSlot(oFactory.createRemoteSlotCall(*this)));
    *pSlot << oDeserializer;
    return adoptSlot(pSlot);
}

cPublicSignal* cConnectable::registerRemoteSignal(qsa::cAbstractDeserializer& oDeserializer,
                                                  cAbstractRMIFactory& oFactory)
{
    qstd::tAutoPtr<cPublicSignal> pSignal(new cPublicSignal(
        qstd::cAsciiString(), qstd::cAsciiString(), qstd::cAsciiString(),
        cAbstractSignal::ProviderSide, qstd::cAsciiString(), oFactory.createRemoteSignal(index())));
    *pSignal << oDeserializer;
    return adoptSignal(pSignal);
}

cPublicSlot* cConnectable::registerRemoteSlot(const qstd::cAsciiString& sName,
                                              qstd::tAutoPtr<cAbstractSlotCall> pSlotCall)
{
    return registerSlot(sName, qstd::cAsciiString(), qstd::cAsciiString(),
                        qstd::cAsciiString("tmp remoteslot"), pSlotCall);
}

cPublicSlot* cConnectable::findPublicSlot(const qstd::cAsciiString& sName) const
{
    if (mpPublicSlots)
        for (tPublicSlots::iterator it = mpPublicSlots->begin(); it != mpPublicSlots->end(); ++it)
            if ((*it)->matchName(sName))
                return *it;
    cRMIExceptions::throwNoSuchSlot(sName, "(?)");
}

cAbstractSlotCall* cConnectable::tryFindSlot(const qstd::cAsciiString& sName) const
{
    if (mpPublicSlots)
        for (tPublicSlots::iterator it = mpPublicSlots->begin(); it != mpPublicSlots->end(); ++it)
            if ((*it)->matchName(sName))
                return (*it)->slot();
    return nullptr;
}

cPublicSlot* cConnectable::tryFindPublicSlot(const cAbstractSlotCall& oSlotCall) const
{
    if (mpPublicSlots)
        for (tPublicSlots::iterator it = mpPublicSlots->begin(); it != mpPublicSlots->end(); ++it)
            if ((*it)->slot() == &oSlotCall)
                return *it;
    return nullptr;
}

qstd::cAsciiString cConnectable::publicSlotName(const cAbstractSlotCall& oSlotCall) const
{
    const cPublicSlot* pSlot = tryFindPublicSlot(oSlotCall);
    return pSlot ? pSlot->name() : qstd::cAsciiString("unknown");
}

cPublicSignal* cConnectable::findPublicSignal(const qstd::cAsciiString& sName) const
{
    if (mpPublicSignals)
        for (tPublicSignals::iterator it = mpPublicSignals->begin(); it != mpPublicSignals->end();
             ++it)
            if ((*it)->matchName(sName))
                return *it;
    cRMIExceptions::throwNoSuchSignal(sName);
}

cAbstractSignal* cConnectable::findSignal(const qstd::cAsciiString& sName) const
{
    // An entry whose signal is gone describes nothing that could be connected.
    if (mpPublicSignals)
        for (tPublicSignals::iterator it = mpPublicSignals->begin(); it != mpPublicSignals->end();
             ++it)
            if ((*it)->signal() && (*it)->matchName(sName))
                return (*it)->signal();
    cRMIExceptions::throwNoSuchSignal(sName);
}

void cConnectable::invokeIndirectSlot(const qstd::cAsciiString& sName,
                                      qsa::cReferenceFrame& oFrame) const
{
    const cAbstractSlotCall* pSlotCall = tryFindSlot(sName);
    if (!pSlotCall)
        cRMIExceptions::throwNoSuchSlot(sName, oFrame);
    pSlotCall->call(oFrame);
}

void cConnectable::invokeIndirectRemoteSlot(const qstd::cAsciiString& sName,
                                            qsa::cAbstractDeserializer& oIn,
                                            qsa::cAbstractSerializer& oOut) const
{
    const cAbstractSlotCall* pSlotCall = tryFindSlot(sName);
    if (!pSlotCall)
        cRMIExceptions::throwNoSuchSlot(sName, "(?)");
    pSlotCall->call(oIn, oOut);
}

} // namespace qrmi
