// testmodule.cpp - module libraries that the plug-in tests load. One source, built
// into several libraries: the TESTMODULE_* definitions choose which entry points a
// library exports and what its init functions make.
//
//   TESTMODULE_PLUGIN      "moduleInitPlugIn": 1 a test plug-in, 2 leaves the slot
//                          empty, 3 a plug-in carrying an encoder extension, 4 a
//                          cGenericPlugIn
//   TESTMODULE_COMPONENT   "moduleInitComponent": 1 a test component, 2 leaves the slot empty
//   TESTMODULE_MODULE_VERSION, TESTMODULE_QOR_VERSION   export the version functions
#include "qor_core/qor_core.h"

namespace {

/// The host's observer (see testModuleSetObserver), told about the plug-in's end
/// and the library's unloading.
void (*gpObserver)(const char*) = nullptr;

void notify(const char* pEvent)
{
    if (gpObserver)
        gpObserver(pEvent);
}

__attribute__((destructor)) void libraryUnloaded()
{
    notify("library unloaded");
}

class cTestPlugIn : public qcs::cAbstractPlugIn
{
public:
    explicit cTestPlugIn(qsa::cReferenceFrame& oFrame) : qcs::cAbstractPlugIn(oFrame)
    {
        moduleInfo().setName("testplugin");
    }
    ~cTestPlugIn() override { notify("plug-in deleted"); }
};

/// Supports "TESTCODE", for which it makes a UTF-8 encoder.
class cTestEnDecExtension : public qce::cAbstractEnDecExtension
{
public:
    qstd::cAsciiString description() const override { return "test encoder"; }
    const qstd::cBuildInfo& buildInfo() const override { return moBuildInfo; }
    bool supports(const qstd::cAsciiString& sName) const override { return sName == "TESTCODE"; }
    void provides(qstd::tVector<qstd::cAsciiString>& oNames) const override
    {
        oNames.append(qstd::cAsciiString("TESTCODE"));
    }
    qstd::tAutoPtr<qucs::cAbstractEnDec> createEnDec(const qstd::cAsciiString&) const override
    {
        return qstd::tAutoPtr<qucs::cAbstractEnDec>(new qucs::cEnDecUTF8);
    }

private:
    qstd::cBuildInfo moBuildInfo;
};

class cEncoderPlugIn : public cTestPlugIn
{
public:
    using cTestPlugIn::cTestPlugIn;
    bool isCoreExtension() const override { return true; }
    const qce::cAbstractCoreExtension& coreExtension() const override { return moExtension; }
    qstd::cAsciiString pluginTypeName() const override { return "encoder"; }

private:
    cTestEnDecExtension moExtension;
};

class cTestComponent : public qcs::cAbstractComponent
{
public:
    cTestComponent(qcs::cModuleMgr& oManager, qsa::cReferenceFrame& oFrame)
        : qcs::cAbstractComponent(oManager, oFrame)
    {
        moduleInfo().setName("testcomponent");
    }
    ~cTestComponent() override { notify("component deleted"); }
};

} // namespace

extern "C" {

/// Lets a test watch the plug-in's and the library's end.
__attribute__((visibility("default"))) void testModuleSetObserver(void (*pObserver)(const char*))
{
    gpObserver = pObserver;
}

#if defined(TESTMODULE_PLUGIN)
__attribute__((visibility("default"))) void moduleInitPlugIn(qcs::cAbstractPlugIn** ppSlot,
                                                             qsa::cReferenceFrame& oFrame)
{
#if TESTMODULE_PLUGIN == 1
    *ppSlot = new cTestPlugIn(oFrame);
#elif TESTMODULE_PLUGIN == 3
    *ppSlot = new cEncoderPlugIn(oFrame);
#elif TESTMODULE_PLUGIN == 4
    *ppSlot = new qce::cGenericPlugIn(oFrame, "generic test extension");
#else
    (void)ppSlot;
    (void)oFrame;
#endif
}
#endif

#if defined(TESTMODULE_COMPONENT)
__attribute__((visibility("default"))) void moduleInitComponent(qcs::cAbstractComponent** ppSlot,
                                                                qcs::cModuleMgr& oManager,
                                                                qsa::cReferenceFrame& oFrame)
{
#if TESTMODULE_COMPONENT == 1
    *ppSlot = new cTestComponent(oManager, oFrame);
#else
    (void)ppSlot;
    (void)oManager;
    (void)oFrame;
#endif
}
#endif

#if defined(TESTMODULE_MODULE_VERSION)
__attribute__((visibility("default"))) void moduleVersion(unsigned int& iMajor,
                                                          unsigned int& iMinor)
{
    iMajor = 3;
    iMinor = 14;
}
#endif

#if defined(TESTMODULE_QOR_VERSION)
__attribute__((visibility("default"))) void qorVersion(unsigned int& iMajor, unsigned int& iMinor)
{
    iMajor = 0;
    iMinor = 1;
}
#endif

} // extern "C"
