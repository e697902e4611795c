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

std::size_t StringGridStore::bytesOf(StringGridRow row) const
{
    if (row.isPatched())
        return row.byteSize() + bytesOf(row.patchBase());
    if (!row.isShared())
        return row.byteSize();
    const auto block = m_shared.find(row.sharedBlock());
    return block == m_shared.end() ? 0 : block->second.rowBytes;
}

int StringGridStore::slotCountOf(StringGridRow row) const
{
    if (row.isPatched())
        return std::max(slotCountOf(row.patchBase()), row.patchedSlot() + 1);
    if (!row.isShared())
        return row.slotCount();
    const auto block = m_shared.find(row.sharedBlock());
    return block == m_shared.end() ? 0 : static_cast<int>(block->second.columnOfSlot.size());
}

std::string_view StringGridStore::slotOf(StringGridRow row, int slot) const
{
    if (row.isPatched()) {
        if (slot == row.patchedSlot())
            return row.patchText();
        row = row.patchBase();
    }
    if (!row.isShared())
        return row.slot(slot);
    const auto found = m_shared.find(row.sharedBlock());
    if (found == m_shared.end())
        return {};
    const SharedBlock& block = found->second;
    if (slot < 0 || at(slot) >= block.columnOfSlot.size())
        return {};
    if (m_made != row) {
        // All of the row's cells at once: a cell is rarely read alone.
        m_made = StringGridRow();
        m_madeCells.assign(block.columnOfSlot.size(), std::string_view());
        block.rows->cells(row.sharedIndex(), m_madeText, m_madeCells);
        m_made = row;
    }
    return m_madeCells[at(block.columnOfSlot[at(slot)])];
}

std::string_view StringGridStore::cellOf(StringGridRow row, int slot) const
{
    if (row.isPatched()) {
        if (slot == row.patchedSlot())
            return row.patchText();
        row = row.patchBase();
    }
    if (!row.isShared() || row == m_made)
        return slotOf(row, slot);
    const auto found = m_shared.find(row.sharedBlock());
    if (found == m_shared.end() || slot < 0 || at(slot) >= found->second.columnOfSlot.size())
        return {};
    const SharedBlock& block = found->second;
    return block.rows->cell(row.sharedIndex(), at(block.columnOfSlot[at(slot)]), m_cellText);
}

void StringGridStore::release(StringGridRow& row) noexcept
{
    if (row.isShared()) {
        const auto block = m_shared.find(row.sharedBlock());
        if (block != m_shared.end() && --block->second.live == 0) {
            if (m_made.isShared() && m_made.sharedBlock() == row.sharedBlock())
                m_made = StringGridRow();
            m_shared.erase(block);
        }
        row = StringGridRow();
        return;
    }
    if (row.isPatched()) {
        StringGridRow base = row.patchBase();
        release(base);
    }
    row.release(m_arena);
}

std::string_view StringGridStore::cell(int col, int row) const
{
    return cellOf(m_rows[at(row)], m_slotOfColumn[at(col)]);
}

void StringGridStore::repack(StringGridRow& row, std::span<const std::string_view> slots)
{
    StringGridRow packed = StringGridRow::pack(m_arena, slots);
    m_tableBytes += packed.byteSize();
    m_tableBytes -= bytesOf(row);
    release(row);
    row = packed;
}

StringGridRow StringGridStore::packWithCell(int col, int row, std::string_view text)
{
    const StringGridRow source = m_rows[at(row)];
    const int slot = m_slotOfColumn[at(col)];
    const StringGridRow base = source.isPatched() && source.patchedSlot() == slot ? source.patchBase() : source;
    if (base.isShared()) {
        if (const auto block = m_shared.find(base.sharedBlock()); block != m_shared.end()) {
            const StringGridRow patched = StringGridRow::patch(m_arena, base, slot, text);
            ++block->second.live;  // the patch is one more user of the block
            return patched;
        }
    }
    std::vector<std::string_view> slots(at(std::max(slotCountOf(source), slot + 1)));
    for (int i = 0; i < static_cast<int>(slots.size()); ++i)
        slots[at(i)] = i == slot ? text : slotOf(source, i);
    return StringGridRow::pack(m_arena, slots);
}

