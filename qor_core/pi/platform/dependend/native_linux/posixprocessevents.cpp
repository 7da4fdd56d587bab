// posixprocessevents.cpp - qpi::cPosixProcessEvents on top of poll and select.
// SPDX-License-Identifier: MIT
#include "qor_core/pi/platform/dependend/native_linux/posixprocessevents.h"
#include "qor_core/pi/work.h"
#include "qor_core/std/array.h"

#include <climits>
#include <poll.h>
#include <sys/select.h>

static_assert((POLLIN | POLLPRI | POLLRDNORM | POLLRDBAND) == qpi::tFdInfo::ReadableEvents,
              "readable events are Linux's");
static_assert((POLLOUT | POLLWRNORM | POLLWRBAND) == qpi::tFdInfo::WritableEvents,
              "writable events are Linux's");
static_assert((POLLERR | POLLHUP) == qpi::tFdInfo::ErrorEvents, "error events are Linux's");

namespace qpi {

/// A pollfd that tArray can hold: tArray writes a terminator as T(0), which a plain
/// pollfd cannot be built from. Same layout, so the array goes to poll as it is.
struct cPollEntry : public pollfd
{
    cPollEntry(int iFd = -1)
    {
        fd = iFd;
        events = 0;
        revents = 0;
    }
};
static_assert(sizeof(cPollEntry) == sizeof(pollfd), "poll reads the entries as pollfd");

/// The pollfd array of one wait and, at the same positions, the data to mark. Both
/// are rebuilt on every wait; only their storage is kept, so that a wait allocates
/// nothing once the sets stop growing. Data pointers need no watch: no foreign code
/// runs between building the arrays and marking.
class cPosixProcessEvents::cPollSet
{
public:
    cPollSet()
    {
        moFds.setFitOnErase(false);
        moData.setFitOnErase(false);
    }
    qstd::tArray<cPollEntry> moFds;
    qstd::tArray<cAbstractAIOData*> moData;
};

cPosixProcessEvents::cPosixProcessEvents() : mpPollSet(new cPollSet) {}

cPosixProcessEvents::~cPosixProcessEvents()
{
    delete mpPollSet;
}

void cPosixProcessEvents::yield(unsigned int, tJobList& oJobs, unsigned int iTimeout)
{
    if (iTimeout == 0)
        return;
    qstd::tArray<cPollEntry>& oFds = mpPollSet->moFds;
    qstd::tArray<cAbstractAIOData*>& oData = mpPollSet->moData;
    oFds.truncate(0);
    oData.truncate(0);
    for (tJobList::iterator it = oJobs.begin(); it != oJobs.end(); ++it) {
        cWork* pWork = it->get();
        if (it.isMarkedForErase() || !pWork || !pWork->isStarted() ||
            pWork->type() != cWork::AsyncIO)
            continue;
        cAbstractAIOData& oAIO = pWork->aioData();
        const qstd::tVector<tFdInfo>& oInfos = oAIO.fdAIOData().fds();
        for (unsigned i = 0; i < oInfos.count(); ++i) {
            cPollEntry oEntry(oInfos[i].miFd);
            oEntry.events = short(oInfos[i].pollEvents());
            oFds.append(oEntry);
            oData.append(&oAIO);
        }
    }

    if (!oFds.empty()) {
        int iWait = iTimeout > unsigned(INT_MAX) ? INT_MAX : int(iTimeout);
        int iReady = ::poll(static_cast<pollfd*>(oFds.data()), oFds.length(), iWait);
        for (unsigned i = 0; iReady > 0 && i < oFds.length(); ++i) {
            if (oFds[i].revents == 0)
                continue;
            oFds[i].revents = 0;
            oData[i]->setEvent(true);
            --iReady;
        }
    } else {
        struct timeval oWait;
        oWait.tv_sec = iTimeout / 1000;
        oWait.tv_usec = (iTimeout % 1000) * 1000;
        ::select(0, nullptr, nullptr, nullptr, &oWait);
    }
    sigFinished(); // may destroy this object: nothing of it is touched afterwards
}

} // namespace qpi
