#pragma once

// The question rows of a restored work as one block of shared rows, inserted into the table
// in one go: each row is a row of a kept block (with its changed cell) or a row of its own
// cells, as the makeup says. Inserting half a million rows so costs a handle per row.
//
// When the work is kept again, the rows of this block are seen through to the kept blocks
// under them (flattened), so that those are never written a second time.

#include "app/recovery/WorkPicture.h"
#include "widgets/grid/SharedRows.h"
#include "widgets/grid/TableMakeup.h"

#include <memory>

namespace app::recovery {

class RecoveredTable final : public widgets::SharedRows {
public:
    // Rows `first` on of `makeup`, whose blocks are all read.
    RecoveredTable(widgets::TableMakeup makeup, std::size_t first);

    std::size_t rowCount() const override { return m_makeup.rows.size() - m_first; }
    std::size_t byteSize() const override { return m_bytes; }
    void cells(std::size_t index, std::string& scratch, std::span<std::string_view> cells) const override;

    const widgets::TableMakeup& makeup() const { return m_makeup; }
    std::size_t first() const { return m_first; }

private:
    widgets::TableMakeup m_makeup;
    std::size_t m_first;
    std::size_t m_bytes = 0;
};

// `grid` with every row of a RecoveredTable replaced by the row under it.
widgets::TableMakeup flattened(widgets::TableMakeup grid);
// The picture with its table flattened and each block named by its file: a kept block by
// its own, any other by the id the picture gave it.
WorkPicture flattenedPicture(WorkPicture picture);

} // namespace app::recovery
