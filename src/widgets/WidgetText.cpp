#include "widgets/WidgetText.h"

#include "widgets/ShiftJis.h"

namespace widgets {

QString textWithLineBreaks(std::string_view bytes)
{
    QString text = sjis::toUnicode(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

bool pathRepresentable(const QString& path)
{
    const sjis::EncodeResult encoded = sjis::fromUnicode(path);
    return encoded.ok() && sjis::toUnicode(encoded.bytes) == path;
}

std::string pathBytes(const QString& path)
{
    std::string bytes;
    QStringView rest(path);
    while (true) {
        sjis::EncodeResult encoded = sjis::fromUnicode(rest);
        bytes += encoded.bytes;
        if (encoded.ok())
            return bytes;
        bytes += '?';
        const qsizetype width = encoded.badChar > 0xFFFF ? 2 : 1;
        rest = rest.mid(encoded.badIndex + width);
    }
}

} // namespace widgets
