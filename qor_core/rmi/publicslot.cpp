// publicslot.cpp - cPublicSlot.
// SPDX-License-Identifier: MIT
#include "qor_core/rmi/publicslot.h"
#include "qor_core/rmi/abstractslotcall.h"
#include "qor_core/sa/abstractserializer.h"

namespace qrmi {

cPublicSlot::cPublicSlot(qstd::tAutoPtr<cAbstractSlotCall> pSlotCall)
    : mpSlotCall(pSlotCall.release())
{
}

cPublicSlot::cPublicSlot(const qstd::cAsciiString& sName, const qstd::cAsciiString& sReturnTypeName,
                         const qstd::cAsciiString& sParamTypeNames,
                         const qstd::cAsciiString& sDescription,
                         qstd::tAutoPtr<cAbstractSlotCall> pSlotCall)
    : cPublicMember(sName, sReturnTypeName, sParamTypeNames, sDescription),
      mpSlotCall(pSlotCall.release())
{
}

cPublicSlot::~cPublicSlot()
{
    delete mpSlotCall;
}

qsa::cAbstractSerializer& cPublicSlot::operator>>(qsa::cAbstractSerializer& oSerializer) const
{
    storeHead(oSerializer);
    storeTail(oSerializer);
    return oSerializer;
}

qsa::cAbstractDeserializer& cPublicSlot::operator<<(qsa::cAbstractDeserializer& oDeserializer)
{
    // Only a complete description replaces the current one.
    cPublicSlot oLoaded((qstd::tAutoPtr<cAbstractSlotCall>()));
    oLoaded.loadHead(oDeserializer);
    oLoaded.loadTail(oDeserializer);
    cPublicMember::operator=(oLoaded);
    return oDeserializer;
}

} // namespace qrmi
