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

/// One translation: a message key and its text in the table's language.
class QOR_EXPORT cLITrItem
{
public:
    cLITrItem() {}
    cLITrItem(const qstd::cAsciiString& sKey, const cString& sTranslation)
        : msKey(sKey), msTranslation(sTranslation)
    {
    }

    const qstd::cAsciiString& key() const { return msKey; }
    const cString& translation() const { return msTranslation; }

private:
    qstd::cAsciiString msKey;
    cString msTranslation;
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
    qstd::tPtrVector<tHashPart> moParts; ///< owned; entries may be null
    unsigned miCount;
};

} // namespace qucs

#endif // QOR_CORE_UCS_LITRTABLE_H
