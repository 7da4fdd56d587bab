// exception.cpp - the exception base classes.
// SPDX-License-Identifier: MIT
#include "qor_core/std/exception.h"
#include "qor_core/pi/debug.h"
#include "qor_core/pi/platform.h"
#include "qor_core/qcs/componentlocation.h"
#include "qor_core/sa/abstractserializer.h"
#include "qor_core/ucs/lilocale.h"

#include <cstring>
#include <new>

namespace qstd {

namespace {

// Set while a chain is copied element by element: the copy constructor then copies
// only its own element, and the caller links the copies, so that no copy recurses
// along the chain.
thread_local bool tlsCopyWithoutHistory = false;

class cCopyWithoutHistory
{
public:
    cCopyWithoutHistory() : mbPrevious(tlsCopyWithoutHistory) { tlsCopyWithoutHistory = true; }
    ~cCopyWithoutHistory() { tlsCopyWithoutHistory = mbPrevious; }

private:
    bool mbPrevious;
};

void copyCut(char* pTarget, const char* pSource, unsigned iMax)
{
    std::memset(pTarget, 0, iMax + 1);
    if (pSource)
        std::strncpy(pTarget, pSource, iMax);
}

} // namespace

cAbstractException::cAbstractException(const char* pWhat, Type eType, const char* pSourceFile,
                                       unsigned int iSourceLine)
    : miSourceLine(iSourceLine), meType(eType), mpHistory(nullptr), mbOutOfMemory(false),
      mpRemoteLocation(nullptr)
{
    copyCut(mcSourceFile, pSourceFile, kFileNameLength);
    copyCut(mcWhat, pWhat, kWhatLength);
    qpi::piBackTrace(miBacktrace, kBacktraceEntries);
    cAsciiString sMode = qpi::cPlatform().getEnv("QE");
    if (sMode == "dump")
        QOR_DEBUG_LINE(qpi::piStackTrace(128));
    else if (sMode == "break")
        qpi::breakPoint();
}

cAbstractException::cAbstractException(const cAbstractException& oOther)
    : miSourceLine(oOther.miSourceLine), meType(oOther.meType), mpHistory(nullptr),
      mbOutOfMemory(oOther.mbOutOfMemory), mpRemoteLocation(nullptr)
{
    std::memcpy(mcSourceFile, oOther.mcSourceFile, sizeof(mcSourceFile));
    std::memcpy(mcWhat, oOther.mcWhat, sizeof(mcWhat));
    std::memcpy(miBacktrace, oOther.miBacktrace, sizeof(miBacktrace));
    if (oOther.mpRemoteLocation)
        mpRemoteLocation = new qcs::cComponentLocation(*oOther.mpRemoteLocation);
    if (!tlsCopyWithoutHistory)
        copyHistoryFrom(oOther);
}

cAbstractException& cAbstractException::operator=(const cAbstractException& oOther)
{
    if (this == &oOther)
        return *this;
    // oOther may belong to the chain that is replaced: everything is taken from it
    // before the old chain goes.
    qcs::cComponentLocation* pLocation =
        oOther.mpRemoteLocation ? new qcs::cComponentLocation(*oOther.mpRemoteLocation) : nullptr;
    bool bOutOfMemory = oOther.mbOutOfMemory;
    cAbstractException* pHistory = nullptr;
    try {
        pHistory = oOther.getHistory(bOutOfMemory);
    } catch (...) {
        delete pLocation;
        throw;
    }
    qcs::cComponentLocation* pOldLocation = mpRemoteLocation;
    cAbstractException* pOldHistory = mpHistory;
    std::memcpy(mcSourceFile, oOther.mcSourceFile, sizeof(mcSourceFile));
    std::memcpy(mcWhat, oOther.mcWhat, sizeof(mcWhat));
    std::memcpy(miBacktrace, oOther.miBacktrace, sizeof(miBacktrace));
    miSourceLine = oOther.miSourceLine;
    meType = oOther.meType;
    mbOutOfMemory = bOutOfMemory;
    mpRemoteLocation = pLocation;
    mpHistory = pHistory;
    delete pOldLocation;
    deleteChain(pOldHistory);
    return *this;
}

cAbstractException& cAbstractException::operator=(cAbstractException&& oOther)
{
    if (isInChain(oOther))
        return *this = static_cast<const cAbstractException&>(oOther);
    swap(oOther);
    return *this;
}

void cAbstractException::swap(cAbstractException& oOther)
{
    cAbstractException* pHistory = mpHistory;
    mpHistory = oOther.mpHistory;
    oOther.mpHistory = pHistory;
    qcs::cComponentLocation* pLocation = mpRemoteLocation;
    mpRemoteLocation = oOther.mpRemoteLocation;
    oOther.mpRemoteLocation = pLocation;
    char cFile[sizeof(mcSourceFile)];
    std::memcpy(cFile, mcSourceFile, sizeof(cFile));
    std::memcpy(mcSourceFile, oOther.mcSourceFile, sizeof(cFile));
    std::memcpy(oOther.mcSourceFile, cFile, sizeof(cFile));
    char cWhat[sizeof(mcWhat)];
    std::memcpy(cWhat, mcWhat, sizeof(cWhat));
    std::memcpy(mcWhat, oOther.mcWhat, sizeof(cWhat));
    std::memcpy(oOther.mcWhat, cWhat, sizeof(cWhat));
    std::uintptr_t iTrace[kBacktraceEntries];
    std::memcpy(iTrace, miBacktrace, sizeof(iTrace));
    std::memcpy(miBacktrace, oOther.miBacktrace, sizeof(iTrace));
    std::memcpy(oOther.miBacktrace, iTrace, sizeof(iTrace));
    unsigned iLine = miSourceLine;
    miSourceLine = oOther.miSourceLine;
    oOther.miSourceLine = iLine;
    Type eType = meType;
    meType = oOther.meType;
    oOther.meType = eType;
    bool bFlag = mbOutOfMemory;
    mbOutOfMemory = oOther.mbOutOfMemory;
    oOther.mbOutOfMemory = bFlag;
}

cAbstractException::~cAbstractException()
{
    delete mpRemoteLocation;
    deleteChain(mpHistory);
}

void cAbstractException::deleteChain(cAbstractException* pFirst)
{
    while (pFirst) {
        cAbstractException* pNext = pFirst->mpHistory;
        pFirst->mpHistory = nullptr;
        delete pFirst;
        pFirst = pNext;
    }
}

void cAbstractException::copyHistoryFrom(const cAbstractException& oSource)
{
    mpHistory = oSource.getHistory(mbOutOfMemory);
}

cAbstractException* cAbstractException::getHistory(bool& bOutOfMemory) const
{
    cCopyWithoutHistory oGuard;
    cAbstractException* pFirst = nullptr;
    cAbstractException* pLast = nullptr;
    for (const cAbstractException* p = mpHistory; p; p = p->mpHistory) {
        cAbstractException* pCopy = nullptr;
        try {
            pCopy = p->createObject();
        } catch (const std::bad_alloc&) {
            if (pLast)
                pLast->mbOutOfMemory = true;
            else
                bOutOfMemory = true;
            return pFirst;
        } catch (...) {
            deleteChain(pFirst);
            throw;
        }
        if (pLast)
            pLast->mpHistory = pCopy;
        else
            pFirst = pCopy;
        pLast = pCopy;
    }
    return pFirst;
}

cAbstractException* cAbstractException::lastInChain()
{
    cAbstractException* p = this;
    while (p->mpHistory)
        p = p->mpHistory;
    return p;
}

void cAbstractException::link(cAbstractException* pException)
{
    if (pException)
        lastInChain()->mpHistory = pException;
}

void cAbstractException::link(const cAbstractException& oException)
{
    link(oException.createObject());
}

bool cAbstractException::isInChain(const cAbstractException& oException) const
{
    for (const cAbstractException* p = this; p; p = p->mpHistory)
        if (p == &oException)
            return true;
    return false;
}

const cAbstractException* cAbstractException::has(const cAsciiString& sTypeName) const
{
    for (const cAbstractException* p = this; p; p = p->mpHistory)
        if (p->typeName() == sTypeName)
            return p;
    return nullptr;
}

bool cAbstractException::outOfMemoryCondition() const
{
    return mbOutOfMemory;
}

bool cAbstractException::hasOutOfMemoryCondition() const
{
    for (const cAbstractException* p = this; p; p = p->mpHistory)
        if (p->outOfMemoryCondition())
            return true;
    return false;
}

const qucs::cLIMessage* cAbstractException::liMessage() const
{
    return nullptr;
}

const void* cAbstractException::dialog() const
{
    return nullptr;
}

bool cAbstractException::isRemote() const
{
    return mpRemoteLocation != nullptr;
}

const qcs::cComponentLocation& cAbstractException::remoteLocation() const
{
    QOR_ASSERT_TEXT(mpRemoteLocation != nullptr, "mpRemoteLocation != 0");
    return *mpRemoteLocation;
}

void cAbstractException::setRemoteInfo(const qcs::cComponentLocation& oLocation)
{
    qcs::cComponentLocation* pCopy = new qcs::cComponentLocation(oLocation);
    delete mpRemoteLocation;
    mpRemoteLocation = pCopy;
}

const std::uintptr_t* cAbstractException::backtrace() const
{
    return miBacktrace[0] ? miBacktrace : nullptr;
}

void cAbstractException::createMessage(const cAbstractException& oException, qucs::cString& sOut,
                                       unsigned int, const qucs::cLILocale* pLocale)
{
    const qucs::cLIMessage* pMessage = oException.liMessage();
    if (!pMessage) {
        sOut.appendC(oException.what());
        return;
    }
    qucs::cString sText;
    if (pLocale)
        pLocale->translate(*pMessage, sText);
    else
        pMessage->untranslated(sText);
    sOut += sText;
}

void cAbstractException::createMessage(qucs::cString& sOut, const qucs::cString& sSeparator,
                                       unsigned int iFlags, const qucs::cLILocale* pLocale) const
{
    sOut.setSize(0);
    unsigned iLevel = 0;
    // The chain is read in place: the texts are those of copies of it.
    for (const cAbstractException* p = this; p;) {
        createMessage(*p, sOut, iFlags, pLocale);
        if (!(iFlags & WithHistory))
            return;
        p = p->mpHistory;
        if (p)
            sOut += sSeparator;
        if (iFlags & Indent) {
            ++iLevel;
            for (unsigned i = 0; i < iLevel; ++i)
                sOut += (unsigned int)' ';
        }
    }
}

void cAbstractException::dump() const
{
    for (const cAbstractException* p = this; p; p = p->mpHistory) {
        cAsciiString sLine("[");
        sLine += p->typeName();
        sLine += p->type() == Bug ? " (bug)" : " (runtime)";
        sLine += "]: ";
        if (const qucs::cLIMessage* pMessage = p->liMessage()) {
            cAsciiString sText;
            pMessage->untranslated(sText);
            sLine += sText;
        } else {
            sLine += p->what();
        }
        QOR_DEBUG_LINE(sLine);
    }
}

void cAbstractException::store(qsa::cAbstractSerializer& oSerializer) const
{
    oSerializer.store(typeName());
    oSerializer.store((unsigned int)meType);
    oSerializer.store(mbOutOfMemory);
}

void cAbstractException::load(qsa::cAbstractDeserializer& oDeserializer)
{
    unsigned int iType = 0;
    oDeserializer.load(iType);
    bool bOutOfMemory = false;
    oDeserializer.load(bOutOfMemory);
    meType = iType == Bug ? Bug : Runtime;
    mbOutOfMemory = bOutOfMemory;
}

void cAbstractException::storeRecursive(qsa::cAbstractSerializer& oSerializer) const
{
    QOR_DEBUG_LINE("cAbstractException::storeRecursive");
    for (const cAbstractException* p = this; p; p = p->mpHistory) {
        oSerializer.store(true);
        p->store(oSerializer);
    }
    oSerializer.store(false);
}

tAutoPtr<cAbstractException>
cAbstractException::createFromStream(qsa::cAbstractDeserializer& oDeserializer,
                                     const cAbstractExceptionFactory& oFactory)
{
    tAutoPtr<cAbstractException> pResult;
    cAbstractException* pLast = nullptr;
    bool bMore = false;
    oDeserializer.load(bMore);
    while (bMore) {
        cAsciiString sTypeName;
        oDeserializer.load(sTypeName);
        tAutoPtr<cAbstractException> pElement;
        bool bFailed = false, bOutOfMemory = false;
        try {
            pElement = oFactory.createException(sTypeName);
            QOR_ASSERT(pElement.get() != nullptr);
            pElement->load(oDeserializer);
            oDeserializer.load(bMore);
        } catch (const std::bad_alloc&) {
            bFailed = bOutOfMemory = true;
        } catch (...) {
            bFailed = true;
        }
        if (bFailed) {
            // The element could not be rebuilt; when memory ran out, the marker that
            // takes its place says so through its flag.
            pElement.reset();
            qucs::cLIMessage oMsg;
            oMsg << "$MTR$Unknown exception type %s%!" << sTypeName;
            pElement.reset(new cRuntimeException(oMsg, nullptr, 0));
            pElement->mbOutOfMemory = bOutOfMemory;
            bMore = false;
        }
        // Elements arrive without history: linking them directly equals linking copies.
        cAbstractException* pNew = pElement.release();
        if (pLast)
            pLast->mpHistory = pNew;
        else
            pResult.reset(pNew);
        pLast = pNew;
    }
    return pResult;
}

// --- cBugException -------------------------------------------------------------

cBugException::cBugException() : cAbstractException("bug", Bug, "unknown", 0) {}

cBugException::cBugException(const qucs::cLIMessage& oMsg, const char* pSourceFile,
                             unsigned int iSourceLine)
    : cAbstractException("bug", Bug, pSourceFile, iSourceLine), moMessage(oMsg)
{
}

QOR_DEFINE_EXCEPTION_ASSIGNMENT(cBugException)

cAbstractException* cBugException::createObject() const
{
    return new cBugException(*this);
}
cAsciiString cBugException::typeName() const
{
    return cAsciiString("cBugException");
}
const qucs::cLIMessage* cBugException::liMessage() const
{
    return &moMessage;
}

void cBugException::store(qsa::cAbstractSerializer& oSerializer) const
{
    cAbstractException::store(oSerializer);
    moMessage >> oSerializer;
}

void cBugException::load(qsa::cAbstractDeserializer& oDeserializer)
{
    cAbstractException::load(oDeserializer);
    moMessage << oDeserializer;
}

void cBugException::throwAssertionFailed(const char* pOperation, const char* pFile,
                                         unsigned int iLine)
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Assertion failed in file %file%:%line%. (%operation%)!"
         << cAsciiString(pFile ? pFile : "unknown file") << iLine
         << cAsciiString(pOperation ? pOperation : "unknown");
    throw cBugException(oMsg, nullptr, 0);
}

// --- cRuntimeException ---------------------------------------------------------

cRuntimeException::cRuntimeException() : cAbstractException("runtime", Runtime, "unknown", 0) {}

cRuntimeException::cRuntimeException(const qucs::cLIMessage& oMsg, const char* pSourceFile,
                                     unsigned int iSourceLine)
    : cAbstractException("runtime", Runtime, pSourceFile, iSourceLine), moMessage(oMsg)
{
}

QOR_DEFINE_EXCEPTION_ASSIGNMENT(cRuntimeException)

cAbstractException* cRuntimeException::createObject() const
{
    return new cRuntimeException(*this);
}
cAsciiString cRuntimeException::typeName() const
{
    return cAsciiString("cRuntimeException");
}
const qucs::cLIMessage* cRuntimeException::liMessage() const
{
    return &moMessage;
}

void cRuntimeException::store(qsa::cAbstractSerializer& oSerializer) const
{
    cAbstractException::store(oSerializer);
    moMessage >> oSerializer;
}

void cRuntimeException::load(qsa::cAbstractDeserializer& oDeserializer)
{
    cAbstractException::load(oDeserializer);
    moMessage << oDeserializer;
}

cAbstractExceptionFactory::~cAbstractExceptionFactory() {}

} // namespace qstd
