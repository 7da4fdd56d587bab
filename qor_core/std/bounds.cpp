// bounds.cpp - the failure paths of the container range checks.
// SPDX-License-Identifier: MIT
#include "qor_core/std/bounds.h"

namespace qstd {

void tBounds::throwIndex(unsigned iCount, unsigned iIndex, const char* pContainer,
                         const char* pOperation)
{
    cSTDExceptions::throwOutOfRange(pContainer, pOperation, cSTDExceptions::Index, iIndex, 0,
                                    maxIndex(iCount));
}

void tBounds::throwStartSize(unsigned iCount, unsigned iStart, unsigned iSize,
                             const char* pContainer, const char* pOperation)
{
    if (iStart + iSize < iStart)
        cSTDExceptions::throwOutOfBounds(pContainer, pOperation);
    if (iStart > iCount)
        throwIndex(iCount, iStart, pContainer, pOperation);
    cSTDExceptions::throwOutOfRange(pContainer, pOperation, cSTDExceptions::Size, iSize, 0,
                                    iCount - iStart);
}

void tBounds::throwStartEnd(unsigned iCount, unsigned iStart, unsigned iEnd, const char* pContainer,
                            const char* pOperation)
{
    if (iEnd < iStart)
        cSTDExceptions::throwOutOfBounds(pContainer, pOperation);
    if (iEnd > iCount)
        cSTDExceptions::throwOutOfRange(pContainer, pOperation, cSTDExceptions::EndValue, iEnd, 0,
                                        iCount);
    throwIndex(iCount, iStart, pContainer, pOperation);
}

} // namespace qstd
