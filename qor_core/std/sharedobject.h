// sharedobject.h - tSharedObject, a reference-counted handle with invalidation,
// and tSharedObjectWatch, a weak watch on it.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_SHAREDOBJECT_H
#define QOR_CORE_STD_SHAREDOBJECT_H

#include "qor_core/std/autoptr.h"

namespace qstd {

/// The control block shared by the handles and watches of one object. The counts
/// are plain integers: handles of one object belong to one thread.
///
/// An owned object is deleted by the function the block was made with, applied to
/// the pointer as it was handed over: as one object (through its destructor,
/// virtual or not) or as an array. No delete is compiled into the handles, which
/// may hold the object under a base type.
class QOR_EXPORT tSharedObjectData
{
public:
    /// A block for an object the handles never delete.
    explicit tSharedObjectData(bool bOwner)
        : mbOwner(bOwner), mpDelete(nullptr), mpOwned(nullptr), miRefCount(1), miTotalCount(1)
    {
    }
    /// A block owning pObject, which pDelete deletes.
    tSharedObjectData(void (*pDelete)(void*), void* pObject)
        : mbOwner(true), mpDelete(pDelete), mpOwned(pObject), miRefCount(1), miTotalCount(1)
    {
    }

    /// Throws the cBugException for a dereference of a null or invalidated handle.
    [[noreturn]] static void throwWrongSharedObjectDereference();

    /// Deletes the owned object, if the block owns one.
    void destroyObject() const
    {
        if (mbOwner && mpDelete)
            mpDelete(mpOwned);
    }
    template <class T> static void deleteSingle(void* pObject) { delete static_cast<T*>(pObject); }
    template <class T> static void deleteArray(void* pArray) { delete[] static_cast<T*>(pArray); }

    bool mbOwner;            ///< the object is deleted when the last strong reference goes
    void (*mpDelete)(void*); ///< deletes mpOwned; null when the block owns nothing
    void* mpOwned;           ///< the owned object as it was handed over; not a handle's pointer
    unsigned miRefCount;     ///< strong references; 0 once the object is invalidated
    unsigned miTotalCount;   ///< strong references plus watches; the block dies at 0
};

template <class T> class tSharedObjectWatch;

/// A reference-counted handle. The object is deleted (through its virtual
/// destructor, or as an array when it came as one in a tAutoPtr) when the last
/// strong handle goes, unless the handle was made from a reference or a borrowed
/// tAutoPtr. invalidateObject() ends the object's life early: every handle and
/// watch then reads as null, and dereferencing throws.
template <class T> class tSharedObject
{
public:
    tSharedObject() : mpData(nullptr), mpObject(nullptr) {}
    /// Owns p (deleted as one object); when the control block cannot be allocated, p
    /// is deleted and std::bad_alloc thrown.
    explicit tSharedObject(T* p) : mpData(nullptr), mpObject(p)
    {
        if (!p)
            return;
        try {
            mpData = new tSharedObjectData(&tSharedObjectData::deleteSingle<T>, p);
        } catch (...) {
            tSharedObjectData::deleteSingle<T>(p);
            throw;
        }
    }
    /// A handle that never deletes o.
    explicit tSharedObject(T& o) : mpData(new tSharedObjectData(false)), mpObject(&o) {}
    /// Takes the object over as the auto pointer held it: a single object or an array
    /// is owned (and deleted as such), a borrowed one never deleted.
    explicit tSharedObject(tAutoPtr<T> p) : mpData(nullptr), mpObject(nullptr)
    {
        if (p) {
            tAutoPtrType::PointerType eType = p.pointerType();
            if (eType == tAutoPtrType::Single)
                mpData = new tSharedObjectData(&tSharedObjectData::deleteSingle<T>, p.get());
            else if (eType == tAutoPtrType::Array)
                mpData = new tSharedObjectData(&tSharedObjectData::deleteArray<T>, p.get());
            else
                mpData = new tSharedObjectData(false);
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
        mpData = nullptr;
        mpObject = nullptr;
        if (!pData)
            return;
        // This handle's own share of the total count keeps the block alive while the
        // object's destructor runs (it may drop further handles of the same block).
        if (pData->miRefCount != 0 && --pData->miRefCount == 0)
            pData->destroyObject();
        releaseBlock(pData);
    }

    /// Deletes the object now (if owned); every handle and watch reads as null after.
    void invalidateObject()
    {
        if (!mpData || mpData->miRefCount == 0)
            return;
        mpData->miRefCount = 0;
        mpData->destroyObject(); // this handle keeps the block alive meanwhile
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
