// extensionpair.h - qce::cExtensionPair, an entry of the core extension manager.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCE_EXTENSIONPAIR_H
#define QOR_CORE_QCE_EXTENSIONPAIR_H

#include "qor_core/qce/abstractcoreextension.h"

namespace qcs {
class cAbstractPlugIn;
}

namespace qce {

/// One registered extension: either owned directly, or carried by a plug-in the
/// entry owns together with the plug-in's class loader. Destroying the entry deletes
/// the plug-in, then its loader (closing the library), then an owned extension.
class QOR_EXPORT cExtensionPair
{
public:
    /// Owns pExtension and uses it; it must not be null.
    explicit cExtensionPair(qstd::tAutoPtr<cAbstractCoreExtension> pExtension);
    /// Owns pPlugIn and its loader and uses pPlugIn->coreExtension(). When the plug-in
    /// has none, the exception passes on and the plug-in and its loader are gone.
    explicit cExtensionPair(qstd::tAutoPtr<qcs::cAbstractPlugIn> pPlugIn);
    ~cExtensionPair();
    cExtensionPair(const cExtensionPair&) = delete;
    cExtensionPair& operator=(const cExtensionPair&) = delete;

    const cAbstractCoreExtension& extension() const { return *mpExtension; }
    /// The plug-in carrying the extension; null for one added directly.
    qcs::cAbstractPlugIn* plugIn() const { return mpPlugIn.get(); }

private:
    const cAbstractCoreExtension* mpExtension;               ///< the one used; not null
    qstd::tAutoPtr<qcs::cAbstractPlugIn> mpPlugIn;           ///< owned, with its loader
    qstd::tAutoPtr<cAbstractCoreExtension> mpOwnedExtension; ///< owned
};

} // namespace qce

#endif // QOR_CORE_QCE_EXTENSIONPAIR_H
