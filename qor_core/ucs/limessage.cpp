// limessage.cpp - cLIMessage.
// SPDX-License-Identifier: MIT
#include "qor_core/ucs/limessage.h"
#include "qor_core/pi/abstractout.h"
#include "qor_core/sa/abstractserializer.h"
#include "qor_core/std/autoptr.h"
#include "qor_core/std/list.h"
#include "qor_core/std/numberconversion.h"

#include <algorithm>

namespace qucs {

namespace {

/// A character of an 8-bit key as its '?'-widened form.
unsigned charValue(char c)
{
    return (unsigned char)c < 128 ? (unsigned char)c : '?';
}

/// Finds the next placeholder of sText at or after iFrom: a '%' outside an escape
/// starts it; its name (the '%' included) runs to the next '%' (consumed) or space
/// (not consumed) or the end of the text. iStart and iEnd delimit its text.
bool findPlaceholder(const qstd::cAsciiString& sText, unsigned iFrom, unsigned& iStart,
                     unsigned& iEnd, cString& sName)
{
    unsigned iLength = sText.length();
    for (unsigned i = iFrom; i < iLength; ++i) {
        unsigned c = charValue(sText[i]);
        if (c == '\\') {
            ++i;
            continue;
        }
        if (c != '%')
            continue;
        iStart = i;
        sName.setSize(0);
        sName.append((unsigned)'%');
        unsigned j = i + 1;
        for (; j < iLength; ++j) {
            unsigned d = charValue(sText[j]);
            if (d == '%') {
                ++j;
                break;
            }
            if (d == ' ')
                break;
            sName.append(d);
        }
        iEnd = j;
        return true;
    }
    return false;
}

} // namespace

/// One bound argument: the placeholder name with its '%', and the value.
struct cLIItem
{
    qstd::cAsciiString msName;
    cString msValue;
};

namespace {

/// The bound arguments ordered by name (bytes compared as unsigned values), those
/// of one name in binding order, for the look-up of placeholder names. Refers to
/// the names and values of the arguments, which must stay unchanged meanwhile.
class cArgumentIndex
{
public:
    explicit cArgumentIndex(const qstd::tList<cLIItem>& oArguments)
    {
        for (qstd::tList<cLIItem>::const_iterator it = oArguments.begin(); it != oArguments.end();
             ++it)
            moEntries.append(cEntry{reinterpret_cast<const unsigned char*>(it->msName.c_str()),
                                    it->msName.length(), &it->msValue});
        cEntry* pEntries = moEntries.data(true);
        std::stable_sort(pEntries, pEntries + moEntries.length(),
                         [](const cEntry& oA, const cEntry& oB) {
                             return qstd::tArraySearch<unsigned char>::relation(
                                        oA.mpName, oA.miLength, oB.mpName, oB.miLength) < 0;
                         });
    }

    /// The value of the first argument bound to the name of iLength characters at
    /// pName, or null.
    const cString* find(const unsigned* pName, unsigned iLength) const
    {
        const cEntry* pBegin = moEntries.data(true);
        const cEntry* pEnd = pBegin + moEntries.length();
        const cEntry* pFirst = std::lower_bound(pBegin, pEnd, 0, [&](const cEntry& oEntry, int) {
            return compare(oEntry, pName, iLength) < 0;
        });
        return pFirst != pEnd && compare(*pFirst, pName, iLength) == 0 ? pFirst->mpValue : nullptr;
    }

private:
    struct cEntry
    {
        const unsigned char* mpName; ///< the name's bytes, not owned
        unsigned miLength;
        const cString* mpValue; ///< not owned
    };

    /// Lexicographic order of a name against a run of code points, then by length.
    static int compare(const cEntry& oEntry, const unsigned* pName, unsigned iLength)
    {
        unsigned iShorter = oEntry.miLength < iLength ? oEntry.miLength : iLength;
        for (unsigned i = 0; i < iShorter; ++i)
            if (oEntry.mpName[i] != pName[i])
                return oEntry.mpName[i] < pName[i] ? -1 : 1;
        return oEntry.miLength < iLength ? -1 : oEntry.miLength > iLength ? 1 : 0;
    }

    qstd::tArray<cEntry> moEntries;
};

} // namespace

/// The message record, deep-copied with the message.
class cLIMessage::cImpl
{
public:
    cImpl() : miSearchPos(0), mbTranslate(true) {}
    cImpl(const cImpl& o)
        : msKey(o.msKey), miSearchPos(o.miSearchPos), mbTranslate(o.mbTranslate),
          moArguments(o.moArguments),
          mpFormat(o.mpFormat ? new qstd::cNumberConversionFormat(*o.mpFormat) : nullptr)
    {
    }

