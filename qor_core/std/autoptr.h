// autoptr.h - tAutoPtr, the owning pointer returned by every factory.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_AUTOPTR_H
#define QOR_CORE_STD_AUTOPTR_H

#include "qor_core/std/pitypes.h"

namespace qstd {

/// How an owning pointer deletes what it holds.
class QOR_EXPORT tAutoPtrType
{
public:
    /// The fixed underlying type makes every 32-bit value a valid PointerType, as
    /// the values beyond the named ones (all of which mean borrowed) must be.
    enum PointerType : piUInt32
    {
        Single = 0,  ///< deleted with delete
        Array = 1,   ///< deleted with delete[]
        Borrowed = 2 ///< any other value: never deleted
    };

    /// Deletes p according to eType.
    template <class T> static void destroy(T* p, unsigned eType)
    {
        if (eType == Single)
            delete p;
        else if (eType == Array)
            delete[] p;
    }
};

/// Carries a released pointer and its type so that a temporary tAutoPtr can be
/// returned by value.
template <class T> struct tAutoPtrRef
{
    tAutoPtrRef(T* p, tAutoPtrType::PointerType eType) : mpPointer(p), meType(eType) {}
    T* mpPointer;
    tAutoPtrType::PointerType meType;
};

/// An owning pointer that knows how it must delete. Copying transfers ownership:
/// the source is empty afterwards (it keeps its pointer type) and must not be used
/// to reach the object again.
template <class T> class tAutoPtr
{
public:
    explicit tAutoPtr(T* p = nullptr, tAutoPtrType::PointerType eType = tAutoPtrType::Single)
        : mpPointer(p), meType(eType)
    {
    }
    tAutoPtr(tAutoPtr& oOther) : mpPointer(oOther.release()), meType(oOther.meType) {}
    tAutoPtr(tAutoPtr&& oOther) : mpPointer(oOther.release()), meType(oOther.meType) {}
    template <class U>
    tAutoPtr(tAutoPtr<U>& oOther) : mpPointer(oOther.release()), meType(oOther.pointerType())
    {
    }
    template <class U>
    tAutoPtr(tAutoPtr<U>&& oOther) : mpPointer(oOther.release()), meType(oOther.pointerType())
    {
    }
    tAutoPtr(tAutoPtrRef<T> oRef) : mpPointer(oRef.mpPointer), meType(oRef.meType) {}

    virtual ~tAutoPtr()
    {
        tAutoPtrType::destroy(mpPointer, meType);
        mpPointer = nullptr;
        meType = tAutoPtrType::Single;
    }

    tAutoPtr& operator=(tAutoPtr& oOther)
    {
        if (&oOther != this) {
            tAutoPtrType::PointerType eType = oOther.meType;
            reset(oOther.release(), eType);
        }
        return *this;
    }
    tAutoPtr& operator=(tAutoPtr&& oOther) { return *this = static_cast<tAutoPtr&>(oOther); }
    template <class U> tAutoPtr& operator=(tAutoPtr<U>& oOther)
    {
        tAutoPtrType::PointerType eType = oOther.pointerType();
        reset(oOther.release(), eType);
        return *this;
    }
    tAutoPtr& operator=(tAutoPtrRef<T> oRef)
    {
        reset(oRef.mpPointer, oRef.meType);
        return *this;
    }

    template <class U> operator tAutoPtrRef<U>()
    {
        tAutoPtrType::PointerType eType = meType;
        return tAutoPtrRef<U>(release(), eType);
    }

    /// Deletes the held object (unless it is p) according to the held type, then
    /// holds p with type eType.
    virtual void reinit(T* p, tAutoPtrType::PointerType eType = tAutoPtrType::Single)
    {
        if (mpPointer != p && mpPointer)
            tAutoPtrType::destroy(mpPointer, meType);
        mpPointer = p;
        meType = eType;
    }
    void reset(T* p = nullptr, tAutoPtrType::PointerType eType = tAutoPtrType::Single)
    {
        reinit(p, eType);
    }

    /// Gives the pointer away; the caller owns it.
    T* release()
    {
        T* p = mpPointer;
        mpPointer = nullptr;
        return p;
    }

    T* get() const { return mpPointer; }
    T* operator->() const { return mpPointer; }
    T& operator*() const { return *mpPointer; }
    T& operator[](unsigned iIndex) const { return mpPointer[iIndex]; }
    explicit operator bool() const { return mpPointer != nullptr; }
    bool null() const { return mpPointer == nullptr; }
    tAutoPtrType::PointerType pointerType() const { return meType; }

    void swap(tAutoPtr& oOther)
    {
        T* p = mpPointer;
        mpPointer = oOther.mpPointer;
        oOther.mpPointer = p;
        tAutoPtrType::PointerType e = meType;
        meType = oOther.meType;
        oOther.meType = e;
    }

private:
    T* mpPointer; ///< owned unless meType says borrowed
    tAutoPtrType::PointerType meType;
};

} // namespace qstd

#endif // QOR_CORE_STD_AUTOPTR_H
