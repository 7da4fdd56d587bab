// array.cpp - pool arithmetic of tArray and the instantiations the library uses.
// SPDX-License-Identifier: MIT
#include "qor_core/std/array.h"

#include <cstdint>

namespace qstd {

void* tArrayPool::reallocate(void* pPool, unsigned iElements, unsigned iElementSize)
{
    if (iElements == 0) {
        std::free(pPool);
        return nullptr;
    }
    if (std::size_t(iElements) > SIZE_MAX / iElementSize)
        throw std::bad_alloc();
    void* pNew = std::realloc(pPool, std::size_t(iElements) * iElementSize);
    if (!pNew)
        throw std::bad_alloc();
    return pNew;
}

unsigned tArrayPool::grownReserve(unsigned iAllocated)
{
    std::uint64_t iGrown = std::uint64_t(iAllocated) + iAllocated / 2;
    return iGrown > 0xffffffffu ? 0xffffffffu : unsigned(iGrown);
}

void tArrayPool::throwLengthOverflow(const char* pContainer, const char* pOperation)
{
    cSTDExceptions::throwOutOfBounds(pContainer, pOperation);
}

template class tArray<char>;
template class tArray<unsigned short>;
template class tArray<unsigned int>;
template class tArray<char, tArrayAsciiStringTraits<char>>;

} // namespace qstd
