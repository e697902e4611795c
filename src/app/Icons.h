#pragma once

// The window's two 32 x 32 pictures, drawn in code: the window icon and the help icon that
// stands in for the hidden help panel.

#include <QPixmap>

namespace app {

QPixmap windowIconPixmap();
QPixmap helpIconPixmap();

} // namespace app
