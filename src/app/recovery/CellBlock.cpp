#include "app/recovery/CellBlock.h"

#include "app/recovery/SealedFile.h"

#include <algorithm>
#include <cstring>

namespace app::recovery {

std::string encodedBlock(const widgets::SharedRows& rows, int width)
{
    const std::size_t count = rows.rowCount();
    std::vector<std::uint32_t> ends;
    ends.reserve(count * static_cast<std::size_t>(width));
    std::string texts;
    std::string scratch;
    std::vector<std::string_view> cells(static_cast<std::size_t>(width));
    for (std::size_t i = 0; i < count; ++i) {
        std::fill(cells.begin(), cells.end(), std::string_view());
        rows.cells(i, scratch, cells);
        for (const std::string_view cell : cells) {
            texts.append(cell);
            // A block's texts stay far below 4 GiB (a bank's genre is 16 MiB at most).
            ends.push_back(static_cast<std::uint32_t>(texts.size()));
        }
    }
    PayloadWriter payload;
    payload.put<std::uint32_t>(static_cast<std::uint32_t>(width));
    payload.putArray(ends);
    payload.putText(texts);
    return sealed(FileKind::Block, payload.bytes());
}

CellBlock::~CellBlock() = default;

std::shared_ptr<const CellBlock> CellBlock::read(std::uint32_t id, const QString& path)
{
    std::shared_ptr<CellBlock> block(new CellBlock);
    block->m_id = id;
    block->m_file = std::make_unique<QFile>(path);
    if (!block->m_file->open(QIODevice::ReadOnly))
        throw Unreadable(Unreadable::Why::Damaged);
    const qint64 size = block->m_file->size();
    const uchar* mapped = size > 0 ? block->m_file->map(0, size) : nullptr;
    if (!mapped)
        throw Unreadable(Unreadable::Why::Damaged);
    block->m_payload = unsealed(FileKind::Block, std::string_view(reinterpret_cast<const char*>(mapped), std::size_t(size)));
    PayloadReader payload(block->m_payload);
    block->m_width = static_cast<int>(payload.get<std::uint32_t>());
    const auto cells = payload.get<std::uint64_t>();
    const std::size_t width = static_cast<std::size_t>(block->m_width);
    if (block->m_width <= 0 || block->m_width > 1024 || cells % width != 0)
        throw Unreadable(Unreadable::Why::Damaged);
    // The ends are read where they lie in the mapping.
    const std::string_view rest = block->m_payload.substr(4 + 8);
    if (cells > rest.size() / 4)
        throw Unreadable(Unreadable::Why::Damaged);
    block->m_ends = rest.data();
    PayloadReader texts(rest.substr(std::size_t(cells) * 4));
    block->m_texts = texts.getText();
    if (!texts.atEnd())
        throw Unreadable(Unreadable::Why::Damaged);
    block->m_rows = std::size_t(cells) / width;
    std::uint64_t previous = 0;
    for (std::size_t cell = 0; cell < cells; ++cell) {
        const std::uint64_t end = block->endOf(cell);
        if (end < previous || end > block->m_texts.size())
            throw Unreadable(Unreadable::Why::Damaged);
        previous = end;
    }
    return block;
}

std::uint64_t CellBlock::endOf(std::size_t cell) const
{
    std::uint32_t end;
    std::memcpy(&end, m_ends + 4 * cell, 4);
    return end;
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
    const std::uint64_t begin = at == 0 ? 0 : endOf(at - 1);
    return m_texts.substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(endOf(at) - begin));
}

} // namespace app::recovery
