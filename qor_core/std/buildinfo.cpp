// buildinfo.cpp - qstd::cBuildInfo.
// SPDX-License-Identifier: MIT
#include "qor_core/std/buildinfo.h"
#include "qor_core/sa/abstractserializer.h"

namespace qstd {

cBuildInfo::cBuildInfo()
    : msBuildSystem("unknown"), msCompiler("unknown"), msCompilerVersion("unknown"),
      msBuildHost("unknown"), msBuildDate("unknown"), miBuildCount(0)
{
}

cBuildInfo::cBuildInfo(const char* pBuildSystem, const char* pCompiler,
                       const char* pCompilerVersion, const char* pBuildHost, const char* pBuildDate,
                       unsigned int iBuildCount)
    : msBuildSystem(pBuildSystem), msCompiler(pCompiler), msCompilerVersion(pCompilerVersion),
      msBuildHost(pBuildHost), msBuildDate(pBuildDate), miBuildCount(iBuildCount)
{
}

cBuildInfo::cBuildInfo(const cBuildInfo& oOther) = default;
cBuildInfo& cBuildInfo::operator=(const cBuildInfo& oOther) = default;
cBuildInfo::~cBuildInfo() {}

void cBuildInfo::swap(cBuildInfo& oOther)
{
    msBuildSystem.swap(oOther.msBuildSystem);
    msCompiler.swap(oOther.msCompiler);
    msCompilerVersion.swap(oOther.msCompilerVersion);
    msBuildHost.swap(oOther.msBuildHost);
    msBuildDate.swap(oOther.msBuildDate);
    piUInt64 iCount = miBuildCount;
    miBuildCount = oOther.miBuildCount;
    oOther.miBuildCount = iCount;
}

qsa::cAbstractSerializer& cBuildInfo::operator>>(qsa::cAbstractSerializer& oSerializer) const
{
    oSerializer.store(msBuildSystem);
    oSerializer.store(msCompiler);
    oSerializer.store(msCompilerVersion);
    oSerializer.store(msBuildHost);
    oSerializer.store(msBuildDate);
    oSerializer.store((unsigned long long)miBuildCount);
    return oSerializer;
}

qsa::cAbstractDeserializer& cBuildInfo::operator<<(qsa::cAbstractDeserializer& oDeserializer)
{
    cBuildInfo oLoaded;
    oDeserializer.load(oLoaded.msBuildSystem);
    oDeserializer.load(oLoaded.msCompiler);
    oDeserializer.load(oLoaded.msCompilerVersion);
    oDeserializer.load(oLoaded.msBuildHost);
    oDeserializer.load(oLoaded.msBuildDate);
    unsigned long long iCount = 0;
    oDeserializer.load(iCount);
    oLoaded.miBuildCount = iCount;
    swap(oLoaded);
    return oDeserializer;
}

} // namespace qstd
