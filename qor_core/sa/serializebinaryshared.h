// serializebinaryshared.h - the type ids of the binary stream format and their names.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_SA_SERIALIZEBINARYSHARED_H
#define QOR_CORE_SA_SERIALIZEBINARYSHARED_H

#include "qor_core/std/pitypes.h"

namespace qsa {

/// What the binary writer and reader share: the item type ids. Every item of a
/// binary stream starts with one of these ids as a 32-bit little-endian number,
/// followed by its payload; all multi-byte numbers in the stream are little-endian
/// on every processor.
class QOR_EXPORT cSerializeBinaryShared
{
public:
    enum TypeId : piUInt32
    {
        InvalidID = 0,
        RawBytesID = 1,     ///< 32-bit count, then the bytes
        UCharID = 2,        ///< 1 byte
        CharID = 3,         ///< 1 byte
        UInt32ID = 4,       ///< 4 bytes
        Int32ID = 5,        ///< 4 bytes, two's complement
        UInt64ID = 6,       ///< 8 bytes
        Int64ID = 7,        ///< 8 bytes, two's complement
        BoolID = 8,         ///< 4 bytes, 0 or 1 (any non-zero reads as true)
        DoubleID = 9,       ///< 8 bytes, IEEE-754 binary64
        AsciiStringID = 10, ///< 32-bit length, then the bytes
        StringUCS4ID = 11,  ///< 32-bit character count, then 4 bytes per code point
        ContextID = 12,     ///< piUInt32 length item, piBool has-name item, name, contents
        LabelID = 13,       ///< a complete cAsciiString item holding the name
        RawBytes64ID = 14,  ///< 64-bit count, then the bytes
        Context64ID = 15,   ///< as ContextID with a piUInt64 length item
        StringUTF8ID = 16,  ///< 32-bit byte count, then UTF-8
        UInt16ID = 17,      ///< 2 bytes
        Int16ID = 18,       ///< 2 bytes, two's complement
        Invalid2ID = 19,
        LastKnownID = 19
    };

    enum
    {
        kMaxContextDepth = 256 ///< deepest nesting of contexts a reader enters
    };

    /// The format's name of a type id ("piInt32", "cAsciiString", "context", ...);
    /// "unknown type" for ids beyond the table.
    static const char* idToString(piUInt32 iId);
};

} // namespace qsa

#endif // QOR_CORE_SA_SERIALIZEBINARYSHARED_H
