#pragma once

// One block of shared rows (a bank genre, say) as a kept work holds it: every cell's text,
// written once when the block first appears in the table and never again, so that a change
// of the table rewrites none of it. Read back, it is itself a block of shared rows, which
// names its file so that it is not written a second time.

#include "widgets/grid/SharedRows.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace app::recovery {

// The payload of a block file: `width` cells a row of every row of `rows`. Reads the rows
// through SharedRows::cells, which is safe off the window's thread (a block never changes).
std::string encodedBlock(const widgets::SharedRows& rows, int width);

class CellBlock final : public widgets::SharedRows {
public:
    // Throws Unreadable.
    static std::shared_ptr<const CellBlock> decode(std::uint32_t id, std::string file);

    std::uint32_t id() const { return m_id; }
    int width() const { return m_width; }
    std::size_t rowCount() const override { return m_rows; }
    std::size_t byteSize() const override { return m_file.size() + m_ends.size() * sizeof(std::uint64_t); }
    void cells(std::size_t index, std::string& scratch, std::span<std::string_view> cells) const override;
    std::string_view cell(std::size_t index, std::size_t column, std::string& scratch) const override;

private:
    CellBlock() = default;
    std::uint32_t m_id = 0;
    int m_width = 0;
    std::size_t m_rows = 0;
    std::string m_file;                // the whole file; the texts are a view into it
    std::string_view m_texts;
    std::vector<std::uint64_t> m_ends; // where each cell ends in m_texts, row after row
};

} // namespace app::recovery
