// coreextensionmgr.h - qce::cCoreExtensionMgr, the registry of core extensions, and the
// extension search.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCE_COREEXTENSIONMGR_H
#define QOR_CORE_QCE_COREEXTENSIONMGR_H

#include "qor_core/qce/extensionpair.h"
#include "qor_core/qce/unsupportedextensionexception.h"
#include "qor_core/std/list.h"
#include "qor_core/std/stdexceptions.h"

namespace qucs {
class cString;
}
namespace qsa {
class cReferenceFrame;
}

namespace qce {

/// The first extension in oList of kind eType (and class T) that supports sName
/// (upper-cased for the question), or null. Extensions of other kinds are not asked.
/// bFound tells whether the list holds an extension of the kind at all.
template <class T>
const T* hasExtension(const qstd::tPtrList<cExtensionPair>& oList, bool& bFound,
                      cAbstractCoreExtension::ExtensionType eType,
                      const qstd::cAsciiString& sClassName, const qstd::cAsciiString& sName)
{
    (void)sClassName;
    qstd::cAsciiString sKey(sName);
    sKey.toUpper();
    bFound = false;
    for (auto it = oList.begin(); it != oList.end(); ++it) {
        const cAbstractCoreExtension& oExtension = (*it)->extension();
        if (oExtension.extensionType() != eType)
            continue;
        bFound = true;
        if (oExtension.supports(sKey)) {
            const T* p = dynamic_cast<const T*>(&oExtension);
            QOR_ASSERT_TEXT(p != nullptr, "p != 0");
            return p;
        }
    }
    return nullptr;
}

/// As hasExtension, but raises cUnsupportedExtensionException (sClassName, sName as
/// given, whether extensions of the kind exist) when none supports sName.
template <class T>
const T& findExtension(const qstd::tPtrList<cExtensionPair>& oList,
                       cAbstractCoreExtension::ExtensionType eType,
                       const qstd::cAsciiString& sClassName, const qstd::cAsciiString& sName)
{
    bool bFound = false;
    const T* p = hasExtension<T>(oList, bFound, eType, sClassName, sName);
    if (!p)
        throw cUnsupportedExtensionException(sClassName, sName, bFound);
    return *p;
}

/// The registry through which encoders, serializers and network-address kinds are
/// found by name, also in extension libraries. For a request it asks the extensions
/// of the kind in the order they were added; the first that supports the name
/// creates the object, so later ones cannot override earlier ones. The module
/// manager keeps a reference to it; the system object holds one for the process.
class QOR_EXPORT cCoreExtensionMgr
{
public:
    cCoreExtensionMgr();
    /// Destroys all entries, unloading extension libraries.
    virtual ~cCoreExtensionMgr();
    cCoreExtensionMgr(const cCoreExtensionMgr&) = delete;
    cCoreExtensionMgr& operator=(const cCoreExtensionMgr&) = delete;

    /// Appends pExtension (not null), which the manager owns from now on.
    void add(qstd::tAutoPtr<cAbstractCoreExtension> pExtension);
    /// Loads the library of sName ("x" gives "libx.so" on Linux), creates its plug-in
    /// through oFrame and registers the plug-in's extension, which it returns. Throws
    /// cModuleLoadException when the library is unusable, cRuntimeException
    /// "$MTR$Module (\"%name%\") does not provide core extension functionality."
    /// when its plug-in carries no extension; either way nothing stays loaded.
    const cAbstractCoreExtension& load(const qucs::cString& sName, qsa::cReferenceFrame& oFrame);
    /// The same with a reference frame that lives for the call.
    const cAbstractCoreExtension& load(const qucs::cString& sName);
    /// The same with the name decoded by the system file system's encoder.
    const cAbstractCoreExtension& load(const qstd::cAsciiString& sName,
                                       qsa::cReferenceFrame& oFrame);
    /// Whether the library of sName exists in the system's file system. Loads nothing.
    bool has(const qucs::cString& sName) const;
    /// Appends the names every extension of kind eType provides, in list order.
    void provides(cAbstractCoreExtension::ExtensionType eType,
                  qstd::tVector<qstd::cAsciiString>& oNames);
    /// Destroys all entries in list order. An extension's destructor may add again;
    /// what it adds is destroyed too.
    void clear();
    const qstd::tPtrList<cExtensionPair>& extensions() const { return moExtensions; }

    /// The factories: each finds the extension of its kind for the name (upper-cased
    /// for the question) and lets it create the object; cUnsupportedExtensionException
    /// when there is none. createEnDec hands the upper-cased name on, the others the
    /// name unchanged.
    qstd::tAutoPtr<qucs::cAbstractEnDec> createEnDec(const qstd::cAsciiString& sName) const;
    qstd::tAutoPtr<qsa::cAbstractSerializer>
    createSerializer(const qstd::cAsciiString& sType, const qstd::cAsciiString& sArgument) const;
    qstd::tAutoPtr<qsa::cAbstractDeserializer>
    createDeserializer(const qstd::cAsciiString& sType, const qucs::cString& sSource) const;
    qstd::tAutoPtr<qsa::cAbstractDeserializer>
    createDeserializer(const qstd::cAsciiString& sType,
                       const qstd::tConstArrayRef<char>& oData) const;
    qstd::tAutoPtr<cNetAbstractAddress> createNetAddress(const qstd::cAsciiString& sType) const;

private:
    qstd::tPtrList<cExtensionPair> moExtensions; ///< owned, in the order of adding
};

} // namespace qce

#endif // QOR_CORE_QCE_COREEXTENSIONMGR_H
