// remoteglobal.h - export marker and limits of the remote-call library.
// SPDX-License-Identifier: MIT
#ifndef QOR_REMOTE_REMOTEGLOBAL_H
#define QOR_REMOTE_REMOTEGLOBAL_H

/// Classes of libqor_remote that applications use directly.
#define QOR_REMOTE_EXPORT __attribute__((visibility("default")))

namespace qremote {

/// Limits that bound what one peer can make the other hold. Frames come from the
/// network: every length is checked against these before anything is allocated.
enum Limits : unsigned
{
    /// Largest payload of one frame: 16 MiB. A longer frame closes the connection.
    kMaxFrameSize = 16u * 1024u * 1024u,
    /// Bytes of queued outgoing frames a peer may leave unread before its
    /// connection is closed: 64 MiB.
    kMaxTxBacklog = 64u * 1024u * 1024u,
    /// Arguments of one remote slot call, the return value included.
    kMaxCallReferences = 33,
    /// Components one server may publish to a client.
    kMaxRemoteComponents = 1024,
    /// Published slots and signals of all components one server may publish to a
    /// client together.
    kMaxRemoteMembers = 65536,
    /// Interfaces of one published component.
    kMaxInterfaces = 256,
    /// Exceptions of a chain read from a reply; the rest is dropped.
    kMaxExceptionChain = 64,
    /// The default time-out of a synchronous remote call, in milliseconds.
    kDefaultCallTimeout = 10000
};

} // namespace qremote

#endif // QOR_REMOTE_REMOTEGLOBAL_H
