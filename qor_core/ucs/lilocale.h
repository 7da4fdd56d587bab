// lilocale.h - cLILocale, the translations of message keys for one language, with
// a fallback to a parent locale and a reader for translation files.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_UCS_LILOCALE_H
#define QOR_CORE_UCS_LILOCALE_H

#include "qor_core/rmi/connectable.h"
#include "qor_core/rmi/localsignal.h"
#include "qor_core/std/autoptr.h"
#include "qor_core/ucs/litrtable.h"

namespace qucs {

/// A locale renders messages in its language: from its own table when that knows
/// the message's key, else through its parent (see link), else untranslated, in
/// which case sigTranslationMissing is emitted when someone listens.
///
/// Ownership: the locale owns its table, its link and its signals. A parent is not
/// owned; a parent that is destroyed unlinks its children first, so a child never
/// refers to a dead parent. Links never form a cycle.
///
/// sigChanged is emitted after the locale's contents or its link changed, and
/// whenever a locale up its chain emits it. Not locked: read a locale from any
/// thread only while nobody loads or links it.
class QOR_EXPORT cLILocale
{
public:
    /// Ties a child locale to its parent: the parent's change signal reaches the
    /// child's through sltParentChanged. Owned by the child.
    class QOR_EXPORT cLocaleLink : public qrmi::cConnectable
    {
    public:
        cLocaleLink(cLILocale& oParent, cLILocale& oChild);
        ~cLocaleLink() override;

        cLILocale& parent() const { return *mpParent; }
        cLILocale& child() const { return *mpChild; }
        /// Emits the child's change signal.
        piVoid sltParentChanged();

    private:
        cLILocale* mpParent; ///< not owned
        cLILocale* mpChild;  ///< not owned; owns this link
    };

    typedef qrmi::localSignal2<piVoid, const cLILocale&, const cLIMessage&> tMissingSignal;

    /// A null name leaves the debug name empty.
    explicit cLILocale(const char* pDebugName = nullptr);
    /// Unlinks the children first, then the locale from its parent.
    virtual ~cLILocale();
    cLILocale(const cLILocale&) = delete;
    cLILocale& operator=(const cLILocale&) = delete;

    /// The display name read from the translation file.
    const cString& name() const { return msName; }
    const qstd::cAsciiString& debugName() const { return msDebugName; }
    void setDebugName(const qstd::cAsciiString& sName) { msDebugName = sName; }
    /// The path of the flag image read from the translation file.
    const cString& flag() const { return msFlag; }
    cLITrTable& translator() { return moTranslator; }
    const cLITrTable& translator() const { return moTranslator; }
    /// The file last loaded successfully.
    const cString& fileName() const { return msFileName; }

    /// Makes pParent the locale to fall back to (null unlinks). The previous link is
    /// deleted first. A parent whose chain leads back to this locale is refused with
    /// a cBugException and the locale keeps its link.
    void link(cLILocale* pParent);
    /// The parent, or null.
    cLILocale* parent() const;

    /// Renders oMessage into sResult; returns whether a translation was found here
    /// or up the chain. pOrigin is the locale first asked (this one when null); it
    /// is the one reported by sigTranslationMissing.
    bool translate(const cLIMessage& oMessage, cString& sResult,
                   const cLILocale* pOrigin = nullptr) const;
    cString translate(const cLIMessage& oMessage) const;
    /// The key (markers removed) as a message without arguments.
    cString translate(const qstd::cAsciiString& sKey) const;
    bool translate(const qstd::cAsciiString& sKey, cString& sResult,
                   const cLILocale* pOrigin) const;

    /// Reads a translation file of the system's file system: "key" = "value"
    /// statements, Name = "...", Flag = "..." (behind the file's directory),
    /// include "file" and fromFile("file") values, both relative to the file that
    /// names them; at most 10 files per load, the main file included. The file is
    /// read into a temporary locale; only when that succeeded do this locale's
    /// contents become the file's and fileName() the given name. On failure the
    /// locale is unchanged and the exception names the file and line, with the
    /// cause beneath.
    void loadFromFile(const cString& sFileName);
    /// Empties name, flag, table and file name.
    void clear();
    /// Exchanges the contents (name, flag, table, file name) of two locales. Debug
    /// names, links and signals stay with their objects.
    void swap(cLILocale& oOther);

    /// The signal emitted when a translation is missing, created on first use.
    tMissingSignal& sigTranslationMissing();
    /// Emitted after a change of this locale or of one up its chain. Emitting it
    /// without connections does nothing.
    qrmi::localSignal0<piVoid> sigChanged;

private:
    friend class cLocaleLink;
    void swapContents(cLILocale& oOther);

    qstd::cAsciiString msDebugName;
    cString msName;
    cString msFlag;
    cLITrTable moTranslator;
    cString msFileName;
    qstd::tAutoPtr<cLocaleLink> mpLink;          ///< owned; null when unlinked
    qstd::tAutoPtr<tMissingSignal> mpSigMissing; ///< owned; null until first asked
    qstd::tList<cLocaleLink*> moChildLinks;      ///< links of children; not owned
};

} // namespace qucs

#endif // QOR_CORE_UCS_LILOCALE_H
