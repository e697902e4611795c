#include "app/recovery/RecoveredTable.h"

#include "app/recovery/CellBlock.h"

#include <map>
#include <utility>

namespace app::recovery {

using widgets::TableMakeup;

namespace {

// A row's cells as the table shows them, columns as in `makeup`.
void rowCells(const TableMakeup& makeup, const TableMakeup::Row& row, std::string& scratch,
              std::span<std::string_view> cells)
{
    const std::size_t columns = std::min(cells.size(), static_cast<std::size_t>(makeup.columns));
    if (row.block == TableMakeup::kOwnCells) {
        for (std::size_t c = 0; c < columns; ++c)
            cells[c] = makeup.text(row.text + c);
        return;
    }
    const TableMakeup::Block& block = makeup.blocks[row.block];
    std::vector<std::string_view> own(static_cast<std::size_t>(block.width));
    block.rows->cells(row.index, scratch, own);
    for (std::size_t c = 0; c < columns; ++c)
        cells[c] = block.shown[c] >= 0 ? own[static_cast<std::size_t>(block.shown[c])] : std::string_view();
    if (row.changedColumn >= 0 && static_cast<std::size_t>(row.changedColumn) < columns)
        cells[static_cast<std::size_t>(row.changedColumn)] = makeup.text(row.text);
}

} // namespace

RecoveredTable::RecoveredTable(TableMakeup makeup, std::size_t first) : m_makeup(std::move(makeup)), m_first(first)
{
    m_bytes = m_makeup.bytes.size() + m_makeup.ends.size() * sizeof(std::size_t)
              + m_makeup.rows.size() * sizeof(TableMakeup::Row);
    for (const TableMakeup::Block& block : m_makeup.blocks)
        m_bytes += block.rows->byteSize();
}

void RecoveredTable::cells(std::size_t index, std::string& scratch, std::span<std::string_view> cells) const
{
    rowCells(m_makeup, m_makeup.rows[m_first + index], scratch, cells);
}

TableMakeup flattened(TableMakeup grid)
{
    std::vector<const RecoveredTable*> recovered(grid.blocks.size());
    bool any = false;
    for (std::size_t b = 0; b < grid.blocks.size(); ++b)
        any |= (recovered[b] = dynamic_cast<const RecoveredTable*>(grid.blocks[b].rows.get())) != nullptr;
    if (!any)
        return grid;

    TableMakeup flat;
    flat.columns = grid.columns;
    flat.rows.reserve(grid.rows.size());
    const std::size_t columns = static_cast<std::size_t>(grid.columns);
    // The block of the flat makeup for block `under` of the recovered block `b` (or for the
    // grid's own block `b`, under = -1).
    std::map<std::pair<std::uint32_t, std::int64_t>, std::uint32_t> flatBlocks;
    const auto flatBlock = [&](std::uint32_t b, std::int64_t under) {
        const auto [found, added] = flatBlocks.try_emplace({b, under}, static_cast<std::uint32_t>(flat.blocks.size()));
        if (added) {
            const TableMakeup::Block& outer = grid.blocks[b];
            if (under < 0) {
                flat.blocks.push_back(outer);
            } else {
                const TableMakeup::Block& inner = recovered[b]->makeup().blocks[static_cast<std::size_t>(under)];
                TableMakeup::Block& made = flat.blocks.emplace_back();
                made.rows = inner.rows;
                made.width = inner.width;
                made.shown.assign(columns, -1);
                for (std::size_t c = 0; c < columns; ++c)
                    if (const int shown = outer.shown[c]; shown >= 0 && static_cast<std::size_t>(shown) < inner.shown.size())
                        made.shown[c] = inner.shown[static_cast<std::size_t>(shown)];
            }
        }
        return found->second;
    };
    const auto ownRow = [&](const std::vector<std::string_view>& cells) {
        TableMakeup::Row row;
        row.text = static_cast<std::uint32_t>(flat.ends.size());
        for (const std::string_view cell : cells)
            flat.addText(cell);
        flat.rows.push_back(row);
    };

    std::string scratch;
    std::vector<std::string_view> cells(columns);
    for (const TableMakeup::Row& row : grid.rows) {
        if (row.block == TableMakeup::kOwnCells || !recovered[row.block]) {
            TableMakeup::Row made = row;
            made.text = static_cast<std::uint32_t>(flat.ends.size());
            if (row.block != TableMakeup::kOwnCells)
                made.block = flatBlock(row.block, -1);
            const std::size_t texts = row.block == TableMakeup::kOwnCells ? columns : row.changedColumn >= 0 ? 1 : 0;
            for (std::size_t t = 0; t < texts; ++t)
                flat.addText(grid.text(row.text + t));
            flat.rows.push_back(made);
            continue;
        }
        const TableMakeup::Block& outer = grid.blocks[row.block];
        const RecoveredTable& table = *recovered[row.block];
        const TableMakeup::Row& inner = table.makeup().rows[table.first() + row.index];
        // The grid column that shows the inner row's changed cell, if any shows it.
        int innerChanged = -1;
        if (inner.block != TableMakeup::kOwnCells && inner.changedColumn >= 0)
            for (std::size_t c = 0; c < columns; ++c)
                if (outer.shown[c] == inner.changedColumn)
                    innerChanged = static_cast<int>(c);
        if (inner.block == TableMakeup::kOwnCells
            || (innerChanged >= 0 && row.changedColumn >= 0 && innerChanged != row.changedColumn)) {
            // Cells of its own, or two changed cells: the row's text whole.
            std::fill(cells.begin(), cells.end(), std::string_view());
            std::vector<std::string_view> own(table.makeup().columns > 0 ? std::size_t(table.makeup().columns) : 0);
            rowCells(table.makeup(), inner, scratch, own);
            for (std::size_t c = 0; c < columns; ++c)
                if (const int shown = outer.shown[c]; shown >= 0 && std::size_t(shown) < own.size())
                    cells[c] = own[std::size_t(shown)];
            if (row.changedColumn >= 0)
                cells[std::size_t(row.changedColumn)] = grid.text(row.text);
            ownRow(cells);
            continue;
        }
        TableMakeup::Row made;
        made.block = flatBlock(row.block, inner.block);
        made.index = inner.index;
        made.text = static_cast<std::uint32_t>(flat.ends.size());
        if (row.changedColumn >= 0) {
            made.changedColumn = row.changedColumn;
            flat.addText(grid.text(row.text));
        } else if (innerChanged >= 0) {
            made.changedColumn = innerChanged;
            flat.addText(table.makeup().text(inner.text));
        }
        flat.rows.push_back(made);
    }
    return flat;
}

WorkPicture flattenedPicture(WorkPicture picture)
{
    std::map<const widgets::SharedRows*, std::uint32_t> ids;
    for (std::size_t b = 0; b < picture.table.blocks.size(); ++b)
        ids.emplace(picture.table.blocks[b].rows.get(), picture.blockIds[b]);
    picture.table = flattened(std::move(picture.table));
    picture.blockIds.clear();
    for (const TableMakeup::Block& block : picture.table.blocks) {
        const auto* kept = dynamic_cast<const CellBlock*>(block.rows.get());
        picture.blockIds.push_back(kept ? kept->id() : ids.at(block.rows.get()));
    }
    return picture;
}

} // namespace app::recovery
