// arrayref.h - windows onto arrays: tConstArrayRef and tArrayRef.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_ARRAYREF_H
#define QOR_CORE_STD_ARRAYREF_H

#include "qor_core/std/array.h"

#include <type_traits>

namespace qstd {

/// The read side shared by both windows. A window refers to the proxy that
/// physically holds the data (a window set onto a window resolves through
/// constProxyPhysical). It does not own the data: the target must outlive the
/// window, and a window must not be kept across operations of other code that
/// may shrink the target.
template <class T, class Traits, class ProxyBase, class Target>
class QOR_EXPORT tArrayWindow : public ProxyBase
{
public:
    tArrayWindow() : mpData(nullptr), miOffset(0), miLength(0), miOpBlockSize(0) {}

    static const char* containerName()
    {
        return std::is_const<Target>::value ? "tConstArrayRef" : "tArrayRef";
    }

    /// Sets the window onto [iStart, iStart + iLength) of oProxy.
    void set(Target& oProxy, unsigned iStart, unsigned iLength)
    {
        tBounds::startSize2End(oProxy.proxyLength(), iStart, iLength, containerName(), "set");
        unsigned iOffset = 0;
        mpData = physicalOf(oProxy, iOffset);
        miOffset = iOffset + iStart;
        miLength = iLength;
        miOpBlockSize = oProxy.proxyPreferredBlockSize();
    }
    /// Sets the window from iStart to the end of oProxy.
    void set(Target& oProxy, unsigned iStart = 0)
    {
        unsigned iLength = oProxy.proxyLength();
        set(oProxy, iStart, iStart <= iLength ? iLength - iStart : 0);
    }

    void clear()
    {
        mpData = nullptr;
        miOffset = miLength = miOpBlockSize = 0;
    }

    unsigned length() const { return miLength; }
    unsigned size() const { return miLength; }
    bool empty() const { return miLength == 0; }
    unsigned offset() const { return miOffset; }
    unsigned opBlockSize() const { return miOpBlockSize; }
    void setOpBlockSize(unsigned iSize) { miOpBlockSize = iSize; }
    Target* target() const { return mpData; }

    const T& at(unsigned iIndex) const
    {
        tBounds::checkIndex(miLength, iIndex, containerName(), "at");
        return checkedData()->proxyAt(miOffset + iIndex);
    }
    const T& operator[](unsigned iIndex) const { return checkedData()->proxyAt(miOffset + iIndex); }

    using ProxyBase::proxyAt;
    const T& proxyAt(unsigned iIndex) const override { return at(iIndex); }
    unsigned proxyLength() const override { return miLength; }
    unsigned proxyPreferredBlockSize() const override { return miOpBlockSize; }
    void proxyCopyPartTo(T* pTarget, unsigned iStart, unsigned iCount) const override
    {
        tBounds::startSize2End(miLength, iStart, iCount, containerName(), "copyPartTo");
        if (iCount)
            checkedData()->proxyCopyPartTo(pTarget, miOffset + iStart, iCount);
    }
    const T* proxyProvideData(unsigned iStart, unsigned iCount) const override
    {
        tBounds::startSize2End(miLength, iStart, iCount, containerName(), "provideData");
        return checkedData()->proxyProvideData(miOffset + iStart, iCount);
    }
    const tAbstractConstArrayProxy<T>* constProxyPhysical(unsigned& iOffset) const override
    {
        iOffset = miOffset;
        return mpData;
    }

    /// Pointer to the window's elements, null for an empty window.
    const T* constData() const
    {
        return miLength ? checkedData()->proxyProvideData(miOffset, miLength) : nullptr;
    }

    /// A read-only window onto [iStart, iEnd) of this window.
    tArrayWindow<T, Traits, tAbstractConstArrayProxy<T>, const tAbstractConstArrayProxy<T>>
    cut(unsigned iStart, unsigned iEnd) const
    {
        unsigned iSize = tBounds::startEnd2Size(miLength, iStart, iEnd, containerName(), "cut");
        tArrayWindow<T, Traits, tAbstractConstArrayProxy<T>, const tAbstractConstArrayProxy<T>>
            oCut;
        oCut.setRaw(mpData, miOffset + iStart, iSize, miOpBlockSize);
        return oCut;
    }

