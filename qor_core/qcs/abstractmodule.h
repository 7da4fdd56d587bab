// abstractmodule.h - cAbstractModule, the base of plug-ins and components.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCS_ABSTRACTMODULE_H
#define QOR_CORE_QCS_ABSTRACTMODULE_H

#include "qor_core/qcs/abstractinterfaceprovider.h"
#include "qor_core/qcs/moduleinfo.h"

namespace qpi {
class cAbstractClassLoader;
}
namespace qsa {
class cReferenceFrame;
}

namespace qcs {

/// A unit of an application: a connectable object that carries its module
/// information, provides interfaces, and remembers the class loader of the library
/// it came from (none for a module linked into the application).
///
/// The loader reference was counted by whoever handed the loader over
/// (setClassLoader); the module counts it down when it is destroyed, before its
/// interfaces go. A library's loader must outlive every module made from it.
class QOR_EXPORT cAbstractModule : public qrmi::cConnectable, public cAbstractInterfaceProvider
{
public:
    cAbstractModule();
    /// The frame is for derived modules created through reference frames.
    explicit cAbstractModule(qsa::cReferenceFrame& oFrame);
    /// Releases the class loader reference.
    ~cAbstractModule() override;

    virtual bool isPlugIn() const = 0;
    virtual bool isComponent() const = 0;
    /// Settings: nothing here.
    virtual void storeSettings(qsa::cAbstractSerializer& oSerializer) const;
    virtual void loadSettings(qsa::cAbstractDeserializer& oDeserializer);
    virtual void applySettings();

    /// True for a module linked into the application (no class loader).
    bool isStatic() const { return mpClassLoader == nullptr; }
    const cModuleInfo& info() const { return moInfo; }
    cModuleInfo& moduleInfo() { return moInfo; }
    /// Stores sContext as the info's context, then pLoader, whose reference the
    /// caller has already counted. A loader held before is released.
    void setClassLoader(qpi::cAbstractClassLoader* pLoader, const qstd::cAsciiString& sContext);
    qpi::cAbstractClassLoader* classLoader() const { return mpClassLoader; }

private:
    qpi::cAbstractClassLoader* mpClassLoader; ///< one counted reference; null when static
    cModuleInfo moInfo;
};

} // namespace qcs

#endif // QOR_CORE_QCS_ABSTRACTMODULE_H
