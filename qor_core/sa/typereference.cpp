// typereference.cpp - the non-template parts of the typed references.
// SPDX-License-Identifier: MIT
#include "qor_core/sa/typereference.h"

namespace qsa {

cAbstractTypeReference::~cAbstractTypeReference() {}

cTypeReference<piVoid>::cTypeReference(piVoid& oVariable, bool bAlterable, bool bReadable)
    : tTypeReferenceBase<piVoid>(oVariable, bAlterable, bReadable, nullptr)
{
}

cTypeReference<piVoid>::~cTypeReference() {}

qstd::tAutoPtr<cAbstractTypeReference> cTypeReference<piVoid>::create() const
{
    return qstd::tAutoPtr<cAbstractTypeReference>(new cTypeReference<piVoid>(*this));
}

// Nothing travels for a missing value.
void cTypeReference<piVoid>::store(cAbstractSerializer&) const {}

void cTypeReference<piVoid>::load(cAbstractDeserializer&) {}

} // namespace qsa
