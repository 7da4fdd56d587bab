// epollprocessevents.cpp - qpi::cEpollProcessEvents on top of epoll.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/platform/dependend/native_linux/epollprocessevents.h"
#include "qor_core/pi/work.h"
#include "qor_core/std/array.h"

#include <cerrno>
#include <climits>
#include <poll.h>
#include <sys/epoll.h>
#include <unistd.h>

static_assert(EPOLLIN == POLLIN && EPOLLPRI == POLLPRI && EPOLLOUT == POLLOUT &&
                  EPOLLERR == POLLERR && EPOLLHUP == POLLHUP && EPOLLRDNORM == POLLRDNORM &&
                  EPOLLRDBAND == POLLRDBAND && EPOLLWRNORM == POLLWRNORM &&
                  EPOLLWRBAND == POLLWRBAND,
              "epoll reports the events poll reports, with the same bits");

namespace qpi {

namespace {

/// Always reported by poll, whatever was requested.
const piUInt32 kAlwaysReported = POLLERR | POLLHUP | POLLNVAL;
const unsigned kFirstEventCapacity = 64;

/// An epoll_event that tArray can hold (it writes a terminator as T(0)).
struct cEpollEntry : public epoll_event
{
    cEpollEntry(int = 0)
    {
        events = 0;
        data.u64 = 0;
    }
};

/// A pollfd that tArray can hold.
struct cPolledEntry : public pollfd
{
    cPolledEntry(int iFd = -1)
    {
        fd = iFd;
        events = 0;
        revents = 0;
    }
};

} // namespace

/// The registrations. Invariants, between calls: every descriptor some synced
/// registration waits on has one state, listed under its number, holding one
/// interest per (registration, descriptor entry); a state is either in the epoll
/// instance (with the union of its interests, tagged with its generation) or polled
/// beside it. Dirty registrations wait for the next wait to be read; a registration
/// whose work is null was unwatched and goes at that sync.
class cEpollProcessEvents::cImpl
{
public:
    struct cRegistration;
    struct cInterest
    {
        cInterest(int = 0) : mpRegistration(nullptr), miEvents(0) {}
        cInterest(cRegistration* pRegistration, piUInt32 iEvents)
            : mpRegistration(pRegistration), miEvents(iEvents)
        {
        }
        cRegistration* mpRegistration;
        piUInt32 miEvents; ///< poll events requested
    };
    struct cFdState
    {
        explicit cFdState(int iFd)
            : miFd(iFd), miGeneration(0), miRegistered(0), mbInKernel(false), mbPolled(false),
              mbChanged(false), mbEmptied(false), mbAdded(false)
        {
            moInterests.setFitOnErase(false);
        }
        int miFd;
        piUInt32 miGeneration; ///< tags the epoll registration; events of another are stale
        piUInt32 miRegistered; ///< events in the epoll instance
        bool mbInKernel;
        bool mbPolled;  ///< epoll refused it: polled beside the instance
        bool mbChanged; ///< in the changed list of the running sync
        bool mbEmptied; ///< lost every interest in the running sync: register anew
        bool mbAdded;   ///< gained an interest in the running sync
        qstd::tArray<cInterest> moInterests;
    };
    struct cRegistration : public cWorkRegistration
    {
        explicit cRegistration(cWork* pWork) : mpWork(pWork), mbDirty(false), miPos(0) {}
        cWork* mpWork;                ///< null once unwatched
        qstd::tArray<tFdInfo> moFds;  ///< synced: descriptors with their poll events
        qstd::tArray<tFdInfo> moNext; ///< read for the running sync
        bool mbDirty;
        unsigned miPos; ///< in moAll
    };

