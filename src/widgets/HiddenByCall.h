#pragma once

// Whether a widget was hidden by a call (hide(), setVisible(false)), as the browser's lists
// are until it opens, rather than merely not shown yet because its window is not. Lists that
// read their folder when shown read at once unless hidden so.

#include <QWidget>

namespace widgets {

inline bool hiddenByCall(const QWidget& widget)
{
    return widget.testAttribute(Qt::WA_WState_ExplicitShowHide) && widget.isHidden();
}

} // namespace widgets
