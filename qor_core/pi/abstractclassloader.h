// abstractclassloader.h - qpi::cAbstractClassLoader, the opener of a plug-in module.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_ABSTRACTCLASSLOADER_H
#define QOR_CORE_PI_ABSTRACTCLASSLOADER_H

#include "qor_core/ucs/string.h"

namespace qsa {
class cReferenceFrame;
}
namespace qcs {
class cAbstractComponent;
class cAbstractPlugIn;
class cModuleMgr;
} // namespace qcs

namespace qpi {

/// The entry points a module library exports with C linkage (extern "C"), looked up
/// by the names "moduleInitPlugIn", "moduleInitComponent", "moduleVersion" and
/// "qorVersion". The two init functions find the slot null and store the address of
/// a new object in it (created with new; the class loader's caller owns it); they
/// leave the slot null when they have nothing to offer. A library exports at least
/// one init function and both version functions.
typedef void (*tModuleInitPlugIn)(qcs::cAbstractPlugIn** ppSlot, qsa::cReferenceFrame& oFrame);
typedef void (*tModuleInitComponent)(qcs::cAbstractComponent** ppSlot, qcs::cModuleMgr& oManager,
                                     qsa::cReferenceFrame& oFrame);
/// Fills in a version as major and minor number: the module's own ("moduleVersion")
/// or the framework's it was built against ("qorVersion").
typedef void (*tModuleVersion)(unsigned int& iMajor, unsigned int& iMinor);

/// Opens a module library and creates its plug-in or component object. The
/// reference count records how many objects made through the loader are alive:
/// instance() counts one up, and the module that received the loader counts it down
/// when it is destroyed. Objects made from a library must be destroyed before its
/// loader, which the module manager keeps until the count is 0.
class QOR_EXPORT cAbstractClassLoader
{
public:
    explicit cAbstractClassLoader(const qucs::cString& sFile);
    virtual ~cAbstractClassLoader();
    cAbstractClassLoader(const cAbstractClassLoader&) = delete;
    cAbstractClassLoader& operator=(const cAbstractClassLoader&) = delete;

    /// The module's plug-in object; the caller owns it.
    virtual qcs::cAbstractPlugIn* instance(qsa::cReferenceFrame& oFrame) = 0;
    /// The module's component object for oManager; the caller owns it.
    virtual qcs::cAbstractComponent* instance(qsa::cReferenceFrame& oFrame,
                                              qcs::cModuleMgr& oManager) = 0;
    /// The module's own version; both values stay untouched when it is unknown.
    virtual void getModuleVersion(unsigned int& iMajor, unsigned int& iMinor) const = 0;
    /// The framework version the module was built against.
    virtual void getModuleQORVersion(unsigned int& iMajor, unsigned int& iMinor) const = 0;

    const qucs::cString& libFileName() const { return msLibFileName; }
    void incRef() { ++miReferences; }
    /// Counts one object down; at 0 it stays 0, so a surplus release never makes an
    /// unused loader look used.
    void decRef();
    unsigned numReferences() const { return miReferences; }
    bool isUnused() const { return miReferences == 0; }

private:
    piUInt32 miReferences;
    qucs::cString msLibFileName;
};

} // namespace qpi

#endif // QOR_CORE_PI_ABSTRACTCLASSLOADER_H
