// array.h - tArray, the flat array of plain values, and its element traits.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_ARRAY_H
#define QOR_CORE_STD_ARRAY_H

#include "qor_core/std/arrayproxy.h"
#include "qor_core/std/arraysearch.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace qstd {

/// Traits of arrays of plain values: no spare element, no terminator.
template <class T> struct tArrayByteLevelTraits
{
    enum
    {
        kExtraElements = 0,   ///< allocated beyond the capacity
        kMinimumCapacity = 0, ///< smallest capacity of an exact pool
        kTerminated = 0       ///< a 0 element is kept at index length
    };
};

/// Traits of the 8-bit string: one element more than the capacity is allocated and
/// a 0 byte is kept at index length, so that the pool is always a C string.
template <class T> struct tArrayAsciiStringTraits
{
    enum
    {
        kExtraElements = 1,
        kMinimumCapacity = 1,
        kTerminated = 1
    };
};

/// Pool arithmetic shared by every tArray instantiation.
class QOR_EXPORT tArrayPool
{
public:
    /// iSize rounded up to a multiple of 2^iGrowStep; 0 counts as 1. Saturates at the
    /// largest 32-bit value instead of wrapping.
    static unsigned sizeToSectors(unsigned iSize, unsigned iGrowStep)
    {
        if (iSize == 0)
            iSize = 1;
        if (iGrowStep > 31)
            iGrowStep = 31;
        unsigned long long iSector = 1ULL << iGrowStep;
        unsigned long long iRounded = (iSize + iSector - 1) & ~(iSector - 1);
        return iRounded > 0xffffffffULL ? 0xffffffffu : unsigned(iRounded);
    }
    /// realloc of iElements elements of iElementSize bytes; frees and returns null for 0.
    /// Throws std::bad_alloc when the block cannot be had or its byte size overflows.
    static void* reallocate(void* pPool, unsigned iElements, unsigned iElementSize);
    /// The storage to reserve when a pool of iAllocated elements must grow: half as
    /// much again, saturating.
    static unsigned grownReserve(unsigned iAllocated);
    [[noreturn]] static void throwLengthOverflow(const char* pContainer, const char* pOperation);
};

/// A flat, contiguous array of plain values that are moved with memory copies;
/// constructors and destructors of T never run. Positions are 32-bit unsigned;
/// every checked operation reports a violation with the exceptions of cSTDExceptions
/// under the container name "tArray".
///
/// Invariant: miLength <= miPoolSize; mpPool is null or holds miPoolSize +
/// Traits::kExtraElements elements; with terminated traits mpPool[miLength] == 0.
template <class T, class Traits = tArrayByteLevelTraits<T>>
class QOR_EXPORT tArray : public tAbstractArrayProxy<T>
{
public:
    typedef T value_type;
    typedef Traits traits_type;

    tArray()
        : mpPool(nullptr), miPoolSize(0), miGrowStep(5), miLength(0), mbFitOnErase(true),
          miAllocated(0)
    {
    }

    /// Creates iSize elements; plain values are not initialised.
    explicit tArray(unsigned iSize)
        : mpPool(nullptr), miPoolSize(0), miGrowStep(5), miLength(0), mbFitOnErase(true),
          miAllocated(0)
    {
        setSize(iSize);
    }

    tArray(const tArray& oOther)
        : mpPool(nullptr), miPoolSize(0), miGrowStep(oOther.miGrowStep), miLength(0),
          mbFitOnErase(oOther.mbFitOnErase), miAllocated(0)
    {
        assignFrom(oOther);
    }

    /// Copies the elements of any proxy.
    explicit tArray(const tAbstractConstArrayProxy<T>& oOther)
        : mpPool(nullptr), miPoolSize(0), miGrowStep(5), miLength(0), mbFitOnErase(true),
          miAllocated(0)
    {
        assignFrom(oOther);
    }

