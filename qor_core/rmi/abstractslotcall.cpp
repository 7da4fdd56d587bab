// abstractslotcall.cpp - cAbstractSlotCall.
// SPDX-License-Identifier: MIT
#include "qor_core/rmi/abstractslotcall.h"
#include "qor_core/pi/debug.h"
#include "qor_core/rmi/connectable.h"
#include "qor_core/rmi/publicslot.h"
#include "qor_core/rmi/rmiexceptions.h"

namespace qrmi {

cAbstractSlotCall::cAbstractSlotCall(cConnectable& oReceiver, cAbstractSignal* pSignal)
    : mpAssignedObject(&oReceiver), mpSignal(pSignal), mpPublicSlot(nullptr)
{
    if (pSignal)
        oReceiver.notifySignalAttached(*pSignal);
}

cAbstractSlotCall::~cAbstractSlotCall()
{
    if (mpSignal)
        mpAssignedObject->notifySignalDetached(*mpSignal);
}

bool cAbstractSlotCall::matchSlotOfObject(const cConnectable* pObject) const
{
    return pObject == mpAssignedObject;
}

void cAbstractSlotCall::call(qsa::cReferenceFrame&) const
{
    QOR_DEBUG_LINE("DummyCall (1)");
}

void cAbstractSlotCall::call(qsa::cAbstractDeserializer&, qsa::cAbstractSerializer&) const
{
    QOR_DEBUG_LINE(qpi::piStackTrace(128));
    QOR_DEBUG_LINE("DummyCall (2)");
}

void cAbstractSlotCall::reAssign(cAbstractSignal* pNewSignal)
{
    if (mpSignal && pNewSignal)
        mpAssignedObject->reAssign(*mpSignal, *pNewSignal);
}

const qstd::cAsciiString& cAbstractSlotCall::publicSlotName() const
{
    if (!mpPublicSlot)
        cRMIExceptions::throwSlotNotPublic();
    return mpPublicSlot->name();
}

cPublicSlot* cAbstractSlotCall::registerSlotByInterface(const qstd::cAsciiString& sName,
                                                        const qstd::cAsciiString& sReturnType,
                                                        const qstd::cAsciiString& sParamTypes,
                                                        const qstd::cAsciiString& sDescription,
                                                        qstd::tAutoPtr<cAbstractSlotCall> pSlotCall)
{
    return mpAssignedObject->registerSlot(sName, sReturnType, sParamTypes, sDescription, pSlotCall);
}

} // namespace qrmi