bool StringGridStore::setCell(int col, int row, std::string_view text)
{
    if (cell(col, row) == text)
        return false;
    StringGridRow previous = exchangeRow(row, packWithCell(col, row, text));
    release(previous);
    return true;
}

StringGridRow StringGridStore::exchangeRow(int row, StringGridRow replacement) noexcept
{
    m_tableBytes += bytesOf(replacement);
    const StringGridRow previous = std::exchange(m_rows[at(row)], replacement);
    m_tableBytes -= bytesOf(previous);
    return previous;
}

void StringGridStore::takeRows(int from, int count, std::vector<StringGridRow>& into) noexcept
{
    const auto first = m_rows.begin() + from;
    m_tableBytes -= bytesOfAll({&*first, std::size_t(count)});
    into.insert(into.end(), first, first + count);  // within its capacity: no allocation
    m_rows.erase(first, first + count);
}

void StringGridStore::putRows(int at, std::vector<StringGridRow>& rows)
{
    m_rows.reserve(m_rows.size() + rows.size());
    m_rows.insert(m_rows.begin() + at, rows.begin(), rows.end());
    m_tableBytes += bytesOfAll(rows);
    rows.clear();
}

std::size_t StringGridStore::bytesOfAll(std::span<const StringGridRow> rows) const
{
    // The rows of one insertion come one after the other: their block is looked up once.
    std::size_t bytes = 0;
    std::uint32_t lastBlock = 0;
    std::size_t lastShare = 0;
    bool known = false;
    for (const StringGridRow row : rows) {
        if (!row.isShared()) {
            bytes += bytesOf(row);
            continue;
        }
        if (!known || row.sharedBlock() != lastBlock) {
            lastBlock = row.sharedBlock();
            lastShare = bytesOf(row);
            known = true;
        }
        bytes += lastShare;
    }
    return bytes;
}

void StringGridStore::releaseRows(std::span<StringGridRow> rows) noexcept
{
    for (StringGridRow& row : rows)
        release(row);
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
        const int slots = slotCountOf(row);
        if (slots == 0 || (!permuted && slots <= count && !row.isShared() && !row.isPatched()))
            continue;
        for (int col = 0; col < count; ++col)
            kept[at(col)] = slotOf(row, m_slotOfColumn[at(col)]);
        repack(row, kept);
    }
    m_slotOfColumn.resize(at(count));
    std::iota(m_slotOfColumn.begin(), m_slotOfColumn.end(), 0);
}

void StringGridStore::setRowCount(int count)
{
    count = std::max(count, 0);
    if (count < rowCount())
        m_tableBytes -= bytesOfAll({m_rows.data() + count, m_rows.size() - at(count)});
    for (int row = count; row < rowCount(); ++row)
        release(m_rows[at(row)]);
    m_rows.resize(at(count));
}

void StringGridStore::insertRows(int before, const std::vector<std::vector<std::string>>& rows)
{
    GridRows batch = GridRows::from(rows);
    insertRows(before, batch);
}

void StringGridStore::insertRows(int before, RowSource& rows)
{
    insertPrepared(before, prepareRows(rows));
}

std::vector<StringGridRow> StringGridStore::prepareRows(RowSource& rows)
{
    const std::size_t count = rows.rowCount();
    std::vector<StringGridRow> packed;
    try {
        m_rows.reserve(m_rows.size() + count);
        packed.reserve(count);
        std::vector<std::string_view> cells(at(colCount()));
        std::vector<std::string_view> slots(at(colCount()));
        const bool inOrder = std::is_sorted(m_slotOfColumn.begin(), m_slotOfColumn.end());
        for (std::size_t i = 0; i < count; ++i) {
            std::fill(cells.begin(), cells.end(), std::string_view());
            rows.cells(i, cells);
            if (inOrder) {
                packed.push_back(StringGridRow::pack(m_arena, cells));
                continue;
            }
            for (int col = 0; col < colCount(); ++col)
                slots[at(m_slotOfColumn[at(col)])] = cells[at(col)];
            packed.push_back(StringGridRow::pack(m_arena, slots));
        }
    } catch (...) {
        for (StringGridRow& row : packed)
            row.release(m_arena);
        throw;
    }
    return packed;
}

