// buildinfo.h - qstd::cBuildInfo, how a module was built.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_STD_BUILDINFO_H
#define QOR_CORE_STD_BUILDINFO_H

#include "qor_core/std/asciistring.h"

namespace qstd {

/// The build system, compiler, compiler version, build host and build date of a
/// module (free texts) and its build count.
class QOR_EXPORT cBuildInfo
{
public:
    /// Every text "unknown", build count 0.
    cBuildInfo();
    /// Null texts are taken as empty.
    cBuildInfo(const char* pBuildSystem, const char* pCompiler, const char* pCompilerVersion,
               const char* pBuildHost, const char* pBuildDate, unsigned int iBuildCount);
    cBuildInfo(const cBuildInfo& oOther);
    cBuildInfo& operator=(const cBuildInfo& oOther);
    virtual ~cBuildInfo();

    cAsciiString buildSystem() const { return msBuildSystem; }
    cAsciiString compiler() const { return msCompiler; }
    cAsciiString compilerVersion() const { return msCompilerVersion; }
    cAsciiString buildHost() const { return msBuildHost; }
    cAsciiString buildDate() const { return msBuildDate; }
    unsigned long long buildCount() const { return miBuildCount; }
    void swap(cBuildInfo& oOther);

    /// Writes the five texts in field order, then the build count as unsigned 64 bits.
    qsa::cAbstractSerializer& operator>>(qsa::cAbstractSerializer& oSerializer) const;
    /// Reads what operator>> wrote; the fields change only when all six were read.
    qsa::cAbstractDeserializer& operator<<(qsa::cAbstractDeserializer& oDeserializer);

private:
    cAsciiString msBuildSystem;
    cAsciiString msCompiler;
    cAsciiString msCompilerVersion;
    cAsciiString msBuildHost;
    cAsciiString msBuildDate;
    piUInt64 miBuildCount;
};

} // namespace qstd

#endif // QOR_CORE_STD_BUILDINFO_H
