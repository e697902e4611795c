#include "platform/PathCharacters.h"

#include <QRegularExpression>

namespace platform {

const bool kPathsKeepEveryCharacter = true;

QString pathTextFor(char32_t c)
{
    return QStringLiteral("<U+%1>").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
}

QString restorePathCharacters(const QString& path)
{
    if (!path.contains(QLatin1String("<U+")))
        return path;
    static const QRegularExpression standIn(QStringLiteral("<U\\+([0-9A-F]{4,6})>"));
    QString result;
    qsizetype from = 0;
    for (QRegularExpressionMatchIterator it = standIn.globalMatch(path); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const char32_t c = match.captured(1).toUInt(nullptr, 16);
        if (c > 0x10FFFF)
            continue;
        result += QStringView(path).mid(from, match.capturedStart() - from);
        result += QString::fromUcs4(&c, 1);
        from = match.capturedEnd();
    }
    result += QStringView(path).mid(from);
    return result;
}

} // namespace platform
