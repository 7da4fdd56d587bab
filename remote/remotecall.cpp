// remotecall.cpp - one call of a remote slot.
// SPDX-License-Identifier: MIT
#include "remote/remotecall.h"
#include "remote/remoteclient.h"
#include "remote/remoteexceptions.h"
#include "qor_core/pi/localeventloop.h"
#include "qor_core/pi/workqueue.h"
#include "qor_core/qcs/mcsexceptions.h"

namespace qremote {

cRemoteCall::cRemoteCall()
    : sigFinished(qrmi::cAbstractSignal::IgnoreWhenUnconnected), mpClient(nullptr), mpPrev(nullptr),
      mpNext(nullptr), miId(0), meState(Pending), miInterfaceIndex(0), miTimeout(0)
{
    moTimeoutWork.setName("remote call time-out");
    moTimeoutWork.sigAction.connect(*this, &cRemoteCall::sltTimeout);
}

cRemoteCall::~cRemoteCall()
{
    if (mpClient)
        mpClient->unlink(*this);
}

void cRemoteCall::describe(const qcs::cComponentLocation& oLocation, unsigned int iInterfaceIndex,
                           const qstd::cAsciiString& sSlotName)
{
    moLocation = oLocation;
    miInterfaceIndex = iInterfaceIndex;
    msSlotName = sSlotName;
}

void cRemoteCall::check() const
{
    if (meState == Failed && mpFailure.get())
        cRemoteExceptions::raise(*mpFailure, mpThrower.get());
}

void cRemoteCall::wait()
{
    if (finished())
        return;
    qpi::cLocalEventLoop oLoop;
    while (!finished())
        oLoop.process();
}

piVoid cRemoteCall::sltTimeout()
{
    if (finished())
        return piVoid();
    try {
        cRemoteExceptions::throwCallTimeout(
            miTimeout, qcs::cRMIException(moLocation, miInterfaceIndex,
                                          qcs::cRMIException::CallSlot, msSlotName));
    } catch (const qstd::cAbstractException& e) {
        finish(qstd::tAutoPtr<qstd::cAbstractException>(e.createObject()));
    }
    return piVoid();
}

void cRemoteCall::failClosed(const qstd::cAbstractException* pReason)
{
    try {
        cRemoteExceptions::throwCallClosed(qcs::cRMIException(moLocation, miInterfaceIndex,
                                                              qcs::cRMIException::CallSlot,
                                                              msSlotName),
                                           pReason);
    } catch (const qstd::cAbstractException& e) {
        finish(qstd::tAutoPtr<qstd::cAbstractException>(e.createObject()));
    }
}

void cRemoteCall::finish(qstd::tAutoPtr<qstd::cAbstractException> pFailure)
{
    if (finished())
        return;
    if (mpClient) {
        if (pFailure.get())
            mpThrower.reset(mpClient->throwerFor(*pFailure));
        mpClient->unlink(*this);
    }
    moTimeoutWork.stop();
    mpFailure = pFailure;
    meState = mpFailure.get() ? Failed : Succeeded;
    // The frame's variables may be gone once the caller learns the outcome.
    moFrame = qsa::cReferenceFrame();
    sigFinished(*this);
}

} // namespace qremote
