// A program built against an installed qor_core, through its CMake package or its
// pkg-config files: it includes the umbrella header, links the TCP transport and
// also loads it by name as a core extension, as applications do, and frames and
// decodes a message of the remote-call library. Prints
// "package consumer: ok" and exits 0 when everything works.
#include "qor_core/qor_core.h"
#include "remote/qor_remote.h"
#include "tcp/tcpipv4address.h"

#include <cstdio>

int main()
{
    try {
        qtcp::cTcpIpv4Address oLinked("127.0.0.1:8080");
        qce::cCoreExtensionMgr& oExtensions = qpi::system().coreExtensions();
        oExtensions.load(qucs::cString("qor_tcp"));
        qstd::tAutoPtr<qce::cNetAbstractAddress> pLoaded = oExtensions.createNetAddress("TcpIpv4");
        pLoaded->fromString("127.0.0.1:8080");
        if (!pLoaded->isEqual(oLinked)) {
            std::printf("package consumer: addresses differ\n");
            return 1;
        }
        qstd::tArray<char> oStream, oPayload;
        qremote::cFrameDecoder::appendFrame(oStream, "remote!!", 8);
        qremote::cFrameDecoder oDecoder;
        oDecoder.feed(oStream.data(), oStream.size());
        if (!oDecoder.next(oPayload) || oPayload.size() != 8 ||
            !qremote::cRemoteValue::create("piInt32").get()) {
            std::printf("package consumer: remote framing failed\n");
            return 1;
        }
    } catch (const qstd::cAbstractException& e) {
        qucs::cString sText;
        e.createMessage(sText, " / ", qstd::cAbstractException::WithHistory, nullptr);
        std::printf("package consumer: %s\n", sText.ascii('?').c_str());
        return 1;
    }
    qpi::cSystem::cleanup();
    std::printf("package consumer: ok\n");
    return 0;
}
