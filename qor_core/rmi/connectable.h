// connectable.h - cConnectable, the base of every object that receives signals.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_RMI_CONNECTABLE_H
#define QOR_CORE_RMI_CONNECTABLE_H

#include "qor_core/rmi/abstractsignal.h"
#include "qor_core/std/autoptr.h"
#include "qor_core/std/list.h"

namespace qsa {
class cReferenceFrame;
class cAbstractSerializer;
class cAbstractDeserializer;
} // namespace qsa

namespace qrmi {

class cAbstractRMIFactory;
class cAbstractSlotCall;
class cPublicSignal;
class cPublicSlot;

/// A receiver of signals. It remembers every signal that holds a slot call bound to
/// it (one entry per slot call), so that destroying the receiver removes those slot
/// calls first and no signal keeps calling a dead object.
///
/// A connectable can also publish slots and signals under names (registerSlot,
/// registerSignal, exportSignal): published slots can be called by name through a
/// reference frame or through serialized streams, and the descriptions can be sent
/// to another process, which rebuilds the interface with proxies from an
/// cAbstractRMIFactory. Names are not checked for uniqueness; lookups find the first
/// registered.
class QOR_EXPORT cConnectable
{
public:
    cConnectable();
    virtual ~cConnectable();
    cConnectable(const cConnectable&) = delete;
    cConnectable& operator=(const cConnectable&) = delete;

    /// Records one more slot call of oSignal bound to this object.
    void notifySignalAttached(cAbstractSignal& oSignal);
    /// Drops the first entry of oSignal; does nothing while detaching.
    void notifySignalDetached(cAbstractSignal& oSignal);
    /// Replaces every entry of oFrom by oTo.
    void reAssign(cAbstractSignal& oFrom, cAbstractSignal& oTo);
    /// Asks every attached signal, in order, to remove its slot calls bound to this
    /// object; the attached list is empty afterwards.
    void detachAllSignals();
    /// Detaches all signals, drops the attached entries and deletes every public slot
    /// (with its slot call) and every public signal (not the signal itself).
    void clear();

    /// True when oSlotCall is bound to this object.
    bool operator==(const cAbstractSlotCall* pSlotCall) const;

    unsigned index() const { return miIndex; }
    void setIndex(unsigned iIndex) { miIndex = iIndex; }
    /// True once a slot was published (until clear()).
    bool hasPublicSlots() const { return mpPublicSlots != nullptr; }
    /// True once a signal was published (until clear()).
    bool hasPublicSignals() const { return mpPublicSignals != nullptr; }

    /// Publishes pSlotCall (taking it over) under sName and tells it its public slot.
    cPublicSlot* registerSlot(const qstd::cAsciiString& sName,
                              const qstd::cAsciiString& sReturnType,
                              const qstd::cAsciiString& sParamTypes,
                              const qstd::cAsciiString& sDescription,
                              qstd::tAutoPtr<cAbstractSlotCall> pSlotCall);
    /// Publishes pSignal (not owned) under sName and tells it its public signal.
    cPublicSignal* registerSignal(const qstd::cAsciiString& sName,
                                  const qstd::cAsciiString& sReturnType,
                                  const qstd::cAsciiString& sParamTypes,
                                  cAbstractSignal::InterfaceType eType,
                                  const qstd::cAsciiString& sDescription, cAbstractSignal* pSignal);
    /// Reads a slot description and publishes it around a proxy slot call made by
    /// oFactory. When the description cannot be read, nothing is registered and the
    /// deserializer's exception propagates.
    cPublicSlot* registerRemoteSlot(qsa::cAbstractDeserializer& oDeserializer,
                                    cAbstractRMIFactory& oFactory);
    /// Reads a signal description and publishes it with a proxy signal made by
    /// oFactory for index(). When the description cannot be read, nothing is
    /// registered and the deserializer's exception propagates.
    cPublicSignal* registerRemoteSignal(qsa::cAbstractDeserializer& oDeserializer,
                                        cAbstractRMIFactory& oFactory);
    /// Publishes a proxy slot call without type information ("tmp remoteslot").
    cPublicSlot* registerRemoteSlot(const qstd::cAsciiString& sName,
                                    qstd::tAutoPtr<cAbstractSlotCall> pSlotCall);

    /// The slot call of the first public slot named sName, or null.
    cAbstractSlotCall* tryFindSlot(const qstd::cAsciiString& sName) const;
    /// The first public slot named sName; throws cNoSuchSlotException when none.
    cPublicSlot* findPublicSlot(const qstd::cAsciiString& sName) const;
    /// The public slot that owns oSlotCall, or null.
    cPublicSlot* tryFindPublicSlot(const cAbstractSlotCall& oSlotCall) const;
    /// The name oSlotCall is published under here, or "unknown".
    qstd::cAsciiString publicSlotName(const cAbstractSlotCall& oSlotCall) const;
    /// The signal of the first public signal named sName whose signal still exists;
    /// throws cNoSuchSignalException when none.
    cAbstractSignal* findSignal(const qstd::cAsciiString& sName) const;
    /// The first public signal named sName; throws cNoSuchSignalException when none.
    cPublicSignal* findPublicSignal(const qstd::cAsciiString& sName) const;

    /// Calls the public slot sName with the return value and the arguments in
    /// oFrame. Throws cNoSuchSlotException (with the frame's type string) when
    /// there is no such slot; whatever the slot throws propagates.
    void invokeIndirectSlot(const qstd::cAsciiString& sName, qsa::cReferenceFrame& oFrame) const;
    /// Calls the public slot sName, which reads its arguments from oIn and writes
    /// its result to oOut. Throws cNoSuchSlotException when there is no such slot.
    void invokeIndirectRemoteSlot(const qstd::cAsciiString& sName, qsa::cAbstractDeserializer& oIn,
                                  qsa::cAbstractSerializer& oOut) const;
    /// Number of slot calls bound to this object (entries of the attached list).
    unsigned numAttachedSignals() const { return moAttachedSignals.count(); }
    /// The public slots in registration order; null before the first one.
    const qstd::tPtrList<cPublicSlot>* publicSlots() const { return mpPublicSlots; }
    /// The public signals in registration order; null before the first one.
    const qstd::tPtrList<cPublicSignal>* publicSignals() const { return mpPublicSignals; }

private:
    typedef qstd::tPtrList<cPublicSlot> tPublicSlots;
    typedef qstd::tPtrList<cPublicSignal> tPublicSignals;

    cPublicSlot* adoptSlot(qstd::tAutoPtr<cPublicSlot> pSlot);
    cPublicSignal* adoptSignal(qstd::tAutoPtr<cPublicSignal> pSignal);

    qstd::tPtrList<cAbstractSignal> moAttachedSignals; ///< not owned; one entry per slot call
    tPublicSlots* mpPublicSlots;     ///< owned with its elements; null until the first slot
    tPublicSignals* mpPublicSignals; ///< owned with its elements; null until the first signal
    bool mbDetaching;                ///< true while detachAllSignals runs
    unsigned miIndex;                ///< for the owner's use
};

} // namespace qrmi

#endif // QOR_CORE_RMI_CONNECTABLE_H
