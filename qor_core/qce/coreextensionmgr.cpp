// coreextensionmgr.cpp - qce::cCoreExtensionMgr.
// SPDX-License-Identifier: MIT
#include "qor_core/qce/coreextensionmgr.h"
#include "qor_core/io/fs.h"
#include "qor_core/pi/platform.h"
#include "qor_core/pi/system.h"
#include "qor_core/qcs/mcsexceptions.h"
#include "qor_core/qcs/pluginguard.h"
#include "qor_core/sa/referenceframe.h"
#include "qor_core/std/array.h"
#include "qor_core/ucs/string.h"

namespace qce {

namespace {

const char* const kEnDecKind = "Encoder / Decoder";
const char* const kSAKind = "serializer";
const char* const kNetAddressKind = "netwok address";

/// The library file name of a module name on this platform.
qucs::cString libraryFileName(const qucs::cString& sName)
{
    qucs::cString sFile(sName);
    qpi::cPlatform().createPlatformInfo()->osSpecificSOName(sFile);
    return sFile;
}

} // namespace

cCoreExtensionMgr::cCoreExtensionMgr() : moExtensions(qstd::tPtrList<cExtensionPair>::GuardSingle)
{
}

cCoreExtensionMgr::~cCoreExtensionMgr()
{
    clear();
}

void cCoreExtensionMgr::add(qstd::tAutoPtr<cAbstractCoreExtension> pExtension)
{
    // The entry is made first, so that a failing append still deletes the extension.
    qstd::tAutoPtr<cExtensionPair> pPair(new cExtensionPair(pExtension));
    moExtensions.guardedAppend(pPair);
}

const cAbstractCoreExtension& cCoreExtensionMgr::load(const qucs::cString& sName,
                                                      qsa::cReferenceFrame& oFrame)
{
    qstd::tAutoPtr<qpi::cAbstractClassLoader> pLoader =
        qpi::cPlatform().createClassLoader(libraryFileName(sName));
    qstd::tAutoPtr<qcs::cAbstractPlugIn> pPlugIn(pLoader->instance(oFrame));
    pPlugIn->setClassLoader(pLoader.get(), qstd::cAsciiString());
    pLoader.release(); // the plug-in's now; deletePlugInAndLoader() closes it after the plug-in
    qstd::tAutoPtr<cExtensionPair> pPair;
    try {
        if (!pPlugIn->isCoreExtension())
            qcs::cMCSExceptions::throwNoCoreExtension(sName);
        // The entry's constructor takes the plug-in from pPlugIn (and cleans up itself
        // when it fails); should the allocation fail, pPlugIn still holds it.
        pPair.reset(new cExtensionPair(pPlugIn));
    } catch (...) {
        qcs::deletePlugInAndLoader(pPlugIn.release());
        throw;
    }
    const cAbstractCoreExtension& oExtension = pPair->extension();
    moExtensions.guardedAppend(pPair);
    return oExtension;
}

const cAbstractCoreExtension& cCoreExtensionMgr::load(const qucs::cString& sName)
{
    qsa::cReferenceFrame oFrame;
    return load(sName, oFrame);
}

const cAbstractCoreExtension& cCoreExtensionMgr::load(const qstd::cAsciiString& sName,
                                                      qsa::cReferenceFrame& oFrame)
{
    qucs::cString sUnicode;
    qstd::tArray<char> oBytes(sName.c_str(), sName.length());
    qpi::system().fs().endec().decode(qstd::tConstArrayRef<char>(oBytes), sUnicode);
    return load(sUnicode, oFrame);
}

bool cCoreExtensionMgr::has(const qucs::cString& sName) const
{
    return qpi::system().fs().exists(libraryFileName(sName));
}

void cCoreExtensionMgr::provides(cAbstractCoreExtension::ExtensionType eType,
                                 qstd::tVector<qstd::cAsciiString>& oNames)
{
    for (auto it = moExtensions.begin(); it != moExtensions.end(); ++it)
        if ((*it)->extension().extensionType() == eType)
            (*it)->extension().provides(oNames);
}

void cCoreExtensionMgr::clear()
{
    // Each entry leaves the list before it goes, so that code running in its
    // destructor sees a consistent manager.
    while (!moExtensions.empty())
        delete moExtensions.take(moExtensions.begin());
}

qstd::tAutoPtr<qucs::cAbstractEnDec>
cCoreExtensionMgr::createEnDec(const qstd::cAsciiString& sName) const
{
    const cAbstractEnDecExtension& oExtension = findExtension<cAbstractEnDecExtension>(
        moExtensions, cAbstractCoreExtension::EnDecExtension, kEnDecKind, sName);
    qstd::cAsciiString sKey(sName);
    sKey.toUpper();
    return oExtension.createEnDec(sKey);
}

qstd::tAutoPtr<qsa::cAbstractSerializer>
cCoreExtensionMgr::createSerializer(const qstd::cAsciiString& sType,
                                    const qstd::cAsciiString& sArgument) const
{
    return findExtension<cAbstractSAExtension>(moExtensions, cAbstractCoreExtension::SAExtension,
                                               kSAKind, sType)
        .createSerializer(sType, sArgument);
}

qstd::tAutoPtr<qsa::cAbstractDeserializer>
cCoreExtensionMgr::createDeserializer(const qstd::cAsciiString& sType,
                                      const qucs::cString& sSource) const
{
    return findExtension<cAbstractSAExtension>(moExtensions, cAbstractCoreExtension::SAExtension,
                                               kSAKind, sType)
        .createDeserializer(sType, sSource);
}

qstd::tAutoPtr<qsa::cAbstractDeserializer>
cCoreExtensionMgr::createDeserializer(const qstd::cAsciiString& sType,
                                      const qstd::tConstArrayRef<char>& oData) const
{
    return findExtension<cAbstractSAExtension>(moExtensions, cAbstractCoreExtension::SAExtension,
                                               kSAKind, sType)
        .createDeserializer(sType, oData);
}

qstd::tAutoPtr<cNetAbstractAddress>
cCoreExtensionMgr::createNetAddress(const qstd::cAsciiString& sType) const
{
    return findExtension<cNetAbstractAddressExtension>(
               moExtensions, cAbstractCoreExtension::NetAddressExtension, kNetAddressKind, sType)
        .createNetAddress(sType);
}

} // namespace qce
