// genericplugin.h - qce::cGenericPlugIn, a plug-in carrying a cGenericExtension.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCE_GENERICPLUGIN_H
#define QOR_CORE_QCE_GENERICPLUGIN_H

#include "qor_core/qce/genericextension.h"
#include "qor_core/qcs/abstractplugin.h"

namespace qce {

/// A plug-in whose core extension is a generic one of kind 3 with the given
/// description: it stays registered once loaded but serves no request.
class QOR_EXPORT cGenericPlugIn : public qcs::cAbstractPlugIn
{
public:
    cGenericPlugIn(qsa::cReferenceFrame& oFrame, qstd::cAsciiString sDescription);
    ~cGenericPlugIn() override;

    /// True.
    bool isCoreExtension() const override;
    /// The generic extension.
    const cAbstractCoreExtension& coreExtension() const override;

private:
    cGenericExtension moExtension;
};

} // namespace qce

#endif // QOR_CORE_QCE_GENERICPLUGIN_H
