#include "widgets/grid/StringGridCorner.h"

#include "widgets/grid/StringGridModel.h"
#include "widgets/grid/StringGridPainting.h"

#include <QPainter>

namespace widgets {

StringGridCorner::StringGridCorner(const StringGridModel& model, QWidget* parent) : QWidget(parent), m_model(model) {}

void StringGridCorner::setGridStyle(const GridStyle& style)
{
    m_style = style;
    update();
}

void StringGridCorner::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    const GridOptions options = m_style.options;
    QPainter painter(this);
    painter.fillRect(rect(), m_style.fixedColor);
    if (m_model.gridColCount() > 0 && m_model.gridRowCount() > 0) {
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(gridcell::textRect(rect()), gridcell::kTextFlags, StringGridModel::displayText(m_model.cell(0, 0)));
    }
    gridcell::drawLines(painter, rect(), options.testFlag(goFixedVertLine), options.testFlag(goFixedHorzLine),
                        gridcell::kFixedLineColor);
}

void StringGridCorner::mousePressEvent(QMouseEvent* event)
{
    Q_UNUSED(event);
    emit fixedCellPressed();
}

void StringGridCorner::mouseReleaseEvent(QMouseEvent* event)
{
    Q_UNUSED(event);
    emit fixedCellReleased();
}

void StringGridCorner::mouseDoubleClickEvent(QMouseEvent* event)
{
    Q_UNUSED(event);
    emit fixedCellDoubleClicked();
}

} // namespace widgets
