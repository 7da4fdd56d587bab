// lilocale.cpp - cLILocale, its links and its translation-file reader.
// SPDX-License-Identifier: MIT
#include "qor_core/ucs/lilocale.h"
#include "qor_core/io/path.h"
#include "qor_core/std/exception.h"
#include "qor_core/std/stdexceptions.h"
#include "qor_core/ucs/endecutf8.h"
#include "qor_core/ucs/trfilereader_p.h"
#include "qor_core/ucs/ucsexceptions.h"

namespace qucs {

namespace {

/// Files a translation file may open during one load, itself included.
const unsigned kMaxFiles = 10;

/// Reads translation files into a locale, following includes up to the file limit
/// shared by every file of one load.
class cLocaleFileReader : public cTrFileReader
{
public:
    /// The statements fill oTable, sName and sFlag.
    cLocaleFileReader(cLITrTable& oTable, cString& sName, cString& sFlag,
                      const qstd::tArray<char>& oText, const cString& sFileName, unsigned& iFiles)
        : cTrFileReader(oText, Full), moTable(oTable), msName(sName), msFlag(sFlag), miFiles(iFiles)
    {
        cString sDir;
        qio::cPath::storePathComponent(sFileName, sDir);
        moDir.set(sDir);
    }

    /// Reads one file (step of a load), counting it against the limit.
    static void readFile(cLITrTable& oTable, cString& sName, cString& sFlag,
                         const cString& sFileName, unsigned& iFiles);

protected:
    [[noreturn]] void fail(const char* pMessage) override
    {
        qstd::cRuntimeException oError(cLIMessage::fromTemplate(pMessage), nullptr, 0);
        throw oError;
    }
    void onTranslation(const qstd::cAsciiString& sKey, const cString& sValue) override
    {
        moTable.addTranslation(sKey, sValue);
    }
    void onName(const cString& sValue) override { msName = sValue; }
    void onFlag(const cString& sValue) override { msFlag = moDir.path() + sValue; }
    void onInclude(const cString& sValue) override
    {
        readFile(moTable, msName, msFlag, moDir.relativeTo(sValue), miFiles);
    }
    cString readValueFile(const cString& sFileName) override
    {
        qstd::tArray<char> oData = cTrFileReader::readWholeFile(moDir.relativeTo(sFileName));
        cString sText;
        cEnDecUTF8().decode(qstd::tConstArrayRef<char>(oData), sText);
        return sText;
    }

private:
    cLITrTable& moTable;
    cString& msName;
    cString& msFlag;
    qio::cPath moDir;
    unsigned& miFiles;
};

} // namespace

// --- cLocaleLink -----------------------------------------------------------

cLILocale::cLocaleLink::cLocaleLink(cLILocale& oParent, cLILocale& oChild)
    : mpParent(&oParent), mpChild(&oChild)
{
    oParent.moChildLinks.append(this);
    try {
        oParent.sigChanged.connect(*this, &cLocaleLink::sltParentChanged);
    } catch (...) {
        oParent.moChildLinks.remove(this);
        throw;
    }
}

cLILocale::cLocaleLink::~cLocaleLink()
{
    mpParent->moChildLinks.remove(this);
    // The connection goes with the cConnectable base.
}

piVoid cLILocale::cLocaleLink::sltParentChanged()
{
    mpChild->sigChanged();
    return piVoid();
}

// --- cLILocale -------------------------------------------------------------

cLILocale::cLILocale(const char* pDebugName)
    : sigChanged(qrmi::cAbstractSignal::IgnoreWhenUnconnected), msDebugName(pDebugName)
{
}

cLILocale::~cLILocale()
{
    // Children fall back to nothing from now on; they must not keep a dead parent.
    while (moChildLinks.count() != 0) {
        cLocaleLink* pLink = moChildLinks.first();
        pLink->child().mpLink.reset(); // removes itself from moChildLinks
    }
    mpLink.reset();
}

cLILocale* cLILocale::parent() const
{
    return mpLink.get() ? &mpLink->parent() : nullptr;
}

void cLILocale::link(cLILocale* pParent)
{
    for (cLILocale* p = pParent; p; p = p->parent())
        if (p == this)
            qstd::cSTDExceptions::throwUnsupportedOperation(
                "cLILocale::link to a locale whose chain leads back to this one");
    qstd::tAutoPtr<cLocaleLink> pNew;
    if (pParent)
        pNew.reset(new cLocaleLink(*pParent, *this));
    mpLink.reset();
    mpLink = pNew;
    sigChanged();
}

bool cLILocale::translate(const cLIMessage& oMessage, cString& sResult,
                          const cLILocale* pOrigin) const
{
    // Walk the chain without recursion; the first table that knows the key renders.
    // Without a translation anywhere, the last locale of the chain reports it, naming
    // the locale first asked.
    const qstd::cAsciiString& sKey = oMessage.key();
    const piUInt32 iHash = cLITrItem::keyHash(sKey);
    const cLILocale* pLast = this;
    for (const cLILocale* p = this; p; p = p->parent()) {
        if (const cLITrItem* pItem = p->moTranslator.hasTranslation(sKey, iHash)) {
            oMessage.translate(pItem->translation(), sResult);
            return true;
        }
        pLast = p;
    }
    oMessage.untranslated(sResult);
    if (tMissingSignal* pSignal = pLast->mpSigMissing.get())
        (*pSignal)(pOrigin ? *pOrigin : *this, oMessage);
    return false;
}

cString cLILocale::translate(const cLIMessage& oMessage) const
{
    cString sResult;
    translate(oMessage, sResult);
    return sResult;
}

cString cLILocale::translate(const qstd::cAsciiString& sKey) const
{
    cString sResult;
    translate(sKey, sResult, nullptr);
    return sResult;
}

bool cLILocale::translate(const qstd::cAsciiString& sKey, cString& sResult,
                          const cLILocale* pOrigin) const
{
    cLIMessage oMessage;
    oMessage << sKey;
    return translate(oMessage, sResult, pOrigin);
}

cLILocale::tMissingSignal& cLILocale::sigTranslationMissing()
{
    if (!mpSigMissing.get())
        mpSigMissing.reset(new tMissingSignal(qrmi::cAbstractSignal::IgnoreWhenUnconnected));
    return *mpSigMissing;
}

void cLILocale::clear()
{
    msName.clear();
    msFlag.clear();
    moTranslator.clear();
    msFileName.clear();
    sigChanged();
}

void cLILocale::swapContents(cLILocale& oOther)
{
    msName.swap(oOther.msName);
    msFlag.swap(oOther.msFlag);
    moTranslator.swap(oOther.moTranslator);
    msFileName.swap(oOther.msFileName);
}

void cLILocale::swap(cLILocale& oOther)
{
    if (&oOther == this)
        return;
    swapContents(oOther);
    sigChanged();
    oOther.sigChanged();
}

void cLocaleFileReader::readFile(cLITrTable& oTable, cString& sName, cString& sFlag,
                                 const cString& sFileName, unsigned& iFiles)
{
    if (++iFiles > kMaxFiles) {
        qstd::cRuntimeException oError(
            cLIMessage::fromTemplate("$MTR$Maximum include depth exceeded!"), nullptr, 0);
        throw oError;
    }
    qstd::tArray<char> oData;
    try {
        oData = cTrFileReader::readWholeFile(sFileName);
        // The whole text must be UTF-8, comments included.
        cString sCheck;
        cEnDecUTF8().decode(qstd::tConstArrayRef<char>(oData), sCheck);
    } catch (const qstd::cAbstractException& e) {
        cUCSExceptions::throwUnableToReadTranslationFile(e, sFileName);
    }
    cLocaleFileReader oReader(oTable, sName, sFlag, oData, sFileName, iFiles);
    try {
        oReader.read();
    } catch (const qstd::cAbstractException& e) {
        cUCSExceptions::throwUnableToParseTranslationFile(e, sFileName, oReader.line());
    }
}

void cLILocale::loadFromFile(const cString& sFileName)
{
    cLILocale oLoaded(msDebugName.c_str());
    oLoaded.link(parent());
    unsigned iFiles = 0;
    cLocaleFileReader::readFile(oLoaded.moTranslator, oLoaded.msName, oLoaded.msFlag, sFileName,
                                iFiles);
    swapContents(oLoaded);
    msFileName = sFileName;
    sigChanged();
}

} // namespace qucs
