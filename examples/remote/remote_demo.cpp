// remote_demo.cpp - components calling each other across processes.
//
//   qor_remote_demo                  starts a server process of its own, then, as
//                                    the client, calls its calculator over TCP
//   qor_remote_demo --serve <fd>     the server: publishes a calculator component
//                                    at 127.0.0.1 on a port the kernel picks, writes
//                                    the port to descriptor <fd> and serves until
//                                    its standard input ends
//
// The client's interface dependency matches the server's calculator, the client
// calls its slots and prints the results, calls a slot that fails and prints the
// exception chain in German (qor_remote_demo.de.tr, next to the program) with the
// location where it was raised, stops the server and shows the dependency
// unmatched. It exits 0 when all of that happened as expected, and otherwise
// prints what failed and exits 1. Every wait is bounded.
// SPDX-License-Identifier: MIT
#include "qor_core/qor_core.h"
#include "remote/publicmethodslot.h"
#include "remote/remoteclient.h"
#include "remote/remoteserver.h"
#include "tcp/tcpclient.h"
#include "tcp/tcpserver.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const char* const kInterfaceName = "Calculator";

/// The calculator's failure, known to both sides: the client catches it as such.
class cCalcError : public qstd::cRuntimeException
{
public:
    cCalcError() {}
    explicit cCalcError(const qucs::cLIMessage& oMsg) : qstd::cRuntimeException(oMsg, nullptr, 0) {}
    qstd::cAbstractException* createObject() const override { return new cCalcError(*this); }
    qstd::cAsciiString typeName() const override { return "cCalcError"; }
};

/// Turns the system's queue until bDone() or iMSec milliseconds have passed.
bool turnUntil(const std::function<bool()>& bDone, int iMSec)
{
    qpi::cWork oTick; // bounds every sleep, so that the deadline is seen
    oTick.start(20, qpi::cWork::Periodic);
    qpi::schedule(oTick);
    auto oEnd = std::chrono::steady_clock::now() + std::chrono::milliseconds(iMSec);
    while (!bDone() && std::chrono::steady_clock::now() < oEnd)
        qpi::system().exec();
    return bDone();
}

/// A message in the system locale's language, as UTF-8.
std::string render(const qstd::cAbstractException& e, const char* pSeparator)
{
    qucs::cString sText;
    e.createMessage(sText, qucs::cString(pSeparator), qstd::cAbstractException::WithHistory,
                    &qpi::system().locale());
    qstd::tArray<char> oBytes;
    qucs::cEnDecUTF8().encodeCString(sText, oBytes);
    return std::string(oBytes.begin(), oBytes.end());
}

// ---------------------------------------------------------------------------
// The server process

/// The interface the server's component publishes.
class cCalculator : public qcs::cAbstractInterface
{
public:
    cCalculator()
        : qcs::cAbstractInterface(qcs::cInterfaceDesc(qcs::cInterfaceDesc::Provided, kInterfaceName,
                                                      "qor examples", 1,
                                                      "integer arithmetic and greetings"))
    {
        qremote::publishMethod(*this, "add", "the sum of two numbers", &cCalculator::add);
        qremote::publishMethod(*this, "divide", "the quotient of two numbers",
                               &cCalculator::divide);
        qremote::publishMethod(*this, "divmod", "quotient, and the remainder written back",
                               &cCalculator::divmod);
        qremote::publishMethod(*this, "greet", "a greeting", &cCalculator::greet);
    }
    void attach(qcs::cAbstractInterface&) override {}
    void detach() override {}

    int add(int a, int b) { return a + b; }
    int divide(int iDividend, int iDivisor)
    {
        if (iDivisor == 0) {
            qucs::cLIMessage oMsg;
            oMsg << "$MTR$Cannot compute %dividend% / %divisor%!" << iDividend << iDivisor;
            cCalcError e(oMsg);
            qucs::cLIMessage oCause;
            oCause << "$MTR$Division by zero!";
            e.link(qstd::cRuntimeException(oCause, nullptr, 0));
            throw e;
        }
        return iDividend / iDivisor;
    }
    int divmod(int iDividend, int iDivisor, int& iRemainder)
    {
        iRemainder = iDividend % iDivisor;
        return divide(iDividend, iDivisor);
    }
    qstd::cAsciiString greet(const qstd::cAsciiString& sName)
    {
        qstd::cAsciiString sGreeting("Hello, ");
        sGreeting += sName;
        sGreeting += "! (from process ";
        sGreeting.addUNum32(unsigned(::getpid()));
        sGreeting += ")";
        return sGreeting;
    }
};

