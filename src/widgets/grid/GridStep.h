#pragma once

// One undoable step of a string grid: the changes one user action made, in the order made.
// A step keeps whole packed rows rather than copies of their text: a row replaced by an
// edit, or rows dropped by clearing the table, stay allocated in the grid's arena and are
// exchanged back on undo. Every change is its own inverse applied again (an exchange swaps
// the same two rows back, rows out of the table go in and rows in it come out), so undo
// and redo walk the same list in opposite directions, and neither allocates: room for rows
// coming out of the table is reserved when the change is recorded.

#include "widgets/grid/StringGridRow.h"

#include <QUndoCommand>

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

class GridStep final : public QUndoCommand {
public:
    // The changes are already made: the push onto the stack does not make them again.
    GridStep(StringGridModel& model, std::vector<GridChange> changes, std::size_t bytes);
    ~GridStep() override;
    GridStep(const GridStep&) = delete;
    GridStep& operator=(const GridStep&) = delete;

    void undo() override;
    void redo() override;

    // What the step keeps at most: its rows' blocks while out of the table, and its lists.
    std::size_t bytes() const { return m_bytes; }
    // Hands the changes to a new step (the history re-stacks its steps to drop the oldest).
    std::vector<GridChange> takeChanges();

    // Gives back the rows that `changes` hold out of the table.
    static void release(StringGridModel& model, std::vector<GridChange>& changes) noexcept;

private:
    enum class Direction { Back, Forward };
    void apply(GridChange& change, Direction direction) noexcept;

    StringGridModel& m_model;
    std::vector<GridChange> m_changes;
    std::size_t m_bytes;
    bool m_made = true;  // the changes are in the table
};

} // namespace widgets
