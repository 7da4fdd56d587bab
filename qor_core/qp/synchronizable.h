// synchronizable.h - qp::cSynchronizable, the base of objects that carry their own locker.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QP_SYNCHRONIZABLE_H
#define QOR_CORE_QP_SYNCHRONIZABLE_H

#include "qor_core/qp/locker.h"

namespace qp {

/// An object that brings the locker its users hold while they work on it.
class QOR_EXPORT cSynchronizable
{
public:
    cSynchronizable();
    virtual ~cSynchronizable();
    cLocker* mutex() { return &moLocker; }

private:
    cLocker moLocker;
};

} // namespace qp

#endif // QOR_CORE_QP_SYNCHRONIZABLE_H
