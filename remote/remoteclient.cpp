// remoteclient.cpp - the side of a connection that uses a peer's components.
// SPDX-License-Identifier: MIT
#include "remote/remoteclient.h"
#include "remote/remoteprotocol.h"
#include "remote/remotevalue.h"
#include "qor_core/pi/debug.h"
#include "qor_core/pi/workqueue.h"
#include "qor_core/qcs/mcsexceptions.h"
#include "qor_core/sa/deserializebinary.h"
#include "qor_core/sa/serializebinary.h"
#include "qor_core/sa/typereference.h"

namespace qremote {

cRemoteClient::cRemoteClient(qcs::cModuleMgr& oManager,
                             qstd::tAutoPtr<qce::cNetAbstractConnection> pConnection)
    : cRemoteEndpoint(pConnection), moManager(oManager), miCallTimeout(kDefaultCallTimeout),
      miNextId(1), miPending(0), miMembers(0), mpFirstCall(nullptr), mpLastCall(nullptr),
      moComponents(qstd::tAutoPtrType::Borrowed)
{
    start();
}

cRemoteClient::~cRemoteClient()
{
    shutdown(); // calls started from the slots below fail at once
    releaseComponents();
    const qstd::cAbstractException* pReason = closeReason();
    while (mpFirstCall)
        mpFirstCall->failClosed(pReason);
}

cRemoteComponent* cRemoteClient::findRemoteComponent(const qcs::cComponentAddr& oAddress) const
{
    for (unsigned i = 0; i < moComponents.count(); ++i)
        if (!moComponents[i]->toRemove() && moComponents[i]->remoteAddress() == oAddress)
            return moComponents[i];
    return nullptr;
}

cAbstractExceptionThrower*
cRemoteClient::throwerFor(const qstd::cAbstractException& oException) const
{
    for (unsigned i = moThrowers.count(); i-- > 0;)
        if (moThrowers[i]->knows(oException))
            return moThrowers[i]->clone();
    return nullptr;
}

void cRemoteClient::send(cRemoteCall& oCall, const cRemoteComponent& oComponent,
                         unsigned int iInterface, const qstd::cAsciiString& sSlot,
                         qsa::cReferenceFrame& oFrame)
{
    // Everything is checked and written before the call goes on the list, so that a
    // call that cannot be made throws here and leaves nothing behind.
    oCall.moFrame = oFrame;
    qsa::cReferenceFrame& oCopy = oCall.moFrame;
    unsigned int iCount = 0;
    for (oCopy.restartReading(); oCopy.canRead(); oCopy.skipNext())
        ++iCount;
    if (iCount > unsigned(kMaxCallReferences))
        cRemoteExceptions::throwTooManyArguments(iCount);
    const piUInt32 iId = miNextId;
    miNextId = miNextId == 0xFFFFFFFFu ? 1 : miNextId + 1;

    qsa::cSerializeBinary oMessage;
    oMessage.store(piUInt32(kCall));
    oMessage.store(iId);
    oComponent.remoteAddress() >> oMessage;
    oMessage.store(piUInt32(iInterface));
    oMessage.store(sSlot);
    oMessage.store(piUInt32(iCount));
    for (oCopy.restartReading(); oCopy.canRead(); oCopy.skipNext()) {
        const qsa::cAbstractTypeReference& oReference = oCopy.currentReference();
        const qstd::cAsciiString sType = oReference.typeName();
        if (!cRemoteValue::create(sType).get())
            cRemoteExceptions::throwUnsupportedType(sType);
        oMessage.store(sType);
        oMessage.store(oReference.alterable());
        oMessage.store(oReference.readable());
    }
    oCopy.restartReading();
    oCopy.store(oMessage, false, true);

    oCall.miId = iId;
    oCall.miTimeout = miCallTimeout;
    if (!isOpen()) {
        oCall.failClosed(closeReason());
        return;
    }
    link(oCall);
    if (miCallTimeout) {
        qpi::schedule(oCall.moTimeoutWork);
        oCall.moTimeoutWork.start(miCallTimeout, qpi::cWork::Single);
    }
    try {
        sendMessage(oMessage); // a close on the way fails the call
    } catch (...) {
        if (oCall.mpClient == this) {
            unlink(oCall);
            oCall.moTimeoutWork.stop();
        }
        throw;
    }
}

void cRemoteClient::link(cRemoteCall& oCall)
{
    oCall.mpClient = this;
    oCall.mpPrev = mpLastCall;
    oCall.mpNext = nullptr;
    if (mpLastCall)
        mpLastCall->mpNext = &oCall;
    else
        mpFirstCall = &oCall;
    mpLastCall = &oCall;
    ++miPending;
}

void cRemoteClient::unlink(cRemoteCall& oCall)
{
    if (oCall.mpPrev)
        oCall.mpPrev->mpNext = oCall.mpNext;
    else
        mpFirstCall = oCall.mpNext;
    if (oCall.mpNext)
        oCall.mpNext->mpPrev = oCall.mpPrev;
    else
        mpLastCall = oCall.mpPrev;
    oCall.mpPrev = oCall.mpNext = nullptr;
    oCall.mpClient = nullptr;
    --miPending;
}

void cRemoteClient::forget(cRemoteComponent& oComponent)
{
    for (unsigned i = 0; i < moComponents.count(); ++i)
        if (moComponents[i] == &oComponent) {
            moComponents.remove(i);
            return;
        }
}

void cRemoteClient::releaseComponents()
{
    while (!moComponents.empty()) {
        cRemoteComponent* pComponent = moComponents.take(moComponents.count() - 1);
        pComponent->mpClient = nullptr;
        miMembers -= pComponent->miMembers;
        if (!pComponent->toRemove())
            pComponent->removeLater();
    }
}

void cRemoteClient::handleClosed(const qstd::cAbstractException& oReason)
{
    releaseComponents();
    cAliveGuard oGuard(*this);
    // Each failure unlinks its call before its slots run.
    while (oGuard.alive() && mpFirstCall)
        mpFirstCall->failClosed(&oReason);
}

void cRemoteClient::handleMessage(piUInt32 iKind, qsa::cDeserializeBinary& oMessage)
{
    switch (iKind) {
    case kAnnounce:
        announce(oMessage);
        break;
    case kWithdraw:
        withdraw(oMessage);
        break;
    case kReply:
        reply(oMessage);
        break;
    case kEmit:
        emitted(oMessage);
        break;
    default:
        cRemoteExceptions::throwUnknownMessage(iKind);
    }
}

void cRemoteClient::announce(qsa::cDeserializeBinary& oMessage)
{
    qcs::cComponentLocation oLocation;
    oLocation << oMessage;
    qstd::cAsciiString sName;
    oMessage.load(sName);
    piUInt32 iInterfaces = 0;
    oMessage.load(iInterfaces);
    if (iInterfaces > unsigned(kMaxInterfaces))
        cRemoteExceptions::throwLimitExceeded(kMaxInterfaces, "interfaces of a component");
    unsigned int iLive = 0;
    for (unsigned i = 0; i < moComponents.count(); ++i) {
        if (moComponents[i]->toRemove())
            continue;
        if (moComponents[i]->location() == oLocation)
            cRemoteExceptions::throwDuplicateComponent(oLocation.toString());
        ++iLive;
    }
    if (iLive >= unsigned(kMaxRemoteComponents))
        cRemoteExceptions::throwLimitExceeded(kMaxRemoteComponents, "components");

    qstd::tAutoPtr<cRemoteComponent> pComponent(new cRemoteComponent(moManager, *this, oLocation));
    pComponent->moduleInfo().setName(sName);
    for (piUInt32 i = 0; i < iInterfaces; ++i) {
        qstd::tAutoPtr<cRemoteInterface> pInterface(new cRemoteInterface(*pComponent, i));
        pInterface->loadDescription(oMessage);
        pComponent->addInterface(qstd::tAutoPtr<qcs::cAbstractInterface>(pInterface.release()));
    }
    moComponents.append(pComponent.get());
    moManager.addComponent(qstd::tAutoPtr<qcs::cAbstractComponent>(pComponent.release()),
                           qcs::cComponentAddr());
}

void cRemoteClient::withdraw(qsa::cDeserializeBinary& oMessage)
{
    qcs::cComponentLocation oLocation;
    oLocation << oMessage;
    for (unsigned i = 0; i < moComponents.count(); ++i)
        if (!moComponents[i]->toRemove() && moComponents[i]->location() == oLocation)
            moComponents[i]->removeLater();
}

void cRemoteClient::reply(qsa::cDeserializeBinary& oMessage)
{
    piUInt32 iId = 0;
    bool bFailed = false;
    oMessage.load(iId);
    oMessage.load(bFailed);
    cRemoteCall* pCall = mpFirstCall;
    while (pCall && pCall->miId != iId)
        pCall = pCall->mpNext;
    if (!pCall)
        return; // abandoned, or timed out before the reply came
    if (!bFailed) {
        pCall->moFrame.load(oMessage, true, false);
        pCall->finish(qstd::tAutoPtr<qstd::cAbstractException>());
        return;
    }
    qcs::cComponentLocation oFrom;
    oFrom << oMessage;
    qstd::tAutoPtr<qstd::cAbstractException> pChain;
    bool bMore = false;
    oMessage.load(bMore);
    for (unsigned int iRead = 0; bMore;) {
        qstd::cAsciiString sType;
        oMessage.load(sType);
        qstd::tAutoPtr<qstd::cAbstractException> pException =
            moManager.createRemoteException(oFrom, sType, oMessage);
        // A type nobody knows was not read: what follows it cannot be found.
        const bool bRead = pException->typeName() == sType;
        if (pChain.get())
            pChain->link(pException.release());
        else
            pChain = pException;
        if (!bRead || ++iRead >= unsigned(kMaxExceptionChain))
            break;
        oMessage.load(bMore);
    }
    if (!pChain.get()) {
        pChain.reset(new qcs::cRMIException(oFrom, pCall->miInterfaceIndex,
                                            qcs::cRMIException::CallSlot, pCall->msSlotName));
        pChain->setRemoteInfo(oFrom);
    }
    pCall->finish(pChain);
}

void cRemoteClient::emitted(qsa::cDeserializeBinary& oMessage)
{
    qcs::cComponentAddr oAddress;
    oAddress << oMessage;
    piUInt32 iInterface = 0;
    oMessage.load(iInterface);
    qstd::cAsciiString sSignal;
    oMessage.load(sSignal);
    cRemoteComponent* pComponent = findRemoteComponent(oAddress);
    if (!pComponent || iInterface >= pComponent->numInterfaces())
        return; // withdrawn meanwhile
    try {
        pComponent->remoteInterface(iInterface).emitProxySignal(sSignal);
    } catch (const qstd::cAbstractException& e) {
        // The emitter is in the other process; the connection is not to blame.
        QOR_DEBUG_LINE("cRemoteClient: a slot of the remote signal " << sSignal << " threw "
                                                                     << e.typeName());
    }
}

} // namespace qremote
