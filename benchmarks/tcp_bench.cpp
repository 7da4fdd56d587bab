// tcp_bench.cpp - loopback throughput and echo round trips through the TCP transport
// and the work queue, against a plain non-blocking poll loop doing the same with
// read and write on 127.0.0.1.
// SPDX-License-Identifier: MIT
#include "qor_core/qor_core.h"
#include "tcp/tcpclient.h"
#include "tcp/tcpserver.h"
#include "tcp/tcpsocket.h"
#include "tcploopback.h"

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

// Throughput: one connection carries 256 MiB per iteration, handed over in 64 KiB
// buffers (the transport: one sendRef per buffer, the next on sigTxComplete; stream
// receive on the other end; the plain loop: writes until the socket takes no more,
// reads until nothing is left, per poll). Both run with the same socket buffers of
// 512 KiB; QOR_BENCH_DEFAULT_BUFFERS=1 leaves the kernel's defaults instead. Echo: a 64-byte
// message goes out and comes back per iteration. Both ends live in this process and share the loop,
// as the plain loop's two descriptors share its poll.

namespace {

const std::uint64_t kTotal = 256ull * 1024 * 1024;
const unsigned kBuffer = 64 * 1024;
const unsigned kEcho = 64;

using qorbench::cLoopbackPair;
using qorbench::cPlainEcho;

/// Sends kTotal bytes in buffers and counts what arrives.
class cThroughput : public qrmi::cConnectable
{
public:
    explicit cThroughput(cLoopbackPair& oPair) : moPair(oPair), moBuffer(kBuffer)
    {
        oPair.mpClientSide->sigTxComplete.connect(*this, &cThroughput::sltSent);
        oPair.mpServerSide->sigDataReceived.connect(*this, &cThroughput::sltReceived);
        oPair.mpServerSide->receive(true);
    }
    void run()
    {
        miSent = miReceived = 0;
        sltSent();
        while (miReceived < kTotal)
            qpi::system().exec();
    }
    piVoid sltSent()
    {
        if (miSent < kTotal) {
            miSent += kBuffer;
            moPair.mpClientSide->sendRef(qstd::tConstArrayRef<char>(moBuffer));
        }
        return piVoid();
    }
    piVoid sltReceived(qce::cNetAbstractConnection&, const qstd::tArray<char>& oData)
    {
        miReceived += oData.size();
        return piVoid();
    }

    cLoopbackPair& moPair;
    qstd::tArray<char> moBuffer;
    std::uint64_t miSent = 0;
    std::uint64_t miReceived = 0;
};

/// The same socket buffers for every connection measured: large enough for a
/// steady stream, small enough that the bytes in flight stay in the caches.
void setBuffers(int iFd)
{
    int iSize = 512 * 1024;
    if (std::getenv("QOR_BENCH_DEFAULT_BUFFERS"))
        return;
    ::setsockopt(iFd, SOL_SOCKET, SO_SNDBUF, &iSize, sizeof(iSize));
    ::setsockopt(iFd, SOL_SOCKET, SO_RCVBUF, &iSize, sizeof(iSize));
}

void BM_TcpTransportThroughput(benchmark::State& oState)
{
    cLoopbackPair oPair;
    setBuffers(dynamic_cast<qtcp::cTcpSocket&>(oPair.mpClientSide->socket()).fd());
    setBuffers(dynamic_cast<qtcp::cTcpSocket&>(oPair.mpServerSide->socket()).fd());
    cThroughput oRun(oPair);
    for (auto _ : oState)
        oRun.run();
    oState.SetBytesProcessed(int64_t(oState.iterations()) * int64_t(kTotal));
}
BENCHMARK(BM_TcpTransportThroughput)->Unit(benchmark::kMillisecond)->UseRealTime();

/// A server on the system queue holding iCount accepted connections that wait for
/// data which never comes, as a server with many quiet clients does: each owns its
/// three socket works (readable and exceptional condition started) and its delayed
/// invalidation. The client ends are plain descriptors outside the loop.
class cIdleConnections : public qrmi::cConnectable
{
public:
    explicit cIdleConnections(unsigned iCount)
    {
        if (iCount == 0)
            return;
        moServer.setBacklog(int(iCount));
        moServer.sigConnected.connect(*this, &cIdleConnections::sltAccepted);
        moServer.listen(qtcp::cTcpIpv4Address("127.0.0.1:0"));
        qtcp::cTcpIpv4Address oTarget;
        oTarget.assign(moServer.address());
        sockaddr_in oAddr;
        oTarget.toSockAddr(oAddr);
        for (unsigned i = 0; i < iCount; ++i) {
            int iFd = ::socket(AF_INET, SOCK_STREAM, 0);
            if (iFd < 0 || ::connect(iFd, reinterpret_cast<sockaddr*>(&oAddr), sizeof(oAddr)) != 0)
                break;
            moClients.push_back(iFd);
            // Accept as we go, so that the listen backlog never overflows.
            while (moConnections.size() + 64 < moClients.size())
                qpi::system().exec();
        }
        while (moConnections.size() < moClients.size())
            qpi::system().exec();
    }
    ~cIdleConnections()
    {
        moConnections.clear();
        for (int iFd : moClients)
            ::close(iFd);
    }
    piVoid sltAccepted(const qce::cNetAbstractAddress&)
    {
        moConnections.emplace_back(moServer.takeConnection().release());
        moConnections.back()->receive(true);
        return piVoid();
    }
    bool complete(unsigned iCount) const { return moConnections.size() == iCount; }

