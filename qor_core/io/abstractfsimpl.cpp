// abstractfsimpl.cpp - the default operations of file-system implementations.
// SPDX-License-Identifier: MIT
#include "qor_core/io/abstractfsimpl.h"
#include "qor_core/io/fs.h"
#include "qor_core/io/ioexceptions.h"

namespace qio {

cAbstractFsImpl::cAbstractFsImpl(const cFs& oFs) : mpEnDec(oFs.endecObject()) {}

cAbstractFsImpl::~cAbstractFsImpl() {}

cFs cAbstractFsImpl::fs() const
{
    return cFs(qstd::tSharedObject<cAbstractFsImpl>(const_cast<cAbstractFsImpl&>(*this)), mpEnDec);
}

bool cAbstractFsImpl::isUsed() const
{
    return true;
}

bool cAbstractFsImpl::matches(qucs::cString&, Operation)
{
    return true;
}

void cAbstractFsImpl::bind(qstd::tAutoPtr<cAbstractFsImpl>)
{
    cIOExceptions::throwBindNotSupported();
}

void cAbstractFsImpl::unbind(const qucs::cString&)
{
    cIOExceptions::throwBindNotSupported();
}

} // namespace qio