    unsigned find(const T* pNeedle, unsigned iNeedleLength, bool& bFound, unsigned iStart = 0,
                  unsigned iCount = 0) const
    {
        return tArraySearch<T>::find(constData(), miLength, pNeedle, iNeedleLength, bFound, iStart,
                                     iCount, containerName());
    }
    bool contains(const T* pNeedle, unsigned iNeedleLength) const
    {
        bool bFound;
        find(pNeedle, iNeedleLength, bFound);
        return bFound;
    }
    bool beginsWith(const T* pPrefix, unsigned iLength) const
    {
        return iLength == 0 ||
               (iLength <= miLength && tArraySearch<T>::equal(constData(), pPrefix, iLength));
    }
    bool endsWith(const T* pSuffix, unsigned iLength) const
    {
        return iLength == 0 ||
               (iLength <= miLength &&
                tArraySearch<T>::equal(constData() + miLength - iLength, pSuffix, iLength));
    }
    int relation(const tAbstractConstArrayProxy<T>& oOther) const
    {
        unsigned iOtherLength = oOther.proxyLength();
        const T* pOther = iOtherLength ? oOther.proxyProvideData(0, iOtherLength) : nullptr;
        return tArraySearch<T>::relation(constData(), miLength, pOther, iOtherLength);
    }
    int relation(const T* pWith) const
    {
        QOR_ASSERT_TEXT(pWith != nullptr, "pWith");
        return tArraySearch<T>::relation(constData(), miLength, pWith,
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
    bool isEqual(const T* pData, unsigned iCount) const
    {
        return iCount == miLength && tArraySearch<T>::equal(constData(), pData, iCount);
    }

    /// Sets the fields without checks; for windows derived from a checked one.
    void setRaw(Target* pData, unsigned iOffset, unsigned iLength, unsigned iOpBlockSize)
    {
        mpData = pData;
        miOffset = iOffset;
        miLength = iLength;
        miOpBlockSize = iOpBlockSize;
    }

protected:
    Target* checkedData() const
    {
        QOR_ASSERT_TEXT(mpData != nullptr, "mpData != 0");
        return mpData;
    }

    static const tAbstractConstArrayProxy<T>* physicalOf(const tAbstractConstArrayProxy<T>& oProxy,
                                                         unsigned& iOffset)
    {
        return oProxy.constProxyPhysical(iOffset);
    }
    static tAbstractArrayProxy<T>* physicalOf(tAbstractArrayProxy<T>& oProxy, unsigned& iOffset)
    {
        return oProxy.proxyPhysical(iOffset);
    }

    Target* mpData;         ///< the physical proxy; not owned
    unsigned miOffset;      ///< position of the window in mpData
    unsigned miLength;      ///< elements in the window
    unsigned miOpBlockSize; ///< preferred block size, taken from the target
};

/// Read-only window onto a proxy.
template <class T, class Traits = tArrayByteLevelTraits<T>>
class QOR_EXPORT tConstArrayRef
    : public tArrayWindow<T, Traits, tAbstractConstArrayProxy<T>, const tAbstractConstArrayProxy<T>>
{
    typedef tArrayWindow<T, Traits, tAbstractConstArrayProxy<T>, const tAbstractConstArrayProxy<T>>
        tBase;

public:
    tConstArrayRef() {}
    tConstArrayRef(const tBase& oOther) : tBase(oOther) {}
    tConstArrayRef(const tAbstractConstArrayProxy<T>& oProxy, unsigned iStart = 0)
    {
        this->set(oProxy, iStart);
    }
    tConstArrayRef(const tAbstractConstArrayProxy<T>& oProxy, unsigned iStart, unsigned iLength)
    {
        this->set(oProxy, iStart, iLength);
    }
};

/// Writable window onto an array. Writes go through to the target and the window
/// then covers the changed extent.
template <class T, class Traits = tArrayByteLevelTraits<T>>
class QOR_EXPORT tArrayRef
    : public tArrayWindow<T, Traits, tAbstractArrayProxy<T>, tAbstractArrayProxy<T>>
{
    typedef tArrayWindow<T, Traits, tAbstractArrayProxy<T>, tAbstractArrayProxy<T>> tBase;

public:
    tArrayRef() {}
    tArrayRef(tAbstractArrayProxy<T>& oProxy, unsigned iStart = 0) { this->set(oProxy, iStart); }
    tArrayRef(tAbstractArrayProxy<T>& oProxy, unsigned iStart, unsigned iLength)
    {
        this->set(oProxy, iStart, iLength);
    }

    using tBase::at;
    using tBase::operator[];
    using tBase::proxyAt;

    T& at(unsigned iIndex)
    {
        tBounds::checkIndex(this->miLength, iIndex, "tArrayRef", "at");
        return this->checkedData()->proxyAt(this->miOffset + iIndex);
    }
    T& operator[](unsigned iIndex) { return this->checkedData()->proxyAt(this->miOffset + iIndex); }
    T& proxyAt(unsigned iIndex) override { return at(iIndex); }

    /// Writable pointer to the window's elements, null for an empty window.
    T* data() { return proxyProvideWriteableData(0, this->miLength); }

    T* proxyProvideWriteableData(unsigned iStart, unsigned iCount) override
    {
        if (iCount == 0)
            return nullptr;
        tBounds::startSize2End(this->miLength, iStart, iCount, "tArrayRef",
                               "proxyProvideWriteableData");
        return this->checkedData()->proxyProvideWriteableData(this->miOffset + iStart, iCount);
    }
    void proxyPatchData(const T* pSource, unsigned iStart, unsigned iCount) override
    {
        tBounds::startSize2End(this->miLength, iStart, iCount, "tArrayRef", "proxyPatchData");
        this->checkedData()->proxyPatchData(pSource, this->miOffset + iStart, iCount);
    }

    /// Inserts iCount elements at iAt (iAt <= length) and widens the window by them.
    void insert(unsigned iAt, const T* pSource, unsigned iCount)
    {
        if (iAt > this->miLength)
            cSTDExceptions::throwOutOfRange("tArrayRef", "insert", cSTDExceptions::Index, iAt, 0,
                                            this->miLength);
        this->checkedData()->proxyInsert(this->miOffset + iAt, pSource, iCount);
        this->miLength += iCount;
    }
    void proxyInsert(unsigned iAt, const T* pSource, unsigned iCount) override
    {
        insert(iAt, pSource, iCount);
    }
    void append(const T* pSource, unsigned iCount) { insert(this->miLength, pSource, iCount); }
    void append(const T& oValue) { insert(this->miLength, &oValue, 1); }

    void proxyInsertDefaultObjects(unsigned iAt, unsigned iCount) override
    {
        if (iAt > this->miLength)
            cSTDExceptions::throwOutOfRange("tArrayRef", "insert", cSTDExceptions::Index, iAt, 0,
                                            this->miLength);
        this->checkedData()->proxyInsertDefaultObjects(this->miOffset + iAt, iCount);
        this->miLength += iCount;
    }

    /// Erases [iStart, iStart + iCount) in the target and shrinks the window.
    void erase(unsigned iStart, unsigned iCount)
    {
        tBounds::startSize2End(this->miLength, iStart, iCount, "tArrayRef", "erase");
        if (iCount == 0)
            return;
        this->checkedData()->proxyErase(this->miOffset + iStart, iCount);
        this->miLength -= iCount;
    }
    void proxyErase(unsigned iStart, unsigned iCount) override { erase(iStart, iCount); }

    /// Keeps the first iLength elements of the window; iLength must be below the length
    /// (0 on an empty window is a no-op).
    void truncate(unsigned iLength)
    {
        if (iLength == 0 && this->miLength == 0)
            return;
        tBounds::checkIndex(this->miLength, iLength, "tArrayRef", "truncate");
        erase(iLength, this->miLength - iLength);
    }

    void setSize(unsigned iSize)
    {
        if (iSize < this->miLength)
            truncate(iSize);
        else if (iSize > this->miLength)
            proxyInsertDefaultObjects(this->miLength, iSize - this->miLength);
    }
    void proxySetSize(unsigned iSize) override { setSize(iSize); }

    tAbstractArrayProxy<T>* proxyPhysical(unsigned& iOffset) override
    {
        iOffset = this->miOffset;
        return this->mpData;
    }
};

} // namespace qstd

#endif // QOR_CORE_STD_ARRAYREF_H
