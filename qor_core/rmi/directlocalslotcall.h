// directlocalslotcall.h - slot calls that bind a receiver and one of its member functions.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_RMI_DIRECTLOCALSLOTCALL_H
#define QOR_CORE_RMI_DIRECTLOCALSLOTCALL_H

#include "qor_core/rmi/abstractslotcall.h"
#include "qor_core/rmi/rmiexceptions.h"

namespace qrmi {

/// Calls a member function of a receiver derived from cConnectable. Only a local
/// signal calls it, directly; the indirect call paths throw.
template <class T, class R, class... A>
class tDirectLocalSlotCall : public tAbstractSlotCall<R, A...>
{
public:
    typedef R (T::*tMethod)(A...);

    /// A prototype when pSignal is null.
    tDirectLocalSlotCall(T& oReceiver, tMethod pMethod, cAbstractSignal* pSignal = nullptr)
        : tAbstractSlotCall<R, A...>(oReceiver, pSignal), mpReceiver(&oReceiver), mpMethod(pMethod)
    {
    }

    R call(A... oArguments) const override { return (mpReceiver->*mpMethod)(oArguments...); }
    void call(qsa::cReferenceFrame&) const override
    {
        cRMIExceptions::throwIndirectCallSlotCallRef();
    }
    void call(qsa::cAbstractDeserializer&, qsa::cAbstractSerializer&) const override
    {
        cRMIExceptions::throwIndirectLocalSlotCall();
    }
    R callRef(qsa::cReferenceFrame&) const override
    {
        cRMIExceptions::throwIndirectCallSlotCallRef();
    }
    tAbstractSlotCall<R, A...>* createConnectedInstance(cAbstractSignal& oSignal) const override
    {
        return new tDirectLocalSlotCall(*mpReceiver, mpMethod, &oSignal);
    }

private:
    T* mpReceiver; ///< not owned
    tMethod mpMethod;
};

template <class T, class R> using cDirectLocalSlotCall0 = tDirectLocalSlotCall<T, R>;
template <class T, class R, class A1> using cDirectLocalSlotCall1 = tDirectLocalSlotCall<T, R, A1>;
template <class T, class R, class A1, class A2>
using cDirectLocalSlotCall2 = tDirectLocalSlotCall<T, R, A1, A2>;
template <class T, class R, class A1, class A2, class A3>
using cDirectLocalSlotCall3 = tDirectLocalSlotCall<T, R, A1, A2, A3>;

} // namespace qrmi

#endif // QOR_CORE_RMI_DIRECTLOCALSLOTCALL_H
