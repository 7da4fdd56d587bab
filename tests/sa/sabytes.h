// sabytes.h - byte helpers shared by the binary serializer tests.
#ifndef QOR_TESTS_SA_SABYTES_H
#define QOR_TESTS_SA_SABYTES_H

#include "qor_core/sa/deserializebinary.h"
#include "qor_core/sa/serializebinary.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace qortest {

typedef std::vector<unsigned char> tBytes;

inline tBytes bytesOf(const qstd::tConstArrayRef<char>& oData)
{
    tBytes oBytes;
    for (unsigned i = 0; i < oData.length(); ++i)
        oBytes.push_back((unsigned char)oData[i]);
    return oBytes;
}

inline tBytes bytesOf(const qstd::tArray<char>& oData)
{
    return bytesOf(qstd::tConstArrayRef<char>(oData));
}

inline tBytes bytesOf(qsa::cSerializeBinary& oSerializer)
{
    return bytesOf(qstd::tConstArrayRef<char>(oSerializer.data()));
}

/// Little-endian 32-bit words, the unit most items are made of.
inline tBytes words(std::initializer_list<unsigned> oWords)
{
    tBytes oBytes;
    for (unsigned iWord : oWords)
        for (int i = 0; i < 4; ++i)
            oBytes.push_back((unsigned char)(iWord >> (8 * i)));
    return oBytes;
}

inline tBytes operator+(tBytes oLeft, const tBytes& oRight)
{
    oLeft.insert(oLeft.end(), oRight.begin(), oRight.end());
    return oLeft;
}

inline tBytes text(const std::string& sText)
{
    return tBytes(sText.begin(), sText.end());
}

/// The bytes as a tArray, for a deserializer to read.
inline qstd::tArray<char> arrayOf(const tBytes& oBytes)
{
    qstd::tArray<char> oArray;
    for (unsigned char c : oBytes)
        oArray.append(char(c));
    return oArray;
}

/// A deserializer over a copy of the given bytes.
struct cReader
{
    explicit cReader(const tBytes& oBytes)
        : moData(arrayOf(oBytes)), moReader(qstd::tConstArrayRef<char>(moData))
    {
    }
    explicit cReader(qsa::cSerializeBinary& s) : cReader(bytesOf(s)) {}
    qstd::tArray<char> moData;
    qsa::cDeserializeBinary moReader;
};

} // namespace qortest

#endif
