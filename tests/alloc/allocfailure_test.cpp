// Allocation failure: this program replaces operator new and realloc (the containers'
// pools grow with realloc) with versions that fail the n-th allocation, and runs each
// scenario once for every n until a run completes without a failure. A failed run
// must end in std::bad_alloc, or in the out-of-memory flag where an exception chain
// records it, and leave every object destroyable and in the state the operation
// promises: unchanged where it copies first, a prefix of the result where it adds
// one element at a time.
#include "pi/worktesting.h"
#include "qor_core/qor_core.h"
#include "support/exceptionfactory.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <functional>
#include <new>
#include <string>
#include <vector>

namespace {

long giFailAt = 0;       // the allocation to fail, counted while armed; 0 = none
long giCount = 0;        // allocations while armed in the current run
bool gbArmed = false;    // allocations are counted
bool gbInjected = false; // the failure happened in the current run

bool failNow()
{
    if (!gbArmed || giFailAt == 0 || ++giCount != giFailAt)
        return false;
    gbInjected = true;
    return true;
}

} // namespace

void* operator new(std::size_t iSize)
{
    if (failNow())
        throw std::bad_alloc();
    if (void* p = std::malloc(iSize ? iSize : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t iSize)
{
    return operator new(iSize);
}
void* operator new(std::size_t iSize, const std::nothrow_t&) noexcept
{
    return failNow() ? nullptr : std::malloc(iSize ? iSize : 1);
}
void* operator new[](std::size_t iSize, const std::nothrow_t& oTag) noexcept
{
    return operator new(iSize, oTag);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}

/// Forwards to the next realloc (the C library's, or the sanitizer's); a failure
/// returns null and leaves the block as it was.
extern "C" void* realloc(void* p, std::size_t iSize)
{
    typedef void* (*tRealloc)(void*, std::size_t);
    static tRealloc pNext = reinterpret_cast<tRealloc>(dlsym(RTLD_NEXT, "realloc"));
    if (iSize != 0 && failNow())
        return nullptr;
    return pNext(p, iSize);
}

namespace {

using qstd::cAbstractException;
using qstd::cAsciiString;
using qstd::tAutoPtr;
using qucs::cString;

/// Runs fOperation with allocations counted; true when it ended in the injected
/// std::bad_alloc. Any other exception is a failure of the test.
bool armed(const std::function<void()>& fOperation)
{
    bool bFailed = false;
    std::string sOther;
    gbArmed = true;
    try {
        fOperation();
    } catch (const std::bad_alloc&) {
        bFailed = true;
    } catch (const cAbstractException& e) {
        gbArmed = false;
        cAsciiString sText;
        if (e.liMessage())
            e.liMessage()->untranslated(sText);
        sOther = std::string(e.typeName().c_str()) + ": " + sText.c_str();
    }
    gbArmed = false;
    EXPECT_EQ("", sOther);
    EXPECT_TRUE(!bFailed || gbInjected) << "a std::bad_alloc that was not injected";
    return bFailed;
}

/// Runs fScenario for n = 1, 2, ... with the n-th armed allocation failing, until a
/// run completes without a failure.
void forEachFailure(const std::function<void()>& fScenario)
{
    for (long n = 1; n < 100000; ++n) {
        giFailAt = n;
        giCount = 0;
        gbInjected = false;
        fScenario();
        giFailAt = 0;
        if (testing::Test::HasFailure()) {
            ADD_FAILURE() << "with allocation " << n << " failing";
            return;
        }
        if (!gbInjected)
            return;
    }
    ADD_FAILURE() << "no run completed";
}

// --- exception chains ---------------------------------------------------------------

/// A runtime exception with a type mismatch and a bug beneath it.
cAbstractException* newChain()
{
    qucs::cLIMessage oMsg;
    oMsg << "$MTR$Reading %file% failed at %line%" << cString("settings.bin") << 42u;
    qstd::cRuntimeException* pChain = new qstd::cRuntimeException(oMsg, "reader.cpp", 7);
    pChain->link(
        new qstd::cTypeMissmatchException(cAsciiString("piInt32"), cAsciiString("cString")));
    qucs::cLIMessage oBug;
    oBug << "$MTR$Bug (\"%bug%\") detected!" << cAsciiString("state");
    pChain->link(new qstd::cBugException(oBug, nullptr, 0));
    return pChain;
}

std::vector<std::string> typesOf(const cAbstractException* p)
{
    std::vector<std::string> oTypes;
    for (; p; p = p->history())
        oTypes.push_back(p->typeName().c_str());
    return oTypes;
}

std::string textOf(const cAbstractException& e)
{
    cString sText;
    e.createMessage(sText, cString("|"), cAbstractException::WithHistory, nullptr);
    return sText.ascii().c_str();
}

/// A copy made while memory ran out: the first elements of the original, the flag
/// set when it ends early, and the texts of those elements.
void expectCutCopy(const cAbstractException& oOriginal, const cAbstractException& oCopy)
{
    std::vector<std::string> oAll = typesOf(&oOriginal), oCopied = typesOf(&oCopy);
    ASSERT_LE(oCopied.size(), oAll.size());
    EXPECT_TRUE(std::equal(oCopied.begin(), oCopied.end(), oAll.begin()));
    EXPECT_EQ(oCopied.size() < oAll.size(), oCopy.hasOutOfMemoryCondition());
    std::string sText = textOf(oOriginal);
    EXPECT_EQ(sText.substr(0, textOf(oCopy).size()), textOf(oCopy));
}

TEST(AllocationFailure, ExceptionChainsAreCopiedAssignedStoredLoadedAndRendered)
{
    tAutoPtr<cAbstractException> pChain(newChain());
    const std::string sText = textOf(*pChain);
    qsa::cSerializeBinary oReference;
    pChain->storeRecursive(oReference);
    const qstd::tArray<char> oBytes(oReference.data());

    forEachFailure([&] {
        tAutoPtr<cAbstractException> pCopy;
        if (!armed([&] { pCopy.reset(pChain->createObject()); })) {
            expectCutCopy(*pChain, *pCopy);
        }

        // Assignment copies first: a failure leaves the target as it was.
        qucs::cLIMessage oOld;
        oOld << "$MTR$old";
        qstd::cRuntimeException oTarget(oOld, nullptr, 0);
        const auto& oSource = static_cast<const qstd::cRuntimeException&>(*pChain);
        if (armed([&] { oTarget = oSource; }))
            EXPECT_EQ("old", textOf(oTarget));
        else
            expectCutCopy(*pChain, oTarget);

        qsa::cSerializeBinary oWriter;
        if (armed([&] { pChain->storeRecursive(oWriter); })) {
            oWriter.clear();
            pChain->storeRecursive(oWriter);
        }
        EXPECT_TRUE(qstd::tConstArrayRef<char>(oWriter.data()) ==
                    qstd::tConstArrayRef<char>(oBytes));

        // A rebuilt chain is whole, or ends in the unknown-type element that carries
        // the out-of-memory flag.
        qsa::cDeserializeBinary oReader((qstd::tConstArrayRef<char>(oBytes)));
        tAutoPtr<cAbstractException> pLoaded;
        if (!armed([&] {
                pLoaded =
                    cAbstractException::createFromStream(oReader, qortest::cTestExceptionFactory());
            })) {
            std::vector<std::string> oTypes = typesOf(pLoaded.get());
            if (oTypes == typesOf(pChain.get())) {
                EXPECT_EQ(sText, textOf(*pLoaded));
            } else {
                const cAbstractException* pLast = pLoaded.get();
                while (pLast->history())
                    pLast = pLast->history();
                EXPECT_EQ("cRuntimeException", oTypes.back());
                EXPECT_TRUE(pLast->outOfMemoryCondition());
            }
        }

        cString sRendered("before");
        if (!armed([&] {
                pChain->createMessage(sRendered, cString("|"), cAbstractException::WithHistory,
                                      nullptr);
            })) {
            EXPECT_EQ(sText, sRendered.ascii().c_str());
        }
        armed([&] { pChain->dump(); });
    });
}

// --- binary records -----------------------------------------------------------------

/// A record of three nested contexts with labels, strings and numbers.
void writeRecord(qsa::cSerializeBinary& s)
{
    qsa::cContext oOuter(s.newContext("outer"));
    s.newLabel("name");
    s.store(cString("\u00e9l\u00e8ve"));
    for (int i = 0; i < 3; ++i) {
        qsa::cContext oInner(s.newContext(i % 2 ? "odd" : "even"));
        s.store(i);
        s.store(cAsciiString("item"));
        qsa::cContext oLeaf(s.newContext(nullptr));
        s.store(1.5 * i);
        oLeaf.release();
        oInner.release();
    }
    oOuter.release();
}

std::string readRecord(qsa::cDeserializeBinary& d)
{
    std::string sOut;
    qsa::cContext oOuter(d.getContext("outer"));
    d.findLabel("name");
    cString sName;
    d.load(sName);
    sOut += sName.ascii().c_str();
    for (int i = 0; i < 3; ++i) {
        qsa::cContext oInner(d.getContext(i % 2 ? "odd" : "even"));
        int iValue = -1;
        d.load(iValue);
        cAsciiString sItem;
        d.load(sItem);
        qsa::cContext oLeaf(d.getContext(nullptr));
        double dValue = 0;
        d.load(dValue);
        sOut += " " + std::to_string(iValue) + sItem.c_str() + std::to_string(dValue);
        oLeaf.release();
        oInner.release();
    }
    oOuter.release();
    return sOut;
}

TEST(AllocationFailure, NestedBinaryRecordsAreWrittenAndRead)
{
    qsa::cSerializeBinary oReference;
    writeRecord(oReference);
    const qstd::tArray<char> oBytes(oReference.data());
    qsa::cDeserializeBinary oCheck((qstd::tConstArrayRef<char>(oBytes)));
    const std::string sExpected = readRecord(oCheck);

    forEachFailure([&] {
        qsa::cSerializeBinary oWriter;
        if (armed([&] { writeRecord(oWriter); })) {
            oWriter.clear(); // usable again after the failure
            writeRecord(oWriter);
        }
        EXPECT_TRUE(qstd::tConstArrayRef<char>(oWriter.data()) ==
                    qstd::tConstArrayRef<char>(oBytes));
        qsa::cDeserializeBinary oReader((qstd::tConstArrayRef<char>(oBytes)));
        std::string sRead;
        if (!armed([&] { sRead = readRecord(oReader); })) {
            EXPECT_EQ(sExpected, sRead);
        }
    });
}

// --- containers ---------------------------------------------------------------------

/// One change of a container: applied to a fresh object, its snapshot afterwards is
/// sExpected; after a failure it is the snapshot before (bStrong) or lies between
/// the two, one whole element at a time.
struct cChange
{
    const char* mpName;
    std::function<std::string(bool bFailing)> mfRun; ///< builds, changes, snapshots
};

template <class C> std::string snapshot(const C& oContainer)
{
    std::string s;
    for (const auto& oElement : oContainer)
        s += std::string(oElement) + ",";
    return s;
}
std::string snapshot(const qstd::tArray<unsigned>& a)
{
    std::string s;
    for (unsigned i = 0; i < a.length(); ++i)
        s += std::to_string(a[i]) + ",";
    return s;
}
std::string snapshot(const cAsciiString& s)
{
    return std::string(s.c_str(), s.length());
}
std::string snapshot(const cString& s)
{
    return s.ascii().c_str();
}
template <class T> std::string snapshot(const qstd::tPtrVector<T>& v)
{
    std::string s;
    for (unsigned i = 0; i < v.count(); ++i)
        s += *v[i] + ",";
    return s;
}
template <class T> std::string snapshot(const qstd::tStack<T>& oStack)
{
    qstd::tStack<T> oCopy(oStack);
    std::string s;
    while (!oCopy.empty())
        s += oCopy.pop() + ",";
    return s;
}

/// Builds a C from fBuild, applies fChange armed and checks the outcome.
template <class C>
void runChange(const std::function<void(C&)>& fBuild, const std::function<void(C&)>& fChange,
               bool bStrong)
{
    C oReference;
    fBuild(oReference);
    const std::string sBefore = snapshot(oReference);
    fChange(oReference);
    const std::string sAfter = snapshot(oReference);
    forEachFailure([&] {
        C oObject;
        fBuild(oObject);
        bool bFailed = armed([&] { fChange(oObject); });
        std::string sNow = snapshot(oObject);
        if (!bFailed)
            EXPECT_EQ(sAfter, sNow);
        else if (bStrong)
            EXPECT_EQ(sBefore, sNow);
        else // appended element by element: the old content and part of the new
            EXPECT_TRUE(sNow.size() >= sBefore.size() && sNow.size() <= sAfter.size() &&
                        sAfter.compare(0, sNow.size(), sNow) == 0)
                << sNow;
        fChange(oObject); // still usable
    });
}

typedef qstd::tArray<unsigned> tUnsigned;
typedef qstd::tVector<std::string> tStrings;
typedef qstd::tList<std::string> tStringList;
typedef qstd::tPtrVector<std::string> tOwned;
typedef qstd::tStack<std::string> tStringStack;

template <class C> void fillStrings(C& c)
{
    for (const char* p : {"a", "b", "c"})
        c.append(p);
}

TEST(AllocationFailure, ContainersAppendAndInsert)
{
    auto fillArray = [](tUnsigned& a) {
        for (unsigned i = 0; i < 40; ++i)
            a.append(i);
    };
    auto fillText = [](cAsciiString& s) { s = "0123456789012345678901234567890123456789"; };
    auto fillWide = [](cString& s) { s = "0123456789012345678901234567890123456789"; };
    runChange<tUnsigned>(
        fillArray, [](tUnsigned& a) { a.append(7u); }, true);
    runChange<tUnsigned>(
        fillArray, [](tUnsigned& a) { a.append(a); }, true);
    runChange<tUnsigned>(
        fillArray, [](tUnsigned& a) { a.insert(3, a.data(), a.length()); }, true);
    runChange<cAsciiString>(
        fillText, [](cAsciiString& s) { s += s; }, true);
    runChange<cAsciiString>(
        fillText, [](cAsciiString& s) { s.insert(5, "inserted", 8); }, true);
    runChange<cString>(
        fillWide, [](cString& s) { s += s; }, true);
    runChange<cString>(
        fillWide, [](cString& s) { s.appendC("\xc3\xa9t\xc3\xa9"); }, true);
    runChange<tStrings>(
        fillStrings<tStrings>, [](tStrings& v) { v.append("d"); }, true);
    runChange<tStrings>(
        fillStrings<tStrings>, [](tStrings& v) { v.insert(1, v[2]); }, true);
    runChange<tStrings>(
        fillStrings<tStrings>, [](tStrings& v) { v.insert(1, v); }, true);
    runChange<tOwned>([](tOwned& v) { v.append(tAutoPtr<std::string>(new std::string("a"))); },
                      [](tOwned& v) { v.append(tAutoPtr<std::string>(new std::string("b"))); },
                      true);
    runChange<tStringList>(
        fillStrings<tStringList>, [](tStringList& l) { l.append("d"); }, true);
    runChange<tStringList>(
        fillStrings<tStringList>, [](tStringList& l) { l.insert(l.begin(), "z"); }, true);
    runChange<tStringList>(
        fillStrings<tStringList>, [](tStringList& l) { l = tStringList(l); }, true);
    runChange<tStringList>(
        fillStrings<tStringList>, [](tStringList& l) { l.append_net(l); }, false);
    runChange<tStringStack>([](tStringStack& s) { s.push("a"); },
                            [](tStringStack& s) { s.push(s.top()); }, true);
}

// --- signals ------------------------------------------------------------------------

TEST(AllocationFailure, SignalsConnectAndEmit)
{
    forEachFailure([] {
        qortest::cProbe a, b;
        qrmi::localSignal0<piVoid> oSignal(qrmi::cAbstractSignal::IgnoreWhenUnconnected);
        oSignal.connect(a, &qortest::cProbe::slt);
        bool bFailed = armed([&] { oSignal.connect(b, &qortest::cProbe::slt); });
        EXPECT_EQ(bFailed ? 1u : 2u, oSignal.numSlotCalls());
        EXPECT_EQ(bFailed ? 0u : 1u, b.numAttachedSignals());
        armed([&] {
            oSignal.connect(b, &qortest::cProbe::slt, qrmi::cAbstractSignal::ConnectFirst);
            oSignal();
        });
        oSignal();
        EXPECT_GE(a.miCalls, 1);
    });
}

// --- the work queue -----------------------------------------------------------------

TEST(AllocationFailure, WorkQueuePassWithWorksAddedAndRemoved)
{
    qortest::cFakeClock oClock;
    forEachFailure([&] {
        qpi::cWorkQueue oQueue;
        oQueue.setEvents(tAutoPtr<qpi::cAbstractProcessEvents>(new qortest::cRecordingEvents));
        qortest::cProbe oProbe;
        qpi::cWork oOwned;
        oProbe.attach(oOwned);
        oOwned.start(0, qpi::cWork::Periodic);
        armed([&] {
            oQueue.addJob(oOwned);
            qstd::tSharedObject<qpi::cWork> pJob = oQueue.createJob();
            oProbe.attach(*pJob);
            pJob->start(0, qpi::cWork::Single);
            oQueue.process();
            oQueue.removeJob(oOwned);
            oQueue.process();
        });
        // Usable afterwards: the owned work runs once it is (again) in the queue.
        int iCalls = oProbe.miCalls;
        oQueue.removeJob(oOwned);
        oQueue.addJob(oOwned);
        oQueue.process();
        EXPECT_GT(oProbe.miCalls, iCalls);
    });
}

} // namespace
