// translations.cpp - renders an exception chain untranslated, then loads a German
// translation file into the system locale and renders the same chain again.
// SPDX-License-Identifier: MIT
#include "qor_core/qor_core.h"

#include <cstdio>

namespace {

void printLine(const qucs::cString& sText)
{
    qstd::tArray<char> oBytes;
    qucs::cEnDecUTF8().encodeCString(sText, oBytes);
    std::printf("%s\n", oBytes.data());
}

/// A setting that is out of range, reported with the range check as its cause.
qstd::cRuntimeException settingError()
{
    qstd::cOutOfRangeException oCause("config", "port", qstd::cSTDExceptions::Value, 70000, 1,
                                      65535);
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Cannot read the setting \"%key%\" from \"%file%\" (line %line%)!"
         << qstd::cAsciiString("port") << qucs::cString("/etc/demo.conf") << 12;
    qstd::cRuntimeException oError(oMsg, __FILE__, __LINE__);
    oError.link(oCause);
    return oError;
}

void printChain(const qstd::cAbstractException& e, const qucs::cLILocale* pLocale)
{
    qucs::cString sChain;
    e.createMessage(sChain, qucs::cString("\n  caused by: "), qstd::cAbstractException::WithHistory,
                    pLocale);
    printLine(sChain);
}

} // namespace

int main(int iArgs, char** ppArgs)
{
    const char* pFile = iArgs > 1 ? ppArgs[1] : QOR_EXAMPLE_TRANSLATION;
    qucs::cLILocale& oLocale = qpi::system().locale();
    qstd::cRuntimeException oError = settingError();

    std::printf("untranslated:\n");
    printChain(oError, nullptr);

    try {
        oLocale.loadFromFile(qucs::cString(pFile));
    } catch (const qstd::cAbstractException& e) {
        printChain(e, &oLocale);
        return 1;
    }
    std::printf("\nin ");
    printLine(oLocale.name());
    printChain(oError, &oLocale);

    // A failure of the locale itself is rendered through the locale as well.
    try {
        qucs::cLILocale().loadFromFile(qucs::cString("no-such-file.tr"));
    } catch (const qstd::cAbstractException& e) {
        printChain(e, &oLocale);
    }
    return 0;
}
