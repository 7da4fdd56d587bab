// tcpserver.cpp - a listening TCP/IPv4 socket whose accepts run from the loop.
// SPDX-License-Identifier: MIT
#include "tcp/tcpserver.h"
#include "qor_core/pi/abstractaiodata.h"
#include "qor_core/pi/workqueue.h"
#include "qor_core/std/exceptions.h"
#include "qor_core/ucs/limessage.h"
#include "tcp/tcpsocket.h"

#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace qtcp {

namespace {

/// Connections taken per readable event, so that a flood of connects cannot keep
/// the pass here.
const int kAcceptsPerEvent = 32;

} // namespace

cTcpServer::cTcpServer(qpi::cWorkQueue* pQueue)
    : qce::cNetAbstractServer(pQueue), miFd(-1), miBacklog(SOMAXCONN), mpAlive(nullptr)
{
    moAcceptWork.setName("tcp server accept");
    moAcceptWork.sigAction.connect(*this, &cTcpServer::sltAccept);
    qstd::tAutoPtr<qpi::cAbstractAIOData> pData(new qpi::cFDAIOData);
    pData->fdAIOData().addFd(-1, qpi::tFdInfo::FdReadable);
    moAcceptWork.setAIOData(pData);
    moAcceptWork.stop();
    wq().addJob(moAcceptWork);
}

cTcpServer::~cTcpServer()
{
    if (mpAlive)
        *mpAlive = false;
    close();
}

void cTcpServer::listen(const qce::cNetAbstractAddress& oAddress)
{
    close();
    cTcpIpv4Address oWanted;
    oWanted.assign(oAddress);
    int iFd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const char* pOperation = "socket";
    if (iFd >= 0) {
        int iOn = 1;
        ::setsockopt(iFd, SOL_SOCKET, SO_REUSEADDR, &iOn, sizeof(iOn));
        sockaddr_in oAddr;
        oWanted.toSockAddr(oAddr);
        socklen_t iLength = sizeof(oAddr);
        if (::bind(iFd, reinterpret_cast<const sockaddr*>(&oAddr), sizeof(oAddr)) != 0)
            pOperation = "bind";
        else if (::listen(iFd, miBacklog) != 0)
            pOperation = "listen";
        else if (::getsockname(iFd, reinterpret_cast<sockaddr*>(&oAddr), &iLength) != 0)
            pOperation = "getsockname";
        else {
            moAddress.fromSockAddr(oAddr);
            miFd = iFd;
            moAcceptWork.aioData().fdAIOData().fds()[0].miFd = miFd;
            moAcceptWork.start();
            return;
        }
    }
    int iError = errno;
    if (iFd >= 0)
        ::close(iFd);
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Unable to listen at %address%!" << oWanted.toString(true);
    qstd::cRuntimeException oFailure(oMsg, nullptr, 0);
    oFailure.link(qstd::cOSErrorException(pOperation, iError));
    throw oFailure;
}

void cTcpServer::close()
{
    moAcceptWork.aioData().fdAIOData().fds()[0].miFd = -1;
    moAcceptWork.stop();
    if (miFd >= 0) {
        ::close(miFd);
        miFd = -1;
    }
}

qstd::tAutoPtr<qce::cNetAbstractConnection> cTcpServer::takeConnection()
{
    return mpPending;
}

// The liveness flag below unlinks itself unless the server died first; g++ cannot
// see that and warns about the stored address of a local.
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdangling-pointer"
#endif
piVoid cTcpServer::sltAccept()
{
    // Tells this run whether a slot destroyed the server; unlinked on every way out
    // while the server lives.
    struct cAliveLink
    {
        cAliveLink(bool*& pLink) : mpLink(pLink), mpOuter(pLink) { pLink = &mbAlive; }
        ~cAliveLink()
        {
            if (mbAlive)
                mpLink = mpOuter;
        }
        bool*& mpLink;
        bool* mpOuter;
        bool mbAlive = true;
    } oLink(mpAlive);
    const bool& bAlive = oLink.mbAlive;
    for (int i = 0; i < kAcceptsPerEvent && miFd >= 0; ++i) {
        sockaddr_in oPeerAddr;
        socklen_t iLength = sizeof(oPeerAddr);
        int iFd = ::accept4(miFd, reinterpret_cast<sockaddr*>(&oPeerAddr), &iLength,
                            SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (iFd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK)
                break;
            int iError = errno;
            throw qstd::cOSErrorException("accept", iError);
        }
        cTcpIpv4Address oPeer;
        oPeer.fromSockAddr(oPeerAddr);
        bool bAccept = true;
        sigAcceptRequest(oPeer, bAccept);
        if (!bAlive || !bAccept) {
            ::close(iFd);
            if (!bAlive)
                return piVoid();
            continue;
        }
        qstd::tAutoPtr<qce::cNetAbstractSocket> pSocket(new cTcpSocket(iFd));
        mpPending.reset(new qce::cNetAbstractConnection(pSocket));
        mpPending->schedule(&wq());
        sigConnected(oPeer);
        if (!bAlive)
            return piVoid();
        mpPending.reset(); // nobody took it: closed
    }
    return piVoid();
}
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic pop
#endif

} // namespace qtcp
