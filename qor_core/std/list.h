// list.h - tList and tPtrList, doubly linked lists with sentinels, checked iterators
// and deferred erasure, and tConstListRef, iteration over a producer of elements.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_LIST_H
#define QOR_CORE_STD_LIST_H

#include "qor_core/std/autoptr.h"
#include "qor_core/std/stdexceptions.h"

namespace qstd {

/// Node base: the head and tail sentinels are plain base nodes.
template <class T> class tListElementNodeType;

template <class T> class tListNodeBaseType
{
public:
    enum
    {
        EraseLater = 1 ///< the node is swept after the current traversal
    };
    tListNodeBaseType() : mpPrev(nullptr), mpNext(nullptr), miFlags(0) {}
    virtual ~tListNodeBaseType() {}
    virtual bool isElementNode() const { return false; }
    /// This node as an element node, or null for a sentinel.
    virtual tListElementNodeType<T>* asElementNode() { return nullptr; }
    bool isMarkedForErase() const { return (miFlags & EraseLater) != 0; }

    tListNodeBaseType* mpPrev; ///< null for the head sentinel
    tListNodeBaseType* mpNext; ///< null for the tail sentinel
    unsigned char miFlags;
};

/// Node that carries an element, constructed by copy.
template <class T> class tListElementNodeType : public tListNodeBaseType<T>
{
public:
    explicit tListElementNodeType(const T& oElement) : moElement(oElement) {}
    bool isElementNode() const override { return true; }
    tListElementNodeType<T>* asElementNode() override { return this; }
    T moElement;
};

template <class T> class tList;

/// Iterator core: a node pointer whose moves are checked.
template <class T> class tIteratorBase
{
public:
    typedef tListNodeBaseType<T> tNode;

    explicit tIteratorBase(tNode* pNode = nullptr) : mpNode(pNode) {}

    tIteratorBase& operator++()
    {
        if (!mpNode || !mpNode->mpNext)
            cSTDExceptions::throwOutOfBounds("tList", "cIteratorBase::operator++()");
        mpNode = mpNode->mpNext;
        return *this;
    }
    tIteratorBase& operator--()
    {
        if (!mpNode || !mpNode->mpPrev)
            cSTDExceptions::throwOutOfBounds("tList", "cIteratorBase::operator--()");
        mpNode = mpNode->mpPrev;
        return *this;
    }
    bool operator==(const tIteratorBase& o) const { return mpNode == o.mpNode; }
    bool operator!=(const tIteratorBase& o) const { return mpNode != o.mpNode; }

    /// True when the iterator rests on an element (not on a sentinel or nowhere).
    bool isElement() const { return mpNode && mpNode->isElementNode(); }

    /// Marks the element for removal after the traversal; the node stays linked so
    /// that iterators resting on it remain valid.
    void eraseLater() { elementNode("iterator::eraseLater()")->miFlags |= tNode::EraseLater; }
    bool isMarkedForErase() const { return mpNode && mpNode->isMarkedForErase(); }

    tNode* node() const { return mpNode; }

protected:
    tListElementNodeType<T>* elementNode(const char* pOperation) const
    {
        tListElementNodeType<T>* pElement = mpNode ? mpNode->asElementNode() : nullptr;
        if (!pElement)
            cSTDExceptions::throwOutOfBounds("tList", pOperation);
        return pElement;
    }

    tNode* mpNode; ///< not owned
};

template <class T> class tIterator : public tIteratorBase<T>
{
public:
    explicit tIterator(tListNodeBaseType<T>* pNode = nullptr) : tIteratorBase<T>(pNode) {}
    T& operator*() const { return this->elementNode("tIterator::operator*()")->moElement; }
    T* operator->() const { return &**this; }
    tIterator& operator++()
    {
        tIteratorBase<T>::operator++();
        return *this;
    }
    tIterator& operator--()
    {
        tIteratorBase<T>::operator--();
        return *this;
    }
    tIterator operator++(int)
    {
        tIterator oOld(*this);
        ++*this;
        return oOld;
    }
};

template <class T> class tConstIterator : public tIteratorBase<T>
{
public:
    explicit tConstIterator(const tListNodeBaseType<T>* pNode = nullptr)
        : tIteratorBase<T>(const_cast<tListNodeBaseType<T>*>(pNode))
    {
    }
    tConstIterator(const tIterator<T>& oIt) : tIteratorBase<T>(oIt.node()) {}
    const T& operator*() const { return this->elementNode("iterator::operator*()")->moElement; }
    const T* operator->() const { return &**this; }
    tConstIterator& operator++()
    {
        tIteratorBase<T>::operator++();
        return *this;
    }
    tConstIterator& operator--()
    {
        tIteratorBase<T>::operator--();
        return *this;
    }
    tConstIterator operator++(int)
    {
        tConstIterator oOld(*this);
        ++*this;
        return oOld;
    }
};

/// A doubly linked list with head and tail sentinels, allocated at construction.
/// Iterator moves and dereferences are checked and throw cOutOfBoundsException
/// ("tList", ...). Code that walks the list while callbacks may change it marks
/// nodes with eraseLater() and calls sweep() once the walk is over.
template <class T> class tList
{
public:
    typedef tIterator<T> iterator;
    typedef tConstIterator<T> const_iterator;
    typedef tListNodeBaseType<T> tNode;
    typedef tListElementNodeType<T> tElementNode;

    tList() : mpHead(new tNode), mpTail(nullptr), miCount(0)
    {
        try {
            mpTail = new tNode;
        } catch (...) { // the destructor does not run for a constructor that throws
            delete mpHead;
            throw;
        }
        mpHead->mpNext = mpTail;
        mpTail->mpPrev = mpHead;
    }
    tList(const tList& oOther) : tList() { append_net(oOther); }
    virtual ~tList()
    {
        // Derived lists release their elements in their own destructor; here only
        // the nodes go.
        unlinkAll(false);
        delete mpHead;
        delete mpTail;
    }

    tList& operator=(const tList& oOther)
    {
        if (this != &oOther) {
            tList oCopy(oOther);
            swapNodes(oCopy);
        }
        return *this;
    }

    /// Called before an element node is destroyed.
    virtual void beforeNodeDestroy(tElementNode& /*oNode*/) const {}

    iterator start() { return iterator(mpHead); }
    iterator begin() { return iterator(mpHead->mpNext); }
    iterator end() { return iterator(mpTail); }
    iterator last() { return iterator(mpTail->mpPrev); }
    const_iterator start() const { return const_iterator(mpHead); }
    const_iterator begin() const { return const_iterator(mpHead->mpNext); }
    const_iterator end() const { return const_iterator(mpTail); }
    const_iterator last() const { return const_iterator(mpTail->mpPrev); }

    bool empty() const { return mpHead->mpNext == mpTail; }
    /// Elements linked, marked ones included.
    unsigned count() const { return miCount; }
    unsigned size() const { return miCount; }

    T& first() { return *begin(); }
    T& lastElement() { return *last(); }

    /// Inserts a copy of oElement before itBefore; returns an iterator on it.
    iterator insert(iterator itBefore, const T& oElement)
    {
        tNode* pBefore = itBefore.node();
        if (!pBefore || !pBefore->mpPrev)
            cSTDExceptions::throwOutOfBounds("tList", "insert(it)");
        return iterator(link(pBefore, new tElementNode(oElement)));
    }
    iterator append(const T& oElement)
    {
        return iterator(link(mpTail, new tElementNode(oElement)));
    }
    iterator push_back(const T& oElement) { return append(oElement); }
    iterator prepend(const T& oElement)
    {
        return iterator(link(mpHead->mpNext, new tElementNode(oElement)));
    }
    iterator push_front(const T& oElement) { return prepend(oElement); }

    /// Appends a copy of every element of oOther. oOther may be this list: the
    /// elements it held at the call are copied once, not the copies after them.
    void append_net(const tList& oOther)
    {
        const tNode* p = oOther.mpHead->mpNext;
        for (unsigned i = oOther.miCount; i > 0; --i, p = p->mpNext)
            append(static_cast<const tElementNode*>(p)->moElement);
    }

    /// Unlinks and destroys the element under it; returns an iterator on the next node.
    iterator erase(iterator it)
    {
        tElementNode* pNode = it.node() ? it.node()->asElementNode() : nullptr;
        if (!pNode)
            cSTDExceptions::throwOutOfBounds("tList", "erase(it)");
        tNode* pNext = pNode->mpNext;
        destroyNode(pNode);
        return iterator(pNext);
    }

    /// Removes the first element equal to oElement; returns whether one was found.
    bool remove(const T& oElement)
    {
        for (tNode* p = mpHead->mpNext; p != mpTail; p = p->mpNext) {
            if (static_cast<tElementNode*>(p)->moElement == oElement) {
                destroyNode(static_cast<tElementNode*>(p));
                return true;
            }
        }
        return false;
    }

    iterator find(const T& oElement)
    {
        for (tNode* p = mpHead->mpNext; p != mpTail; p = p->mpNext)
            if (static_cast<tElementNode*>(p)->moElement == oElement)
                return iterator(p);
        return end();
    }
    bool contains(const T& oElement) { return find(oElement) != end(); }

    /// Exchanges the positions of the two elements.
    void exchange(iterator itA, iterator itB)
    {
        if (!itA.isElement() || !itB.isElement())
            cSTDExceptions::throwOutOfBounds("tList", "exchange(it, it)");
        tNode* pA = itA.node();
        tNode* pB = itB.node();
        if (pA == pB)
            return;
        tNode* pNextA = pA->mpNext;
        tNode* pNextB = pB->mpNext;
        if (pNextA == pB) {
            unlink(pA);
            link(pNextB, pA);
        } else if (pNextB == pA) {
            unlink(pB);
            link(pNextA, pB);
        } else {
            unlink(pA);
            link(pNextB, pA);
            unlink(pB);
            link(pNextA, pB);
        }
    }

    /// Destroys every marked node; call when no traversal is running.
    void sweep()
    {
        tNode* p = mpHead->mpNext;
        while (p != mpTail) {
            tNode* pNext = p->mpNext;
            if (p->isMarkedForErase())
                destroyNode(static_cast<tElementNode*>(p));
            p = pNext;
        }
    }

    /// Destroys every element.
    void clear() { unlinkAll(true); }

    /// Exchanges the nodes of two lists.
    void swapNodes(tList& oOther)
    {
        tNode* p = mpHead;
        mpHead = oOther.mpHead;
        oOther.mpHead = p;
        p = mpTail;
        mpTail = oOther.mpTail;
        oOther.mpTail = p;
        unsigned i = miCount;
        miCount = oOther.miCount;
        oOther.miCount = i;
    }
    void swap(tList& oOther) { swapNodes(oOther); }

    bool operator==(const tList& oOther) const
    {
        const tNode* pA = mpHead->mpNext;
        const tNode* pB = oOther.mpHead->mpNext;
        for (; pA != mpTail && pB != oOther.mpTail; pA = pA->mpNext, pB = pB->mpNext)
            if (!(static_cast<const tElementNode*>(pA)->moElement ==
                  static_cast<const tElementNode*>(pB)->moElement))
                return false;
        return pA == mpTail && pB == oOther.mpTail;
    }

protected:
    tNode* link(tNode* pBefore, tNode* pNode)
    {
        pNode->mpPrev = pBefore->mpPrev;
        pNode->mpNext = pBefore;
        pBefore->mpPrev->mpNext = pNode;
        pBefore->mpPrev = pNode;
        ++miCount;
        return pNode;
    }
    void unlink(tNode* pNode)
    {
        pNode->mpPrev->mpNext = pNode->mpNext;
        pNode->mpNext->mpPrev = pNode->mpPrev;
        pNode->mpPrev = pNode->mpNext = nullptr;
        --miCount;
    }
    void destroyNode(tElementNode* pNode)
    {
        beforeNodeDestroy(*pNode);
        unlink(pNode);
        delete pNode;
    }
    /// Unlinks every node; bNotify calls beforeNodeDestroy for each.
    void unlinkAll(bool bNotify)
    {
        while (mpHead->mpNext != mpTail) {
            tElementNode* pNode = static_cast<tElementNode*>(mpHead->mpNext);
            if (bNotify)
                beforeNodeDestroy(*pNode);
            unlink(pNode);
            delete pNode;
        }
    }
    /// Unlinks the node under it without destroying its element's pointee.
    T detach(iterator it, const char* pOperation)
    {
        tElementNode* pNode = it.node() ? it.node()->asElementNode() : nullptr;
        if (!pNode)
            cSTDExceptions::throwOutOfBounds("tList", pOperation);
        T oElement = pNode->moElement;
        unlink(pNode);
        delete pNode;
        return oElement;
    }

    tNode* mpHead;    ///< owned sentinel
    tNode* mpTail;    ///< owned sentinel
    unsigned miCount; ///< linked element nodes
};

/// A list of pointers whose guard mode decides what happens to the pointee of a
/// destroyed or erased element: NoGuard leaves it, GuardSingle deletes it,
/// GuardArray deletes it as an array. take() hands a pointer out without deleting.
template <class T> class tPtrList : public tList<T*>
{
public:
    enum GuardMode
    {
        NoGuard = 0,
        GuardSingle = 1,
        GuardArray = 2
    };
    typedef typename tList<T*>::iterator iterator;

    explicit tPtrList(GuardMode eMode = NoGuard) : meGuardMode(eMode) {}
    ~tPtrList() override { this->clear(); }
    tPtrList(const tPtrList&) = delete;
    tPtrList& operator=(const tPtrList&) = delete;

    GuardMode guardMode() const { return meGuardMode; }
    void setGuardMode(GuardMode eMode) { meGuardMode = eMode; }

    void beforeNodeDestroy(tListElementNodeType<T*>& oNode) const override
    {
        if (meGuardMode == GuardSingle)
            delete oNode.moElement;
        else if (meGuardMode == GuardArray)
            delete[] oNode.moElement;
        oNode.moElement = nullptr;
    }

    /// Inserts the pointer of pObject before itBefore and takes it over.
    iterator guardedInsert(iterator itBefore, tAutoPtr<T> pObject)
    {
        iterator it = this->insert(itBefore, pObject.get());
        pObject.release();
        return it;
    }
    iterator guardedAppend(tAutoPtr<T> pObject) { return guardedInsert(this->end(), pObject); }

    /// Detaches the element under it and hands its pointer to the caller.
    T* take(iterator it) { return this->detach(it, "take()"); }

    /// Exchanges the nodes and the guard modes of two lists.
    void swapWithOwnership(tPtrList& oOther)
    {
        this->swapNodes(oOther);
        GuardMode eMode = meGuardMode;
        meGuardMode = oOther.meGuardMode;
        oOther.meGuardMode = eMode;
    }

    /// Takes over the elements and the guard mode of oOther, which is left empty.
    void moveFrom(tPtrList& oOther)
    {
        if (&oOther == this)
            return;
        this->clear();
        swapWithOwnership(oOther);
    }

private:
    GuardMode meGuardMode; ///< what happens to the pointees of destroyed elements
};

/// A producer of elements that tConstListRef iterates, such as a directory reader.
template <class E> class tConstListRefNode
{
public:
    typedef E element_type;
    virtual ~tConstListRefNode() {}
    /// Moves to the next element.
    virtual void setNext() = 0;
    virtual const E& element() const = 0;
    virtual bool isEnd() const = 0;
    /// An independent copy that continues from the same position.
    virtual tConstListRefNode<E>* createCopy() const = 0;
};

/// Iteration over what one producer yields. begin() iterates over a copy of the
/// producer, so iterations are independent; end() holds none.
template <class N> class tConstListRef
{
public:
    typedef typename N::element_type element_type;
    typedef tConstListRefNode<element_type> tProducer;

    class const_iterator
    {
    public:
        explicit const_iterator(tProducer* pProducer = nullptr) : mpProducer(pProducer) {}
        const_iterator(const const_iterator& o)
            : mpProducer(o.mpProducer ? o.mpProducer->createCopy() : nullptr)
        {
        }
        const_iterator& operator=(const const_iterator& o)
        {
            if (this != &o)
                mpProducer.reset(o.mpProducer ? o.mpProducer->createCopy() : nullptr);
            return *this;
        }
        const element_type& operator*() const
        {
            if (atEnd())
                cSTDExceptions::throwOutOfBounds("tConstListRef", "iterator::operator*()");
            return mpProducer->element();
        }
        const element_type* operator->() const { return &**this; }
        const_iterator& operator++()
        {
            if (atEnd())
                cSTDExceptions::throwOutOfBounds("tConstListRef", "cIteratorBase::operator++()");
            mpProducer->setNext();
            return *this;
        }
        bool atEnd() const { return !mpProducer || mpProducer->isEnd(); }
        bool operator==(const const_iterator& o) const
        {
            return (atEnd() && o.atEnd()) || mpProducer.get() == o.mpProducer.get();
        }
        bool operator!=(const const_iterator& o) const { return !(*this == o); }

    private:
        tAutoPtr<tProducer> mpProducer; ///< owned copy of the producer, null at the end
    };

    explicit tConstListRef(const tProducer& oProducer) : mpProducer(oProducer.createCopy()) {}
    tConstListRef(const tConstListRef& o) : mpProducer(o.mpProducer->createCopy()) {}
    tConstListRef& operator=(const tConstListRef& o)
    {
        if (this != &o)
            mpProducer.reset(o.mpProducer->createCopy());
        return *this;
    }

    const_iterator begin() const { return const_iterator(mpProducer->createCopy()); }
    const_iterator end() const { return const_iterator(); }

private:
    tAutoPtr<tProducer> mpProducer; ///< owned copy of the producer
};

} // namespace qstd

#endif // QOR_CORE_STD_LIST_H
