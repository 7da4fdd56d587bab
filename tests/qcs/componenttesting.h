// componenttesting.h - components, a signal recorder and a fixture that turns the
// system's work queue without ever sleeping, for the module manager and dependency
// tests.
#ifndef QOR_TESTS_QCS_COMPONENTTESTING_H
#define QOR_TESTS_QCS_COMPONENTTESTING_H

#include "pi/worktesting.h"
#include "qcs/interfacetesting.h"
#include "qor_core/qcs/modulemgr_p.h"

#include <functional>
#include <string>
#include <vector>

namespace qortest {

typedef std::vector<std::string> tLog;

/// A component named by its module info, with the knobs the manager asks about.
/// Writes its notifications to a shared log and counts its destructions.
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
    ~cTestComponent() override
    {
        ++siDestroyed;
        log("destroyed");
    }

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
        log("close?");
        return mbCloseAdvisable;
    }

    /// Publishes a new interface (owned) of the given side and name.
    cTestInterface& offer(qcs::cInterfaceDesc::InterfaceType eType, const char* pName)
    {
        cTestInterface* pInterface = new cTestInterface(eType, pName);
        addInterface(qstd::tAutoPtr<qcs::cAbstractInterface>(pInterface));
        return *pInterface;
    }
    void log(const std::string& sWhat)
    {
        if (mpLog)
            mpLog->push_back(sWhat + " " + msName);
    }

    std::string msName;
    tLog* mpLog;
    unsigned miFixedID;
    bool mbDelay = false;
    bool mbCloseAdvisable = true;
    std::function<void()> mfOnNotify;
};

/// Records the manager's signals as "added A", "registered A", "removed A",
/// "componentdeps", "interfacedeps <location>" and "idle", and runs a hook per
/// signal when set.
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
        oManager.sigCompatIdle.connect(*this, &cManagerRecorder::sltIdle);
    }

    piVoid sltAdded(qcs::cAbstractComponent& c) { return note("added", c, mfOnAdded); }
    piVoid sltRegistered(qcs::cAbstractComponent& c)
    {
        return note("registered", c, mfOnRegistered);
    }
    piVoid sltRemoved(qcs::cAbstractComponent& c) { return note("removed", c, mfOnRemoved); }
    piVoid sltComponentDeps()
    {
        moLog.push_back("componentdeps");
        return piVoid();
    }
    piVoid sltInterfaceDeps(const qcs::cComponentLocation& oLocation)
    {
        moLog.push_back(std::string("interfacedeps ") + oLocation.address().toString().c_str());
        return piVoid();
    }
    piVoid sltIdle()
    {
        moLog.push_back("idle");
        return piVoid();
    }

    std::function<void(qcs::cAbstractComponent&)> mfOnAdded, mfOnRegistered, mfOnRemoved;

private:
    piVoid note(const char* pWhat, qcs::cAbstractComponent& c,
                const std::function<void(qcs::cAbstractComponent&)>& fHook)
    {
        moLog.push_back(std::string(pWhat) + " " + c.info().name().c_str());
        if (fHook)
            fHook(c);
        return piVoid();
    }

    tLog& moLog;
};

/// Turns the system's work queue with process events that never wait, so a turn
/// takes no time; restores the platform's process events afterwards. Checks that
/// the manager's works left the queue and no component leaked.
class ComponentTest : public testing::Test
{
protected:
    void SetUp() override
    {
        cTestComponent::siDestroyed = 0;
        cTestInterface::siDestroyed = 0;
        miJobsBefore = liveEntries(queue());
        queue().setEvents(qstd::tAutoPtr<qpi::cAbstractProcessEvents>(new cRecordingEvents));
    }
    void TearDown() override
    {
        queue().setEvents(qpi::cPlatform().createProcessEvents());
        EXPECT_EQ(miJobsBefore, liveEntries(queue()));
    }

    static qpi::cWorkQueue& queue() { return qpi::system().workQueue(); }
    /// One turn of the main loop.
    static void turn() { qpi::system().exec(); }
    static void turns(int iCount)
    {
        for (int i = 0; i < iCount; ++i)
            turn();
    }
    static bool passWanted(qcs::cModuleMgr& oManager)
    {
        return oManager.impl().moManagementWork.isStarted();
    }
    static std::vector<std::string> names(const qcs::cModuleMgr& oManager)
    {
        std::vector<std::string> oNames;
        for (auto it = oManager.components().begin(); it != oManager.components().end(); ++it)
            oNames.push_back((*it)->component()->info().name().c_str());
        return oNames;
    }

    unsigned miJobsBefore = 0;
    qce::cCoreExtensionMgr moExtensions;
};

} // namespace qortest

#endif