std::vector<StringGridRow> StringGridStore::prepareShared(std::shared_ptr<const SharedRows> rows)
{
    const std::size_t count = rows->rowCount();
    std::vector<StringGridRow> handles;
    if (count == 0)
        return handles;
    m_rows.reserve(m_rows.size() + count);
    handles.reserve(count);
    SharedBlock block;
    block.columnOfSlot.assign(at(colCount()), 0);
    for (int col = 0; col < colCount(); ++col)
        block.columnOfSlot[at(m_slotOfColumn[at(col)])] = col;
    block.rowBytes = rows->byteSize() / count;
    block.live = count;
    block.rows = std::move(rows);
    const std::uint32_t number = m_nextShared++;
    for (std::size_t i = 0; i < count; ++i)
        handles.push_back(StringGridRow::shared(number, static_cast<std::uint32_t>(i)));
    m_shared.emplace(number, std::move(block));  // last: everything that may throw is done
    return handles;
}

void StringGridStore::insertPrepared(int before, std::vector<StringGridRow>&& rows) noexcept
{
    // prepareRows made the room, and rows are plain handles: this neither allocates nor throws.
    m_rows.insert(m_rows.begin() + before, rows.begin(), rows.end());
    m_tableBytes += bytesOfAll(rows);
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

void StringGridStore::describeRows(int first, int count, TableMakeup& into) const
{
    const int columns = colCount();
    into.columns = columns;
    std::vector<int> columnOfSlot(at(columns), -1);
    for (int col = 0; col < columns; ++col)
        columnOfSlot[at(m_slotOfColumn[at(col)])] = col;
    std::uint32_t lastNumber = 0;
    std::uint32_t lastIndex = TableMakeup::kOwnCells;
    // The makeup's block of a shared block, made at its first row; none for a block gone.
    const auto blockOf = [&](std::uint32_t number) {
        if (lastIndex != TableMakeup::kOwnCells && number == lastNumber)
            return lastIndex;
        const auto known = into.blockOfNumber.find(number);
        if (known != into.blockOfNumber.end()) {
            lastNumber = number;
            return lastIndex = known->second;
        }
        const auto found = m_shared.find(number);
        if (found == m_shared.end())
            return TableMakeup::kOwnCells;
        const SharedBlock& block = found->second;
        TableMakeup::Block& made = into.blocks.emplace_back();
        made.rows = block.rows;
        made.width = static_cast<int>(block.columnOfSlot.size());
        made.shown.resize(at(columns), -1);
        for (int col = 0; col < columns; ++col) {
            const int slot = m_slotOfColumn[at(col)];
            if (at(slot) < block.columnOfSlot.size())
                made.shown[at(col)] = block.columnOfSlot[at(slot)];
        }
        lastNumber = number;
        lastIndex = static_cast<std::uint32_t>(into.blocks.size() - 1);
        into.blockOfNumber.emplace(number, lastIndex);
        return lastIndex;
    };
    const int from = std::max(first, 0);
    const int to = std::min(rowCount(), from + std::max(count, 0));
    for (int r = from; r < to; ++r) {
        const StringGridRow row = m_rows[at(r)];
        TableMakeup::Row made;
        made.text = static_cast<std::uint32_t>(into.ends.size());
        if (row.isShared()) {
            made.block = blockOf(row.sharedBlock());
            made.index = row.sharedIndex();
        } else if (row.isPatched()) {
            const StringGridRow base = row.patchBase();
            made.block = blockOf(base.sharedBlock());
            made.index = base.sharedIndex();
            if (made.block != TableMakeup::kOwnCells && row.patchedSlot() < columns) {
                made.changedColumn = columnOfSlot[at(row.patchedSlot())];
                into.addText(row.patchText());
            }
        }
        if (made.block == TableMakeup::kOwnCells) {
            made.changedColumn = -1;
            made.text = static_cast<std::uint32_t>(into.ends.size());
            for (int col = 0; col < columns; ++col)
                into.addText(cellOf(row, m_slotOfColumn[at(col)]));
        }
        into.rows.push_back(made);
    }
}

} // namespace widgets