    tArray(const T* pData, unsigned iCount)
        : mpPool(nullptr), miPoolSize(0), miGrowStep(5), miLength(0), mbFitOnErase(true),
          miAllocated(0)
    {
        append(pData, iCount);
    }

    ~tArray() override { std::free(mpPool); }

    tArray& operator=(const tArray& oOther)
    {
        if (this != &oOther) {
            tArray oCopy(oOther);
            swap(oCopy);
        }
        return *this;
    }

    /// Takes over oOther's elements by exchange: allocates nothing, so an owner that
    /// assigns a finished copy (as the exceptions do) cannot fail halfway.
    tArray& operator=(tArray&& oOther) noexcept
    {
        swap(oOther);
        return *this;
    }

    tArray& operator=(const tAbstractConstArrayProxy<T>& oOther)
    {
        if (static_cast<const tAbstractConstArrayProxy<T>*>(this) != &oOther) {
            tArray oCopy(oOther);
            oCopy.miGrowStep = miGrowStep;
            oCopy.mbFitOnErase = mbFitOnErase;
            swap(oCopy);
        }
        return *this;
    }

    void swap(tArray& oOther)
    {
        exchange(mpPool, oOther.mpPool);
        exchange(miPoolSize, oOther.miPoolSize);
        exchange(miGrowStep, oOther.miGrowStep);
        exchange(miLength, oOther.miLength);
        exchange(mbFitOnErase, oOther.mbFitOnErase);
        exchange(miAllocated, oOther.miAllocated);
    }

    // --- access -------------------------------------------------------------

    /// Unchecked access.
    T& operator[](unsigned iIndex) { return mpPool[iIndex]; }
    const T& operator[](unsigned iIndex) const { return mpPool[iIndex]; }

    T& at(unsigned iIndex)
    {
        tBounds::checkIndex(miLength, iIndex, "tArray", "at");
        return mpPool[iIndex];
    }
    const T& at(unsigned iIndex) const
    {
        tBounds::checkIndex(miLength, iIndex, "tArray", "at");
        return mpPool[iIndex];
    }

    /// The pool; a null pool is the assertion "mpPool != 0" unless bAllowNull.
    T* data(bool bAllowNull = false)
    {
        if (!bAllowNull)
            QOR_ASSERT_TEXT(mpPool != nullptr, "mpPool != 0");
        return mpPool;
    }
    const T* data(bool bAllowNull = false) const
    {
        return const_cast<tArray*>(this)->data(bAllowNull);
    }
    /// Pointer to element iStart of the checked range [iStart, iStart + iCount).
    T* data(unsigned iStart, unsigned iCount, bool bAllowNull = false)
    {
        tBounds::startSize2End(miLength, iStart, iCount, "tArray", "data");
        T* pPool = data(bAllowNull);
        return pPool ? pPool + iStart : nullptr;
    }
    const T* data(unsigned iStart, unsigned iCount, bool bAllowNull = false) const
    {
        return const_cast<tArray*>(this)->data(iStart, iCount, bAllowNull);
    }

    unsigned length() const { return miLength; }
    unsigned size() const { return miLength; }
    bool empty() const { return miLength == 0; }
    unsigned elementSize() const { return sizeof(T); }
    /// Allocated capacity in elements.
    unsigned poolSize() const { return miPoolSize; }
    /// Capacity granularity as a power of two.
    unsigned growStep() const { return miGrowStep & 0xff; }
    void setGrowStep(unsigned iExponent) { miGrowStep = iExponent; }
    bool fitOnErase() const { return mbFitOnErase; }
    void setFitOnErase(bool bFit) { mbFitOnErase = bFit; }

    T* begin() { return mpPool; }
    T* end() { return mpPool + miLength; }
    const T* begin() const { return mpPool; }
    const T* end() const { return mpPool + miLength; }

    // --- growth -------------------------------------------------------------

