#include "widgets/QtPrompts.h"

#include "platform/FileDialogs.h"
#include "platform/PathCharacters.h"
#include "widgets/ApplicationTitle.h"
#include "widgets/FileFilter.h"
#include "widgets/FontChooser.h"
#include "codec/ShiftJis.h"
#include "widgets/WidgetText.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>

#include <memory>
#include <optional>

namespace widgets {
namespace {

QString fromUtf8View(std::u8string_view text)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(text.data()), qsizetype(text.size()));
}

QString title(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning: return QStringLiteral("警告");
    case MessageKind::Error: return QStringLiteral("ｴﾗｰ");
    case MessageKind::Information: return QStringLiteral("情報");
    case MessageKind::Confirmation: return QStringLiteral("確認");
    }
    return {};
}

QMessageBox::Icon icon(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning: return QMessageBox::Warning;
    case MessageKind::Error: return QMessageBox::Critical;
    case MessageKind::Information: return QMessageBox::Information;
    case MessageKind::Confirmation: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// Whether the editor can keep the chosen path as Shift-JIS bytes: any path on Windows
// (platform/PathCharacters.h), elsewhere one that Shift-JIS can hold, since any other would
// name a different file. A path kept is remembered as the one its bytes name.
bool keepChosenPath(const QString& path, QWidget* parent)
{
    if (platform::kPathsKeepEveryCharacter || sjis::fromUnicode(path).ok()) {
        rememberChosenPath(path);
        return true;
    }
    QMessageBox::warning(parent, title(MessageKind::Warning),
                         QStringLiteral("ファイル名にShift-JISで表せない文字があります。別の名前を選んでください。"));
    return false;
}

// Shows the file dialog until the user cancels or picks a file whose path can be kept.
std::optional<std::string> chooseFile(QFileDialog& dialog, QWidget* parent)
{
    while (dialog.exec() == QDialog::Accepted) {
        const QStringList files = dialog.selectedFiles();
        if (files.isEmpty())
            return std::nullopt;
        if (keepChosenPath(files.front(), parent))
            return pathBytes(files.front());
    }
    return std::nullopt;
}

// The system's own dialog where the platform shows one itself (platform/FileDialogs.h), with
// what the Qt dialog is given: the filters, the filter selected, and the folder and name of
// `fileName`. Shown again while the path chosen cannot be kept.
std::optional<platform::FileDialogAnswer> chooseFileOfTheSystem(platform::FileDialogRequest request,
                                                                std::string_view filter, int filterIndex,
                                                                const std::string& fileName, QWidget* parent)
{
    const QStringList parts = sjis::toUnicode(filter).split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        request.filterNames.append(parts[i]);
        request.filterPatterns.append(parts[i + 1]);
    }
    request.filterIndex = filterIndex;
    if (!fileName.empty()) {
        const QFileInfo proposed(pathFromBytes(fileName));
        request.folder = proposed.absolutePath();
        request.fileName = proposed.fileName();
    }
    const quintptr owner = parent ? quintptr(parent->window()->winId()) : 0;
    while (const std::optional<platform::FileDialogAnswer> answer = platform::showFileDialog(request, owner)) {
        if (keepChosenPath(answer->path, parent))
            return answer;
    }
    return std::nullopt;
}

// Whether Qt shows the desktop's own dialog (through the platform theme) for `dialog`: Qt then
// makes none of its own dialog's widgets.
bool isDesktopDialog(const QFileDialog& dialog)
{
    return dialog.layout() == nullptr;
}

// The title Qt's own dialog gives itself ("開く", "名前を付けて保存" with Qt's Japanese texts),
// also given to the desktop's dialog, which otherwise stays untitled.
void setTitle(QFileDialog& dialog)
{
    dialog.setWindowTitle(dialog.acceptMode() == QFileDialog::AcceptOpen ? QFileDialog::tr("Open")
                                                                         : QFileDialog::tr("Save As"));
}

void setUpFilters(QFileDialog& dialog, std::string_view filter, int filterIndex, const std::string& fileName)
{
    setTitle(dialog);
    const QStringList filters =
        qtNameFilters(filter, isDesktopDialog(dialog) ? PatternCase::AnyCase : PatternCase::AsWritten);
    dialog.setNameFilters(filters);
    if (filterIndex >= 1 && filterIndex <= filters.size())
        dialog.selectNameFilter(filters[filterIndex - 1]);
    if (!fileName.empty())
        dialog.selectFile(pathFromBytes(fileName));
}

// The extension of a filter's first pattern: "TXT" for "一般テキスト形式 (*.TXT)".
QString firstPatternSuffix(const QString& filter)
{
    static const QRegularExpression patterns(QStringLiteral("\\(([^)]*)\\)"));
    const QRegularExpressionMatch match = patterns.match(filter);
    const QString patternList = match.hasMatch() ? match.captured(1) : filter;
    return QFileInfo(patternList.split(QLatin1Char(' '), Qt::SkipEmptyParts).value(0)).suffix();
}

