// netabstractaddress.cpp - the abstract network addresses and the IPv4 text form.
// SPDX-License-Identifier: MIT
#include "qor_core/qce/net++/netabstractaddress.h"
#include "qor_core/qce/net++/netabstractipaddress.h"
#include "qor_core/qce/net++/netabstractipcapinfo.h"
#include "qor_core/qce/net++/netabstractipv4address.h"
#include "qor_core/qce/net++/netexceptions.h"
#include "qor_core/std/exception.h"
#include "qor_core/ucs/limessage.h"

namespace qce {

cNetAbstractAddress::~cNetAbstractAddress() {}

cNetAbstractIPAddress* cNetAbstractAddress::isIPAddress()
{
    return nullptr;
}

const cNetAbstractIPAddress* cNetAbstractAddress::isIPAddress() const
{
    return nullptr;
}

cNetAbstractIPAddress::~cNetAbstractIPAddress() {}

cNetAbstractIPCapInfo::~cNetAbstractIPCapInfo() {}

cNetAbstractIPv4Address::~cNetAbstractIPv4Address() {}

qstd::cAsciiString cNetAbstractIPv4Address::addrType() const
{
    return "TcpIpv4";
}

namespace {

[[noreturn]] void throwRuntime(const qucs::cLIMessage& oMsg)
{
    throw qstd::cRuntimeException(oMsg, nullptr, 0);
}

[[noreturn]] void throwExpectingNumber()
{
    throwRuntime(qucs::cLIMessage::fromTemplate("$MTR$Expecting an unsigned decimal number!"));
}

/// Reads the characters of one number of an IPv4 text: the run up to the next "."
/// or ":" (or the end). Everything in the run must be a decimal digit. Returns the
/// value, or, with bOverflow set, the text when the value does not fit 64 bits.
struct cPart
{
    const char* mpBegin = nullptr;
    unsigned miLength = 0;
    unsigned long long miValue = 0;
    bool mbOverflow = false;

    void read(const char* pText, unsigned iLength, unsigned& iPos)
    {
        mpBegin = pText + iPos;
        while (iPos < iLength && pText[iPos] != '.' && pText[iPos] != ':')
            ++iPos;
        miLength = unsigned(pText + iPos - mpBegin);
        for (unsigned i = 0; i < miLength; ++i) {
            unsigned iDigit = unsigned(static_cast<unsigned char>(mpBegin[i])) - '0';
            if (iDigit > 9)
                throwExpectingNumber();
            if (miValue > (~0ULL - iDigit) / 10)
                mbOverflow = true;
            else
                miValue = miValue * 10 + iDigit;
        }
    }

    /// Streams the value (or, beyond 64 bits, the digits) into oMsg.
    void streamTo(qucs::cLIMessage& oMsg) const
    {
        if (mbOverflow)
            oMsg << qstd::cAsciiString(mpBegin, miLength);
        else
            oMsg << miValue;
    }
    bool exceeds(unsigned long long iMax) const { return mbOverflow || miValue > iMax; }
};

void parseIPv4(const qstd::cAsciiString& sText, unsigned int& iIp, unsigned int& iPort)
{
    const char* pText = sText.c_str();
    const unsigned iLength = sText.length();
    unsigned iPos = 0;
    unsigned iIpValue = 0;
    for (unsigned i = 0; i < 4; ++i) {
        if (i != 0) {
            if (iPos >= iLength || pText[iPos] != '.')
                throwExpectingNumber();
            ++iPos;
        }
        cPart oPart;
        oPart.read(pText, iLength, iPos);
        if (oPart.miLength == 0)
            throwExpectingNumber();
        if (oPart.exceeds(255)) {
            qucs::cLIMessage oMsg;
            oMsg << "$MTR$IP number part (%number%) is not in range of 0..255!";
            oPart.streamTo(oMsg);
            throwRuntime(oMsg);
        }
        iIpValue |= unsigned(oPart.miValue) << (8 * i);
    }
    unsigned iPortValue = 0;
    if (iPos < iLength && pText[iPos] == ':') {
        ++iPos;
        cPart oPart;
        oPart.read(pText, iLength, iPos);
        if (oPart.miLength == 0)
            throwRuntime(qucs::cLIMessage::fromTemplate("$MTR$Expecting port number!"));
        if (oPart.exceeds(65535)) {
            qucs::cLIMessage oMsg;
            oMsg << "$MTR$Given port number (%number%) is not in range of 0..65535";
            oPart.streamTo(oMsg);
            throwRuntime(oMsg);
        }
        iPortValue = unsigned(oPart.miValue);
    }
    if (iPos < iLength) {
        // A fifth part, a second colon or any other text: refused rather than
        // silently naming another host.
        qucs::cLIMessage oMsg;
        oMsg << "$MTR$Unexpected text (%text%) after network address!"
             << qstd::cAsciiString(pText + iPos, iLength - iPos);
        throwRuntime(oMsg);
    }
    iIp = iIpValue;
    iPort = iPortValue;
}

} // namespace

void cNetAbstractIPv4Address::parse(const qstd::cAsciiString& sText, unsigned int& iIp,
                                    unsigned int& iPort)
{
    try {
        parseIPv4(sText, iIp, iPort);
    } catch (const qstd::cAbstractException& e) {
        cNETExceptions::throwInvalidAddress(e);
    }
}

cNetAbstractAddress& cNetAbstractIPv4Address::fromString(const qstd::cAsciiString& sText)
{
    unsigned int iIp = 0;
    unsigned int iPort = 0;
    parse(sText, iIp, iPort);
    setAddress(iIp, iPort);
    return *this;
}

qstd::cAsciiString cNetAbstractIPv4Address::toString() const
{
    unsigned int iIp = 0;
    unsigned int iPort = 0;
    address(iIp, iPort);
    qstd::cAsciiString sText;
    char cBuffer[4];
    for (unsigned i = 0; i < 4; ++i) {
        if (i != 0)
            sText += '.';
        unsigned iByte = (iIp >> (8 * i)) & 0xFFu;
        unsigned iDigits = 0;
        do {
            cBuffer[iDigits++] = char('0' + iByte % 10);
            iByte /= 10;
        } while (iByte != 0);
        while (iDigits != 0)
            sText += cBuffer[--iDigits];
    }
    return sText;
}

qstd::cAsciiString cNetAbstractIPv4Address::toString(bool bWithPort) const
{
    qstd::cAsciiString sText = toString();
    if (bWithPort) {
        char cBuffer[12];
        unsigned iPort = port();
        unsigned iDigits = 0;
        do {
            cBuffer[iDigits++] = char('0' + iPort % 10);
            iPort /= 10;
        } while (iPort != 0);
        sText += ':';
        while (iDigits != 0)
            sText += cBuffer[--iDigits];
    }
    return sText;
}

} // namespace qce
