#pragma once

// The window's Japanese face names resolve to installed Japanese fonts.

#include <QFont>
#include <QString>

namespace app {

inline const QString kGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString kMincho = QStringLiteral("ＭＳ Ｐ明朝");

// Registers substitutions for the two face names, used where the face itself is not
// installed: the platform's Japanese families that are (platform/FontFamilies.h). Call once
// before any window is built.
void registerFontSubstitutions();

// A font of the given face at a pixel height given for 120 pixels per inch, scaled by
// `scale` (logical DPI / 120).
QFont windowFont(const QString& face, int pixelHeightAt120, double scale, bool bold = false);

} // namespace app