// Qt's widget file dialog (where the desktop offers no dialog of its own; a desktop's dialog
// keeps the name) gives the name in the file-name field the new filter's extension
// when the user switches filters ("name.mon" becomes "name.TXT"). The chosen filter changes
// neither the content nor the name, so the name is put back as it stood. The dialog renames
// just before it reports the switch: the field's last change is compared with that rename.
void keepNameOnFilterSwitch(QFileDialog& dialog)
{
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!name)
        return;
    auto texts = std::make_shared<std::pair<QString, QString>>(name->text(), name->text()); // before, now
    QObject::connect(name, &QLineEdit::textChanged, &dialog, [texts](const QString& text) {
        texts->first = texts->second;
        texts->second = text;
    });
    QObject::connect(&dialog, &QFileDialog::filterSelected, name, [name, texts](const QString& filter) {
        const QString& before = texts->first;
        const QString suffix = QFileInfo(before).suffix();
        const QString newSuffix = firstPatternSuffix(filter);
        if (suffix.isEmpty() || newSuffix.isEmpty() || before == name->text())
            return;
        QString renamed = before;
        renamed.replace(before.size() - suffix.size(), suffix.size(), newSuffix);
        if (renamed == name->text())
            name->setText(before);
    });
}

int chosenFilterIndex(const QFileDialog& dialog, int previous)
{
    const qsizetype index = dialog.nameFilters().indexOf(dialog.selectedNameFilter());
    return index >= 0 ? int(index) + 1 : previous;
}

// The system's own dialog for `dialog` (an OpenDialog or a SaveDialog), shown directly.
template <typename Dialog>
bool runSystemDialog(Dialog& dialog, const platform::FileDialogRequest& request, QWidget* parent)
{
    const auto chosen = chooseFileOfTheSystem(request, dialog.filter, dialog.filterIndex, dialog.fileName, parent);
    if (!chosen)
        return false;
    dialog.fileName = pathBytes(chosen->path);
    dialog.filterIndex = chosen->filterIndex;
    return true;
}

} // namespace

bool QtPrompts::execOpen(OpenDialog& dialog)
{
    if (platform::kOwnFileDialogs) {
        platform::FileDialogRequest request;
        request.mode = platform::FileDialogRequest::Mode::Open;
        request.multiSelect = dialog.allowMultiSelect;
        return runSystemDialog(dialog, request, m_parent);
    }
    QFileDialog files(m_parent);
    files.setAcceptMode(QFileDialog::AcceptOpen);
    files.setFileMode(dialog.allowMultiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    setUpFilters(files, dialog.filter, dialog.filterIndex, dialog.fileName);
    const std::optional<std::string> chosen = chooseFile(files, m_parent);
    if (!chosen)
        return false;
    dialog.fileName = *chosen;
    dialog.filterIndex = chosenFilterIndex(files, dialog.filterIndex);
    return true;
}

bool QtPrompts::execSave(SaveDialog& dialog)
{
    if (platform::kOwnFileDialogs) {
        platform::FileDialogRequest request;
        request.mode = platform::FileDialogRequest::Mode::Save;
        request.confirmOverwrite = dialog.overwritePrompt;
        return runSystemDialog(dialog, request, m_parent);
    }
    QFileDialog files(m_parent);
    files.setAcceptMode(QFileDialog::AcceptSave);
    files.setFileMode(QFileDialog::AnyFile);
    files.setOption(QFileDialog::DontConfirmOverwrite, !dialog.overwritePrompt);
    setUpFilters(files, dialog.filter, dialog.filterIndex, dialog.fileName);
    keepNameOnFilterSwitch(files);
    const std::optional<std::string> chosen = chooseFile(files, m_parent);
    if (!chosen)
        return false;
    dialog.fileName = *chosen;
    dialog.filterIndex = chosenFilterIndex(files, dialog.filterIndex);
    return true;
}

bool QtPrompts::execPrint(PrintDialog&, QPrinter& printer)
{
    QPrintDialog dialog(&printer, m_parent);
    // No page range, no selection-only and no print to file.
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize | QAbstractPrintDialog::PrintCollateCopies);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrompts::execFont(FontDialog& dialog)
{
    FontChooser chooser(dialog.font, dialog.color, m_parent);
    if (chooser.exec() != QDialog::Accepted)
        return false;
    dialog.chosen = chooser.chosen();
    return true;
}

MessageAnswer QtPrompts::messageBox(std::string_view text, MessageKind kind, MessageButtons buttons)
{
    QMessageBox box(icon(kind), title(kind), messageText(text), QMessageBox::NoButton, m_parent);
    box.setTextFormat(Qt::PlainText);
    if (buttons == MessageButtons::Ok) {
        QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
        box.exec();
        return MessageAnswer::Ok;
    }
    QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes ? MessageAnswer::Yes : MessageAnswer::No;
}

void QtPrompts::errorBox(std::string_view message)
{
    QMessageBox box(QMessageBox::Critical, fromUtf8View(kApplicationTitle), messageText(message),
                    QMessageBox::NoButton, m_parent);
    box.setTextFormat(Qt::PlainText);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
}

void QtPrompts::beep()
{
    QApplication::beep();
}

namespace {

class DialogProgress final : public Progress {
public:
    DialogProgress(const QString& text, QWidget* parent)
        : m_dialog(text, QStringLiteral("中止"), 0, 1, parent)
    {
        m_dialog.setWindowTitle(fromUtf8View(kApplicationTitle));
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(500);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
        m_dialog.setValue(0);
    }

    bool advance(int done, int total) override
    {
        if (m_dialog.maximum() != total)
            m_dialog.setMaximum(total);
        // A window-modal dialog handles the pending events here: the window keeps painting
        // and the stop button is heard.
        m_dialog.setValue(done);
        return !m_dialog.wasCanceled();
    }

private:
    QProgressDialog m_dialog;
};

} // namespace

std::unique_ptr<Progress> QtPrompts::progress(std::string_view text)
{
    return std::make_unique<DialogProgress>(sjis::toUnicode(text), m_parent);
}

} // namespace widgets
