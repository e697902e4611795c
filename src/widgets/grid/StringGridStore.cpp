#include "widgets/grid/StringGridStore.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace widgets {

namespace {

template<typename T>
void moveElement(std::vector<T>& items, int from, int to)
{
    const auto first = items.begin();
    if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
    else if (to < from)
        std::rotate(first + to, first + from, first + from + 1);
}

std::size_t at(int index)
{
    return static_cast<std::size_t>(index);
}

} // namespace

std::size_t StringGridStore::rowBytes(int from, int to) const
{
    std::size_t bytes = 0;
    for (int row = std::max(from, 0); row < std::min(to, rowCount()); ++row)
        bytes += m_rows[std::size_t(row)].byteSize();
    return bytes;
}

std::string_view StringGridStore::cell(int col, int row) const
{
    return m_rows[at(row)].slot(m_slotOfColumn[at(col)]);
}

void StringGridStore::repack(StringGridRow& row, std::span<const std::string_view> slots)
{
    StringGridRow packed = StringGridRow::pack(m_arena, slots);
    row.release(m_arena);
    row = packed;
}

StringGridRow StringGridStore::packWithCell(int col, int row, std::string_view text)
{
    const StringGridRow& source = m_rows[at(row)];
    const int slot = m_slotOfColumn[at(col)];
    std::vector<std::string_view> slots(at(std::max(source.slotCount(), slot + 1)));
    for (int i = 0; i < static_cast<int>(slots.size()); ++i)
        slots[at(i)] = i == slot ? text : source.slot(i);
    return StringGridRow::pack(m_arena, slots);
}

bool StringGridStore::setCell(int col, int row, std::string_view text)
{
    if (cell(col, row) == text)
        return false;
    exchangeRow(row, packWithCell(col, row, text)).release(m_arena);
    return true;
}

StringGridRow StringGridStore::exchangeRow(int row, StringGridRow replacement) noexcept
{
    return std::exchange(m_rows[at(row)], replacement);
}

void StringGridStore::takeRows(int from, int count, std::vector<StringGridRow>& into) noexcept
{
    const auto first = m_rows.begin() + from;
    into.insert(into.end(), first, first + count);  // within its capacity: no allocation
    m_rows.erase(first, first + count);
}

void StringGridStore::putRows(int at, std::vector<StringGridRow>& rows)
{
    m_rows.reserve(m_rows.size() + rows.size());
    m_rows.insert(m_rows.begin() + at, rows.begin(), rows.end());
    rows.clear();
}

void StringGridStore::releaseRows(std::span<StringGridRow> rows) noexcept
{
    for (StringGridRow& row : rows)
        row.release(m_arena);
}

void StringGridStore::setColCount(int count)
{
    count = std::max(count, 0);
    const int old = colCount();
    if (count >= old) {
        // Slots old .. count - 1 are empty in every row: the permutation invariant means no
        // row ever stored text in them.
        for (int slot = old; slot < count; ++slot)
            m_slotOfColumn.push_back(slot);
        return;
    }
    // Repack the rows so that the surviving columns sit in slots 0 .. count - 1 in their
    // order and the dropped columns' text is gone. When the columns were never moved, only
    // rows storing slots beyond the new count need it.
    bool permuted = false;
    for (int col = 0; col < count && !permuted; ++col)
        permuted = m_slotOfColumn[at(col)] != col;
    std::vector<std::string_view> kept(at(count));
    for (StringGridRow& row : m_rows) {
        if (row.slotCount() == 0 || (!permuted && row.slotCount() <= count))
            continue;
        for (int col = 0; col < count; ++col)
            kept[at(col)] = row.slot(m_slotOfColumn[at(col)]);
        repack(row, kept);
    }
    m_slotOfColumn.resize(at(count));
    std::iota(m_slotOfColumn.begin(), m_slotOfColumn.end(), 0);
}

void StringGridStore::setRowCount(int count)
{
    count = std::max(count, 0);
    for (int row = count; row < rowCount(); ++row)
        m_rows[at(row)].release(m_arena);
    m_rows.resize(at(count));
}

void StringGridStore::insertRows(int before, const std::vector<std::vector<std::string>>& rows)
{
    insertRows(before, GridRows::from(rows));
}

void StringGridStore::insertRows(int before, const GridRows& rows)
{
    insertPrepared(before, prepareRows(rows));
}

std::vector<StringGridRow> StringGridStore::prepareRows(const GridRows& rows)
{
    std::vector<StringGridRow> packed;
    try {
        m_rows.reserve(m_rows.size() + rows.size());
        packed.reserve(rows.size());
        std::vector<std::string_view> slots(at(colCount()));
        const int cols = std::min(colCount(), rows.columns());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            std::fill(slots.begin(), slots.end(), std::string_view());
            for (int col = 0; col < cols; ++col)
                slots[at(m_slotOfColumn[at(col)])] = rows.cell(i, col);
            packed.push_back(StringGridRow::pack(m_arena, slots));
        }
    } catch (...) {
        for (StringGridRow& row : packed)
            row.release(m_arena);
        throw;
    }
    return packed;
}

void StringGridStore::insertPrepared(int before, std::vector<StringGridRow>&& rows) noexcept
{
    // prepareRows made the room, and rows are plain handles: this neither allocates nor throws.
    m_rows.insert(m_rows.begin() + before, rows.begin(), rows.end());
}

void StringGridStore::reserveRows(int count)
{
    m_rows.reserve(at(std::max(count, 0)));
}

void StringGridStore::moveRow(int from, int to)
{
    moveElement(m_rows, from, to);
}

void StringGridStore::moveColumn(int from, int to)
{
    moveElement(m_slotOfColumn, from, to);
}

} // namespace widgets
