// publicmethodslot.h - qremote::tPublicMethodSlot and publishMethod, public slots made
// from member functions.
// SPDX-License-Identifier: MIT
#ifndef QOR_REMOTE_PUBLICMETHODSLOT_H
#define QOR_REMOTE_PUBLICMETHODSLOT_H

#include "qor_core/rmi/abstractslotcall.h"
#include "qor_core/rmi/connectable.h"
#include "qor_core/rmi/publicslot.h"
#include "qor_core/rmi/rmiexceptions.h"
#include "qor_core/sa/typereference.h"

#include <tuple>
#include <type_traits>
#include <utility>

namespace qremote {

/// A public slot that calls the member function R (T::*)(A...) of its receiver, by
/// value, through a reference frame (the frame's first reference receives the
/// result, the next ones are the arguments; an argument taken by non-const
/// reference is written back) or through serialized streams. T is a connectable;
/// the argument and result types are those a reference frame and the serializers
/// know (the scalars, cAsciiString, cString, piVoid).
template <class T, class R, class... A>
class tPublicMethodSlot : public qrmi::tAbstractSlotCall<R, A...>
{
public:
    typedef R (T::*tMethod)(A...);

    /// A prototype when pSignal is null.
    tPublicMethodSlot(T& oReceiver, tMethod pMethod, qrmi::cAbstractSignal* pSignal = nullptr)
        : qrmi::tAbstractSlotCall<R, A...>(oReceiver, pSignal), mpReceiver(&oReceiver),
          mpMethod(pMethod)
    {
    }

    R call(A... oArguments) const override { return (mpReceiver->*mpMethod)(oArguments...); }
    R callRef(qsa::cReferenceFrame& oFrame) const override
    {
        R& oResult = oFrame.readNext<R>();
        // A braced list is evaluated in order: the arguments are read first to last.
        std::tuple<typename std::decay<A>::type&...> oArguments{
            oFrame.readNext<typename std::decay<A>::type>()...};
        oResult = invoke(oArguments, std::index_sequence_for<A...>());
        return oResult;
    }
    /// Reads the arguments from oIn (a mismatch is reported as
    /// cCallParameterMissmatchException), calls, and writes the result to oOut.
    void call(qsa::cAbstractDeserializer& oIn, qsa::cAbstractSerializer& oOut) const override
    {
        std::tuple<typename std::decay<A>::type...> oArguments;
        try {
            load(oIn, oArguments, std::index_sequence_for<A...>());
        } catch (const qstd::cAbstractException& e) {
            qrmi::cRMIExceptions::throwParameterMissmatch(this->isPublicSlot(), e);
        }
        R oResult = invoke(oArguments, std::index_sequence_for<A...>());
        store(oResult, oOut);
    }
    qrmi::tAbstractSlotCall<R, A...>*
    createConnectedInstance(qrmi::cAbstractSignal& oSignal) const override
    {
        return new tPublicMethodSlot(*mpReceiver, mpMethod, &oSignal);
    }
    qstd::cAsciiString returnTypeString() const override
    {
        return qstd::cAsciiString(qsa::tTypeName<R>::name());
    }
    using qrmi::tAbstractSlotCall<R, A...>::call;

private:
    template <class Tuple, std::size_t... I>
    R invoke(Tuple& oArguments, std::index_sequence<I...>) const
    {
        return (mpReceiver->*mpMethod)(std::get<I>(oArguments)...);
    }
    template <class Tuple, std::size_t... I>
    static void load(qsa::cAbstractDeserializer& oIn, Tuple& oArguments, std::index_sequence<I...>)
    {
        (static_cast<void>(std::get<I>(oArguments) << oIn), ...);
    }
    static void store(const piVoid&, qsa::cAbstractSerializer&) {}
    template <class V> static void store(const V& oValue, qsa::cAbstractSerializer& oOut)
    {
        oValue >> oOut;
    }

    T* mpReceiver; ///< not owned
    tMethod mpMethod;
};

/// Publishes pMethod of oOwner as the public slot sName, with the type names of its
/// result and arguments in the description (an argument taken by non-const
/// reference is marked alterable). Returns the public slot, which oOwner owns.
template <class T, class R, class... A>
qrmi::cPublicSlot* publishMethod(T& oOwner, const qstd::cAsciiString& sName,
                                 const qstd::cAsciiString& sDescription, R (T::*pMethod)(A...))
{
    qstd::cAsciiString sParameters;
    const char* const pNames[] = {"", qsa::tTypeName<typename std::decay<A>::type>::name()...};
    for (std::size_t i = 1; i < sizeof(pNames) / sizeof(pNames[0]); ++i) {
        if (i > 1)
            sParameters += ", ";
        sParameters += pNames[i];
    }
    qrmi::cPublicSlot* pSlot =
        oOwner.registerSlot(sName, qsa::tTypeName<R>::name(), sParameters, sDescription,
                            qstd::tAutoPtr<qrmi::cAbstractSlotCall>(
                                new tPublicMethodSlot<T, R, A...>(oOwner, pMethod)));
    pSlot->returnValue() = qrmi::cSSValue(qsa::tTypeName<R>::name(), qstd::cAsciiString(), true,
                                          std::is_same<R, piVoid>::value);
    const bool bAlterable[] = {false,
                               (std::is_lvalue_reference<A>::value &&
                                !std::is_const<typename std::remove_reference<A>::type>::value)...};
    for (std::size_t i = 1; i < sizeof(pNames) / sizeof(pNames[0]); ++i)
        pSlot->addParameter() =
            qrmi::cSSValue(pNames[i], qstd::cAsciiString(), bAlterable[i], false);
    return pSlot;
}

} // namespace qremote

#endif // QOR_REMOTE_PUBLICMETHODSLOT_H
