#pragma once

// Files dragged from a file manager: the local paths a drag carries, and a catcher that takes
// every drop of files meant for the application while it lives (while a question holds the
// window, say), so that they can be read once the question is answered.

#include <QObject>
#include <QStringList>

#include <optional>
#include <vector>

class QMimeData;

namespace widgets {

// The local paths of a drag, or nothing when it carries anything else (text, a web link).
std::optional<QStringList> droppedFiles(const QMimeData* data);

class DropCatcher final : public QObject {
public:
    DropCatcher();
    ~DropCatcher() override;
    DropCatcher(const DropCatcher&) = delete;
    DropCatcher& operator=(const DropCatcher&) = delete;

    // Each drop taken, in the order it came, as the set of files it carried.
    const std::vector<QStringList>& drops() const { return m_drops; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<QStringList> m_drops;
};

} // namespace widgets
