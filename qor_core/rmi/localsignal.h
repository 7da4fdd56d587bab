// localsignal.h - local signals with zero to three arguments.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_RMI_LOCALSIGNAL_H
#define QOR_CORE_RMI_LOCALSIGNAL_H

#include "qor_core/rmi/directlocalslotcall.h"
#include "qor_core/std/ptrvector.h"

namespace qrmi {

/// One running emission of a signal. The signal keeps its running emissions in a
/// stack so that, should it be destroyed from inside a slot, every emission learns
/// it and stops without touching the dead signal.
struct cSignalEmission
{
    cSignalEmission* mpOuter; ///< the emission this one runs inside of, or null
    bool mbSignalDestroyed;
};

/// A signal whose slot calls take the arguments A... and return R. It owns its slot
/// calls. Emission calls them in list order; a slot may connect or disconnect
/// slots, destroy receivers (removing their slot calls) or throw: slot calls added
/// during an emission run in it, removed ones do not, and none runs twice.
template <class R, class... A> class tLocalSignal : public cAbstractSignal
{
public:
    typedef tAbstractSlotCall<R, A...> tSlotCall;

    explicit tLocalSignal(InvocationBehavior eBehavior = ThrowWhenUnconnected)
        : cAbstractSignal(eBehavior), moSlotCalls(qstd::tAutoPtrType::Single, 10),
          miNestingCount(0), miChanges(0), mpEmissions(nullptr)
    {
    }

    ~tLocalSignal() override
    {
        if (miNestingCount != 0)
            checkNIC(miNestingCount);
        for (cSignalEmission* p = mpEmissions; p; p = p->mpOuter)
            p->mbSignalDestroyed = true;
        moSlotCalls.clear(); // each slot call detaches from its receiver
    }

    /// Stores a copy of oPrototype bound to this signal: at the end with ConnectLast,
    /// in front otherwise.
    void connect(const tSlotCall& oPrototype, ConnectionPolicy ePolicy = ConnectLast)
    {
        tSlotCall* pCall = oPrototype.createConnectedInstance(*this);
        if (ePolicy == ConnectLast)
            moSlotCalls.append(pCall);
        else
            moSlotCalls.insert(0, pCall);
        ++miChanges;
    }

    /// Connects a member function of a receiver.
    template <class T>
    void connect(T& oReceiver, R (T::*pMethod)(A...), ConnectionPolicy ePolicy = ConnectLast)
    {
        connect(tDirectLocalSlotCall<T, R, A...>(oReceiver, pMethod), ePolicy);
    }

    using cAbstractSignal::connect;

    void disconnect(const cConnectable& oReceiver) override { removeSlotCallsOf(oReceiver); }
    void notifyConnectableDestroyed(cConnectable& oReceiver) override
    {
        removeSlotCallsOf(oReceiver);
    }

    /// Emits the signal.
    R operator()(A... oArguments) { return emit(oArguments...); }
    /// Emits the signal; the entry for generic code.
    virtual R invoke(A... oArguments) { return emit(oArguments...); }

    unsigned numSlotCalls() const { return moSlotCalls.count(); }
    /// Number of emissions of this signal in progress.
    unsigned nestingCount() const { return miNestingCount; }

private:
    /// Counts the emission and registers it; restores both when the emission ends,
    /// also by an exception, unless the signal died meanwhile.
    class cEmissionGuard
    {
    public:
        explicit cEmissionGuard(tLocalSignal& oSignal) : moSignal(oSignal)
        {
            moEmission.mpOuter = oSignal.mpEmissions;
            moEmission.mbSignalDestroyed = false;
            oSignal.mpEmissions = &moEmission;
            ++oSignal.miNestingCount;
        }
        ~cEmissionGuard()
        {
            if (moEmission.mbSignalDestroyed)
                return;
            --moSignal.miNestingCount;
            moSignal.mpEmissions = moEmission.mpOuter;
        }
        bool signalDestroyed() const { return moEmission.mbSignalDestroyed; }

    private:
        tLocalSignal& moSignal;
        cSignalEmission moEmission;
    };

    R emit(A... oArguments)
    {
        cEmissionGuard oGuard(*this);
        unsigned iCount = moSlotCalls.count();
        if (iCount == 0) {
            if (invocationBehavior() == ThrowWhenUnconnected)
                cRMIExceptions::throwUnconnectedSignal();
            return R();
        }
        for (unsigned i = 0; i < iCount; ++i)
            moSlotCalls[i]->setCalled(false);
        // The list is read anew on every step: slots may change it. After a change
        // the walk starts over, and the called flags tell what already ran.
        unsigned i = 0;
        while (i < moSlotCalls.count()) {
            tSlotCall* pCall = moSlotCalls[i];
            if (pCall->called()) {
                ++i;
                continue;
            }
            pCall->setCalled(true);
            unsigned iChanges = miChanges;
            pCall->call(oArguments...); // pCall may be gone when this returns
            if (oGuard.signalDestroyed())
                return R();
            if (iChanges != miChanges)
                i = 0;
            else
                ++i;
        }
        return R();
    }

    void removeSlotCallsOf(const cConnectable& oReceiver)
    {
        bool bRemoved = false;
        for (unsigned i = 0; i < moSlotCalls.count(); ++i) {
            tSlotCall*& pCall = moSlotCalls[i];
            if (pCall && pCall->matchSlotOfObject(&oReceiver)) {
                tSlotCall* pDoomed = pCall;
                pCall = nullptr;
                delete pDoomed; // detaches from the receiver
                bRemoved = true;
            }
        }
        if (!bRemoved)
            return;
        for (unsigned i = moSlotCalls.count(); i > 0; --i)
            if (!moSlotCalls[i - 1])
                moSlotCalls.remove(i - 1);
        ++miChanges;
    }

    qstd::tPtrVector<tSlotCall> moSlotCalls; ///< owned, in calling order
    unsigned miNestingCount;                 ///< emissions in progress
    unsigned miChanges;                      ///< bumped by every change of the list
    cSignalEmission* mpEmissions;            ///< innermost running emission, or null
};

template <class R> using localSignal0 = tLocalSignal<R>;
template <class R, class A1> using localSignal1 = tLocalSignal<R, A1>;
template <class R, class A1, class A2> using localSignal2 = tLocalSignal<R, A1, A2>;
template <class R, class A1, class A2, class A3> using localSignal3 = tLocalSignal<R, A1, A2, A3>;

} // namespace qrmi

#endif // QOR_CORE_RMI_LOCALSIGNAL_H
