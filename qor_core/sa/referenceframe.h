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
class QOR_EXPORT cReferenceFrame
{
public:
    cReferenceFrame();
    /// Copies every reference with create(); the copies designate the same
    /// variables. The cursor of the copy stands at the same position.
    cReferenceFrame(const cReferenceFrame& oOther);
    ~cReferenceFrame();
    cReferenceFrame& operator=(const cReferenceFrame& oOther);
    void swap(cReferenceFrame& oOther);

    /// Appends a reference to oVariable.
    template <class T> cReferenceFrame& addRef(T& oVariable, bool bAlterable, bool bReadable)
    {
        return appendReference(new cTypeReference<T>(oVariable, bAlterable, bReadable));
    }
    /// Appends a reference to a sub-frame; storing and loading walk the sub-frame.
    cReferenceFrame& addRef(cReferenceFrame& oSubFrame, bool bAlterable, bool bReadable);

    /// Appends a reference made elsewhere (by a proxy or another module), taking it over.
    cReferenceFrame& addReference(qstd::tAutoPtr<cAbstractTypeReference> pReference)
    {
        return appendReference(pReference.release());
    }

    /// Appends copies of all of oOther's references (through a temporary copy of
    /// oOther, so that appending a frame to itself is safe).
    void append(const cReferenceFrame& oOther);
    /// Appends copies of all of oOther's references directly.
    void append_net(const cReferenceFrame& oOther);

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

    cReferenceFrame& appendReference(cAbstractTypeReference* pReference);
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