    qtcp::cTcpServer moServer;
    std::vector<int> moClients;
    std::vector<std::unique_ptr<qce::cNetAbstractConnection>> moConnections;
};

/// One round trip of 64 bytes between a client and an echoing server end, both on
/// the system queue, beside range(0) idle connections.
void BM_TcpTransportEcho64(benchmark::State& oState)
{
    cIdleConnections oIdle(unsigned(oState.range(0)));
    if (!oIdle.complete(unsigned(oState.range(0)))) {
        oState.SkipWithError("could not open the idle connections");
        return;
    }
    cLoopbackPair oPair;
    cPlainEcho oEcho(oPair, kEcho);
    for (auto _ : oState)
        oEcho.roundTrip();
}
BENCHMARK(BM_TcpTransportEcho64)->Arg(0)->Arg(1000)->UseRealTime();

// --- the plain loop -----------------------------------------------------------

/// A connected loopback pair of non-blocking descriptors.
struct cPlainPair
{
    cPlainPair()
    {
        int iListener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in oAddr = {};
        oAddr.sin_family = AF_INET;
        oAddr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(iListener, reinterpret_cast<sockaddr*>(&oAddr), sizeof(oAddr));
        ::listen(iListener, 1);
        socklen_t iLength = sizeof(oAddr);
        ::getsockname(iListener, reinterpret_cast<sockaddr*>(&oAddr), &iLength);
        miClient = ::socket(AF_INET, SOCK_STREAM, 0);
        ::connect(miClient, reinterpret_cast<sockaddr*>(&oAddr), sizeof(oAddr));
        miServer = ::accept(iListener, nullptr, nullptr);
        ::close(iListener);
        for (int iFd : {miClient, miServer})
            ::fcntl(iFd, F_SETFL, ::fcntl(iFd, F_GETFL) | O_NONBLOCK);
    }
    ~cPlainPair()
    {
        ::close(miClient);
        ::close(miServer);
    }
    int miClient;
    int miServer;
};

void BM_PlainPollThroughput(benchmark::State& oState)
{
    cPlainPair oPair;
    setBuffers(oPair.miClient);
    setBuffers(oPair.miServer);
    std::vector<char> oOut(kBuffer), oIn(kBuffer);
    for (auto _ : oState) {
        std::uint64_t iSent = 0, iReceived = 0;
        unsigned iOffset = 0; // within the current buffer
        while (iReceived < kTotal) {
            pollfd oFds[2] = {{oPair.miClient, short(iSent < kTotal ? POLLOUT : 0), 0},
                              {oPair.miServer, POLLIN, 0}};
            ::poll(oFds, 2, 1000);
            // Like the transport: write buffers until the socket takes no more.
            while ((oFds[0].revents & POLLOUT) && iSent < kTotal) {
                ssize_t n = ::write(oPair.miClient, oOut.data() + iOffset, kBuffer - iOffset);
                if (n <= 0)
                    break;
                iOffset += unsigned(n);
                if (iOffset == kBuffer) {
                    iOffset = 0;
                    iSent += kBuffer;
                }
            }
            if (oFds[1].revents & POLLIN) {
                ssize_t n;
                while ((n = ::read(oPair.miServer, oIn.data(), kBuffer)) > 0)
                    iReceived += std::uint64_t(n);
            }
        }
    }
    oState.SetBytesProcessed(int64_t(oState.iterations()) * int64_t(kTotal));
}
BENCHMARK(BM_PlainPollThroughput)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlainPollEcho64(benchmark::State& oState)
{
    cPlainPair oPair;
    char cMessage[kEcho] = {};
    char cBuffer[kBuffer];
    for (auto _ : oState) {
        ::write(oPair.miClient, cMessage, kEcho);
        unsigned iBack = 0;
        while (iBack < kEcho) {
            pollfd oFds[2] = {{oPair.miServer, POLLIN, 0}, {oPair.miClient, POLLIN, 0}};
            ::poll(oFds, 2, 1000);
            if (oFds[0].revents & POLLIN) {
                ssize_t n = ::read(oPair.miServer, cBuffer, sizeof(cBuffer));
                if (n > 0)
                    ::write(oPair.miServer, cBuffer, size_t(n));
            }
            if (oFds[1].revents & POLLIN) {
                ssize_t n = ::read(oPair.miClient, cBuffer, sizeof(cBuffer));
                if (n > 0)
                    iBack += unsigned(n);
            }
        }
    }
}
BENCHMARK(BM_PlainPollEcho64)->UseRealTime();

} // namespace
