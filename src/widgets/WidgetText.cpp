#include "widgets/WidgetText.h"

#include "platform/PathCharacters.h"
#include "codec/ShiftJis.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <optional>
#include <vector>

namespace widgets {

QString textWithLineBreaks(std::string_view bytes)
{
    QString text = sjis::toUnicode(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

std::string characterInMessage(char32_t character)
{
    return "\x1BU" + QString::number(quint32(character), 16).toUpper().toStdString() + "\x1B";
}

std::string codePointName(char32_t character)
{
    return QStringLiteral("U+%1").arg(quint32(character), 4, 16, QLatin1Char('0')).toUpper().toStdString();
}

QString messageText(std::string_view bytes)
{
    QString text = sjis::toUnicode(bytes);
    if (!text.contains(QChar(0x1B)))
        return text;
    static const QRegularExpression marked(QStringLiteral("\x1BU([0-9A-F]{1,6})\x1B"));
    QString shown;
    qsizetype from = 0;
    for (QRegularExpressionMatchIterator it = marked.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const char32_t c = match.captured(1).toUInt(nullptr, 16);
        shown += QStringView(text).mid(from, match.capturedStart() - from);
        shown += c <= 0x10FFFF ? QString::fromUcs4(&c, 1) : match.captured(0);
        from = match.capturedEnd();
    }
    shown += QStringView(text).mid(from);
    return shown;
}

namespace {

// A character that reads back as itself from its own bytes, wherever it stands: valid
// characters never join their neighbours, but a raw-byte code point may (a raw lead byte
// takes the next byte as its trail), so those are never taken.
bool keptExactly(QStringView character)
{
    if (character.size() == 1 && character.at(0).unicode() >= sjis::kRawByteBase
        && character.at(0).unicode() <= sjis::kRawByteBase + 0xFF)
        return false;
    const sjis::EncodeResult encoded = sjis::fromUnicode(character);
    return encoded.ok() && sjis::toUnicode(encoded.bytes) == character;
}

} // namespace

bool pathRepresentable(const QString& path)
{
    return pathFromBytes(pathBytes(path)) == QDir::toNativeSeparators(path);
}

std::string pathBytes(const QString& path)
{
    const QString native = QDir::toNativeSeparators(path);
    std::string bytes;
    if (platform::kPathsKeepEveryCharacter) {
        // Every character that would not read back as itself gets its stand-in, so the
        // bytes name exactly this file.
        for (qsizetype i = 0; i < native.size();) {
            const qsizetype width = native.at(i).isHighSurrogate() && i + 1 < native.size()
                                            && native.at(i + 1).isLowSurrogate() ? 2 : 1;
            const QStringView character = QStringView(native).mid(i, width);
            if (keptExactly(character))
                bytes += sjis::fromUnicode(character).bytes;
            else
                bytes += sjis::fromUnicode(platform::pathTextFor(character.toUcs4().value(0))).bytes;
            i += width;
        }
        return bytes;
    }
    QStringView rest(native);
    while (true) {
        sjis::EncodeResult encoded = sjis::fromUnicode(rest);
        bytes += encoded.bytes;
        if (encoded.ok())
            return bytes;
        bytes += sjis::fromUnicode(platform::pathTextFor(encoded.badChar)).bytes;
        const qsizetype width = encoded.badChar > 0xFFFF ? 2 : 1;
        rest = rest.mid(encoded.badIndex + width);
    }
}

namespace {

// The last paths the user chose, newest last: few enough to search on every conversion,
// enough that a run's files are not forgotten.
constexpr std::size_t kChosenPaths = 256;

std::vector<QString>& chosenPaths()
{
    static std::vector<QString> paths;
    return paths;
}

// The entry of `folder` whose name has the bytes `name`, when exactly one has them.
std::optional<QString> entryWithBytes(const QString& folder, const QString& name)
{
    const std::string wanted = sjis::fromUnicode(name).bytes;
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    std::optional<QString> found;
    for (const QString& entry : entries) {
        const sjis::EncodeResult encoded = sjis::fromUnicode(entry);
        if (!encoded.ok() || encoded.bytes != wanted)
            continue;
        if (found)
            return std::nullopt;  // two names the bytes cannot tell apart
        found = entry;
    }
    return found;
}

// `path` with each part that names nothing replaced by the one existing name of the same
// bytes: the way back for a character Shift-JIS holds only as another one.
QString existingPathOfSameBytes(const QString& path)
{
    if (QFileInfo::exists(path))
        return path;
    const QChar separator = QDir::separator();
    const QStringList parts = path.split(separator);
    QString built = parts.front();
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString folder = built.isEmpty() ? QString(separator) : built;
        QString next = built + separator + parts[i];
        if (!parts[i].isEmpty() && !QFileInfo::exists(next)) {
            const std::optional<QString> entry = entryWithBytes(folder, parts[i]);
            if (!entry)
                return path;
            next = built + separator + *entry;
        }
        built = next;
    }
    return built;
}

} // namespace

void rememberChosenPath(const QString& path)
{
    // A path with a character Shift-JIS cannot hold at all stays unnamed by its bytes: they
    // hold '?' there and may name another file once this one is forgotten.
    const QString native = QDir::toNativeSeparators(path);
    if (!sjis::fromUnicode(native).ok())
        return;
    std::vector<QString>& paths = chosenPaths();
    std::erase(paths, native);
    if (paths.size() == kChosenPaths)
        paths.erase(paths.begin());
    paths.push_back(native);
}

QString pathFromBytes(std::string_view bytes)
{
    const std::vector<QString>& chosen = chosenPaths();
    for (auto it = chosen.rbegin(); it != chosen.rend(); ++it)
        if (pathBytes(*it) == bytes)
            return *it;
    const QString decoded = platform::restorePathCharacters(sjis::toUnicode(bytes));
    // Where paths keep every character, the decoded path is the one meant.
    if (platform::kPathsKeepEveryCharacter)
        return decoded;
    return existingPathOfSameBytes(decoded);
}

} // namespace widgets
