#pragma once

// A fixed row (horizontal) or fixed column (vertical) of a string grid. It paints the fixed
// cells in the fixed colour and lets a cell be dragged onto another to move its column or
// row. The drag is the header's own rather than QHeaderView's movable sections: the drop
// target is the section under the pointer, and only the model moves, so visual and logical
// order never differ and no index mapping for half a million sections is ever built.

#include <QHeaderView>

namespace widgets {

class StringGridView;

class StringGridHeader final : public QHeaderView {
    Q_OBJECT

public:
    StringGridHeader(Qt::Orientation orientation, StringGridView& view);

    void setMovingEnabled(bool enabled);
    // With the last section pinned it cannot be dragged and nothing lands beyond it.
    void setLastSectionPinned(bool pinned) { m_lastPinned = pinned; }
    void setSizingEnabled(bool enabled);
    // Forgets a drag in progress: the rows or columns it was started on are changing. The
    // release that follows moves nothing.
    void cancelDrag();

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

    StringGridView& m_view;
    bool m_movingEnabled = false;
    bool m_sizingEnabled = false;
    bool m_lastPinned = false;
    int m_dragSection = -1;  // the section being dragged, or -1
    int m_dropSection = -1;  // where it would land
};

} // namespace widgets
