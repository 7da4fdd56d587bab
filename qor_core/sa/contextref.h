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
    /// Ends the life of pData (null is fine) as its owner does: the context is
    /// discarded unless it was released, then the memory is freed, or kept by the
    /// reader or writer for its next context. delete does the same without the reuse.
    static void dispose(cAbstractContextData* pData)
    {
        if (pData)
            pData->destroy();
    }

protected:
    /// What dispose() does; the default deletes the object.
    virtual void destroy();
};

/// A few spent context data objects that a reader or writer keeps for its next
/// contexts, so that opening a context does not allocate every time. Owns what it
/// holds and deletes it when full and when destroyed.
class QOR_EXPORT cContextDataPool
{
public:
    cContextDataPool() : miCount(0) {}
    ~cContextDataPool();
    cContextDataPool(const cContextDataPool&) = delete;
    cContextDataPool& operator=(const cContextDataPool&) = delete;

    /// A kept object, or null; the caller owns it and must reset it.
    cAbstractContextData* take() { return miCount ? mapSpare[--miCount] : nullptr; }
    /// Keeps pData, whose context is already closed, or deletes it when full.
    void give(cAbstractContextData* pData)
    {
        if (miCount < kCapacity)
            mapSpare[miCount++] = pData;
        else
            delete pData;
    }

private:
    enum
    {
        kCapacity = 4
    };
    cAbstractContextData* mapSpare[kCapacity]; ///< owned, the first miCount
    unsigned miCount;
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
    ~cContextRef() { cAbstractContextData::dispose(mpData); }
    cContextRef& operator=(cContextRef& oOther);

    /// Gives the pointer away and empties the reference; throws when already empty.
    cAbstractContextData* unguardImpl();
    operator cContextRefRef() { return cContextRefRef(unguardImpl()); }
    bool empty() const { return mpData == nullptr; }

private:
    friend class cContext;
    cAbstractContextData* mpData; ///< owned
};

/// Keeps a context open for a block of code: release() completes it; leaving the
/// block without release() discards it.
class QOR_EXPORT cContext
{
public:
    cContext(cContextRef oRef) : mpData(oRef.mpData) { oRef.mpData = nullptr; }
    cContext(cContext& oOther) : mpData(oOther.unguard()) {}
    ~cContext() { cAbstractContextData::dispose(mpData); }
    cContext& operator=(cContext& oOther);

    /// Completes the context.
    void release()
    {
        if (mpData)
            mpData->release();
    }
    /// Ends the data, discarding the context unless it was released.
    void unset()
    {
        cAbstractContextData* pData = mpData;
        mpData = nullptr;
        cAbstractContextData::dispose(pData);
    }
    /// Gives the pointer away without ending it.
    cAbstractContextData* unguard()
    {
        cAbstractContextData* pData = mpData;
        mpData = nullptr;
        return pData;
    }

private:
    cAbstractContextData* mpData; ///< owned
};

} // namespace qsa

#endif // QOR_CORE_SA_CONTEXTREF_H
