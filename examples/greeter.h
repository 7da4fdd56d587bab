// greeter.h - the interface the example plug-in library implements and the example
// program calls: a plug-in whose pluginTypeName() is "greeter".
// SPDX-License-Identifier: MIT
#ifndef QOR_EXAMPLES_GREETER_H
#define QOR_EXAMPLES_GREETER_H

#include "qor_core/qor_core.h"

/// A plug-in that makes greetings. A host that finds pluginTypeName() "greeter" may
/// treat the plug-in as one of these.
class cGreeterPlugIn : public qcs::cAbstractPlugIn
{
public:
    explicit cGreeterPlugIn(qsa::cReferenceFrame& oFrame) : qcs::cAbstractPlugIn(oFrame) {}
    qstd::cAsciiString pluginTypeName() const override { return "greeter"; }
    /// The greeting for sWhom.
    virtual qstd::cAsciiString greeting(const qstd::cAsciiString& sWhom) const = 0;
};

#endif // QOR_EXAMPLES_GREETER_H