    /// Appends one element and returns its index.
    unsigned append(const T& oValue)
    {
        unsigned iIndex = miLength;
        if (iIndex >= miPoolSize) { // also true for a missing pool
            T oCopy = oValue;       // oValue may live in the pool that grow() moves
            grow(1, "append");
            mpPool[iIndex] = oCopy;
        } else {
            mpPool[iIndex] = oValue;
        }
        miLength = iIndex + 1;
        terminate();
        return iIndex;
    }

    /// Appends iCount elements from pData and returns the index of the first.
    unsigned append(const T* pData, unsigned iCount) { return insertAt(miLength, pData, iCount); }

    /// Appends the elements of oOther and returns the index of the first. oOther may
    /// be a window onto this array. When the proxy's copy throws, the array keeps its
    /// elements and length.
    unsigned append(const tAbstractConstArrayProxy<T>& oOther)
    {
        unsigned iIndex = miLength;
        unsigned iCount = oOther.proxyLength();
        if (iCount == 0)
            return iIndex;
        if (!mpPool || iCount > miPoolSize - iIndex) {
            if (iIndex + iCount < iIndex)
                tArrayPool::throwLengthOverflow("tArray", "append");
            unsigned iTarget = growthTarget(iIndex + iCount);
            if (mpPool && iTarget <= miAllocated)
                miPoolSize = iTarget; // the storage is there already
            else if (readsFromPool(oOther.proxyProvideData(0, iCount), iCount))
                return appendIntoNewPool(oOther, iTarget);
            else
                resizePool(iIndex + iCount, false); // may grow the pool where it is (realloc)
        }
        try {
            oOther.proxyCopyPartTo(mpPool + iIndex, 0, iCount);
        } catch (...) {
            terminate(); // the copy may have overwritten the terminator
            throw;
        }
        miLength = iIndex + iCount;
        terminate();
        return iIndex;
    }

    /// Appends iCount uninitialised elements and returns the index of the first.
    unsigned appendElements(unsigned iCount)
    {
        unsigned iIndex = miLength;
        grow(iCount, "appendElements");
        miLength += iCount;
        terminate();
        return iIndex;
    }

    /// Inserts iCount elements from pData at iAt (iAt <= length).
    void insert(unsigned iAt, const T* pData, unsigned iCount)
    {
        if (iAt > miLength)
            cSTDExceptions::throwOutOfRange("tArray", "insert", cSTDExceptions::Value, iAt, 0,
                                            miLength);
        insertAt(iAt, pData, iCount);
    }
    void insert(unsigned iAt, const T& oValue) { insert(iAt, &oValue, 1); }

    void proxyInsert(unsigned iAt, const T* pData, unsigned iCount) override
    {
        if (iAt == miLength)
            append(pData, iCount);
        else
            insert(iAt, pData, iCount);
    }

    void proxyInsertDefaultObjects(unsigned iAt, unsigned iCount) override
    {
        if (iAt > miLength)
            cSTDExceptions::throwOutOfRange("tArray", "insert", cSTDExceptions::Value, iAt, 0,
                                            miLength);
        openGap(iAt, iCount, "insert");
    }

    // --- shrinking ----------------------------------------------------------

    /// Removes [iStart, iStart + iCount).
    void erase(unsigned iStart, unsigned iCount)
    {
        unsigned iEnd = tBounds::startSize2End(miLength, iStart, iCount, "tArray", "erase");
        if (iEnd < miLength)
            std::memmove(mpPool + iStart, mpPool + iEnd, (miLength - iEnd) * sizeof(T));
        miLength -= iCount;
        resizePool(miLength, mbFitOnErase);
        terminate();
    }

    /// Removes the last iCount elements.
    void erase(unsigned iCount)
    {
        if (iCount > miLength)
            cSTDExceptions::throwOutOfRange("tArray", "erase", cSTDExceptions::Size, iCount, 0,
                                            miLength);
        erase(miLength - iCount, iCount);
    }

    void proxyErase(unsigned iStart, unsigned iCount) override { erase(iStart, iCount); }

