#include "widgets/WidgetText.h"

#include "platform/PathCharacters.h"
#include "widgets/ShiftJis.h"

#include <QDir>

namespace widgets {

QString textWithLineBreaks(std::string_view bytes)
{
    QString text = sjis::toUnicode(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
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

QString pathFromBytes(std::string_view bytes)
{
    return platform::restorePathCharacters(sjis::toUnicode(bytes));
}

} // namespace widgets