    cImpl() : miEpoll(-1), miNextGeneration(0), mpTracked(nullptr), miInKernel(0), mbRebuild(false)
    {
        moDirty.setFitOnErase(false);
        moChanged.setFitOnErase(false);
        moPolled.setFitOnErase(false);
        moPollFds.setFitOnErase(false);
        moEvents.setSize(kFirstEventCapacity);
    }
    ~cImpl()
    {
        for (unsigned i = 0; i < moAll.size(); ++i)
            delete moAll[i];
        for (unsigned i = 0; i < moStates.size(); ++i)
            delete moStates[i];
        if (miEpoll >= 0)
            ::close(miEpoll);
    }

    cFdState* stateOf(int iFd) const
    {
        return unsigned(iFd) < moStates.size() ? moStates[iFd] : nullptr;
    }

    void markDirty(cRegistration* pRegistration)
    {
        if (!pRegistration->mbDirty) {
            pRegistration->mbDirty = true;
            moDirty.append(pRegistration);
        }
    }

    void changed(cFdState* pState)
    {
        if (!pState->mbChanged) {
            pState->mbChanged = true;
            moChanged.append(pState);
        }
    }

    /// Reads the descriptors of every dirty registration, then brings the states and
    /// the epoll instance up to date. A work without descriptor data throws before
    /// anything changes, at every wait until it stops waiting, as poll's list does.
    void sync()
    {
        if (moDirty.empty())
            return;
        for (unsigned i = 0; i < moDirty.size(); ++i) {
            cRegistration* pRegistration = moDirty[i];
            pRegistration->moNext.truncate(0);
            if (!pRegistration->mpWork)
                continue;
            const cFDAIOData& oData = pRegistration->mpWork->aioData().fdAIOData();
            const qstd::tVector<tFdInfo>& oFds = oData.fds();
            for (unsigned j = 0; j < oFds.count(); ++j)
                if (oFds[j].miFd >= 0) // poll ignores negative descriptors
                    pRegistration->moNext.append(tFdInfo(oFds[j].miFd, oFds[j].pollEvents()));
        }
        // First every interest goes, then the new ones come: a descriptor number that
        // was closed and handed out again within one sync is registered anew.
        for (unsigned i = 0; i < moDirty.size(); ++i) {
            cRegistration* pRegistration = moDirty[i];
            for (unsigned j = 0; j < pRegistration->moFds.size(); ++j)
                removeInterest(pRegistration, pRegistration->moFds[j].miFd);
        }
        for (unsigned i = 0; i < moDirty.size(); ++i) {
            cRegistration* pRegistration = moDirty[i];
            pRegistration->mbDirty = false;
            pRegistration->moFds.swap(pRegistration->moNext);
            pRegistration->moNext.truncate(0);
            if (!pRegistration->mpWork) {
                forget(pRegistration);
                continue;
            }
            for (unsigned j = 0; j < pRegistration->moFds.size(); ++j)
                addInterest(pRegistration, pRegistration->moFds[j]);
        }
        moDirty.truncate(0);
        applyChanged();
    }

    /// A work stopped waiting: its descriptors leave at once, so that nothing is
    /// reported for it and a number it closes next is not watched in its name.
    void release(cRegistration* pRegistration)
    {
        pRegistration->mpWork = nullptr;
        for (unsigned j = 0; j < pRegistration->moFds.size(); ++j)
            removeInterest(pRegistration, pRegistration->moFds[j].miFd);
        pRegistration->moFds.truncate(0);
        if (!pRegistration->mbDirty)
            forget(pRegistration); // a dirty one goes with the next sync
        applyChanged();
    }

    void applyChanged()
    {
        for (unsigned i = 0; i < moChanged.size(); ++i)
            apply(moChanged[i]);
        moChanged.truncate(0);
        // The instance lives while it holds something, so that a queue with nothing
        // to wait for keeps no descriptor open.
        if (miInKernel == 0 && miEpoll >= 0) {
            ::close(miEpoll);
            miEpoll = -1;
        }
    }

