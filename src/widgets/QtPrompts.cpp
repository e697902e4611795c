#include "widgets/QtPrompts.h"

#include "platform/PathCharacters.h"
#include "widgets/ApplicationTitle.h"
#include "widgets/FileFilter.h"
#include "widgets/FontChooser.h"
#include "widgets/ShiftJis.h"
#include "widgets/WidgetText.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

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

// Shows the file dialog until the user cancels or picks a file whose path the editor can
// keep as Shift-JIS bytes: any path on Windows (platform/PathCharacters.h), elsewhere one
// that Shift-JIS can hold, since any other would name a different file.
std::optional<std::string> chooseFile(QFileDialog& dialog, QWidget* parent)
{
    while (dialog.exec() == QDialog::Accepted) {
        const QStringList files = dialog.selectedFiles();
        if (files.isEmpty())
            return std::nullopt;
        if (platform::kPathsKeepEveryCharacter || sjis::fromUnicode(files.front()).ok())
            return pathBytes(files.front());
        QMessageBox::warning(parent, title(MessageKind::Warning),
                             QStringLiteral("ファイル名にShift-JISで表せない文字があります。別の名前を選んでください。"));
    }
    return std::nullopt;
}

void setUpFilters(QFileDialog& dialog, std::string_view filter, int filterIndex, const std::string& fileName)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const QStringList filters = qtNameFilters(filter);
    dialog.setNameFilters(filters);
    if (filterIndex >= 1 && filterIndex <= filters.size())
        dialog.selectNameFilter(filters[filterIndex - 1]);
    if (!fileName.empty())
        dialog.selectFile(pathFromBytes(fileName));
}

int chosenFilterIndex(const QFileDialog& dialog, int previous)
{
    const qsizetype index = dialog.nameFilters().indexOf(dialog.selectedNameFilter());
    return index >= 0 ? int(index) + 1 : previous;
}

} // namespace

bool QtPrompts::execOpen(OpenDialog& dialog)
{
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
    QFileDialog files(m_parent);
    files.setAcceptMode(QFileDialog::AcceptSave);
    files.setFileMode(QFileDialog::AnyFile);
    files.setOption(QFileDialog::DontConfirmOverwrite, !dialog.overwritePrompt);
    setUpFilters(files, dialog.filter, dialog.filterIndex, dialog.fileName);
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
    QMessageBox box(icon(kind), title(kind), sjis::toUnicode(text), QMessageBox::NoButton, m_parent);
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
    QMessageBox box(QMessageBox::Critical, fromUtf8View(kApplicationTitle), sjis::toUnicode(message),
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

} // namespace widgets
