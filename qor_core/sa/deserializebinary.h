// deserializebinary.h - cDeserializeBinary, the reader of the binary stream format.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_SA_DESERIALIZEBINARY_H
#define QOR_CORE_SA_DESERIALIZEBINARY_H

#include "qor_core/sa/abstractserializer.h"
#include "qor_core/sa/serializebinaryshared.h"
#include "qor_core/std/asciistring.h"
#include "qor_core/std/autoptr.h"

namespace qsa {

class cDeserializeBinary;

/// The bookkeeping of one context that a cDeserializeBinary has entered; owned by the
/// cContextRef (or cContext) that getContext() returned.
///
/// release() moves the reader behind the context, skipping what was left unread.
/// Destroying the data without release() moves the reader back to the context's type
/// id, so the context counts as not read. Either way the parent becomes current.
/// Closing an outer context while inner ones are open closes those too.
class QOR_EXPORT cSBinaryLoadContextData : public cAbstractContextData
{
public:
    ~cSBinaryLoadContextData() override;
    void release() override;
    /// Sets the read position to the start of the contents.
    void rewind() const;

protected:
    /// Closes the context as the destructor does and hands the object back to its
    /// reader for reuse.
    void destroy() override;

private:
    friend class cDeserializeBinary;
    cSBinaryLoadContextData(cDeserializeBinary& oDeserializer, cSBinaryLoadContextData* pParent);
    /// Prepares the object for a new context, as the constructor does.
    void reset(cDeserializeBinary& oDeserializer, cSBinaryLoadContextData* pParent);

    cDeserializeBinary* mpDeserializer; ///< not owned; null once the reader is gone
    cSBinaryLoadContextData* mpParent;  ///< not owned; current before this one
    /// Not owned: the neighbours among the context data the reader has handed out and
    /// that still live, open or closed, so that its end can detach them all.
    cSBinaryLoadContextData* mpPrevIssued;
    cSBinaryLoadContextData* mpNextIssued;
    piUInt32 miIdPos;      ///< the context's type id
    piUInt32 miOrigin;     ///< just after the id; the length counts from here
    piUInt32 miContentPos; ///< the first byte of the contents
    piUInt64 miLength;     ///< origin + length <= the enclosing end
    piUInt32 miEndPos;     ///< origin + length
    unsigned miDepth;      ///< 1 for a context at top level
    bool mbReleased;
    bool mbRestored; ///< no longer in the reader's chain of open contexts
};

/// Reads values from bytes in the binary format (see cSerializeBinaryShared).
///
/// The input is untrusted: every length and count is checked against the end of the
/// current context (or of the data) before anything is read or allocated, contexts
/// must lie inside their enclosing context, and at most kMaxContextDepth contexts can
/// be entered at once. A malformed item throws (cSAExceptions, cTypeMissmatchException)
/// and every load restores the read position to where the item began, labels in
/// front of it included. The caller's bytes must stay unchanged and alive while they
/// are read. Not thread safe.
class QOR_EXPORT cDeserializeBinary : public cAbstractDeserializer
{
public:
    /// Without data until setData().
    cDeserializeBinary();
    /// Reads the caller's bytes.
    explicit cDeserializeBinary(const qstd::tConstArrayRef<char>& oData);
    /// Takes the buffer over and reads it.
    explicit cDeserializeBinary(qstd::tAutoPtr<qstd::tArray<char>> pData);
    /// Every context data handed out and still alive, open or closed, is detached:
    /// its owner may still destroy it safely.
    ~cDeserializeBinary() override;
    cDeserializeBinary(const cDeserializeBinary&) = delete;
    cDeserializeBinary& operator=(const cDeserializeBinary&) = delete;

    /// Replaces the input; open contexts are closed and reading restarts at 0.
    void setData(const qstd::tConstArrayRef<char>& oData);

