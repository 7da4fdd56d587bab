// deserializebinary_fuzzer.cpp - feeds arbitrary bytes to cDeserializeBinary: walks
// every item (labels and nested contexts included), searches labels and
// re-serializes. Any exception of the library is an accepted answer to bad input;
// crashes, sanitizer reports, hangs and runaway allocations are findings.
#include "qor_core/sa/deserializebinary.h"
#include "qor_core/sa/serializebinary.h"
#include "qor_core/std/exception.h"
#include "qor_core/ucs/string.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace {

typedef qsa::cSerializeBinaryShared tIds;

const unsigned char* gpData = nullptr;
std::size_t giSize = 0;

/// The id at the read position (after the reader's own label handling, labels are
/// items of their own here), or 0xFFFFFFFF when fewer than four bytes remain.
std::uint32_t nextId(const qsa::cDeserializeBinary& oReader)
{
    std::size_t iPos = oReader.currentPos();
    if (iPos + 4 > giSize)
        return 0xffffffffu;
    return std::uint32_t(gpData[iPos]) | std::uint32_t(gpData[iPos + 1]) << 8 |
           std::uint32_t(gpData[iPos + 2]) << 16 | std::uint32_t(gpData[iPos + 3]) << 24;
}

template <class T> void loadOne(qsa::cDeserializeBinary& oReader)
{
    T oValue;
    oReader.load(oValue);
}

/// Reads every item of the current context; returns at its end or at the first
/// item it cannot read. Every step consumes bytes or returns.
void walk(qsa::cDeserializeBinary& oReader)
{
    while (!oReader.eoc()) {
        unsigned iBefore = oReader.currentPos();
        try {
            switch (nextId(oReader)) {
            case tIds::LabelID: {
                qstd::cAsciiString sName = oReader.getNextLabelName();
                if (!oReader.tryFindLabel(sName))
                    return;
                break;
            }
            case tIds::ContextID:
            case tIds::Context64ID: {
                oReader.isContext();
                oReader.getNextContextTypeName();
                qsa::cContext oContext(oReader.getContext(nullptr));
                walk(oReader);
                oContext.release();
                break;
            }
            case tIds::RawBytesID:
            case tIds::RawBytes64ID: {
                qstd::tArray<char> oBlock;
                oReader.loadBlock(oBlock);
                break;
            }
            case tIds::UCharID:
                loadOne<unsigned char>(oReader);
                break;
            case tIds::CharID:
                loadOne<signed char>(oReader);
                break;
            case tIds::UInt16ID:
                loadOne<unsigned short>(oReader);
                break;
            case tIds::Int16ID:
                loadOne<short>(oReader);
                break;
            case tIds::UInt32ID:
                loadOne<unsigned int>(oReader);
                break;
            case tIds::Int32ID:
                loadOne<int>(oReader);
                break;
            case tIds::UInt64ID:
                loadOne<unsigned long long>(oReader);
                break;
            case tIds::Int64ID:
                loadOne<long long>(oReader);
                break;
            case tIds::BoolID:
                loadOne<bool>(oReader);
                break;
            case tIds::DoubleID:
                loadOne<double>(oReader);
                break;
            case tIds::AsciiStringID:
                loadOne<qstd::cAsciiString>(oReader);
                break;
            case tIds::StringUCS4ID:
            case tIds::StringUTF8ID:
                loadOne<qucs::cString>(oReader);
                break;
            default:
                return;
            }
        } catch (const qstd::cAbstractException&) {
            return;
        }
        if (oReader.currentPos() <= iBefore)
            __builtin_trap(); // a step that consumed nothing would loop forever
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t iSize)
{
    if (iSize > 1u << 20)
        return 0;
    gpData = pData;
    giSize = iSize;
    qstd::tArray<char> oBytes(reinterpret_cast<const char*>(pData), unsigned(iSize));
    qsa::cDeserializeBinary oReader((qstd::tConstArrayRef<char>(oBytes)));
    walk(oReader);

    oReader.rewind();
    try {
        oReader.tryFindLabel("DateTime");
    } catch (const qstd::cAbstractException&) {
    }
    oReader.rewind();
    for (bool bLabels : {false, true}) {
        qsa::cSerializeBinary oCopy;
        oCopy.setPreferNoLabels(!bLabels);
        try {
            oReader.reserialize(oCopy);
        } catch (const qstd::cAbstractException&) {
            continue;
        }
        // A copy made with its labels is well formed and reads back whole.
        qsa::cDeserializeBinary oAgain((qstd::tConstArrayRef<char>(oCopy.data())));
        walk(oAgain);
    }
    return 0;
}
