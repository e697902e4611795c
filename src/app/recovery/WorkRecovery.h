#pragma once

// Keeps a window's work in the per-user state folder while the window runs, so that a kill,
// a crash or a power cut loses at most the last second of it, and offers a work so left
// behind at the next start.
//
// Each window keeps its work in a folder of its own, "work-…", locked while the window runs
// (a lock the system ends with the process), so that two windows keep two works and no
// window offers a work whose window still runs. A change is kept once it has settled for a
// quarter of a second: the window's thread takes a picture of it, the question table's rows
// in slices of a few milliseconds between other events (a change meanwhile starts the
// picture again), and RecoveryWriter writes it on its own thread.
//
// At the start, a work left behind is offered with one question each, newest first; the
// first one taken is restored into the window (whose work it then is), each one declined
// is kept as "aside-…" (the newest few of those are kept), each one that cannot be read is
// kept untouched as "damaged-…". A normal end removes the window's work.

#include "app/recovery/RecoveryWriter.h"
#include "platform/FileLock.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace widgets {
class SharedRows;
}

namespace app {
class TForm1;
}

namespace app::recovery {

class WorkRecovery final : public QObject {
public:
    // Keeps the work of `window` under `root` (by default the state folder) from its first change on.
    explicit WorkRecovery(TForm1& window, QString root = QString());
    // Keeps what is kept: the end of a window that did not end normally.
    ~WorkRecovery() override;

    // Asks about every work left behind by a window that no longer runs; gives the sets of
    // files dropped while it asked, each to be read as a drop once the questions are over.
    std::vector<QStringList> offerLeftovers();
    // The window ended normally: its work is removed.
    void finish();
    // Keeps the work as it is now and waits until it is on disk; true when it is.
    bool keepNow();
    // The two halves of it: the picture begun (its first slice), and the rest of the picture
    // taken and the wait for the writer (true when the work is on disk).
    void keepChanges();
    bool settle();
    // Whether a picture is being taken, and the longest slice of the window's thread for the
    // last one.
    bool taking() const { return m_taking.has_value(); }
    double longestSliceMs() const { return m_longestSliceMs; }

    QString root() const { return m_root; }

private:
    void changed();
    // One slice of the picture's rows: all of them without a bound; handed to the writer
    // once the last row is described.
    void takeSlice(bool bounded);
    bool startFolder();
    std::uint32_t idOf(const std::shared_ptr<const widgets::SharedRows>& rows);
    // Reads the work in `folder` and puts it into the window; false (after telling why and
    // setting it aside) when it cannot be read.
    bool restore(const QString& folder);
    void setAside(const QString& folder, const QString& prefix);
    void tellWriteFailed(bool failed);

    TForm1& m_window;
    QString m_root;
    QString m_folder;  // this window's work, once it has one
    std::unique_ptr<platform::FileLock> m_lock;
    std::unique_ptr<RecoveryWriter> m_writer;
    QTimer m_settle;
    QTimer m_nextSlice;
    std::optional<WorkPicture> m_taking;  // the picture being taken
    int m_nextRow = 0;
    double m_longestSliceMs = 0;
    struct KnownBlock {
        std::weak_ptr<const widgets::SharedRows> rows;
        std::uint32_t id;
    };
    std::map<const widgets::SharedRows*, KnownBlock> m_ids;
    std::uint32_t m_nextId = 1;
    bool m_toldWriteFailed = false;
    bool m_finished = false;
};

} // namespace app::recovery
