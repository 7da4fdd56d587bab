// serializedebug.h - cSerializeDebug, a serializer that prints every item on the debug output.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_SA_SERIALIZEDEBUG_H
#define QOR_CORE_SA_SERIALIZEDEBUG_H

#include "qor_core/sa/abstractserializer.h"
#include "qor_core/std/asciistring.h"

namespace qsa {

class cSerializeDebug;

/// The context data handed out by cSerializeDebug::newContext. Releasing it and
/// then letting it go prints the closing brace; letting it go unreleased prints
/// nothing and leaves the serializer one level deeper, since nothing printed can
/// be taken back.
class QOR_EXPORT cDummyContextData : public cAbstractContextData
{
public:
    explicit cDummyContextData(cSerializeDebug& oSerializer);
    ~cDummyContextData() override;
    void release() override;

private:
    cSerializeDebug& moSerializer; ///< not owned; outlives every context it opened
    bool mbReleased;
};

/// Dumps any serializable value for inspection: every stored item becomes one
/// line on the system debug output, indented by four spaces per open context, in
/// the form "type = value;", preceded by "<label name> " when a label was set.
/// Keeps no data: rewind(), clear(), data() and swapData() throw
/// cUnsupportedOperationException.
class QOR_EXPORT cSerializeDebug : public cAbstractSerializer
{
public:
    cSerializeDebug();
    ~cSerializeDebug() override;

    void storeBlock(const char* pData, unsigned iSize) override;
    void store(unsigned char iValue) override;
    void store(signed char iValue) override;
    void store(unsigned short iValue) override;
    void store(short iValue) override;
    void store(unsigned int iValue) override;
    void store(int iValue) override;
    void store(unsigned long long iValue) override;
    void store(long long iValue) override;
    void store(bool bValue) override;
    /// Prints "piDoubleID = x.y": the value itself is not printed.
    void store(double dValue) override;
    void store(const qstd::cAsciiString& sValue) override;
    void store(const qucs::cString& sValue) override;
    void rewind() override;
    void clear() override;
    /// Prints the context line and the opening brace and goes one level deeper.
    cContextRef newContext(const char* pTypeName) override;
    /// Goes one level up and prints the closing brace.
    void releaseCurrentContext() override;
    /// Remembers the label; it is printed in front of the next line.
    void newLabel(const qstd::cAsciiString& sName) override;
    qstd::tArrayRef<char> data() override;
    void swapData(qstd::tArray<char>& oData) override;

    /// Number of open contexts.
    unsigned depth() const { return miDepth; }

protected:
    /// Writes one line: the indentation, the pending label, sText and, for a value,
    /// ";". The line is written whole under the debug output's mutex.
    void storeDataLine(const qstd::cAsciiString& sText, bool bIsValue);

private:
    void storeValue(const char* pTypeName, const qstd::cAsciiString& sValue);

    unsigned miDepth;           ///< open contexts; 0 at top level
    qstd::cAsciiString msLabel; ///< the pending label; empty when none
};

} // namespace qsa

#endif // QOR_CORE_SA_SERIALIZEDEBUG_H
