// abstractinterface.h - cAbstractInterface, a named bundle of public signals and slots.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCS_ABSTRACTINTERFACE_H
#define QOR_CORE_QCS_ABSTRACTINTERFACE_H

#include "qor_core/qcs/interfacedesc.h"
#include "qor_core/rmi/connectable.h"
#include "qor_core/rmi/localsignal.h"

namespace qrmi {
class cAbstractRMIFactory;
}

namespace qcs {

/// A named, typed, versioned bundle of public slots and signals that a module
/// provides. Other processes see it in serialized form (store) and rebuild it with
/// proxies from their RMI factory (load).
///
/// An interface dependency attaches its own local interface object to the
/// interface of the provider it chose (attach) and gives the match up again
/// (detach). detach() may come without a preceding attach() and more than once, so
/// implementations must tolerate it.
class QOR_EXPORT cAbstractInterface : public qrmi::cConnectable
{
public:
    /// Copies the description.
    explicit cAbstractInterface(const cInterfaceDesc& oDesc);
    ~cAbstractInterface() override;

    /// Binds this local interface to oProvider, the interface of the provider chosen.
    virtual void attach(cAbstractInterface& oProvider) = 0;
    /// Gives the binding up.
    virtual void detach() = 0;

    const cInterfaceDesc& desc() const { return moDesc; }
    /// True when oDesc has the other type and the same name; author, version and
    /// description play no part.
    bool matches(const cInterfaceDesc& oDesc) const;

    /// Writes the description, then a context holding the public slots in
    /// registration order, then a context holding the public signals.
    void store(qsa::cAbstractSerializer& oSerializer) const;
    /// Clears the connectable (signals, slots and public entries), then reads what
    /// store() wrote and registers every slot and signal around a proxy of oFactory.
    /// On failure the interface is left cleared, with its old description.
    void load(qsa::cAbstractDeserializer& oDeserializer, qrmi::cAbstractRMIFactory& oFactory);

    /// For derived interfaces; never emitted by the library. Emitting it with
    /// nothing connected does nothing.
    qrmi::localSignal1<piVoid, const cAbstractInterface&> sigNotify;

private:
    cInterfaceDesc moDesc;
};

} // namespace qcs

#endif // QOR_CORE_QCS_ABSTRACTINTERFACE_H
