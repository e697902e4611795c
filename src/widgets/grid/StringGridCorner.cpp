#include "widgets/grid/StringGridCorner.h"

#include "widgets/grid/StringGrid.h"
#include "widgets/grid/StringGridModel.h"
#include "widgets/grid/StringGridPainting.h"
#include "widgets/grid/StringGridView.h"

#include <QPainter>

namespace widgets {

StringGridCorner::StringGridCorner(StringGridView& view) : QWidget(&view), m_view(view) {}

void StringGridCorner::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    const StringGrid& grid = m_view.grid();
    const StringGridModel& model = m_view.gridModel();
    const GridOptions options = grid.Options();
    QPainter painter(this);
    painter.fillRect(rect(), grid.FixedColor());
    if (model.gridColCount() > 0 && model.gridRowCount() > 0) {
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(gridcell::textRect(rect()), gridcell::kTextFlags, StringGridModel::displayText(model.cell(0, 0)));
    }
    gridcell::drawLines(painter, rect(), options.testFlag(goFixedVertLine), options.testFlag(goFixedHorzLine),
                        gridcell::kFixedLineColor);
}

void StringGridCorner::mousePressEvent(QMouseEvent* event)
{
    Q_UNUSED(event);
    m_view.fixedCellPressed();
}

void StringGridCorner::mouseReleaseEvent(QMouseEvent* event)
{
    Q_UNUSED(event);
    m_view.fixedCellReleased();
}

void StringGridCorner::mouseDoubleClickEvent(QMouseEvent* event)
{
    Q_UNUSED(event);
    m_view.fixedCellDoubleClicked();
}

} // namespace widgets
