// abstractfileimpl.cpp - qio::cAbstractFileImpl.
// SPDX-License-Identifier: MIT
#include "qor_core/io/abstractfileimpl.h"
#include "qor_core/std/stdexceptions.h"

namespace qio {

cAbstractFileImpl::cAbstractFileImpl(const cFs& oFs, cAbstractIOBlockDevice& oDevice)
    : moFs(oFs), mpBD(&oDevice)
{
}

cAbstractFileImpl::~cAbstractFileImpl() {}

cAbstractIOBlockDevice& cAbstractFileImpl::bd() const
{
    QOR_ASSERT_TEXT(mpBD != nullptr, "mpBD != 0");
    return *mpBD;
}

unsigned long long cAbstractFileImpl::skip(unsigned long long iCount)
{
    seek((long long)iCount, SeekFromCurrent);
    return pos();
}

void cAbstractFileImpl::swapBD(cAbstractFileImpl& oOther)
{
    cAbstractIOBlockDevice* p = mpBD;
    mpBD = oOther.mpBD;
    oOther.mpBD = p;
}

} // namespace qio
