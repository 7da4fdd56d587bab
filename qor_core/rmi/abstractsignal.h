// abstractsignal.h - cAbstractSignal, the base of every signal.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_RMI_ABSTRACTSIGNAL_H
#define QOR_CORE_RMI_ABSTRACTSIGNAL_H

#include "qor_core/std/asciistring.h"

namespace qrmi {

class cConnectable;
class cPublicSignal;

/// A signal holds slot calls and calls them, synchronously and in list order, when
/// it is emitted. Signals, slot calls and receivers carry no locks: one thread at a
/// time.
class QOR_EXPORT cAbstractSignal
{
public:
    /// What an emission without any slot call does.
    enum InvocationBehavior
    {
        ThrowWhenUnconnected = 0, ///< throws cUnconnectedSignalException
        IgnoreWhenUnconnected = 1 ///< does nothing
    };
    /// When a slot named in a connection is looked up.
    enum SlotResolving
    {
        ResolveAtCall = 0,   ///< at every call
        ResolveAtConnect = 1 ///< once, when connecting
    };
    /// Where a new slot call goes.
    enum ConnectionPolicy
    {
        ConnectFirst = 0, ///< in front of all others
        ConnectLast = 1   ///< behind all others
    };
    /// Which side of an interface a published signal belongs to; stored as piUInt32.
    enum InterfaceType
    {
        ProviderSide = 0, ///< published by the provider of an interface
        ClientSide = 1    ///< published by the user of an interface
    };

    explicit cAbstractSignal(InvocationBehavior eBehavior = ThrowWhenUnconnected);
    /// The entries that publish this signal stay, without a signal.
    virtual ~cAbstractSignal();
    cAbstractSignal(const cAbstractSignal&) = delete;
    cAbstractSignal& operator=(const cAbstractSignal&) = delete;

    /// Removes every slot call bound to oReceiver, which is being destroyed.
    virtual void notifyConnectableDestroyed(cConnectable& oReceiver) = 0;
    /// Connects by slot name; local signals cannot do that and throw.
    virtual void connect(cConnectable& oReceiver, const qstd::cAsciiString& sSlotName,
                         SlotResolving eResolving);
    /// Removes every slot call bound to oReceiver.
    virtual void disconnect(const cConnectable& oReceiver) = 0;
    virtual void addParameterInfo(cPublicSignal& oSignal);
    virtual qstd::cAsciiString parametersTypeString() const;
    virtual qstd::cAsciiString returnTypeString() const;

    InvocationBehavior invocationBehavior() const { return meInvocationBehavior; }
    void setInvocationBehavior(InvocationBehavior eBehavior) { meInvocationBehavior = eBehavior; }
    /// Makes pSignal the entry this signal is published under, pointing it to this
    /// signal if it pointed elsewhere. Null unpublishes the signal: every entry that
    /// refers to it forgets it.
    void setPublicSignal(cPublicSignal* pSignal);
    /// The entry this signal is published under (the latest, when it was published
    /// more than once), or null.
    cPublicSignal* isPublicSignal() const { return mpPublicSignal; }

    /// Publishes this signal on oOwner under sName, with this signal's type strings
    /// and parameter descriptions (addParameterInfo); returns the public signal,
    /// which oOwner owns.
    cPublicSignal* exportSignal(cConnectable& oOwner, const qstd::cAsciiString& sName,
                                InterfaceType eType, const qstd::cAsciiString& sDescription);
    /// The name this signal is published under; throws cBugException
    /// "$MTR$Signal is not a public one!" when it is not published.
    const qstd::cAsciiString& publicSignalName() const;

protected:
    /// Writes the diagnostic for a signal destroyed while iNestingCount emissions run.
    static void checkNIC(unsigned iNestingCount);

private:
    friend class cPublicSignal;
    /// Puts oEntry, which refers to this signal, in front of the entries.
    void linkPublicSignal(cPublicSignal& oEntry);
    /// Takes oEntry out of the entries.
    void unlinkPublicSignal(cPublicSignal& oEntry);

    InvocationBehavior meInvocationBehavior;
    /// Not owned: the first of the entries that refer to this signal, chained through
    /// them; null while the signal is not published. An entry unlinks itself when it
    /// dies, and the signal's destruction makes every entry forget it, so neither
    /// side ever follows a pointer to the other after its end.
    cPublicSignal* mpPublicSignal;
};

} // namespace qrmi

#endif // QOR_CORE_RMI_ABSTRACTSIGNAL_H
