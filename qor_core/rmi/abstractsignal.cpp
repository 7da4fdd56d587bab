// abstractsignal.cpp - cAbstractSignal.
// SPDX-License-Identifier: MIT
#include "qor_core/rmi/abstractsignal.h"
#include "qor_core/pi/debug.h"
#include "qor_core/rmi/connectable.h"
#include "qor_core/rmi/publicsignal.h"
#include "qor_core/rmi/rmiexceptions.h"

namespace qrmi {

cAbstractSignal::cAbstractSignal(InvocationBehavior eBehavior)
    : meInvocationBehavior(eBehavior), mpPublicSignal(nullptr)
{
}

cAbstractSignal::~cAbstractSignal()
{
    setPublicSignal(nullptr);
}

void cAbstractSignal::setPublicSignal(cPublicSignal* pSignal)
{
    if (!pSignal) {
        while (cPublicSignal* pEntry = mpPublicSignal) {
            mpPublicSignal = pEntry->mpNextOfSignal;
            pEntry->mpNextOfSignal = nullptr;
            pEntry->mpSignal = nullptr;
        }
        return;
    }
    if (pSignal->mpSignal)
        pSignal->mpSignal->unlinkPublicSignal(*pSignal);
    pSignal->mpSignal = this;
    linkPublicSignal(*pSignal);
}

void cAbstractSignal::linkPublicSignal(cPublicSignal& oEntry)
{
    oEntry.mpNextOfSignal = mpPublicSignal;
    mpPublicSignal = &oEntry;
}

void cAbstractSignal::unlinkPublicSignal(cPublicSignal& oEntry)
{
    for (cPublicSignal** pp = &mpPublicSignal; *pp; pp = &(*pp)->mpNextOfSignal) {
        if (*pp == &oEntry) {
            *pp = oEntry.mpNextOfSignal;
            break;
        }
    }
    oEntry.mpNextOfSignal = nullptr;
}

void cAbstractSignal::connect(cConnectable&, const qstd::cAsciiString&, SlotResolving)
{
    cRMIExceptions::throwIndirectLocalConnection();
}

void cAbstractSignal::addParameterInfo(cPublicSignal&) {}

qstd::cAsciiString cAbstractSignal::parametersTypeString() const
{
    return qstd::cAsciiString();
}

qstd::cAsciiString cAbstractSignal::returnTypeString() const
{
    return qstd::cAsciiString();
}

cPublicSignal* cAbstractSignal::exportSignal(cConnectable& oOwner, const qstd::cAsciiString& sName,
                                             InterfaceType eType,
                                             const qstd::cAsciiString& sDescription)
{
    cPublicSignal* pPublic = oOwner.registerSignal(
        sName, returnTypeString(), parametersTypeString(), eType, sDescription, this);
    addParameterInfo(*pPublic);
    return pPublic;
}

const qstd::cAsciiString& cAbstractSignal::publicSignalName() const
{
    if (!mpPublicSignal)
        cRMIExceptions::throwSignalNotPublic();
    return mpPublicSignal->name();
}

void cAbstractSignal::checkNIC(unsigned)
{
    QOR_DEBUG_LINE(">>>>>>>>> delete this situation in signal!");
    QOR_DEBUG_LINE(qpi::piStackTrace(128));
}

} // namespace qrmi
