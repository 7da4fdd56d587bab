// path_fuzzer.cpp - parses arbitrary text as a path (qio::cPath, setPath, fixupPath)
// and checks the portable form: a slash at the end, no backslash, no "." or ".."
// component except the leading "./" or "../" of a relative path, never ".." in an
// absolute one, and normalising a second time changes nothing.
#include "qor_core/io/path.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool bCondition)
{
    if (!bCondition)
        std::abort();
}

void checkPortable(const qucs::cString& s, bool bNormalised)
{
    check(!s.empty() && s[s.length() - 1] == '/');
    for (unsigned i = 0; i < s.length(); ++i)
        check(s[i] != '\\');
    if (!bNormalised)
        return;
    const bool bAbsolute = s[0] == '/';
    bool bLeading = true; // still within the leading "./" or "../" run
    unsigned iStart = bAbsolute ? 1 : 0;
    for (unsigned i = iStart; i < s.length(); ++i) {
        if (s[i] != '/')
            continue;
        unsigned iLength = i - iStart;
        check(iLength != 0); // no doubled slash
        bool bDot = iLength == 1 && s[iStart] == '.';
        bool bDotDot = iLength == 2 && s[iStart] == '.' && s[iStart + 1] == '.';
        if (bAbsolute)
            check(!bDot && !bDotDot);
        else if (bDot)
            check(iStart == 0);
        else if (bDotDot)
            check(bLeading);
        if (!bDot && !bDotDot)
            bLeading = false;
        iStart = i + 1;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t iSize)
{
    if (iSize > 4096)
        return 0;
    qucs::cString sInput;
    for (std::size_t i = 0; i < iSize; ++i)
        sInput += unsigned(pData[i]);

    qio::cPath oRaw(sInput, false);
    checkPortable(oRaw.unixEquivalent(), false);

    qio::cPath oPath(sInput, true);
    const qucs::cString& s = oPath.unixEquivalent();
    checkPortable(s, true);
    qucs::cString sAgain(s);
    bool bClimbed = false;
    qio::fixupPath(sAgain, bClimbed);
    check(sAgain == s);
    qio::cPath oLater(oRaw);
    oLater.fixup();
    check(oLater.unixEquivalent() == s);

    // Joining with a relative path keeps an absolute base at or below its root.
    qio::cPath oBase("/base/", true);
    qio::cPath oJoined(oRaw);
    oJoined.makeAbsolute(oBase);
    if (oRaw.isRelative())
        checkPortable(oJoined.unixEquivalent(), true);
    oPath.getParts(2);
    oPath.getPart(1);
    qio::cPath::pathComponentLength(sInput);
    return 0;
}
