// localsignal.h - local signals with zero to three arguments.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_RMI_LOCALSIGNAL_H
#define QOR_CORE_RMI_LOCALSIGNAL_H

#include "qor_core/rmi/directlocalslotcall.h"
#include "qor_core/std/ptrvector.h"

namespace qrmi {

/// One running emission of a signal and its progress. The signal keeps its running
/// emissions in a stack (a slot may emit the signal again) and moves every
/// emission's positions when its list changes, so each emission knows by itself
/// which slot calls it has still to call; should the signal be destroyed from inside
/// a slot, every emission learns it and stops without touching the dead signal.
///
/// The slot calls an emission has still to call are the list positions below
/// miFront, which hold slot calls connected in front during the emission, and those
/// from miNext to the end; everything else it has called already.
struct cSignalEmission
{
    cSignalEmission* mpOuter; ///< the emission this one runs inside of, or null
    unsigned miNext;          ///< the first position of the remaining tail
    unsigned miFront;         ///< positions below it were connected in front meanwhile
    bool mbSignalDestroyed;
};

/// A signal whose slot calls take the arguments A... and return R. It owns its slot
/// calls. Emission calls them in list order; a slot may connect or disconnect
/// slots, emit the signal again, destroy receivers (removing their slot calls) or
/// throw. Every slot call connected when an emission starts, or connected during
/// it, runs once in that emission unless it is removed first, whatever nested
/// emissions do; slot calls connected in front during an emission run before the
/// rest of the list, the earliest connected first.
template <class R, class... A> class tLocalSignal : public cAbstractSignal
{
public:
    typedef tAbstractSlotCall<R, A...> tSlotCall;

    explicit tLocalSignal(InvocationBehavior eBehavior = ThrowWhenUnconnected)
        : cAbstractSignal(eBehavior), moSlotCalls(qstd::tAutoPtrType::Single, 10),
          miNestingCount(0), mpEmissions(nullptr)
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
        // Owned here until the list holds it: when the list cannot grow, the call
        // is deleted, which also detaches it from its receiver.
        qstd::tAutoPtr<tSlotCall> pCall(oPrototype.createConnectedInstance(*this));
        if (ePolicy == ConnectLast) {
            moSlotCalls.append(pCall);
            return;
        }
        moSlotCalls.insert(0, pCall.get());
        pCall.release();
        for (cSignalEmission* p = mpEmissions; p; p = p->mpOuter) {
            ++p->miFront;
            ++p->miNext;
        }
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
            moEmission.miNext = 0;
            moEmission.miFront = 0;
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
        cSignalEmission& emission() { return moEmission; }

    private:
        tLocalSignal& moSignal;
        cSignalEmission moEmission;
    };

    R emit(A... oArguments)
    {
        cEmissionGuard oGuard(*this);
        if (moSlotCalls.count() == 0) {
            if (invocationBehavior() == ThrowWhenUnconnected)
                cRMIExceptions::throwUnconnectedSignal();
            return R();
        }
        // The positions live in the emission, which the signal keeps up to date
        // while slots change the list; the list is read anew on every step.
        cSignalEmission& oProgress = oGuard.emission();
        for (;;) {
            unsigned i;
            if (oProgress.miFront != 0)
                i = --oProgress.miFront;
            else if (oProgress.miNext < moSlotCalls.count())
                i = oProgress.miNext++;
            else
                break;
            tSlotCall* pCall = moSlotCalls[i];
            pCall->setCalled(true);
            pCall->call(oArguments...); // pCall may be gone when this returns
            if (oGuard.signalDestroyed())
                return R();
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
        // From the back, so that the positions compared are those before the removal.
        for (unsigned i = moSlotCalls.count(); i > 0; --i) {
            if (moSlotCalls[i - 1])
                continue;
            moSlotCalls.remove(i - 1);
            for (cSignalEmission* p = mpEmissions; p; p = p->mpOuter) {
                if (i - 1 < p->miNext)
                    --p->miNext;
                if (i - 1 < p->miFront)
                    --p->miFront;
            }
        }
    }

    qstd::tPtrVector<tSlotCall> moSlotCalls; ///< owned, in calling order
    unsigned miNestingCount;                 ///< emissions in progress
    cSignalEmission* mpEmissions;            ///< innermost running emission, or null
};

template <class R> using localSignal0 = tLocalSignal<R>;
template <class R, class A1> using localSignal1 = tLocalSignal<R, A1>;
template <class R, class A1, class A2> using localSignal2 = tLocalSignal<R, A1, A2>;
template <class R, class A1, class A2, class A3> using localSignal3 = tLocalSignal<R, A1, A2, A3>;

} // namespace qrmi

#endif // QOR_CORE_RMI_LOCALSIGNAL_H
