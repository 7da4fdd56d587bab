// parentwatch.h - tParentWatch, a tree of watched objects.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_PARENTWATCH_H
#define QOR_CORE_STD_PARENTWATCH_H

#include "qor_core/std/list.h"

namespace qstd {

/// A node of a tree of watched objects (parent and child works, for example). A
/// watch does not own its object, its parent or its children; the owner of the
/// objects calls unlinkAndReparentChildren() before a watch goes away. The
/// destructor does so as well, so that no other watch keeps a dangling link.
template <class T> class tParentWatch
{
public:
    explicit tParentWatch(T* pObject = nullptr) : mpParent(nullptr), mpObject(pObject) {}
    ~tParentWatch() { unlinkAndReparentChildren(); }
    tParentWatch(const tParentWatch&) = delete;
    tParentWatch& operator=(const tParentWatch&) = delete;

    T& object() const
    {
        QOR_ASSERT_TEXT(mpObject != nullptr, "mpObject != 0");
        return *mpObject;
    }
    void setObject(T* pObject) { mpObject = pObject; }
    tParentWatch* parent() const { return mpParent; }
    const tList<tParentWatch*>& children() const { return moChildren; }

    /// Makes this watch a child of pParent (appended last); null detaches it.
    void setParent(tParentWatch* pParent)
    {
        if (mpParent)
            mpParent->moChildren.remove(this);
        mpParent = pParent;
        if (pParent)
            pParent->moChildren.append(this);
    }
    void addChild(tParentWatch& oChild) { oChild.setParent(this); }

    /// Takes this watch out of the tree. Without a parent the children become roots;
    /// with one, the children move to the end of the parent's children in order.
    void unlinkAndReparentChildren()
    {
        if (mpParent)
            mpParent->moChildren.remove(this);
        for (typename tList<tParentWatch*>::iterator it = moChildren.begin();
             it != moChildren.end(); ++it) {
            (*it)->mpParent = mpParent;
            if (mpParent)
                mpParent->moChildren.append(*it);
        }
        moChildren.clear();
        mpParent = nullptr;
    }

private:
    tParentWatch* mpParent;          ///< not owned; null for a root
    tList<tParentWatch*> moChildren; ///< not owned, in the order they were added
    T* mpObject;                     ///< not owned
};

} // namespace qstd

#endif // QOR_CORE_STD_PARENTWATCH_H
