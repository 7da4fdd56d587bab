// serializebinary.h - cSerializeBinary, the writer of the binary stream format.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_SA_SERIALIZEBINARY_H
#define QOR_CORE_SA_SERIALIZEBINARY_H

#include "qor_core/sa/abstractserializer.h"
#include "qor_core/sa/serializebinaryshared.h"

namespace qsa {

class cAbstractTypeReference;
class cSerializeBinary;

/// The bookkeeping of one context that a cSerializeBinary is writing; owned by the
/// cContextRef (or cContext) that newContext() returned.
///
/// release() completes the context by overwriting its length placeholder. Destroying
/// the data without release() discards the context: the write position goes back to
/// the context's type id and the parent becomes current again. Contexts are meant to
/// be closed innermost first; releasing an outer context first releases the inner
/// ones, and discarding it discards them too (their owners then find them closed).
class QOR_EXPORT cSBinaryStoreContextData : public cAbstractContextData
{
public:
    ~cSBinaryStoreContextData() override;
    void release() override;
    /// Sets the write position to the start of the contents.
    void rewind() const;

protected:
    /// Closes the context as the destructor does and hands the object back to its
    /// serializer for reuse.
    void destroy() override;

private:
    friend class cSerializeBinary;
    cSBinaryStoreContextData(cSerializeBinary& oSerializer, cSBinaryStoreContextData* pParent,
                             piUInt32 iBeginPos);
    /// Prepares the object for a new context, as the constructor does.
    void reset(cSerializeBinary& oSerializer, cSBinaryStoreContextData* pParent,
               piUInt32 iBeginPos);
    /// Writes the length and leaves the context; the context must be current.
    void complete();

    cSerializeBinary* mpSerializer;     ///< not owned; null once the serializer is gone
    cSBinaryStoreContextData* mpParent; ///< not owned; current before this one
    /// Not owned: the neighbours among the context data the serializer has handed out
    /// and that still live, open or closed, so that its end can detach them all.
    cSBinaryStoreContextData* mpPrevIssued;
    cSBinaryStoreContextData* mpNextIssued;
    piUInt32 miBeginPos;   ///< where the type id of the context starts
    piUInt32 miLengthPos;  ///< the first byte of the length item
    piUInt32 miContentPos; ///< the first byte of the contents
    piUInt32 miEndPos;     ///< set by release()
    bool mbReleased;
    bool mbRestored; ///< no longer in the serializer's chain of open contexts
};

/// Writes values into a byte array in the binary format (see cSerializeBinaryShared).
///
/// Writing happens at the write position: bytes inside the buffer are overwritten,
/// at the end the buffer grows. rewind() and discarded contexts therefore leave
/// stale bytes behind the position, which data() cuts off. Every store restores the
/// write position when it fails, so a failed item leaves no partial bytes counted.
/// Prefer-no-labels is set by both constructors. Not thread safe.
class QOR_EXPORT cSerializeBinary : public cAbstractSerializer
{
public:
    /// How store(const qucs::cString&) writes a Unicode string.
    enum StringStoreMode : unsigned
    {
        StoreUCS4 = 0, ///< id 11, four bytes per character
        StoreUTF8 = 1  ///< id 16, UTF-8
    };

    /// Writes into the own buffer.
    cSerializeBinary();
    /// Writes into the caller's array through oTarget, starting at its beginning; the
    /// array must outlive the serializer.
    explicit cSerializeBinary(const qstd::tArrayRef<char>& oTarget);
    /// Every context data handed out and still alive, open or closed, is detached:
    /// its owner may still destroy it safely.
    ~cSerializeBinary() override;
    cSerializeBinary(const cSerializeBinary&) = delete;
    cSerializeBinary& operator=(const cSerializeBinary&) = delete;

