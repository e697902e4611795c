#pragma once

// Writes a window's work into its folder on a thread of its own, so that no action waits for
// the disk: each block once, as "block-<id>", then the state file "state", each replaced
// whole (platform::saveFile: a complete, flushed file renamed over the old one), then the
// blocks no state names any more are removed. A kill at any moment leaves the last state
// written or the one before it, with every block it names.
//
// Only the newest picture waits: one handed over while another is written replaces any not
// yet begun. A write that fails (a full disk, a folder gone) is tried again every two
// seconds until it succeeds or a newer picture comes.

#include "app/recovery/WorkPicture.h"

#include <QString>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

namespace app::recovery {

class RecoveryWriter final {
public:
    // `told` hears, on the writer's thread, whether a write failed (true) or succeeded
    // (false), each time that changes.
    RecoveryWriter(QString folder, std::set<std::uint32_t> written, std::function<void(bool failed)> told);
    // Ends the write under way; a picture still waiting is dropped.
    ~RecoveryWriter();
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    void write(WorkPicture picture);
    // Waits until every picture handed over is written or has failed once; true when the
    // last one is on disk.
    bool settle();

    static QString blockName(std::uint32_t id);
    static QString stateName();

private:
    void run();
    bool writeOnce(const WorkPicture& picture);

    const QString m_folder;
    std::set<std::uint32_t> m_written;  // blocks on disk (the writer's thread alone)
    std::function<void(bool)> m_told;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::optional<WorkPicture> m_pending;
    bool m_busy = false;
    bool m_stop = false;
    bool m_failed = false;
    std::thread m_thread;
};

} // namespace app::recovery
