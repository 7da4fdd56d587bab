// tcpsocket.h - qtcp::cTcpSocket, a connected non-blocking TCP descriptor.
// SPDX-License-Identifier: MIT
#ifndef QOR_TCP_TCPSOCKET_H
#define QOR_TCP_TCPSOCKET_H

#include "qor_core/qce/net++/netabstractsocket.h"
#include "tcp/tcpipv4address.h"

namespace qtcp {

/// A connected TCP socket. Owns its descriptor (closed by close() or the
/// destructor). Its three works are asynchronous-I/O works on the descriptor:
/// readable, writable, and error/hang-up. A read that finds the end of the stream
/// or a write that finds the connection broken marks the socket closed and makes
/// the exception work due, so that the connection reports the close. Writes never
/// raise SIGPIPE.
class QOR_TCP_EXPORT cTcpSocket : public qce::cNetAbstractSocket
{
public:
    /// Takes iFd, a connected stream socket; makes it non-blocking.
    explicit cTcpSocket(int iFd);
    ~cTcpSocket() override;

    qce::cNetAbstractAddress& remoteAddress() override { return moRemote; }
    qce::cNetAbstractAddress& localAddress() override { return moLocal; }
    unsigned int maxTxSize() const override { return miMaxTxSize; }
    /// Bounds every write (at least 1).
    void setMaxTxSize(unsigned int iSize) { miMaxTxSize = iSize ? iSize : 1; }
    void clearException() override;
    unsigned int read(char* pBuffer, unsigned int iSize, qce::cNetAbstractAddress* pFrom) override;
    /// Reads what is waiting, at most 1 MiB per call.
    bool readAll(qstd::tArray<char>& oData, qce::cNetAbstractAddress* pFrom) override;
    bool canRead() const override;
    /// Once the connection is broken and that was reported, bytes handed in are
    /// dropped (and counted as taken): they can never arrive.
    unsigned int write(const char* pData, unsigned int iSize) override;
    void close() override;
    bool isClosed() const override;

    int fd() const { return miFd; }

private:
    /// The stream ended (bBroken: failed); the exception work becomes due.
    void markClosed(bool bBroken);

    int miFd; ///< owned; -1 once closed
    unsigned int miMaxTxSize;
    bool mbPeerClosed; ///< end of stream read
    bool mbBroken;     ///< a read or write failed for good
    cTcpIpv4Address moRemote;
    cTcpIpv4Address moLocal;
};

} // namespace qtcp

#endif // QOR_TCP_TCPSOCKET_H