    using cAbstractSerializer::store;
    /// id 1 with a 32-bit count; a size of 0xFFFFFFFF is written as id 14 with a
    /// 64-bit count. The block may lie in the buffer written, even where the item
    /// goes.
    void storeBlock(const char* pData, unsigned iSize) override;
    void store(unsigned char iValue) override;
    void store(signed char iValue) override;
    /// id 17.
    void store(unsigned short iValue) override;
    /// id 18.
    void store(short iValue) override;
    void store(unsigned int iValue) override;
    void store(int iValue) override;
    void store(unsigned long long iValue) override;
    void store(long long iValue) override;
    void store(bool bValue) override;
    void store(double dValue) override;
    void store(const qstd::cAsciiString& sValue) override;
    /// Writes according to stringStoreMode(); another mode writes nothing.
    void store(const qucs::cString& sValue) override;
    /// To the start of the current context's contents, or to 0 at top level.
    void rewind() override;
    /// Empties the buffer; throws cBugException while a context is open.
    void clear() override;
    /// Writes the context header with a length placeholder; pTypeName may be null.
    cContextRef newContext(const char* pTypeName) override;
    /// Completes the innermost open context; does nothing at top level.
    void releaseCurrentContext() override;
    void newLabel(const qstd::cAsciiString& sName) override;
    /// Cuts the buffer to the write position and returns it; throws cBugException
    /// while a context is open.
    qstd::tArrayRef<char> data() override;
    /// Exchanges the own buffer with oData and sets the position to 0.
    void swapData(qstd::tArray<char>& oData) override;

    /// Writes the referenced value at iPos; cOutOfBoundsException when iPos lies beyond the buffer.
    /// The write position stays behind the patch when that ends beyond it, otherwise
    /// it returns to where it was.
    void patch(unsigned iPos, cAbstractTypeReference& oReference);
    unsigned currentPos() const { return miPos; }
    qstd::tArray<char>& ownData() { return moOwnData; }
    void setStringStoreMode(StringStoreMode eMode) { meStringStoreMode = eMode; }
    StringStoreMode stringStoreMode() const { return meStringStoreMode; }
    /// True while a context is open.
    bool hasOpenContexts() const { return mpCurrent != nullptr; }

private:
    friend class cSBinaryStoreContextData;

    /// True when iCount bytes at iPos lie inside the own buffer's length and the own
    /// buffer is the one written.
    bool fitsInOwnData(piUInt32 iPos, unsigned iCount) const;
    /// Room for iCount bytes at the write position, which then moves behind them.
    char* claim(unsigned iCount);
    /// claim() when the buffer must grow, or is the caller's array.
    char* claimGrowing(unsigned iCount);
    /// Id plus a payload of up to 8 little-endian bytes of iValue.
    void writeScalar(piUInt32 iId, piUInt64 iValue, unsigned iBytes);
    /// Writes the length item of a context at iPos; the write position stays.
    void overwriteLength(piUInt32 iPos, piUInt32 iLength);
    /// writeScalar() when the buffer must grow, or is the caller's array.
    void writeScalarGrowing(piUInt32 iId, piUInt64 iValue, unsigned iBytes);
    void writeAsciiItem(const char* pData, unsigned iLength);
    /// Writes a context header for pData, which goes back to the spare objects when
    /// that fails.
    void writeContextHeader(cSBinaryStoreContextData* pData, const char* pTypeName);
    /// The length of the own buffer or of the caller's array.
    unsigned bufferLength() const;
    /// Takes pData and the contexts above it out of the chain of open contexts.
    void unlinkContext(cSBinaryStoreContextData* pData, bool bComplete);
    /// Adds pData to the handed-out context data.
    void issue(cSBinaryStoreContextData* pData);
    /// Takes pData, which is ending, out of the handed-out context data.
    void forgetIssued(cSBinaryStoreContextData* pData);
    /// The first byte of the buffer written, or null while it is empty.
    const char* bufferData() const;

    qstd::tArray<char> moOwnData;        ///< used unless a caller's array was given
    qstd::tArrayRef<char> moTarget;      ///< the caller's array; empty otherwise
    bool mbExternal;                     ///< writes go to moTarget
    piUInt32 miPos;                      ///< write position; never beyond the buffer
    cSBinaryStoreContextData* mpCurrent; ///< not owned; innermost open context, or null
    cSBinaryStoreContextData* mpIssued;  ///< not owned; the latest handed-out context data
    StringStoreMode meStringStoreMode;
    cContextDataPool moSpareContexts; ///< closed context data, reused by newContext()
};

} // namespace qsa

#endif // QOR_CORE_SA_SERIALIZEBINARY_H
