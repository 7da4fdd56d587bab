// vector.h - tVector, a vector of separately allocated elements.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_VECTOR_H
#define QOR_CORE_STD_VECTOR_H

#include "qor_core/std/bounds.h"

namespace qstd {

/// Pool arithmetic shared by every tVector instantiation. The pool is an array of
/// element pointers.
class QOR_EXPORT tVectorPool
{
public:
    /// The capacity the vector rule gives for iSize elements with growth step iStep:
    /// a multiple of the step, at least one step, at least iSize.
    static unsigned getRequiredPoolSize(unsigned iSize, unsigned iStep);
    /// Allocates or frees pointer storage; iCount 0 frees and returns null.
    static void** reallocate(void** pPool, unsigned iCount);
    [[noreturn]] static void throwLengthOverflow(const char* pOperation);
};

/// Iterator over a pool of element pointers.
template <class T, class P> class tVectorIterator
{
public:
    explicit tVectorIterator(P* pSlot = nullptr) : mpSlot(pSlot) {}
    T& operator*() const { return **mpSlot; }
    T* operator->() const { return *mpSlot; }
    tVectorIterator& operator++()
    {
        ++mpSlot;
        return *this;
    }
    tVectorIterator& operator--()
    {
        --mpSlot;
        return *this;
    }
    bool operator==(const tVectorIterator& o) const { return mpSlot == o.mpSlot; }
    bool operator!=(const tVectorIterator& o) const { return mpSlot != o.mpSlot; }

private:
    P* mpSlot;
};

/// A vector of separately allocated elements: each element is copy-constructed
/// with new and destroyed with delete, so element addresses stay stable while the
/// vector grows. Positions are checked under the container name "tVector".
///
/// Capacity follows the step rule of getRequiredPoolSize (observable through
/// poolSize()). The storage behind it may be larger: growth reserves
/// geometrically, so that appending one element at a time does not copy the
/// pointer pool every step; exact requests (clear, optimizeMemory) give the
/// storage back.
template <class T> class tVector
{
public:
    /// Whether remove() calls notifyElementRemoved first.
    enum RemoveNotification
    {
        Notify = 0,
        DoNotNotify = 1
    };

    typedef tVectorIterator<T, T*> iterator;
    typedef tVectorIterator<const T, T* const> const_iterator;

    explicit tVector(unsigned iElementsAhead = 10)
        : mpPool(nullptr), miPoolSize(0), miCount(0),
          miElementsAhead(iElementsAhead ? iElementsAhead : 1), miAllocated(0)
    {
    }
    tVector(const tVector& oOther)
        : mpPool(nullptr), miPoolSize(0), miCount(0), miElementsAhead(oOther.miElementsAhead),
          miAllocated(0)
    {
        insert(0, oOther);
    }
    virtual ~tVector()
    {
        destroyElements(DoNotNotify);
        tVectorPool::reallocate(reinterpret_cast<void**>(mpPool), 0);
    }

    tVector& operator=(const tVector& oOther)
    {
        if (this != &oOther) {
            tVector oCopy(oOther);
            swapContents(oCopy);
        }
        return *this;
    }

    /// Called before an element is destroyed, unless the caller asked not to notify.
    virtual void notifyElementRemoved(T& /*oElement*/) {}

    unsigned count() const { return miCount; }
    unsigned size() const { return miCount; }
    unsigned length() const { return miCount; }
    bool empty() const { return miCount == 0; }
    unsigned poolSize() const { return miPoolSize; }
    unsigned numElementsAhead() const { return miElementsAhead; }
    void setNumElementsAhead(unsigned iStep) { miElementsAhead = iStep ? iStep : 1; }

    T& at(unsigned iIndex)
    {
        tBounds::checkIndex(miCount, iIndex, "tVector", "at");
        return *mpPool[iIndex];
    }
    const T& at(unsigned iIndex) const
    {
        tBounds::checkIndex(miCount, iIndex, "tVector", "at");
        return *mpPool[iIndex];
    }
    /// Unchecked access.
    T& operator[](unsigned iIndex) { return *mpPool[iIndex]; }
    const T& operator[](unsigned iIndex) const { return *mpPool[iIndex]; }
    T& last() { return at(miCount - 1); }
    const T& last() const { return at(miCount - 1); }

    iterator begin() { return iterator(mpPool); }
    iterator end() { return iterator(mpPool + miCount); }
    iterator start() { return begin(); }
    const_iterator begin() const { return const_iterator(mpPool); }
    const_iterator end() const { return const_iterator(mpPool + miCount); }

    /// Appends a copy of oValue; returns its index.
    unsigned append(const T& oValue)
    {
        reserveOne("append");
        mpPool[miCount] = new T(oValue);
        return miCount++;
    }
    void push_back(const T& oValue) { append(oValue); }
    /// Inserts a copy of oValue in front of all elements.
    void push_front(const T& oValue) { insert(0, oValue); }

    /// Inserts a copy of oValue at iIndex (iIndex <= count).
    void insert(unsigned iIndex, const T& oValue)
    {
        tBounds::checkIndex(miCount + 1, iIndex, "tVector", "insert");
        reserveOne("insert");
        T* pNew = new T(oValue);
        shiftUp(iIndex, miCount);
        mpPool[iIndex] = pNew;
        ++miCount;
    }

    /// Inserts copies of every element of oOther at iIndex (iIndex <= count).
    void insert(unsigned iIndex, const tVector& oOther)
    {
        tBounds::checkIndex(miCount + 1, iIndex, "tVector", "insert");
        tVector oCopies;
        for (unsigned i = 0; i < oOther.miCount; ++i)
            oCopies.append(*oOther.mpPool[i]);
        if (miCount + oCopies.miCount < miCount)
            tVectorPool::throwLengthOverflow("insert");
        resizePool(miCount + oCopies.miCount, false);
        for (unsigned i = miCount; i > iIndex; --i)
            mpPool[i - 1 + oCopies.miCount] = mpPool[i - 1];
        for (unsigned i = 0; i < oCopies.miCount; ++i)
            mpPool[iIndex + i] = oCopies.mpPool[i];
        miCount += oCopies.miCount;
        oCopies.miCount = 0; // the pointers moved over
    }

    /// Moves the elements from iIndex on up by one, destroys the former last element
    /// (notified first, as by remove) and stores a copy of oValue at iIndex; the count
    /// stays (iIndex < count).
    void insertRemoveLast(unsigned iIndex, const T& oValue)
    {
        tBounds::checkIndex(miCount, iIndex, "tVector", "insertSameSize");
        T* pNew = new T(oValue); // before anything changes: oValue may be the last element
        T* pLast = mpPool[miCount - 1];
        shiftUp(iIndex, miCount - 1);
        mpPool[iIndex] = pNew;
        notifyElementRemoved(*pLast);
        delete pLast;
    }

    /// Destroys the element at iIndex (notified unless eNotify says not to) and
    /// closes the gap.
    void remove(unsigned iIndex, RemoveNotification eNotify = Notify)
    {
        if (iIndex >= miCount)
            cSTDExceptions::throwOutOfRange("tVector", "remove", cSTDExceptions::Value, iIndex, 0,
                                            miCount);
        T* pElement = mpPool[iIndex];
        for (unsigned i = iIndex + 1; i < miCount; ++i)
            mpPool[i - 1] = mpPool[i];
        --miCount;
        if (eNotify != DoNotNotify)
            notifyElementRemoved(*pElement);
        delete pElement;
    }

    /// Destroys every element (notified) and resizes the pool exactly for 0 elements.
    void clear()
    {
        destroyElements(Notify);
        resizePool(0, true);
    }

    /// Creates default elements or destroys elements at the end to reach iSize.
    void resize(unsigned iSize)
    {
        while (miCount > iSize)
            remove(miCount - 1);
        if (iSize > miCount) {
            resizePool(iSize, false);
            while (miCount < iSize) {
                mpPool[miCount] = new T();
                ++miCount;
            }
        }
    }
    void setSize(unsigned iSize) { resize(iSize); }

    void optimizeMemory() { resizePool(miCount, true); }

    bool operator==(const tVector& oOther) const
    {
        if (miCount != oOther.miCount)
            return false;
        for (unsigned i = 0; i < miCount; ++i)
            if (!(*mpPool[i] == *oOther.mpPool[i]))
                return false;
        return true;
    }
    bool operator!=(const tVector& oOther) const { return !(*this == oOther); }

    void swap(tVector& oOther) { swapContents(oOther); }

protected:
    /// Detaches the pointer at iIndex from the pool without destroying its element.
    T* takeAt(unsigned iIndex)
    {
        tBounds::checkIndex(miCount, iIndex, "tVector", "take");
        T* pElement = mpPool[iIndex];
        for (unsigned i = iIndex + 1; i < miCount; ++i)
            mpPool[i - 1] = mpPool[i];
        --miCount;
        return pElement;
    }

    /// Capacity for iSize elements by the step rule; see the class comment.
    void resizePool(unsigned iSize, bool bExact)
    {
        unsigned iRequired = tVectorPool::getRequiredPoolSize(iSize, miElementsAhead);
        QOR_ASSERT_TEXT(iRequired >= iSize, "iRequired >= iNewSize");
        if (miPoolSize >= iRequired && (!bExact || miPoolSize == iRequired))
            return;
        if (bExact || iRequired > miAllocated) {
            unsigned iAllocate = iRequired;
            if (!bExact && miAllocated / 2 < 0xffffffffu - miAllocated) {
                unsigned iGeometric = miAllocated + miAllocated / 2;
                if (iGeometric > iAllocate)
                    iAllocate = iGeometric;
            }
            mpPool = reinterpret_cast<T**>(
                tVectorPool::reallocate(reinterpret_cast<void**>(mpPool), iAllocate));
            miAllocated = iAllocate;
        }
        miPoolSize = iRequired;
    }

private:
    void reserveOne(const char* pOperation)
    {
        if (miCount + 1 == 0)
            tVectorPool::throwLengthOverflow(pOperation);
        if (miCount + 1 > miPoolSize)
            resizePool(miCount + 1, false);
    }

    /// Moves the pointers [iFrom, iTo) up by one slot.
    void shiftUp(unsigned iFrom, unsigned iTo)
    {
        for (unsigned i = iTo; i > iFrom; --i)
            mpPool[i] = mpPool[i - 1];
    }

    /// Destroys the elements from the last to the first.
    void destroyElements(RemoveNotification eNotify)
    {
        while (miCount > 0) {
            T* pElement = mpPool[--miCount];
            if (eNotify != DoNotNotify)
                notifyElementRemoved(*pElement);
            delete pElement;
        }
    }

    void swapContents(tVector& oOther)
    {
        T** pPool = mpPool;
        mpPool = oOther.mpPool;
        oOther.mpPool = pPool;
        unsigned* pMine[] = {&miPoolSize, &miCount, &miElementsAhead, &miAllocated};
        unsigned* pTheirs[] = {&oOther.miPoolSize, &oOther.miCount, &oOther.miElementsAhead,
                               &oOther.miAllocated};
        for (unsigned i = 0; i < 4; ++i) {
            unsigned iValue = *pMine[i];
            *pMine[i] = *pTheirs[i];
            *pTheirs[i] = iValue;
        }
    }

    T** mpPool;               ///< owned pointer storage; each element owned too
    unsigned miPoolSize;      ///< capacity in pointers by the step rule
    unsigned miCount;         ///< elements in use
    unsigned miElementsAhead; ///< growth step
    unsigned miAllocated;     ///< pointers actually allocated, >= miPoolSize
};

} // namespace qstd

#endif // QOR_CORE_STD_VECTOR_H
