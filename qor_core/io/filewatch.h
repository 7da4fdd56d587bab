// filewatch.h - qio::cFileWatch, a signal when a file changes, polled from the loop.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_IO_FILEWATCH_H
#define QOR_CORE_IO_FILEWATCH_H

#include "qor_core/io/file.h"
#include "qor_core/pi/work.h"
#include "qor_core/rmi/connectable.h"

namespace qio {

/// Watches one file of the system's default file system: between start() and stop()
/// a periodic work on the system queue polls the file, and sigFileChanged is emitted
/// when its modification time or size differs from what was seen last. The file is
/// looked up by its name on every poll, so a file replaced by a rename (as editors
/// save) is noticed too; a poll that finds no file changes nothing. Main thread only.
class QOR_EXPORT cFileWatch : public qrmi::cConnectable
{
public:
    /// Opens the file (the open failure when it is missing) and records its state.
    explicit cFileWatch(const qucs::cString& sPath);
    ~cFileWatch() override;

    void start(unsigned iIntervalMSec);
    void stop();
    bool isStarted() const { return moWork.isStarted(); }
    /// Compares the file's state with the recorded one; emits on a difference.
    piVoid poll();
    const qio::cFile& file() const { return moFile; }

    /// Emitted after a change was seen; emitting without connections does nothing.
    qrmi::localSignal0<piVoid> sigFileChanged;

private:
    /// Reads the state; false when the file cannot be reached now.
    bool readState(qstd::cDateTime& oTime, unsigned long long& iSize) const;

    qucs::cString msPath;
    cFile moFile;               ///< open for reading while the watch exists
    qstd::cDateTime moLastTime; ///< UTC
    unsigned long long miLastSize;
    qpi::cWork moWork; ///< on the system queue; destroyed first
};

} // namespace qio

#endif // QOR_CORE_IO_FILEWATCH_H
