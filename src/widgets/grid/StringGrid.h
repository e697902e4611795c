#pragma once

// A grid of Shift-JIS text cells addressed by column and row from 0. Row 0 and column 0 are
// fixed: they stay in view while the rest scrolls, are drawn in the fixed colour and are
// never current, marked or edited. Row 0 is dragged to move columns and column 0 to move
// rows; a move really moves the cells, so later reads by position see the new order.
//
// Events, all raised by direct calls so that a handler runs nested inside the grid:
// - selectCell before the current cell moves to another normal cell by mouse or keyboard
//   (never for the cell already current); a handler clearing *canSelect stops the move;
// - getEditText before the in-place editor shows a cell's text; the editor shows *text;
// - rowMoved / colMoved after a drag (or moveRow / moveColumn) moved the cells;
// - editKeyPressed when F2 is pressed on the current cell with no editor open: the keyboard's
//   double click. Afterwards, while editing is on, the editor opens on that cell;
// - clicked, doubleClicked (the second click of a double click raises only doubleClicked),
//   and mouseMoved over the normal and the fixed cells, in grid coordinates (0,0 being the
//   top left corner of cell (0,0));
// - unencodableText when an edit cannot be stored because Shift-JIS cannot hold a typed
//   character; the cell keeps its text. It comes once the event that closed the editor is
//   over, and afterwards the editor opens again on that cell, current again, with the text
//   as typed and the caret before the character.
//
// The in-place editor stays open on its cell across option changes; it closes, storing its
// text, at the next mouse press on the grid outside it, when the current cell moves, or when
// the keyboard focus leaves it.

#include "widgets/grid/GridErrorBoundary.h"
#include "widgets/grid/GridRows.h"
#include "widgets/grid/GridStyle.h"
#include "widgets/grid/RowMarks.h"
#include "widgets/grid/SharedRows.h"
#include "widgets/grid/StringGridHistory.h"
#include "widgets/grid/TableMakeup.h"

#include <QColor>
#include <QWidget>

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class QLineEdit;
class QTableView;

namespace widgets {

class StringGridModel;
class StringGridView;

class StringGrid final : public QWidget {
    Q_OBJECT

public:
    enum class ScrollBars { None, Horizontal, Vertical, Both };

    explicit StringGrid(QWidget* parent = nullptr);
    ~StringGrid() override;

    // Reading outside the grid gives empty text; writing outside it throws
    // text::EditorError. Writing the text a cell already holds changes and repaints nothing.
    std::string Cells(int col, int row) const;
    void setCells(int col, int row, std::string_view text);
    // Cell (col, firstRow + i) := texts[i] for every text, as setCells does each, at once:
    // one repaint, and one change of the undo history. Rows from 1; a cell outside the grid
    // throws text::EditorError before anything changes.
    void setColumnCells(int col, int firstRow, std::span<const std::string> texts);

    // Inserts whole rows before row `beforeRow` (1 to RowCount()) as one batch; cell c of an
    // inserted row is rows[i][c]. The current cell keeps its position. Every row is made and
    // packed before the view hears of any; if the source throws, nothing is inserted.
    void insertRows(int beforeRow, const std::vector<std::vector<std::string>>& rows);
    void insertRows(int beforeRow, RowSource& rows);
    void insertRows(int beforeRow, RowSource&& rows) { insertRows(beforeRow, rows); }
    // Inserts every row of a block of shared rows, which the grid keeps while any of them is
    // in the table or its history; cells are made when read.
    void insertRows(int beforeRow, std::shared_ptr<const SharedRows> rows);

    // What rows `first` to `first + count - 1` are made of, columns as shown, appended to
    // `into` (TableMakeup.h).
    void describeRows(int first, int count, TableMakeup& into) const;

    // Raising a count appends empty columns or rows; lowering it drops the last ones.
    int ColCount() const;
    void setColCount(int count);
    int RowCount() const;
    void setRowCount(int count);

    // The current cell, (1,1) from the start. Setting it moves without raising selectCell;
    // a column or row outside the normal cells throws text::EditorError.
    int Col() const;
    void setCol(int col);
    int Row() const;
    void setRow(int row);

    GridOptions Options() const { return m_style.options; }
    // Installing the set already installed does nothing. An open editor stays open; with
    // no editor open, a set with goEditing and goAlwaysShowEditor opens one.
    void setOptions(GridOptions options);

