#pragma once

// A fixed row (horizontal) or fixed column (vertical) of a string grid. It paints the fixed
// cells in the fixed colour and lets a cell be dragged onto another to move its column or
// row. The drag is the header's own rather than QHeaderView's movable sections: the drop
// target is the section under the pointer, and only the model moves, so visual and logical
// order never differ and no index mapping for half a million sections is ever built.

#include "widgets/grid/GridStyle.h"

#include <QHeaderView>

class QAbstractScrollArea;

namespace widgets {

class StringGridHeader final : public QHeaderView {
    Q_OBJECT

public:
    // `scrolled` is the view the header belongs to; a drag past its end scrolls it.
    StringGridHeader(Qt::Orientation orientation, QAbstractScrollArea& scrolled);

    void setGridStyle(const GridStyle& style);

    void setMovingEnabled(bool enabled);
    // With the last section pinned it cannot be dragged and nothing lands beyond it.
    void setLastSectionPinned(bool pinned) { m_lastPinned = pinned; }
    void setSizingEnabled(bool enabled);
    // Forgets a drag in progress: the rows or columns it was started on are changing. The
    // release that follows moves nothing.
    void cancelDrag();

signals:
    // A press or release anywhere on the fixed cells, a double click on them, and a drag
    // that ended on another section (indexes from 0, as the sections count).
    void fixedCellPressed();
    void fixedCellReleased();
    void fixedCellDoubleClicked();
    void sectionDropped(int fromSection, int toSection);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int along(const QPoint& pos) const;
    int viewportLength() const;
    bool onSizingHandle(const QPoint& pos) const;
    void followDrag(const QPoint& pos);
    void scrollTowards(int position);

    QAbstractScrollArea& m_scrolled;
    GridStyle m_style;
    bool m_movingEnabled = false;
    bool m_sizingEnabled = false;
    bool m_lastPinned = false;
    int m_dragSection = -1;  // the section being dragged, or -1
    int m_dropSection = -1;  // where it would land
};

} // namespace widgets
