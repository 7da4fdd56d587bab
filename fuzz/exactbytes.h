// exactbytes.h - input bytes in a heap block of exactly their size, seen through the
// array proxy interface, so that AddressSanitizer reports any read past the input
// (a tArray copy would have spare capacity behind its elements).
#ifndef QOR_FUZZ_EXACTBYTES_H
#define QOR_FUZZ_EXACTBYTES_H

#include "qor_core/std/arrayproxy.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace qorfuzz {

inline void check(bool bCondition)
{
    if (!bCondition)
        std::abort();
}

class cExactBytes : public qstd::tAbstractConstArrayProxy<char>
{
public:
    /// iSize bytes from pData followed by iZeros zero bytes.
    cExactBytes(const void* pData, std::size_t iSize, std::size_t iZeros = 0)
        : mpData(iSize + iZeros ? new char[iSize + iZeros] : nullptr),
          miLength(unsigned(iSize + iZeros))
    {
        if (iSize)
            std::memcpy(mpData, pData, iSize);
        if (iZeros)
            std::memset(mpData + iSize, 0, iZeros);
    }
    ~cExactBytes() override { delete[] mpData; }
    cExactBytes(const cExactBytes&) = delete;
    cExactBytes& operator=(const cExactBytes&) = delete;

    const char* data() const { return mpData; }
    unsigned length() const { return miLength; }

    const char& proxyAt(unsigned iIndex) const override
    {
        check(iIndex < miLength);
        return mpData[iIndex];
    }
    unsigned proxyLength() const override { return miLength; }
    void proxyCopyPartTo(char* pTarget, unsigned iStart, unsigned iCount) const override
    {
        std::memcpy(pTarget, proxyProvideData(iStart, iCount), iCount);
    }
    const char* proxyProvideData(unsigned iStart, unsigned iCount) const override
    {
        check(iStart <= miLength && iCount <= miLength - iStart);
        return mpData + iStart;
    }
    unsigned proxyPreferredBlockSize() const override { return 0; }
    const qstd::tAbstractConstArrayProxy<char>* constProxyPhysical(unsigned& iOffset) const override
    {
        iOffset = 0;
        return this;
    }

private:
    char* mpData;
    unsigned miLength;
};

} // namespace qorfuzz

#endif // QOR_FUZZ_EXACTBYTES_H