    void removeInterest(cRegistration* pRegistration, int iFd)
    {
        cFdState* pState = stateOf(iFd);
        if (!pState)
            return;
        qstd::tArray<cInterest>& oInterests = pState->moInterests;
        for (unsigned i = 0; i < oInterests.size(); ++i) {
            if (oInterests[i].mpRegistration == pRegistration) {
                oInterests[i] = oInterests[oInterests.size() - 1];
                oInterests.truncate(oInterests.size() - 1);
                break;
            }
        }
        if (oInterests.empty())
            pState->mbEmptied = true;
        changed(pState);
    }

    void addInterest(cRegistration* pRegistration, const tFdInfo& oFd)
    {
        while (moStates.size() <= unsigned(oFd.miFd))
            moStates.append(nullptr);
        cFdState*& pState = moStates[oFd.miFd];
        if (!pState)
            pState = new cFdState(oFd.miFd);
        pState->moInterests.append(cInterest(pRegistration, oFd.miFlags));
        pState->mbAdded = true;
        changed(pState);
    }

    void forget(cRegistration* pRegistration)
    {
        unsigned iLast = moAll.size() - 1;
        if (pRegistration->miPos < iLast) {
            moAll[pRegistration->miPos] = moAll[iLast];
            moAll[pRegistration->miPos]->miPos = pRegistration->miPos;
        }
        moAll.truncate(iLast);
        delete pRegistration;
    }

    /// Gives the epoll instance what the state's interests ask for.
    void apply(cFdState* pState)
    {
        const bool bEmptied = pState->mbEmptied;
        const bool bAdded = pState->mbAdded;
        pState->mbChanged = pState->mbEmptied = pState->mbAdded = false;
        piUInt32 iWanted = 0;
        for (unsigned i = 0; i < pState->moInterests.size(); ++i)
            iWanted |= pState->moInterests[i].miEvents;
        if (pState->moInterests.empty()) {
            leaveKernel(pState);
            if (pState->mbPolled)
                removePolled(pState);
            moStates[pState->miFd] = nullptr;
            delete pState;
            return;
        }
        if (pState->mbPolled)
            return;
        if (pState->mbInKernel && bEmptied)
            leaveKernel(pState); // the number may name another file by now
        if (!pState->mbInKernel) {
            enterKernel(pState, iWanted);
        } else if (bAdded || iWanted != pState->miRegistered) {
            // Also for an unchanged union: a new interest may come with a file that
            // reuses a closed number, which the instance no longer holds.
            epoll_event oEvent = {};
            oEvent.events = iWanted;
            oEvent.data.u64 = tag(pState);
            if (::epoll_ctl(miEpoll, EPOLL_CTL_MOD, pState->miFd, &oEvent) == 0) {
                pState->miRegistered = iWanted;
            } else {
                bool bGone = errno == ENOENT;
                leaveKernel(pState);
                if (bGone)
                    enterKernel(pState, iWanted);
                else
                    addPolled(pState);
            }
        }
    }

    static unsigned long long tag(const cFdState* pState)
    {
        return ((unsigned long long)pState->miGeneration << 32) | piUInt32(pState->miFd);
    }

    void enterKernel(cFdState* pState, piUInt32 iWanted)
    {
        if (miEpoll < 0)
            miEpoll = ::epoll_create1(EPOLL_CLOEXEC);
        if (miEpoll < 0) {
            addPolled(pState); // no instance to be had: poll answers instead
            return;
        }
        pState->miGeneration = ++miNextGeneration;
        epoll_event oEvent = {};
        oEvent.events = iWanted;
        oEvent.data.u64 = tag(pState);
        int iResult = ::epoll_ctl(miEpoll, EPOLL_CTL_ADD, pState->miFd, &oEvent);
        if (iResult != 0 && errno == EEXIST)
            iResult = ::epoll_ctl(miEpoll, EPOLL_CTL_MOD, pState->miFd, &oEvent);
        if (iResult == 0) {
            pState->mbInKernel = true;
            pState->miRegistered = iWanted;
            ++miInKernel;
        } else {
            // Regular files, numbers not open, a full instance: poll answers for
            // them as it always did.
            addPolled(pState);
        }
    }