    /// Keeps the first iLength elements.
    void truncate(unsigned iLength)
    {
        if (iLength > miLength)
            cSTDExceptions::throwOutOfRange("tArray", "truncate", cSTDExceptions::Value, iLength, 0,
                                            miLength);
        if (iLength < miLength)
            erase(iLength, miLength - iLength);
    }

    void clear()
    {
        miLength = 0;
        resizePool(0, true);
        terminate();
    }

    void optimizeMemory()
    {
        resizePool(miLength, true);
        terminate();
    }

    /// Sets the length to iSize; new elements are not initialised.
    void setSize(unsigned iSize)
    {
        resizePool(iSize, mbFitOnErase);
        miLength = iSize;
        terminate();
    }
    void resize(unsigned iSize) { setSize(iSize); }
    void proxySetSize(unsigned iSize) override { setSize(iSize); }

    // --- proxy interface ----------------------------------------------------

    const T& proxyAt(unsigned iIndex) const override { return at(iIndex); }
    T& proxyAt(unsigned iIndex) override { return at(iIndex); }
    unsigned proxyLength() const override { return miLength; }
    unsigned proxyPreferredBlockSize() const override { return 0; }

    void proxyCopyPartTo(T* pTarget, unsigned iStart, unsigned iCount) const override
    {
        tBounds::startSize2End(miLength, iStart, iCount, "tArray", "copyPartTo");
        if (iCount)
            std::memcpy(pTarget, mpPool + iStart, iCount * sizeof(T));
    }
    const T* proxyProvideData(unsigned iStart, unsigned iCount) const override
    {
        tBounds::startSize2End(miLength, iStart, iCount, "tArray", "provideData");
        QOR_ASSERT_TEXT(mpPool != nullptr, "mpPool != 0");
        return mpPool + iStart;
    }
    T* proxyProvideWriteableData(unsigned iStart, unsigned iCount) override
    {
        tBounds::startSize2End(miLength, iStart, iCount, "tArray", "proxyProvideWriteableData");
        QOR_ASSERT_TEXT(mpPool != nullptr, "mpPool != 0");
        return mpPool + iStart;
    }
    void proxyPatchData(const T* pSource, unsigned iStart, unsigned iCount) override
    {
        tBounds::startSize2End(miLength, iStart, iCount, "tArray", "proxyPatchData");
        if (iCount)
            std::memmove(mpPool + iStart, pSource, iCount * sizeof(T));
    }
    const tAbstractConstArrayProxy<T>* constProxyPhysical(unsigned& iOffset) const override
    {
        iOffset = 0;
        return this;
    }
    tAbstractArrayProxy<T>* proxyPhysical(unsigned& iOffset) override
    {
        iOffset = 0;
        return this;
    }

    // --- search and comparison ----------------------------------------------

    /// Index of the first occurrence of the needle in [iStart, iStart + iCount);
    /// iCount 0 (or past the end) searches to the end. bFound tells whether it was found.
    unsigned find(const T* pNeedle, unsigned iNeedleLength, bool& bFound, unsigned iStart = 0,
                  unsigned iCount = 0) const
    {
        return tArraySearch<T>::find(mpPool, miLength, pNeedle, iNeedleLength, bFound, iStart,
                                     iCount, "tArray");
    }
    unsigned find(const T& oValue, bool& bFound, unsigned iStart = 0) const
    {
        return find(&oValue, 1, bFound, iStart);
    }
    bool contains(const T* pNeedle, unsigned iNeedleLength) const
    {
        bool bFound;
        find(pNeedle, iNeedleLength, bFound);
        return bFound;
    }
    bool contains(const T& oValue) const { return contains(&oValue, 1); }
    bool beginsWith(const T* pPrefix, unsigned iLength) const
    {
        return iLength == 0 ||
               (iLength <= miLength && tArraySearch<T>::equal(mpPool, pPrefix, iLength));
    }
    bool endsWith(const T* pSuffix, unsigned iLength) const
    {
        return iLength == 0 ||
               (iLength <= miLength &&
                tArraySearch<T>::equal(mpPool + miLength - iLength, pSuffix, iLength));
    }

