// litrtable.h - cLITrItem and cLITrTable, the translations of message keys.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_UCS_LITRTABLE_H
#define QOR_CORE_UCS_LITRTABLE_H

#include "qor_core/std/list.h"
#include "qor_core/std/ptrvector.h"
#include "qor_core/ucs/limessage.h"

namespace qsa {
class cAbstractSerializer;
class cAbstractDeserializer;
} // namespace qsa

namespace qucs {

/// One translation: a message key and its text in the table's language. The key's
/// full hash is computed once here so that lookups compare it before the key bytes.
class QOR_EXPORT cLITrItem
{
public:
    cLITrItem() : miHash(keyHash(qstd::cAsciiString())) {}
    cLITrItem(const qstd::cAsciiString& sKey, const cString& sTranslation)
        : msKey(sKey), msTranslation(sTranslation), miHash(keyHash(sKey))
    {
    }

    const qstd::cAsciiString& key() const { return msKey; }
    const cString& translation() const { return msTranslation; }
    /// keyHash(key()).
    piUInt32 hash() const { return miHash; }

    /// FNV-1a (32 bits) over the key's bytes: the same value on every target.
    static piUInt32 keyHash(const qstd::cAsciiString& sKey);

private:
    qstd::cAsciiString msKey;
    cString msTranslation;
    piUInt32 miHash;
};

/// Translations of message keys, in a two-level hash of item lists: the outer
/// vector is indexed by hashKey1, each of its entries (absent until needed) by
/// hashKey2, and each of those entries is a list of items (absent until needed).
/// The vectors grow on demand with absent entries in between, so at most 25 x 23
/// lists exist. The table owns everything it holds. Not copyable; swap() exchanges
/// two tables.
class QOR_EXPORT cLITrTable
{
public:
    typedef qstd::tPtrList<cLITrItem> tItemList;
    typedef qstd::tPtrVector<tItemList> tHashPart;

    cLITrTable();
    ~cLITrTable();
    cLITrTable(const cLITrTable&) = delete;
    cLITrTable& operator=(const cLITrTable&) = delete;

    /// Length of the key modulo 25.
    static unsigned hashKey1(const qstd::cAsciiString& sKey);
    /// (byte at length/2 + byte at 0) modulo 23, bytes taken unsigned; 0 for an
    /// empty key.
    static unsigned hashKey2(const qstd::cAsciiString& sKey);

    /// Appends a translation. An existing one for the same key is kept and goes on
    /// being the one found.
    void addTranslation(const qstd::cAsciiString& sKey, const cString& sText);
    /// The first item with the key, or null.
    const cLITrItem* hasTranslation(const qstd::cAsciiString& sKey) const;
    /// The same with the key's hash already known: iHash must be
    /// cLITrItem::keyHash(sKey) (for a key looked up in several tables).
    const cLITrItem* hasTranslation(const qstd::cAsciiString& sKey, piUInt32 iHash) const;
    /// Renders the translation of the message's key with its arguments and returns
    /// true; without a translation renders the message untranslated and returns
    /// false.
    bool translation(const cLIMessage& oMessage, cString& sResult) const;
    /// The number of translations held.
    unsigned count() const { return miCount; }

    void clear();
    void swap(cLITrTable& oOther);

    /// Writes the number of translations, the use of both hash levels, the lists with
    /// collisions and unused lists to the debug output.
    void printStatistics() const;

    /// Writes the table: a context "unknown" of the outer entries, each an absent
    /// flag and, when present, the label "Hash-Part" and the inner vector (a context
    /// "unknown" of absent flags, each present entry the label "Hash" and its list);
    /// a list is an unnamed context of items, each the label "Translation" and an
    /// unnamed context of key and translation.
    qsa::cAbstractSerializer& operator>>(qsa::cAbstractSerializer& oSerializer) const;
    /// Reads a table written by operator>> and replaces this one's contents with it;
    /// on any failure the table is unchanged. Items are filed by their keys, not by
    /// the positions they were stored at.
    qsa::cAbstractDeserializer& operator<<(qsa::cAbstractDeserializer& oDeserializer);

    /// The outer vector, for inspection.
    const qstd::tPtrVector<tHashPart>& hashParts() const { return moParts; }

private:
    class cListIndex;

    qstd::tPtrVector<tHashPart> moParts; ///< owned; entries may be null
    /// For each list (slot hashKey1 * 23 + hashKey2), the hashes and items of its
    /// entries in list order, so that lookups scan dense memory instead of the list's
    /// nodes. Owned; empty until the first translation, entries null until needed.
    qstd::tPtrVector<cListIndex> moIndex;
    unsigned miCount;
};

} // namespace qucs

#endif // QOR_CORE_UCS_LITRTABLE_H
