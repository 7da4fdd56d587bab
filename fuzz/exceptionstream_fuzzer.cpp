// exceptionstream_fuzzer.cpp - rebuilds exception chains from arbitrary bytes with
// cAbstractException::createFromStream over cDeserializeBinary.
#include "qor_core/sa/deserializebinary.h"
#include "qor_core/sa/saexceptions.h"
#include "qor_core/std/exceptions.h"

#include <cstddef>
#include <cstdint>

namespace {

class cFuzzFactory : public qstd::cAbstractExceptionFactory
{
public:
    qstd::tAutoPtr<qstd::cAbstractException>
    createException(const qstd::cAsciiString& sTypeName) const override
    {
        if (sTypeName == "cRuntimeException")
            return qstd::tAutoPtr<qstd::cAbstractException>(new qstd::cRuntimeException);
        if (sTypeName == "cBugException")
            return qstd::tAutoPtr<qstd::cAbstractException>(new qstd::cBugException);
        if (sTypeName == "cTypeMissmatchException")
            return qstd::tAutoPtr<qstd::cAbstractException>(new qstd::cTypeMissmatchException);
        if (sTypeName == "cLabeledTypeMissmatchException")
            return qstd::tAutoPtr<qstd::cAbstractException>(
                new qsa::cLabeledTypeMissmatchException);
        qstd::cSTDExceptions::throwElementNotFound("cFuzzFactory", "createException");
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t iSize)
{
    if (iSize > 1u << 20)
        return 0;
    qstd::tArray<char> oBytes(reinterpret_cast<const char*>(pData), unsigned(iSize));
    qsa::cDeserializeBinary oReader((qstd::tConstArrayRef<char>(oBytes)));
    try {
        qstd::tAutoPtr<qstd::cAbstractException> pChain =
            qstd::cAbstractException::createFromStream(oReader, cFuzzFactory());
        if (pChain) {
            qucs::cString sText;
            pChain->createMessage(sText, qucs::cString("|"), 5, nullptr);
        }
    } catch (const qstd::cAbstractException&) {
    }
    return 0;
}
