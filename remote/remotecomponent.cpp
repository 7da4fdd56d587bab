// remotecomponent.cpp - the stand-ins of a peer's components, their interfaces and
// the proxies of their slots and signals.
// SPDX-License-Identifier: MIT
#include "remote/remotecomponent.h"
#include "remote/remoteclient.h"
#include "remote/remoteexceptions.h"
#include "qor_core/rmi/abstractrmifactory.h"
#include "qor_core/rmi/publicsignal.h"
#include "qor_core/std/stdexceptions.h"

namespace qremote {

namespace {

/// The public slot of a remote interface: a call through a frame goes to the peer.
class cRemoteSlotCall : public qrmi::cAbstractSlotCall
{
public:
    explicit cRemoteSlotCall(cRemoteInterface& oInterface)
        : qrmi::cAbstractSlotCall(oInterface, nullptr)
    {
    }
    void call(qsa::cReferenceFrame& oFrame) const override
    {
        // Copied: the interface, and this slot call with it, may be gone when the
        // call returns.
        const qstd::cAsciiString sName = publicSlotName();
        static_cast<cRemoteInterface&>(assignedObject()).call(sName, oFrame);
    }
    /// The arguments of a stream carry no types the peer could rebuild them with.
    void call(qsa::cAbstractDeserializer&, qsa::cAbstractSerializer&) const override
    {
        qstd::cSTDExceptions::throwUnsupportedOperation(
            "remote slot call with serialized arguments");
    }
};

/// Makes the proxies of one remote interface while it is loaded.
class cRemoteFactory : public qrmi::cAbstractRMIFactory
{
public:
    explicit cRemoteFactory(cRemoteInterface& oInterface) : moInterface(oInterface) {}
    qstd::tAutoPtr<qrmi::cAbstractSlotCall>
    createRemoteSlotCall(qrmi::cConnectable& oOwner) override
    {
        QOR_ASSERT(&oOwner == &moInterface);
        moInterface.component().countMember();
        return qstd::tAutoPtr<qrmi::cAbstractSlotCall>(new cRemoteSlotCall(moInterface));
    }
    qrmi::cAbstractSignal* createRemoteSignal(unsigned int) override
    {
        moInterface.component().countMember();
        return moInterface.createProxySignal();
    }

private:
    cRemoteInterface& moInterface;
};

} // namespace

cRemoteInterface::cRemoteInterface(cRemoteComponent& oComponent, unsigned int iIndex)
    : qcs::cAbstractInterface(qcs::cInterfaceDesc()), mpComponent(&oComponent)
{
    setIndex(iIndex);
}

cRemoteInterface::~cRemoteInterface()
{
    // The public entries forget the proxy signals as these go.
    moSignals.clear();
}

void cRemoteInterface::loadDescription(qsa::cAbstractDeserializer& oDeserializer)
{
    moSignals.clear();
    cRemoteFactory oFactory(*this);
    load(oDeserializer, oFactory);
}

qrmi::cAbstractSignal* cRemoteInterface::createProxySignal()
{
    qrmi::signal0<piVoid>* pSignal =
        new qrmi::signal0<piVoid>(qrmi::cAbstractSignal::IgnoreWhenUnconnected);
    moSignals.append(qstd::tAutoPtr<qrmi::signal0<piVoid>>(pSignal));
    return pSignal;
}

bool cRemoteInterface::emitProxySignal(const qstd::cAsciiString& sSignal)
{
    const qstd::tPtrList<qrmi::cPublicSignal>* pSignals = publicSignals();
    if (!pSignals)
        return false;
    for (auto it = pSignals->begin(); it != pSignals->end(); ++it) {
        if (!(*it)->matchName(sSignal))
            continue;
        if (auto* pSignal = dynamic_cast<qrmi::signal0<piVoid>*>((*it)->signal())) {
            (*pSignal)();
            return true;
        }
    }
    return false;
}

void cRemoteInterface::start(cRemoteCall& oCall, const qstd::cAsciiString& sSlot,
                             qsa::cReferenceFrame& oFrame)
{
    oCall.describe(mpComponent->location(), interfaceIndex(), sSlot);
    cRemoteClient* pClient = mpComponent->client();
    if (!pClient) {
        oCall.failClosed(nullptr);
        return;
    }
    pClient->send(oCall, *mpComponent, interfaceIndex(), sSlot, oFrame);
}

void cRemoteInterface::call(const qstd::cAsciiString& sSlot, qsa::cReferenceFrame& oFrame)
{
    cRemoteCall oCall;
    start(oCall, sSlot, oFrame);
    // Nothing of this interface is touched after the wait: the nested loop may
    // remove its component.
    oCall.wait();
    oCall.check();
}

qstd::tAutoPtr<cRemoteCall> cRemoteInterface::startCall(const qstd::cAsciiString& sSlot,
                                                        qsa::cReferenceFrame& oFrame)
{
    qstd::tAutoPtr<cRemoteCall> pCall(new cRemoteCall);
    start(*pCall, sSlot, oFrame);
    return pCall;
}

cRemoteComponent::cRemoteComponent(qcs::cModuleMgr& oManager, cRemoteClient& oClient,
                                   const qcs::cComponentLocation& oRemoteLocation)
    : qcs::cAbstractComponent(oManager), mpClient(&oClient), miMembers(0)
{
    componentLocation() = oRemoteLocation;
    cRemoteExceptions::registerFrameworkExceptions(*this);
    for (unsigned i = 0; i < oClient.moPrototypes.count(); ++i)
        registerRemoteException(
            qstd::tAutoPtr<qstd::cAbstractException>(oClient.moPrototypes[i]->createObject()));
}

cRemoteComponent::~cRemoteComponent()
{
    if (mpClient) {
        mpClient->miMembers -= miMembers;
        mpClient->forget(*this);
    }
}

void cRemoteComponent::countMember()
{
    if (!mpClient)
        return;
    if (mpClient->miMembers >= unsigned(kMaxRemoteMembers))
        cRemoteExceptions::throwLimitExceeded(kMaxRemoteMembers, "published slots and signals");
    ++mpClient->miMembers;
    ++miMembers;
}

cRemoteInterface& cRemoteComponent::remoteInterface(unsigned int iIndex)
{
    return static_cast<cRemoteInterface&>(getInterface(iIndex));
}

} // namespace qremote
