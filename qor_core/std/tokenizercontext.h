// tokenizercontext.h - the special strings a tokenizer splits by: separators, keys
// and the escape string.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_TOKENIZERCONTEXT_H
#define QOR_CORE_STD_TOKENIZERCONTEXT_H

#include "qor_core/std/ptrvector.h"
#include "qor_core/std/stdexceptions.h"
#include "qor_core/ucs/string.h"

namespace qstd {

/// One special string of a tokenizer context, seen independently of its string
/// type, with the statistics of how often it matched.
class QOR_EXPORT cAbstractTokenSpec
{
public:
    enum Type
    {
        Separator = 0, ///< splits the text and is dropped
        Key = 1        ///< splits the text and is returned as a token of its own
    };

    explicit cAbstractTokenSpec(Type eType) : meType(eType), miHints(0), mpExternalCounter(nullptr)
    {
    }
    virtual ~cAbstractTokenSpec();

    Type type() const { return meType; }
    bool isKey() const { return meType == Key; }

    /// How often the tokenizer matched this special string (skipped separators,
    /// returned keys).
    unsigned numHints() const { return miHints; }
    void setHints(unsigned iHints) { miHints = iHints; }
    /// Every later match also increments *pCounter; null stops that. The counter is
    /// not owned and must outlive its registration.
    void leaveCount(unsigned* pCounter) { mpExternalCounter = pCounter; }
    /// Counts one match.
    void hint()
    {
        ++miHints;
        if (mpExternalCounter)
            ++*mpExternalCounter;
    }

private:
    Type meType;
    unsigned miHints;
    unsigned* mpExternalCounter; ///< not owned; may be null
};

/// The separators and keys a tokenizer splits by, for special strings of type S
/// (cAsciiString, tArray<char> holding UTF-8, or qucs::cString); the element type
/// of S must be that of the text. Specifications keep their registration order,
/// which decides between equal matches. A context may serve several tokenizers at
/// once; they all count their matches into its specifications.
template <class S> class QOR_EXPORT tTokenizerContext
{
public:
    /// One registered special string. Its text, identifier and priority are fixed
    /// at registration; only the hint statistics change afterwards.
    class cTokenSpec : public cAbstractTokenSpec
    {
    public:
        cTokenSpec(Type eType, const S& sSpecial, unsigned iIdentifier, unsigned iPriority)
            : cAbstractTokenSpec(eType), msSpecial(sSpecial), miIdentifier(iIdentifier),
              miPriority(iPriority)
        {
        }

        const S& special() const { return msSpecial; }
        /// Reported with every token of this key; 0 for separators.
        unsigned identifier() const { return miIdentifier; }
        /// Decides between matches that start together or overlap: higher wins.
        unsigned priority() const { return miPriority; }

    private:
        S msSpecial; ///< never empty
        unsigned miIdentifier;
        unsigned miPriority;
    };

    tTokenizerContext() : moSpecs(tAutoPtrType::Single), miGeneration(0) {}
    virtual ~tTokenizerContext() {}
    tTokenizerContext(const tTokenizerContext&) = delete;
    tTokenizerContext& operator=(const tTokenizerContext&) = delete;

    /// Registers a key: it splits the text and comes back as a token with
    /// iIdentifier. An empty sKey is a programming error (cBugException).
    cTokenSpec& addKey(const S& sKey, unsigned iIdentifier, unsigned iPriority = 0)
    {
        return add(cAbstractTokenSpec::Key, sKey, iIdentifier, iPriority, "addKey");
    }
    /// Registers a separator: it splits the text and is dropped. An empty
    /// sSeparator is a programming error (cBugException).
    cTokenSpec& addSeparator(const S& sSeparator, unsigned iPriority = 0)
    {
        return add(cAbstractTokenSpec::Separator, sSeparator, 0, iPriority, "addSeparator");
    }

    /// Special string iIndex in registration order; checked like tVector::at.
    cTokenSpec& special(unsigned iIndex) { return *moSpecs.at(iIndex); }
    const cTokenSpec& special(unsigned iIndex) const { return *moSpecs.at(iIndex); }
    unsigned numSpecials() const { return moSpecs.count(); }
    /// Removes every special string; the escape string stays.
    void clear()
    {
        moSpecs.clear();
        ++miGeneration;
    }

    /// A special string directly behind sQuote is ordinary text. Empty (the
    /// default) turns escaping off.
    void setSingleQuote(const S& sQuote)
    {
        msSingleQuote = sQuote;
        ++miGeneration;
    }
    const S& singleQuote() const { return msSingleQuote; }

    /// Changes whenever a special string or the escape string changes, so that a
    /// tokenizer knows when what it remembered about the text no longer holds.
    unsigned generation() const { return miGeneration; }

private:
    cTokenSpec& add(cAbstractTokenSpec::Type eType, const S& sSpecial, unsigned iIdentifier,
                    unsigned iPriority, const char* pOperation);

    tPtrVector<cTokenSpec> moSpecs; ///< owned, in registration order
    S msSingleQuote;                ///< the escape string; empty = no escaping
    unsigned miGeneration;          ///< counts the changes of the two above
};

template <class S>
typename tTokenizerContext<S>::cTokenSpec&
tTokenizerContext<S>::add(cAbstractTokenSpec::Type eType, const S& sSpecial, unsigned iIdentifier,
                          unsigned iPriority, const char* pOperation)
{
    // An empty special would match everywhere without moving the tokenizer on.
    if (sSpecial.length() == 0)
        cSTDExceptions::throwUnsupportedOperation(cAsciiString("tTokenizerContext::") + pOperation +
                                                  " with an empty string");
    tAutoPtr<cTokenSpec> pSpec(new cTokenSpec(eType, sSpecial, iIdentifier, iPriority));
    cTokenSpec& oSpec = *pSpec;
    moSpecs.append(pSpec);
    ++miGeneration;
    return oSpec;
}

/// Context for 8-bit texts. Keys and separators registered without a priority get 0.
class QOR_EXPORT cAsciiStringTokenizerContext : public tTokenizerContext<cAsciiString>
{
public:
    cAsciiStringTokenizerContext() {}
    ~cAsciiStringTokenizerContext() override;
};

/// Context for UTF-8 texts: the special strings are held as UTF-8 bytes. A C string
/// is taken as UTF-8 as it is; a cString is encoded.
class QOR_EXPORT cUTF8StringTokenizerContext : public tTokenizerContext<tArray<char>>
{
public:
    cUTF8StringTokenizerContext() {}
    ~cUTF8StringTokenizerContext() override;

    using tTokenizerContext<tArray<char>>::addKey;
    using tTokenizerContext<tArray<char>>::addSeparator;
    using tTokenizerContext<tArray<char>>::setSingleQuote;

    cTokenSpec& addKey(const char* pKey, unsigned iIdentifier, unsigned iPriority = 0);
    cTokenSpec& addKey(const qucs::cString& sKey, unsigned iIdentifier, unsigned iPriority = 0);
    cTokenSpec& addSeparator(const char* pSeparator, unsigned iPriority = 0);
    cTokenSpec& addSeparator(const qucs::cString& sSeparator, unsigned iPriority = 0);
    void setSingleQuote(const char* pQuote);
    void setSingleQuote(const qucs::cString& sQuote);
};

} // namespace qstd

#endif // QOR_CORE_STD_TOKENIZERCONTEXT_H
