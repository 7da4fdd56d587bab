// deserializebinary.cpp - cDeserializeBinary and cSBinaryLoadContextData.
// SPDX-License-Identifier: MIT
#include "qor_core/sa/deserializebinary.h"
#include "qor_core/sa/saexceptions.h"
#include "qor_core/std/exceptions.h"
#include "qor_core/ucs/endecutf8.h"
#include "qor_core/ucs/string.h"

#include <cstring>

namespace qsa {

namespace {

typedef cSerializeBinaryShared tIds;

inline piUInt32 getUInt32(const char* p)
{
    const unsigned char* q = reinterpret_cast<const unsigned char*>(p);
    return piUInt32(q[0]) | piUInt32(q[1]) << 8 | piUInt32(q[2]) << 16 | piUInt32(q[3]) << 24;
}

inline piUInt64 getUInt64(const char* p)
{
    return piUInt64(getUInt32(p)) | piUInt64(getUInt32(p + 4)) << 32;
}

/// Puts the read position back where an item began unless the item was read whole.
class cPositionGuard
{
public:
    explicit cPositionGuard(piUInt32& iPos) : mrPos(iPos), miSaved(iPos), mbKeep(false) {}
    ~cPositionGuard()
    {
        if (!mbKeep)
            mrPos = miSaved;
    }
    void keep() { mbKeep = true; }

private:
    piUInt32& mrPos;
    piUInt32 miSaved;
    bool mbKeep;
};

} // namespace

// The handed-out context data, open or closed, in a list of their own: inline, as
// every context enters and leaves it.
inline void cDeserializeBinary::issue(cSBinaryLoadContextData* pData)
{
    pData->mpPrevIssued = nullptr;
    pData->mpNextIssued = mpIssued;
    if (mpIssued)
        mpIssued->mpPrevIssued = pData;
    mpIssued = pData;
}

inline void cDeserializeBinary::forgetIssued(cSBinaryLoadContextData* pData)
{
    if (pData->mpPrevIssued)
        pData->mpPrevIssued->mpNextIssued = pData->mpNextIssued;
    else
        mpIssued = pData->mpNextIssued;
    if (pData->mpNextIssued)
        pData->mpNextIssued->mpPrevIssued = pData->mpPrevIssued;
    pData->mpPrevIssued = pData->mpNextIssued = nullptr;
}

// --- cSBinaryLoadContextData ----------------------------------------------------

cSBinaryLoadContextData::cSBinaryLoadContextData(cDeserializeBinary& oDeserializer,
                                                 cSBinaryLoadContextData* pParent)
{
    reset(oDeserializer, pParent);
}

void cSBinaryLoadContextData::reset(cDeserializeBinary& oDeserializer,
                                    cSBinaryLoadContextData* pParent)
{
    mpDeserializer = &oDeserializer;
    mpParent = pParent;
    mpPrevIssued = nullptr;
    mpNextIssued = nullptr;
    miIdPos = 0;
    miOrigin = 0;
    miContentPos = 0;
    miLength = 0;
    miEndPos = 0;
    miDepth = pParent ? pParent->miDepth + 1 : 1;
    mbReleased = false;
    mbRestored = false;
}

cSBinaryLoadContextData::~cSBinaryLoadContextData()
{
    if (!mpDeserializer)
        return;
    if (!mbRestored)
        mpDeserializer->unlinkContext(this, false);
    mpDeserializer->forgetIssued(this);
}

void cSBinaryLoadContextData::destroy()
{
    cDeserializeBinary* pDeserializer = mpDeserializer;
    if (!pDeserializer) {
        delete this;
        return;
    }
    if (!mbRestored)
        pDeserializer->unlinkContext(this, false);
    pDeserializer->forgetIssued(this);
    mpDeserializer = nullptr;
    pDeserializer->moSpareContexts.give(this);
}

void cSBinaryLoadContextData::release()
{
    if (mpDeserializer && !mbRestored)
        mpDeserializer->unlinkContext(this, true);
    mbReleased = true;
}

void cSBinaryLoadContextData::rewind() const
{
    if (mpDeserializer && !mbRestored)
        mpDeserializer->miPos = miContentPos;
}

// --- cDeserializeBinary -----------------------------------------------------------

cDeserializeBinary::cDeserializeBinary()
    : mpBytes(nullptr), miSize(0), miPos(0), miLimit(0), mpCurrent(nullptr), mpIssued(nullptr)
{
}

cDeserializeBinary::cDeserializeBinary(const qstd::tConstArrayRef<char>& oData)
    : moInput(oData), mpBytes(nullptr), miSize(0), miPos(0), miLimit(0), mpCurrent(nullptr),
      mpIssued(nullptr)
{
    adoptInput();
}

cDeserializeBinary::cDeserializeBinary(qstd::tAutoPtr<qstd::tArray<char>> pData)
    : mpOwnedInput(pData), mpBytes(nullptr), miSize(0), miPos(0), miLimit(0), mpCurrent(nullptr),
      mpIssued(nullptr)
{
    if (mpOwnedInput)
        moInput = qstd::tConstArrayRef<char>(*mpOwnedInput);
    adoptInput();
}

cDeserializeBinary::~cDeserializeBinary()
{
    // The open contexts are among them. Closed ones may live on in their owners too,
    // which must then neither close them here nor hand them back to the pool.
    cSBinaryLoadContextData* pNext;
    for (cSBinaryLoadContextData* p = mpIssued; p; p = pNext) {
        pNext = p->mpNextIssued;
        p->mpDeserializer = nullptr;
        p->mpPrevIssued = p->mpNextIssued = nullptr;
    }
}

void cDeserializeBinary::setData(const qstd::tConstArrayRef<char>& oData)
{
    for (cSBinaryLoadContextData* p = mpCurrent; p; p = p->mpParent)
        p->mbReleased = p->mbRestored = true;
    mpCurrent = nullptr;
    moInput = oData;
    adoptInput();
}

void cDeserializeBinary::adoptInput()
{
    miSize = moInput.length();
    mpBytes = miSize ? moInput.constData() : nullptr;
    miPos = 0;
    miLimit = miSize;
    msLastLabel.setSize(0);
}

void cDeserializeBinary::throwEndOfContext()
{
    cSAExceptions::throwEndOfContext();
}

// The helpers below are inline (and used only in this file) so that the exported
// class's calls to them are not routed through the symbol table.
inline piUInt32 cDeserializeBinary::readUInt32()
{
    need(4);
    piUInt32 iValue = getUInt32(mpBytes + miPos);
    miPos += 4;
    return iValue;
}

inline piUInt64 cDeserializeBinary::readUInt64()
{
    need(8);
    piUInt64 iValue = getUInt64(mpBytes + miPos);
    miPos += 8;
    return iValue;
}

inline piUInt32 cDeserializeBinary::peekUInt32(unsigned iPos) const
{
    return getUInt32(mpBytes + iPos);
}

void cDeserializeBinary::readLabelName(qstd::cAsciiString& sName)
{
    expectRawId(tIds::AsciiStringID);
    piUInt32 iLength = readUInt32();
    need(iLength);
    sName.setSize(iLength);
    if (iLength)
        std::memcpy(sName.begin(), mpBytes + miPos, iLength);
    miPos += iLength;
}

void cDeserializeBinary::expectRawId(piUInt32 iId)
{
    piUInt32 iFound = readUInt32();
    if (iFound != iId)
        cSAExceptions::throwTypeMissmatch(tIds::idToString(iFound), tIds::idToString(iId),
                                          msLastLabel);
}

inline piUInt32 cDeserializeBinary::expectTypeId(piUInt32 iFirst, piUInt32 iSecond,
                                                 const char* pExpected)
{
    for (;;) {
        piUInt32 iId = readUInt32();
        if (iId == iFirst || iId == iSecond)
            return iId;
        if (iId != tIds::LabelID)
            cSAExceptions::throwTypeMissmatch(tIds::idToString(iId), pExpected, msLastLabel);
        // Every label consumes at least 12 bytes, so this ends with the context.
        readLabelName(msLastLabel);
    }
}

void cDeserializeBinary::loadBlock(qstd::tArray<char>& oData)
{
    cPositionGuard oGuard(miPos);
    piUInt32 iId = expectTypeId(tIds::RawBytesID, tIds::RawBytes64ID, "block");
    piUInt64 iCount = iId == tIds::RawBytesID ? readUInt32() : readUInt64();
    if (iCount > miLimit - miPos)
        throwEndOfContext();
    oData.setSize(unsigned(iCount));
    if (iCount)
        std::memcpy(oData.begin(), mpBytes + miPos, unsigned(iCount));
    miPos += unsigned(iCount);
    oGuard.keep();
}

// The scalar loads: id, payload, and only then the target.
#define QOR_LOAD_SCALAR(TYPE, ID, BYTES, CONVERT)                                                  \
    void cDeserializeBinary::load(TYPE& oValue)                                                    \
    {                                                                                              \
        cPositionGuard oGuard(miPos);                                                              \
        expectTypeId(ID);                                                                          \
        need(BYTES);                                                                               \
        const char* p = mpBytes + miPos;                                                           \
        oValue = CONVERT;                                                                          \
        miPos += BYTES;                                                                            \
        oGuard.keep();                                                                             \
    }

QOR_LOAD_SCALAR(signed char, tIds::CharID, 1, (signed char)piChar(piUChar(p[0])))
QOR_LOAD_SCALAR(unsigned char, tIds::UCharID, 1, piUChar(p[0]))
QOR_LOAD_SCALAR(unsigned short, tIds::UInt16ID, 2,
                piUInt16(piUChar(p[0]) | piUInt16(piUChar(p[1])) << 8))
QOR_LOAD_SCALAR(short, tIds::Int16ID, 2,
                short(piInt16(piUInt16(piUChar(p[0]) | piUInt16(piUChar(p[1])) << 8))))
QOR_LOAD_SCALAR(unsigned int, tIds::UInt32ID, 4, getUInt32(p))
QOR_LOAD_SCALAR(int, tIds::Int32ID, 4, int(piInt32(getUInt32(p))))
QOR_LOAD_SCALAR(unsigned long long, tIds::UInt64ID, 8, getUInt64(p))
QOR_LOAD_SCALAR(long long, tIds::Int64ID, 8, (long long)piInt64(getUInt64(p)))
QOR_LOAD_SCALAR(bool, tIds::BoolID, 4, getUInt32(p) != 0)

#undef QOR_LOAD_SCALAR

void cDeserializeBinary::load(double& dValue)
{
    cPositionGuard oGuard(miPos);
    expectTypeId(tIds::DoubleID);
    piUInt64 iBits = readUInt64();
    std::memcpy(&dValue, &iBits, 8);
    oGuard.keep();
}

void cDeserializeBinary::load(qstd::cAsciiString& sValue)
{
    cPositionGuard oGuard(miPos);
    expectTypeId(tIds::AsciiStringID);
    piUInt32 iLength = readUInt32();
    need(iLength);
    sValue.setSize(iLength);
    if (iLength)
        std::memcpy(sValue.begin(), mpBytes + miPos, iLength);
    miPos += iLength;
    oGuard.keep();
}

void cDeserializeBinary::load(qucs::cString& sValue)
{
    cPositionGuard oGuard(miPos);
    piUInt32 iId = expectTypeId(tIds::StringUCS4ID, tIds::StringUTF8ID, "cString");
    piUInt32 iCount = readUInt32();
    if (iId == tIds::StringUCS4ID) {
        if (iCount > (miLimit - miPos) / 4)
            throwEndOfContext();
        sValue.setSize(iCount);
        for (piUInt32 i = 0; i < iCount; ++i, miPos += 4)
            sValue[i] = getUInt32(mpBytes + miPos);
    } else {
        need(iCount);
        qucs::cString sDecoded;
        if (iCount)
            qucs::cEnDecUTF8().decode(qstd::tConstArrayRef<char>(moInput, miPos, iCount), sDecoded);
        sValue.swap(sDecoded);
        miPos += iCount;
    }
    oGuard.keep();
}

void cDeserializeBinary::rewind()
{
    miPos = mpCurrent ? mpCurrent->miContentPos : 0;
}

unsigned cDeserializeBinary::afterLabels(unsigned iPos) const
{
    // A label is id 13, id 10, a length and the name: at least 12 bytes.
    while (miLimit - iPos >= 12 && peekUInt32(iPos) == tIds::LabelID &&
           peekUInt32(iPos + 4) == tIds::AsciiStringID) {
        piUInt32 iLength = peekUInt32(iPos + 8);
        if (iLength > miLimit - iPos - 12)
            break;
        iPos += 12 + iLength;
    }
    return iPos;
}

bool cDeserializeBinary::eoc() const
{
    return afterLabels(miPos) == miLimit;
}

bool cDeserializeBinary::isContext()
{
    unsigned iPos = afterLabels(miPos);
    if (miLimit - iPos < 4)
        return false;
    piUInt32 iId = peekUInt32(iPos);
    return iId == tIds::ContextID || iId == tIds::Context64ID;
}

bool cDeserializeBinary::isLabel()
{
    return miLimit - miPos >= 4 && peekUInt32(miPos) == tIds::LabelID;
}

piUInt32 cDeserializeBinary::readContextLength(piUInt32 iContextId, piUInt64& iLength)
{
    piUInt32 iOrigin = miPos;
    piUInt32 iLengthItem;
    if (iContextId == tIds::ContextID) {
        expectRawId(tIds::UInt32ID);
        iLength = readUInt32();
        iLengthItem = 8;
    } else {
        expectRawId(tIds::UInt64ID);
        iLength = readUInt64();
        iLengthItem = 12;
    }
    // The context covers at least its length item and stays inside its enclosure.
    if (iLength < iLengthItem || iLength > miLimit - iOrigin)
        throwEndOfContext();
    return iOrigin + piUInt32(iLength);
}

cSBinaryLoadContextData* cDeserializeBinary::openContext(const char* pTypeName,
                                                         qstd::cAsciiString& sStoredName,
                                                         bool& bHasName)
{
    if (mpCurrent && mpCurrent->miDepth >= tIds::kMaxContextDepth)
        cSAExceptions::throwContextsNestedTooDeep(tIds::kMaxContextDepth);
    cPositionGuard oGuard(miPos);
    piUInt32 iId = expectTypeId(tIds::ContextID, tIds::Context64ID, "context");
    piUInt32 iIdPos = miPos - 4;
    piUInt32 iOrigin = miPos;
    piUInt64 iLength = 0;
    piUInt32 iEnd = readContextLength(iId, iLength);
    // The header must lie inside the context itself.
    piUInt32 iOuterLimit = miLimit;
    miLimit = iEnd;
    try {
        expectRawId(tIds::BoolID);
        bHasName = readUInt32() != 0;
        sStoredName.setSize(0);
        if (bHasName)
            readLabelName(sStoredName);
    } catch (...) {
        miLimit = iOuterLimit;
        throw;
    }
    miLimit = iOuterLimit;
    if (pTypeName && !(bHasName && sStoredName == pTypeName)) {
        qstd::cAsciiString sAssigned("context ");
        sAssigned += sStoredName;
        qstd::cAsciiString sExpected("context ");
        sExpected += pTypeName;
        throw qstd::cTypeMissmatchException(sAssigned, sExpected);
    }
    cSBinaryLoadContextData* pData = static_cast<cSBinaryLoadContextData*>(moSpareContexts.take());
    if (pData)
        pData->reset(*this, mpCurrent);
    else
        pData = new cSBinaryLoadContextData(*this, mpCurrent);
    pData->miIdPos = iIdPos;
    pData->miOrigin = iOrigin;
    pData->miContentPos = miPos;
    pData->miLength = iLength;
    pData->miEndPos = iEnd;
    setCurrent(pData);
    issue(pData);
    oGuard.keep();
    return pData;
}

cContextRef cDeserializeBinary::getContext(const char* pTypeName)
{
    qstd::cAsciiString sStoredName;
    bool bHasName = false;
    return cContextRef(openContext(pTypeName, sStoredName, bHasName));
}

qstd::cAsciiString cDeserializeBinary::getNextContextTypeName()
{
    cPositionGuard oGuard(miPos);
    qstd::cAsciiString sLastLabel(msLastLabel);
    qstd::cAsciiString sName;
    bool bHasName = false;
    try {
        // Entered and dropped again: the guard then restores the position.
        cContextRef oPeek(openContext(nullptr, sName, bHasName));
    } catch (...) {
        msLastLabel = sLastLabel;
        throw;
    }
    msLastLabel = sLastLabel;
    return sName;
}

qstd::cAsciiString cDeserializeBinary::getNextLabelName()
{
    cPositionGuard oGuard(miPos);
    qstd::cAsciiString sName;
    expectRawId(tIds::LabelID);
    readLabelName(sName);
    return sName;
}

void cDeserializeBinary::setCurrent(cSBinaryLoadContextData* pData)
{
    mpCurrent = pData;
    miLimit = pData ? pData->miEndPos : miSize;
}

void cDeserializeBinary::releaseCurrentContext()
{
    if (mpCurrent)
        mpCurrent->release();
}

void cDeserializeBinary::unlinkContext(cSBinaryLoadContextData* pData, bool bRelease)
{
    cSBinaryLoadContextData* p = mpCurrent;
    while (p && p != pData)
        p = p->mpParent;
    if (!p) {
        // Already closed together with an outer context.
        pData->mbRestored = true;
        return;
    }
    // Contexts above pData close with it.
    for (;;) {
        cSBinaryLoadContextData* pInner = mpCurrent;
        pInner->mbRestored = true;
        if (pInner != pData)
            pInner->mbReleased = true;
        setCurrent(pInner->mpParent);
        if (pInner == pData)
            break;
    }
    miPos = bRelease ? pData->miEndPos : pData->miIdPos;
}

void cDeserializeBinary::skipType(piUInt32 iId)
{
    piUInt64 iSkip = 0;
    switch (iId) {
    case tIds::UCharID:
    case tIds::CharID:
        iSkip = 1;
        break;
    case tIds::UInt16ID:
    case tIds::Int16ID:
        iSkip = 2;
        break;
    case tIds::UInt32ID:
    case tIds::Int32ID:
    case tIds::BoolID:
        iSkip = 4;
        break;
    case tIds::UInt64ID:
    case tIds::Int64ID:
    case tIds::DoubleID:
        iSkip = 8;
        break;
    case tIds::RawBytesID:
    case tIds::AsciiStringID:
    case tIds::StringUTF8ID:
        iSkip = readUInt32();
        break;
    case tIds::StringUCS4ID:
        iSkip = 4ULL * readUInt32();
        break;
    case tIds::LabelID:
        readUInt32(); // the id of the name item
        iSkip = readUInt32();
        break;
    case tIds::RawBytes64ID:
        iSkip = readUInt64();
        break;
    case tIds::ContextID:
    case tIds::Context64ID: {
        // A nested context is passed as a whole, without looking inside.
        piUInt64 iLength = 0;
        miPos = readContextLength(iId, iLength);
        return;
    }
    default:
        return;
    }
    if (iSkip > miLimit - miPos)
        throwEndOfContext();
    miPos += piUInt32(iSkip);
}

bool cDeserializeBinary::scanForLabel(const qstd::cAsciiString& sName)
{
    while (miPos < miLimit) {
        piUInt32 iId = readUInt32();
        if (iId == tIds::LabelID) {
            readLabelName(msLastLabel);
            if (msLastLabel == sName)
                return true;
        } else if (iId > tIds::Int16ID) {
            cSAExceptions::throwInvalidTypeId(iId);
        } else {
            skipType(iId);
        }
    }
    return false;
}

bool cDeserializeBinary::trySeekToLabel(const qstd::cAsciiString& sName)
{
    cPositionGuard oGuard(miPos);
    if (scanForLabel(sName)) {
        oGuard.keep();
        return true;
    }
    rewind();
    if (scanForLabel(sName)) {
        oGuard.keep();
        return true;
    }
    return false;
}

void cDeserializeBinary::findLabel(const qstd::cAsciiString& sName)
{
    if (!trySeekToLabel(sName))
        cSAExceptions::throwLabelNotFound(sName);
}

bool cDeserializeBinary::tryFindLabel(const qstd::cAsciiString& sName)
{
    return trySeekToLabel(sName);
}

void cDeserializeBinary::copyItems(cAbstractSerializer& oTarget)
{
    while (miPos < miLimit) {
        need(4);
        piUInt32 iId = peekUInt32(miPos);
        switch (iId) {
        case tIds::InvalidID:
        case tIds::Invalid2ID:
            miPos += 4;
            break;
        case tIds::RawBytesID: {
            qstd::tArray<char> oBlock;
            loadBlock(oBlock);
            oTarget.storeBlock(oBlock.begin(), oBlock.length());
            break;
        }
#define QOR_COPY_VALUE(ID, TYPE)                                                                   \
    case ID: {                                                                                     \
        TYPE oValue;                                                                               \
        load(oValue);                                                                              \
        oTarget.store(oValue);                                                                     \
        break;                                                                                     \
    }
            QOR_COPY_VALUE(tIds::UCharID, unsigned char)
            QOR_COPY_VALUE(tIds::CharID, signed char)
            QOR_COPY_VALUE(tIds::UInt16ID, unsigned short)
            QOR_COPY_VALUE(tIds::Int16ID, short)
            QOR_COPY_VALUE(tIds::UInt32ID, unsigned int)
            QOR_COPY_VALUE(tIds::Int32ID, int)
            QOR_COPY_VALUE(tIds::UInt64ID, unsigned long long)
            QOR_COPY_VALUE(tIds::Int64ID, long long)
            QOR_COPY_VALUE(tIds::BoolID, bool)
            QOR_COPY_VALUE(tIds::DoubleID, double)
            QOR_COPY_VALUE(tIds::AsciiStringID, qstd::cAsciiString)
            QOR_COPY_VALUE(tIds::StringUCS4ID, qucs::cString)
            QOR_COPY_VALUE(tIds::StringUTF8ID, qucs::cString)
#undef QOR_COPY_VALUE
        case tIds::LabelID: {
            qstd::cAsciiString sName;
            miPos += 4;
            readLabelName(sName);
            if (!oTarget.noLabelsPreferred())
                oTarget.newLabel(sName);
            break;
        }
        case tIds::ContextID:
        case tIds::Context64ID: {
            qstd::cAsciiString sName;
            bool bHasName = false;
            cContext oSource(cContextRef(openContext(nullptr, sName, bHasName)));
            cContext oCopy(oTarget.newContext(bHasName ? sName.c_str() : nullptr));
            copyItems(oTarget);
            oCopy.release();
            oSource.release();
            break;
        }
        default:
            cSAExceptions::throwInvalidTypeId(iId);
        }
    }
}

void cDeserializeBinary::reserialize(cAbstractSerializer& oTarget)
{
    cPositionGuard oGuard(miPos);
    copyItems(oTarget);
}

} // namespace qsa
