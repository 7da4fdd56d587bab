// main.cpp - a small host application: it builds translatable messages, raises an
// exception with its cause linked beneath, and prints the chain.
// SPDX-License-Identifier: MIT
#include "qor_core/qor_core.h"

#include <cstdio>

namespace {

/// Writes a Unicode string to standard output as UTF-8.
void printLine(const qucs::cString& sText)
{
    qstd::tArray<char> oBytes;
    qucs::cEnDecUTF8().encodeCString(sText, oBytes);
    std::printf("%s\n", oBytes.data());
}

/// Reads a configuration value; fails like a real parser would.
unsigned parsePort(const qstd::cAsciiString& sText)
{
    try {
        long long iPort = sText.toInt();
        if (iPort < 1 || iPort > 65535)
            throw qstd::cOutOfRangeException("config", "port", qstd::cSTDExceptions::Value, iPort,
                                             1, 65535);
        return unsigned(iPort);
    } catch (const qstd::cAbstractException& oCause) {
        qucs::cLIMessage oMsg;
        oMsg << "$MTR$Cannot read the setting \"%key%\" from \"%file%\" (line %line%)!"
             << qstd::cAsciiString("port") << qucs::cString(L"/etc/d\u00e9mo.conf") << 12;
        qstd::cRuntimeException oError(oMsg, __FILE__, __LINE__);
        oError.link(oCause);
        throw oError;
    }
}

} // namespace

int main()
{
    qucs::cLIMessage oGreeting;
    oGreeting << "$MTR$%user% has %count% new messages (%percent%\\% of the quota)."
              << qstd::cAsciiString("anna") << 3 << 12.5;
    qucs::cString sText;
    oGreeting.untranslated(sText);
    printLine(sText);

    std::printf("port 8080 -> %u\n", parsePort("8080"));
    const char* pBadValues[] = {"80a", "70000"};
    for (const char* pValue : pBadValues) {
        try {
            parsePort(pValue);
        } catch (const qstd::cAbstractException& e) {
            qucs::cString sChain;
            e.createMessage(sChain, qucs::cString("\n  caused by: "),
                            qstd::cAbstractException::WithHistory, nullptr);
            printLine(sChain);
        }
    }
    return 0;
}
