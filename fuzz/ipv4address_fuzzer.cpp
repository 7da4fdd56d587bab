// ipv4address_fuzzer.cpp - parses arbitrary text as an IPv4 address with optional
// port and checks that it is either refused with the invalid-address message, the
// object unchanged, or accepted exactly when the text is the canonical form or a
// zero-padded variant of it: formatting and parsing again gives the same value.
#include "qor_core/qce/net++/netabstractipv4address.h"
#include "qor_core/std/exception.h"
#include "qor_core/ucs/limessage.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void check(bool bCondition)
{
    if (!bCondition)
        std::abort();
}

class cAddress : public qce::cNetAbstractIPv4Address
{
public:
    unsigned int port() const override { return miPort; }
    void setPort(unsigned int iPort) override { miPort = iPort; }
    void setAddress(unsigned int iIp, unsigned int iPort) override
    {
        check(iPort <= 65535);
        miIp = iIp;
        miPort = iPort;
    }
    void address(unsigned int& iIp, unsigned int& iPort) const override
    {
        iIp = miIp;
        iPort = miPort;
    }
    qstd::tAutoPtr<qce::cNetAbstractAddress> clone() const override
    {
        return qstd::tAutoPtr<qce::cNetAbstractAddress>(new cAddress(*this));
    }
    void assign(const qce::cNetAbstractAddress&) override {}
    bool isEqual(const qce::cNetAbstractAddress&) const override { return false; }
    void clear() override { miIp = miPort = 0; }

    unsigned int miIp = 0x04030201;
    unsigned int miPort = 77;
};

/// Only digits, dots and one optional colon, in the shape d+.d+.d+.d+(:d+)?
bool wellShaped(const char* pData, size_t iSize)
{
    unsigned iDots = 0, iColons = 0;
    bool bDigitBefore = false;
    for (size_t i = 0; i < iSize; ++i) {
        char c = pData[i];
        if (c >= '0' && c <= '9') {
            bDigitBefore = true;
            continue;
        }
        if (!bDigitBefore)
            return false;
        bDigitBefore = false;
        if (c == '.' && iColons == 0)
            ++iDots;
        else if (c == ':' && iDots == 3)
            ++iColons;
        else
            return false;
    }
    return bDigitBefore && iDots == 3 && iColons <= 1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t iSize)
{
    if (iSize > 4096)
        return 0;
    const char* pText = reinterpret_cast<const char*>(pData);
    qstd::cAsciiString sText(pText, unsigned(iSize));
    cAddress oAddress;
    try {
        oAddress.fromString(sText);
    } catch (const qstd::cAbstractException& e) {
        qstd::cAsciiString sMessage;
        check(e.liMessage() != nullptr);
        e.liMessage()->untranslated(sMessage);
        check(std::strcmp(sMessage.c_str(), "Invalid network address!") == 0);
        check(e.history() != nullptr);
        check(oAddress.miIp == 0x04030201 && oAddress.miPort == 77);
        return 0;
    }
    check(wellShaped(pText, iSize));
    cAddress oAgain;
    oAgain.fromString(oAddress.toString(true));
    check(oAgain.miIp == oAddress.miIp && oAgain.miPort == oAddress.miPort);
    return 0;
}
