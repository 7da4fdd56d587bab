// abstractprocessevents.cpp - qpi::cAbstractProcessEvents.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/abstractprocessevents.h"

namespace qpi {

cAbstractProcessEvents::cAbstractProcessEvents()
    : sigFinished(qrmi::cAbstractSignal::IgnoreWhenUnconnected)
{
}

cAbstractProcessEvents::~cAbstractProcessEvents() {}

void cAbstractProcessEvents::poll() {}

bool cAbstractProcessEvents::trackWorks(tJobList&)
{
    return false;
}

cAbstractProcessEvents::cWorkRegistration*
cAbstractProcessEvents::watchWork(cWork&, cWorkRegistration* pRegistration)
{
    return pRegistration;
}

void cAbstractProcessEvents::unwatchWork(cWorkRegistration*) {}

} // namespace qpi
