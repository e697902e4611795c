#include "widgets/FileFilter.h"

#include "codec/ShiftJis.h"

namespace widgets {
namespace {

QString anyCase(const QString& pattern)
{
    QString sets;
    for (const QChar c : pattern) {
        const QChar lower = c.toLower();
        const QChar upper = c.toUpper();
        if (lower == upper)
            sets += c;
        else
            sets += QLatin1Char('[') + lower + upper + QLatin1Char(']');
    }
    return sets;
}

} // namespace

QStringList qtNameFilters(std::string_view filter, PatternCase patternCase)
{
    const QStringList parts = sjis::toUnicode(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        if (patternCase == PatternCase::AnyCase)
            for (QString& pattern : patterns)
                pattern = anyCase(pattern);
        filters.append(parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
    }
    return filters;
}

} // namespace widgets