    void leaveKernel(cFdState* pState)
    {
        if (!pState->mbInKernel)
            return;
        // Fails harmlessly when the descriptor was closed: that removed it already.
        ::epoll_ctl(miEpoll, EPOLL_CTL_DEL, pState->miFd, nullptr);
        pState->mbInKernel = false;
        pState->miRegistered = 0;
        --miInKernel;
    }

    void addPolled(cFdState* pState)
    {
        if (!pState->mbPolled) {
            pState->mbPolled = true;
            moPolled.append(pState);
        }
    }

    void removePolled(cFdState* pState)
    {
        for (unsigned i = 0; i < moPolled.size(); ++i) {
            if (moPolled[i] == pState) {
                moPolled[i] = moPolled[moPolled.size() - 1];
                moPolled.truncate(moPolled.size() - 1);
                break;
            }
        }
        pState->mbPolled = false;
    }

    /// Marks every work waiting on the state's descriptor for what came.
    static void mark(cFdState* pState, piUInt32 iReported)
    {
        for (unsigned i = 0; i < pState->moInterests.size(); ++i) {
            const cInterest& oInterest = pState->moInterests[i];
            if (!(iReported & (oInterest.miEvents | kAlwaysReported)))
                continue;
            // Only the queue's bookkeeping runs here: nothing changes the states.
            if (cAbstractAIOData* pData = oInterest.mpRegistration->mpWork->hasAIOData())
                pData->setEvent(true);
        }
    }

    void collect(int iReady)
    {
        while (iReady > 0) {
            for (int i = 0; i < iReady; ++i) {
                const epoll_event& oEvent = moEvents[unsigned(i)];
                int iFd = int(oEvent.data.u64 & 0xffffffffULL);
                piUInt32 iGeneration = piUInt32(oEvent.data.u64 >> 32);
                cFdState* pState = stateOf(iFd);
                if (!pState || !pState->mbInKernel || pState->miGeneration != iGeneration) {
                    // A registration that outlived its descriptor number (the file is
                    // still open elsewhere): only a new instance is rid of it.
                    mbRebuild = true;
                    continue;
                }
                mark(pState, oEvent.events);
            }
            if (unsigned(iReady) < moEvents.size() || moEvents.size() >= miInKernel)
                return;
            // More may be ready than fitted: collect the rest without waiting.
            moEvents.setSize(moEvents.size() * 2);
            iReady = ::epoll_wait(miEpoll, moEvents.data(), int(moEvents.size()), 0);
        }
    }

    void wait(unsigned int iTimeout)
    {
        sync();
        int iWait = iTimeout > unsigned(INT_MAX) ? INT_MAX : int(iTimeout);
        if (moPolled.empty() && miEpoll >= 0) {
            // A busy loop finds something ready without arming a timeout in the
            // kernel; only a loop with nothing to do pays a second call, before it
            // sleeps anyway.
            int iReady = ::epoll_wait(miEpoll, moEvents.data(), int(moEvents.size()), 0);
            if (iReady == 0 && iWait != 0)
                iReady = ::epoll_wait(miEpoll, moEvents.data(), int(moEvents.size()), iWait);
            collect(iReady);
        } else {
            // Without an instance its entry is -1, which poll skips: a plain sleep
            // when nothing is polled either.
            moPollFds.truncate(0);
            cPolledEntry oEpoll(miEpoll);
            oEpoll.events = POLLIN;
            moPollFds.append(oEpoll);
            for (unsigned i = 0; i < moPolled.size(); ++i) {
                cPolledEntry oEntry(moPolled[i]->miFd);
                piUInt32 iWanted = 0;
                for (unsigned j = 0; j < moPolled[i]->moInterests.size(); ++j)
                    iWanted |= moPolled[i]->moInterests[j].miEvents;
                oEntry.events = short(iWanted);
                moPollFds.append(oEntry);
            }
            int iReady = ::poll(static_cast<pollfd*>(moPollFds.data()), moPollFds.size(), iWait);
            if (iReady > 0) {
                if (moPollFds[0].revents)
                    collect(::epoll_wait(miEpoll, moEvents.data(), int(moEvents.size()), 0));
                for (unsigned i = 1; i < moPollFds.size(); ++i)
                    if (moPollFds[i].revents)
                        mark(moPolled[i - 1], piUInt32(moPollFds[i].revents));
            }
        }
        if (mbRebuild)
            rebuild();
    }

