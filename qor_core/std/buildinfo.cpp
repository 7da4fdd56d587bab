// buildinfo.cpp - qstd::cBuildInfo.
// SPDX-License-Identifier: MIT
#include "qor_core/std/buildinfo.h"

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

} // namespace qstd