class cCalculatorComponent : public qcs::cAbstractComponent
{
public:
    explicit cCalculatorComponent(qcs::cModuleMgr& oManager) : qcs::cAbstractComponent(oManager)
    {
        moduleInfo().setName("calculator");
        addInterface(qstd::tAutoPtr<qcs::cAbstractInterface>(new cCalculator));
    }
};

/// Accepts connections for the remote server and watches standard input, whose end
/// stops the server.
class cServerProcess : public qrmi::cConnectable
{
public:
    explicit cServerProcess(qcs::cModuleMgr& oManager) : moRemote(oManager)
    {
        moListener.sigConnected.connect(*this, &cServerProcess::sltConnected);
        moRemote.sigSessionClosed.connect(*this, &cServerProcess::sltSessionClosed);
        qstd::tAutoPtr<qpi::cFDAIOData> pInput(new qpi::cFDAIOData);
        pInput->addFd(STDIN_FILENO, qpi::tFdInfo::FdReadable | qpi::tFdInfo::FdError);
        moInput.setName("server: standard input");
        moInput.sigAction.connect(*this, &cServerProcess::sltInput);
        moInput.setAIOData(qstd::tAutoPtr<qpi::cAbstractAIOData>(pInput.release()));
        qpi::schedule(moInput);
    }
    piVoid sltConnected(const qce::cNetAbstractAddress& oFrom)
    {
        std::printf("server: client connected from %s:%u\n", oFrom.toString().c_str(),
                    oFrom.isIPAddress() ? oFrom.isIPAddress()->port() : 0u);
        moRemote.addConnection(moListener.takeConnection());
        return piVoid();
    }
    piVoid sltSessionClosed(qremote::cRemoteEndpoint&, const qstd::cAbstractException& e)
    {
        std::printf("server: session closed: %s\n", render(e, " / ").c_str());
        return piVoid();
    }
    piVoid sltInput()
    {
        char cBuffer[64];
        ssize_t iRead = ::read(STDIN_FILENO, cBuffer, sizeof(cBuffer));
        if (iRead == 0 || (iRead < 0 && errno != EINTR && errno != EAGAIN)) {
            mbStop = true;
            moInput.stop();
        }
        return piVoid();
    }

    qtcp::cTcpServer moListener;
    qremote::cRemoteServer moRemote;
    qpi::cWork moInput;
    bool mbStop = false;
};

int serve(int iPortFd)
{
    qcs::cModuleMgr oManager(qpi::system().coreExtensions());
    oManager.addComponent(
        qstd::tAutoPtr<qcs::cAbstractComponent>(new cCalculatorComponent(oManager)),
        qcs::cComponentAddr());
    cServerProcess oServer(oManager);
    oServer.moListener.listen(qtcp::cTcpIpv4Address("127.0.0.1:0"));
    const unsigned iPort = oServer.moListener.address().isIPAddress()->port();
    std::printf("server: process %u publishes its calculator at 127.0.0.1:%u\n",
                unsigned(::getpid()), iPort);
    const std::string sPort = std::to_string(iPort) + "\n";
    const bool bReported = ::write(iPortFd, sPort.data(), sPort.size()) == ssize_t(sPort.size());
    ::close(iPortFd);
    if (!bReported)
        return 1;
    // The client ends the server by closing its standard input; a lost client too.
    turnUntil([&] { return oServer.mbStop; }, 60000);
    std::printf("server: stopping\n");
    return 0;
}

// ---------------------------------------------------------------------------
// The client process

/// The client's side of the interface: the calculator it was matched with.
class cCalculatorUser : public qcs::cAbstractInterface
{
public:
    cCalculatorUser()
        : qcs::cAbstractInterface(qcs::cInterfaceDesc(qcs::cInterfaceDesc::Required, kInterfaceName,
                                                      "qor examples", 1, "needs a calculator"))
    {
    }
    void attach(qcs::cAbstractInterface& oProvider) override { mpProvider = &oProvider; }
    void detach() override { mpProvider = nullptr; }

