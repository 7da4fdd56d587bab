// fakeserializer.h - an in-memory serializer/deserializer pair for tests: every
// stored item is kept as a typed value, so a test can check exactly what was
// written and read it back.
// SPDX-License-Identifier: MIT
#ifndef QOR_TESTS_SUPPORT_FAKESERIALIZER_H
#define QOR_TESTS_SUPPORT_FAKESERIALIZER_H

#include "qor_core/sa/abstractserializer.h"
#include "qor_core/std/asciistring.h"
#include "qor_core/std/exception.h"
#include "qor_core/ucs/string.h"

#include <cstddef>
#include <string>
#include <variant>
#include <vector>

namespace qortest {

struct cFakeContextBegin
{
    std::string sType;
}; // empty when stored without a type name
struct cFakeContextEnd
{
};
struct cFakeLabel
{
    std::string sName;
};
typedef std::vector<char> tFakeBlock;

typedef std::variant<bool, signed char, unsigned char, unsigned int, int, unsigned long long,
                     long long, double, qstd::cAsciiString, qucs::cString, tFakeBlock,
                     cFakeContextBegin, cFakeContextEnd, cFakeLabel>
    tFakeItem;
typedef std::vector<tFakeItem> tFakeStream;

/// The kind of an item as the binary format names it; "end" closes a context.
inline std::string fakeKind(const tFakeItem& oItem)
{
    static const char* const kNames[] = {
        "piBool",   "piChar",       "piUChar", "piUInt32", "piInt32", "piUInt64", "piInt64",
        "piDouble", "cAsciiString", "cString", "rawBytes", "context", "end",      "label"};
    return kNames[oItem.index()];
}

inline std::vector<std::string> fakeKinds(const tFakeStream& oItems)
{
    std::vector<std::string> oKinds;
    for (const tFakeItem& oItem : oItems)
        oKinds.push_back(fakeKind(oItem));
    return oKinds;
}

[[noreturn]] inline void throwFakeStreamError(const char* pWhat, std::size_t iItem)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MNTR$Fake stream: %what% at item %item%!" << pWhat << (unsigned long long)iItem;
    throw qstd::cRuntimeException(oMsg, nullptr, 0);
}

/// Records every stored item in moItems. A context destroyed without release() is
/// dropped again, as the binary serializer does.
class cFakeSerializer : public qsa::cAbstractSerializer
{
public:
    tFakeStream moItems;

    void storeBlock(const char* pData, unsigned iSize) override
    {
        put(tFakeBlock(pData, pData + iSize));
    }
    void store(unsigned char iValue) override { put(iValue); }
    void store(signed char iValue) override { put(iValue); }
    void store(unsigned int iValue) override { put(iValue); }
    void store(int iValue) override { put(iValue); }
    void store(unsigned long long iValue) override { put(iValue); }
    void store(long long iValue) override { put(iValue); }
    void store(bool bValue) override { put(bValue); }
    void store(double dValue) override { put(dValue); }
    void store(const qstd::cAsciiString& sValue) override { put(sValue); }
    void store(const qucs::cString& sValue) override { put(sValue); }
    void rewind() override {}
    void clear() override { moItems.clear(); }
    qsa::cContextRef newContext(const char* pTypeName) override
    {
        moOpen.push_back(new cStoreContext(*this));
        put(cFakeContextBegin{pTypeName ? pTypeName : ""});
        return qsa::cContextRef(moOpen.back());
    }
    void releaseCurrentContext() override
    {
        if (!moOpen.empty())
            moOpen.back()->release();
    }
    void newLabel(const qstd::cAsciiString& sName) override { put(cFakeLabel{sName.c_str()}); }
    /// There is no byte form.
    qstd::tArrayRef<char> data() override { return qstd::tArrayRef<char>(moNoBytes); }
    void swapData(qstd::tArray<char>& oData) override { moNoBytes.swap(oData); }

private:
    class cStoreContext : public qsa::cAbstractContextData
    {
    public:
        explicit cStoreContext(cFakeSerializer& oOwner)
            : moOwner(oOwner), miBegin(oOwner.moItems.size())
        {
        }
        ~cStoreContext() override
        {
            if (!mbReleased)
                moOwner.moItems.resize(miBegin);
            moOwner.moOpen.pop_back();
        }
        void release() override
        {
            if (!mbReleased)
                moOwner.put(cFakeContextEnd{});
            mbReleased = true;
        }

    private:
        cFakeSerializer& moOwner;
        std::size_t miBegin; ///< index of the context's begin item
        bool mbReleased = false;
    };

    template <class T> void put(const T& oValue)
    {
        moItems.emplace_back(std::in_place_type<T>, oValue);
    }

    std::vector<cStoreContext*> moOpen; ///< innermost last; owned by their context references
    qstd::tArray<char> moNoBytes;
};

/// Reads a stream recorded by cFakeSerializer. Loads pass over labels. Loading the
/// wrong kind of item, or past the end of the current context, throws a
/// cRuntimeException and leaves the position as it was.
class cFakeDeserializer : public qsa::cAbstractDeserializer
{
public:
    explicit cFakeDeserializer(const tFakeStream& oItems) : moItems(oItems) {}

