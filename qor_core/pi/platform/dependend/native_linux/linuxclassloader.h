// linuxclassloader.h - the class loader over the dynamic loader. Not installed: reach
// it through cPlatform::createClassLoader().
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_PI_NATIVE_LINUX_LINUXCLASSLOADER_H
#define QOR_CORE_PI_NATIVE_LINUX_LINUXCLASSLOADER_H

#include "qor_core/pi/abstractclassloader.h"

namespace qpi {

/// Holds one module library open with dlopen from construction to destruction and
/// calls its entry points. A library that cannot be opened or lacks a required
/// entry point raises qcs::cModuleLoadException and leaves nothing open.
class QOR_EXPORT cLinuxClassLoader : public cAbstractClassLoader
{
public:
    /// Opens sFile at once (see loadLibrary); throws what loadLibrary throws.
    explicit cLinuxClassLoader(const qucs::cString& sFile);
    /// Closes the library. Every object made from it must be gone by then.
    ~cLinuxClassLoader() override;

    /// Calls "moduleInitPlugIn". Raises cModuleLoadException kind 1 when the library
    /// has no such entry point (or is no longer open) or the entry made nothing.
    qcs::cAbstractPlugIn* instance(qsa::cReferenceFrame& oFrame) override;
    /// Calls "moduleInitComponent"; kind 1 as above.
    qcs::cAbstractComponent* instance(qsa::cReferenceFrame& oFrame,
                                      qcs::cModuleMgr& oManager) override;
    void getModuleVersion(unsigned int& iMajor, unsigned int& iMinor) const override;
    void getModuleQORVersion(unsigned int& iMajor, unsigned int& iMinor) const override;

    /// Closes what is open, then opens sFile (encoded with the system file system's
    /// encoder) with RTLD_NOW and looks up the entry points. On failure the library
    /// is closed again before cModuleLoadException passes on: kind 0 with the
    /// dynamic loader's text when it cannot be opened, kind 2 when a required
    /// entry point is missing.
    void loadLibrary(const qucs::cString& sFile);
    /// Closes the library and forgets its entry points, so that a later instance()
    /// raises kind 1 instead of calling into unmapped code.
    void unloadLibrary();
    bool isLoaded() const { return mpHandle != nullptr; }

private:
    tModuleInitPlugIn mpInitPlugIn;       ///< null when absent
    tModuleInitComponent mpInitComponent; ///< null when absent
    tModuleVersion mpModuleVersion;       ///< null when absent
    tModuleVersion mpQORVersion;          ///< null when absent
    void* mpHandle;                       ///< the dlopen handle; null when nothing is open
};

} // namespace qpi

#endif // QOR_CORE_PI_NATIVE_LINUX_LINUXCLASSLOADER_H
