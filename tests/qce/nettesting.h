// nettesting.h - helpers of the network tests: a plain IPv4 address; exception texts
// and descriptor counts come from the file tests' helpers.
#ifndef QOR_TESTS_QCE_NETTESTING_H
#define QOR_TESTS_QCE_NETTESTING_H

#include "io/iotesting.h"

#include <functional>

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

/// Records what a connection reports and runs optional functions from its signals.
class cConnectionProbe : public qrmi::cConnectable
{
public:
    explicit cConnectionProbe(qce::cNetAbstractConnection& oConnection)
    {
        oConnection.sigClosed.connect(*this, &cConnectionProbe::closed);
        oConnection.sigInvalidated.connect(*this, &cConnectionProbe::invalidated);
        oConnection.sigDataReceived.connect(*this, &cConnectionProbe::received);
        oConnection.sigChunkSent.connect(*this, &cConnectionProbe::chunk);
        oConnection.sigTxComplete.connect(*this, &cConnectionProbe::complete);
    }
    piVoid closed(qce::cNetAbstractConnection& c)
    {
        ++miClosed;
        if (mfClosed)
            mfClosed(c);
        return piVoid();
    }
    piVoid invalidated(qce::cNetAbstractConnection& c)
    {
        ++miInvalidated;
        if (mfInvalidated)
            mfInvalidated(c);
        return piVoid();
    }
    piVoid received(qce::cNetAbstractConnection& c, const qstd::tArray<char>& oData)
    {
        moReceived.emplace_back(oData.begin(), oData.end());
        msData.append(oData.begin(), oData.end());
        if (mfReceived)
            mfReceived(c, oData);
        return piVoid();
    }
    piVoid chunk()
    {
        ++miChunks;
        return piVoid();
    }
    piVoid complete()
    {
        ++miComplete;
        if (mfComplete)
            mfComplete();
        return piVoid();
    }
    piVoid error(qce::cNetAbstractConnection&, const qstd::cAbstractException& e)
    {
        moErrors.push_back(chainOf(e));
        return piVoid();
    }

    int miClosed = 0, miInvalidated = 0, miChunks = 0, miComplete = 0;
    std::vector<std::string> moReceived;
    std::string msData; ///< everything received, in order
    std::vector<std::vector<std::string>> moErrors;
    std::function<void(qce::cNetAbstractConnection&)> mfClosed, mfInvalidated;
    std::function<void(qce::cNetAbstractConnection&, const qstd::tArray<char>&)> mfReceived;
    std::function<void()> mfComplete;
};

inline qstd::tArray<char> bytes(const std::string& s)
{
    return qstd::tArray<char>(s.data(), unsigned(s.size()));
}

} // namespace qortest

#endif // QOR_TESTS_QCE_NETTESTING_H
