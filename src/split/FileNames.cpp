#include "split/FileNames.h"

#include "codec/ShiftJis.h"

#include <QString>
#include <QStringList>

namespace split {

namespace {

bool isRawByte(QChar c)
{
    return c.unicode() >= sjis::kRawByteBase && c.unicode() <= sjis::kRawByteBase + 0xFF;
}

bool isDeviceName(const QString& base)
{
    static const QStringList devices{QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                                     QStringLiteral("NUL"), QStringLiteral("CONIN$"), QStringLiteral("CONOUT$")};
    const QString name = base.trimmed().toUpper();
    if (devices.contains(name))
        return true;
    // COM0 to COM9 and LPT0 to LPT9, and the superscript digits Windows takes as well.
    return name.size() == 4 && (name.startsWith(QLatin1String("COM")) || name.startsWith(QLatin1String("LPT")))
           && ((name[3] >= QLatin1Char('0') && name[3] <= QLatin1Char('9'))
               || QStringView(u"\u00B9\u00B2\u00B3").contains(name[3]));
}

} // namespace

std::string fileStem(std::string_view genreName, int genreNumber)
{
    QString stem = sjis::toUnicode(genreName);
    for (QChar& c : stem) {
        if (isRawByte(c) || c.unicode() < 0x20 || c.unicode() == 0x7F || QStringView(u"\\/:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    }
    stem = stem.trimmed();
    while (stem.endsWith(QLatin1Char('.')))
        stem = stem.chopped(1).trimmed();
    if (stem.startsWith(QLatin1Char('.')))
        stem[0] = QLatin1Char('_');
    if (stem.isEmpty())
        stem = QStringLiteral(u"ジャンル") + QString::number(genreNumber);
    // Windows takes the part before the first dot as the device, whatever follows it, so
    // the mark goes right after that part: "lpt1.txt" becomes "lpt1_.txt".
    const qsizetype baseEnd = stem.contains(QLatin1Char('.')) ? stem.indexOf(QLatin1Char('.')) : stem.size();
    if (isDeviceName(stem.left(baseEnd)))
        stem.insert(baseEnd, QLatin1Char('_'));
    return stem.toStdString();
}

std::string displayName(std::string_view genreName)
{
    QString name = sjis::toUnicode(genreName);
    for (QChar& c : name) {
        if (isRawByte(c) || c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QChar::ReplacementCharacter;
    }
    return name.toStdString();
}

} // namespace split
