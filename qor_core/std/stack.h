// stack.h - tStack, a stack on top of tVector.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_STACK_H
#define QOR_CORE_STD_STACK_H

#include "qor_core/std/vector.h"

namespace qstd {

/// A stack of copies. miTopIdx counts the pushed elements; popping an empty stack is
/// an assertion failure.
template <class T> class tStack
{
public:
    tStack() : miTopIdx(0) {}

    void push(const T& oValue)
    {
        moElements.append(oValue);
        ++miTopIdx;
    }

    /// Removes the top element and returns a copy of it. When the copy throws, the
    /// stack is left unchanged.
    T pop()
    {
        QOR_ASSERT_TEXT(miTopIdx != 0, "miTopIdx");
        T oTop(moElements.at(miTopIdx - 1));
        moElements.remove(miTopIdx - 1);
        --miTopIdx;
        return oTop;
    }

    T& top()
    {
        QOR_ASSERT_TEXT(miTopIdx != 0, "miTopIdx");
        return moElements.at(miTopIdx - 1);
    }
    const T& top() const
    {
        QOR_ASSERT_TEXT(miTopIdx != 0, "miTopIdx");
        return moElements.at(miTopIdx - 1);
    }

    unsigned count() const { return miTopIdx; }
    bool empty() const { return miTopIdx == 0; }
    void clear()
    {
        moElements.clear();
        miTopIdx = 0;
    }

private:
    tVector<T> moElements;
    unsigned miTopIdx; ///< number of pushed elements
};

} // namespace qstd

#endif // QOR_CORE_STD_STACK_H
