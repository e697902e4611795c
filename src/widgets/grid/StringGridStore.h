#pragma once

// The cells of a string grid, addressed by column and row from 0 (fixed row and column
// included), without any Qt. Rows are packed (StringGridRow) into the store's arena, or refer
// to a block of shared rows (SharedRows) that makes their cells when they are read; they are
// kept in position order, so moving a row rotates a vector of handles and touches no text.
// Columns are reached through a column -> slot table, so moving a column only permutes it.
//
// A shared row with one cell changed is kept as a patch over it (StringGridRow), so that a
// rewritten column copies none of the rows' other cells.
//
// The view of a cell (cell()) stays valid until the cell changes or, for a shared row, until
// another cell of a shared row is read.

#include "widgets/grid/GridRows.h"
#include "widgets/grid/SharedRows.h"
#include "widgets/grid/StringGridArena.h"
#include "widgets/grid/StringGridRow.h"
#include "widgets/grid/TableMakeup.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace widgets {

class StringGridStore final {
public:
    StringGridStore() = default;
    StringGridStore(const StringGridStore&) = delete;
    StringGridStore& operator=(const StringGridStore&) = delete;

    int colCount() const { return static_cast<int>(m_slotOfColumn.size()); }
    int rowCount() const { return static_cast<int>(m_rows.size()); }

    // Both indexes must lie within the counts.
    std::string_view cell(int col, int row) const;
    // Returns false, changing nothing, when the cell already holds `text`.
    bool setCell(int col, int row, std::string_view text);

    // Raising appends empty columns or rows; lowering drops the last ones with their text.
    void setColCount(int count);
    void setRowCount(int count);

    // Inserts `rows` before row `before` (0 to rowCount()). Cell c of an inserted row is
    // rows[i][c]; cells a row does not give are empty, cells beyond colCount() are ignored.
    void insertRows(int before, const std::vector<std::vector<std::string>>& rows);
    void insertRows(int before, RowSource& rows);

    // The same insertion in two steps, so that a model announces it only once nothing can
    // fail any more: prepareRows packs the cells and makes room (an exception, from memory
    // or from the source, leaves the store as it was); insertPrepared, with nothing
    // changed in between, cannot fail.
    std::vector<StringGridRow> prepareRows(RowSource& rows);
    // Handles to every row of `rows`, whose block the store keeps from now on while any of
    // them lives.
    std::vector<StringGridRow> prepareShared(std::shared_ptr<const SharedRows> rows);
    void insertPrepared(int before, std::vector<StringGridRow>&& rows) noexcept;
    // Room for `count` rows, so that setRowCount up to it cannot fail.
    void reserveRows(int count);

    // Whole rows handed out and taken back, for an undo history that keeps rows without
    // copying their text. A row handed out stays allocated in this store's arena until it
    // comes back or is released here.
    //  - packWithCell packs a copy of row `row` with cell `col` holding `text` (a patch when
    //    the row is shared, or a patch of the same cell);
    //  - exchangeRow puts `row` at position `at` and hands out the one that was there;
    //  - takeRows moves `count` rows from position `at` to the end of `into`, which must
    //    have the room for them;
    //  - putRows moves `rows` back in before position `at`; `rows` keeps its capacity.
    StringGridRow packWithCell(int col, int row, std::string_view text);
    StringGridRow exchangeRow(int at, StringGridRow row) noexcept;
    void takeRows(int at, int count, std::vector<StringGridRow>& into) noexcept;
    void putRows(int at, std::vector<StringGridRow>& rows);
    void releaseRows(std::span<StringGridRow> rows) noexcept;
    // What a row handed out takes in memory: its packed block, or its share of its block.
    std::size_t bytesOf(StringGridRow row) const;
    std::size_t bytesOfAll(std::span<const StringGridRow> rows) const;
    // What the rows in the table take, kept up to date with every change.
    std::size_t tableBytes() const { return m_tableBytes; }

    // Moves row `from` to position `to`, the rows between shifting by one; likewise columns.
    void moveRow(int from, int to);
    void moveColumn(int from, int to);

    // The makeup of rows `first` to `first + count - 1` (those that exist), appended to `into`.
    void describeRows(int first, int count, TableMakeup& into) const;

    // Bytes the cell text holds from the system, for measurements.
    std::size_t reservedBytes() const { return m_arena.reservedBytes(); }

private:
    // A block of shared rows, with the slot each of its columns had when it was inserted.
    struct SharedBlock {
        std::shared_ptr<const SharedRows> rows;
        std::vector<int> columnOfSlot;
        std::size_t live = 0;       // handles not released yet
        std::size_t rowBytes = 0;   // each row's share of the block's memory
    };

    // Replaces `row` with one packed from `slots` (which may point into `row` itself).
    void repack(StringGridRow& row, std::span<const std::string_view> slots);
    int slotCountOf(StringGridRow row) const;
    // Slot views that stay valid together (a shared row is made whole).
    std::string_view slotOf(StringGridRow row, int slot) const;
    // One slot alone (a shared row makes only that cell).
    std::string_view cellOf(StringGridRow row, int slot) const;
    void release(StringGridRow& row) noexcept;

    // Declared first: the rows point into it.
    StringGridArena m_arena;
    std::vector<StringGridRow> m_rows;
    std::vector<int> m_slotOfColumn;  // always a permutation of 0 .. colCount() - 1
    std::map<std::uint32_t, SharedBlock> m_shared;
    std::size_t m_tableBytes = 0;
    std::uint32_t m_nextShared = 0;
    // The shared row read last, made into cells once for all of its cells.
    mutable StringGridRow m_made;
    mutable std::string m_madeText;
    mutable std::vector<std::string_view> m_madeCells;
    mutable std::string m_cellText;  // a shared row's cell made alone
};

} // namespace widgets
