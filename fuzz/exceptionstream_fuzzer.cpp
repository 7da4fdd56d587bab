// exceptionstream_fuzzer.cpp - rebuilds exception chains from arbitrary bytes with
// cAbstractException::createFromStream over cDeserializeBinary.
#include "qor_core/sa/deserializebinary.h"
#include "qor_core/sa/saexceptions.h"
#include "qor_core/std/exceptions.h"
#include "support/exceptionfactory.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t iSize)
{
    if (iSize > 1u << 20)
        return 0;
    qstd::tArray<char> oBytes(reinterpret_cast<const char*>(pData), unsigned(iSize));
    qsa::cDeserializeBinary oReader((qstd::tConstArrayRef<char>(oBytes)));
    try {
        qstd::tAutoPtr<qstd::cAbstractException> pChain =
            qstd::cAbstractException::createFromStream(oReader, qortest::cTestExceptionFactory());
        if (pChain) {
            qucs::cString sText;
            pChain->createMessage(sText, qucs::cString("|"), 5, nullptr);
        }
    } catch (const qstd::cAbstractException&) {
    }
    return 0;
}