    /// -1, 0 or 1. Empty arrays are equal whether or not they hold a pool.
    int relation(const tAbstractConstArrayProxy<T>& oOther) const
    {
        unsigned iOtherLength = oOther.proxyLength();
        const T* pOther = iOtherLength ? oOther.proxyProvideData(0, iOtherLength) : nullptr;
        return tArraySearch<T>::relation(mpPool, miLength, pOther, iOtherLength);
    }
    /// Compares against the zero-terminated run, its terminator included.
    int relation(const T* pWith) const
    {
        QOR_ASSERT_TEXT(pWith != nullptr, "pWith");
        // Terminated arrays take part with their own terminator, so that they equal
        // the C string of the same characters.
        static const T oTerminator = T();
        const T* pOwn = mpPool;
        unsigned iOwnLength = miLength;
        if (Traits::kTerminated) {
            pOwn = mpPool ? mpPool : &oTerminator;
            ++iOwnLength;
        }
        return tArraySearch<T>::relation(pOwn, iOwnLength, pWith,
                                         tArraySearch<T>::terminatedLength(pWith) + 1);
    }

    bool operator==(const tAbstractConstArrayProxy<T>& oOther) const
    {
        return relation(oOther) == 0;
    }
    bool operator!=(const tAbstractConstArrayProxy<T>& oOther) const
    {
        return relation(oOther) != 0;
    }
    bool operator<(const tAbstractConstArrayProxy<T>& oOther) const { return relation(oOther) < 0; }
    bool operator>(const tAbstractConstArrayProxy<T>& oOther) const { return relation(oOther) > 0; }
    bool operator<=(const tAbstractConstArrayProxy<T>& oOther) const
    {
        return relation(oOther) <= 0;
    }
    bool operator>=(const tAbstractConstArrayProxy<T>& oOther) const
    {
        return relation(oOther) >= 0;
    }
    bool operator==(const tArray& oOther) const { return relation(oOther) == 0; }
    bool operator!=(const tArray& oOther) const { return relation(oOther) != 0; }
    bool operator<(const tArray& oOther) const { return relation(oOther) < 0; }
    bool operator==(const T* pWith) const { return relation(pWith) == 0; }
    bool operator!=(const T* pWith) const { return relation(pWith) != 0; }
    bool operator<(const T* pWith) const { return relation(pWith) < 0; }
    bool operator>(const T* pWith) const { return relation(pWith) > 0; }

    /// True when the array holds exactly the iCount elements of pData.
    bool isEqual(const T* pData, unsigned iCount) const
    {
        return iCount == miLength && tArraySearch<T>::equal(mpPool, pData, iCount);
    }
    /// True when the iCount elements at iStart equal those of pData.
    bool isEqual(const T* pData, unsigned iCount, unsigned iStart) const
    {
        if (iStart > miLength || iCount > miLength - iStart)
            return false;
        return tArraySearch<T>::equal(mpPool + iStart, pData, iCount);
    }

    /// Replaces every oOld from iStart on by oNew.
    void replace(const T& oOld, const T& oNew, unsigned iStart = 0)
    {
        if (miLength == 0)
            return;
        tBounds::checkIndex(miLength, iStart, "tArray", "replace");
        // Either value may be an element that the loop overwrites.
        const T oFind = oOld;
        const T oReplacement = oNew;
        for (unsigned i = iStart; i < miLength; ++i)
            if (mpPool[i] == oFind)
                mpPool[i] = oReplacement;
    }

    /// Inserts iCount copies of oValue at iAt (iAt <= length).
    void insertValues(unsigned iAt, unsigned iCount, const T& oValue)
    {
        T oCopy = oValue; // oValue may live in the pool that the insertion moves
        proxyInsertDefaultObjects(iAt, iCount);
        for (unsigned i = 0; i < iCount; ++i)
            mpPool[iAt + i] = oCopy;
    }