    void setKey(const qstd::cAsciiString& sKey)
    {
        msKey = sKey;
        if (msKey.beginsWith("$MTR$"))
            msKey.erase(0, 5);
        if (msKey.beginsWith("$MNTR$")) {
            msKey.erase(0, 6);
            mbTranslate = false;
        }
        miSearchPos = 0;
    }

    const qstd::cNumberConversionFormat& format() const
    {
        return mpFormat ? *mpFormat
                        : qstd::cNumberConversionFormat::getGlobalDefaultNumberConversionFormat();
    }

    /// Renders sText into sResult: each placeholder (found by the rule of binding)
    /// is replaced by the value of the first argument of its name, or by "???", and
    /// each escape backslash is dropped while the character after it stays. Values
    /// are copied as they are. One pass over the text, one binary search per
    /// placeholder: the arguments may come from another process in any number.
    void translate(const cString& sText, cString& sResult) const
    {
        cArgumentIndex oIndex(moArguments);
        cString sOut;
        const unsigned iLength = sText.length();
        const unsigned* pText = sText.data(true);
        unsigned i = 0;
        while (i < iLength) {
            if (pText[i] == '\\') {
                if (i + 1 < iLength)
                    sOut.append(pText[i + 1]);
                i += 2;
                continue;
            }
            if (pText[i] != '%') {
                unsigned iRun = i + 1;
                while (iRun < iLength && pText[iRun] != '\\' && pText[iRun] != '%')
                    ++iRun;
                sOut.append(pText + i, iRun - i);
                i = iRun;
                continue;
            }
            // The name runs from the '%' to the next '%' (dropped with it) or space.
            unsigned iEnd = i + 1;
            while (iEnd < iLength && pText[iEnd] != '%' && pText[iEnd] != ' ')
                ++iEnd;
            const cString* pValue = oIndex.find(pText + i, iEnd - i);
            if (pValue)
                sOut += *pValue;
            else
                sOut.appendC("???");
            i = iEnd < iLength && pText[iEnd] == '%' ? iEnd + 1 : iEnd;
        }
        sResult.swap(sOut);
    }