    std::size_t position() const { return miPos; }

    void loadBlock(qstd::tArray<char>& oData) override
    {
        const tFakeBlock& oBlock = take<tFakeBlock>();
        oData.setSize(0);
        oData.append(oBlock.data(), unsigned(oBlock.size()));
    }
    void load(signed char& iValue) override { iValue = take<signed char>(); }
    void load(unsigned char& iValue) override { iValue = take<unsigned char>(); }
    void load(unsigned int& iValue) override { iValue = take<unsigned int>(); }
    void load(int& iValue) override { iValue = take<int>(); }
    void load(unsigned long long& iValue) override { iValue = take<unsigned long long>(); }
    void load(long long& iValue) override { iValue = take<long long>(); }
    void load(bool& bValue) override { bValue = take<bool>(); }
    void load(double& dValue) override { dValue = take<double>(); }
    void load(qstd::cAsciiString& sValue) override { sValue = take<qstd::cAsciiString>(); }
    void load(qucs::cString& sValue) override { sValue = take<qucs::cString>(); }
    void rewind() override { miPos = moOpen.empty() ? 0 : moOpen.back()->miContent; }
    bool eoc() const override
    {
        std::size_t i = afterLabels(miPos);
        return i >= moItems.size() || std::holds_alternative<cFakeContextEnd>(moItems[i]);
    }
    bool isContext() override
    {
        return !eoc() && std::holds_alternative<cFakeContextBegin>(moItems[afterLabels(miPos)]);
    }
    bool isLabel() override
    {
        return miPos < moItems.size() && std::holds_alternative<cFakeLabel>(moItems[miPos]);
    }
    /// Enters the next context; a null type name accepts any context.
    qsa::cContextRef getContext(const char* pTypeName) override
    {
        std::size_t iBegin = afterLabels(miPos);
        const cFakeContextBegin& oBegin = peek<cFakeContextBegin>(iBegin);
        if (pTypeName && oBegin.sType != pTypeName)
            throwFakeStreamError("context type mismatch", iBegin);
        moOpen.push_back(new cLoadContext(*this, iBegin + 1));
        miPos = iBegin + 1;
        return qsa::cContextRef(moOpen.back());
    }
    qstd::cAsciiString getNextContextTypeName() override
    {
        return peek<cFakeContextBegin>(afterLabels(miPos)).sType.c_str();
    }
    qstd::cAsciiString getNextLabelName() override { return peek<cFakeLabel>(miPos).sName.c_str(); }
    void releaseCurrentContext() override
    {
        if (!moOpen.empty())
            moOpen.back()->release();
    }
    // Seeking labels and re-serializing are not supported.
    void findLabel(const qstd::cAsciiString&) override { unsupported(); }
    bool tryFindLabel(const qstd::cAsciiString&) override { unsupported(); }
    void reserialize(qsa::cAbstractSerializer&) override { unsupported(); }

private:
    class cLoadContext : public qsa::cAbstractContextData
    {
    public:
        cLoadContext(cFakeDeserializer& oOwner, std::size_t iContent)
            : moOwner(oOwner), miBefore(oOwner.miPos), miContent(iContent)
        {
        }
        ~cLoadContext() override
        {
            if (!mbReleased)
                moOwner.miPos = miBefore;
            moOwner.moOpen.pop_back();
        }
        /// Skips what was left unread, nested contexts included, and the end item.
        void release() override
        {
            for (unsigned iDepth = 0; !mbReleased && moOwner.miPos < moOwner.moItems.size();) {
                const tFakeItem& oItem = moOwner.moItems[moOwner.miPos++];
                if (std::holds_alternative<cFakeContextBegin>(oItem))
                    ++iDepth;
                else if (std::holds_alternative<cFakeContextEnd>(oItem) && iDepth-- == 0)
                    break;
            }
            mbReleased = true;
        }

        cFakeDeserializer& moOwner;
        std::size_t miBefore;  ///< the position before the context was entered
        std::size_t miContent; ///< the first item inside the context
        bool mbReleased = false;
    };

    [[noreturn]] void unsupported() const { throwFakeStreamError("unsupported", miPos); }
    std::size_t afterLabels(std::size_t i) const
    {
        while (i < moItems.size() && std::holds_alternative<cFakeLabel>(moItems[i]))
            ++i;
        return i;
    }
    template <class T> const T& peek(std::size_t i) const
    {
        if (i >= moItems.size() || std::holds_alternative<cFakeContextEnd>(moItems[i]))
            throwFakeStreamError("end of context", i);
        if (!std::holds_alternative<T>(moItems[i]))
            throwFakeStreamError(("type mismatch, found " + fakeKind(moItems[i])).c_str(), i);
        return std::get<T>(moItems[i]);
    }
    template <class T> const T& take()
    {
        std::size_t i = afterLabels(miPos);
        const T& oValue = peek<T>(i);
        miPos = i + 1;
        return oValue;
    }

    tFakeStream moItems;
    std::size_t miPos = 0;             ///< index of the next item
    std::vector<cLoadContext*> moOpen; ///< innermost last; owned by their context references
};

} // namespace qortest

#endif // QOR_TESTS_SUPPORT_FAKESERIALIZER_H
