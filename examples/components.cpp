// components.cpp - an application built from two components: a clock publishes an
// interface with a public slot, a display depends on that interface. The module
// manager matches the dependency when the loop turns, the display calls the clock's
// slot by name, and removing the clock unmatches the display again.
// SPDX-License-Identifier: MIT
#include "qor_core/qor_core.h"

#include <cstdio>

namespace {

const char* const kInterfaceName = "Clock";

/// The public slot "sltTick" of the clock's interface: a call by name through a
/// reference frame, or through a serialized stream, reaches tick().
class cTickSlotCall : public qrmi::cAbstractSlotCall0<piVoid>
{
public:
    typedef piVoid (*tFunction)(qrmi::cConnectable&);

    cTickSlotCall(qrmi::cConnectable& oReceiver, tFunction pFunction,
                  qrmi::cAbstractSignal* pSignal = nullptr)
        : qrmi::cAbstractSlotCall0<piVoid>(oReceiver, pSignal), mpFunction(pFunction)
    {
    }
    piVoid call() const override { return mpFunction(assignedObject()); }
    piVoid callRef(qsa::cReferenceFrame&) const override { return call(); }
    qrmi::cAbstractSlotCall0<piVoid>*
    createConnectedInstance(qrmi::cAbstractSignal& oSignal) const override
    {
        return new cTickSlotCall(assignedObject(), mpFunction, &oSignal);
    }
    using qrmi::cAbstractSlotCall0<piVoid>::call;

private:
    tFunction mpFunction;
};

/// What the clock offers: the slot "sltTick", which counts.
class cClockInterface : public qcs::cAbstractInterface
{
public:
    cClockInterface()
        : qcs::cAbstractInterface(qcs::cInterfaceDesc(qcs::cInterfaceDesc::Provided, kInterfaceName,
                                                      "example", 1, "counts the ticks it is given"))
    {
        registerSlot("sltTick", "piVoid", "", "one tick",
                     qstd::tAutoPtr<qrmi::cAbstractSlotCall>(new cTickSlotCall(*this, &tick)));
    }
    // The provider side is never attached to anything.
    void attach(qcs::cAbstractInterface&) override {}
    void detach() override {}

    static piVoid tick(qrmi::cConnectable& oSelf)
    {
        cClockInterface& oClock = static_cast<cClockInterface&>(oSelf);
        std::printf("clock: tick %d\n", ++oClock.miTicks);
        return piVoid();
    }

    int miTicks = 0;
};

/// The display's side of the interface: once attached to a clock, emitting sigTick
/// calls the clock's slot by its name.
class cClockUser : public qcs::cAbstractInterface
{
public:
    cClockUser()
        : qcs::cAbstractInterface(qcs::cInterfaceDesc(qcs::cInterfaceDesc::Required, kInterfaceName,
                                                      "example", 1, "wants a clock")),
          sigTick(qrmi::cAbstractSignal::IgnoreWhenUnconnected)
    {
    }
    void attach(qcs::cAbstractInterface& oProvider) override
    {
        detach();
        sigTick.connect(oProvider, "sltTick", qrmi::cAbstractSignal::ResolveAtConnect);
        mpProvider = &oProvider;
    }
    void detach() override
    {
        if (mpProvider)
            sigTick.disconnect(*mpProvider);
        mpProvider = nullptr;
    }

    qrmi::signal0<piVoid> sigTick;

private:
    qcs::cAbstractInterface* mpProvider = nullptr; ///< not owned
};

/// A component that publishes the clock interface.
class cClock : public qcs::cAbstractComponent
{
public:
    explicit cClock(qcs::cModuleMgr& oManager) : qcs::cAbstractComponent(oManager)
    {
        moduleInfo().setName("clock");
        addInterface(qstd::tAutoPtr<qcs::cAbstractInterface>(new cClockInterface));
    }
    ~cClock() override { std::printf("clock: destroyed\n"); }
};

/// A component that needs a clock: its dependency picks the first component that
/// offers one.
class cDisplay : public qcs::cAbstractComponent
{
public:
    explicit cDisplay(qcs::cModuleMgr& oManager)
        : qcs::cAbstractComponent(oManager),
          moDependency(*this, moClock.desc(), &moClock, qcs::cInterfaceDep::saUseFirstBest)
    {
        moduleInfo().setName("display");
        moDependency.sigMatched.connect(*this, &cDisplay::sltMatched);
        moDependency.sigUnmatched.connect(*this, &cDisplay::sltUnmatched);
    }

    piVoid sltMatched(const qcs::cComponentAddr& oClock)
    {
        std::printf("display: matched the clock at %s\n", oClock.toString().c_str());
        return piVoid();
    }
    piVoid sltUnmatched()
    {
        std::printf("display: the clock is gone\n");
        return piVoid();
    }

    cClockUser moClock;
    qcs::cInterfaceDep moDependency;
};

/// Drives the example from a timer, so the loop never waits long.
class cScript : public qrmi::cConnectable
{
public:
    cScript(qcs::cModuleMgr& oManager, cDisplay& oDisplay)
        : moManager(oManager), moDisplay(oDisplay)
    {
    }
    piVoid sltStep()
    {
        if (mbDone || !moDisplay.moDependency.matched())
            return piVoid();
        if (miCalls < 3) {
            ++miCalls;
            moDisplay.moClock.sigTick();
        } else if (!mbRemoving) {
            mbRemoving = true;
            std::printf("removing the clock\n");
            moManager.removeComponent(moDisplay.moDependency.address());
        }
        return piVoid();
    }
    piVoid sltManagerChanged(const qcs::cComponentLocation&)
    {
        mbDone = mbRemoving && !moDisplay.moDependency.matched();
        return piVoid();
    }

    qcs::cModuleMgr& moManager;
    cDisplay& moDisplay;
    int miCalls = 0;
    bool mbRemoving = false;
    bool mbDone = false;
};

} // namespace

int main()
{
    qce::cCoreExtensionMgr oExtensions;
    qcs::cModuleMgr oManager(oExtensions);

    cDisplay oDisplay(oManager);
    oManager.addComponent(oDisplay, qcs::cComponentAddr());
    cClock* pClock = new cClock(oManager);
    oManager.addComponent(qstd::tAutoPtr<qcs::cAbstractComponent>(pClock), oDisplay.address());
    std::printf("registered: display %s, clock %s\n", oDisplay.address().toString().c_str(),
                pClock->address().toString().c_str());

    cScript oScript(oManager, oDisplay);
    oManager.sigInterfaceDepModified.connect(oScript, &cScript::sltManagerChanged);
    qstd::cTimer oTimer(20);
    oTimer.sigElapsed.connect(oScript, &cScript::sltStep);

    for (int iTurn = 0; !oScript.mbDone && iTurn < 1000; ++iTurn)
        qpi::system().exec();
    std::printf(oScript.mbDone ? "done\n" : "gave up\n");
    return oScript.mbDone ? 0 : 1;
}
