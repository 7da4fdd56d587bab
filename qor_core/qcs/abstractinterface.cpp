// abstractinterface.cpp - cAbstractInterface.
// SPDX-License-Identifier: MIT
#include "qor_core/qcs/abstractinterface.h"
#include "qor_core/rmi/publicsignal.h"
#include "qor_core/rmi/publicslot.h"
#include "qor_core/sa/abstractserializer.h"

namespace qcs {

cAbstractInterface::cAbstractInterface(const cInterfaceDesc& oDesc)
    : sigNotify(qrmi::cAbstractSignal::IgnoreWhenUnconnected), moDesc(oDesc)
{
}

cAbstractInterface::~cAbstractInterface() {}

bool cAbstractInterface::matches(const cInterfaceDesc& oDesc) const
{
    return oDesc.type() != moDesc.type() && oDesc.name() == moDesc.name();
}

void cAbstractInterface::store(qsa::cAbstractSerializer& oSerializer) const
{
    moDesc >> oSerializer;
    {
        qsa::cContext oSlots(oSerializer.newContext(nullptr));
        if (const qstd::tPtrList<qrmi::cPublicSlot>* pSlots = publicSlots())
            for (auto it = pSlots->begin(); it != pSlots->end(); ++it)
                **it >> oSerializer;
        oSlots.release();
    }
    {
        qsa::cContext oSignals(oSerializer.newContext(nullptr));
        if (const qstd::tPtrList<qrmi::cPublicSignal>* pSignals = publicSignals())
            for (auto it = pSignals->begin(); it != pSignals->end(); ++it)
                **it >> oSerializer;
        oSignals.release();
    }
}

void cAbstractInterface::load(qsa::cAbstractDeserializer& oDeserializer,
                              qrmi::cAbstractRMIFactory& oFactory)
{
    clear();
    cInterfaceDesc oDesc;
    oDesc << oDeserializer;
    try {
        {
            qsa::cContext oSlots(oDeserializer.getContext(nullptr));
            while (!oDeserializer.eoc())
                registerRemoteSlot(oDeserializer, oFactory);
            oSlots.release();
        }
        {
            qsa::cContext oSignals(oDeserializer.getContext(nullptr));
            while (!oDeserializer.eoc())
                registerRemoteSignal(oDeserializer, oFactory);
            oSignals.release();
        }
    } catch (...) {
        // No half-built proxy: whatever was registered goes again.
        clear();
        throw;
    }
    moDesc.swap(oDesc);
}

} // namespace qcs