    int ColWidths(int col) const;
    void setColWidths(int col, int width);
    int RowHeights(int row) const;
    void setRowHeights(int row, int height);
    int DefaultRowHeight() const;
    void setDefaultRowHeight(int height); // every row, and rows added later

    QColor Color() const { return m_style.color; }
    void setColor(const QColor& color);
    QColor FixedColor() const { return m_style.fixedColor; }
    void setFixedColor(const QColor& color);
    void setScrollBars(ScrollBars bars);

    // Move a row or column exactly as a drag does, then raise rowMoved / colMoved. Indexes
    // outside the normal rows or columns, and a move of a pinned last row or below it,
    // throw text::EditorError.
    void moveRow(int fromIndex, int toIndex);
    void moveColumn(int fromIndex, int toIndex);
    bool canMoveRow(int fromIndex, int toIndex) const;
    bool canMoveColumn(int fromIndex, int toIndex) const;

    // A pinned last row stays last: neither a drag nor moveRow() moves it, or another row
    // below it.
    enum class LastRow { Movable, Pinned };
    void setLastRow(LastRow lastRow);

    // An undo history of the grid's cells, rows and column order (StringGridHistory says
    // what it keeps and its bounds). With one, Ctrl+Z undoes the last step and Ctrl+Y or
    // Ctrl+Shift+Z redoes it while the table has the keyboard focus; an open in-place editor
    // keeps those keys for its own text. Undo touches nothing but the grid and raises none
    // of its events but `replayed`, once the step is undone or redone.
    // Setting it starts an empty history; never while a Step lives.
    enum class History { None, Kept };
    void setHistory(History history, HistoryLimits limits = {});
    bool undo();  // false when there was nothing to undo
    bool redo();
    bool canUndo() const;
    bool canRedo() const;
    int undoSteps() const;
    std::size_t historyBytes() const;
    // Whether a step that drops the rows from `row` on (and rewrites those before it) would
    // be kept by the history, so that it can be undone.
    bool canUndoDroppingRowsFrom(int row) const;

    // The changes made while a Step lives are one step of the history (the outermost Step
    // counts); a change made outside any Step is a step of its own.
    class Step final {
    public:
        explicit Step(StringGrid& grid);
        ~Step();
        Step(const Step&) = delete;
        Step& operator=(const Step&) = delete;

    private:
        StringGridHistory* m_history;
    };

    // Runs the grid's own work at a user's gesture (an edit stored as its editor closes, a
    // row or column dropped on another), so that an error it throws (memory running out)
    // ends at the window's error boundary, never in Qt's event loop. Without one such an
    // error is dropped and the gesture changes nothing more.
    void setErrorBoundary(GridErrorBoundary::Runner runner);

    // Rows marked on their number cell (RowMarks); repaintRowMarks() after the marks changed.
    void setRowMarks(RowMarks marks);
    void repaintRowMarks();

    bool EditorMode() const;           // an in-place editor is open
    QLineEdit* inplaceEditor() const;  // the open editor, or nullptr

    QTableView* view() const;

signals:
    void clicked();
    void doubleClicked();
    void editKeyPressed();
    void mouseMoved(Qt::KeyboardModifiers modifiers, int x, int y);
    void selectCell(int col, int row, bool* canSelect);
    void rowMoved(int fromIndex, int toIndex);
    void colMoved(int fromIndex, int toIndex);
    void getEditText(int col, int row, std::string* text);
    void unencodableText(int col, int row, char32_t character);
    void replayed();

private:
    // Lives while the grid changes its rows or columns (StringGridView::beginReshape).
    class Reshape;

    [[noreturn]] static void throwIndexError();
    template <typename Insert>
    void insertRowsWith(int beforeRow, std::size_t count, Insert insert);
    void applyStyle();
    void dropFixedCell(Qt::Orientation orientation, int from, int to);
    bool replayStep(bool (StringGridHistory::*possible)() const, void (StringGridHistory::*replay)() noexcept);

    StringGridModel* m_model = nullptr;
    std::unique_ptr<StringGridHistory> m_history;  // destroyed before the model it keeps rows of
    StringGridView* m_view = nullptr;
    GridStyle m_style;
    GridErrorBoundary m_boundary;
    bool m_lastRowPinned = false;
};

} // namespace widgets
