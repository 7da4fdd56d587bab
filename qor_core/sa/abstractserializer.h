// abstractserializer.h - the serializer and deserializer interfaces and the scalar operators.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_SA_ABSTRACTSERIALIZER_H
#define QOR_CORE_SA_ABSTRACTSERIALIZER_H

#include "qor_core/sa/contextref.h"
#include "qor_core/std/arrayref.h"

namespace qstd {
class cAsciiString;
}
namespace qucs {
class cString;
}

namespace qsa {

/// Writes a stream of typed items, grouped into contexts and preceded by labels.
class QOR_EXPORT cAbstractSerializer
{
public:
    cAbstractSerializer() : mbPreferNoLabels(false) {}
    virtual ~cAbstractSerializer();

    virtual void storeBlock(const char* pData, unsigned iSize) = 0;
    virtual void store(unsigned char iValue) = 0;
    virtual void store(signed char iValue) = 0;
    virtual void store(unsigned short iValue);
    virtual void store(short iValue);
    virtual void store(unsigned int iValue) = 0;
    virtual void store(int iValue) = 0;
    virtual void store(unsigned long long iValue) = 0;
    virtual void store(long long iValue) = 0;
    virtual void store(bool bValue) = 0;
    virtual void store(double dValue) = 0;
    virtual void store(const qstd::cAsciiString& sValue) = 0;
    virtual void store(const qucs::cString& sValue) = 0;
    virtual void rewind() = 0;
    virtual void clear() = 0;
    /// Opens a context; typeName may be null.
    virtual cContextRef newContext(const char* pTypeName) = 0;
    virtual void releaseCurrentContext() = 0;
    virtual void newLabel(const qstd::cAsciiString& sName) = 0;
    virtual qstd::tArrayRef<char> data() = 0;
    virtual void swapData(qstd::tArray<char>& oData) = 0;
    virtual void storeToFile(const qucs::cString& sPath);

    bool noLabelsPreferred() const { return mbPreferNoLabels; }
    void setPreferNoLabels(bool bPrefer) { mbPreferNoLabels = bPrefer; }

private:
    bool mbPreferNoLabels; ///< writers of composite values omit their labels when set
};

/// Reads a stream of typed items written by a serializer.
class QOR_EXPORT cAbstractDeserializer
{
public:
    cAbstractDeserializer() : mbPreferNoLabels(false) {}
    virtual ~cAbstractDeserializer();

    virtual void loadBlock(qstd::tArray<char>& oData) = 0;
    virtual void load(signed char& iValue) = 0;
    virtual void load(unsigned char& iValue) = 0;
    virtual void load(unsigned short& iValue);
    virtual void load(short& iValue);
    virtual void load(unsigned int& iValue) = 0;
    virtual void load(int& iValue) = 0;
    virtual void load(unsigned long long& iValue) = 0;
    virtual void load(long long& iValue) = 0;
    virtual void load(bool& bValue) = 0;
    virtual void load(double& dValue) = 0;
    virtual void load(qstd::cAsciiString& sValue) = 0;
    virtual void load(qucs::cString& sValue) = 0;
    virtual void rewind() = 0;
    /// True at the end of the current context or of the data.
    virtual bool eoc() const = 0;
    virtual void reserialize(cAbstractSerializer& oSerializer) = 0;
    virtual bool isContext() = 0;
    virtual bool isLabel() = 0;
    virtual cContextRef getContext(const char* pTypeName) = 0;
    virtual qstd::cAsciiString getNextContextTypeName() = 0;
    virtual qstd::cAsciiString getNextLabelName() = 0;
    virtual void releaseCurrentContext() = 0;
    virtual void findLabel(const qstd::cAsciiString& sName) = 0;
    virtual bool tryFindLabel(const qstd::cAsciiString& sName) = 0;

    bool noLabelsPreferred() const { return mbPreferNoLabels; }
    void setPreferNoLabels(bool bPrefer) { mbPreferNoLabels = bPrefer; }

private:
    bool mbPreferNoLabels;
};

// value >> serializer stores, value << deserializer loads.
QOR_EXPORT cAbstractSerializer& operator>>(bool bValue, cAbstractSerializer& s);
QOR_EXPORT cAbstractSerializer& operator>>(signed char iValue, cAbstractSerializer& s);
QOR_EXPORT cAbstractSerializer& operator>>(unsigned char iValue, cAbstractSerializer& s);
QOR_EXPORT cAbstractSerializer& operator>>(short iValue, cAbstractSerializer& s);
QOR_EXPORT cAbstractSerializer& operator>>(unsigned short iValue, cAbstractSerializer& s);
QOR_EXPORT cAbstractSerializer& operator>>(int iValue, cAbstractSerializer& s);
QOR_EXPORT cAbstractSerializer& operator>>(unsigned int iValue, cAbstractSerializer& s);
QOR_EXPORT cAbstractSerializer& operator>>(long long iValue, cAbstractSerializer& s);
QOR_EXPORT cAbstractSerializer& operator>>(unsigned long long iValue, cAbstractSerializer& s);
QOR_EXPORT cAbstractSerializer& operator>>(double dValue, cAbstractSerializer& s);
QOR_EXPORT cAbstractDeserializer& operator<<(bool& bValue, cAbstractDeserializer& d);
QOR_EXPORT cAbstractDeserializer& operator<<(signed char& iValue, cAbstractDeserializer& d);
QOR_EXPORT cAbstractDeserializer& operator<<(unsigned char& iValue, cAbstractDeserializer& d);
QOR_EXPORT cAbstractDeserializer& operator<<(short& iValue, cAbstractDeserializer& d);
QOR_EXPORT cAbstractDeserializer& operator<<(unsigned short& iValue, cAbstractDeserializer& d);
QOR_EXPORT cAbstractDeserializer& operator<<(int& iValue, cAbstractDeserializer& d);
QOR_EXPORT cAbstractDeserializer& operator<<(unsigned int& iValue, cAbstractDeserializer& d);
QOR_EXPORT cAbstractDeserializer& operator<<(long long& iValue, cAbstractDeserializer& d);
QOR_EXPORT cAbstractDeserializer& operator<<(unsigned long long& iValue, cAbstractDeserializer& d);
QOR_EXPORT cAbstractDeserializer& operator<<(double& dValue, cAbstractDeserializer& d);

} // namespace qsa

#endif // QOR_CORE_SA_ABSTRACTSERIALIZER_H
