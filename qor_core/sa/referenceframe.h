// referenceframe.h - cReferenceFrame, an ordered list of typed references to variables.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_SA_REFERENCEFRAME_H
#define QOR_CORE_SA_REFERENCEFRAME_H

#include "qor_core/sa/typereference.h"
#include "qor_core/std/list.h"

#include <cstring>

namespace qsa {

/// An ordered list of references to variables of the caller, such as the return
/// value and the arguments of a slot call. Generic code stores or loads all of
/// them (or only the alterable or only the readable ones) without knowing their
/// types; readNext() takes them back one by one with a type check.
///
/// The frame owns its references but not the variables: they must outlive the
/// frame and every copy of it. A new frame, and one whose references were all
/// read, has its cursor at the end; restartReading() rewinds it.
///
/// Invariant: no frame contains itself, directly or through sub-frames at any
/// depth, since storing, loading and restarting walk the sub-frames recursively.
/// Every operation that would close such a cycle throws cBugException
/// ("$MTR$A reference frame cannot contain itself!") and leaves both frames as
/// they were.
class QOR_EXPORT cReferenceFrame
{
public:
    cReferenceFrame();
    /// Copies every reference with create(); the copies designate the same
    /// variables. The cursor of the copy stands at the same position.
    cReferenceFrame(const cReferenceFrame& oOther);
    ~cReferenceFrame();
    /// Refused when oOther contains this frame.
    cReferenceFrame& operator=(const cReferenceFrame& oOther);
    /// Refused when either frame contains the other.
    void swap(cReferenceFrame& oOther);

    /// Appends a reference to oVariable.
    template <class T> cReferenceFrame& addRef(T& oVariable, bool bAlterable, bool bReadable)
    {
        return appendReference(new cTypeReference<T>(oVariable, bAlterable, bReadable));
    }
    /// Appends a reference to a sub-frame; storing and loading walk the sub-frame.
    /// Refused when oSubFrame is this frame or contains it.
    cReferenceFrame& addRef(cReferenceFrame& oSubFrame, bool bAlterable, bool bReadable);

    /// Appends a reference made elsewhere (by a proxy or another module), taking it
    /// over; a refused reference is deleted.
    cReferenceFrame& addReference(qstd::tAutoPtr<cAbstractTypeReference> pReference)
    {
        return appendReference(pReference.release());
    }

    /// Appends copies of all of oOther's references (through a temporary copy of
    /// oOther, so that appending a frame to itself is safe). Refused, adding
    /// nothing, when one of them designates a frame that contains this one.
    void append(const cReferenceFrame& oOther);
    /// Appends copies of all of oOther's references directly. Refused, adding
    /// nothing, for this frame itself (whose walk would never end) and as append().
    void append_net(const cReferenceFrame& oOther);
    /// True when oFrame is this frame or one of its sub-frames at any depth.
    bool contains(const cReferenceFrame& oFrame) const;

    bool empty() const { return moReferences.empty(); }
    unsigned count() const { return moReferences.count(); }
    /// True while the cursor stands on a reference.
    bool canRead() const;
    /// The reference under the cursor; throws cOutOfBoundsException ("tList") at the end.
    cAbstractTypeReference& currentReference() const;
    /// Advances the cursor; throws cOutOfBoundsException ("tList") at the end.
    void skipNext();
    /// Puts the cursor on the first reference, in this frame and in every sub-frame.
    void restartReading();

    /// The variable under the cursor, then advances. The reference must designate a
    /// T; references made in another module are recognised by the mangled type
    /// name. Throws cTypeMissmatchException (actual: the reference's typeName(),
    /// expected: T's name) for another type, and cOutOfBoundsException at the end.
    template <class T> T& readNext(const T* /*pTypeTag*/ = nullptr)
    {
        cAbstractTypeReference& oReference = currentReference();
        cTypeReference<T>* pTyped = dynamic_cast<cTypeReference<T>*>(&oReference);
        if (!pTyped) {
            if (std::strcmp(oReference.mangeledTypeName(), typeid(T).name()) != 0)
                throwTypeMissmatch(oReference, tTypeName<T>::name());
            pTyped = static_cast<cTypeReference<T>*>(&oReference);
        }
        skipNext();
        return pTyped->variable();
    }

    /// Stores every reference in order.
    void store(cAbstractSerializer& oSerializer) const;
    /// Stores the references that pass the filters: alterable ones when
    /// bOnlyAlterable is set, readable ones when bOnlyReadable is set (both apply
    /// together; with neither set, all).
    void store(cAbstractSerializer& oSerializer, bool bOnlyAlterable, bool bOnlyReadable) const;
    /// Loads every reference in order.
    void load(cAbstractDeserializer& oDeserializer);
    /// Loads the references that pass the filters, as store() does.
    void load(cAbstractDeserializer& oDeserializer, bool bOnlyAlterable, bool bOnlyReadable);
    /// Loads only the last reference; does nothing for an empty frame.
    void loadLast(cAbstractDeserializer& oDeserializer);

private:
    typedef qstd::tPtrList<cAbstractTypeReference> tReferences;

    /// Takes pReference over and appends it, unless it would close a cycle.
    cReferenceFrame& appendReference(cAbstractTypeReference* pReference);
    /// Throws unless every reference of oSource may be appended to this frame.
    void checkAppendable(const cReferenceFrame& oSource) const;
    /// Appends copies of oSource's references without checks.
    void appendCopies(const cReferenceFrame& oSource);
    /// swap() without checks.
    void exchange(cReferenceFrame& oOther);
    static bool passes(const cAbstractTypeReference& oReference, bool bOnlyAlterable,
                       bool bOnlyReadable);
    [[noreturn]] static void throwTypeMissmatch(const cAbstractTypeReference& oReference,
                                                const char* pExpected);

    tReferences moReferences;       ///< owned (GuardSingle)
    tReferences::iterator moCursor; ///< the next reference to read; end() when none is left
};

QOR_EXPORT cAbstractSerializer& operator>>(const cReferenceFrame& oFrame,
                                           cAbstractSerializer& oSerializer);
QOR_EXPORT cAbstractDeserializer& operator<<(cReferenceFrame& oFrame,
                                             cAbstractDeserializer& oDeserializer);

} // namespace qsa

#endif // QOR_CORE_SA_REFERENCEFRAME_H