    /// Calls the slot sSlot of the calculator with oFrame.
    void call(const char* pSlot, qsa::cReferenceFrame& oFrame)
    {
        if (!mpProvider)
            qstd::cSTDExceptions::throwUnsupportedOperation("call without a calculator");
        mpProvider->invokeIndirectSlot(pSlot, oFrame);
    }

    qcs::cAbstractInterface* mpProvider = nullptr; ///< not owned
};

class cDisplay : public qcs::cAbstractComponent
{
public:
    explicit cDisplay(qcs::cModuleMgr& oManager)
        : qcs::cAbstractComponent(oManager), moDependency(*this, moCalculator.desc(), &moCalculator,
                                                          qcs::cInterfaceDep::saUseFirstBest)
    {
        moduleInfo().setName("display");
        moDependency.sigMatched.connect(*this, &cDisplay::sltMatched);
        moDependency.sigUnmatched.connect(*this, &cDisplay::sltUnmatched);
    }
    piVoid sltMatched(const qcs::cComponentAddr&)
    {
        ++miMatched;
        std::printf("client: dependency on \"%s\" matched the provider at %s\n", kInterfaceName,
                    moDependency.match().location().toString().c_str());
        return piVoid();
    }
    piVoid sltUnmatched()
    {
        ++miUnmatched;
        std::printf("client: dependency on \"%s\" unmatched\n", kInterfaceName);
        return piVoid();
    }

    cCalculatorUser moCalculator;
    qcs::cInterfaceDep moDependency;
    int miMatched = 0, miUnmatched = 0;
};

/// The server process: started by the client, stopped by closing its standard
/// input, killed when it does not go in time, and always reaped.
class cChild
{
public:
    ~cChild() { stop(2000); }

    /// Starts this very program with "--serve"; false when that fails.
    bool start()
    {
        int iControl[2], iPort[2];
        if (::pipe(iControl) != 0)
            return false;
        if (::pipe(iPort) != 0) {
            ::close(iControl[0]);
            ::close(iControl[1]);
            return false;
        }
        std::fflush(nullptr);
        miPid = ::fork();
        if (miPid == 0) {
            // The child: standard input is the control pipe, descriptor 3 the port.
            ::dup2(iControl[0], STDIN_FILENO);
            ::dup2(iPort[1], 3);
            for (int iFd : {iControl[0], iControl[1], iPort[0], iPort[1]})
                if (iFd != STDIN_FILENO && iFd != 3)
                    ::close(iFd);
            ::execl("/proc/self/exe", "qor_remote_demo", "--serve", "3", (char*)nullptr);
            std::perror("exec");
            ::_exit(127);
        }
        ::close(iControl[0]);
        ::close(iPort[1]);
        miControl = iControl[1];
        miPortPipe = iPort[0];
        return miPid > 0;
    }

    /// The port the server reports, or 0 when it does not within iMSec.
    unsigned readPort(int iMSec)
    {
        std::string sText;
        auto oEnd = std::chrono::steady_clock::now() + std::chrono::milliseconds(iMSec);
        while (sText.find('\n') == std::string::npos) {
            int iLeft = int(std::chrono::duration_cast<std::chrono::milliseconds>(
                                oEnd - std::chrono::steady_clock::now())
                                .count());
            pollfd oPoll = {miPortPipe, POLLIN, 0};
            if (iLeft <= 0 || ::poll(&oPoll, 1, iLeft) <= 0)
                return 0;
            char cBuffer[32];
            ssize_t iRead = ::read(miPortPipe, cBuffer, sizeof(cBuffer));
            if (iRead <= 0)
                return 0;
            sText.append(cBuffer, size_t(iRead));
        }
        return unsigned(std::strtoul(sText.c_str(), nullptr, 10));
    }

    /// Closes the control pipe; the server ends when it sees that.
    void requestStop()
    {
        if (miControl >= 0)
            ::close(miControl);
        miControl = -1;
    }

