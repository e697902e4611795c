#include "app/Fonts.h"

#include "platform/FontFamilies.h"

#include <QFontDatabase>
#include <QStringList>

#include <cmath>

namespace app {

void registerFontSubstitutions()
{
    // Only families that are installed and hold Japanese glyphs are offered; Qt's own
    // fallback could otherwise settle on a Latin face. Qt takes the first substitute it finds
    // installed and looks no further, so the list ends at the first family installed under
    // the name given. A name that is not listed may still be another name of an installed
    // family (a localised one, or one the system's font configuration maps): asking for it
    // costs a font match, done only until a listed name ends the search.
    const QStringList installed = QFontDatabase::families(QFontDatabase::Japanese);
    const auto japanese = [&installed](const QStringList& candidates) {
        QStringList found;
        for (const QString& family : candidates) {
            if (installed.contains(family)) {
                found << family;
                break;
            }
            if (QFontDatabase::hasFamily(family)
                && QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese))
                found << family;
        }
        return found;
    };
    const QStringList gothic = japanese(platform::gothicFamilies());
    const QStringList mincho = japanese(platform::minchoFamilies());
    QFont::insertSubstitutions(kGothic, gothic);
    QFont::insertSubstitutions(kMincho, mincho.isEmpty() ? gothic : mincho);
}

QFont windowFont(const QString& face, int pixelHeightAt120, double scale, bool bold)
{
    QFont font(face);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelHeightAt120 * scale))));
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferMatch);
    return font;
}

} // namespace app
