#pragma once

// The undo history of a string grid: one list of the steps it owns, oldest first, those
// done before those undone. The model reports every change it makes; the changes made
// between beginStep() and the matching endStep() (outermost pair) become one step, and a
// change made outside any step is a step by itself (a row dragged, a cell edited in place).
//
// Bounds: at most `steps` steps, and one budget of `bytes` that the table and the history
// share: what the table's rows take, and what the steps keep beyond them (the rows they
// replaced or removed, and their own lists), together stay within it. A step's rows that go
// back into the table on undo leave it the same memory, so undoing never adds to the total.
// The oldest steps go first when the table grows or a new step comes; a single step that
// does not fit beside the table is not kept, and with it every older step, which could no
// longer be reached.

#include "widgets/grid/GridStep.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace widgets {

class GridReplay;

struct HistoryLimits {
    int steps = 100;  // 0 or less: no bound on the count
    std::size_t bytes = std::size_t(512) << 20;
};

class StringGridHistory final {
public:
    StringGridHistory(GridReplay& table, HistoryLimits limits);
    ~StringGridHistory();
    StringGridHistory(const StringGridHistory&) = delete;
    StringGridHistory& operator=(const StringGridHistory&) = delete;

    bool stepOpen() const { return m_depth > 0; }
    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < m_steps.size(); }
    int undoSteps() const { return static_cast<int>(m_done); }
    // The last step done, or undone, replayed; nothing when there is none.
    void undo() noexcept;
    void redo() noexcept;
    std::size_t bytes() const;
    // Whether a step that takes `rows` rows out of the table would be kept.
    bool wouldKeepDropping(int rows) const;

    void beginStep() { ++m_depth; }
    void endStep() noexcept;

    // Called by the model: prepare() before a change (it may throw std::bad_alloc, and then
    // the change must not be made), one record call after it.
    void prepare();
    void recordRow(int at, StringGridRow previous) noexcept;
    void recordRowSet(std::vector<change::RowSet::Entry> previous) noexcept;
    void recordRowsIn(int at, int count, std::vector<StringGridRow> room) noexcept;
    void recordRowsOut(int at, std::vector<StringGridRow> rows) noexcept;
    void recordRowMove(int from, int to) noexcept;
    void recordColumnMove(int from, int to) noexcept;
    // A change the history cannot undo (the column count): every step is dropped.
    void forget() noexcept;

private:
    void add(GridChange&& change, std::size_t bytes) noexcept;
    void commit() noexcept;
    // Drops the oldest steps until one more, of `bytes`, fits within the bounds.
    void makeRoomFor(std::size_t bytes) noexcept;
    void clear() noexcept;
    // What the steps may keep beside the table as it stands.
    std::size_t available() const;

    GridReplay& m_table;
    const HistoryLimits m_limits;
    // Steps [0, m_done) can be undone, the rest redone. Undo and redo only move m_done, so
    // that they allocate nothing.
    std::vector<std::unique_ptr<GridStep>> m_steps;
    std::size_t m_done = 0;
    int m_depth = 0;
    std::vector<GridChange> m_open;
    std::size_t m_openBytes = 0;
};

} // namespace widgets
