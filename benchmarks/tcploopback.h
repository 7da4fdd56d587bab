// tcploopback.h - what the TCP benchmarks share: both ends of a loopback connection
// made by the transport, and a plain echo of a fixed-size message over it.
// SPDX-License-Identifier: MIT
#ifndef QOR_BENCHMARKS_TCPLOOPBACK_H
#define QOR_BENCHMARKS_TCPLOOPBACK_H

#include "qor_core/qor_core.h"
#include "tcp/tcpclient.h"
#include "tcp/tcpserver.h"

namespace qorbench {

/// Both ends of one loopback connection made by the transport.
class cLoopbackPair : public qrmi::cConnectable
{
public:
    cLoopbackPair()
    {
        moListener.sigConnected.connect(*this, &cLoopbackPair::sltAccepted);
        moListener.listen(qtcp::cTcpIpv4Address("127.0.0.1:0"));
        qtcp::cTcpClient oClient;
        qtcp::cTcpIpv4Address oTarget;
        oTarget.assign(moListener.address());
        oClient.connectTo(oTarget);
        mpClientSide = oClient.waitConnection();
        while (!mpServerSide.get())
            qpi::system().exec();
    }
    piVoid sltAccepted(const qce::cNetAbstractAddress&)
    {
        mpServerSide = moListener.takeConnection();
        return piVoid();
    }

    qtcp::cTcpServer moListener;
    qstd::tAutoPtr<qce::cNetAbstractConnection> mpClientSide;
    qstd::tAutoPtr<qce::cNetAbstractConnection> mpServerSide;
};

/// iSize bytes out (64 by default), echoed by the other end, iSize bytes back.
class cPlainEcho : public qrmi::cConnectable
{
public:
    explicit cPlainEcho(cLoopbackPair& oPair, unsigned iSize = 64) : moPair(oPair), moMessage(iSize)
    {
        oPair.mpServerSide->sigDataReceived.connect(*this, &cPlainEcho::sltServerData);
        oPair.mpClientSide->sigDataReceived.connect(*this, &cPlainEcho::sltClientData);
        oPair.mpServerSide->receive(true);
        oPair.mpClientSide->receive(true);
    }
    void roundTrip()
    {
        miBack = 0;
        moPair.mpClientSide->send(moMessage);
        while (miBack < moMessage.size())
            qpi::system().exec();
    }
    piVoid sltServerData(qce::cNetAbstractConnection& c, const qstd::tArray<char>& oData)
    {
        c.send(oData);
        return piVoid();
    }
    piVoid sltClientData(qce::cNetAbstractConnection&, const qstd::tArray<char>& oData)
    {
        miBack += oData.size();
        return piVoid();
    }

    cLoopbackPair& moPair;
    qstd::tArray<char> moMessage;
    unsigned miBack = 0;
};

} // namespace qorbench

#endif // QOR_BENCHMARKS_TCPLOOPBACK_H
