// sharedobject.h - tSharedObject, a reference-counted handle with invalidation,
// and tSharedObjectWatch, a weak watch on it.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_SHAREDOBJECT_H
#define QOR_CORE_STD_SHAREDOBJECT_H

#include "qor_core/std/autoptr.h"

namespace qstd {

/// The control block shared by the handles and watches of one object. The counts
/// are plain integers: handles of one object belong to one thread.
class QOR_EXPORT tSharedObjectData
{
public:
    explicit tSharedObjectData(bool bOwner) : mbOwner(bOwner), miRefCount(1), miTotalCount(1) {}

    /// Throws the cBugException for a dereference of a null or invalidated handle.
    [[noreturn]] static void throwWrongSharedObjectDereference();

    bool mbOwner;          ///< the object is deleted when the last strong reference goes
    unsigned miRefCount;   ///< strong references; 0 once the object is invalidated
    unsigned miTotalCount; ///< strong references plus watches; the block dies at 0
};

template <class T> class tSharedObjectWatch;

/// A reference-counted handle. The object is deleted (through its virtual
/// destructor) when the last strong handle goes, unless the handle was made from a
/// reference. invalidateObject() ends the object's life early: every handle and
/// watch then reads as null, and dereferencing throws.
template <class T> class tSharedObject
{
public:
    tSharedObject() : mpData(nullptr), mpObject(nullptr) {}
    explicit tSharedObject(T* p) : mpData(p ? new tSharedObjectData(true) : nullptr), mpObject(p) {}
    /// A handle that never deletes o.
    explicit tSharedObject(T& o) : mpData(new tSharedObjectData(false)), mpObject(&o) {}
    explicit tSharedObject(tAutoPtr<T> p) : mpData(nullptr), mpObject(nullptr)
    {
        if (p) {
            mpData = new tSharedObjectData(true);
            mpObject = p.release();
        }
    }
    /// Joins an existing control block; a block whose object is gone gives a null handle.
    tSharedObject(tSharedObjectData* pData, T* p) : mpData(nullptr), mpObject(nullptr)
    {
        if (pData && pData->miRefCount != 0) {
            mpData = pData;
            mpObject = p;
            ++pData->miRefCount;
            ++pData->miTotalCount;
        }
    }
    tSharedObject(const tSharedObject& o) : mpData(o.mpData), mpObject(o.mpObject) { ref(); }
    template <class U>
    tSharedObject(const tSharedObject<U>& o) : mpData(o.controlBlock()), mpObject(o.rawPointer())
    {
        ref();
    }
    ~tSharedObject() { unref(); }

    tSharedObject& operator=(const tSharedObject& o)
    {
        tSharedObject oCopy(o);
        swap(oCopy);
        return *this;
    }
    void reset(T* p = nullptr)
    {
        tSharedObject oNew(p);
        swap(oNew);
    }
    void swap(tSharedObject& o)
    {
        tSharedObjectData* pData = mpData;
        mpData = o.mpData;
        o.mpData = pData;
        T* pObject = mpObject;
        mpObject = o.mpObject;
        o.mpObject = pObject;
    }

    /// Drops this handle's reference; the handle is null afterwards.
    void unref()
    {
        tSharedObjectData* pData = mpData;
        T* pObject = mpObject;
        mpData = nullptr;
        mpObject = nullptr;
        if (!pData)
            return;
        // This handle's own share of the total count keeps the block alive while the
        // object's destructor runs (it may drop further handles of the same block).
        if (pData->miRefCount != 0 && --pData->miRefCount == 0 && pData->mbOwner)
            delete pObject;
        releaseBlock(pData);
    }

    /// Deletes the object now (if owned); every handle and watch reads as null after.
    void invalidateObject()
    {
        if (!mpData || mpData->miRefCount == 0)
            return;
        mpData->miRefCount = 0;
        if (mpData->mbOwner)
            delete mpObject; // this handle keeps the block alive meanwhile
    }

    T* get() const { return valid() ? mpObject : nullptr; }
    T* operator->() const { return checked(); }
    T& operator*() const { return *checked(); }
    bool null() const { return get() == nullptr; }
    explicit operator bool() const { return get() != nullptr; }
    unsigned refCount() const { return mpData ? mpData->miRefCount : 0; }
    bool unique() const { return refCount() == 1; }
    bool operator==(const tSharedObject& o) const { return get() == o.get(); }
    bool operator!=(const tSharedObject& o) const { return get() != o.get(); }

    tSharedObjectData* controlBlock() const { return mpData; }
    T* rawPointer() const { return mpObject; }

private:
    static void releaseBlock(tSharedObjectData* pData)
    {
        if (--pData->miTotalCount == 0)
            delete pData;
    }
    bool valid() const { return mpData && mpData->miRefCount != 0; }
    T* checked() const
    {
        if (!valid() || !mpObject)
            tSharedObjectData::throwWrongSharedObjectDereference();
        return mpObject;
    }
    void ref()
    {
        if (!mpData)
            return;
        ++mpData->miTotalCount;
        if (mpData->miRefCount != 0)
            ++mpData->miRefCount;
    }

    tSharedObjectData* mpData; ///< shared control block, null for a null handle
    T* mpObject;               ///< the object; meaningful only while the strong count is not 0
};

/// A weak watch: counts only in the total count, never keeps the object alive and
/// tells whether it still exists.
template <class T> class tSharedObjectWatch
{
public:
    tSharedObjectWatch() : mpData(nullptr), mpObject(nullptr) {}
    tSharedObjectWatch(const tSharedObject<T>& o)
        : mpData(o.controlBlock()), mpObject(o.rawPointer())
    {
        ref();
    }
    tSharedObjectWatch(const tSharedObjectWatch& o) : mpData(o.mpData), mpObject(o.mpObject)
    {
        ref();
    }
    ~tSharedObjectWatch() { release(); }

    tSharedObjectWatch& operator=(const tSharedObjectWatch& o)
    {
        tSharedObjectWatch oCopy(o);
        tSharedObjectData* pData = mpData;
        mpData = oCopy.mpData;
        oCopy.mpData = pData;
        T* pObject = mpObject;
        mpObject = oCopy.mpObject;
        oCopy.mpObject = pObject;
        return *this;
    }

    /// True while the watched object exists.
    bool valid() const { return mpData && mpData->miRefCount != 0; }
    bool isValid() const { return valid(); }
    /// The object, or null once it is gone.
    T* get() const { return valid() ? mpObject : nullptr; }
    /// A strong handle, null when the object is gone.
    tSharedObject<T> lock() const { return tSharedObject<T>(mpData, mpObject); }

    void release()
    {
        tSharedObjectData* pData = mpData;
        mpData = nullptr;
        mpObject = nullptr;
        if (pData && --pData->miTotalCount == 0)
            delete pData;
    }

private:
    void ref()
    {
        if (mpData)
            ++mpData->miTotalCount;
    }

    tSharedObjectData* mpData; ///< shared control block
    T* mpObject;               ///< not owned
};

} // namespace qstd

#endif // QOR_CORE_STD_SHAREDOBJECT_H
