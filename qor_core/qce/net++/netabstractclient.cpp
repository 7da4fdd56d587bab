// netabstractclient.cpp - the bases of clients and servers.
// SPDX-License-Identifier: MIT
#include "qor_core/qce/net++/netabstractclient.h"
#include "qor_core/pi/system.h"
#include "qor_core/pi/workqueue.h"
#include "qor_core/qce/net++/netabstractaddress.h"
#include "qor_core/qce/net++/netabstractconnection.h"
#include "qor_core/qce/net++/netabstractserver.h"
#include "qor_core/std/exception.h"
#include "qor_core/ucs/limessage.h"

namespace qce {

cNetAbstractClient::cNetAbstractClient(qpi::cWorkQueue* pQueue)
    : sigConnected(qrmi::cAbstractSignal::IgnoreWhenUnconnected), mpQueue(pQueue)
{
    moTimeoutWork.setForceKeep(true);
    moTimeoutWork.setName("network client connect timeout");
    moTimeoutWork.sigAction.connect(*this, &cNetAbstractClient::sltTimeout);
    wq().addJob(moTimeoutWork);
}

cNetAbstractClient::~cNetAbstractClient() {}

void cNetAbstractClient::startTimeout(unsigned int iMSec)
{
    moTimeoutWork.start(iMSec, qpi::cWork::Single);
}

void cNetAbstractClient::stopTimeout()
{
    moTimeoutWork.stop();
}

qpi::cWorkQueue& cNetAbstractClient::wq()
{
    return mpQueue ? *mpQueue : qpi::system().workQueue();
}

qstd::tAutoPtr<cNetAbstractConnection> cNetAbstractClient::waitConnection()
{
    while (!isConnected())
        connectStep();
    return connection();
}

piVoid cNetAbstractClient::sltTimeout()
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Timeout while establish network connection to %to%!" << address().toString();
    throw qstd::cRuntimeException(oMsg, nullptr, 0);
}

cNetAbstractServer::cNetAbstractServer(qpi::cWorkQueue* pQueue)
    : sigAcceptRequest(qrmi::cAbstractSignal::IgnoreWhenUnconnected),
      sigConnected(qrmi::cAbstractSignal::IgnoreWhenUnconnected), mpQueue(pQueue)
{
}

cNetAbstractServer::~cNetAbstractServer() {}

qpi::cWorkQueue& cNetAbstractServer::wq()
{
    return mpQueue ? *mpQueue : qpi::system().workQueue();
}

} // namespace qce
