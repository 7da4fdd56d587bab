// remoteprotocol.h - the messages of the remote-call protocol.
// SPDX-License-Identifier: MIT
#ifndef QOR_REMOTE_REMOTEPROTOCOL_H
#define QOR_REMOTE_REMOTEPROTOCOL_H

#include "qor_core/std/pitypes.h"

namespace qremote {

/// Every frame (see cFrameDecoder) holds one message in the binary format: a
/// piUInt32 item with the kind, then the kind's items. Both sides send Hello first.
///
/// | kind | sender | items after the kind |
/// |---|---|---|
/// | Hello | both | magic text "qor-remote", protocol version (unsigned) |
/// | Announce | server | component location, module name, interface count (unsigned), each
/// interface as cAbstractInterface::store writes it | | Withdraw | server | component location | |
/// Call | client | call id, target address, interface index (unsigned), slot name, reference count
/// n (unsigned), n times (type name, alterable, readable), then the readable values in frame order
/// | | Reply | server | call id, failed (bool); not failed: the alterable values in frame order;
/// failed: the location of the component that raised, then the exception chain as storeRecursive
/// writes it | | Emit | server | component address, interface index (unsigned), signal name |
///
/// The reference count includes the return value, which comes first in the frame.
enum MessageKind : piUInt32
{
    kHello = 1,
    kAnnounce = 2,
    kWithdraw = 3,
    kCall = 4,
    kReply = 5,
    kEmit = 6
};

/// Raised when the messages change incompatibly.
const piUInt32 kProtocolVersion = 1;
/// The first text of every Hello.
const char* const kProtocolMagic = "qor-remote";

} // namespace qremote

#endif // QOR_REMOTE_REMOTEPROTOCOL_H