    /// Requests the stop and reaps the server within iMSec, killing it otherwise.
    /// Returns its exit status, or -1 when it had to be killed or did not exit.
    int stop(int iMSec)
    {
        requestStop();
        if (miPortPipe >= 0)
            ::close(miPortPipe);
        miPortPipe = -1;
        if (miPid <= 0)
            return -1;
        auto oEnd = std::chrono::steady_clock::now() + std::chrono::milliseconds(iMSec);
        int iStatus = 0;
        for (;;) {
            pid_t iDone = ::waitpid(miPid, &iStatus, WNOHANG);
            if (iDone == miPid || (iDone < 0 && errno != EINTR))
                break;
            if (std::chrono::steady_clock::now() >= oEnd) {
                ::kill(miPid, SIGKILL);
                ::waitpid(miPid, &iStatus, 0);
                miPid = -1;
                return -1;
            }
            ::usleep(5000);
        }
        miPid = -1;
        return WIFEXITED(iStatus) ? WEXITSTATUS(iStatus) : -1;
    }

private:
    pid_t miPid = -1;
    int miControl = -1;
    int miPortPipe = -1;
};

/// Records the first failure and tells whether all went well.
struct cVerdict
{
    bool check(bool bGood, const char* pWhat)
    {
        if (!bGood && msFailure.empty())
            msFailure = pWhat;
        if (!bGood)
            std::printf("FAILED: %s\n", pWhat);
        return bGood;
    }
    std::string msFailure;
};

