// localeventprocessor.cpp - qpi::cLocalEventProcessor.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/localeventprocessor.h"
#include "qor_core/pi/platform.h"
#include "qor_core/std/time.h"

namespace qpi {

cLocalEventProcessor::~cLocalEventProcessor() {}

void cLocalEventProcessor::yield(unsigned int, tJobList& oJobs, unsigned int iTimeout)
{
    if (oJobs.empty()) {
        qstd::cTime oStart;
        cPlatform oPlatform;
        do {
            if ((qstd::cTime() - oStart).toMSec() >= iTimeout)
                break;
            oPlatform.yield();
        } while (!mbWakeUp);
        mbWakeUp = false;
    }
    sigFinished(); // may destroy this object
}

} // namespace qpi
