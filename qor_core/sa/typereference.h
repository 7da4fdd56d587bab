// typereference.h - typed references to variables of a caller, walked by reference frames.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_SA_TYPEREFERENCE_H
#define QOR_CORE_SA_TYPEREFERENCE_H

#include "qor_core/sa/abstractserializer.h"
#include "qor_core/std/asciistring.h"
#include "qor_core/std/autoptr.h"
#include "qor_core/std/pitypes.h"

#include <typeinfo>

namespace qucs {
class cString;
}

namespace qsa {

class cReferenceFrame;

/// The framework's name of a type, as the serializers write it ("piInt32",
/// "cAsciiString", ...). Types without a name of their own fall back to the
/// run-time type name.
template <class T> struct tTypeName
{
    static const char* name() { return typeid(T).name(); }
};

#define QOR_SA_TYPE_NAME(type, text)                                                               \
    template <> struct tTypeName<type>                                                             \
    {                                                                                              \
        static const char* name() { return text; }                                                 \
    }

QOR_SA_TYPE_NAME(piVoid, "piVoid");
QOR_SA_TYPE_NAME(bool, "piBool");
QOR_SA_TYPE_NAME(signed char, "piChar");
QOR_SA_TYPE_NAME(unsigned char, "piUChar");
QOR_SA_TYPE_NAME(short, "piInt16");
QOR_SA_TYPE_NAME(unsigned short, "piUInt16");
QOR_SA_TYPE_NAME(int, "piInt32");
QOR_SA_TYPE_NAME(unsigned int, "piUInt32");
QOR_SA_TYPE_NAME(long long, "piInt64");
QOR_SA_TYPE_NAME(unsigned long long, "piUInt64");
QOR_SA_TYPE_NAME(double, "piDouble");
QOR_SA_TYPE_NAME(qstd::cAsciiString, "cAsciiString");
QOR_SA_TYPE_NAME(qucs::cString, "cString");
QOR_SA_TYPE_NAME(cReferenceFrame, "cReferenceFrame");

#undef QOR_SA_TYPE_NAME

/// A reference to one variable of the caller together with the knowledge how to
/// serialize it. The variable is never owned; the caller keeps it alive as long as
/// the reference (and every copy made by create()) is used.
class QOR_EXPORT cAbstractTypeReference
{
public:
    explicit cAbstractTypeReference(cReferenceFrame* pSubFrame = nullptr) : mpSubFrame(pSubFrame) {}
    virtual ~cAbstractTypeReference();

    /// A new heap copy designating the same variable; the caller owns it.
    virtual qstd::tAutoPtr<cAbstractTypeReference> create() const = 0;
    virtual void store(cAbstractSerializer& oSerializer) const = 0;
    virtual void load(cAbstractDeserializer& oDeserializer) = 0;
    /// The run-time (mangled) type name of the referenced type; used to compare
    /// types when dynamic_cast fails across module boundaries.
    virtual const char* mangeledTypeName() const = 0;
    /// The framework's name of the referenced type ("piVoid", "cReferenceFrame", ...).
    virtual qstd::cAsciiString typeName() const = 0;
    /// True when the callee may change the variable (an output or in-out value).
    virtual bool alterable() const = 0;
    /// True when the variable holds an input value.
    virtual bool readable() const = 0;

    /// The referenced frame when this reference designates a sub-frame, else null.
    cReferenceFrame* isSubReferenceFrame() const { return mpSubFrame; }

protected:
    cReferenceFrame* mpSubFrame; ///< not owned; null unless the variable is a frame
};

/// Common part of every typed reference: the variable and the two direction flags.
template <class T> class tTypeReferenceBase : public cAbstractTypeReference
{
public:
    tTypeReferenceBase(T& oVariable, bool bAlterable, bool bReadable, cReferenceFrame* pSubFrame)
        : cAbstractTypeReference(pSubFrame), mpVariable(&oVariable), mbAlterable(bAlterable),
          mbReadable(bReadable)
    {
    }

    const char* mangeledTypeName() const override { return typeid(T).name(); }
    qstd::cAsciiString typeName() const override
    {
        return qstd::cAsciiString(tTypeName<T>::name());
    }
    bool alterable() const override { return mbAlterable; }
    bool readable() const override { return mbReadable; }

    T& variable() const { return *mpVariable; }

protected:
    T* mpVariable; ///< not owned
    bool mbAlterable;
    bool mbReadable;
};

/// A reference to a variable of type T. store() and load() use the value's
/// serialization operators (value >> serializer, value << deserializer).
template <class T> class cTypeReference : public tTypeReferenceBase<T>
{
public:
    cTypeReference(T& oVariable, bool bAlterable, bool bReadable)
        : tTypeReferenceBase<T>(oVariable, bAlterable, bReadable, nullptr)
    {
    }

    qstd::tAutoPtr<cAbstractTypeReference> create() const override
    {
        return qstd::tAutoPtr<cAbstractTypeReference>(new cTypeReference<T>(*this));
    }
    void store(cAbstractSerializer& oSerializer) const override
    {
        *this->mpVariable >> oSerializer;
    }
    void load(cAbstractDeserializer& oDeserializer) override { *this->mpVariable << oDeserializer; }
};

/// The return value of a call that returns nothing: stores and loads nothing.
template <> class QOR_EXPORT cTypeReference<piVoid> : public tTypeReferenceBase<piVoid>
{
public:
    cTypeReference(piVoid& oVariable, bool bAlterable, bool bReadable);
    ~cTypeReference() override;

    qstd::tAutoPtr<cAbstractTypeReference> create() const override;
    void store(cAbstractSerializer& oSerializer) const override;
    void load(cAbstractDeserializer& oDeserializer) override;
};

/// A reference to a whole sub-frame: store() and load() walk the sub-frame.
template <>
class QOR_EXPORT cTypeReference<cReferenceFrame> : public tTypeReferenceBase<cReferenceFrame>
{
public:
    cTypeReference(cReferenceFrame& oFrame, bool bAlterable, bool bReadable);
    ~cTypeReference() override;

    qstd::tAutoPtr<cAbstractTypeReference> create() const override;
    void store(cAbstractSerializer& oSerializer) const override;
    void load(cAbstractDeserializer& oDeserializer) override;
};

} // namespace qsa

#endif // QOR_CORE_SA_TYPEREFERENCE_H
