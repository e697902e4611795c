#pragma once

// Drawing shared by the normal cells (delegate), the fixed cells (headers) and the corner,
// so that all cells of a grid look alike: text two pixels in from the left on one line,
// grid lines on the right and bottom edge of each cell.

#include <QColor>
#include <QPainter>
#include <QRect>

namespace widgets::gridcell {

inline constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
inline const QColor kNormalLineColor{192, 192, 192};
inline const QColor kFixedLineColor{0, 0, 0};

inline QRect textRect(const QRect& cell)
{
    return cell.adjusted(2, 0, -2, 0);
}

inline void drawLines(QPainter& painter, const QRect& cell, bool vertical, bool horizontal, const QColor& color)
{
    if (!vertical && !horizontal)
        return;
    painter.setPen(QPen(color, 1));
    if (vertical)
        painter.drawLine(cell.topRight(), cell.bottomRight());
    if (horizontal)
        painter.drawLine(cell.bottomLeft(), cell.bottomRight());
}

} // namespace widgets::gridcell