    /// A new instance with every registration in it.
    void rebuild()
    {
        int iNew = ::epoll_create1(EPOLL_CLOEXEC);
        if (iNew < 0)
            return; // keep the old one and try again after the next stale event
        mbRebuild = false;
        if (miEpoll >= 0)
            ::close(miEpoll);
        miEpoll = iNew;
        miInKernel = 0;
        for (unsigned i = 0; i < moStates.size(); ++i) {
            cFdState* pState = moStates[i];
            if (!pState || !pState->mbInKernel)
                continue;
            pState->mbInKernel = false;
            enterKernel(pState, pState->miRegistered);
        }
    }

    int miEpoll; ///< owned
    piUInt32 miNextGeneration;
    tJobList* mpTracked;                  ///< the queue's list; not owned
    unsigned miInKernel;                  ///< states in the epoll instance
    bool mbRebuild;                       ///< a stale registration reported: make a new instance
    qstd::tArray<cFdState*> moStates;     ///< owned; by descriptor number
    qstd::tArray<cRegistration*> moAll;   ///< owned; every registration
    qstd::tArray<cRegistration*> moDirty; ///< to be read at the next wait
    qstd::tArray<cFdState*> moChanged;    ///< states the running sync touched
    qstd::tArray<cFdState*> moPolled;     ///< states epoll refused
    qstd::tArray<cEpollEntry> moEvents;   ///< epoll_wait's buffer
    qstd::tArray<cPolledEntry> moPollFds; ///< the epoll instance, then moPolled
};

static_assert(sizeof(cEpollEntry) == sizeof(epoll_event), "epoll_wait writes the entries");
static_assert(sizeof(cPolledEntry) == sizeof(pollfd), "poll reads the entries as pollfd");

cEpollProcessEvents::cEpollProcessEvents() : mpImpl(new cImpl) {}

cEpollProcessEvents::~cEpollProcessEvents()
{
    delete mpImpl;
}

bool cEpollProcessEvents::trackWorks(tJobList& oJobs)
{
    mpImpl->mpTracked = &oJobs;
    return true;
}

cAbstractProcessEvents::cWorkRegistration*
cEpollProcessEvents::watchWork(cWork& oWork, cWorkRegistration* pRegistration)
{
    cImpl::cRegistration* pOwn = static_cast<cImpl::cRegistration*>(pRegistration);
    if (!pOwn) {
        pOwn = new cImpl::cRegistration(&oWork);
        pOwn->miPos = mpImpl->moAll.append(pOwn);
    }
    mpImpl->markDirty(pOwn);
    return pOwn;
}

void cEpollProcessEvents::unwatchWork(cWorkRegistration* pRegistration)
{
    if (!pRegistration)
        return;
    mpImpl->release(static_cast<cImpl::cRegistration*>(pRegistration));
}

void cEpollProcessEvents::yield(unsigned int iLevel, tJobList& oJobs, unsigned int iTimeout)
{
    if (&oJobs != mpImpl->mpTracked) {
        cPosixProcessEvents::yield(iLevel, oJobs, iTimeout);
        return;
    }
    if (iTimeout == 0)
        return;
    mpImpl->wait(iTimeout);
    sigFinished(); // may destroy this object: nothing of it is touched afterwards
}

unsigned cEpollProcessEvents::registeredDescriptors() const
{
    return mpImpl->miInKernel;
}

unsigned cEpollProcessEvents::polledDescriptors() const
{
    return mpImpl->moPolled.size();
}

} // namespace qpi
