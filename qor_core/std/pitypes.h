// pitypes.h - the fixed-width scalar names and the export macro shared by every subsystem.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_PITYPES_H
#define QOR_CORE_STD_PITYPES_H

#include <cstdint>

#define QOR_EXPORT __attribute__((visibility("default")))
/// Keeps a rarely taken path out of line, so that the caller's fast path stays small.
#define QOR_NOINLINE __attribute__((noinline))

typedef std::int8_t piChar;
typedef std::uint8_t piUChar;
typedef std::int16_t piInt16;
typedef std::uint16_t piUInt16;
typedef std::int32_t piInt32;
typedef std::uint32_t piUInt32;
// long long on every target, so that the 64-bit scalars meet the same overloads
// (streaming, serializing) on the 32-bit target and on a 64-bit host.
typedef long long piInt64;
typedef unsigned long long piUInt64;
typedef bool piBool;
typedef double piDouble;

/// The empty type: the return type of signals and slots that return nothing.
struct piVoid
{
    bool operator==(const piVoid&) const { return true; }
    bool operator!=(const piVoid&) const { return false; }
};

// Positions and lengths of the containers are 32 bits wide on every target.
static_assert(sizeof(unsigned int) == 4, "the containers count in 32-bit unsigned");
static_assert(sizeof(piInt64) == 8 && sizeof(piUInt64) == 8, "64-bit integers are required");

#endif // QOR_CORE_STD_PITYPES_H
