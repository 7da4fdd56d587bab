// plugins.cpp - loads the example plug-in library through the plug-in manager, asks
// it for a greeting, and unloads it again. Takes the library's name or path as its
// argument; without one it loads the libgreeter.so built next to it.
// SPDX-License-Identifier: MIT
#include "greeter.h"

#include <cstdio>
#include <string>

int main(int iArgs, char** pArgs)
{
    std::string sName = iArgs > 1 ? pArgs[1] : std::string(QOR_EXAMPLE_PLUGIN_DIR) + "/greeter";
    qcs::cPlugInMgr oPlugIns;
    try {
        // "greeter" becomes "libgreeter.so"; the guard owns the plug-in and its library.
        qstd::tAutoPtr<qcs::cPlugInGuard> pGuard =
            oPlugIns.loadPlugIn(qucs::cString(sName.c_str()));
        qcs::cAbstractPlugIn* pPlugIn = pGuard->plugIn();
        unsigned iMajor = 0, iMinor = 0;
        pPlugIn->classLoader()->getModuleVersion(iMajor, iMinor);
        std::printf("loaded %s, module version %u.%u, type \"%s\"\n",
                    pPlugIn->classLoader()->libFileName().ascii('?').c_str(), iMajor, iMinor,
                    pPlugIn->pluginTypeName().c_str());
        if (pPlugIn->pluginTypeName() != "greeter") {
            std::fprintf(stderr, "not a greeter plug-in\n");
            return 1;
        }
        const cGreeterPlugIn* pGreeter = static_cast<const cGreeterPlugIn*>(pPlugIn);
        std::printf("%s\n", pGreeter->greeting("world").c_str());

        // Registered, the manager keeps it until it is unloaded (or the manager goes).
        oPlugIns.registerPlugIn(pGuard);
        std::printf("%u plug-in(s) registered\n", oPlugIns.plugIns().count());
        oPlugIns.unloadPlugIn(pPlugIn);
        std::printf("unloaded; %u plug-in(s) registered\n", oPlugIns.plugIns().count());
    } catch (const qstd::cAbstractException& e) {
        qucs::cString sText;
        qstd::cAbstractException::createMessage(e, sText, 0, nullptr);
        std::fprintf(stderr, "%s: %s\n", e.typeName().c_str(), sText.ascii('?').c_str());
        return 1;
    }
    return 0;
}