int runClient()
{
    cVerdict oVerdict;
    cChild oChild;
    if (!oVerdict.check(oChild.start(), "starting the server process"))
        return 1;
    const unsigned iPort = oChild.readPort(10000);
    if (!oVerdict.check(iPort != 0, "the server did not report its port within 10 s"))
        return 1;

    {
        // The German texts, from the file next to this program.
        char cExe[4096] = {};
        ssize_t iLength = ::readlink("/proc/self/exe", cExe, sizeof(cExe) - 1);
        std::string sFile = std::string(cExe, iLength > 0 ? size_t(iLength) : 0u) + ".de.tr";
        try {
            qpi::system().locale().loadFromFile(qucs::cString(sFile.c_str()));
        } catch (const qstd::cAbstractException& e) {
            std::printf("client: %s\n", render(e, " / ").c_str());
            oVerdict.check(false, "loading the translation file");
            return 1;
        }
        std::printf("client: exception texts in %s\n",
                    qpi::system().locale().name().ascii('?').c_str());
    }

    qcs::cModuleMgr oManager(qpi::system().coreExtensions());
    cDisplay* pDisplay = new cDisplay(oManager);
    oManager.addComponent(qstd::tAutoPtr<qcs::cAbstractComponent>(pDisplay), qcs::cComponentAddr());

    // Connect over TCP and hand the connection to the remote client.
    qtcp::cTcpClient oConnector;
    oConnector.connectTo(qtcp::cTcpIpv4Address(("127.0.0.1:" + std::to_string(iPort)).c_str()));
    oConnector.startTimeout(5000);
    turnUntil([&] { return !oConnector.isConnecting(); }, 6000);
    oConnector.stopTimeout();
    if (!oVerdict.check(oConnector.isConnected(), "connecting to the server"))
        return 1;
    std::unique_ptr<qremote::cRemoteClient> pClient(
        new qremote::cRemoteClient(oManager, oConnector.connection()));
    pClient->registerException<cCalcError>();
    pClient->setCallTimeout(5000);
    std::string sClosed;
    struct cCloseWatch : qrmi::cConnectable
    {
        piVoid closed(qremote::cRemoteEndpoint&, const qstd::cAbstractException& e)
        {
            *mpText = render(e, " / ");
            return piVoid();
        }
        std::string* mpText;
    } oWatch;
    oWatch.mpText = &sClosed;
    pClient->sigClosed.connect(oWatch, &cCloseWatch::closed);

    if (!oVerdict.check(turnUntil([&] { return pDisplay->moDependency.matched(); }, 5000),
                        "the dependency did not match within 5 s"))
        return 1;
    const qcs::cComponentLocation oProvider = pDisplay->moDependency.match().location();

    try {
        int iSum = 0, a = 2, b = 40;
        qsa::cReferenceFrame oAdd;
        oAdd.addRef(iSum, true, false).addRef(a, false, true).addRef(b, false, true);
        pDisplay->moCalculator.call("add", oAdd);
        std::printf("client: add(2, 40) = %d\n", iSum);
        oVerdict.check(iSum == 42, "add(2, 40) should be 42");

        qstd::cAsciiString sGreeting, sName("world");
        qsa::cReferenceFrame oGreet;
        oGreet.addRef(sGreeting, true, false).addRef(sName, false, true);
        pDisplay->moCalculator.call("greet", oGreet);
        std::printf("client: greet(\"world\") = \"%s\"\n", sGreeting.c_str());
        oVerdict.check(sGreeting.beginsWith("Hello, world!"), "greet(\"world\")");

        int iQuotient = 0, iDividend = 17, iDivisor = 5, iRemainder = -1;
        qsa::cReferenceFrame oDivmod;
        oDivmod.addRef(iQuotient, true, false).addRef(iDividend, false, true);
        oDivmod.addRef(iDivisor, false, true).addRef(iRemainder, true, false);
        pDisplay->moCalculator.call("divmod", oDivmod);
        std::printf("client: divmod(17, 5) = %d, remainder %d\n", iQuotient, iRemainder);
        oVerdict.check(iQuotient == 3 && iRemainder == 2, "divmod(17, 5) should be 3 and 2");
    } catch (const qstd::cAbstractException& e) {
        std::printf("client: %s\n", render(e, " / ").c_str());
        oVerdict.check(false, "calling the calculator");
    }

    // A slot that fails: the chain comes back as the calculator's own exception.
    bool bFailed = false;
    try {
        int iQuotient = 0, iDividend = 7, iDivisor = 0;
        qsa::cReferenceFrame oDivide;
        oDivide.addRef(iQuotient, true, false).addRef(iDividend, false, true);
        oDivide.addRef(iDivisor, false, true);
        pDisplay->moCalculator.call("divide", oDivide);
    } catch (const cCalcError& e) {
        bFailed = true;
        const bool bRemote = e.isRemote() && e.remoteLocation() == oProvider;
        std::printf("client: divide(7, 0) failed in %s:\n  %s\n",
                    bRemote ? e.remoteLocation().toString().c_str() : "this process",
                    render(e, "\n  caused by: ").c_str());
        oVerdict.check(bRemote, "the failure should carry the provider's location");
        qucs::cString sTranslated;
        oVerdict.check(qpi::system().locale().translate(*e.liMessage(), sTranslated) &&
                           e.history() && e.history()->isRemote(),
                       "the failure should be translated and remote throughout");
    } catch (const qstd::cAbstractException& e) {
        std::printf("client: %s\n", render(e, " / ").c_str());
    }
    oVerdict.check(bFailed, "divide(7, 0) should fail with cCalcError");

    // Stop the server: the connection goes, and with it the provider.
    std::printf("client: stopping the server\n");
    oChild.requestStop();
    oVerdict.check(turnUntil([&] { return pDisplay->miUnmatched > 0; }, 5000),
                   "the dependency did not unmatch within 5 s after the server stopped");
    if (!sClosed.empty())
        std::printf("client: connection closed: %s\n", sClosed.c_str());
    oVerdict.check(!pDisplay->moDependency.matched() && pClient->remoteComponents().count() == 0,
                   "the remote component should be gone");
    const int iStatus = oChild.stop(5000);
    oVerdict.check(iStatus == 0, "the server process should exit with status 0");

    pClient.reset();
    if (!oVerdict.msFailure.empty()) {
        std::printf("remote demo: FAILED (%s)\n", oVerdict.msFailure.c_str());
        return 1;
    }
    std::printf("remote demo: all steps succeeded\n");
    return 0;
}

} // namespace

int main(int iArgs, char** ppArgs)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    // The framework's own diagnostics stay quiet unless asked for.
    ::setenv("PIDBG_FILTER", "qor_core/ /remote/", 0);
    try {
        if (iArgs == 3 && std::strcmp(ppArgs[1], "--serve") == 0)
            return serve(std::atoi(ppArgs[2]));
        if (iArgs != 1) {
            std::fprintf(stderr, "usage: %s\n", ppArgs[0]);
            return 2;
        }
        return runClient();
    } catch (const qstd::cAbstractException& e) {
        std::printf("error: %s\n", render(e, " / ").c_str());
        return 1;
    }
}
