#pragma once

// The cells of a string grid, addressed by column and row from 0 (fixed row and column
// included), without any Qt. Rows are packed (StringGridRow) into the store's arena and kept
// in position order, so moving a row rotates a vector of pointers and touches no text.
// Columns are reached through a column -> slot table, so moving a column only permutes it.

#include "widgets/grid/GridRows.h"
#include "widgets/grid/StringGridArena.h"
#include "widgets/grid/StringGridRow.h"

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
    // Bytes the packed blocks of rows `from` to `to` (not included) take.
    std::size_t rowBytes(int from, int to) const;

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
    void insertRows(int before, const GridRows& rows);

    // The same insertion in two steps, so that a model announces it only once nothing can
    // fail any more: prepareRows packs the cells and makes room (std::bad_alloc leaves the
    // store as it was); insertPrepared, with nothing changed in between, cannot fail.
    std::vector<StringGridRow> prepareRows(const GridRows& rows);
    void insertPrepared(int before, std::vector<StringGridRow>&& rows) noexcept;
    // Room for `count` rows, so that setRowCount up to it cannot fail.
    void reserveRows(int count);

    // Whole rows handed out and taken back, for an undo history that keeps rows without
    // copying their text. A row handed out stays allocated in this store's arena until it
    // comes back or is released here.
    //  - packWithCell packs a copy of row `row` with cell `col` holding `text`;
    //  - exchangeRow puts `row` at position `at` and hands out the one that was there;
    //  - takeRows moves `count` rows from position `at` to the end of `into`, which must
    //    have the room for them;
    //  - putRows moves `rows` back in before position `at`; `rows` keeps its capacity.
    StringGridRow packWithCell(int col, int row, std::string_view text);
    StringGridRow exchangeRow(int at, StringGridRow row) noexcept;
    void takeRows(int at, int count, std::vector<StringGridRow>& into) noexcept;
    void putRows(int at, std::vector<StringGridRow>& rows);
    void releaseRows(std::span<StringGridRow> rows) noexcept;

    // Moves row `from` to position `to`, the rows between shifting by one; likewise columns.
    void moveRow(int from, int to);
    void moveColumn(int from, int to);

    // Bytes the cell text holds from the system, for measurements.
    std::size_t reservedBytes() const { return m_arena.reservedBytes(); }

private:
    // Replaces `row` with one packed from `slots` (which may point into `row` itself).
    void repack(StringGridRow& row, std::span<const std::string_view> slots);

    // Declared first: the rows point into it.
    StringGridArena m_arena;
    std::vector<StringGridRow> m_rows;
    std::vector<int> m_slotOfColumn;  // always a permutation of 0 .. colCount() - 1
};

} // namespace widgets
