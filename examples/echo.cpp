// echo.cpp - an echo server and client over the TCP transport, run from the loop.
//
//   qor_echo                       server and client in one process on 127.0.0.1
//   qor_echo server [port]         an echo server on 127.0.0.1 (port 0: any)
//   qor_echo client host:port text sends the text, prints the echo
//
// The address kind comes from the extension library: the core extension manager
// loads libqor_tcp ("qor_tcp") and creates a "TcpIpv4" address from it.
#include "qor_core/qor_core.h"
#include "tcp/tcpclient.h"
#include "tcp/tcpserver.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

/// Sends back everything each accepted connection receives.
class cEchoServer : public qrmi::cConnectable
{
public:
    cEchoServer()
    {
        moServer.sigAcceptRequest.connect(*this, &cEchoServer::sltRequest);
        moServer.sigConnected.connect(*this, &cEchoServer::sltConnected);
    }
    piVoid sltRequest(const qce::cNetAbstractAddress& oFrom, bool& bAccept)
    {
        std::printf("server: connection request from %s\n", oFrom.toString().c_str());
        bAccept = true;
        return piVoid();
    }
    piVoid sltConnected(const qce::cNetAbstractAddress&)
    {
        qstd::tAutoPtr<qce::cNetAbstractConnection> pConnection = moServer.takeConnection();
        pConnection->sigDataReceived.connect(*this, &cEchoServer::sltData);
        pConnection->sigClosed.connect(*this, &cEchoServer::sltClosed);
        pConnection->receive(true);
        moConnections.emplace_back(pConnection.release());
        return piVoid();
    }
    piVoid sltData(qce::cNetAbstractConnection& c, const qstd::tArray<char>& oData)
    {
        // One buffer at a time: what arrives while the last echo is still going out
        // is queued behind it.
        if (c.isTxBusy())
            c.flushTx(1000);
        c.send(oData);
        return piVoid();
    }
    piVoid sltClosed(qce::cNetAbstractConnection& c)
    {
        std::printf("server: %s closed\n", c.remoteAddress().toString().c_str());
        return piVoid();
    }

    qtcp::cTcpServer moServer;
    std::vector<std::unique_ptr<qce::cNetAbstractConnection>> moConnections;
};

/// Connects, sends one text, and waits for it to come back.
class cEchoClient : public qrmi::cConnectable
{
public:
    cEchoClient(const qce::cNetAbstractAddress& oTarget, const std::string& sText) : msText(sText)
    {
        moClient.sigConnected.connect(*this, &cEchoClient::sltConnected);
        moClient.connectTo(oTarget);
        moClient.startTimeout(3000);
    }
    piVoid sltConnected()
    {
        if (!moClient.isConnected()) {
            qucs::cString sText;
            moClient.failure()->createMessage(sText, " / ", qstd::cAbstractException::WithHistory,
                                              nullptr);
            std::printf("client: %s\n", sText.ascii('?').c_str());
            mbDone = true;
            return piVoid();
        }
        mpConnection.reset(moClient.connection().release());
        mpConnection->sigDataReceived.connect(*this, &cEchoClient::sltData);
        mpConnection->receive(true);
        mpConnection->send(qstd::tArray<char>(msText.data(), unsigned(msText.size())));
        return piVoid();
    }
    piVoid sltData(qce::cNetAbstractConnection&, const qstd::tArray<char>& oData)
    {
        msEcho.append(oData.begin(), oData.end());
        if (msEcho.size() >= msText.size()) {
            std::printf("client: echo \"%s\"\n", msEcho.c_str());
            mbDone = true;
        }
        return piVoid();
    }

    qtcp::cTcpClient moClient;
    std::unique_ptr<qce::cNetAbstractConnection> mpConnection;
    std::string msText;
    std::string msEcho;
    bool mbDone = false;
};

void runUntil(const bool& bDone)
{
    while (!bDone)
        qpi::system().exec();
}

} // namespace

int main(int iArgs, char** ppArgs)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    try {
        qce::cCoreExtensionMgr& oExtensions = qpi::system().coreExtensions();
        oExtensions.load(qucs::cString("qor_tcp"));
        qstd::tAutoPtr<qce::cNetAbstractAddress> pAddress = oExtensions.createNetAddress("TcpIpv4");

        std::string sMode = iArgs > 1 ? ppArgs[1] : "";
        if (sMode == "server") {
            pAddress->fromString(
                std::string("127.0.0.1:" + std::string(iArgs > 2 ? ppArgs[2] : "0")).c_str());
            cEchoServer oServer;
            oServer.moServer.listen(*pAddress);
            std::printf("server: listening at %s\n",
                        static_cast<qce::cNetAbstractIPv4Address&>(oServer.moServer.address())
                            .toString(true)
                            .c_str());
            bool bNever = false;
            runUntil(bNever);
        } else if (sMode == "client" && iArgs > 3) {
            pAddress->fromString(ppArgs[2]);
            cEchoClient oClient(*pAddress, ppArgs[3]);
            runUntil(oClient.mbDone);
        } else {
            pAddress->fromString("127.0.0.1:0");
            cEchoServer oServer;
            oServer.moServer.listen(*pAddress);
            cEchoClient oClient(oServer.moServer.address(), "hello, echo");
            runUntil(oClient.mbDone);
        }
    } catch (const qstd::cAbstractException& e) {
        qucs::cString sText;
        e.createMessage(sText, " / ", qstd::cAbstractException::WithHistory, nullptr);
        std::fprintf(stderr, "error: %s\n", sText.ascii('?').c_str());
        return 1;
    }
    return 0;
}
