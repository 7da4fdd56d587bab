// mainloop.cpp - the main loop: a periodic timer, a single-shot work and a pipe
// watched for readiness, all on the system's work queue.
#include "qor_core/qor_core.h"

#include <cstdio>
#include <unistd.h>

namespace {

/// Reacts to the three sources and decides when the loop ends.
class cApp : public qrmi::cConnectable
{
public:
    explicit cApp(int iReadFd) : miReadFd(iReadFd) {}

    piVoid sltTick()
    {
        std::printf("tick %d\n", ++miTicks);
        return piVoid();
    }
    piVoid sltOnce()
    {
        std::printf("single shot: writing to the pipe\n");
        if (::write(miWriteFd, "hello", 5) != 5)
            std::perror("write");
        return piVoid();
    }
    piVoid sltReadable()
    {
        char cBuffer[16];
        ssize_t iRead = ::read(miReadFd, cBuffer, sizeof(cBuffer));
        std::printf("pipe readable: %d bytes\n", int(iRead));
        mbGotData = iRead > 0;
        return piVoid();
    }
    bool done() const { return mbGotData && miTicks >= 3; }

    int miReadFd;
    int miWriteFd = -1;
    int miTicks = 0;
    bool mbGotData = false;
};

} // namespace

int main()
{
    int iPipe[2];
    if (::pipe(iPipe) != 0) {
        std::perror("pipe");
        return 1;
    }
    cApp oApp(iPipe[0]);
    oApp.miWriteFd = iPipe[1];

    qstd::cTimer oTimer(100);
    oTimer.sigElapsed.connect(oApp, &cApp::sltTick);

    qpi::schedule(qrmi::cDirectLocalSlotCall0<cApp, piVoid>(oApp, &cApp::sltOnce), 150,
                  "write to the pipe");

    qpi::cWork oReader;
    oReader.setName("pipe reader");
    oReader.sigAction.connect(oApp, &cApp::sltReadable);
    qstd::tAutoPtr<qpi::cFDAIOData> pData(new qpi::cFDAIOData);
    pData->addFd(iPipe[0], qpi::tFdInfo::FdReadable);
    oReader.setAIOData(qstd::tAutoPtr<qpi::cAbstractAIOData>(pData.release()));
    qpi::schedule(oReader);

    std::printf("%s", qpi::cWqDebug::dot(nullptr).c_str());
    while (!oApp.done())
        qpi::system().exec();
    std::printf("%s", qpi::cWqDebug::dot(nullptr).c_str());

    ::close(iPipe[0]);
    ::close(iPipe[1]);
    return 0;
}
