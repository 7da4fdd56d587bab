// litrtable.cpp - cLITrTable.
// SPDX-License-Identifier: MIT
#include "qor_core/ucs/litrtable.h"
#include "qor_core/pi/debug.h"
#include "qor_core/sa/abstractserializer.h"
#include "qor_core/sa/contextref.h"

namespace qucs {

namespace {

enum
{
    kHash1Size = 25,
    kHash2Size = 23
};

const char* const kContextName = "unknown";

} // namespace

/// The dense mirror of one item list: entry i is the i-th item of the list and its
/// hash. The items belong to the list.
class cLITrTable::cListIndex
{
public:
    qstd::tArray<piUInt32> moHashes;
    qstd::tArray<const cLITrItem*> moItems;
};

piUInt32 cLITrItem::keyHash(const qstd::cAsciiString& sKey)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(sKey.data(true));
    const unsigned iLength = sKey.length();
    piUInt32 iHash = 2166136261u;
    for (unsigned i = 0; i < iLength; ++i)
        iHash = (iHash ^ p[i]) * 16777619u;
    return iHash;
}

cLITrTable::cLITrTable()
    : moParts(qstd::tAutoPtrType::Single, kHash1Size), moIndex(qstd::tAutoPtrType::Single),
      miCount(0)
{
}

cLITrTable::~cLITrTable() {}

unsigned cLITrTable::hashKey1(const qstd::cAsciiString& sKey)
{
    return sKey.length() % kHash1Size;
}

unsigned cLITrTable::hashKey2(const qstd::cAsciiString& sKey)
{
    unsigned iLength = sKey.length();
    if (iLength == 0)
        return 0;
    // Unsigned bytes: the same value whatever the signedness of char on the target.
    const unsigned char* pBytes = reinterpret_cast<const unsigned char*>(sKey.c_str());
    return (unsigned(pBytes[iLength / 2]) + unsigned(pBytes[0])) % kHash2Size;
}

void cLITrTable::addTranslation(const qstd::cAsciiString& sKey, const cString& sText)
{
    unsigned iHash1 = hashKey1(sKey);
    unsigned iHash2 = hashKey2(sKey);
    // The item first: a failure leaves at most empty places behind.
    qstd::tAutoPtr<cLITrItem> pItem(new cLITrItem(sKey, sText));
    const cLITrItem* pAdded = pItem.get();
    if (moParts.count() <= iHash1)
        moParts.resize(iHash1 + 1);
    if (!moParts[iHash1])
        moParts[iHash1] = new tHashPart(qstd::tAutoPtrType::Single, kHash2Size);
    tHashPart& oPart = *moParts[iHash1];
    if (oPart.count() <= iHash2)
        oPart.resize(iHash2 + 1);
    if (!oPart[iHash2])
        oPart[iHash2] = new tItemList(tItemList::GuardSingle);
    if (moIndex.count() == 0)
        moIndex.resize(kHash1Size * kHash2Size);
    const unsigned iSlot = iHash1 * kHash2Size + iHash2;
    if (!moIndex[iSlot])
        moIndex[iSlot] = new cListIndex;
    // The mirror grows first and shrinks back when the list cannot take the item,
    // so that list and mirror always hold the same items.
    cListIndex& oIndex = *moIndex[iSlot];
    const unsigned iLength = oIndex.moItems.length();
    try {
        oIndex.moHashes.append(pAdded->hash());
        oIndex.moItems.append(pAdded);
        oPart[iHash2]->guardedAppend(pItem);
    } catch (...) {
        oIndex.moHashes.truncate(iLength);
        oIndex.moItems.truncate(iLength);
        throw;
    }
    ++miCount;
}

const cLITrItem* cLITrTable::hasTranslation(const qstd::cAsciiString& sKey) const
{
    return moIndex.count() == 0 ? nullptr : hasTranslation(sKey, cLITrItem::keyHash(sKey));
}

const cLITrItem* cLITrTable::hasTranslation(const qstd::cAsciiString& sKey, piUInt32 iHash) const
{
    if (moIndex.count() == 0)
        return nullptr;
    const cListIndex* pIndex = moIndex[hashKey1(sKey) * kHash2Size + hashKey2(sKey)];
    if (!pIndex)
        return nullptr;
    // The full hash first: a different key rarely gets as far as its bytes.
    const piUInt32* pHashes = pIndex->moHashes.data(true);
    const unsigned iCount = pIndex->moHashes.length();
    for (unsigned i = 0; i < iCount; ++i) {
        if (pHashes[i] != iHash)
            continue;
        const cLITrItem* pItem = pIndex->moItems.data()[i];
        if (pItem->key() == sKey)
            return pItem;
    }
    return nullptr;
}

