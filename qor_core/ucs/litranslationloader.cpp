// litranslationloader.cpp - cLITranslationLoader.
// SPDX-License-Identifier: MIT
#include "qor_core/ucs/litranslationloader.h"
#include "qor_core/std/pair.h"
#include "qor_core/std/stdexceptions.h"
#include "qor_core/ucs/trfilereader_p.h"

namespace qucs {

namespace {

typedef qstd::tList<qstd::tPair<qstd::cAsciiString, cString>> tPairs;

/// Collects the pairs of a plain file; errors become text-parse exceptions.
class cPlainReader : public cTrFileReader
{
public:
    cPlainReader(const qstd::tArray<char>& oText, const cString& sFileName, tPairs& oPairs)
        : cTrFileReader(oText, Plain), msFileName(sFileName), moPairs(oPairs)
    {
    }

protected:
    [[noreturn]] void fail(const char* pMessage) override
    {
        qstd::cSTDExceptions::throwTextParseError(cLIMessage::fromTemplate(pMessage), "tr",
                                                  msFileName, line(), column());
    }
    void onTranslation(const qstd::cAsciiString& sKey, const cString& sValue) override
    {
        moPairs.append(qstd::tPair<qstd::cAsciiString, cString>(sKey, sValue));
    }

private:
    const cString& msFileName;
    tPairs& moPairs;
};

/// Reads the whole file and its pairs.
void readPairs(const cString& sFileName, tPairs& oPairs)
{
    qstd::tArray<char> oData = cTrFileReader::readWholeFile(sFileName);
    cPlainReader(oData, sFileName, oPairs).read();
}

} // namespace

void cLITranslationLoader::loadFile(const cString& sFileName, cLITrTable& oTable)
{
    cLITrTable oLoaded;
    patchFromFile(sFileName, oLoaded);
    oTable.swap(oLoaded);
}

void cLITranslationLoader::patchFromFile(const cString& sFileName, cLITrTable& oTable)
{
    // The whole file is read before the table changes.
    tPairs oPairs;
    readPairs(sFileName, oPairs);
    for (tPairs::const_iterator it = oPairs.begin(); it != oPairs.end(); ++it)
        oTable.addTranslation(it->first, it->second);
}

} // namespace qucs
