#pragma once

// Driving single controls as a user does, shared by the widget, window and desktop tests:
// finding a control of a window by its name, clicking cells and fixed cells of a grid, a
// real double click, a hover, retyping a field, and reading a grid whole.

#include <QPoint>
#include <QString>
#include <QWidget>

#include <string>
#include <vector>

class QHeaderView;

namespace widgets {
class LineEdit;
class StringGrid;
} // namespace widgets

namespace support {

// The control of the window named `name` ("Edit6", "StringGrid2"…), or null.
template <typename Control = QWidget>
Control* control(QWidget& window, const QString& name)
{
    return window.findChild<Control*>(name, Qt::FindDirectChildrenOnly);
}

// The centre of cell (col, row) in the grid's cell area.
QPoint cellCenter(const widgets::StringGrid& grid, int col, int row);
// The centre of a section of a header, in the header's viewport.
QPoint sectionCenter(const QHeaderView* header, int section);
// A click on cell (col, row).
void clickCell(widgets::StringGrid& grid, int col, int row);
// A click on a cell of `row` that is not the current one, so the grid raises selectCell.
void clickRow(widgets::StringGrid& grid, int row);
// Every cell, row by row.
std::vector<std::string> allCells(const widgets::StringGrid& grid);

// Press, release, press, double click, release within the double-click time: the order in
// which Qt 6 delivers a real double click. QTest's own double click sends no second press.
void realDoubleClick(QWidget* target, QPoint pos);
// A move of the mouse, no button held, over `target` at `pos`.
void hover(QWidget* target, QPoint pos);

// Focus, select all with Ctrl+A and type `text` key by key.
void retype(widgets::LineEdit& edit, const QString& text);

} // namespace support
