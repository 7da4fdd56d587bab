// connectable.h - cConnectable, the base of every object that receives signals.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_RMI_CONNECTABLE_H
#define QOR_CORE_RMI_CONNECTABLE_H

#include "qor_core/std/list.h"

namespace qrmi {

class cAbstractSignal;
class cAbstractSlotCall;

/// A receiver of signals. It remembers every signal that holds a slot call bound to
/// it (one entry per slot call), so that destroying the receiver removes those slot
/// calls first and no signal keeps calling a dead object.
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
    /// Asks every attached signal, in order, to remove its slot calls bound to this object.
    void detachAllSignals();
    /// Detaches all signals and drops the attached entries.
    void clear();

    /// True when oSlotCall is bound to this object.
    bool operator==(const cAbstractSlotCall* pSlotCall) const;

    unsigned index() const { return miIndex; }
    void setIndex(unsigned iIndex) { miIndex = iIndex; }
    bool hasPublicSlots() const { return false; }
    bool hasPublicSignals() const { return false; }
    /// Number of slot calls bound to this object (entries of the attached list).
    unsigned numAttachedSignals() const { return moAttachedSignals.count(); }

private:
    qstd::tPtrList<cAbstractSignal> moAttachedSignals; ///< not owned; one entry per slot call
    bool mbDetaching;                                  ///< true while detachAllSignals runs
    unsigned miIndex;                                  ///< for the owner's use
};

} // namespace qrmi

#endif // QOR_CORE_RMI_CONNECTABLE_H
