// abstractout.h - qpi::cAbstractOut, the text stream behind the debug output.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_ABSTRACTOUT_H
#define QOR_CORE_PI_ABSTRACTOUT_H

#include "qor_core/qp/synchronizable.h"

namespace qstd {
class cAsciiString;
class cNumberConversionFormat;
} // namespace qstd

/// How the numbers that follow are written to a cAbstractOut.
enum NumberFmt
{
    NF_Hex = 0,       ///< base 16, until changed
    NF_Hex16 = 1,     ///< base 16, 16 digits, until changed
    NF_Hex8 = 2,      ///< base 16, 8 digits, until changed
    NF_Hex4 = 3,      ///< base 16, 4 digits, until changed
    NF_Hex2 = 4,      ///< base 16, 2 digits, until changed
    NF_Hex16Once = 5, ///< base 16, 16 digits, for one number
    NF_Hex8Once = 6,  ///< base 16, 8 digits, for one number
    NF_Hex4Once = 7,  ///< base 16, 4 digits, for one number
    NF_Hex2Once = 8,  ///< base 16, 2 digits, for one number
    NF_Unchanged = 9  ///< the format stays as it is
};

namespace qpi {

/// A character stream with line tags, indentation and number modes. Writers hold
/// the stream's locker (mutex()) for a whole line; the stream itself does not lock.
/// A stream linked to another passes every operation on to it.
class QOR_EXPORT cAbstractOut : public qp::cSynchronizable
{
public:
    struct clearDebugMessage
    {
    };
    struct indent
    {
    };
    struct unindent
    {
    };

    cAbstractOut();
    ~cAbstractOut() override;
    cAbstractOut(const cAbstractOut&) = delete;
    cAbstractOut& operator=(const cAbstractOut&) = delete;

    /// Emits one character.
    virtual void printChar(char cChar) = 0;
    virtual void flush();
    /// Tags the following text with a source location.
    virtual cAbstractOut& debugMessage(const char* pFile, unsigned int iLine);
    virtual cAbstractOut& operator<<(long long iValue);
    virtual cAbstractOut& operator<<(unsigned long long iValue);
    virtual cAbstractOut& operator<<(int iValue);
    virtual cAbstractOut& operator<<(unsigned int iValue);
    /// Writes the text; a line feed goes out as carriage return and line feed.
    virtual cAbstractOut& operator<<(const char* pText);
    virtual cAbstractOut& operator<<(const qstd::cAsciiString& sText);
    virtual cAbstractOut& operator<<(double dValue);
    virtual cAbstractOut& operator<<(NumberFmt eFormat);
    virtual cAbstractOut& operator<<(const qstd::cNumberConversionFormat& oFormat);
    virtual cAbstractOut& operator<<(const clearDebugMessage& oMarker);
    virtual cAbstractOut& operator<<(const indent& oMarker);
    virtual cAbstractOut& operator<<(const unindent& oMarker);
    virtual bool hasEnDec() const;

    /// Passes everything on to pTarget (not owned); null writes by itself again.
    void link(cAbstractOut* pTarget) { mpLinked = pTarget; }
    cAbstractOut* linked() const { return mpLinked; }
    /// Emits through the linked stream, or printChar.
    void drawCharLinked(char cChar);

    const char* debugFileName() const;
    unsigned int debugFileLine() const;
    unsigned int indentionLevel() const;
    NumberFmt numberFormatMode() const;

protected:
    cAbstractOut& target() { return mpLinked ? *mpLinked : *this; }

private:
    void printDecimal(unsigned long long iMagnitude, bool bNegative);

    qstd::cNumberConversionFormat* mpNumberFormat; ///< owned; null for plain decimal
    cAbstractOut* mpLinked;                        ///< not owned
    NumberFmt meNumberFormatMode;
    const char* mpDebugFileName; ///< not owned; null without a tag
    unsigned int miDebugFileLine;
    unsigned int miIndentionLevel;
};

} // namespace qpi

#endif // QOR_CORE_PI_ABSTRACTOUT_H
