// debugstderr.cpp - qpi::cDebugStdErr and cDebugLevel.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/debugstderr.h"
#include "qor_core/pi/system.h"
#include "qor_core/std/tokenizer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qpi {

cDebugStdErr::cDebugStdErr()
{
    const char* pFilter = std::getenv("PIDBG_FILTER");
    if (!pFilter)
        return;
    qstd::cAsciiStringTokenizerContext oContext;
    oContext.addSeparator(" ");
    qstd::cAsciiString sFilter(pFilter); // the tokenizer reads the text in place
    qstd::cAsciiStringTokenizer oTokenizer(sFilter, oContext);
    qstd::cAsciiString sWord;
    unsigned iId = 0;
    while (oTokenizer.getNextToken(sWord, iId))
        moFilterWords.append(sWord);
}

cDebugStdErr::~cDebugStdErr() {}

bool cDebugStdErr::filtered(const char* pFileName) const
{
    for (unsigned i = 0; i < moFilterWords.count(); ++i) {
        const qstd::cAsciiString& sWord = moFilterWords[i];
        if (!sWord.empty() && std::strstr(pFileName, sWord.c_str()))
            return true;
    }
    return false;
}

void cDebugStdErr::printChar(char cChar)
{
    if (cChar != '\n') {
        msLine += cChar;
        return;
    }
    if (indentionLevel() != 0) {
        qstd::cAsciiString sIndent;
        sIndent.leftAdjust(2 * indentionLevel(), ' ');
        msLine.insert(0, sIndent.c_str(), sIndent.length());
    }
    if (const char* pFile = debugFileName()) {
        if (filtered(pFile)) {
            msLine.setSize(0);
            return;
        }
        const char* pBase = pFile;
        for (const char* p = pFile; *p; ++p)
            if (*p == '/' || *p == '\\' || *p == ':')
                pBase = p + 1;
        qstd::cAsciiString sPrefix(pBase);
        sPrefix += ':';
        sPrefix.addUNum32(debugFileLine());
        sPrefix += ": ";
        msLine.insert(0, sPrefix.c_str(), sPrefix.length());
    }
    std::fprintf(stderr, "%s\n", msLine.c_str());
    msLine.setSize(0);
}

void cDebugStdErr::flush()
{
    std::fprintf(stderr, "%s", msLine.c_str());
    msLine.setSize(0);
    std::fflush(stderr);
}

cDebugLevel::cDebugLevel()
{
    system().debugOut() << cAbstractOut::indent();
}

cDebugLevel::~cDebugLevel()
{
    system().debugOut() << cAbstractOut::unindent();
}

} // namespace qpi
