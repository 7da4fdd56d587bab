// ptrvector.h - tPtrVector, an owning vector of pointers.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_PTRVECTOR_H
#define QOR_CORE_STD_PTRVECTOR_H

#include "qor_core/std/autoptr.h"
#include "qor_core/std/vector.h"

namespace qstd {

/// A vector of pointers that deletes the pointees it removes, according to the
/// pointer type given at construction: Single deletes through the virtual
/// destructor, Array with delete[], any other value leaves the pointees alone.
/// Removing an element (remove, clear, resize, destruction) deletes its pointee.
template <class T> class tPtrVector : public tVector<T*>
{
public:
    explicit tPtrVector(tAutoPtrType::PointerType eType = tAutoPtrType::Single,
                        unsigned iElementsAhead = 10)
        : tVector<T*>(iElementsAhead), meType(eType)
    {
    }
    ~tPtrVector() override { this->clear(); }

    tPtrVector(const tPtrVector&) = delete;
    tPtrVector& operator=(const tPtrVector&) = delete;

    tAutoPtrType::PointerType pointerType() const { return meType; }
    void setPointerType(tAutoPtrType::PointerType eType) { meType = eType; }

    void notifyElementRemoved(T*& pElement) override
    {
        tAutoPtrType::destroy(pElement, meType);
        pElement = nullptr;
    }

    /// Appends the pointer held by pObject and takes it over.
    unsigned append(tAutoPtr<T> pObject)
    {
        unsigned iIndex = tVector<T*>::append(pObject.get());
        pObject.release();
        return iIndex;
    }
    using tVector<T*>::append;

    /// Detaches the pointer at iIndex and hands it to the caller without deleting it.
    T* take(unsigned iIndex)
    {
        T** pSlot = this->takeAt(iIndex);
        T* pElement = *pSlot;
        delete pSlot;
        return pElement;
    }

    /// Grows with null pointers or removes (and deletes) pointers at the end.
    void resize(unsigned iSize)
    {
        while (this->count() > iSize)
            this->remove(this->count() - 1);
        while (this->count() < iSize)
            tVector<T*>::append(nullptr);
    }
    void setSize(unsigned iSize) { resize(iSize); }

    void swap(tPtrVector& oOther)
    {
        tVector<T*>::swap(oOther);
        tAutoPtrType::PointerType eType = meType;
        meType = oOther.meType;
        oOther.meType = eType;
    }

private:
    tAutoPtrType::PointerType meType; ///< how removed pointees are deleted
};

} // namespace qstd

#endif // QOR_CORE_STD_PTRVECTOR_H
