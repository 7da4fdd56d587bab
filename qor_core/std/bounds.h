// bounds.h - the range checks shared by all containers.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_BOUNDS_H
#define QOR_CORE_STD_BOUNDS_H

#include "qor_core/std/stdexceptions.h"

namespace qstd {

/// Range checks used by every container. Each takes the element count of the
/// container, the checked positions, and the container and operation names that
/// the thrown exception carries. The minimum of every range is 0.
class QOR_EXPORT tBounds
{
public:
    /// Throws the index message when iIndex >= iCount (max = iCount - 1, or 0 when empty).
    static void checkIndex(unsigned iCount, unsigned iIndex, const char* pContainer,
                           const char* pOperation)
    {
        if (iIndex >= iCount)
            throwIndex(iCount, iIndex, pContainer, pOperation);
    }

    /// Checks the range [iStart, iStart + iSize) against iCount and returns its end.
    static unsigned startSize2End(unsigned iCount, unsigned iStart, unsigned iSize,
                                  const char* pContainer, const char* pOperation)
    {
        unsigned iEnd = iStart + iSize;
        if (iEnd < iStart || iStart > iCount || iEnd > iCount)
            throwStartSize(iCount, iStart, iSize, pContainer, pOperation);
        return iEnd;
    }

    /// Checks the half-open range [iStart, iEnd) against iCount and returns its size.
    /// An empty range starting at the end (iStart == iEnd == iCount) is rejected.
    static unsigned startEnd2Size(unsigned iCount, unsigned iStart, unsigned iEnd,
                                  const char* pContainer, const char* pOperation)
    {
        if (iEnd < iStart || iEnd > iCount || iStart >= iCount)
            throwStartEnd(iCount, iStart, iEnd, pContainer, pOperation);
        return iEnd - iStart;
    }

    /// The maximum index of a container of iCount elements: iCount - 1, 0 when empty.
    static unsigned maxIndex(unsigned iCount) { return iCount ? iCount - 1 : 0; }

    [[noreturn]] static void throwIndex(unsigned iCount, unsigned iIndex, const char* pContainer,
                                        const char* pOperation);
    [[noreturn]] static void throwStartSize(unsigned iCount, unsigned iStart, unsigned iSize,
                                            const char* pContainer, const char* pOperation);
    [[noreturn]] static void throwStartEnd(unsigned iCount, unsigned iStart, unsigned iEnd,
                                           const char* pContainer, const char* pOperation);
};

} // namespace qstd

#endif // QOR_CORE_STD_BOUNDS_H
