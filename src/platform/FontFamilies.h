#pragma once

// The installed families that may stand in for the window's two Japanese face names, in
// order of preference. Only those that exist and hold Japanese glyphs are used (app/Fonts).

#include <QStringList>

namespace platform {

// For "ＭＳ Ｐゴシック" (proportional gothic).
QStringList gothicFamilies();
// For "ＭＳ Ｐ明朝" (proportional mincho).
QStringList minchoFamilies();

} // namespace platform
