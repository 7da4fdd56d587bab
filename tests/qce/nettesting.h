// nettesting.h - helpers of the network tests: a plain IPv4 address and exception texts.
#ifndef QOR_TESTS_QCE_NETTESTING_H
#define QOR_TESTS_QCE_NETTESTING_H

#include "qor_core/qor_core.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qortest {

/// An IPv4 address that only stores what it is given.
class cTestIPv4Address : public qce::cNetAbstractIPv4Address
{
public:
    unsigned int port() const override { return miPort; }
    void setPort(unsigned int iPort) override { miPort = iPort; }
    void setAddress(unsigned int iIp, unsigned int iPort) override
    {
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
        return qstd::tAutoPtr<qce::cNetAbstractAddress>(new cTestIPv4Address(*this));
    }
    void assign(const qce::cNetAbstractAddress& oOther) override
    {
        *this = dynamic_cast<const cTestIPv4Address&>(oOther);
    }
    bool isEqual(const qce::cNetAbstractAddress& oOther) const override
    {
        auto* p = dynamic_cast<const cTestIPv4Address*>(&oOther);
        return p && p->miIp == miIp && p->miPort == miPort;
    }
    void clear() override { miIp = miPort = 0; }

    unsigned int miIp = 0;
    unsigned int miPort = 0;
};

/// The untranslated text of each exception of the chain, outermost first.
inline std::vector<std::string> netChainOf(const qstd::cAbstractException& e)
{
    std::vector<std::string> oTexts;
    for (const qstd::cAbstractException* p = &e; p; p = p->history()) {
        qstd::cAsciiString sText;
        if (p->liMessage())
            p->liMessage()->untranslated(sText);
        oTexts.push_back(sText.c_str());
    }
    return oTexts;
}

/// Runs f, which must throw a cAbstractException, and returns the texts of its chain.
template <class F> std::vector<std::string> netFailureOf(F f)
{
    try {
        f();
    } catch (const qstd::cAbstractException& e) {
        return netChainOf(e);
    }
    ADD_FAILURE() << "nothing thrown";
    return {};
}

} // namespace qortest

#endif // QOR_TESTS_QCE_NETTESTING_H
