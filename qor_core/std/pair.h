// pair.h - tPair, two values compared member-wise.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_PAIR_H
#define QOR_CORE_STD_PAIR_H

namespace qstd {

template <class A, class B> struct tPair
{
    tPair() : first(), second() {}
    tPair(const A& oFirst, const B& oSecond) : first(oFirst), second(oSecond) {}

    bool operator==(const tPair& o) const { return first == o.first && second == o.second; }
    bool operator!=(const tPair& o) const { return !(*this == o); }
    bool operator<(const tPair& o) const
    {
        return first < o.first || (!(o.first < first) && second < o.second);
    }

    A first;
    B second;
};

} // namespace qstd

#endif // QOR_CORE_STD_PAIR_H
