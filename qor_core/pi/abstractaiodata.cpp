// abstractaiodata.cpp - asynchronous I/O data of works.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/abstractaiodata.h"
#include "qor_core/pi/workqueue.h"
#include "qor_core/std/exception.h"
#include "qor_core/ucs/limessage.h"

namespace qpi {

cAbstractAIOData::~cAbstractAIOData() {}

void cAbstractAIOData::notifyEvent()
{
    cWorkQueue::workReady(*mpOwner);
}

void cAbstractAIOData::notifyDescriptorsChanged()
{
    if (mpOwner)
        cWorkQueue::workDescriptorsChanged(*mpOwner);
}

cFDAIOData* cAbstractAIOData::isFDAIOData()
{
    return nullptr;
}

cFDAIOData& cAbstractAIOData::fdAIOData()
{
    cFDAIOData* pData = isFDAIOData();
    if (!pData) {
        qucs::cLIMessage oMsg;
        oMsg << "$MTR$Asynchronous I/O data does not have file descriptor information!";
        throw qstd::cBugException(oMsg, __FILE__, __LINE__);
    }
    return *pData;
}

cFDAIOData::cFDAIOData() : moFds(10) {}

cFDAIOData::~cFDAIOData() {}

void cFDAIOData::addFd(int iFd, unsigned int iFlags)
{
    moFds.append(tFdInfo(iFd, iFlags));
    notifyDescriptorsChanged();
}

} // namespace qpi
