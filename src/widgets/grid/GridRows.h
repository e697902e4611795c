#pragma once

// The RowSource that holds its rows itself: a batch filled in memory for
// StringGrid::insertRows, which copies its cells and keeps nothing of it. Held flat: every
// cell's bytes in one buffer and a table of where each cell ends. Building many rows this
// way costs a few buffer growths instead of a heap allocation per cell (rows made on the
// fly need no batch: a RowSource of their own hands them over one by one).

#include "widgets/grid/RowSource.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace widgets {

class GridRows final : public RowSource {
public:
    explicit GridRows(int columns) : m_columns(columns > 0 ? columns : 1) {}

    // Appends a row; cells beyond the column count are ignored, missing ones are empty.
    void append(std::initializer_list<std::string_view> cells);
    void append(const std::vector<std::string>& cells);

    std::size_t size() const { return m_ends.size() / static_cast<std::size_t>(m_columns); }
    std::string_view cell(std::size_t row, int col) const;

    std::size_t rowCount() const override { return size(); }
    void cells(std::size_t index, std::span<std::string_view> cells) override;

    // The widest row decides the column count.
    static GridRows from(const std::vector<std::vector<std::string>>& rows);

private:
    template <typename Cells>
    void appendCells(const Cells& cells);

    int m_columns;
    std::string m_bytes;
    std::vector<std::size_t> m_ends;  // end offset of each cell, row after row
};

} // namespace widgets
