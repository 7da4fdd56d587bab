// greeterplugin.cpp - the example plug-in library (libgreeter.so): a greeter plug-in
// and the four entry points every module library exports.
// SPDX-License-Identifier: MIT
#include "greeter.h"

namespace {

class cEnglishGreeter : public cGreeterPlugIn
{
public:
    explicit cEnglishGreeter(qsa::cReferenceFrame& oFrame) : cGreeterPlugIn(oFrame)
    {
        moduleInfo().setName("greeter");
    }
    qstd::cAsciiString greeting(const qstd::cAsciiString& sWhom) const override
    {
        qstd::cAsciiString sText("Hello, ");
        sText += sWhom;
        sText += "!";
        return sText;
    }
};

} // namespace

// The entry points are looked up by these plain names, hence C linkage.
extern "C" {

__attribute__((visibility("default"))) void moduleInitPlugIn(qcs::cAbstractPlugIn** ppSlot,
                                                             qsa::cReferenceFrame& oFrame)
{
    *ppSlot = new cEnglishGreeter(oFrame);
}

__attribute__((visibility("default"))) void moduleVersion(unsigned int& iMajor,
                                                          unsigned int& iMinor)
{
    iMajor = 1;
    iMinor = 0;
}

__attribute__((visibility("default"))) void qorVersion(unsigned int& iMajor, unsigned int& iMinor)
{
    iMajor = 0;
    iMinor = 1;
}

} // extern "C"
