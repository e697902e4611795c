// Files dropped on the window from a file manager, or named on the command line: each is
// loaded as the load button loads a file, with the reader chosen by the file's extension,
// since neither has a filter. A set of files is taken whole or refused whole, before
// anything in the window changes.

#include "app/BankFile.h"
#include "app/MonFile.h"
#include "app/TForm1.h"
#include "app/WindowTexts.h"
#include "text/EditorError.h"
#include "text/Messages.h"
#include "widgets/Dispatch.h"
#include "widgets/DroppedFiles.h"
#include "widgets/Prompts.h"
#include "widgets/WidgetText.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileInfo>

#include <algorithm>
#include <optional>
#include <vector>

namespace app {

namespace {

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

// Why the system will not give the file at `path` to be read (missing, a folder or another
// entry that is no regular file, no permission), or nothing when it will.
std::optional<std::string> whyNotAFile(const QString& path)
{
    const QFileInfo entry(path);
    const std::string bytes = widgets::pathBytes(path);
    if (!entry.exists())
        return text::formatMessage(texts::kFileMissing, {bytes});
    if (entry.isDir())
        return text::formatMessage(texts::kFileIsFolder, {bytes});
    if (!entry.isFile())
        return text::formatMessage(texts::kFileNotRegular, {bytes});
    if (!entry.isReadable())
        return text::formatMessage(texts::kFileNotPermitted, {bytes});
    return std::nullopt;
}

// Why the file at `path` cannot be read as a bank or a mon file, or nothing when it can.
std::optional<std::string> whyUnreadable(const QString& path, bool bank)
{
    const std::string bytes = widgets::pathBytes(path);
    if (!widgets::pathRepresentable(path))
        return text::formatMessage(texts::kUnholdableFileName, {bytes});
    if (std::optional<std::string> why = whyNotAFile(path))
        return why;
    if (bank)
        return BankFile::open(path) ? std::nullopt : std::optional(text::formatMessage(texts::kCannotOpen, {bytes}));
    try {
        if (!readMonFile(bytes))
            return text::formatMessage(texts::kCannotOpen, {bytes});
    } catch (const text::EditorError& tooLarge) {
        return tooLarge.message();
    }
    return std::nullopt;
}

} // namespace

void TForm1::dragEnterEvent(QDragEnterEvent* event)
{
    if (widgets::droppedFiles(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TForm1::dragMoveEvent(QDragMoveEvent* event)
{
    if (widgets::droppedFiles(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TForm1::dropEvent(QDropEvent* event)
{
    const std::optional<QStringList> paths = widgets::droppedFiles(event->mimeData());
    if (!paths) {
        event->ignore();
        return;
    }
    // Judged before the drop returns, so that the program the files came from hears whether
    // they were taken; loading, and any box that says why not, wait until it has returned
    // (the file manager waits meanwhile, and a box shown now would hold it).
    std::optional<FileRefusal> refusal;
    runUserAction([&] { refusal = refusalOfFiles(*paths, FileRoad::Drop); });
    if (refusal)
        event->ignore();
    else
        event->acceptProposedAction();
    QMetaObject::invokeMethod(
        this,
        [this, files = *paths, refusal] {
            runUserAction([&] {
                if (refusal)
                    refuseFiles(*refusal);
                else
                    FormFilesDropped(files);
            });
        },
        Qt::QueuedConnection);
}

void TForm1::openFilesLater(const QStringList& paths, FileRoad road)
{
    if (paths.isEmpty())
        return;
    // Relative names are the starting folder's: made whole now, as a drop gives them.
    QStringList files;
    for (const QString& path : paths)
        files.append(QFileInfo(path).absoluteFilePath());
    // Queued, so that the window is up before any box says why a file was refused.
    QMetaObject::invokeMethod(
        this,
        [this, files, road] {
            runUserAction([&] {
                if (const std::optional<FileRefusal> refusal = refusalOfFiles(files, road))
                    refuseFiles(*refusal);
                else
                    FormFilesDropped(files);
            });
        },
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
        if (widgets::droppedFiles(drag->mimeData())) {
            if (type == QEvent::Drop)
                dropEvent(drag);
            else
                drag->acceptProposedAction();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

std::optional<TForm1::FileRefusal> TForm1::refusalOfFiles(const QStringList& paths, FileRoad road)
{
    // These names are the user's own choice: their bytes name them exactly from now on.
    for (const QString& path : paths)
        widgets::rememberChosenPath(path);
    // Every file judged here is named in one box, so that a set is taken whole or not at all:
    // one that cannot be read stops none of the others half-way.
    const auto unreadable = [&paths](const auto& why) -> std::optional<FileRefusal> {
        std::string message;
        for (const QString& path : paths) {
            if (const std::optional<std::string> reason = why(path))
                message += (message.empty() ? "" : "\r\n") + *reason;
        }
        if (message.empty())
            return std::nullopt;
        return FileRefusal{message, FileRefusal::Box::Error};
    };
    const bool named = road == FileRoad::CommandLine;
    // A name typed by hand may name nothing or a folder: that is said before the kind of file
    // is asked for.
    if (named) {
        if (std::optional<FileRefusal> refusal = unreadable(whyNotAFile))
            return refusal;
    }
    std::vector<DroppedKind> kinds;
    for (const QString& path : paths) {
        kinds.push_back(kindOf(path));
        if (kinds.back() == DroppedKind::Other)
            return FileRefusal{text::formatMessage(named ? texts::kCannotName : texts::kCannotDrop, {widgets::pathBytes(path)}),
                               FileRefusal::Box::Information};
    }
    const bool hasBank = std::ranges::find(kinds, DroppedKind::Bank) != kinds.end();
    if (hasBank && paths.size() != 1)
        return FileRefusal{named ? texts::kOneBankOnlyNamed : texts::kOneBankOnly, FileRefusal::Box::Information};
    return unreadable([&](const QString& path) { return whyUnreadable(path, kindOf(path) == DroppedKind::Bank); });
}

void TForm1::refuseFiles(const FileRefusal& refusal)
{
    if (refusal.box == FileRefusal::Box::Error)
        throw text::EditorError(refusal.message);
    m_prompts->beep();
    m_prompts->messageBox(refusal.message, widgets::MessageKind::Information, widgets::MessageButtons::Ok);
}

void TForm1::FormFilesDropped(const QStringList& paths)
{
    const bool bank = paths.size() == 1 && kindOf(paths.front()) == DroppedKind::Bank;
    // One by one as the load button would take them, so the ninth mon file starts a
    // fresh genre table just as a ninth press of the button does.
    for (const QString& path : paths) {
        startLoading();
        loadFile(widgets::pathBytes(path), bank ? LoadedKind::Bank : LoadedKind::Mon);
    }
}

} // namespace app
