#pragma once

// One block of shared rows (a bank genre, say) as a kept work holds it: every cell's text,
// written once when the block first appears in the table and never again, so that a change
// of the table rewrites none of it. Read back, it is itself a block of shared rows, which
// names its file so that it is not written a second time.

#include "widgets/grid/SharedRows.h"

#include <QFile>
#include <QString>

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
    // The block of the file at `path`, mapped into memory, not copied; throws Unreadable.
    static std::shared_ptr<const CellBlock> read(std::uint32_t id, const QString& path);
    ~CellBlock() override;

    std::uint32_t id() const { return m_id; }
    int width() const { return m_width; }
    std::size_t rowCount() const override { return m_rows; }
    std::size_t byteSize() const override { return m_payload.size(); }
    void cells(std::size_t index, std::string& scratch, std::span<std::string_view> cells) const override;
    std::string_view cell(std::size_t index, std::size_t column, std::string& scratch) const override;

private:
    CellBlock() = default;
    std::uint64_t endOf(std::size_t cell) const;

    std::uint32_t m_id = 0;
    int m_width = 0;
    std::size_t m_rows = 0;
    std::unique_ptr<QFile> m_file;   // open while its mapping is used
    std::string_view m_payload;      // the mapped file's payload
    const char* m_ends = nullptr;    // where each cell ends in m_texts (32 bits), row after row
    std::string_view m_texts;
};

} // namespace app::recovery
