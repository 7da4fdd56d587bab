// Tests of the diagnostic serializers: the exact lines of cSerializeDebug and the
// type strings of cSerializeToTypeString.
#include "qor_core/pi/abstractout.h"
#include "qor_core/pi/system.h"
#include "qor_core/sa/referenceframe.h"
#include "qor_core/sa/serializedebug.h"
#include "qor_core/sa/serializetotypestring.h"
#include "qor_core/std/array.h"
#include "qor_core/std/exception.h"
#include "qor_core/ucs/string.h"
#include "std/testutil.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

using namespace qsa;

namespace {

std::string str(const qstd::cAsciiString& s)
{
    return s.c_str();
}

/// Collects what the system debug output emits while the fixture runs.
class cRecordingOut : public qpi::cAbstractOut
{
public:
    void printChar(char cChar) override { msText += cChar; }
    std::string msText;
};

class SerializeDebug : public testing::Test
{
protected:
    void SetUp() override { qpi::system().debugOut().link(&moRecorder); }
    void TearDown() override { qpi::system().debugOut().link(nullptr); }

    /// The recorded text, every CR LF replaced by "|".
    std::string lines()
    {
        std::string sText;
        std::swap(sText, moRecorder.msText);
        for (std::string::size_type i; (i = sText.find("\r\n")) != std::string::npos;)
            sText.replace(i, 2, "|");
        return sText;
    }

    cRecordingOut moRecorder;
};

} // namespace

TEST_F(SerializeDebug, ValueLinesNameTheTypeAndTheValue)
{
    cSerializeDebug oOut;
    auto storeAll = [&](const auto&... oValues) { (oOut.store(oValues), ...); };
    storeAll(false, true, -5, 4000000000u, -9000000000LL, 18000000000000000000ULL, short(-7),
             (unsigned short)65535, (signed char)-128, (unsigned char)255, 2.5,
             qstd::cAsciiString("a b"), qucs::cString("wide"));
    oOut.storeBlock("xyz", 3);
    EXPECT_EQ("piBool = false;|piBool = true;|piInt32 = -5;|piUInt32 = 4000000000;|"
              "piInt64 = -9000000000;|piUInt64 = 18000000000000000000;|piInt16 = -7;|"
              "piUInt16 = 65535;|piChar = -128;|piUChar = 255;|piDoubleID = x.y;|"
              "cAsciiString = \"a b\";|cString = \"wide\";|<raw bytes of size 3>;|",
              lines());
}

TEST_F(SerializeDebug, NestedContextsIndentTheirItems)
{
    cSerializeDebug oOut;
    {
        cContext oCfg(oOut.newContext("cfg"));
        oOut.newLabel("n");
        oOut.store(7);
        oOut.newLabel("inner");
        {
            cContext oInner(oOut.newContext(nullptr));
            EXPECT_EQ(2u, oOut.depth());
            oOut.store(qstd::cAsciiString("x"));
            oInner.release();
        }
        oOut.store(true);
        oCfg.release();
    }
    EXPECT_EQ(0u, oOut.depth());
    // A context left without release prints no closing brace and keeps its indentation.
    oOut.newContext("lost");
    EXPECT_EQ(1u, oOut.depth());
    oOut.store(2);
    EXPECT_EQ("<context \"cfg\">|  {|    <label n> piInt32 = 7;|"
              "    <label inner> <context (unnamed)>|      {|        cAsciiString = \"x\";|"
              "      }|    piBool = true;|  }|<context \"lost\">|  {|    piInt32 = 2;|",
              lines());
}

TEST_F(SerializeDebug, KeepsNoData)
{
    cSerializeDebug oOut;
    qstd::tArray<char> oData;
    struct Row
    {
        const char* pOperation;
        std::function<void()> call;
    };
    const Row oTable[] = {{"cSerializeDebug::data()", [&] { oOut.data(); }},
                          {"cSerializeDebug::rewind()", [&] { oOut.rewind(); }},
                          {"cSerializeDebug::clear()", [&] { oOut.clear(); }},
                          {"cSerializeDebug::swapData()", [&] { oOut.swapData(oData); }}};
    for (const Row& oRow : oTable) {
        SCOPED_TRACE(oRow.pOperation);
        EXPECT_EQ(std::string("The operation \"") + oRow.pOperation + "\" is not supported!",
                  qortest::messageOf(qortest::expectThrow<qstd::cBugException>(oRow.call)));
    }
    EXPECT_EQ("", lines());
}

TEST(SerializeToTypeString, JoinsTheTypeNamesOfTheStoredItems)
{
    // The names are those the serializers write: every item has its own.
    cSerializeToTypeString oTypes;
    oTypes.newLabel("ignored");
    auto storeAll = [&](const auto&... oValues) { (oTypes.store(oValues), ...); };
    storeAll((unsigned char)1, (signed char)1, (unsigned short)1, (short)1, 1u, 1, 1ULL, 1LL, true,
             1.0, qstd::cAsciiString("a"), qucs::cString("s"));
    oTypes.storeBlock("ab", 2);
    oTypes.releaseCurrentContext();
    EXPECT_EQ("piUChar, piChar, piUInt16, piInt16, piUInt32, piInt32, piUInt64, piInt64, piBool, "
              "piDouble, cAsciiString, cString, char*",
              str(oTypes.typeString()));
    oTypes.rewind();
    EXPECT_EQ("", str(oTypes.typeString()));

    // The signature of a call frame; the piVoid return value contributes nothing.
    piVoid oResult;
    qstd::cAsciiString sName;
    long long iId = 0;
    bool bFlag = false;
    cReferenceFrame oFrame;
    oFrame.addRef(oResult, true, false).addRef(sName, false, true).addRef(iId, false, true);
    oFrame.addRef(bFlag, true, true);
    oFrame.store(oTypes);
    EXPECT_EQ("cAsciiString, piInt64, piBool", str(oTypes.typeString()));

    qstd::tArray<char> oChars;
    oTypes.swapData(oChars);
    EXPECT_EQ("cAsciiString, piInt64, piBool", std::string(oChars.data(), oChars.length()));
    EXPECT_EQ("", str(oTypes.typeString()));

    EXPECT_THROW(oTypes.newContext("x"), qstd::cBugException);
    EXPECT_THROW(oTypes.data(), qstd::cBugException);
}
