#include "widgets/grid/StringGridHeader.h"

#include "widgets/grid/StringGridPainting.h"

#include <QAbstractScrollArea>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

namespace widgets {

StringGridHeader::StringGridHeader(Qt::Orientation orientation, QAbstractScrollArea& scrolled)
    : QHeaderView(orientation, &scrolled), m_scrolled(scrolled)
{
    // The fixed cells are not buttons: a press never marks a row or column.
    setSectionsClickable(false);
    setHighlightSections(false);
    setSectionsMovable(false);
    setMinimumSectionSize(1);
    setSectionResizeMode(Fixed);
}

void StringGridHeader::setGridStyle(const GridStyle& style)
{
    m_style = style;
    viewport()->update();
}

void StringGridHeader::setMovingEnabled(bool enabled)
{
    m_movingEnabled = enabled;
}

void StringGridHeader::cancelDrag()
{
    if (m_dragSection < 0)
        return;
    m_dragSection = -1;
    m_dropSection = -1;
    viewport()->update();
}

void StringGridHeader::setSizingEnabled(bool enabled)
{
    if (enabled == m_sizingEnabled)
        return;
    m_sizingEnabled = enabled;
    setSectionResizeMode(enabled ? Interactive : Fixed);
}

void StringGridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    const GridOptions options = m_style.options;
    painter->save();
    // A row its owner marks is tinted (RowMarks).
    const QVariant tint = model() ? model()->headerData(logicalIndex, orientation(), Qt::BackgroundRole) : QVariant();
    painter->fillRect(rect, tint.isValid() ? tint.value<QColor>() : m_style.fixedColor);
    painter->setPen(palette().color(QPalette::Text));
    painter->setFont(font());
    const QString text = model() ? model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString()
                                 : QString();
    painter->drawText(gridcell::textRect(rect), gridcell::kTextFlags, text);
    gridcell::drawLines(*painter, rect, options.testFlag(goFixedVertLine), options.testFlag(goFixedHorzLine),
                        gridcell::kFixedLineColor);
    painter->restore();
}

void StringGridHeader::paintEvent(QPaintEvent* event)
{
    QHeaderView::paintEvent(event);
    if (m_dragSection < 0 || m_dropSection < 0 || m_dropSection == m_dragSection)
        return;
    // A bar on the edge of the target section where the dragged one will land.
    const int start = sectionViewportPosition(m_dropSection);
    const int edge = m_dropSection > m_dragSection ? start + sectionSize(m_dropSection) - 2 : start;
    QPainter painter(viewport());
    const QColor bar = palette().color(QPalette::Highlight);
    if (orientation() == Qt::Vertical)
        painter.fillRect(0, edge, viewport()->width(), 2, bar);
    else
        painter.fillRect(edge, 0, 2, viewport()->height(), bar);
}

int StringGridHeader::along(const QPoint& pos) const
{
    return orientation() == Qt::Horizontal ? pos.x() : pos.y();
}

int StringGridHeader::viewportLength() const
{
    return orientation() == Qt::Horizontal ? viewport()->width() : viewport()->height();
}

bool StringGridHeader::onSizingHandle(const QPoint& pos) const
{
    // The same grip rule as QHeaderView uses for its own resizing.
    if (!m_sizingEnabled)
        return false;
    const int position = along(pos);
    const int section = logicalIndexAt(position);
    if (section < 0)
        return false;
    const int grip = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, this);
    const int start = sectionViewportPosition(section);
    if (position > start + sectionSize(section) - grip)
        return true;
    return position < start + grip && visualIndex(section) > 0;
}

void StringGridHeader::scrollTowards(int position)
{
    // Dragging past the end of the visible sections scrolls one row or column per move.
    QScrollBar* bar = orientation() == Qt::Vertical ? m_scrolled.verticalScrollBar() : m_scrolled.horizontalScrollBar();
    if (position < 0)
        bar->setValue(bar->value() - 1);
    else if (position >= viewportLength())
        bar->setValue(bar->value() + 1);
}

void StringGridHeader::followDrag(const QPoint& pos)
{
    const int position = along(pos);
    const int clamped = std::clamp(position, 0, std::max(viewportLength() - 1, 0));
    int section = logicalIndexAt(clamped);
    if (m_lastPinned)
        section = std::min(section, count() - 2);
    if (section >= 0 && section != m_dropSection) {
        m_dropSection = section;
        viewport()->update();
    }
}

void StringGridHeader::mousePressEvent(QMouseEvent* event)
{
    // A press on a fixed cell is a press on the grid outside the editor.
    emit fixedCellPressed();
    if (event->button() == Qt::LeftButton && m_movingEnabled && !onSizingHandle(event->position().toPoint())) {
        const int section = logicalIndexAt(event->position().toPoint());
        if (section >= 0 && !(m_lastPinned && section == count() - 1)) {
            m_dragSection = section;
            m_dropSection = section;
        }
        return;
    }
    QHeaderView::mousePressEvent(event);
}

void StringGridHeader::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragSection < 0) {
        QHeaderView::mouseMoveEvent(event);
        return;
    }
    scrollTowards(along(event->position().toPoint()));
    followDrag(event->position().toPoint());
}

void StringGridHeader::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_dragSection < 0) {
        QHeaderView::mouseReleaseEvent(event);
        emit fixedCellReleased();
        return;
    }
    followDrag(event->position().toPoint());
    const int from = m_dragSection;
    const int to = m_dropSection;
    m_dragSection = -1;
    m_dropSection = -1;
    viewport()->update();
    if (from != to)
        emit sectionDropped(from, to);
    emit fixedCellReleased();
}

void StringGridHeader::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double click on a fixed cell is the grid's double click; it neither resizes a
    // section to its contents nor starts a drag.
    Q_UNUSED(event);
    emit fixedCellDoubleClicked();
}

} // namespace widgets
