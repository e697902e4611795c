#pragma once

// One undoable step of a string grid: the changes one user action made, in the order made.
// A step keeps whole packed rows rather than copies of their text: a row replaced by an
// edit, or rows dropped by clearing the table, stay allocated in the grid's arena and are
// exchanged back on undo. Every change is its own inverse applied again (an exchange swaps
// the same two rows back, rows out of the table go in and rows in it come out), so undo
// and redo walk the same list in opposite directions, and neither allocates: room for rows
// coming out of the table is reserved when the change is recorded.

#include "widgets/grid/StringGridRow.h"

#include <cstddef>
#include <variant>
#include <vector>

namespace widgets {

class StringGridModel;

namespace change {

// Row `at` was replaced; `other` is the row not in the table now.
struct Row {
    int at = 0;
    StringGridRow other;
};

// `count` rows at `at` went in or out; while they are out, `rows` holds them.
struct Rows {
    int at = 0;
    int count = 0;
    bool inTable = true;
    std::vector<StringGridRow> rows;  // capacity for `count` rows, always
};

// Rows at many positions were replaced at once (a column rewritten); for each, `other` is
// the row not in the table now. One change for them all, so that the views hear of its
// replay once.
struct RowSet {
    struct Entry {
        int at = 0;
        StringGridRow other;
    };
    std::vector<Entry> rows;
};

struct RowMove {
    int from = 0;
    int to = 0;
};

struct ColumnMove {
    int from = 0;
    int to = 0;
};

} // namespace change

using GridChange = std::variant<change::Row, change::Rows, change::RowSet, change::RowMove, change::ColumnMove>;

class GridStep final {
public:
    // The changes are already made when the step is made.
    GridStep(StringGridModel& model, std::vector<GridChange> changes, std::size_t bytes);
    ~GridStep();
    GridStep(const GridStep&) = delete;
    GridStep& operator=(const GridStep&) = delete;

    // Takes the changes back, last first; redo() makes them again after an undo().
    void undo() noexcept;
    void redo() noexcept;

    // What the step keeps at most: its rows' blocks while out of the table, and its lists.
    std::size_t bytes() const { return m_bytes; }

    // Gives back the rows that `changes` hold out of the table.
    static void release(StringGridModel& model, std::vector<GridChange>& changes) noexcept;

private:
    enum class Direction { Back, Forward };
    void apply(GridChange& change, Direction direction) noexcept;

    StringGridModel& m_model;
    std::vector<GridChange> m_changes;
    std::size_t m_bytes;
};

} // namespace widgets
