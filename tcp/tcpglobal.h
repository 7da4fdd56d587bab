// tcpglobal.h - export marker of the TCP transport library.
// SPDX-License-Identifier: MIT
#ifndef QOR_TCP_TCPGLOBAL_H
#define QOR_TCP_TCPGLOBAL_H

/// Classes of libqor_tcp that applications use directly.
#define QOR_TCP_EXPORT __attribute__((visibility("default")))

#endif // QOR_TCP_TCPGLOBAL_H