bool cLITrTable::translation(const cLIMessage& oMessage, cString& sResult) const
{
    const cLITrItem* pItem = hasTranslation(oMessage.key());
    if (!pItem) {
        oMessage.untranslated(sResult);
        return false;
    }
    oMessage.translate(pItem->translation(), sResult);
    return true;
}

void cLITrTable::clear()
{
    moIndex.clear();
    moParts.clear();
    miCount = 0;
}

void cLITrTable::swap(cLITrTable& oOther)
{
    moParts.swap(oOther.moParts);
    moIndex.swap(oOther.moIndex);
    unsigned iCount = miCount;
    miCount = oOther.miCount;
    oOther.miCount = iCount;
}

void cLITrTable::printStatistics() const
{
    unsigned iH1Used = 0, iH1Empty = 0, iH2Used = 0, iH2Empty = 0;
    unsigned iLists = 0, iCollisions = 0;
    for (unsigned i = 0; i < moParts.count(); ++i) {
        if (!moParts[i]) {
            ++iH1Empty;
            continue;
        }
        ++iH1Used;
        const tHashPart& oPart = *moParts[i];
        for (unsigned j = 0; j < oPart.count(); ++j) {
            if (!oPart[j]) {
                ++iH2Empty;
                continue;
            }
            ++iH2Used;
            const tItemList& oList = *oPart[j];
            if (oList.count() == 0) {
                QOR_DEBUG_LINE("Warning: Unused list detected: List at " << i << "/" << j);
                continue;
            }
            ++iLists;
            if (oList.count() < 2)
                continue;
            ++iCollisions;
            QOR_DEBUG_LINE("List at " << i << "/" << j << " contains collisions (" << oList.count()
                                      << " translations)");
            QOR_DEBUG_LINE("* First key is \"" << (*oList.begin())->key() << "\"");
        }
    }
    QOR_DEBUG_LINE("Translations: " << miCount);
    QOR_DEBUG_LINE("h1-places: " << iH1Used << " used, " << iH1Empty << " empty");
    QOR_DEBUG_LINE("h2-places: " << iH2Used << " used, " << iH2Empty << " empty");
    QOR_DEBUG_LINE("Lists: " << iLists << " used, " << iCollisions << " with collisions");
}

qsa::cAbstractSerializer& cLITrTable::operator>>(qsa::cAbstractSerializer& oSerializer) const
{
    qsa::cContext oOuter(oSerializer.newContext(kContextName));
    for (unsigned i = 0; i < moParts.count(); ++i) {
        const tHashPart* pPart = moParts[i];
        oSerializer.store(pPart == nullptr);
        if (!pPart)
            continue;
        oSerializer.newLabel("Hash-Part");
        qsa::cContext oInner(oSerializer.newContext(kContextName));
        for (unsigned j = 0; j < pPart->count(); ++j) {
            const tItemList* pList = (*pPart)[j];
            oSerializer.store(pList == nullptr);
            if (!pList)
                continue;
            oSerializer.newLabel("Hash");
            qsa::cContext oList(oSerializer.newContext(nullptr));
            for (tItemList::const_iterator it = pList->begin(); it != pList->end(); ++it) {
                oSerializer.newLabel("Translation");
                qsa::cContext oItem(oSerializer.newContext(nullptr));
                oSerializer.store((*it)->key());
                oSerializer.store((*it)->translation());
                oItem.release();
            }
            oList.release();
        }
        oInner.release();
    }
    oOuter.release();
    return oSerializer;
}

qsa::cAbstractDeserializer& cLITrTable::operator<<(qsa::cAbstractDeserializer& oDeserializer)
{
    // Read into a fresh table, filing each item by its key, so that neither a
    // failure nor items stored at the wrong place can leave this table damaged.
    cLITrTable oLoaded;
    qsa::cContext oOuter(oDeserializer.getContext(kContextName));
    while (!oDeserializer.eoc()) {
        bool bAbsent = true;
        oDeserializer.load(bAbsent);
        if (bAbsent)
            continue;
        oDeserializer.findLabel("Hash-Part");
        qsa::cContext oInner(oDeserializer.getContext(kContextName));
        while (!oDeserializer.eoc()) {
            oDeserializer.load(bAbsent);
            if (bAbsent)
                continue;
            oDeserializer.findLabel("Hash");
            qsa::cContext oList(oDeserializer.getContext(nullptr));
            while (!oDeserializer.eoc()) {
                oDeserializer.findLabel("Translation");
                qsa::cContext oItem(oDeserializer.getContext(nullptr));
                qstd::cAsciiString sKey;
                cString sText;
                oDeserializer.load(sKey);
                oDeserializer.load(sText);
                oItem.release();
                oLoaded.addTranslation(sKey, sText);
            }
            oList.release();
        }
        oInner.release();
    }
    oOuter.release();
    swap(oLoaded);
    return oDeserializer;
}

} // namespace qucs
