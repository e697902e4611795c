#include "widgets/FileFilter.h"

#include "codec/ShiftJis.h"

namespace widgets {

QStringList qtNameFilters(std::string_view filter)
{
    const QStringList parts = sjis::toUnicode(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        filters.append(parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
    }
    return filters;
}

} // namespace widgets
