// componentlocation.cpp - cComponentLocation.
// SPDX-License-Identifier: MIT
#include "qor_core/qcs/componentlocation.h"
#include "qor_core/qcs/mcsexceptions.h"
#include "qor_core/qcs/textform_p.h"
#include "qor_core/pi/platform.h"
#include "qor_core/sa/abstractserializer.h"
#include "qor_core/sa/contextref.h"

namespace qcs {

cComponentLocation::cComponentLocation() : miPid(0)
{
    provide();
}

cComponentLocation::cComponentLocation(const cComponentAddr& oAddress,
                                       const qstd::cAsciiString& sHostName,
                                       const qstd::cAsciiString& sLocalId, unsigned iPid)
    : moAddress(oAddress), msHostName(sHostName), msLocalId(sLocalId), miPid(iPid)
{
}

cComponentLocation::cComponentLocation(const qstd::cAsciiString& sText) : miPid(0)
{
    fromString(sText);
}

void cComponentLocation::provide()
{
    qpi::cPlatform oPlatform;
    msHostName = oPlatform.hostname();
    miPid = oPlatform.pid();
    msLocalId.clear();
}

void cComponentLocation::swap(cComponentLocation& oOther)
{
    moAddress.swap(oOther.moAddress);
    msHostName.swap(oOther.msHostName);
    msLocalId.swap(oOther.msLocalId);
    piUInt32 iPid = miPid;
    miPid = oOther.miPid;
    oOther.miPid = iPid;
}

qstd::cAsciiString cComponentLocation::toString() const
{
    qstd::cAsciiString sText(moAddress.toString());
    sText += '-';
    sText.addUNum32(miPid);
    sText += '@';
    sText += msHostName;
    if (!msLocalId.empty()) {
        sText += ':';
        sText += msLocalId;
    }
    return sText;
}

void cComponentLocation::fromString(const qstd::cAsciiString& sText)
{
    qstd::cAsciiString sWork(sText);
    detail::replaceAll(sWork, '-', ' ');
    unsigned iPos = 0;
    qstd::cAsciiString sAddress = detail::takeWord(sWork, iPos);
    qstd::cAsciiString sRest = detail::takeWord(sWork, iPos);

    detail::replaceAll(sRest, '@', ' ');
    unsigned iRestPos = 0;
    qstd::cAsciiString sPid = detail::takeWord(sRest, iRestPos);
    piUInt32 iPid = 0;
    if (!sPid.empty()) {
        try {
            iPid = detail::parseDecimal32(sPid);
        } catch (const qstd::cAbstractException& e) {
            cMCSExceptions::throwMalformedComponentAddress(sText, e);
        }
    }
    detail::replaceAll(sRest, ':', ' ');
    qstd::cAsciiString sHost = detail::takeWord(sRest, iRestPos);
    qstd::cAsciiString sLocalId = detail::takeWord(sRest, iRestPos);

    cComponentAddr oAddress;
    oAddress.fromString(sAddress);

    moAddress = oAddress;
    msHostName.swap(sHost);
    msLocalId.swap(sLocalId);
    miPid = iPid;
}

qsa::cAbstractSerializer&
cComponentLocation::operator>>(qsa::cAbstractSerializer& oSerializer) const
{
    if (oSerializer.noLabelsPreferred()) {
        moAddress.store(oSerializer, false);
        oSerializer.store(msHostName);
        oSerializer.store(msLocalId);
        oSerializer.store((unsigned int)miPid);
        return oSerializer;
    }
    oSerializer.newLabel("LocalAddress");
    {
        qsa::cContext oContext(oSerializer.newContext("ModuleAddress"));
        moAddress.store(oSerializer, true);
        oContext.release();
    }
    oSerializer.newLabel("HostName");
    oSerializer.store(msHostName);
    oSerializer.newLabel("LocalID");
    oSerializer.store(msLocalId);
    oSerializer.newLabel("PID");
    oSerializer.store((unsigned int)miPid);
    return oSerializer;
}

qsa::cAbstractDeserializer&
cComponentLocation::operator<<(qsa::cAbstractDeserializer& oDeserializer)
{
    cComponentLocation oLoaded(cComponentAddr(), qstd::cAsciiString(), qstd::cAsciiString(), 0);
    unsigned int iPid = 0;
    if (!detail::readsLabelled(oDeserializer)) {
        oLoaded.moAddress.load(oDeserializer, false);
        oDeserializer.load(oLoaded.msHostName);
        oDeserializer.load(oLoaded.msLocalId);
        oDeserializer.load(iPid);
    } else {
        oDeserializer.findLabel("LocalAddress");
        {
            qsa::cContext oContext(oDeserializer.getContext("ModuleAddress"));
            oLoaded.moAddress.load(oDeserializer, true);
            oContext.release();
        }
        oDeserializer.findLabel("HostName");
        oDeserializer.load(oLoaded.msHostName);
        oDeserializer.findLabel("LocalID");
        oDeserializer.load(oLoaded.msLocalId);
        oDeserializer.findLabel("PID");
        oDeserializer.load(iPid);
    }
    oLoaded.miPid = iPid;
    swap(oLoaded);
    return oDeserializer;
}

} // namespace qcs
