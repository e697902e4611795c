#include "widgets/grid/GridRows.h"

#include <algorithm>

namespace widgets {

template <typename Cells>
void GridRows::appendCells(const Cells& cells)
{
    int col = 0;
    for (std::string_view cell : cells) {
        if (col == m_columns)
            break;
        m_bytes.append(cell);
        m_ends.push_back(m_bytes.size());
        ++col;
    }
    for (; col < m_columns; ++col)
        m_ends.push_back(m_bytes.size());
}

void GridRows::append(std::initializer_list<std::string_view> cells)
{
    appendCells(cells);
}

void GridRows::append(const std::vector<std::string>& cells)
{
    appendCells(cells);
}

GridRows GridRows::from(const std::vector<std::vector<std::string>>& rows)
{
    std::size_t columns = 1;
    for (const auto& row : rows)
        columns = std::max(columns, row.size());
    GridRows batch(static_cast<int>(columns));
    for (const auto& row : rows)
        batch.append(row);
    return batch;
}

std::string_view GridRows::cell(std::size_t row, int col) const
{
    if (col < 0 || col >= m_columns || row >= size())
        return {};
    const std::size_t index = row * static_cast<std::size_t>(m_columns) + static_cast<std::size_t>(col);
    const std::size_t begin = index == 0 ? 0 : m_ends[index - 1];
    return std::string_view(m_bytes).substr(begin, m_ends[index] - begin);
}

void GridRows::cells(std::size_t index, std::span<std::string_view> cells)
{
    const std::size_t shown = std::min(cells.size(), static_cast<std::size_t>(m_columns));
    for (std::size_t col = 0; col < shown; ++col)
        cells[col] = cell(index, static_cast<int>(col));
}

} // namespace widgets
