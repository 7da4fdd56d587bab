// arraysearch.h - search and comparison over plain element runs, shared by the
// array and its windows.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_ARRAYSEARCH_H
#define QOR_CORE_STD_ARRAYSEARCH_H

#include "qor_core/std/bounds.h"

#include <cstring>

namespace qstd {

/// Algorithms on a run of plain values given as pointer and length. Characters
/// compare as unsigned bytes, as memcmp does.
template <class T> class tArraySearch
{
public:
    static int compare(const T* pA, const T* pB, unsigned iCount)
    {
        if (sizeof(T) == 1)
            return iCount ? std::memcmp(pA, pB, iCount) : 0;
        for (unsigned i = 0; i < iCount; ++i) {
            if (pA[i] < pB[i])
                return -1;
            if (pB[i] < pA[i])
                return 1;
        }
        return 0;
    }

    /// Lexicographic comparison over the shorter length, then by length: -1, 0 or 1.
    static int relation(const T* pA, unsigned iLengthA, const T* pB, unsigned iLengthB)
    {
        unsigned iShorter = iLengthA < iLengthB ? iLengthA : iLengthB;
        int iResult = compare(pA, pB, iShorter);
        if (iResult != 0)
            return iResult < 0 ? -1 : 1;
        return iLengthA < iLengthB ? -1 : (iLengthA > iLengthB ? 1 : 0);
    }

    /// Length of a zero-terminated run, the terminator not counted.
    static unsigned terminatedLength(const T* p)
    {
        if (sizeof(T) == 1)
            return unsigned(std::strlen(reinterpret_cast<const char*>(p)));
        unsigned i = 0;
        while (!(p[i] == T(0)))
            ++i;
        return i;
    }

    static bool equal(const T* pA, const T* pB, unsigned iCount)
    {
        return compare(pA, pB, iCount) == 0;
    }

    /// Searches pNeedle in [iStart, iStart + iCount) of the run; iCount 0, or a count
    /// reaching past the end, means up to the end. Returns the index of the first
    /// match; bFound tells whether there was one. An empty needle returns iStart, not found.
    static unsigned find(const T* pData, unsigned iLength, const T* pNeedle, unsigned iNeedleLength,
                         bool& bFound, unsigned iStart, unsigned iCount, const char* pContainer)
    {
        bFound = false;
        if (iCount == 0 || iStart > iLength || iCount > iLength - iStart)
            iCount = iStart <= iLength ? iLength - iStart : 0;
        unsigned iEnd = tBounds::startSize2End(iLength, iStart, iCount, pContainer, "find");
        if (iNeedleLength == 0 || iNeedleLength > iEnd - iStart)
            return iStart;
        if (iNeedleLength == 1)
            return findOne(pData, iStart, iEnd, *pNeedle, bFound);
        unsigned iLast = iEnd - iNeedleLength;
        for (unsigned i = iStart; i <= iLast; ++i) {
            i = findOne(pData, i, iLast + 1, *pNeedle, bFound);
            if (!bFound)
                break;
            if (equal(pData + i + 1, pNeedle + 1, iNeedleLength - 1))
                return i;
            bFound = false;
        }
        return iStart;
    }

private:
    static unsigned findOne(const T* pData, unsigned iStart, unsigned iEnd, const T& oValue,
                            bool& bFound)
    {
        if (sizeof(T) == 1) {
            const void* pHit = std::memchr(
                pData + iStart, *reinterpret_cast<const unsigned char*>(&oValue), iEnd - iStart);
            bFound = pHit != nullptr;
            return bFound ? unsigned(static_cast<const T*>(pHit) - pData) : iStart;
        }
        for (unsigned i = iStart; i < iEnd; ++i) {
            if (pData[i] == oValue) {
                bFound = true;
                return i;
            }
        }
        bFound = false;
        return iStart;
    }
};

} // namespace qstd

#endif // QOR_CORE_STD_ARRAYSEARCH_H
