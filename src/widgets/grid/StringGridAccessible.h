#pragma once

// What a screen reader finds of a string grid: Qt gives the grid's table view and its cells;
// the in-place editor of a cell (F2, a double click) is a child of the view's viewport, which
// the table does not list, so a reader walking the window's tree never meets it. The grid
// lists the open editor beside its table, and the editor names its column and row.

namespace widgets {

class StringGrid;

// Lists the open editor of `grid` among the grid's children (the accessibility factory is
// installed once, for every grid).
void listEditorForScreenReaders(StringGrid& grid);

} // namespace widgets
