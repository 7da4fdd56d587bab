// arrayproxy.h - the abstract interfaces over a contiguous run of elements.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_ARRAYPROXY_H
#define QOR_CORE_STD_ARRAYPROXY_H

#include "qor_core/std/pitypes.h"

namespace qstd {

/// Read-only view of a contiguous run of elements. Arrays, windows onto arrays
/// and views of zero-terminated strings implement it, so that any of them can be
/// passed where an array is read.
template <class T> class QOR_EXPORT tAbstractConstArrayProxy
{
public:
    virtual ~tAbstractConstArrayProxy() {}
    /// The element at iIndex (checked).
    virtual const T& proxyAt(unsigned iIndex) const = 0;
    virtual unsigned proxyLength() const = 0;
    /// Copies iCount elements starting at iStart into pTarget.
    virtual void proxyCopyPartTo(T* pTarget, unsigned iStart, unsigned iCount) const = 0;
    /// Pointer to the contiguous elements [iStart, iStart + iCount).
    virtual const T* proxyProvideData(unsigned iStart, unsigned iCount) const = 0;
    /// Preferred block size for bulk operations; 0 means no preference.
    virtual unsigned proxyPreferredBlockSize() const = 0;
    /// The proxy that physically holds the data; iOffset receives the position of
    /// this proxy's element 0 inside it.
    virtual const tAbstractConstArrayProxy<T>* constProxyPhysical(unsigned& iOffset) const = 0;
};

/// Writable view of a contiguous run of elements.
template <class T> class QOR_EXPORT tAbstractArrayProxy : public tAbstractConstArrayProxy<T>
{
public:
    using tAbstractConstArrayProxy<T>::proxyAt;
    virtual T& proxyAt(unsigned iIndex) = 0;
    /// Writable pointer to [iStart, iStart + iCount); null when the proxy cannot hand one out.
    virtual T* proxyProvideWriteableData(unsigned /*iStart*/, unsigned /*iCount*/)
    {
        return nullptr;
    }
    /// Overwrites iCount elements at iStart from pSource.
    virtual void proxyPatchData(const T* pSource, unsigned iStart, unsigned iCount) = 0;
    virtual void proxySetSize(unsigned iSize) = 0;
    /// Inserts iCount elements from pSource at iAt.
    virtual void proxyInsert(unsigned iAt, const T* pSource, unsigned iCount) = 0;
    /// Opens a gap of iCount uninitialised elements at iAt.
    virtual void proxyInsertDefaultObjects(unsigned iAt, unsigned iCount) = 0;
    virtual void proxyErase(unsigned iStart, unsigned iCount) = 0;
    virtual tAbstractArrayProxy<T>* proxyPhysical(unsigned& iOffset) = 0;
};

} // namespace qstd

#endif // QOR_CORE_STD_ARRAYPROXY_H
