// modulemgr_p.h - cModuleMgrImpl, the hidden implementation of cModuleMgr.
// Private to the component system and its tests; not API.
#ifndef QOR_CORE_QCS_MODULEMGR_P_H
#define QOR_CORE_QCS_MODULEMGR_P_H

#include "qor_core/pi/work.h"
#include "qor_core/qcs/modulemgr.h"
#include "qor_core/std/vector.h"

namespace qpi {
class cWorkQueue;
}

namespace qcs {

/// The state of a module manager and its two works on the system's queue.
///
/// The component list is walked while foreign code runs (slots, the components'
/// virtual operations, destructors), and that code may register, remove or delete
/// components or destroy the manager. So entries are never unlinked while a walk
/// runs: they are marked (mbErase) and the outermost walk sweeps them. Every walk
/// registers a cRun on the stack; the destructor marks the runs, and a walk that
/// finds its run marked returns without touching the manager again.
class QOR_EXPORT cModuleMgrImpl : public qrmi::cConnectable
{
public:
    typedef cModuleMgr::tComponents tComponents;

    /// One running walk or pass, on the stack.
    struct cRun
    {
        cRun* mpOuter;
        bool mbManagerDestroyed;
    };

    /// Registers a run for its scope and tells whether the manager still exists.
    class QOR_EXPORT cRunGuard
    {
    public:
        explicit cRunGuard(cModuleMgrImpl& oImpl);
        ~cRunGuard();
        cRunGuard(const cRunGuard&) = delete;
        cRunGuard& operator=(const cRunGuard&) = delete;
        bool alive() const { return !moRun.mbManagerDestroyed; }
        cModuleMgrImpl& impl() const { return moImpl; }

    private:
        cModuleMgrImpl& moImpl;
        cRun moRun;
    };

    /// A walk of the component list: while it runs no entry is unlinked; the
    /// outermost walk sweeps the entries marked meanwhile when it ends.
    class QOR_EXPORT cWalk : public cRunGuard
    {
    public:
        explicit cWalk(cModuleMgrImpl& oImpl);
        ~cWalk();
    };

    cModuleMgrImpl(cModuleMgr& oManager, const qce::cCoreExtensionMgr& oExtensions);
    /// Takes both works off the queue, destroys the components without signals and
    /// then the class loaders.
    ~cModuleMgrImpl() override;

    /// The action of the management work: one pass, unless a pass is already
    /// running further up the stack, in which case the work is restarted.
    piVoid mngSltProcessComponentManagement();
    /// The action of the idle work.
    piVoid mngSigCompatIdle();
    /// One walk over the components: removals, and with bAnnounce announcements and
    /// the reactions to modified dependencies.
    void mngComponentIteration(bool bAnnounce);

    /// The entry registered with iId, or null.
    cManagedComponent* findEntry(piUInt32 iId) const;
    /// Appends an entry (taking it over) to the list and the index.
    void appendEntry(qstd::tAutoPtr<cManagedComponent> pEntry);
    /// Unlinks and destroys every entry marked for erasure, in list order.
    void sweepErased();
    /// Deletes the class loaders that are no longer used, in list order.
    void sweepClassLoaders();
    /// True when no walk of the component list is running.
    bool isQuiet() const { return miWalkers == 0; }

    cModuleMgr& moManager;
    qpi::cWorkQueue* mpWorkQueue;                   ///< not owned; the system's queue
    const qce::cCoreExtensionMgr* mpCoreExtensions; ///< not owned
    qpi::cWork moManagementWork;
    qpi::cWork moIdleWork;
    bool mbIdle;              ///< false while a management pass runs
    tComponents moComponents; ///< owns the entries; registration order
    qstd::tPtrList<qpi::cAbstractClassLoader> moClassLoaders; ///< owned
    piUInt32 miLastID;
    cAbstractQORApp* mpApp; ///< not owned; null until setApp

    /// The entries again, in the same order, which is that of ascending registered
    /// IDs (every new ID is above all IDs given before): look-ups by address search
    /// it by halves. Not owned.
    qstd::tVector<cManagedComponent*> moIndex;
    unsigned miWalkers;  ///< walks of moComponents running; nothing is unlinked meanwhile
    bool mbSweepPending; ///< some entry is marked for erasure
    bool mbClosing;      ///< the destructor runs
    cRun* mpRuns;        ///< innermost running walk or pass, on the stack
};

} // namespace qcs

#endif // QOR_CORE_QCS_MODULEMGR_P_H
