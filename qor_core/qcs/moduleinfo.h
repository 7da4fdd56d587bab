// moduleinfo.h - cModuleInfo, the descriptive record of a module.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCS_MODULEINFO_H
#define QOR_CORE_QCS_MODULEINFO_H

#include "qor_core/std/buildinfo.h"

namespace qcs {

/// Name, author, description and build information of a module, and its context:
/// the lookup name a class loader's caller gave the module along with the loader.
class QOR_EXPORT cModuleInfo
{
public:
    /// Empty texts and a default build information.
    cModuleInfo() {}

    const qstd::cAsciiString& name() const { return msName; }
    void setName(const qstd::cAsciiString& sName) { msName = sName; }
    const qstd::cAsciiString& author() const { return msAuthor; }
    void setAuthor(const qstd::cAsciiString& sAuthor) { msAuthor = sAuthor; }
    const qstd::cAsciiString& description() const { return msDescription; }
    void setDescription(const qstd::cAsciiString& sDescription) { msDescription = sDescription; }
    const qstd::cBuildInfo& buildInfo() const { return moBuildInfo; }
    qstd::cBuildInfo& bi() { return moBuildInfo; }
    void setBuildInfo(const qstd::cBuildInfo& oBuildInfo) { moBuildInfo = oBuildInfo; }
    const qstd::cAsciiString& context() const { return msContext; }
    void setContext(const qstd::cAsciiString& sContext) { msContext = sContext; }
    void swap(cModuleInfo& oOther);

    /// name " (build " count ")" " Written by " author " builded on \"" host "\" ("
    /// date ") using " compiler " - " compiler version.
    qstd::cAsciiString toString() const;

    /// Name, author, description, build information, context; never labelled.
    qsa::cAbstractSerializer& operator>>(qsa::cAbstractSerializer& oSerializer) const;
    /// Reads what operator>> wrote; the info changes only when everything was read.
    qsa::cAbstractDeserializer& operator<<(qsa::cAbstractDeserializer& oDeserializer);

private:
    qstd::cAsciiString msName;
    qstd::cAsciiString msAuthor;
    qstd::cAsciiString msDescription;
    qstd::cBuildInfo moBuildInfo;
    qstd::cAsciiString msContext;
};

} // namespace qcs

#endif // QOR_CORE_QCS_MODULEINFO_H
