#include "app/recovery/CellBlock.h"

#include "app/recovery/SealedFile.h"

namespace app::recovery {

std::string encodedBlock(const widgets::SharedRows& rows, int width)
{
    const std::size_t count = rows.rowCount();
    std::vector<std::uint64_t> ends;
    ends.reserve(count * static_cast<std::size_t>(width));
    std::string texts;
    std::string scratch;
    std::vector<std::string_view> cells(static_cast<std::size_t>(width));
    for (std::size_t i = 0; i < count; ++i) {
        std::fill(cells.begin(), cells.end(), std::string_view());
        rows.cells(i, scratch, cells);
        for (const std::string_view cell : cells) {
            texts.append(cell);
            ends.push_back(texts.size());
        }
    }
    PayloadWriter payload;
    payload.put<std::uint32_t>(static_cast<std::uint32_t>(width));
    payload.putArray(ends);
    payload.putText(texts);
    return sealed(FileKind::Block, payload.bytes());
}

std::shared_ptr<const CellBlock> CellBlock::decode(std::uint32_t id, std::string file)
{
    std::shared_ptr<CellBlock> block(new CellBlock);
    block->m_file = std::move(file);
    PayloadReader payload(unsealed(FileKind::Block, block->m_file));
    block->m_id = id;
    block->m_width = static_cast<int>(payload.get<std::uint32_t>());
    block->m_ends = payload.getArray<std::uint64_t>();
    block->m_texts = payload.getText();
    const std::size_t width = static_cast<std::size_t>(block->m_width);
    if (block->m_width <= 0 || block->m_width > 1024 || block->m_ends.size() % width != 0 || !payload.atEnd())
        throw Unreadable(Unreadable::Why::Damaged);
    std::uint64_t previous = 0;
    for (const std::uint64_t end : block->m_ends) {
        if (end < previous || end > block->m_texts.size())
            throw Unreadable(Unreadable::Why::Damaged);
        previous = end;
    }
    block->m_rows = block->m_ends.size() / width;
    return block;
}

void CellBlock::cells(std::size_t index, std::string& scratch, std::span<std::string_view> cells) const
{
    for (std::size_t c = 0; c < cells.size(); ++c)
        cells[c] = cell(index, c, scratch);
}

std::string_view CellBlock::cell(std::size_t index, std::size_t column, std::string&) const
{
    const std::size_t width = static_cast<std::size_t>(m_width);
    if (index >= m_rows || column >= width)
        return {};
    const std::size_t at = index * width + column;
    const std::uint64_t begin = at == 0 ? 0 : m_ends[at - 1];
    return m_texts.substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(m_ends[at] - begin));
}

} // namespace app::recovery
