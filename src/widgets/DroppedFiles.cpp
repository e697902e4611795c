#include "widgets/DroppedFiles.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace widgets {

std::optional<QStringList> droppedFiles(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return std::nullopt;
    QStringList paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            return std::nullopt;
        paths.append(url.toLocalFile());
    }
    if (paths.isEmpty())
        return std::nullopt;
    return paths;
}

DropCatcher::DropCatcher()
{
    // Watching the application sees a drag as the platform hands it to a window, before any
    // widget in it (a dialog's own, or one a modal dialog blocks) could take or refuse it.
    qApp->installEventFilter(this);
}

DropCatcher::~DropCatcher()
{
    qApp->removeEventFilter(this);
}

bool DropCatcher::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    auto* drag = static_cast<QDropEvent*>(event);
    const std::optional<QStringList> paths = droppedFiles(drag->mimeData());
    if (!paths)
        return QObject::eventFilter(watched, event);
    // Taken here, the drag goes no further (a window would hand it on to a widget in it),
    // so each drop is caught once.
    if (type == QEvent::Drop)
        m_drops.push_back(*paths);
    drag->acceptProposedAction();
    return true;
}

} // namespace widgets
