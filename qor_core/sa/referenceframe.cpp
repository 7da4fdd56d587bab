// referenceframe.cpp - cReferenceFrame and the reference to a sub-frame.
// SPDX-License-Identifier: MIT
#include "qor_core/sa/referenceframe.h"
#include "qor_core/std/exceptions.h"

namespace qsa {

cTypeReference<cReferenceFrame>::cTypeReference(cReferenceFrame& oFrame, bool bAlterable,
                                                bool bReadable)
    : tTypeReferenceBase<cReferenceFrame>(oFrame, bAlterable, bReadable, &oFrame)
{
}

cTypeReference<cReferenceFrame>::~cTypeReference() {}

qstd::tAutoPtr<cAbstractTypeReference> cTypeReference<cReferenceFrame>::create() const
{
    return qstd::tAutoPtr<cAbstractTypeReference>(new cTypeReference<cReferenceFrame>(*this));
}

void cTypeReference<cReferenceFrame>::store(cAbstractSerializer& oSerializer) const
{
    mpVariable->store(oSerializer);
}

void cTypeReference<cReferenceFrame>::load(cAbstractDeserializer& oDeserializer)
{
    mpVariable->load(oDeserializer);
}

cReferenceFrame::cReferenceFrame() : moReferences(tReferences::GuardSingle)
{
    moCursor = moReferences.end();
}

cReferenceFrame::cReferenceFrame(const cReferenceFrame& oOther) : cReferenceFrame()
{
    append_net(oOther);
    // Put the cursor where the other frame's cursor stands.
    moCursor = moReferences.begin();
    tReferences::const_iterator itOther = oOther.moReferences.begin();
    while (itOther != tReferences::const_iterator(oOther.moCursor)) {
        ++itOther;
        ++moCursor;
    }
}

cReferenceFrame::~cReferenceFrame() {}

cReferenceFrame& cReferenceFrame::operator=(const cReferenceFrame& oOther)
{
    if (this != &oOther) {
        cReferenceFrame oCopy(oOther);
        swap(oCopy);
    }
    return *this;
}

void cReferenceFrame::swap(cReferenceFrame& oOther)
{
    // The nodes change lists with their sentinels, so both cursors stay valid.
    moReferences.swapWithOwnership(oOther.moReferences);
    tReferences::iterator itCursor = moCursor;
    moCursor = oOther.moCursor;
    oOther.moCursor = itCursor;
}

cReferenceFrame& cReferenceFrame::addRef(cReferenceFrame& oSubFrame, bool bAlterable,
                                         bool bReadable)
{
    return appendReference(new cTypeReference<cReferenceFrame>(oSubFrame, bAlterable, bReadable));
}

cReferenceFrame& cReferenceFrame::appendReference(cAbstractTypeReference* pReference)
{
    moReferences.guardedAppend(qstd::tAutoPtr<cAbstractTypeReference>(pReference));
    return *this;
}

void cReferenceFrame::append(const cReferenceFrame& oOther)
{
    cReferenceFrame oCopy(oOther);
    while (!oCopy.moReferences.empty())
        appendReference(oCopy.moReferences.take(oCopy.moReferences.begin()));
}

void cReferenceFrame::append_net(const cReferenceFrame& oOther)
{
    for (tReferences::const_iterator it = oOther.moReferences.begin();
         it != oOther.moReferences.end(); ++it)
        moReferences.guardedAppend((*it)->create());
}

bool cReferenceFrame::canRead() const
{
    return moCursor != moReferences.end();
}

cAbstractTypeReference& cReferenceFrame::currentReference() const
{
    return **moCursor;
}

void cReferenceFrame::skipNext()
{
    ++moCursor;
}

void cReferenceFrame::restartReading()
{
    moCursor = moReferences.begin();
    for (tReferences::iterator it = moReferences.begin(); it != moReferences.end(); ++it)
        if (cReferenceFrame* pSubFrame = (*it)->isSubReferenceFrame())
            pSubFrame->restartReading();
}

bool cReferenceFrame::passes(const cAbstractTypeReference& oReference, bool bOnlyAlterable,
                             bool bOnlyReadable)
{
    return (!bOnlyAlterable || oReference.alterable()) && (!bOnlyReadable || oReference.readable());
}

void cReferenceFrame::store(cAbstractSerializer& oSerializer) const
{
    store(oSerializer, false, false);
}

void cReferenceFrame::store(cAbstractSerializer& oSerializer, bool bOnlyAlterable,
                            bool bOnlyReadable) const
{
    for (tReferences::const_iterator it = moReferences.begin(); it != moReferences.end(); ++it)
        if (passes(**it, bOnlyAlterable, bOnlyReadable))
            (*it)->store(oSerializer);
}

void cReferenceFrame::load(cAbstractDeserializer& oDeserializer)
{
    load(oDeserializer, false, false);
}

void cReferenceFrame::load(cAbstractDeserializer& oDeserializer, bool bOnlyAlterable,
                           bool bOnlyReadable)
{
    for (tReferences::iterator it = moReferences.begin(); it != moReferences.end(); ++it)
        if (passes(**it, bOnlyAlterable, bOnlyReadable))
            (*it)->load(oDeserializer);
}

void cReferenceFrame::loadLast(cAbstractDeserializer& oDeserializer)
{
    if (!moReferences.empty())
        (*moReferences.last())->load(oDeserializer);
}

void cReferenceFrame::throwTypeMissmatch(const cAbstractTypeReference& oReference,
                                         const char* pExpected)
{
    throw qstd::cTypeMissmatchException(oReference.typeName(), qstd::cAsciiString(pExpected));
}

cAbstractSerializer& operator>>(const cReferenceFrame& oFrame, cAbstractSerializer& oSerializer)
{
    oFrame.store(oSerializer);
    return oSerializer;
}

cAbstractDeserializer& operator<<(cReferenceFrame& oFrame, cAbstractDeserializer& oDeserializer)
{
    oFrame.load(oDeserializer);
    return oDeserializer;
}

} // namespace qsa
