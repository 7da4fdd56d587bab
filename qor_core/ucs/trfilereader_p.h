// trfilereader_p.h - cTrFileReader, the statement reader shared by the locale's
// translation files and the plain translation loader. Not installed.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_UCS_TRFILEREADER_P_H
#define QOR_CORE_UCS_TRFILEREADER_P_H

#include "qor_core/std/tokenizer.h"

namespace qucs {

/// Reads the statements of a translation file's text (UTF-8) and hands them to the
/// hooks of a derived class.
///
/// Lexical rules: carriage return, line feed, space, tab and ';' separate; '"',
/// '=' and "//" are keys, and in the full grammar also "Name", "include", "Flag",
/// '(' and ')'. A comment runs from "//" to the next line break. A quoted string
/// runs to the next double quote not escaped by a backslash; each backslash is
/// dropped and the character after it kept (so "\\" is one backslash, also right
/// before the closing quote).
///
/// Statements: "key" = value; and in the full grammar Name = value, Flag = value
/// and include value. A value is a quoted string, or, in the full grammar,
/// fromFile("file"). Words that begin no statement are skipped.
///
/// Errors go to fail() with the message key; line() and column() tell where the
/// reader stands (1-based; a CR LF pair is one line break, so is a lone CR or LF).
class cTrFileReader
{
public:
    enum Grammar
    {
        Plain, ///< quoted key = quoted value only
        Full   ///< also Name, Flag, include and fromFile
    };

    /// oText must outlive the reader.
    cTrFileReader(const qstd::tArray<char>& oText, Grammar eGrammar);
    virtual ~cTrFileReader();

    /// Largest translation file (or file named by fromFile) read, in bytes.
    static constexpr unsigned kMaxFileSize = 16u << 20;
    /// The whole content of a file of the system's file system. Anything that exists
    /// but is not a regular file (a FIFO or a device would block or never end) is
    /// refused, and so is a file of more than kMaxFileSize bytes; a missing file
    /// fails as opening it fails.
    static qstd::tArray<char> readWholeFile(const cString& sFileName);

    /// Reads every statement.
    void read();

    unsigned line() const;
    unsigned column() const;

protected:
    [[noreturn]] virtual void fail(const char* pMessage) = 0;
    virtual void onTranslation(const qstd::cAsciiString& sKey, const cString& sValue) = 0;
    virtual void onName(const cString&) {}
    virtual void onFlag(const cString&) {}
    virtual void onInclude(const cString&) {}
    /// The text of the file named in fromFile(...).
    virtual cString readValueFile(const cString& sFileName);

private:
    enum Id
    {
        kText = 0,
        kQuote,
        kEquals,
        kComment,
        kName,
        kInclude,
        kFlag,
        kOpen,
        kClose
    };
    typedef qstd::cUTF8StringTokenizer::tToken tToken;

    /// The next token's identifier; false at the end of the text.
    bool next(tToken& oToken, unsigned& iId);
    /// The next token must be the key iId, else fail(pMessage).
    void expect(unsigned iId, const char* pMessage);
    /// The body of a quoted string whose opening quote was read, and its closing
    /// quote; an unterminated string fails with the reader left at its start.
    cString quotedBody();
    cString value();
    void skipComment();

    const qstd::tArray<char>& moText;
    qstd::cUTF8StringTokenizerContext moContext;
    qstd::cUTF8StringTokenizer moTokenizer;
    Grammar meGrammar;
};

} // namespace qucs

#endif // QOR_CORE_UCS_TRFILEREADER_P_H
