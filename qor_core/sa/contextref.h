// contextref.h - the owners that keep a serializer context open: cContextRef and cContext.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_SA_CONTEXTREF_H
#define QOR_CORE_SA_CONTEXTREF_H

#include "qor_core/std/pitypes.h"

namespace qsa {

/// The bookkeeping of one open serializer or deserializer context. Destroying it
/// without release() discards the context (a writer drops what it wrote, a reader
/// moves back before the context).
class QOR_EXPORT cAbstractContextData
{
public:
    virtual ~cAbstractContextData();
    /// Completes the context.
    virtual void release() = 0;
};

/// Moves a context data pointer out of a temporary cContextRef.
struct cContextRefRef
{
    explicit cContextRefRef(cAbstractContextData* pData) : mpData(pData) {}
    cAbstractContextData* mpData; ///< owned by whoever takes it next
};

/// Owns one context data. Copying moves the pointer; the source becomes empty.
class QOR_EXPORT cContextRef
{
public:
    explicit cContextRef(cAbstractContextData* pData = nullptr) : mpData(pData) {}
    cContextRef(cContextRef& oOther) : mpData(oOther.mpData) { oOther.mpData = nullptr; }
    cContextRef(cContextRef&& oOther) : mpData(oOther.mpData) { oOther.mpData = nullptr; }
    cContextRef(cContextRefRef oRef) : mpData(oRef.mpData) {}
    ~cContextRef();
    cContextRef& operator=(cContextRef& oOther);

    /// Gives the pointer away and empties the reference; throws when already empty.
    cAbstractContextData* unguardImpl();
    operator cContextRefRef() { return cContextRefRef(unguardImpl()); }
    bool empty() const { return mpData == nullptr; }

private:
    cAbstractContextData* mpData; ///< owned
};

/// Keeps a context open for a block of code: release() completes it; leaving the
/// block without release() discards it.
class QOR_EXPORT cContext
{
public:
    cContext(cContextRef oRef);
    cContext(cContext& oOther);
    ~cContext();
    cContext& operator=(cContext& oOther);

    /// Completes the context.
    void release();
    /// Destroys the data, discarding the context unless it was released.
    void unset();
    /// Gives the pointer away without destroying it.
    cAbstractContextData* unguard();

private:
    cAbstractContextData* mpData; ///< owned
};

} // namespace qsa

#endif // QOR_CORE_SA_CONTEXTREF_H
