#include "support/ControlDriver.h"

#include "widgets/LineEdit.h"
#include "widgets/grid/StringGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTableView>
#include <QtTest>

namespace support {

QPoint cellCenter(const widgets::StringGrid& grid, int col, int row)
{
    return grid.view()->visualRect(grid.view()->model()->index(row - 1, col - 1)).center();
}

QPoint sectionCenter(const QHeaderView* header, int section)
{
    const int middle = header->sectionViewportPosition(section) + header->sectionSize(section) / 2;
    return header->orientation() == Qt::Vertical ? QPoint(header->viewport()->width() / 2, middle)
                                                 : QPoint(middle, header->viewport()->height() / 2);
}

void clickCell(widgets::StringGrid& grid, int col, int row)
{
    QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, {}, cellCenter(grid, col, row));
}

void clickRow(widgets::StringGrid& grid, int row)
{
    clickCell(grid, grid.Row() == row && grid.Col() == 1 ? 2 : 1, row);
}

std::vector<std::string> allCells(const widgets::StringGrid& grid)
{
    std::vector<std::string> cells;
    for (int row = 0; row < grid.RowCount(); ++row)
        for (int col = 0; col < grid.ColCount(); ++col)
            cells.push_back(grid.Cells(col, row));
    return cells;
}

void realDoubleClick(QWidget* target, QPoint pos)
{
    const quint64 start = quint64(QTest::lastMouseTimestamp) + 1000;
    const auto send = [&](QEvent::Type type, Qt::MouseButtons buttons, quint64 time) {
        QMouseEvent event(type, pos, target->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
        event.setTimestamp(time);
        QApplication::sendEvent(target, &event);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton, start);
    send(QEvent::MouseButtonRelease, Qt::NoButton, start + 40);
    send(QEvent::MouseButtonPress, Qt::LeftButton, start + 120);
    send(QEvent::MouseButtonDblClick, Qt::LeftButton, start + 120);
    send(QEvent::MouseButtonRelease, Qt::NoButton, start + 160);
    QTest::lastMouseTimestamp = int(start + 1000);
}

void hover(QWidget* target, QPoint pos)
{
    QMouseEvent event(QEvent::MouseMove, pos, target->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void retype(widgets::LineEdit& edit, const QString& text)
{
    edit.setFocus();
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(&edit, text);
}

} // namespace support
