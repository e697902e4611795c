// Files dropped on the window from a file manager: each is loaded as the load button loads
// a file, with the reader chosen by the file's extension, since a drop has no filter.

#include "app/TForm1.h"
#include "app/WindowTexts.h"
#include "text/Messages.h"
#include "widgets/Dispatch.h"
#include "widgets/Prompts.h"
#include "widgets/WidgetText.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include <algorithm>
#include <optional>
#include <vector>

namespace app {

namespace {

// The local paths of a drag, or nothing when it carries anything else (text, a web link):
// only files are offered to the window.
std::optional<QStringList> localFiles(const QMimeData* data)
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

enum class DroppedKind { Bank, Mon, Other };

DroppedKind kindOf(const QString& path)
{
    const QString extension = QFileInfo(path).suffix();
    if (extension.compare(QLatin1String("5TQ"), Qt::CaseInsensitive) == 0)
        return DroppedKind::Bank;
    if (extension.compare(QLatin1String("mon"), Qt::CaseInsensitive) == 0)
        return DroppedKind::Mon;
    return DroppedKind::Other;
}

} // namespace

void TForm1::dragEnterEvent(QDragEnterEvent* event)
{
    if (localFiles(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TForm1::dragMoveEvent(QDragMoveEvent* event)
{
    if (localFiles(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TForm1::dropEvent(QDropEvent* event)
{
    const std::optional<QStringList> paths = localFiles(event->mimeData());
    if (!paths) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // Loaded once the drop has returned: the file manager that started the drag waits
    // until then, and a box shown meanwhile would hold it.
    QMetaObject::invokeMethod(
        this, [this, files = *paths] { runUserAction([&] { FormFilesDropped(files); }); },
        Qt::QueuedConnection);
}

void TForm1::takeFileDropsFromControls()
{
    // A drag reaches the deepest control under the mouse that takes drops (the fields and
    // the memo pad take text, and a file drag carries its paths as text); only a drag of
    // files is taken from them, so text dragged between fields moves as before.
    for (QWidget* control : findChildren<QWidget*>())
        control->installEventFilter(this);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop) {
        auto* drag = static_cast<QDropEvent*>(event);
        if (localFiles(drag->mimeData())) {
            if (type == QEvent::Drop)
                dropEvent(drag);
            else
                drag->acceptProposedAction();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::FormFilesDropped(const QStringList& paths)
{
    // The whole drop is checked before any file is read, so a refused drop changes nothing.
    std::vector<DroppedKind> kinds;
    for (const QString& path : paths) {
        kinds.push_back(kindOf(path));
        if (kinds.back() == DroppedKind::Other) {
            m_prompts->beep();
            m_prompts->messageBox(text::formatMessage(texts::kCannotDrop, {widgets::pathBytes(path)}),
                                  widgets::MessageKind::Information, widgets::MessageButtons::Ok);
            return;
        }
    }
    const bool hasBank = std::ranges::find(kinds, DroppedKind::Bank) != kinds.end();
    if (hasBank && paths.size() != 1) {
        m_prompts->beep();
        m_prompts->messageBox(texts::kOneBankOnly, widgets::MessageKind::Information, widgets::MessageButtons::Ok);
        return;
    }
    // One by one as the load button would take them, so the ninth mon file starts a
    // fresh genre table just as a ninth press of the button does.
    for (const QString& path : paths) {
        startLoading();
        loadFile(widgets::pathBytes(path), hasBank ? LoadedKind::Bank : LoadedKind::Mon);
    }
}

} // namespace app
