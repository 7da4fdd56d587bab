// trfilereader.cpp - cTrFileReader.
// SPDX-License-Identifier: MIT
#include "qor_core/ucs/trfilereader_p.h"
#include "qor_core/io/file.h"
#include "qor_core/io/fileinfo.h"
#include "qor_core/io/fs.h"
#include "qor_core/pi/system.h"
#include "qor_core/std/exception.h"
#include "qor_core/ucs/endecutf8.h"

#include <cstring>

namespace qucs {

cTrFileReader::cTrFileReader(const qstd::tArray<char>& oText, Grammar eGrammar)
    : moText(oText), meGrammar(eGrammar)
{
    // No two specials begin with the same byte, so their order decides nothing but
    // speed: the tokenizer's first search is unbounded and bounds the later ones, so
    // the byte found on every line comes first.
    static const char* const kSeparators[] = {"\n", " ", "\r", "\t", ";"};
    for (const char* pSeparator : kSeparators)
        moContext.addSeparator(pSeparator);
    moContext.addKey("\"", kQuote);
    moContext.addKey("=", kEquals);
    moContext.addKey("//", kComment);
    if (eGrammar == Full) {
        moContext.addKey("Name", kName);
        moContext.addKey("include", kInclude);
        moContext.addKey("Flag", kFlag);
        moContext.addKey("(", kOpen);
        moContext.addKey(")", kClose);
    }
    moTokenizer.set(tToken(moText));
    moTokenizer.setContext(moContext);
    // A byte order mark is no part of the text.
    if (moText.length() >= 3 && std::memcmp(moText.data(), "\xEF\xBB\xBF", 3) == 0)
        moTokenizer.setPos(3);
}

cTrFileReader::~cTrFileReader() {}

qstd::tArray<char> cTrFileReader::readWholeFile(const cString& sFileName)
{
    const qio::cFs& oFs = qpi::system().fs();
    // Asked before opening: opening a FIFO for reading already blocks.
    if (oFs.exists(sFileName) && oFs.fileInfo(sFileName).type() != qio::cFileInfo::RegularFile) {
        cLIMessage oMessage;
        oMessage << "$MTR$\"%file%\" is not a regular file!" << sFileName;
        throw qstd::cRuntimeException(oMessage, nullptr, 0);
    }
    qio::cFile oFile = oFs.fileOpenRead(sFileName);
    qstd::tArray<char> oData;
    char aBuffer[16384];
    for (;;) {
        // The limit holds while reading, for a file that grows or was replaced.
        unsigned long long iRead = oFile.read(aBuffer, sizeof aBuffer);
        if (iRead == 0)
            break;
        if (iRead > kMaxFileSize - oData.length()) {
            cLIMessage oMessage;
            oMessage << "$MTR$\"%file%\" is larger than %max% bytes!" << sFileName << kMaxFileSize;
            throw qstd::cRuntimeException(oMessage, nullptr, 0);
        }
        oData.append(aBuffer, unsigned(iRead));
    }
    return oData;
}

unsigned cTrFileReader::line() const
{
    const unsigned iLength = moText.length();
    const unsigned iEnd = moTokenizer.pos() < iLength ? moTokenizer.pos() : iLength;
    const char* p = moText.data();
    unsigned iLine = 1;
    for (unsigned i = 0; i < iEnd; ++i)
        if (p[i] == '\n' || (p[i] == '\r' && (i + 1 >= iLength || p[i + 1] != '\n')))
            ++iLine;
    return iLine;
}

unsigned cTrFileReader::column() const
{
    const unsigned iLength = moText.length();
    const unsigned iEnd = moTokenizer.pos() < iLength ? moTokenizer.pos() : iLength;
    const char* p = moText.data();
    unsigned iStart = iEnd;
    while (iStart > 0 && p[iStart - 1] != '\n' && p[iStart - 1] != '\r')
        --iStart;
    // Code points, not bytes: continuation bytes do not count.
    unsigned iColumn = 1;
    for (unsigned i = iStart; i < iEnd; ++i)
        if ((static_cast<unsigned char>(p[i]) & 0xC0) != 0x80)
            ++iColumn;
    return iColumn;
}

bool cTrFileReader::next(tToken& oToken, unsigned& iId)
{
    iId = kText;
    return moTokenizer.getNext(oToken, &iId);
}

void cTrFileReader::expect(unsigned iId, const char* pMessage)
{
    tToken oToken;
    unsigned iFound = kText;
    if (!next(oToken, iFound) || iFound != iId)
        fail(pMessage);
}

void cTrFileReader::skipComment()
{
    const char* p = moText.data();
    unsigned i = moTokenizer.pos();
    while (i < moText.length() && p[i] != '\r' && p[i] != '\n')
        ++i;
    moTokenizer.setPos(i);
}

cString cTrFileReader::quotedBody()
{
    const char* p = moText.data();
    const unsigned iLength = moText.length();
    qstd::tArray<char> oBytes;
    unsigned i = moTokenizer.pos();
    while (i < iLength && p[i] != '"') {
        if (p[i] == '\\' && i + 1 < iLength)
            ++i;
        oBytes.append(p[i]);
        ++i;
    }
    if (i >= iLength)
        fail("$MTR$\" expected!");
    moTokenizer.setPos(i + 1);
    cString sResult;
    cEnDecUTF8().decode(qstd::tConstArrayRef<char>(oBytes), sResult);
    return sResult;
}

cString cTrFileReader::value()
{
    tToken oToken;
    unsigned iId = kText;
    if (!next(oToken, iId))
        fail("$MTR$\" expected!");
    if (iId == kQuote)
        return quotedBody();
    if (meGrammar != Full || iId != kText || oToken.length() != 8 ||
        std::memcmp(oToken.constData(), "fromFile", 8) != 0)
        fail("$MTR$\" expected!");
    expect(kOpen, "$MTR$\"(\" expected!");
    expect(kQuote, "$MTR$\" expected!");
    cString sFileName = quotedBody();
    if (sFileName.empty())
        fail("$MTR$Filename expected!");
    expect(kClose, "$MTR$\")\" expected!");
    return readValueFile(sFileName);
}

cString cTrFileReader::readValueFile(const cString&)
{
    fail("$MTR$\" expected!");
    return cString(); // not reached
}

void cTrFileReader::read()
{
    tToken oToken;
    unsigned iId = kText;
    while (next(oToken, iId)) {
        switch (iId) {
        case kQuote: {
            cString sKey = quotedBody();
            expect(kEquals, "$MTR$\"=\" expected!");
            cString sValue = value();
            onTranslation(sKey.ascii('?'), sValue);
            break;
        }
        case kComment:
            skipComment();
            break;
        case kName:
            expect(kEquals, "$MTR$\"=\" expected!");
            onName(value());
            break;
        case kFlag:
            expect(kEquals, "$MTR$\"=\" expected!");
            onFlag(value());
            break;
        case kInclude:
            onInclude(value());
            break;
        default:
            break; // words and stray keys begin no statement
        }
    }
}

} // namespace qucs
