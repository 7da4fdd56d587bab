// filewatch.cpp - qio::cFileWatch.
// SPDX-License-Identifier: MIT
#include "qor_core/io/filewatch.h"
#include "qor_core/io/fileinfo.h"
#include "qor_core/pi/system.h"
#include "qor_core/pi/workqueue.h"

namespace qio {

cFileWatch::cFileWatch(const qucs::cString& sPath)
    : sigFileChanged(qrmi::cAbstractSignal::IgnoreWhenUnconnected), msPath(sPath),
      moFile(qpi::system().fs(), sPath, ReadOnly, MustExist, Overwrite), miLastSize(0)
{
    moLastTime = moFile.lastModified();
    miLastSize = moFile.size(true);
    readState(moLastTime, miLastSize);
    qstd::cAsciiString sName("File I/O change notifier (");
    sName += sPath.ascii();
    sName += ")";
    moWork.setName(sName);
    moWork.sigAction.connect(*this, &cFileWatch::poll, qrmi::cAbstractSignal::ConnectLast);
    qpi::schedule(moWork);
}

cFileWatch::~cFileWatch() {}

void cFileWatch::start(unsigned iIntervalMSec)
{
    moWork.start(iIntervalMSec, qpi::cWork::Periodic);
}

void cFileWatch::stop()
{
    moWork.stop();
}

bool cFileWatch::readState(qstd::cDateTime& oTime, unsigned long long& iSize) const
{
    const cFs& oFs = moFile.fs();
    if (!oFs.exists(msPath, true, &oTime, cFileInfoFlags::LastModification))
        return false;
    try {
        iSize = oFs.fileInfo(msPath).size(true);
    } catch (const qstd::cAbstractException&) {
        return false; // gone between the two calls
    }
    return true;
}

piVoid cFileWatch::poll()
{
    qstd::cDateTime oTime;
    unsigned long long iSize = 0;
    if (!readState(oTime, iSize))
        return piVoid();
    if (oTime != moLastTime || iSize != miLastSize) {
        moLastTime = oTime;
        miLastSize = iSize;
        sigFileChanged();
    }
    return piVoid();
}

} // namespace qio
