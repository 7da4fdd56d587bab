// abstractendec_test.cpp - tests of the default operations of cAbstractEnDec.
// SPDX-License-Identifier: MIT
#include "qor_core/ucs/abstractendec.h"
#include "qor_core/ucs/endecutf16.h"
#include "qor_core/ucs/endecutf8.h"

#include "ucstesting.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

using qortest::failureOf;
using qortest::tTexts;
using qucs::cString;

namespace {

/// An encoder that supports nothing but its name.
class cNameOnlyEnDec : public qucs::cAbstractEnDec
{
public:
    qstd::cAsciiString name() const override { return "Plain"; }
};

} // namespace

TEST(AbstractEnDec, UnsupportedOperationsNameTheEncoderAndDirection)
{
    cNameOnlyEnDec oPlain;
    const cString sText("a");
    const qstd::tArray<char> oNoBytes;
    const qstd::tArray<unsigned short> oNoUnits;
    const qstd::tConstArrayRef<char> oBytes(oNoBytes);
    const qstd::tConstArrayRef<unsigned short> oUnits(oNoUnits);
    qstd::tArray<char> oByteTarget;
    qstd::tArray<unsigned short> oUnitTarget;
    cString sTarget;
    const std::pair<const char*, std::function<void()>> oTable[] = {
        {"Plain::encode (ucs32 -> ascii)", [&] { oPlain.encode(sText, oByteTarget); }},
        {"Plain::encode (ucs32 -> ascii)", [&] { oPlain.encodeCString(sText, oByteTarget); }},
        {"Plain::encode (ucs32 -> ucs16)", [&] { oPlain.encode(sText, oUnitTarget); }},
        {"Plain::decode (ucs16 -> ascii)", [&] { oPlain.decode(oBytes, sTarget); }},
        {"Plain::decode (ucs16 -> ucs32)", [&] { oPlain.decode(oUnits, sTarget); }},
        {"Endec-UTF8::encode (ucs32 -> ucs16)",
         [&] { qucs::cEnDecUTF8().encode(sText, oUnitTarget); }},
        {"Endec-UTF8::decode (ucs16 -> ucs32)",
         [&] { qucs::cEnDecUTF8().decode(oUnits, sTarget); }},
        {"Endec-UTF16::decode (ucs16 -> ucs32)",
         [&] { qucs::cEnDecUTF16().decode(oUnits, sTarget); }}};
    for (const auto& [pMessage, fCall] : oTable)
        EXPECT_EQ(tTexts{std::string("Not implemented: ") + pMessage}, failureOf(fCall));
    EXPECT_TRUE(oByteTarget.empty());
}
