// tcpsocket.cpp - a connected non-blocking TCP descriptor.
// SPDX-License-Identifier: MIT
#include "tcp/tcpsocket.h"
#include "qor_core/pi/abstractaiodata.h"

#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace qtcp {

namespace {

const unsigned kDefaultMaxTxSize = 64 * 1024;
const unsigned kReadAllStep = 64 * 1024;
const unsigned kReadAllLimit = 1024 * 1024;

void watch(qpi::cWork& oWork, int iFd, unsigned iFlags)
{
    qstd::tAutoPtr<qpi::cAbstractAIOData> pData(new qpi::cFDAIOData);
    pData->fdAIOData().addFd(iFd, iFlags);
    oWork.setAIOData(pData);
}

/// The descriptor of the work's data becomes -1: poll ignores it, and a number the
/// system hands out again is never watched in its place.
void unwatch(qpi::cWork& oWork)
{
    if (qpi::cAbstractAIOData* pData = oWork.hasAIOData())
        for (unsigned i = 0; i < pData->fdAIOData().fds().count(); ++i)
            pData->fdAIOData().fds()[i].miFd = -1;
}

} // namespace

cTcpSocket::cTcpSocket(int iFd)
    : miFd(iFd), miMaxTxSize(kDefaultMaxTxSize), mbPeerClosed(false), mbBroken(false)
{
    int iFlags = ::fcntl(miFd, F_GETFL);
    if (iFlags >= 0 && !(iFlags & O_NONBLOCK))
        ::fcntl(miFd, F_SETFL, iFlags | O_NONBLOCK);
    sockaddr_in oAddr;
    socklen_t iLength = sizeof(oAddr);
    if (::getpeername(miFd, reinterpret_cast<sockaddr*>(&oAddr), &iLength) == 0 &&
        oAddr.sin_family == AF_INET)
        moRemote.fromSockAddr(oAddr);
    iLength = sizeof(oAddr);
    if (::getsockname(miFd, reinterpret_cast<sockaddr*>(&oAddr), &iLength) == 0 &&
        oAddr.sin_family == AF_INET)
        moLocal.fromSockAddr(oAddr);
    watch(readWork(), miFd, qpi::tFdInfo::FdReadable);
    watch(writeWork(), miFd, qpi::tFdInfo::FdWritable);
    watch(exceptionWork(), miFd, qpi::tFdInfo::FdError);
}

cTcpSocket::~cTcpSocket()
{
    close();
}

void cTcpSocket::markClosed(bool bBroken)
{
    mbPeerClosed = true;
    if (bBroken)
        mbBroken = true;
    if (qpi::cAbstractAIOData* pData = exceptionWork().hasAIOData())
        pData->setEvent(true);
}

void cTcpSocket::clearException()
{
    if (miFd < 0)
        return;
    int iError = 0;
    socklen_t iLength = sizeof(iError);
    ::getsockopt(miFd, SOL_SOCKET, SO_ERROR, &iError, &iLength);
}

unsigned int cTcpSocket::read(char* pBuffer, unsigned int iSize, qce::cNetAbstractAddress*)
{
    if (miFd < 0 || iSize == 0)
        return 0;
    for (;;) {
        ssize_t iRead = ::recv(miFd, pBuffer, iSize, MSG_DONTWAIT);
        if (iRead > 0)
            return unsigned(iRead);
        if (iRead == 0) {
            markClosed(false);
            return 0;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            markClosed(true);
        return 0;
    }
}

bool cTcpSocket::readAll(qstd::tArray<char>& oData, qce::cNetAbstractAddress*)
{
    if (miFd < 0)
        return false;
    // Sized once by what is queued, so that a large arrival is neither copied while
    // the array grows nor split into many small reads.
    int iQueued = 0;
    if (::ioctl(miFd, FIONREAD, &iQueued) != 0 || iQueued <= 0)
        iQueued = int(kReadAllStep);
    unsigned iWanted = unsigned(iQueued) < kReadAllLimit ? unsigned(iQueued) : kReadAllLimit;
    const unsigned iStart = oData.size();
    oData.setSize(iStart + iWanted);
    ssize_t iRead;
    do
        iRead = ::recv(miFd, oData.data() + iStart, iWanted, MSG_DONTWAIT);
    while (iRead < 0 && errno == EINTR);
    oData.setSize(iStart + (iRead > 0 ? unsigned(iRead) : 0u));
    if (iRead == 0)
        markClosed(false);
    else if (iRead < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
        markClosed(true);
    return iRead > 0;
}

bool cTcpSocket::canRead() const
{
    if (miFd < 0)
        return false;
    char c;
    return ::recv(miFd, &c, 1, MSG_PEEK | MSG_DONTWAIT) > 0;
}

unsigned int cTcpSocket::write(const char* pData, unsigned int iSize)
{
    if (miFd < 0 || iSize == 0)
        return 0;
    for (;;) {
        ssize_t iWritten = ::send(miFd, pData, iSize, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (iWritten >= 0)
            return unsigned(iWritten);
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return 0;
        if (mbBroken)
            return iSize;
        markClosed(true);
        return 0;
    }
}

void cTcpSocket::close()
{
    unwatch(readWork());
    unwatch(writeWork());
    unwatch(exceptionWork());
    if (miFd >= 0) {
        ::close(miFd);
        miFd = -1;
    }
}

bool cTcpSocket::isClosed() const
{
    if (miFd < 0 || mbPeerClosed)
        return true;
    pollfd oPoll = {miFd, POLLIN, 0};
    if (::poll(&oPoll, 1, 0) <= 0)
        return false;
    return (oPoll.revents & (POLLHUP | POLLERR)) != 0;
}

} // namespace qtcp
