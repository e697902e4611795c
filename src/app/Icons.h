#pragma once

// The window's two 32 x 32 pictures, drawn in code: the window icon and the help icon that
// stands in for the hidden help panel. The window icon is also the desktop's application icon,
// exported at every size the icon theme holds and as SVG (tools/icon_export).

#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <vector>

class QPainter;

namespace app {

inline constexpr int kIconDesignSize = 32;
// The sizes the window icon is drawn at for the desktop: the icon theme's folders, and the
// window's own icon (_NET_WM_ICON on X11), from which docks and task switchers pick.
inline constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// Draws the window icon in a kIconDesignSize square of the painter's coordinates; the caller
// scales the painter for other sizes.
void paintWindowIcon(QPainter& painter);
QPixmap windowIconPixmap(int size = kIconDesignSize);
// The window icon drawn at each of kIconSizes, in that order: painted once, by the first
// caller, on any thread once the application object exists (painting asks it for the default
// font); the start-up work paints them while the window builds its controls.
const std::vector<QImage>& windowIconImages();
// The window icon at each of kIconSizes, for the window and the desktop.
QIcon applicationIcon();
// The help icon, painted once like the window icon's images (after the application object
// exists: its question mark is drawn in the default font).
const QImage& helpIconImage();
QPixmap helpIconPixmap();

} // namespace app