    qstd::cAsciiString msKey;
    unsigned miSearchPos;             ///< where the search for the next placeholder resumes
    bool mbTranslate;                 ///< false when the key carried "$MNTR$"
    qstd::tList<cLIItem> moArguments; ///< in binding order
    qstd::tAutoPtr<qstd::cNumberConversionFormat> mpFormat; ///< absent until set
};

cLIMessage::cLIMessage() : mpImpl(new cImpl) {}

cLIMessage::cLIMessage(const qstd::cAsciiString& sKey) : mpImpl(new cImpl)
{
    mpImpl->msKey = sKey;
}

cLIMessage::cLIMessage(const cLIMessage& oOther) : mpImpl(new cImpl(*oOther.mpImpl)) {}

cLIMessage::~cLIMessage()
{
    delete mpImpl;
}

cLIMessage cLIMessage::fromTemplate(const char* pTemplate)
{
    cLIMessage oMsg;
    oMsg << pTemplate;
    return oMsg;
}

cLIMessage& cLIMessage::operator=(const cLIMessage& oOther)
{
    if (this != &oOther) {
        cLIMessage oCopy(oOther);
        swap(oCopy);
    }
    return *this;
}

void cLIMessage::swap(cLIMessage& oOther)
{
    cImpl* pImpl = mpImpl;
    mpImpl = oOther.mpImpl;
    oOther.mpImpl = pImpl;
}

void cLIMessage::bind(const cString& sValue)
{
    const qstd::cAsciiString& sKey = mpImpl->msKey;
    unsigned iStart = 0, iEnd = 0;
    cString sName;
    // Scanning the 8-bit key equals scanning its '?'-widened copy: only bytes below
    // 128 (backslash, '%', space) steer the scan.
    if (!findPlaceholder(sKey, mpImpl->miSearchPos, iStart, iEnd, sName))
        return;
    mpImpl->miSearchPos = iEnd;
    cLIItem oItem;
    oItem.msName = sName.ascii('?');
    oItem.msValue = sValue;
    mpImpl->moArguments.append(oItem);
}

cLIMessage& cLIMessage::operator<<(const qstd::cAsciiString& sText)
{
    if (mpImpl->msKey.empty())
        mpImpl->setKey(sText);
    else
        bind(cString(sText, '?'));
    return *this;
}

cLIMessage& cLIMessage::operator<<(const char* pText)
{
    return *this << qstd::cAsciiString(pText);
}

cLIMessage& cLIMessage::operator<<(const cString& sText)
{
    if (mpImpl->msKey.empty())
        mpImpl->setKey(sText.ascii('?'));
    else
        bind(sText);
    return *this;
}

cLIMessage& cLIMessage::operator<<(int iValue)
{
    return *this << (long long)iValue;
}

cLIMessage& cLIMessage::operator<<(unsigned int iValue)
{
    return *this << (unsigned long long)iValue;
}

cLIMessage& cLIMessage::operator<<(long long iValue)
{
    cString sValue;
    sValue.addNum(iValue, mpImpl->format());
    bind(sValue);
    return *this;
}

cLIMessage& cLIMessage::operator<<(unsigned long long iValue)
{
    cString sValue;
    sValue.addUNum(iValue, mpImpl->format());
    bind(sValue);
    return *this;
}

cLIMessage& cLIMessage::operator<<(double dValue)
{
    cString sValue;
    sValue.addDouble(dValue, mpImpl->format());
    bind(sValue);
    return *this;
}

cLIMessage& cLIMessage::operator<<(const qstd::cNumberConversionFormat& oFormat)
{
    if (mpImpl->mpFormat)
        *mpImpl->mpFormat = oFormat;
    else
        mpImpl->mpFormat.reset(new qstd::cNumberConversionFormat(oFormat));
    return *this;
}

const qstd::cNumberConversionFormat* cLIMessage::numberConversionFormat() const
{
    return mpImpl->mpFormat.get();
}

const qstd::cAsciiString& cLIMessage::key() const
{
    return mpImpl->msKey;
}

bool cLIMessage::translatable() const
{
    return mpImpl->mbTranslate;
}

void cLIMessage::untranslated(cString& sResult) const
{
    mpImpl->translate(cString(mpImpl->msKey, '?'), sResult);
}

void cLIMessage::untranslated(qstd::cAsciiString& sResult) const
{
    cString sWide;
    untranslated(sWide);
    sResult.setSize(0);
    sWide.toAscii(sResult, '?');
}

void cLIMessage::translate(const cString& sTranslation, cString& sResult) const
{
    if (mpImpl->mbTranslate)
        mpImpl->translate(sTranslation, sResult);
    else
        untranslated(sResult);
}

qsa::cAbstractSerializer& cLIMessage::operator>>(qsa::cAbstractSerializer& oSerializer) const
{
    qsa::cContext oContext(oSerializer.newContext("cLIMessage"));
    oSerializer.store(mpImpl->msKey);
    oSerializer.store(mpImpl->miSearchPos);
    oSerializer.store(mpImpl->mbTranslate);
    for (qstd::tList<cLIItem>::const_iterator it = mpImpl->moArguments.begin();
         it != mpImpl->moArguments.end(); ++it) {
        oSerializer.store(it->msName);
        oSerializer.store(it->msValue);
    }
    oContext.release();
    return oSerializer;
}

qsa::cAbstractDeserializer& cLIMessage::operator<<(qsa::cAbstractDeserializer& oDeserializer)
{
    cImpl oLoaded;
    qsa::cContext oContext(oDeserializer.getContext("cLIMessage"));
    oDeserializer.load(oLoaded.msKey);
    oDeserializer.load(oLoaded.miSearchPos);
    oDeserializer.load(oLoaded.mbTranslate);
    while (!oDeserializer.eoc()) {
        cLIItem oItem;
        oDeserializer.load(oItem.msName);
        oDeserializer.load(oItem.msValue);
        oLoaded.moArguments.append(oItem);
    }
    oContext.release();
    if (mpImpl->mpFormat)
        oLoaded.mpFormat.reset(new qstd::cNumberConversionFormat(*mpImpl->mpFormat));
    cImpl* pNew = new cImpl(oLoaded);
    delete mpImpl;
    mpImpl = pNew;
    return oDeserializer;
}

qpi::cAbstractOut& operator<<(qpi::cAbstractOut& oOut, const cLIMessage& oMessage)
{
    cString sText;
    oMessage.untranslated(sText);
    return oOut << sText;
}

} // namespace qucs
