// limessage.h - cLIMessage, the translatable message with named placeholders.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_UCS_LIMESSAGE_H
#define QOR_CORE_UCS_LIMESSAGE_H

#include "qor_core/ucs/string.h"

namespace qstd {
class cNumberConversionFormat;
}

namespace qucs {

/// A message key written in the source language with %name% placeholders, plus
/// the values bound to them. Built by streaming: the first string streamed into a
/// message without key becomes the key ("$MTR$" marks it translatable, "$MNTR$"
/// never translated; both markers are removed), every later string or number binds
/// the next placeholder of the key. A backslash escapes the character after it.
class QOR_EXPORT cLIMessage
{
public:
    class cImpl;

    cLIMessage();
    /// The key is stored unchanged, markers included.
    explicit cLIMessage(const qstd::cAsciiString& sKey);
    cLIMessage(const cLIMessage& oOther);
    ~cLIMessage();
    /// A message whose key is pTemplate streamed in: markers are removed as usual.
    static cLIMessage fromTemplate(const char* pTemplate);
    cLIMessage& operator=(const cLIMessage& oOther);
    /// By exchange; allocates nothing.
    cLIMessage& operator=(cLIMessage&& oOther) noexcept
    {
        swap(oOther);
        return *this;
    }
    void swap(cLIMessage& oOther);

    cLIMessage& operator<<(const qstd::cAsciiString& sText);
    cLIMessage& operator<<(const char* pText);
    cLIMessage& operator<<(const cString& sText);
    cLIMessage& operator<<(int iValue);
    cLIMessage& operator<<(unsigned int iValue);
    cLIMessage& operator<<(long long iValue);
    cLIMessage& operator<<(unsigned long long iValue);
    cLIMessage& operator<<(double dValue);
    /// The format of later numeric arguments.
    cLIMessage& operator<<(const qstd::cNumberConversionFormat& oFormat);
    /// The message's number format, or null when none was set.
    const qstd::cNumberConversionFormat* numberConversionFormat() const;

    const qstd::cAsciiString& key() const;
    /// False when the key carried "$MNTR$".
    bool translatable() const;
    /// Renders the key with the arguments.
    void untranslated(cString& sResult) const;
    /// As above, narrowed to 8 bits with '?'.
    void untranslated(qstd::cAsciiString& sResult) const;
    /// Renders sTranslation with the arguments; an untranslatable message renders its key.
    void translate(const cString& sTranslation, cString& sResult) const;

    /// Writes the message as one context: key, search position, translate flag,
    /// then each argument's name and value.
    qsa::cAbstractSerializer& operator>>(qsa::cAbstractSerializer& oSerializer) const;
    qsa::cAbstractDeserializer& operator<<(qsa::cAbstractDeserializer& oDeserializer);

private:
    void bind(const cString& sValue);

    cImpl* mpImpl; ///< owned; never null
};

/// Writes the untranslated text of the message to a debug stream.
QOR_EXPORT qpi::cAbstractOut& operator<<(qpi::cAbstractOut& oOut, const cLIMessage& oMessage);

} // namespace qucs

#endif // QOR_CORE_UCS_LIMESSAGE_H
