#pragma once

// Rows a grid keeps as their source gave them and never copies, where a RowSource is copied
// in and dropped: they make their cells only when a cell is read. A bank genre (GenreRows)
// keeps its 256-byte records and decodes a row when it is shown, converted, edited or
// saved. Adding such rows costs little more than reading the source, and they take no more
// memory than the source itself.
//
// A grid keeps one block for all the rows of one insertion; each row of the table refers to
// one row of the block, and the block lives while any of them is in the table or in the
// undo history. A cell edited is stored as an ordinary row from then on.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace widgets {

class SharedRows {
public:
    virtual ~SharedRows() = default;

    virtual std::size_t rowCount() const = 0;
    // The memory the block holds, counted with the table's.
    virtual std::size_t byteSize() const = 0;
    // The cells of row `index` into `cells` (one view per column from column 0, all empty
    // on entry): views into `scratch`, which the call may fill as it likes, or into the
    // block.
    virtual void cells(std::size_t index, std::string& scratch, std::span<std::string_view> cells) const = 0;
    // Cell `column` of row `index` alone (a column of the number alone, when the table
    // checks its numbers, need not decode the rest of the row), as a view into `scratch` or
    // into the block. By default made with the rest of the row.
    virtual std::string_view cell(std::size_t index, std::size_t column, std::string& scratch) const
    {
        std::vector<std::string_view> all(column + 1);
        cells(index, scratch, all);
        return all[column];
    }
};

} // namespace widgets