    /// Removes the runs of oValue at the front and/or the back.
    void trim(const T& oTrimmed, bool bFront, bool bBack)
    {
        const T oValue = oTrimmed; // oTrimmed may live in the pool that truncate() moves
        unsigned iEnd = miLength;
        while (bBack && iEnd > 0 && mpPool[iEnd - 1] == oValue)
            --iEnd;
        truncate(iEnd);
        unsigned iStart = 0;
        while (bFront && iStart < miLength && mpPool[iStart] == oValue)
            ++iStart;
        if (iStart)
            erase(0, iStart);
    }

    void fill(const T& oValue)
    {
        for (unsigned i = 0; i < miLength; ++i)
            mpPool[i] = oValue;
    }

protected:
    /// Grows the pool for iCount more elements (non-exact, growing only).
    void grow(unsigned iCount, const char* pOperation)
    {
        if (miLength + iCount < miLength)
            tArrayPool::throwLengthOverflow("tArray", pOperation);
        resizePool(miLength + iCount, false);
    }

    /// Resizes the pool for iNewSize elements: growing only unless bExact, in which
    /// case the capacity becomes exactly iNewSize. The length is cut to the capacity.
    /// The capacity follows the step rule; the storage behind a growing pool is
    /// reserved geometrically, so that appending one element at a time does not copy
    /// the array on every step. Exact requests give the spare storage back.
    void resizePool(unsigned iNewSize, bool bExact)
    {
        // Growing within the pool is the common case; it changes nothing.
        if (!bExact && mpPool && miPoolSize >= iNewSize)
            return;
        unsigned iTarget = bExact ? iNewSize : growthTarget(iNewSize);
        if (iTarget < unsigned(Traits::kMinimumCapacity))
            iTarget = Traits::kMinimumCapacity;
        bool bHavePool = mpPool != nullptr || (iTarget == 0 && Traits::kExtraElements == 0);
        // Growing only: a pool that already holds iNewSize elements stays, even when
        // its capacity is not a multiple of the step (after an exact resize).
        if (bHavePool && (bExact ? miPoolSize == iTarget : miPoolSize >= iNewSize))
            return;
        if (bExact || !mpPool || iTarget > miAllocated) {
            unsigned iAllocate = bExact ? iTarget : growthAllocation(iTarget);
            if (iAllocate + Traits::kExtraElements < iAllocate)
                tArrayPool::throwLengthOverflow("tArray", "resize");
            mpPool = static_cast<T*>(
                tArrayPool::reallocate(mpPool, iAllocate + Traits::kExtraElements, sizeof(T)));
            miAllocated = iAllocate;
        }
        miPoolSize = iTarget;
        if (miLength > iTarget)
            miLength = iTarget;
    }

    /// The capacity of a growing pool for iNewSize elements: the step rule, at least
    /// the minimum capacity of the traits.
    unsigned growthTarget(unsigned iNewSize) const
    {
        unsigned iTarget = tArrayPool::sizeToSectors(iNewSize, growStep());
        return iTarget < unsigned(Traits::kMinimumCapacity) ? unsigned(Traits::kMinimumCapacity)
                                                            : iTarget;
    }

    /// The elements to allocate (the spare terminator not counted) when a growing
    /// pool needs new storage for a capacity of iTarget: geometric growth. Throws
    /// cOutOfBoundsException when the spare element does not fit in 32 bits.
    unsigned growthAllocation(unsigned iTarget) const
    {
        unsigned iAllocate = tArrayPool::grownReserve(miAllocated);
        if (iAllocate < iTarget)
            iAllocate = iTarget;
        if (iAllocate + Traits::kExtraElements < iAllocate)
            tArrayPool::throwLengthOverflow("tArray", "resize");
        return iAllocate;
    }

