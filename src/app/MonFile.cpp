#include "app/MonFile.h"

#include "app/WindowTexts.h"
#include "formats/MonLimits.h"
#include "text/EditorError.h"
#include "text/Messages.h"
#include "widgets/WidgetText.h"

#include <QFile>
#include <QFileInfo>

namespace app {

namespace {

[[noreturn]] void refuse(const std::string& message, const std::string& path, std::size_t limit)
{
    throw text::EditorError(text::formatMessage(message, {path, std::to_string(limit)}));
}

} // namespace

std::optional<std::string> readMonFile(const std::string& path)
{
    const QString name = widgets::pathFromBytes(path);
    if (!QFileInfo(name).isFile())
        return std::nullopt;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Judged by its size before a byte is read, so a huge file costs nothing.
    if (file.size() > qint64(formats::kMaxMonFileBytes))
        refuse(texts::kMonFileTooLarge, path, formats::kMaxMonFileBytes);
    // One byte more than allowed tells a file that grew since.
    const QByteArray bytes = file.read(qint64(formats::kMaxMonFileBytes) + 1);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    std::string text(bytes.constData(), std::size_t(bytes.size()));
    switch (formats::checkMonText(text)) {
    case formats::MonFit::TooLarge:
        refuse(texts::kMonFileTooLarge, path, formats::kMaxMonFileBytes);
    case formats::MonFit::LineTooLong:
        refuse(texts::kMonLineTooLong, path, formats::kMaxMonQuestionBytes);
    case formats::MonFit::TooManyLines:
        throw text::EditorError(text::formatMessage(
            texts::kMonTooManyLines, {path, std::to_string(formats::kMaxMonLines), std::to_string(formats::kMaxQuestionLines)}));
    case formats::MonFit::Fits:
        break;
    }
    return text;
}

void throwCannotOpen(const std::string& path)
{
    throw text::EditorError(text::formatMessage(texts::kCannotOpen, {path}));
}

} // namespace app
