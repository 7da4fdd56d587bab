// abstractplugin.h - qcs::cAbstractPlugIn, a module loaded from a shared library.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCS_ABSTRACTPLUGIN_H
#define QOR_CORE_QCS_ABSTRACTPLUGIN_H

#include "qor_core/qcs/abstractmodule.h"

namespace qce {
class cAbstractCoreExtension;
}

namespace qcs {

/// The object a plug-in library's "moduleInitPlugIn" entry creates. Its code lives
/// in the library, so it must be deleted before the library is closed: hold it in a
/// cPlugInGuard (cPlugInMgr::loadPlugIn does), which keeps that order.
class QOR_EXPORT cAbstractPlugIn : public cAbstractModule
{
public:
    /// oFrame is the frame given to the class loader's instance().
    explicit cAbstractPlugIn(qsa::cReferenceFrame& oFrame);
    ~cAbstractPlugIn() override;

    bool isPlugIn() const override;
    bool isComponent() const override;
    /// Whether coreExtension() has an extension to offer; false here.
    virtual bool isCoreExtension() const;
    /// The core extension the plug-in carries. Here it raises cRuntimeException
    /// "$MTR$Module (\"%name%\") does not provide core extension functionality."
    /// with the module's name.
    virtual const qce::cAbstractCoreExtension& coreExtension() const;
    /// "none" here.
    virtual qstd::cAsciiString pluginTypeName() const;
};

} // namespace qcs

#endif // QOR_CORE_QCS_ABSTRACTPLUGIN_H
