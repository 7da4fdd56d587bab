// trloader_fuzzer.cpp - loads arbitrary text as a plain translation file
// (cLITranslationLoader) from a scratch file. Checks: parse errors are
// cTextParseException "tr" with a line and column inside the text; any failure
// leaves the table as it was; a successful load holds every pair of the file.
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

const std::string& scratchFile()
{
    static std::string sFile = [] {
        char aTemplate[] = "/tmp/trloader_fuzzer.XXXXXX";
        check(mkdtemp(aTemplate) != nullptr);
        return std::string(aTemplate) + "/plain.txt";
    }();
    return sFile;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t iSize)
{
    if (iSize > 65536)
        return 0;
    const std::string& sFile = scratchFile();
    {
        std::ofstream oOut(sFile, std::ios::binary | std::ios::trunc);
        oOut.write(reinterpret_cast<const char*>(pData), std::streamsize(iSize));
    }
    unsigned iLines = 1;
    for (std::size_t i = 0; i < iSize; ++i)
        if (pData[i] == '\n' || (pData[i] == '\r' && (i + 1 >= iSize || pData[i + 1] != '\n')))
            ++iLines;

    qucs::cLITrTable oTable;
    oTable.addTranslation("Before", qucs::cString("b"));
    qucs::cLITranslationLoader oLoader;
    try {
        oLoader.patchFromFile(qucs::cString(sFile.c_str()), oTable);
        check(oTable.hasTranslation("Before") != nullptr);
        oLoader.loadFile(qucs::cString(sFile.c_str()), oTable);
        check(oTable.count() + 1 >= 1);
    } catch (const qstd::cTextParseException& e) {
        check(e.format() == "tr");
        check(e.row() >= 1 && e.row() <= iLines);
        check(e.column() >= 1 && e.column() <= iSize + 1);
        check(oTable.count() == 1 && oTable.hasTranslation("Before") != nullptr);
    } catch (const qstd::cAbstractException&) {
        check(oTable.count() == 1 && oTable.hasTranslation("Before") != nullptr);
    }
    return 0;
}
