// referenceframe.cpp - cReferenceFrame and the reference to a sub-frame.
// SPDX-License-Identifier: MIT
#include "qor_core/sa/referenceframe.h"
#include "qor_core/sa/saexceptions.h"
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
    // Nothing contains the new frame yet, so no copy can close a cycle.
    appendCopies(oOther);
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
        checkAppendable(oOther);
        cReferenceFrame oCopy(oOther);
        exchange(oCopy);
    }
    return *this;
}

void cReferenceFrame::swap(cReferenceFrame& oOther)
{
    // Afterwards each frame holds the other's references: a frame that contained
    // the other would contain itself.
    if (this == &oOther)
        return;
    if (contains(oOther) || oOther.contains(*this))
        cSAExceptions::throwFrameContainsItself();
    exchange(oOther);
}

void cReferenceFrame::exchange(cReferenceFrame& oOther)
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
    qstd::tAutoPtr<cAbstractTypeReference> pOwned(pReference);
    if (const cReferenceFrame* pSubFrame = pReference ? pReference->isSubReferenceFrame() : nullptr)
        if (pSubFrame->contains(*this))
            cSAExceptions::throwFrameContainsItself();
    moReferences.guardedAppend(pOwned);
    return *this;
}

bool cReferenceFrame::contains(const cReferenceFrame& oFrame) const
{
    // Frames hold no cycles, so the walk ends; it costs what storing the frame costs.
    if (this == &oFrame)
        return true;
    for (tReferences::const_iterator it = moReferences.begin(); it != moReferences.end(); ++it)
        if (const cReferenceFrame* pSubFrame = (*it)->isSubReferenceFrame())
            if (pSubFrame->contains(oFrame))
                return true;
    return false;
}

void cReferenceFrame::checkAppendable(const cReferenceFrame& oSource) const
{
    for (tReferences::const_iterator it = oSource.moReferences.begin();
         it != oSource.moReferences.end(); ++it)
        if (const cReferenceFrame* pSubFrame = (*it)->isSubReferenceFrame())
            if (pSubFrame->contains(*this))
                cSAExceptions::throwFrameContainsItself();
}

void cReferenceFrame::appendCopies(const cReferenceFrame& oSource)
{
    for (tReferences::const_iterator it = oSource.moReferences.begin();
         it != oSource.moReferences.end(); ++it)
        moReferences.guardedAppend((*it)->create());
}

void cReferenceFrame::append(const cReferenceFrame& oOther)
{
    checkAppendable(oOther);
    cReferenceFrame oCopy(oOther);
    while (!oCopy.moReferences.empty())
        moReferences.guardedAppend(qstd::tAutoPtr<cAbstractTypeReference>(
            oCopy.moReferences.take(oCopy.moReferences.begin())));
}

void cReferenceFrame::append_net(const cReferenceFrame& oOther)
{
    if (&oOther == this)
        cSAExceptions::throwFrameAppendedToItself();
    checkAppendable(oOther);
    appendCopies(oOther);
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
