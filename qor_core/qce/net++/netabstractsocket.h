// netabstractsocket.h - qce::cNetAbstractSocket, the transport end of a connection.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCE_NETPP_NETABSTRACTSOCKET_H
#define QOR_CORE_QCE_NETPP_NETABSTRACTSOCKET_H

#include "qor_core/pi/work.h"
#include "qor_core/std/array.h"

namespace qpi {
class cWorkQueue;
}

namespace qce {

class cNetAbstractAddress;

/// A socket of some transport. It owns three works that the transport makes the
/// queue run when the socket becomes readable, writable, or reports an exceptional
/// condition; a cNetAbstractConnection connects its slots to them. Reads and writes
/// never block: they move what the transport can take or give at once.
class QOR_EXPORT cNetAbstractSocket
{
public:
    cNetAbstractSocket();
    virtual ~cNetAbstractSocket();
    cNetAbstractSocket(const cNetAbstractSocket&) = delete;
    cNetAbstractSocket& operator=(const cNetAbstractSocket&) = delete;

    /// Adds the three works to oQueue.
    void schedule(qpi::cWorkQueue& oQueue);

    qpi::cWork& readWork() { return moReadWork; }
    qpi::cWork& writeWork() { return moWriteWork; }
    qpi::cWork& exceptionWork() { return moExceptionWork; }

    /// The address of the remote end.
    virtual cNetAbstractAddress& remoteAddress() = 0;
    /// The address of the local end.
    virtual cNetAbstractAddress& localAddress() = 0;
    /// The most bytes one write() may be handed.
    virtual unsigned int maxTxSize() const = 0;
    /// Clears a reported exceptional condition that is not a remote close.
    virtual void clearException() = 0;
    /// Reads up to iSize bytes into pBuffer; the number read, 0 when nothing is
    /// available. pFrom, when not null and the transport knows senders, receives the
    /// sender's address.
    virtual unsigned int read(char* pBuffer, unsigned int iSize, cNetAbstractAddress* pFrom) = 0;
    /// Appends what is available to oData; true when something was read.
    virtual bool readAll(qstd::tArray<char>& oData, cNetAbstractAddress* pFrom) = 0;
    /// Whether data is waiting.
    virtual bool canRead() const = 0;
    /// Writes up to iSize bytes; returns the number accepted (0 when none now).
    virtual unsigned int write(const char* pData, unsigned int iSize) = 0;
    /// Closes the socket; its works wait for nothing afterwards.
    virtual void close() = 0;
    /// True when the exceptional condition means that the remote side closed.
    virtual bool isClosed() const = 0;

private:
    qpi::cWork moReadWork;
    qpi::cWork moWriteWork;
    qpi::cWork moExceptionWork;
};

} // namespace qce

#endif // QOR_CORE_QCE_NETPP_NETABSTRACTSOCKET_H
