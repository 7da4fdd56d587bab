// serializetotypestring.h - cSerializeToTypeString, a serializer that records only type names.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_SA_SERIALIZETOTYPESTRING_H
#define QOR_CORE_SA_SERIALIZETOTYPESTRING_H

#include "qor_core/sa/abstractserializer.h"
#include "qor_core/std/asciistring.h"

namespace qsa {

/// Records the type names of the stored items, joined by ", ", and ignores their
/// values: storing a call frame yields its signature text ("piInt32, cString")
/// for messages. Contexts cannot be recorded: newContext() and data() throw
/// cUnsupportedOperationException.
class QOR_EXPORT cSerializeToTypeString : public cAbstractSerializer
{
public:
    cSerializeToTypeString();
    ~cSerializeToTypeString() override;

    /// Records "char*".
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
    void store(double dValue) override;
    void store(const qstd::cAsciiString& sValue) override;
    void store(const qucs::cString& sValue) override;
    /// Empties the type string.
    void rewind() override;
    /// Empties the type string.
    void clear() override;
    cContextRef newContext(const char* pTypeName) override;
    /// Does nothing.
    void releaseCurrentContext() override;
    /// Does nothing: labels are not part of a signature.
    void newLabel(const qstd::cAsciiString& sName) override;
    qstd::tArrayRef<char> data() override;
    /// Exchanges the type string's characters with oData's.
    void swapData(qstd::tArray<char>& oData) override;

    /// Appends ", " unless the type string is empty, then pTypeName.
    virtual void storeType(const char* pTypeName);

    const qstd::cAsciiString& typeString() const { return msTypeString; }

private:
    qstd::cAsciiString msTypeString;
};

} // namespace qsa

#endif // QOR_CORE_SA_SERIALIZETOTYPESTRING_H
