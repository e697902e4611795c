#pragma once

// Driving the window as a user does, shared by the window tests and the desktop stage:
// finding a control by its name, clicking cells and rows of a grid, retyping a field,
// and reading a file in through the read button.

#include <QPoint>
#include <QString>
#include <QWidget>

namespace app {
class TForm1;
}
namespace widgets {
class LineEdit;
class StringGrid;
} // namespace widgets

namespace support {

class ScriptedPrompts;

// The control of the window named `name` ("Edit6", "StringGrid2"…), or null.
template <typename Control = QWidget>
Control* control(QWidget& window, const QString& name)
{
    return window.findChild<Control*>(name, Qt::FindDirectChildrenOnly);
}

// The centre of cell (col, row) in the grid's cell area.
QPoint cellCenter(const widgets::StringGrid& grid, int col, int row);
// A click on cell (col, row).
void clickCell(widgets::StringGrid& grid, int col, int row);
// A click on a cell of `row` that is not the current one, so the grid raises selectCell.
void clickRow(widgets::StringGrid& grid, int row);

// Focus, select all with Ctrl+A and type `text` key by key.
void retype(widgets::LineEdit& edit, const QString& text);

// Reads `path` through the read button, the open dialog answering with `filterIndex`
// (1 banks, 2 mon files).
void readFile(app::TForm1& form, ScriptedPrompts& prompts, const QString& path, int filterIndex);
// Reads a mon file and adds its questions to the question table by a click on its row.
void loadMonFile(app::TForm1& form, ScriptedPrompts& prompts, const QString& path);

} // namespace support
