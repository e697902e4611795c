#pragma once

// One undoable step of a string grid: the changes one user action made, in the order made.
// A step keeps whole packed rows rather than copies of their text: a row replaced by an
// edit, or rows dropped by clearing the table, stay allocated in the grid's arena and are
// exchanged back on undo. Neither undo nor redo allocates: room for rows coming out of the
// table is reserved when the change is recorded.

#include "widgets/grid/GridChange.h"

#include <cstddef>
#include <vector>

namespace widgets {

class GridReplay;

class GridStep final {
public:
    // The changes are already made when the step is made.
    GridStep(GridReplay& table, std::vector<GridChange> changes, std::size_t bytes);
    ~GridStep();
    GridStep(const GridStep&) = delete;
    GridStep& operator=(const GridStep&) = delete;

    // Takes the changes back, last first; redo() makes them again after an undo().
    void undo() noexcept;
    void redo() noexcept;

    // What the step keeps at most: its rows' blocks while out of the table, and its lists.
    std::size_t bytes() const { return m_bytes; }

    // Gives back the rows that `changes` hold out of the table.
    static void release(GridReplay& table, std::vector<GridChange>& changes) noexcept;

private:
    enum class Direction { Back, Forward };
    void apply(GridChange& change, Direction direction) noexcept;

    GridReplay& m_table;
    std::vector<GridChange> m_changes;
    std::size_t m_bytes;
};

} // namespace widgets
