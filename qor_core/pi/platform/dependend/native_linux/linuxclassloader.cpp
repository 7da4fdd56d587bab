// linuxclassloader.cpp - qpi::cLinuxClassLoader and cPlatform::createClassLoader.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/platform/dependend/native_linux/linuxclassloader.h"
#include "qor_core/io/fs.h"
#include "qor_core/pi/platform.h"
#include "qor_core/pi/system.h"
#include "qor_core/qcs/mcsexceptions.h"
#include "qor_core/std/array.h"
#include "qor_core/ucs/abstractendec.h"

#include <cstring>
#include <dlfcn.h>

namespace qpi {

namespace {

[[noreturn]] void throwLoadProblem(qcs::cModuleLoadException::KindOfProblem eKind,
                                   const qucs::cString& sFile, const char* pTemplate)
{
    throw qcs::cModuleLoadException(eKind, sFile, qucs::cLIMessage::fromTemplate(pTemplate));
}

[[noreturn]] void throwNotOpened(const qucs::cString& sFile, const char* pReason)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Unable to load plugin. OS returned %oserror%!" << (pReason ? pReason : "");
    throw qcs::cModuleLoadException(qcs::cModuleLoadException::LibraryNotLoadable, sFile, oMsg);
}

/// The address of an exported symbol, null when the library has none of that name.
template <class F> F lookUp(void* pHandle, const char* pName)
{
    void* pSymbol = dlsym(pHandle, pName);
    F pFunction = nullptr;
    static_assert(sizeof(pFunction) == sizeof(pSymbol), "function and data pointers differ");
    std::memcpy(&pFunction, &pSymbol, sizeof(pFunction));
    return pFunction;
}

} // namespace

qstd::tAutoPtr<cAbstractClassLoader> cPlatform::createClassLoader(const qucs::cString& sFile) const
{
    return qstd::tAutoPtr<cAbstractClassLoader>(new cLinuxClassLoader(sFile));
}

cLinuxClassLoader::cLinuxClassLoader(const qucs::cString& sFile)
    : cAbstractClassLoader(sFile), mpInitPlugIn(nullptr), mpInitComponent(nullptr),
      mpModuleVersion(nullptr), mpQORVersion(nullptr), mpHandle(nullptr)
{
    // loadLibrary() closes what it opened before it throws.
    loadLibrary(sFile);
}

cLinuxClassLoader::~cLinuxClassLoader()
{
    unloadLibrary();
}

void cLinuxClassLoader::loadLibrary(const qucs::cString& sFile)
{
    unloadLibrary();
    qstd::tArray<char> oName;
    system().fs().endec().encodeCString(sFile, oName);
    // A NUL inside the name would make the dynamic loader open a different file.
    if (std::strlen(oName.data()) + 1 != oName.size())
        throwNotOpened(sFile, "file name contains a NUL character");

    dlerror(); // forget a message left by earlier calls
    mpHandle = dlopen(oName.data(), RTLD_NOW);
    if (!mpHandle)
        throwNotOpened(sFile, dlerror());
    try {
        mpInitPlugIn = lookUp<tModuleInitPlugIn>(mpHandle, "moduleInitPlugIn");
        mpInitComponent = lookUp<tModuleInitComponent>(mpHandle, "moduleInitComponent");
        if (!mpInitPlugIn && !mpInitComponent)
            throwLoadProblem(qcs::cModuleLoadException::MissingSymbol, sFile,
                             "$MTR$Invalid module. Missing moduleInit section!");
        mpModuleVersion = lookUp<tModuleVersion>(mpHandle, "moduleVersion");
        if (!mpModuleVersion)
            throwLoadProblem(qcs::cModuleLoadException::MissingSymbol, sFile,
                             "$MTR$Invalid module. Missing moduleVersion section!");
        mpQORVersion = lookUp<tModuleVersion>(mpHandle, "qorVersion");
        if (!mpQORVersion)
            throwLoadProblem(qcs::cModuleLoadException::MissingSymbol, sFile,
                             "$MTR$Invalid module. Missing qorVersion section!");
    } catch (...) {
        unloadLibrary();
        throw;
    }
}

void cLinuxClassLoader::unloadLibrary()
{
    mpInitPlugIn = nullptr;
    mpInitComponent = nullptr;
    mpModuleVersion = nullptr;
    mpQORVersion = nullptr;
    if (mpHandle) {
        void* pHandle = mpHandle;
        mpHandle = nullptr;
        dlclose(pHandle);
    }
}

qcs::cAbstractPlugIn* cLinuxClassLoader::instance(qsa::cReferenceFrame& oFrame)
{
    if (!mpInitPlugIn) {
        qucs::cLIMessage oMsg;
        oMsg << "$MTR$File %file% is not a plugin!" << libFileName();
        throw qcs::cModuleLoadException(qcs::cModuleLoadException::NoFunctionality, libFileName(),
                                        oMsg);
    }
    qcs::cAbstractPlugIn* pPlugIn = nullptr;
    mpInitPlugIn(&pPlugIn, oFrame);
    if (!pPlugIn) {
        qucs::cLIMessage oMsg;
        oMsg << "$MTR$Plugin (%file%) does not provide functionality!" << libFileName();
        throw qcs::cModuleLoadException(qcs::cModuleLoadException::NoFunctionality, libFileName(),
                                        oMsg);
    }
    incRef();
    return pPlugIn;
}

qcs::cAbstractComponent* cLinuxClassLoader::instance(qsa::cReferenceFrame& oFrame,
                                                     qcs::cModuleMgr& oManager)
{
    if (!mpInitComponent)
        throwLoadProblem(qcs::cModuleLoadException::NoFunctionality, libFileName(),
                         "$MTR$cClassLoader: No component!");
    qcs::cAbstractComponent* pComponent = nullptr;
    mpInitComponent(&pComponent, oManager, oFrame);
    if (!pComponent)
        throwLoadProblem(qcs::cModuleLoadException::NoFunctionality, libFileName(),
                         "$MTR$cClassLoader: No instance!");
    incRef();
    return pComponent;
}

void cLinuxClassLoader::getModuleVersion(unsigned int& iMajor, unsigned int& iMinor) const
{
    if (mpModuleVersion)
        mpModuleVersion(iMajor, iMinor);
}

void cLinuxClassLoader::getModuleQORVersion(unsigned int& iMajor, unsigned int& iMinor) const
{
    if (mpQORVersion)
        mpQORVersion(iMajor, iMinor);
}

} // namespace qpi
