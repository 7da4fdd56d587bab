// localeventloop.cpp - qpi::cLocalEventLoop.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/localeventloop.h"
#include "qor_core/pi/system.h"
#include "qor_core/pi/workqueue.h"

namespace qpi {

cLocalEventLoop::cLocalEventLoop(cWorkQueue* pQueue)
    : mpQueue(pQueue ? pQueue : &system().workQueue())
{
    mpQueue->incLocalLoops();
}

cLocalEventLoop::~cLocalEventLoop()
{
    mpQueue->decLocalLoops();
}

void cLocalEventLoop::process()
{
    mpQueue->process();
}

} // namespace qpi