    using cAbstractDeserializer::load;
    /// Accepts ids 1 and 14; the array's size becomes the byte count.
    void loadBlock(qstd::tArray<char>& oData) override;
    void load(signed char& iValue) override;
    void load(unsigned char& iValue) override;
    /// id 17.
    void load(unsigned short& iValue) override;
    /// id 18.
    void load(short& iValue) override;
    void load(unsigned int& iValue) override;
    void load(int& iValue) override;
    void load(unsigned long long& iValue) override;
    void load(long long& iValue) override;
    void load(bool& bValue) override;
    void load(double& dValue) override;
    void load(qstd::cAsciiString& sValue) override;
    /// Accepts id 11 (code points) and id 16 (UTF-8).
    void load(qucs::cString& sValue) override;
    /// To the start of the current context's contents, or to 0 at top level.
    void rewind() override;
    /// True when only labels, or nothing, remain in the current context.
    bool eoc() const override;
    /// Copies the items from the read position to the end of the current context into
    /// oTarget through its own operations (nested contexts included; labels only when
    /// the target does not prefer to go without). The read position is unchanged.
    void reserialize(cAbstractSerializer& oTarget) override;
    /// The next item, after labels, is a context.
    bool isContext() override;
    /// The next item is a label.
    bool isLabel() override;
    /// Enters the next context. A null pTypeName accepts any; otherwise the stored
    /// name must equal it (cTypeMissmatchException "context <name>").
    cContextRef getContext(const char* pTypeName) override;
    /// The name stored in the next context, empty when it has none; does not move.
    qstd::cAsciiString getNextContextTypeName() override;
    /// The name of the next label; does not move.
    qstd::cAsciiString getNextLabelName() override;
    /// Leaves the innermost open context; does nothing at top level.
    void releaseCurrentContext() override;
    /// Moves just behind the label sName, searching from the read position to the end
    /// of the current context and then once from its start. Labels inside nested
    /// contexts are not seen. Throws cSAExceptions::throwLabelNotFound when missing.
    void findLabel(const qstd::cAsciiString& sName) override;
    /// As findLabel, but returns false (position unchanged) when the label is missing.
    bool tryFindLabel(const qstd::cAsciiString& sName) override;

    /// Skips the payload of an item whose id iId was just read.
    void skipType(piUInt32 iId);
    unsigned currentPos() const { return miPos; }
    /// The name of the last label passed over, empty when none.
    const qstd::cAsciiString& lastLabel() const { return msLastLabel; }

private:
    friend class cSBinaryLoadContextData;

    void adoptInput();
    /// Throws the end of context unless iCount bytes remain before the limit.
    void need(unsigned iCount) const
    {
        if (iCount > miLimit - miPos)
            throwEndOfContext();
    }
    [[noreturn]] static void throwEndOfContext();
    piUInt32 readUInt32();
    piUInt64 readUInt64();
    /// Reads an id, passing over labels, and checks it against iFirst and iSecond.
    piUInt32 expectTypeId(piUInt32 iFirst, piUInt32 iSecond, const char* pExpected);
    piUInt32 expectTypeId(piUInt32 iId)
    {
        return expectTypeId(iId, iId, cSerializeBinaryShared::idToString(iId));
    }
    /// Reads the cAsciiString item that follows a label id.
    void readLabelName(qstd::cAsciiString& sName);
    /// Reads an item header id that admits no labels in front.
    void expectRawId(piUInt32 iId);
    /// Reads a context's length item (id iContextId already read) and checks that the
    /// context ends inside the enclosing one. Returns the end position.
    piUInt32 readContextLength(piUInt32 iContextId, piUInt64& iLength);
    /// Enters the next context; see getContext.
    cSBinaryLoadContextData* openContext(const char* pTypeName, qstd::cAsciiString& sStoredName,
                                         bool& bHasName);
    bool scanForLabel(const qstd::cAsciiString& sName);
    bool trySeekToLabel(const qstd::cAsciiString& sName);
    void copyItems(cAbstractSerializer& oTarget);
    /// Position after the labels at iPos, or iPos itself at a malformed label.
    unsigned afterLabels(unsigned iPos) const;
    piUInt32 peekUInt32(unsigned iPos) const;
    void unlinkContext(cSBinaryLoadContextData* pData, bool bRelease);
    void setCurrent(cSBinaryLoadContextData* pData);
    /// Adds pData to the handed-out context data.
    void issue(cSBinaryLoadContextData* pData);
    /// Takes pData, which is ending, out of the handed-out context data.
    void forgetIssued(cSBinaryLoadContextData* pData);

    qstd::tConstArrayRef<char> moInput;              ///< the bytes read
    qstd::tAutoPtr<qstd::tArray<char>> mpOwnedInput; ///< owned; the input when taken over
    const char* mpBytes;                             ///< first byte of moInput, or null
    piUInt32 miSize;                                 ///< bytes in moInput
    piUInt32 miPos;                                  ///< read position; <= miLimit
    piUInt32 miLimit;                                ///< end of the current context or of the data
    cSBinaryLoadContextData* mpCurrent;              ///< not owned; innermost open context, or null
    cSBinaryLoadContextData* mpIssued; ///< not owned; the latest handed-out context data
    qstd::cAsciiString msLastLabel;    ///< the last label passed over
    cContextDataPool moSpareContexts;  ///< closed context data, reused by openContext()
};

} // namespace qsa

#endif // QOR_CORE_SA_DESERIALIZEBINARY_H
