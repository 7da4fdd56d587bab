// genericextension.h - qce::cGenericExtension, an extension that serves no request.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCE_GENERICEXTENSION_H
#define QOR_CORE_QCE_GENERICEXTENSION_H

#include "qor_core/qce/abstractcoreextension.h"
#include "qor_core/std/buildinfo.h"

namespace qce {

/// An extension with a description and a kind that supports no name: a library can
/// be registered with the core extension manager without creating anything.
class QOR_EXPORT cGenericExtension : public cAbstractCoreExtension
{
public:
    cGenericExtension(const qstd::cAsciiString& sDescription, ExtensionType eType);

    ExtensionType extensionType() const override { return meType; }
    qstd::cAsciiString description() const override { return msDescription; }
    const qstd::cBuildInfo& buildInfo() const override { return moBuildInfo; }
    /// Always false.
    bool supports(const qstd::cAsciiString& sName) const override;

private:
    qstd::cBuildInfo moBuildInfo;
    qstd::cAsciiString msDescription;
    ExtensionType meType;
};

} // namespace qce

#endif // QOR_CORE_QCE_GENERICEXTENSION_H
