// componentaddr_fuzzer.cpp - parses arbitrary text as a component address and as a
// component location, and reads arbitrary bytes as serialized addresses, locations,
// module information (plain and labelled shapes) and interface descriptions. Any
// exception of the library is an accepted answer to bad input; what parses must
// print and parse back to the same value, and what loads must store and load back
// to the same value.
#include "qor_core/qcs/componentlocation.h"
#include "qor_core/qcs/interfacedesc.h"
#include "qor_core/qcs/moduleinfo.h"
#include "qor_core/sa/deserializebinary.h"
#include "qor_core/sa/serializebinary.h"
#include "qor_core/std/exception.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace {

void parseAddress(const qstd::cAsciiString& sText)
{
    qcs::cComponentAddr oAddress(3, 4);
    try {
        oAddress.fromString(sText);
    } catch (const qstd::cAbstractException&) {
        if (oAddress != qcs::cComponentAddr(3, 4))
            __builtin_trap(); // a refused text changed the address
        return;
    }
    if (qcs::cComponentAddr(oAddress.toString()) != oAddress)
        __builtin_trap();
}

void parseLocation(const qstd::cAsciiString& sText)
{
    const qcs::cComponentLocation oBefore(qcs::cComponentAddr(3, 4), "h", "l", 5);
    qcs::cComponentLocation oLocation(oBefore);
    try {
        oLocation.fromString(sText);
    } catch (const qstd::cAbstractException&) {
        if (oLocation != oBefore)
            __builtin_trap();
        return;
    }
    // Parsed host names and local IDs hold no separator, so the text form is exact.
    if (qcs::cComponentLocation(oLocation.toString()) != oLocation)
        __builtin_trap();
}

bool same(const qcs::cModuleInfo& a, const qcs::cModuleInfo& b)
{
    return a.toString() == b.toString() && a.description() == b.description() &&
           a.context() == b.context() && a.buildInfo().buildSystem() == b.buildInfo().buildSystem();
}

bool same(const qcs::cInterfaceDesc& a, const qcs::cInterfaceDesc& b)
{
    return a == b && a.description() == b.description();
}

template <class T> bool same(const T& a, const T& b)
{
    return a == b;
}

/// Stores oValue in both shapes and reads each back into a fresh T.
template <class T> void reloadBothShapes(const T& oValue)
{
    for (bool bLabelled : {false, true}) {
        qsa::cSerializeBinary oWriter;
        oWriter.setPreferNoLabels(!bLabelled);
        oValue >> oWriter;
        qsa::cDeserializeBinary oReader(oWriter.data());
        T oRead;
        oRead << oReader;
        if (!same(oRead, oValue))
            __builtin_trap();
    }
}

template <class T> void load(const qstd::tArray<char>& oBytes, bool bPreferNoLabels)
{
    qsa::cDeserializeBinary oReader((qstd::tConstArrayRef<char>(oBytes)));
    oReader.setPreferNoLabels(bPreferNoLabels);
    T oValue;
    try {
        oValue << oReader;
    } catch (const qstd::cAbstractException&) {
        return;
    }
    reloadBothShapes(oValue);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t iSize)
{
    if (iSize > 1u << 16)
        return 0;
    const char* pText = reinterpret_cast<const char*>(pData);
    qstd::cAsciiString sText(pText, unsigned(iSize));
    parseAddress(sText);
    parseLocation(sText);

    qstd::tArray<char> oBytes(pText, unsigned(iSize));
    for (bool bPreferNoLabels : {false, true}) {
        load<qcs::cComponentAddr>(oBytes, bPreferNoLabels);
        load<qcs::cComponentLocation>(oBytes, bPreferNoLabels);
        load<qcs::cModuleInfo>(oBytes, bPreferNoLabels);
        load<qcs::cInterfaceDesc>(oBytes, bPreferNoLabels);
    }
    return 0;
}
