// remotevalue.cpp - variables of the types a remote call can carry.
// SPDX-License-Identifier: MIT
#include "remote/remotevalue.h"
#include "qor_core/sa/typereference.h"
#include "qor_core/ucs/string.h"

#include <cstring>

namespace qremote {

namespace {

template <class T> class tRemoteValue : public cRemoteValue
{
public:
    tRemoteValue() : moValue() {}
    void addTo(qsa::cReferenceFrame& oFrame, bool bAlterable, bool bReadable) override
    {
        oFrame.addRef(moValue, bAlterable, bReadable);
    }

private:
    T moValue;
};

typedef qstd::tAutoPtr<cRemoteValue> tValue;

template <class T> bool make(const char* pName, tValue& pValue)
{
    if (std::strcmp(pName, qsa::tTypeName<T>::name()) != 0)
        return false;
    pValue.reset(new tRemoteValue<T>);
    return true;
}

} // namespace

cRemoteValue::~cRemoteValue() {}

qstd::tAutoPtr<cRemoteValue> cRemoteValue::create(const qstd::cAsciiString& sTypeName)
{
    tValue pValue;
    const char* pName = sTypeName.c_str();
    make<piVoid>(pName, pValue) || make<int>(pName, pValue) || make<unsigned int>(pName, pValue) ||
        make<bool>(pName, pValue) || make<double>(pName, pValue) ||
        make<qstd::cAsciiString>(pName, pValue) || make<qucs::cString>(pName, pValue) ||
        make<long long>(pName, pValue) || make<unsigned long long>(pName, pValue) ||
        make<short>(pName, pValue) || make<unsigned short>(pName, pValue) ||
        make<signed char>(pName, pValue) || make<unsigned char>(pName, pValue);
    return pValue;
}

} // namespace qremote
