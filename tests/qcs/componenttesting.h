// componenttesting.h - interfaces, components, an RMI factory, a recorder of the
// manager's signals and a fixture that turns the system's work queue without ever
// sleeping, for the component system tests.
#ifndef QOR_TESTS_QCS_COMPONENTTESTING_H
#define QOR_TESTS_QCS_COMPONENTTESTING_H

#include "pi/worktesting.h"
#include "qcs/qcstesting.h"
#include "qor_core/qcs/modulemgr_p.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qortest {

typedef std::vector<std::string> tLog;
const qcs::cInterfaceDesc::InterfaceType Provided = qcs::cInterfaceDesc::Provided;
const qcs::cInterfaceDesc::InterfaceType Required = qcs::cInterfaceDesc::Required;

/// A slot call that does nothing: the published slots and the RMI factory's proxies.
struct cBareSlotCall : qrmi::cAbstractSlotCall
{
    explicit cBareSlotCall(qrmi::cConnectable& o) : qrmi::cAbstractSlotCall(o, nullptr) {}
};

/// An interface that logs attach and detach, counts its destructions and publishes
/// slots and signals (which it owns).
class cTestInterface : public qcs::cAbstractInterface
{
public:
    static inline int siDestroyed = 0;

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
    void publishSlot(const char* pName)
    {
        registerSlot(pName, "piVoid", "", pName,
                     qstd::tAutoPtr<qrmi::cAbstractSlotCall>(new cBareSlotCall(*this)));
    }
    void publishSignal(const char* pName)
    {
        moSignals.emplace_back(new qrmi::signal0<piVoid>);
        registerSignal(pName, "piVoid", "", qrmi::cAbstractSignal::ProviderSide, pName,
                       moSignals.back().get());
    }

    qcs::cAbstractInterface* mpAttached = nullptr;
    tLog moLog;
    std::vector<std::unique_ptr<qrmi::signal0<piVoid>>> moSignals;
};

/// The application's RMI factory: bare proxy slot calls, and proxy signals it owns.
class cTestRMIFactory : public qrmi::cAbstractRMIFactory
{
public:
    qstd::tAutoPtr<qrmi::cAbstractSlotCall>
    createRemoteSlotCall(qrmi::cConnectable& oOwner) override
    {
        return qstd::tAutoPtr<qrmi::cAbstractSlotCall>(new cBareSlotCall(oOwner));
    }
    qrmi::cAbstractSignal* createRemoteSignal(unsigned int iConnectableIndex) override
    {
        moIndices.push_back(iConnectableIndex);
        moSignals.emplace_back(new qrmi::signal0<piVoid>);
        return moSignals.back().get();
    }
    std::vector<unsigned> moIndices;
    std::vector<std::unique_ptr<qrmi::signal0<piVoid>>> moSignals;
};

/// The names in a connectable's (non-null) list of public slots or signals.
template <class T> tLog namesOf(const qstd::tPtrList<T>* pList)
{
    tLog oNames;
    for (auto it = pList->begin(); it != pList->end(); ++it)
        oNames.push_back((*it)->name().c_str());
    return oNames;
}

/// A component named by its module info, with the knobs the manager asks about;
/// logs "notified x", "shortly x", "close? x" and "destroyed x".
class cTestComponent : public qcs::cAbstractComponent
{
public:
    static inline int siDestroyed = 0;

