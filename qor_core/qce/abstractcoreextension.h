// abstractcoreextension.h - qce::cAbstractCoreExtension and its three kinds: factories
// of encoders, serializers and network addresses that the core finds by name.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QCE_ABSTRACTCOREEXTENSION_H
#define QOR_CORE_QCE_ABSTRACTCOREEXTENSION_H

#include "qor_core/qce/net++/netabstractaddress.h"
#include "qor_core/sa/abstractserializer.h"
#include "qor_core/std/arrayref.h"
#include "qor_core/std/asciistring.h"
#include "qor_core/std/autoptr.h"
#include "qor_core/std/buildinfo.h"
#include "qor_core/std/vector.h"
#include "qor_core/ucs/abstractendec.h"

namespace qce {

/// A factory the core looks up by kind and name. Names reach supports() in upper
/// case; an extension answers for the names it can create.
class QOR_EXPORT cAbstractCoreExtension
{
public:
    /// The kinds; fixed width, as the values are part of the interface.
    enum ExtensionType : piUInt32
    {
        NetAddressExtension = 1, ///< cNetAbstractAddressExtension, "netwok address"
        SAExtension = 2,         ///< cAbstractSAExtension, "serializer"
        EnDecExtension = 3       ///< cAbstractEnDecExtension, "Encoder / Decoder"
    };

    virtual ~cAbstractCoreExtension();
    virtual ExtensionType extensionType() const = 0;
    virtual qstd::cAsciiString description() const = 0;
    virtual const qstd::cBuildInfo& buildInfo() const = 0;
    /// Whether the extension creates objects for sName (upper case).
    virtual bool supports(const qstd::cAsciiString& sName) const = 0;
    /// Appends the names the extension supports; nothing here.
    virtual void provides(qstd::tVector<qstd::cAsciiString>& oNames) const;
};

/// Creates text encoders and decoders.
class QOR_EXPORT cAbstractEnDecExtension : public cAbstractCoreExtension
{
public:
    ExtensionType extensionType() const override { return EnDecExtension; }
    virtual qstd::tAutoPtr<qucs::cAbstractEnDec>
    createEnDec(const qstd::cAsciiString& sName) const = 0;
};

/// Creates serializers and deserializers. What the second argument of each factory
/// means is the extension's business.
class QOR_EXPORT cAbstractSAExtension : public cAbstractCoreExtension
{
public:
    ExtensionType extensionType() const override { return SAExtension; }
    virtual qstd::tAutoPtr<qsa::cAbstractSerializer>
    createSerializer(const qstd::cAsciiString& sType,
                     const qstd::cAsciiString& sArgument) const = 0;
    virtual qstd::tAutoPtr<qsa::cAbstractDeserializer>
    createDeserializer(const qstd::cAsciiString& sType,
                       const qstd::tConstArrayRef<char>& oData) const = 0;
    virtual qstd::tAutoPtr<qsa::cAbstractDeserializer>
    createDeserializer(const qstd::cAsciiString& sType, const qucs::cString& sSource) const = 0;
};

/// Creates network addresses of the kinds a transport offers.
class QOR_EXPORT cNetAbstractAddressExtension : public cAbstractCoreExtension
{
public:
    ExtensionType extensionType() const override { return NetAddressExtension; }
    virtual qstd::tAutoPtr<cNetAbstractAddress>
    createNetAddress(const qstd::cAsciiString& sType) const = 0;
};

} // namespace qce

#endif // QOR_CORE_QCE_ABSTRACTCOREEXTENSION_H
