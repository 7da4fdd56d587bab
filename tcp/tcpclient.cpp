// tcpclient.cpp - non-blocking TCP/IPv4 connects driven by the loop.
// SPDX-License-Identifier: MIT
#include "tcp/tcpclient.h"
#include "qor_core/pi/abstractaiodata.h"
#include "qor_core/pi/workclock.h"
#include "qor_core/pi/workqueue.h"
#include "qor_core/std/exceptions.h"
#include "qor_core/ucs/limessage.h"
#include "tcp/tcpsocket.h"

#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace qtcp {

namespace {

const int kStepWaitMSec = 10;

qstd::cRuntimeException connectFailure(const cTcpIpv4Address& oTarget, int iErrno)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Unable to establish network connection to %to%!" << oTarget.toString(true);
    qstd::cRuntimeException oFailure(oMsg, nullptr, 0);
    oFailure.link(qstd::cOSErrorException("connect", iErrno));
    return oFailure;
}

} // namespace

cTcpClient::cTcpClient(qpi::cWorkQueue* pQueue)
    : qce::cNetAbstractClient(pQueue), miFd(-1), mbConnected(false)
{
    moConnectWork.setName("tcp client connect");
    moConnectWork.sigAction.connect(*this, &cTcpClient::sltConnectReady);
    // One data object for the client's life; each attempt puts its descriptor in.
    qstd::tAutoPtr<qpi::cAbstractAIOData> pData(new qpi::cFDAIOData);
    pData->fdAIOData().addFd(-1, qpi::tFdInfo::FdWritable);
    moConnectWork.setAIOData(pData);
    moConnectWork.stop();
    wq().addJob(moConnectWork);
}

cTcpClient::~cTcpClient()
{
    abort();
}

void cTcpClient::setWaiting(bool bWaiting)
{
    moConnectWork.aioData().fdAIOData().fds()[0].miFd = bWaiting ? miFd : -1;
    moConnectWork.aioData().setEvent(false);
    if (bWaiting)
        moConnectWork.start();
    else
        moConnectWork.stop();
}

void cTcpClient::abort()
{
    setWaiting(false);
    if (miFd >= 0) {
        ::close(miFd);
        miFd = -1;
    }
}

void cTcpClient::connectTo(const qce::cNetAbstractAddress& oTarget)
{
    abort();
    stopTimeout();
    mbConnected = false;
    mpConnection.reset();
    mpFailure.reset();
    moTarget.assign(oTarget);

    int iFd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (iFd < 0) {
        fail(connectFailure(moTarget, errno));
        return;
    }
    miFd = iFd;
    sockaddr_in oAddr;
    moTarget.toSockAddr(oAddr);
    int iResult;
    do
        iResult = ::connect(miFd, reinterpret_cast<const sockaddr*>(&oAddr), sizeof(oAddr));
    while (iResult < 0 && errno == EINTR);
    if (iResult == 0) {
        succeed();
        return;
    }
    if (errno != EINPROGRESS) {
        fail(connectFailure(moTarget, errno));
        return;
    }
    setWaiting(true);
}

bool cTcpClient::checkConnect()
{
    if (miFd < 0)
        return true;
    int iError = 0;
    socklen_t iLength = sizeof(iError);
    if (::getsockopt(miFd, SOL_SOCKET, SO_ERROR, &iError, &iLength) < 0)
        iError = errno;
    if (iError == EINPROGRESS || iError == EALREADY || iError == EINTR)
        return false;
    if (iError != 0) {
        fail(connectFailure(moTarget, iError));
        return true;
    }
    // No error yet: either connected, or still in the handshake.
    sockaddr_in oPeer;
    socklen_t iPeerLength = sizeof(oPeer);
    if (::getpeername(miFd, reinterpret_cast<sockaddr*>(&oPeer), &iPeerLength) != 0)
        return false;
    succeed();
    return true;
}

void cTcpClient::succeed()
{
    int iFd = miFd;
    setWaiting(false);
    miFd = -1;
    stopTimeout();
    qstd::tAutoPtr<qce::cNetAbstractSocket> pSocket(new cTcpSocket(iFd));
    mpConnection.reset(new qce::cNetAbstractConnection(pSocket));
    mpConnection->schedule(&wq());
    mbConnected = true;
    sigConnected();
}

void cTcpClient::fail(const qstd::cRuntimeException& oFailure)
{
    abort();
    stopTimeout();
    mpFailure.reset(new qstd::cRuntimeException(oFailure));
    sigConnected();
}

qstd::tAutoPtr<qce::cNetAbstractConnection> cTcpClient::connection()
{
    return mpConnection;
}

piVoid cTcpClient::sltConnectReady()
{
    checkConnect();
    return piVoid();
}

void cTcpClient::connectStep()
{
    if (mbConnected)
        return;
    if (miFd >= 0) {
        pollfd oPoll = {miFd, POLLOUT, 0};
        ::poll(&oPoll, 1, kStepWaitMSec);
        if (!checkConnect() && timeoutWork().isStarted() &&
            timeoutWork().plannedTime() <= qpi::cWorkClock::current().now()) {
            timeoutWork().stop();
            sltTimeout();
        }
    }
    if (mbConnected)
        return;
    if (mpFailure.get())
        throw qstd::cRuntimeException(*mpFailure);
    if (miFd < 0) {
        qucs::cLIMessage oMsg;
        oMsg << "$MTR$No connection attempt to %to% in progress!" << moTarget.toString(true);
        throw qstd::cBugException(oMsg, nullptr, 0);
    }
}

piVoid cTcpClient::sltTimeout()
{
    abort();
    try {
        qce::cNetAbstractClient::sltTimeout();
    } catch (const qstd::cRuntimeException& e) {
        mpFailure.reset(new qstd::cRuntimeException(e));
        sigConnected();
        throw;
    }
    return piVoid();
}

} // namespace qtcp
