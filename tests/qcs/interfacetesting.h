// interfacetesting.h - interfaces, slot calls and an RMI factory for the component
// system tests.
#ifndef QOR_TESTS_QCS_INTERFACETESTING_H
#define QOR_TESTS_QCS_INTERFACETESTING_H

#include "qcs/qcstesting.h"

#include <memory>
#include <string>
#include <vector>

namespace qortest {

/// A public slot without arguments that counts its calls.
class cCountingSlotCall : public qrmi::cAbstractSlotCall0<piVoid>
{
public:
    cCountingSlotCall(qrmi::cConnectable& oReceiver, int& iCalls,
                      qrmi::cAbstractSignal* pSignal = nullptr)
        : qrmi::cAbstractSlotCall0<piVoid>(oReceiver, pSignal), miCalls(iCalls)
    {
    }
    piVoid call() const override
    {
        ++miCalls;
        return piVoid();
    }
    piVoid callRef(qsa::cReferenceFrame&) const override { return call(); }
    qrmi::cAbstractSlotCall0<piVoid>*
    createConnectedInstance(qrmi::cAbstractSignal& oSignal) const override
    {
        return new cCountingSlotCall(assignedObject(), miCalls, &oSignal);
    }
    using qrmi::cAbstractSlotCall0<piVoid>::call;

private:
    int& miCalls;
};

/// An interface that records attach and detach and counts its destructions. It
/// publishes the slots and signals it is given.
class cTestInterface : public qcs::cAbstractInterface
{
public:
    static inline int siDestroyed = 0;

    explicit cTestInterface(const qcs::cInterfaceDesc& oDesc) : qcs::cAbstractInterface(oDesc) {}
    cTestInterface(qcs::cInterfaceDesc::InterfaceType eType, const char* pName)
        : qcs::cAbstractInterface(qcs::cInterfaceDesc(eType, pName, "tester", 1, "for tests"))
    {
    }
    ~cTestInterface() override { ++siDestroyed; }

    void attach(qcs::cAbstractInterface& oProvider) override
    {
        mpAttached = &oProvider;
        moLog.push_back(std::string("attach ") + oProvider.desc().name().c_str());
    }
    void detach() override
    {
        mpAttached = nullptr;
        moLog.push_back("detach");
    }

    /// Publishes a counting slot named pName.
    qrmi::cPublicSlot* publishSlot(const char* pName)
    {
        return registerSlot(
            pName, "piVoid", "", std::string("slot ").append(pName).c_str(),
            qstd::tAutoPtr<qrmi::cAbstractSlotCall>(new cCountingSlotCall(*this, miSlotCalls)));
    }
    /// Publishes a new signal named pName, owned by this interface.
    qrmi::cPublicSignal* publishSignal(const char* pName)
    {
        moSignals.emplace_back(
            new qrmi::signal0<piVoid>(qrmi::cAbstractSignal::IgnoreWhenUnconnected));
        return registerSignal(pName, "piVoid", "", qrmi::cAbstractSignal::ProviderSide,
                              std::string("signal ").append(pName).c_str(), moSignals.back().get());
    }

    qcs::cAbstractInterface* mpAttached = nullptr;
    std::vector<std::string> moLog;
    int miSlotCalls = 0;
    std::vector<std::unique_ptr<qrmi::signal0<piVoid>>> moSignals;
};

/// A proxy slot call that only records that it was made.
class cProxySlotCall : public qrmi::cAbstractSlotCall
{
public:
    explicit cProxySlotCall(qrmi::cConnectable& oOwner) : qrmi::cAbstractSlotCall(oOwner, nullptr)
    {
    }
};

/// The application's RMI factory: proxy slot calls, and one proxy signal per call,
/// which the factory owns.
class cTestRMIFactory : public qrmi::cAbstractRMIFactory
{
public:
    qstd::tAutoPtr<qrmi::cAbstractSlotCall>
    createRemoteSlotCall(qrmi::cConnectable& oOwner) override
    {
        ++miSlotCalls;
        return qstd::tAutoPtr<qrmi::cAbstractSlotCall>(new cProxySlotCall(oOwner));
    }
    qrmi::cAbstractSignal* createRemoteSignal(unsigned int iConnectableIndex) override
    {
        moIndices.push_back(iConnectableIndex);
        moSignals.emplace_back(new qrmi::signal0<piVoid>);
        return moSignals.back().get();
    }

    int miSlotCalls = 0;
    std::vector<unsigned> moIndices;
    std::vector<std::unique_ptr<qrmi::signal0<piVoid>>> moSignals;
};

/// The names of the public slots (or signals) of a connectable, in list order.
template <class T> std::vector<std::string> namesOf(const qstd::tPtrList<T>* pList)
{
    std::vector<std::string> oNames;
    if (pList)
        for (auto it = pList->begin(); it != pList->end(); ++it)
            oNames.push_back((*it)->name().c_str());
    return oNames;
}

} // namespace qortest

#endif
