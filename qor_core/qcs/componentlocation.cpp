// componentlocation.cpp - cComponentLocation.
// SPDX-License-Identifier: MIT
#include "qor_core/qcs/componentlocation.h"
#include "qor_core/pi/platform.h"

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

void cComponentLocation::provide()
{
    qpi::cPlatform oPlatform;
    msHostName = oPlatform.hostname();
    miPid = oPlatform.pid();
}

} // namespace qcs
