// constcstringref.h - cConstCStringRef, a read-only array view of a C string.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_CONSTCSTRINGREF_H
#define QOR_CORE_STD_CONSTCSTRINGREF_H

#include "qor_core/std/arrayproxy.h"
#include "qor_core/std/bounds.h"

namespace qstd {

/// A read-only proxy onto a zero-terminated string it does not own; the string
/// must outlive the view. The terminator is not part of the view.
class QOR_EXPORT cConstCStringRef : public tAbstractConstArrayProxy<char>
{
public:
    /// Measures the string; null is the assertion "mpCStyleStringRef != 0".
    explicit cConstCStringRef(const char* pString);
    cConstCStringRef(const char* pString, unsigned iLength);
    ~cConstCStringRef() override;

    const char& operator[](unsigned iIndex) const;
    const char& proxyAt(unsigned iIndex) const override { return (*this)[iIndex]; }
    unsigned proxyLength() const override { return miLength; }
    void proxyCopyPartTo(char* pTarget, unsigned iStart, unsigned iCount) const override;
    const char* proxyProvideData(unsigned iStart, unsigned iCount) const override;
    unsigned proxyPreferredBlockSize() const override { return 0; }
    const tAbstractConstArrayProxy<char>* constProxyPhysical(unsigned& iOffset) const override
    {
        iOffset = 0;
        return this;
    }
    unsigned length() const { return miLength; }
    const char* c_str() const { return mpCStyleStringRef; }

private:
    const char* mpCStyleStringRef; ///< not owned
    unsigned miLength;
};

} // namespace qstd

#endif // QOR_CORE_STD_CONSTCSTRINGREF_H