    cTestComponent(qcs::cModuleMgr& oManager, const std::string& sName, tLog* pLog = nullptr,
                   unsigned iFixedID = 0)
        : qcs::cAbstractComponent(oManager), msName(sName), mpLog(pLog), miFixedID(iFixedID)
    {
        moduleInfo().setName(sName.c_str());
    }
    ~cTestComponent() override { ++siDestroyed, log("destroyed"); }
    unsigned int fixedModuleID() const override { return miFixedID; }
    bool delayAnnouncement() const override { return mbDelay; }
    void notifyComponentRegistered() override
    {
        log("notified");
        if (mfOnNotify)
            mfOnNotify();
    }
    void notifyShortlyRemove() override { log("shortly"); }
    bool applicationCloseAdvisable(qcs::cAbstractQORApp&) override
    {
        return log("close?"), mbCloseAdvisable;
    }
    /// Publishes a new owned interface.
    cTestInterface& offer(qcs::cInterfaceDesc::InterfaceType eType, const char* pName)
    {
        cTestInterface* pInterface = new cTestInterface(eType, pName);
        addInterface(qstd::tAutoPtr<qcs::cAbstractInterface>(pInterface));
        return *pInterface;
    }
    void log(const char* pWhat)
    {
        if (mpLog)
            mpLog->push_back(pWhat + (" " + msName));
    }

    std::string msName;
    tLog* mpLog;
    unsigned miFixedID;
    bool mbDelay = false;
    bool mbCloseAdvisable = true;
    std::function<void()> mfOnNotify;
};

/// Logs the manager's signals as "added a", "registered a", "removed a",
/// "componentdeps" and "interfacedeps 1:2"; mfHook runs after each component
/// signal with the signal's word.
class cManagerRecorder : public qrmi::cConnectable
{
public:
    cManagerRecorder(qcs::cModuleMgr& oManager, tLog& oLog) : moLog(oLog)
    {
        oManager.sigComponentAdded.connect(*this, &cManagerRecorder::sltAdded);
        oManager.sigComponentRegistered.connect(*this, &cManagerRecorder::sltRegistered);
        oManager.sigComponentRemoved.connect(*this, &cManagerRecorder::sltRemoved);
        oManager.sigComponentDepModified.connect(*this, &cManagerRecorder::sltComponentDeps);
        oManager.sigInterfaceDepModified.connect(*this, &cManagerRecorder::sltInterfaceDeps);
    }
    piVoid sltAdded(qcs::cAbstractComponent& c) { return note("added", c); }
    piVoid sltRegistered(qcs::cAbstractComponent& c) { return note("registered", c); }
    piVoid sltRemoved(qcs::cAbstractComponent& c) { return note("removed", c); }
    piVoid sltComponentDeps() { return moLog.push_back("componentdeps"), piVoid(); }
    piVoid sltInterfaceDeps(const qcs::cComponentLocation& o)
    {
        return moLog.push_back(std::string("interfacedeps ") + o.address().toString().c_str()),
               piVoid();
    }

    std::function<void(const std::string&, qcs::cAbstractComponent&)> mfHook;

private:
    piVoid note(const char* pWhat, qcs::cAbstractComponent& c)
    {
        moLog.push_back(std::string(pWhat) + " " + c.info().name().c_str());
        if (mfHook)
            mfHook(pWhat, c);
        return piVoid();
    }
    tLog& moLog;
};

/// Turns the system's work queue with process events that never wait; restores the
/// platform's afterwards and checks that the manager's works left the queue.
class ComponentTest : public testing::Test
{
protected:
    void SetUp() override
    {
        cTestComponent::siDestroyed = cTestInterface::siDestroyed = 0;
        miJobsBefore = liveEntries(queue());
        queue().setEvents(qstd::tAutoPtr<qpi::cAbstractProcessEvents>(new cRecordingEvents));
    }
    void TearDown() override
    {
        queue().setEvents(qpi::cPlatform().createProcessEvents());
        EXPECT_EQ(miJobsBefore, liveEntries(queue()));
    }
    static qpi::cWorkQueue& queue() { return qpi::system().workQueue(); }
    static void turns(int iCount = 1)
    {
        for (int i = 0; i < iCount; ++i)
            qpi::system().exec();
    }
    static bool passWanted(qcs::cModuleMgr& oManager)
    {
        return oManager.impl().moManagementWork.isStarted();
    }

    unsigned miJobsBefore = 0;
    qce::cCoreExtensionMgr moExtensions;
};

} // namespace qortest

#endif
