#pragma once

// The window's two 32 x 32 pictures, drawn in code: the window icon and the help icon that
// stands in for the hidden help panel. The window icon is also the desktop's application icon,
// exported at every size the icon theme holds and as SVG (tools/icon_export).

#include <QPixmap>

class QPainter;

namespace app {

inline constexpr int kIconDesignSize = 32;

// Draws the window icon in a kIconDesignSize square of the painter's coordinates; the caller
// scales the painter for other sizes.
void paintWindowIcon(QPainter& painter);
QPixmap windowIconPixmap(int size = kIconDesignSize);
QPixmap helpIconPixmap();

} // namespace app
