// remoteserver.cpp - publishing components to peers and carrying out their calls.
// SPDX-License-Identifier: MIT
#include "remote/remoteserver.h"
#include "remote/remoteexceptions.h"
#include "remote/remoteprotocol.h"
#include "remote/remotevalue.h"
#include "qor_core/pi/debug.h"
#include "qor_core/pi/workqueue.h"
#include "qor_core/qcs/abstractinterface.h"
#include "qor_core/qcs/mcsexceptions.h"
#include "qor_core/rmi/publicsignal.h"
#include "qor_core/sa/deserializebinary.h"
#include "qor_core/sa/serializebinary.h"

#include <exception>

namespace qremote {

namespace {

/// Connected to a published signal: tells the peers about each emission.
class cForwardSlotCall : public qrmi::tAbstractSlotCall<piVoid>
{
public:
    cForwardSlotCall(cRemoteServer& oServer, const qcs::cComponentAddr& oAddress,
                     unsigned int iInterface, const qstd::cAsciiString& sSignal,
                     qrmi::cAbstractSignal* pSignal = nullptr)
        : qrmi::tAbstractSlotCall<piVoid>(oServer, pSignal), mpServer(&oServer),
          moAddress(oAddress), miInterface(iInterface), msSignal(sSignal)
    {
    }
    piVoid call() const override
    {
        mpServer->emitToPeers(moAddress, miInterface, msSignal);
        return piVoid();
    }
    piVoid callRef(qsa::cReferenceFrame&) const override { return call(); }
    qrmi::tAbstractSlotCall<piVoid>*
    createConnectedInstance(qrmi::cAbstractSignal& oSignal) const override
    {
        return new cForwardSlotCall(*mpServer, moAddress, miInterface, msSignal, &oSignal);
    }
    using qrmi::tAbstractSlotCall<piVoid>::call;

private:
    cRemoteServer* mpServer; ///< not owned; the receiver
    qcs::cComponentAddr moAddress;
    unsigned int miInterface;
    qstd::cAsciiString msSignal;
};

bool isPublishable(const qcs::cAbstractComponent& oComponent)
{
    return oComponent.isLocal() && oComponent.numInterfaces() > 0;
}

} // namespace

cRemoteSession::cRemoteSession(cRemoteServer& oServer,
                               qstd::tAutoPtr<qce::cNetAbstractConnection> pConnection)
    : cRemoteEndpoint(pConnection), mpServer(&oServer), miCalls(0)
{
    start();
}

cRemoteSession::~cRemoteSession()
{
    shutdown();
}

bool cRemoteSession::post(qsa::cSerializeBinary& oMessage)
{
    return sendMessage(oMessage);
}

void cRemoteSession::announce(qcs::cAbstractComponent& oComponent)
{
    qsa::cSerializeBinary oMessage;
    oMessage.store(piUInt32(kAnnounce));
    oComponent.location() >> oMessage;
    oMessage.store(oComponent.info().name());
    const unsigned int iCount = oComponent.numInterfaces();
    oMessage.store(piUInt32(iCount));
    for (unsigned int i = 0; i < iCount; ++i)
        oComponent.interface(i).store(oMessage);
    try {
        sendMessage(oMessage);
    } catch (const qstd::cAbstractException& e) {
        QOR_DEBUG_LINE("cRemoteSession: cannot publish " << oComponent.location().toString() << ": "
                                                         << e.typeName());
    }
}

void cRemoteSession::withdraw(const qcs::cComponentLocation& oLocation)
{
    qsa::cSerializeBinary oMessage;
    oMessage.store(piUInt32(kWithdraw));
    oLocation >> oMessage;
    sendMessage(oMessage);
}

void cRemoteSession::handleMessage(piUInt32 iKind, qsa::cDeserializeBinary& oMessage)
{
    if (iKind != kCall)
        cRemoteExceptions::throwUnknownMessage(iKind);
    call(oMessage);
}

void cRemoteSession::handleClosed(const qstd::cAbstractException&) {}

void cRemoteSession::call(qsa::cDeserializeBinary& oMessage)
{
    piUInt32 iId = 0, iInterface = 0, iCount = 0;
    qcs::cComponentAddr oTarget;
    qstd::cAsciiString sSlot;
    oMessage.load(iId);
    oTarget << oMessage;
    oMessage.load(iInterface);
    oMessage.load(sSlot);
    oMessage.load(iCount);
    if (iCount > unsigned(kMaxCallReferences))
        cRemoteExceptions::throwTooManyArguments(iCount);

    // The variables the slot reads and writes, of the types the caller named.
    qstd::tPtrVector<cRemoteValue> oValues;
    qsa::cReferenceFrame oFrame;
    qstd::cAsciiString sUnsupported;
    for (piUInt32 i = 0; i < iCount; ++i) {
        qstd::cAsciiString sType;
        bool bAlterable = false, bReadable = false;
        oMessage.load(sType);
        oMessage.load(bAlterable);
        oMessage.load(bReadable);
        qstd::tAutoPtr<cRemoteValue> pValue = cRemoteValue::create(sType);
        if (!pValue.get()) {
            if (sUnsupported.empty())
                sUnsupported = sType.empty() ? qstd::cAsciiString("?") : sType;
            continue;
        }
        pValue->addTo(oFrame, bAlterable, bReadable);
        oValues.append(pValue);
    }
    if (!sUnsupported.empty()) {
        try {
            cRemoteExceptions::throwUnsupportedType(sUnsupported);
        } catch (const qstd::cAbstractException& e) {
            replyFailure(iId, qcs::cComponentLocation(), e);
        }
        return;
    }
    oFrame.load(oMessage, false, true);

    ++miCalls;
    cAliveGuard oGuard(*this);
    qcs::cComponentLocation oFrom; // this process, until the component is known
    try {
        qcs::cAbstractComponent& oComponent = mpServer->findPublished(oTarget);
        oFrom = oComponent.location();
        oComponent.getInterface(iInterface).invokeIndirectSlot(sSlot, oFrame);
    } catch (const qstd::cAbstractException& e) {
        if (oGuard.alive())
            replyFailure(iId, oFrom, e);
        return;
    } catch (const std::exception&) {
        if (!oGuard.alive())
            return;
        try {
            cRemoteExceptions::throwForeignException(sSlot);
        } catch (const qstd::cAbstractException& e) {
            replyFailure(iId, oFrom, e);
        }
        return;
    }
    if (!oGuard.alive())
        return;
    qsa::cSerializeBinary oReply;
    oReply.store(piUInt32(kReply));
    oReply.store(iId);
    oReply.store(false);
    oFrame.store(oReply, true, false);
    try {
        sendMessage(oReply);
    } catch (const qstd::cAbstractException& e) {
        replyFailure(iId, oFrom, e); // the values do not fit into a frame
    }
}

void cRemoteSession::replyFailure(piUInt32 iId, const qcs::cComponentLocation& oFrom,
                                  const qstd::cAbstractException& e)
{
    qsa::cSerializeBinary oReply;
    oReply.store(piUInt32(kReply));
    oReply.store(iId);
    oReply.store(true);
    oFrom >> oReply;
    e.storeRecursive(oReply);
    try {
        sendMessage(oReply);
    } catch (const qstd::cAbstractException& eTooLarge) {
        // A chain that does not fit into a frame is replaced by the reason why.
        qsa::cSerializeBinary oShort;
        oShort.store(piUInt32(kReply));
        oShort.store(iId);
        oShort.store(true);
        oFrom >> oShort;
        eTooLarge.storeRecursive(oShort);
        sendMessage(oShort);
    }
}

cRemoteServer::cRemoteServer(qcs::cModuleMgr& oManager)
    : sigSessionClosed(qrmi::cAbstractSignal::IgnoreWhenUnconnected), moManager(oManager)
{
    moSweep.setName("remote server: delete closed sessions");
    moSweep.sigAction.connect(*this, &cRemoteServer::sltSweep);
    qpi::schedule(moSweep);
    oManager.sigComponentRegistered.connect(*this, &cRemoteServer::sltComponentRegistered);
    oManager.sigComponentRemoved.connect(*this, &cRemoteServer::sltComponentRemoved);
    for (auto it = oManager.components().begin(); it != oManager.components().end(); ++it) {
        qcs::cAbstractComponent* pComponent = (*it)->component();
        if (pComponent && publishes(*pComponent))
            forward(*pComponent, true);
    }
}

cRemoteServer::~cRemoteServer()
{
    moSessions.clear();
}

bool cRemoteServer::publishes(const qcs::cAbstractComponent& oComponent)
{
    return isPublishable(oComponent) && oComponent.announced();
}

unsigned int cRemoteServer::numOpenSessions() const
{
    unsigned int iOpen = 0;
    for (unsigned i = 0; i < moSessions.count(); ++i)
        if (moSessions[i]->isOpen())
            ++iOpen;
    return iOpen;
}

qcs::cAbstractComponent& cRemoteServer::findPublished(const qcs::cComponentAddr& oAddress) const
{
    qcs::cAbstractComponent* pComponent = moManager.hasComponent(oAddress);
    if (!pComponent || !publishes(*pComponent))
        qcs::cMCSExceptions::throwNoSuchModule(oAddress);
    return *pComponent;
}

cRemoteSession&
cRemoteServer::addConnection(qstd::tAutoPtr<qce::cNetAbstractConnection> pConnection)
{
    qstd::tAutoPtr<cRemoteSession> pSession(new cRemoteSession(*this, pConnection));
    cRemoteSession& oSession = *pSession;
    moSessions.append(pSession);
    oSession.sigClosed.connect(*this, &cRemoteServer::sltSessionClosed);
    for (auto it = moManager.components().begin();
         oSession.isOpen() && it != moManager.components().end(); ++it) {
        qcs::cAbstractComponent* pComponent = (*it)->component();
        if (pComponent && publishes(*pComponent))
            oSession.announce(*pComponent);
    }
    if (!oSession.isOpen())
        moSweep.start();
    return oSession;
}

void cRemoteServer::forward(qcs::cAbstractComponent& oComponent, bool bConnect)
{
    for (unsigned int i = 0; i < oComponent.numInterfaces(); ++i) {
        const qstd::tPtrList<qrmi::cPublicSignal>* pSignals =
            oComponent.interface(i).publicSignals();
        if (!pSignals)
            continue;
        for (auto it = pSignals->begin(); it != pSignals->end(); ++it) {
            // Only signals without arguments can be re-emitted on the other side.
            auto* pSignal = dynamic_cast<qrmi::tLocalSignal<piVoid>*>((*it)->signal());
            if (!pSignal)
                continue;
            if (bConnect)
                pSignal->connect(cForwardSlotCall(*this, oComponent.address(), i, (*it)->name()));
            else
                pSignal->disconnect(*this);
        }
    }
}

void cRemoteServer::emitToPeers(const qcs::cComponentAddr& oAddress, unsigned int iInterface,
                                const qstd::cAsciiString& sSignal)
{
    qsa::cSerializeBinary oMessage;
    oMessage.store(piUInt32(kEmit));
    oAddress >> oMessage;
    oMessage.store(piUInt32(iInterface));
    oMessage.store(sSignal);
    // Sessions are only deleted by the sweep, never from inside this loop.
    for (unsigned i = 0; i < moSessions.count(); ++i)
        if (moSessions[i]->isOpen())
            moSessions[i]->post(oMessage);
}

piVoid cRemoteServer::sltComponentRegistered(qcs::cAbstractComponent& oComponent)
{
    // The component counts as announced only after this signal.
    if (!isPublishable(oComponent))
        return piVoid();
    forward(oComponent, true);
    for (unsigned i = 0; i < moSessions.count(); ++i)
        if (moSessions[i]->isOpen())
            moSessions[i]->announce(oComponent);
    return piVoid();
}

piVoid cRemoteServer::sltComponentRemoved(qcs::cAbstractComponent& oComponent)
{
    if (!publishes(oComponent))
        return piVoid();
    forward(oComponent, false);
    for (unsigned i = 0; i < moSessions.count(); ++i)
        if (moSessions[i]->isOpen())
            moSessions[i]->withdraw(oComponent.location());
    return piVoid();
}

piVoid cRemoteServer::sltSessionClosed(cRemoteEndpoint& oSession,
                                       const qstd::cAbstractException& oReason)
{
    moSweep.start();
    sigSessionClosed(oSession, oReason);
    return piVoid();
}

piVoid cRemoteServer::sltSweep()
{
    for (unsigned i = moSessions.count(); i-- > 0;)
        if (!moSessions[i]->isOpen())
            moSessions.remove(i);
    return piVoid();
}

} // namespace qremote
