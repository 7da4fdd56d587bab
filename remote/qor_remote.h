// qor_remote.h - every public header of the remote-call library.
// SPDX-License-Identifier: MIT
#ifndef QOR_REMOTE_QOR_REMOTE_H
#define QOR_REMOTE_QOR_REMOTE_H

#include "remote/framedecoder.h"
#include "remote/publicmethodslot.h"
#include "remote/remotecall.h"
#include "remote/remoteclient.h"
#include "remote/remotecomponent.h"
#include "remote/remoteendpoint.h"
#include "remote/remoteexceptions.h"
#include "remote/remoteglobal.h"
#include "remote/remoteprotocol.h"
#include "remote/remoteserver.h"
#include "remote/remotevalue.h"

#endif // QOR_REMOTE_QOR_REMOTE_H
