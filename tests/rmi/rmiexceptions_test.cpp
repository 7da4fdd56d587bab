// The throw family of the remote-invocation namespace: class, message and cause of each.
#include "qor_core/qor_core.h"
#include "std/testutil.h"

using qrmi::cRMIExceptions;

TEST(RMIExceptions, ThrowFamily)
{
    const qstd::cRuntimeException oCause(qucs::cLIMessage::fromTemplate("$MTR$cause"), nullptr, 0);
    int iValue = 0;
    qsa::cReferenceFrame oFrame;
    oFrame.addRef(iValue, false, true);
    qortest::expectThrownChains({
        {"no slot", [] { cRMIExceptions::throwNoSuchSlot("slt", "piInt32"); },
         "cNoSuchSlotException: Slot \"slt(piInt32)\" not found in interface!"},
        {"no slot frame", [&] { cRMIExceptions::throwNoSuchSlot("slt", oFrame); },
         "cNoSuchSlotException: Slot \"slt((piInt32))\" not found in interface"},
        {"no signal", [] { cRMIExceptions::throwNoSuchSignal("sig"); },
         "cNoSuchSignalException: Signal \"sig\" could not be found in interface!"},
        {"unconnected", [] { cRMIExceptions::throwUnconnectedSignal(); },
         "cUnconnectedSignalException: Call of an unconnected signal"},
        {"connection", [] { cRMIExceptions::throwIndirectLocalConnection(); },
         "cBugException: Indirect connections not possible with explicit local signals!"},
        {"slot call", [] { cRMIExceptions::throwIndirectLocalSlotCall(); },
         "cBugException: Slots connected to an explicit local signal cannot be called indirectly!"},
        {"by reference", [] { cRMIExceptions::throwIndirectCallSlotCallRef(); },
         "cBugException: Indirect slots cannot be called by reference!"},
        {"parameters", [&] { cRMIExceptions::throwParameterMissmatch(nullptr, oCause); },
         "cCallParameterMissmatchException: Slot parameter or return value missmatch on "
         "unregistered slot! | cRuntimeException: cause"},
        {"slot", [] { cRMIExceptions::throwSlotNotPublic(); },
         "cBugException: Slot is not a public one!"},
        {"signal", [] { cRMIExceptions::throwSignalNotPublic(); },
         "cBugException: Signal is not a public one!"},
    });
}
