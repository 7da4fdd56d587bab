// serializebinary.cpp - cSerializeBinary and cSBinaryStoreContextData.
// SPDX-License-Identifier: MIT
#include "qor_core/sa/serializebinary.h"
#include "qor_core/sa/saexceptions.h"
#include "qor_core/sa/typereference.h"
#include "qor_core/std/asciistring.h"
#include "qor_core/std/stdexceptions.h"
#include "qor_core/ucs/endecutf8.h"
#include "qor_core/ucs/string.h"

#include <cstdint>
#include <cstring>

namespace qsa {

namespace {

/// Writes the iBytes low bytes of iValue, least significant first.
inline void putLittleEndian(char* pTarget, piUInt64 iValue, unsigned iBytes)
{
    for (unsigned i = 0; i < iBytes; ++i) {
        pTarget[i] = char(iValue & 0xffu);
        iValue >>= 8;
    }
}

/// A fixed width. On a little-endian processor the value's own bytes are already
/// in stream order and go in with one store; elsewhere they are written one by one.
template <unsigned N> inline void putFixed(char* pTarget, piUInt64 iValue)
{
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    if (N == 8) {
        std::memcpy(pTarget, &iValue, 8);
        return;
    }
    if (N == 4) {
        piUInt32 iWord = piUInt32(iValue);
        std::memcpy(pTarget, &iWord, 4);
        return;
    }
#endif
    for (unsigned i = 0; i < N; ++i) {
        pTarget[i] = char(iValue & 0xffu);
        iValue >>= 8;
    }
}

/// The size of an item with a payload of iPayload bytes, refusing what exceeds the
/// 32-bit positions of the buffer.
inline unsigned itemSize(unsigned long long iPayload)
{
    unsigned long long iSize = 4 + iPayload;
    if (iSize > 0xffffffffULL)
        qstd::cSTDExceptions::throwOutOfBounds("cSerializeBinary", "store");
    return unsigned(iSize);
}

typedef cSerializeBinaryShared tIds;

/// The capacity step of the own buffer, 256 bytes: it starts with room for a few
/// records and grows in steps that claim() can fill without reallocating.
const unsigned kOwnGrowStep = 8;

/// Context id, length item and the bool item of "no type name".
const unsigned kUnnamedContextHeader = 20;

} // namespace

// The handed-out context data, open or closed, in a list of their own: inline, as
// every context enters and leaves it.
inline void cSerializeBinary::issue(cSBinaryStoreContextData* pData)
{
    pData->mpPrevIssued = nullptr;
    pData->mpNextIssued = mpIssued;
    if (mpIssued)
        mpIssued->mpPrevIssued = pData;
    mpIssued = pData;
}

inline void cSerializeBinary::forgetIssued(cSBinaryStoreContextData* pData)
{
    if (pData->mpPrevIssued)
        pData->mpPrevIssued->mpNextIssued = pData->mpNextIssued;
    else
        mpIssued = pData->mpNextIssued;
    if (pData->mpNextIssued)
        pData->mpNextIssued->mpPrevIssued = pData->mpPrevIssued;
    pData->mpPrevIssued = pData->mpNextIssued = nullptr;
}

// --- cSBinaryStoreContextData -------------------------------------------------

cSBinaryStoreContextData::cSBinaryStoreContextData(cSerializeBinary& oSerializer,
                                                   cSBinaryStoreContextData* pParent,
                                                   piUInt32 iBeginPos)
{
    reset(oSerializer, pParent, iBeginPos);
}

void cSBinaryStoreContextData::reset(cSerializeBinary& oSerializer,
                                     cSBinaryStoreContextData* pParent, piUInt32 iBeginPos)
{
    mpSerializer = &oSerializer;
    mpParent = pParent;
    mpPrevIssued = nullptr;
    mpNextIssued = nullptr;
    miBeginPos = iBeginPos;
    miLengthPos = iBeginPos + 4;
    miContentPos = 0;
    miEndPos = 0;
    mbReleased = false;
    mbRestored = false;
}

cSBinaryStoreContextData::~cSBinaryStoreContextData()
{
    if (!mpSerializer)
        return;
    if (!mbRestored)
        mpSerializer->unlinkContext(this, false);
    mpSerializer->forgetIssued(this);
}

void cSBinaryStoreContextData::destroy()
{
    cSerializeBinary* pSerializer = mpSerializer;
    if (!pSerializer) {
        delete this;
        return;
    }
    if (!mbRestored)
        pSerializer->unlinkContext(this, false);
    pSerializer->forgetIssued(this);
    mpSerializer = nullptr;
    pSerializer->moSpareContexts.give(this);
}

void cSBinaryStoreContextData::rewind() const
{
    if (mpSerializer)
        mpSerializer->miPos = miContentPos;
}

inline void cSBinaryStoreContextData::complete()
{
    cSerializeBinary& s = *mpSerializer;
    if (!mbReleased) {
        miEndPos = s.miPos;
        s.overwriteLength(miLengthPos, miEndPos - miLengthPos);
        mbReleased = true;
    }
    mbRestored = true;
    s.mpCurrent = mpParent;
}

void cSBinaryStoreContextData::release()
{
    if (mpSerializer && !mbRestored)
        mpSerializer->unlinkContext(this, true);
    mbReleased = true;
}

// --- cSerializeBinary -----------------------------------------------------------

cSerializeBinary::cSerializeBinary()
    : mbExternal(false), miPos(0), mpCurrent(nullptr), mpIssued(nullptr),
      meStringStoreMode(StoreUCS4)
{
    setPreferNoLabels(true);
    // data() cuts the buffer at every call; keep the pool for the next round.
    moOwnData.setFitOnErase(false);
    moOwnData.setGrowStep(kOwnGrowStep);
}

cSerializeBinary::cSerializeBinary(const qstd::tArrayRef<char>& oTarget)
    : moTarget(oTarget), mbExternal(true), miPos(0), mpCurrent(nullptr), mpIssued(nullptr),
      meStringStoreMode(StoreUCS4)
{
    setPreferNoLabels(true);
    moOwnData.setFitOnErase(false);
    moOwnData.setGrowStep(kOwnGrowStep);
}

cSerializeBinary::~cSerializeBinary()
{
    // The open contexts are among them. Released ones may live on in their owners too,
    // which must then neither close them here nor hand them back to the pool.
    cSBinaryStoreContextData* pNext;
    for (cSBinaryStoreContextData* p = mpIssued; p; p = pNext) {
        pNext = p->mpNextIssued;
        p->mpSerializer = nullptr;
        p->mpPrevIssued = p->mpNextIssued = nullptr;
    }
}

unsigned cSerializeBinary::bufferLength() const
{
    return mbExternal ? moTarget.length() : moOwnData.length();
}

const char* cSerializeBinary::bufferData() const
{
    if (mbExternal) {
        unsigned iLength = moTarget.length();
        return iLength ? moTarget.proxyProvideData(0, iLength) : nullptr;
    }
    return moOwnData.length() ? moOwnData.begin() : nullptr;
}

// The helpers below are inline (and used only in this file) so that the exported
// class's calls to them are not routed through the symbol table.
inline bool cSerializeBinary::fitsInOwnData(piUInt32 iPos, unsigned iCount) const
{
    // The sum in 64 bits cannot wrap. The own buffer of a serializer writing to the
    // caller's array is normally empty, so the length test goes first.
    return __builtin_expect(piUInt64(iPos) + iCount <= moOwnData.length() && !mbExternal, 1);
}

inline char* cSerializeBinary::claim(unsigned iCount)
{
    if (fitsInOwnData(miPos, iCount)) {
        char* pTarget = moOwnData.begin() + miPos;
        miPos += iCount;
        return pTarget;
    }
    return claimGrowing(iCount);
}

char* cSerializeBinary::claimGrowing(unsigned iCount)
{
    unsigned iEnd = miPos + iCount;
    if (iEnd < miPos)
        qstd::cSTDExceptions::throwOutOfBounds("cSerializeBinary", "store");
    char* pTarget;
    if (!mbExternal) {
        unsigned iLength = moOwnData.length();
        if (iEnd > iLength)
            moOwnData.appendElements(iEnd - iLength);
        pTarget = moOwnData.begin() + miPos;
    } else {
        unsigned iLength = moTarget.length();
        if (iEnd > iLength)
            moTarget.proxyInsertDefaultObjects(iLength, iEnd - iLength);
        pTarget = moTarget.proxyProvideWriteableData(miPos, iCount);
    }
    miPos = iEnd;
    return pTarget;
}

namespace {

/// Id plus a payload of iBytes (1, 2, 4 or 8) little-endian bytes of iValue.
inline void putScalar(char* p, piUInt32 iId, piUInt64 iValue, unsigned iBytes)
{
    putFixed<4>(p, iId);
    switch (iBytes) {
    case 1:
        putFixed<1>(p + 4, iValue);
        break;
    case 2:
        putFixed<2>(p + 4, iValue);
        break;
    case 4:
        putFixed<4>(p + 4, iValue);
        break;
    default:
        putFixed<8>(p + 4, iValue);
        break;
    }
}

/// memcpy for the short texts that names and labels mostly are: up to 16 bytes go
/// in with two overlapping word copies instead of a library call.
inline void copyBytes(char* pTarget, const char* pSource, unsigned iCount)
{
    if (iCount >= 8 && iCount <= 16) {
        std::memcpy(pTarget, pSource, 8);
        std::memcpy(pTarget + iCount - 8, pSource + iCount - 8, 8);
    } else if (iCount >= 4 && iCount < 8) {
        std::memcpy(pTarget, pSource, 4);
        std::memcpy(pTarget + iCount - 4, pSource + iCount - 4, 4);
    } else if (iCount) {
        std::memcpy(pTarget, pSource, iCount);
    }
}

/// A context header with its length placeholder; pTypeName may be null.
inline void putContextHeader(char* p, const char* pTypeName, unsigned iNameLength)
{
    putFixed<4>(p, tIds::ContextID);
    putFixed<4>(p + 4, tIds::UInt32ID);
    putFixed<4>(p + 8, 0); // the length, written when the context is completed
    putFixed<4>(p + 12, tIds::BoolID);
    putFixed<4>(p + 16, pTypeName ? 1 : 0);
    if (pTypeName) {
        putFixed<4>(p + 20, tIds::AsciiStringID);
        putFixed<4>(p + 24, iNameLength);
        copyBytes(p + 28, pTypeName, iNameLength);
    }
}

} // namespace

// The fast path needs no call, so it saves no registers; everything else is left to
// writeScalarGrowing().
inline void cSerializeBinary::writeScalar(piUInt32 iId, piUInt64 iValue, unsigned iBytes)
{
    if (fitsInOwnData(miPos, 4 + iBytes)) {
        char* p = moOwnData.begin() + miPos;
        miPos += 4 + iBytes;
        putScalar(p, iId, iValue, iBytes);
        return;
    }
    writeScalarGrowing(iId, iValue, iBytes);
}

inline void cSerializeBinary::overwriteLength(piUInt32 iPos, piUInt32 iLength)
{
    // The placeholder normally lies inside the own buffer; writing it there leaves the
    // write position alone.
    if (fitsInOwnData(iPos, 8)) {
        putScalar(moOwnData.begin() + iPos, tIds::UInt32ID, iLength, 4);
        return;
    }
    piUInt32 iOldPos = miPos;
    miPos = iPos;
    writeScalarGrowing(tIds::UInt32ID, iLength, 4);
    miPos = iOldPos;
}

QOR_NOINLINE void cSerializeBinary::writeScalarGrowing(piUInt32 iId, piUInt64 iValue,
                                                       unsigned iBytes)
{
    putScalar(claimGrowing(4 + iBytes), iId, iValue, iBytes);
}

inline void cSerializeBinary::writeAsciiItem(const char* pData, unsigned iLength)
{
    char* p = claim(itemSize(4ULL + iLength));
    putLittleEndian(p, tIds::AsciiStringID, 4);
    putLittleEndian(p + 4, iLength, 4);
    copyBytes(p + 8, pData, iLength);
}

void cSerializeBinary::storeBlock(const char* pData, unsigned iSize)
{
    bool bWide = iSize == 0xffffffffu;
    unsigned iCountBytes = bWide ? 8 : 4;
    unsigned iItemSize = itemSize((unsigned long long)iCountBytes + iSize);
    // The block may come from the buffer written (a copy of earlier items, say): the
    // buffer may move when it grows, and the item may overlap its source after a
    // rewind. The source is therefore found again by its offset, copied with
    // memmove, and only then is the header written over what may be its start.
    const char* pBuffer = bufferData();
    std::uintptr_t iOffset = std::uintptr_t(pData) - std::uintptr_t(pBuffer);
    bool bFromBuffer = pBuffer && iOffset < bufferLength();
    char* p = claim(iItemSize);
    if (iSize) {
        if (bFromBuffer)
            pData = bufferData() + iOffset;
        std::memmove(p + 4 + iCountBytes, pData, iSize);
    }
    putLittleEndian(p, bWide ? tIds::RawBytes64ID : tIds::RawBytesID, 4);
    putLittleEndian(p + 4, iSize, iCountBytes);
}

void cSerializeBinary::store(unsigned char iValue)
{
    writeScalar(tIds::UCharID, iValue, 1);
}
void cSerializeBinary::store(signed char iValue)
{
    writeScalar(tIds::CharID, piUChar(iValue), 1);
}
void cSerializeBinary::store(unsigned short iValue)
{
    writeScalar(tIds::UInt16ID, iValue, 2);
}
void cSerializeBinary::store(short iValue)
{
    writeScalar(tIds::Int16ID, piUInt16(iValue), 2);
}
void cSerializeBinary::store(unsigned int iValue)
{
    writeScalar(tIds::UInt32ID, iValue, 4);
}
void cSerializeBinary::store(int iValue)
{
    writeScalar(tIds::Int32ID, piUInt32(iValue), 4);
}
void cSerializeBinary::store(unsigned long long iValue)
{
    writeScalar(tIds::UInt64ID, iValue, 8);
}
void cSerializeBinary::store(long long iValue)
{
    writeScalar(tIds::Int64ID, piUInt64(iValue), 8);
}
void cSerializeBinary::store(bool bValue)
{
    writeScalar(tIds::BoolID, bValue ? 1 : 0, 4);
}

void cSerializeBinary::store(double dValue)
{
    static_assert(sizeof(double) == 8, "IEEE binary64 is required");
    // The bit pattern as an integer: its bytes are then written least significant
    // first, whatever the processor's byte order.
    piUInt64 iBits;
    std::memcpy(&iBits, &dValue, 8);
    writeScalar(tIds::DoubleID, iBits, 8);
}

void cSerializeBinary::store(const qstd::cAsciiString& sValue)
{
    writeAsciiItem(sValue.c_str(), sValue.length());
}

void cSerializeBinary::store(const qucs::cString& sValue)
{
    unsigned iLength = sValue.length();
    if (meStringStoreMode == StoreUCS4) {
        char* p = claim(itemSize(4 + 4ULL * iLength));
        putLittleEndian(p, tIds::StringUCS4ID, 4);
        putLittleEndian(p + 4, iLength, 4);
        p += 8;
        for (unsigned i = 0; i < iLength; ++i, p += 4)
            putLittleEndian(p, sValue[i], 4);
    } else if (meStringStoreMode == StoreUTF8) {
        qstd::tArray<char> oBytes;
        qucs::cEnDecUTF8().encode(sValue, oBytes);
        unsigned iBytes = oBytes.length();
        char* p = claim(itemSize(4ULL + iBytes));
        putLittleEndian(p, tIds::StringUTF8ID, 4);
        putLittleEndian(p + 4, iBytes, 4);
        if (iBytes)
            std::memcpy(p + 8, oBytes.begin(), iBytes);
    }
}

void cSerializeBinary::rewind()
{
    miPos = mpCurrent ? mpCurrent->miContentPos : 0;
}

void cSerializeBinary::clear()
{
    if (mpCurrent)
        cSAExceptions::throwSerializerClearWithOpenContexts();
    if (mbExternal)
        moTarget.setSize(0);
    else
        moOwnData.clear();
    miPos = 0;
}

cContextRef cSerializeBinary::newContext(const char* pTypeName)
{
    // The data object first: a failed allocation then leaves no bytes behind.
    cSBinaryStoreContextData* pData =
        static_cast<cSBinaryStoreContextData*>(moSpareContexts.take());
    if (pData)
        pData->reset(*this, mpCurrent, miPos);
    else
        pData = new cSBinaryStoreContextData(*this, mpCurrent, miPos);
    // An unnamed context inside the own buffer's length, the usual case for lists, is
    // written here; everything else by writeContextHeader().
    if (!pTypeName && fitsInOwnData(miPos, kUnnamedContextHeader)) {
        char* p = moOwnData.begin() + miPos;
        miPos += kUnnamedContextHeader;
        putContextHeader(p, nullptr, 0);
    } else {
        writeContextHeader(pData, pTypeName);
    }
    pData->miContentPos = miPos;
    mpCurrent = pData;
    issue(pData);
    return cContextRef(pData);
}

QOR_NOINLINE void cSerializeBinary::writeContextHeader(cSBinaryStoreContextData* pData,
                                                       const char* pTypeName)
{
    unsigned iNameLength = pTypeName ? unsigned(std::strlen(pTypeName)) : 0;
    try {
        unsigned long long iHeader = kUnnamedContextHeader + (pTypeName ? 8ULL + iNameLength : 0);
        putContextHeader(claim(itemSize(iHeader - 4)), pTypeName, iNameLength);
    } catch (...) {
        miPos = pData->miBeginPos;
        pData->mpSerializer = nullptr;
        moSpareContexts.give(pData);
        throw;
    }
}

void cSerializeBinary::releaseCurrentContext()
{
    if (mpCurrent)
        mpCurrent->release();
}

void cSerializeBinary::unlinkContext(cSBinaryStoreContextData* pData, bool bComplete)
{
    cSBinaryStoreContextData* p = mpCurrent;
    while (p && p != pData)
        p = p->mpParent;
    if (!p) {
        // Already taken out of the chain together with an outer context.
        pData->mbRestored = true;
        return;
    }
    // Contexts above pData are still open although pData closes: complete them along
    // with it, or drop them with it.
    for (;;) {
        cSBinaryStoreContextData* pInner = mpCurrent;
        if (bComplete) {
            pInner->complete();
        } else {
            if (pInner != pData)
                pInner->mbReleased = true;
            pInner->mbRestored = true;
            mpCurrent = pInner->mpParent;
        }
        if (pInner == pData)
            break;
    }
    if (!bComplete)
        miPos = pData->miBeginPos;
}

void cSerializeBinary::newLabel(const qstd::cAsciiString& sName)
{
    unsigned iLength = sName.length();
    char* p = claim(itemSize(8ULL + iLength));
    putLittleEndian(p, tIds::LabelID, 4);
    putLittleEndian(p + 4, tIds::AsciiStringID, 4);
    putLittleEndian(p + 8, iLength, 4);
    copyBytes(p + 12, sName.c_str(), iLength);
}

qstd::tArrayRef<char> cSerializeBinary::data()
{
    if (mpCurrent)
        cSAExceptions::throwSerializerDataWithOpenContexts();
    if (mbExternal) {
        if (moTarget.length() > miPos)
            moTarget.setSize(miPos);
        return moTarget;
    }
    if (moOwnData.length() > miPos)
        moOwnData.truncate(miPos);
    return qstd::tArrayRef<char>(moOwnData);
}

void cSerializeBinary::swapData(qstd::tArray<char>& oData)
{
    // Open contexts hold positions in the buffer that is about to go.
    if (mpCurrent)
        cSAExceptions::throwSerializerClearWithOpenContexts();
    moOwnData.swap(oData);
    miPos = 0;
}

void cSerializeBinary::patch(unsigned iPos, cAbstractTypeReference& oReference)
{
    if (iPos > bufferLength())
        qstd::cSTDExceptions::throwOutOfBounds("cSerializeBinary", "patch");
    piUInt32 iOldPos = miPos;
    miPos = iPos;
    try {
        oReference.store(*this);
    } catch (...) {
        miPos = iOldPos;
        throw;
    }
    if (miPos < iOldPos)
        miPos = iOldPos;
}

} // namespace qsa
