// trfile_fuzzer.cpp - loads arbitrary text as a translation file into a locale
// (cLILocale::loadFromFile). The input is split at its first 0xFF byte into the
// main file "main.tr" and a second file "inc.tr" next to it, which the main file
// may include, read with fromFile or leave alone. Includes and fromFile may name
// any path: the reader refuses what is not a regular file and caps the size, and
// the load only reads. Checks: a load either succeeds or throws a library
// exception, and a failed load leaves the locale as it was.
#include "qor_core/qor_core.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

void check(bool bCondition)
{
    if (!bCondition)
        std::abort();
}

const std::string& scratchDir()
{
    static std::string sDir = [] {
        char aTemplate[] = "/tmp/trfile_fuzzer.XXXXXX";
        check(mkdtemp(aTemplate) != nullptr);
        return std::string(aTemplate);
    }();
    return sDir;
}

void writeFile(const std::string& sPath, const char* pData, std::size_t iSize)
{
    std::ofstream oOut(sPath, std::ios::binary | std::ios::trunc);
    oOut.write(pData, std::streamsize(iSize));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t iSize)
{
    if (iSize > 65536)
        return 0;
    const char* pText = reinterpret_cast<const char*>(pData);
    std::string sInput(pText, iSize);
    std::size_t iSplit = sInput.find('\xFF');
    const std::string& sDir = scratchDir();
    if (iSplit == std::string::npos) {
        writeFile(sDir + "/main.tr", pText, iSize);
        writeFile(sDir + "/inc.tr", "", 0);
    } else {
        writeFile(sDir + "/main.tr", pText, iSplit);
        writeFile(sDir + "/inc.tr", pText + iSplit + 1, iSize - iSplit - 1);
    }

    qucs::cLILocale oParent("parent");
    oParent.translator().addTranslation("P", qucs::cString("p"));
    qucs::cLILocale oLocale("fuzz");
    oLocale.link(&oParent);
    oLocale.translator().addTranslation("Before", qucs::cString("b"));
    try {
        oLocale.loadFromFile(qucs::cString((sDir + "/main.tr").c_str()));
        check(oLocale.translator().hasTranslation("Before") == nullptr ||
              sInput.find("Before") != std::string::npos);
        oLocale.translator().printStatistics();
    } catch (const qstd::cAbstractException& e) {
        check(oLocale.translator().count() == 1);
        check(oLocale.translator().hasTranslation("Before") != nullptr);
        check(oLocale.fileName().empty());
        qucs::cString sText;
        e.createMessage(sText, qucs::cString("\n"), qstd::cAbstractException::WithHistory,
                        &oLocale);
    }
    check(oLocale.parent() == &oParent);
    qucs::cLIMessage oMessage;
    oMessage << "$MTR$P %a% %b%" << 1 << 2;
    oLocale.translate(oMessage);
    return 0;
}
