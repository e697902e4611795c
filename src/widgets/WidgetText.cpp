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

std::string pathBytes(const QString& path)
{
    std::string bytes;
    const QString native = QDir::toNativeSeparators(path);
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