    void terminate()
    {
        if constexpr (Traits::kTerminated != 0) {
            if (mpPool)
                mpPool[miLength] = T();
        }
    }

private:
    template <class V> static void exchange(V& a, V& b)
    {
        V c = a;
        a = b;
        b = c;
    }

    /// Appends oOther, which reads from the pool, through a new pool of capacity
    /// iTarget: the copy is made before the old pool goes.
    unsigned appendIntoNewPool(const tAbstractConstArrayProxy<T>& oOther, unsigned iTarget)
    {
        unsigned iIndex = miLength;
        unsigned iCount = oOther.proxyLength();
        unsigned iAllocate = growthAllocation(iTarget);
        T* pPool = static_cast<T*>(
            tArrayPool::reallocate(nullptr, iAllocate + Traits::kExtraElements, sizeof(T)));
        try {
            oOther.proxyCopyPartTo(pPool + iIndex, 0, iCount);
        } catch (...) {
            std::free(pPool);
            throw;
        }
        if (iIndex)
            std::memcpy(pPool, mpPool, iIndex * sizeof(T));
        std::free(mpPool);
        mpPool = pPool;
        miAllocated = iAllocate;
        miPoolSize = iTarget;
        miLength = iIndex + iCount;
        terminate();
        return iIndex;
    }

    /// True when [pData, pData + iCount) overlaps the pool; a proxy that hands out no
    /// pointer (null) is taken to read from elsewhere.
    bool readsFromPool(const T* pData, unsigned iCount) const
    {
        if (!pData || !mpPool)
            return false;
        std::uintptr_t iData = reinterpret_cast<std::uintptr_t>(pData);
        std::uintptr_t iPool = reinterpret_cast<std::uintptr_t>(mpPool);
        return iData < iPool + (std::uintptr_t(miAllocated) + Traits::kExtraElements) * sizeof(T) &&
               iPool < iData + std::uintptr_t(iCount) * sizeof(T);
    }

    /// Fills a newly constructed array; a failing copy frees the pool again, since
    /// the destructor does not run for a constructor that throws.
    void assignFrom(const tAbstractConstArrayProxy<T>& oOther)
    {
        unsigned iCount = oOther.proxyLength();
        setSize(iCount);
        if (iCount == 0)
            return;
        try {
            oOther.proxyCopyPartTo(mpPool, 0, iCount);
        } catch (...) {
            std::free(mpPool);
            mpPool = nullptr;
            miPoolSize = miLength = miAllocated = 0;
            throw;
        }
    }

    /// Opens an uninitialised gap of iCount elements at iAt (iAt <= length).
    void openGap(unsigned iAt, unsigned iCount, const char* pOperation)
    {
        grow(iCount, pOperation);
        if (iAt < miLength)
            std::memmove(mpPool + iAt + iCount, mpPool + iAt, (miLength - iAt) * sizeof(T));
        miLength += iCount;
        terminate();
    }

    unsigned insertAt(unsigned iAt, const T* pData, unsigned iCount)
    {
        if (iCount == 0)
            return iAt;
        // The source may lie inside this array's pool, which openGap may move.
        if (mpPool && pData >= mpPool && pData < mpPool + miPoolSize) {
            tArray oCopy(pData, iCount);
            return insertAt(iAt, oCopy.mpPool, iCount);
        }
        openGap(iAt, iCount, "insert");
        std::memcpy(mpPool + iAt, pData, iCount * sizeof(T));
        return iAt;
    }

    T* mpPool;            ///< owned, allocated with malloc/realloc; null until first allocated
    unsigned miPoolSize;  ///< capacity in elements
    unsigned miGrowStep;  ///< capacity granularity exponent; only the low byte is used
    unsigned miLength;    ///< elements in use
    bool mbFitOnErase;    ///< shrinking operations reallocate to exactly the new length
    unsigned miAllocated; ///< elements allocated (without the spare one), >= miPoolSize
};

} // namespace qstd

#endif // QOR_CORE_STD_ARRAY_H
