// vector.cpp - pool arithmetic of tVector.
// SPDX-License-Identifier: MIT
#include "qor_core/std/vector.h"

#include <cstdint>
#include <cstdlib>
#include <new>

namespace qstd {

unsigned tVectorPool::getRequiredPoolSize(unsigned iSize, unsigned iStep)
{
    if (iStep == 0)
        iStep = 1;
    std::uint64_t iRequired = std::uint64_t(iStep) * (iSize / iStep);
    if (iRequired == 0)
        iRequired = iStep;
    if (iRequired < iSize)
        iRequired += iStep;
    return iRequired > 0xffffffffu ? iSize : unsigned(iRequired);
}

void** tVectorPool::reallocate(void** pPool, unsigned iCount)
{
    if (iCount == 0) {
        std::free(pPool);
        return nullptr;
    }
    if (std::size_t(iCount) > SIZE_MAX / sizeof(void*))
        throw std::bad_alloc();
    void* pNew = std::realloc(pPool, std::size_t(iCount) * sizeof(void*));
    if (!pNew)
        throw std::bad_alloc();
    return static_cast<void**>(pNew);
}

void tVectorPool::throwLengthOverflow(const char* pOperation)
{
    cSTDExceptions::throwOutOfBounds("tVector", pOperation);
}

} // namespace qstd
