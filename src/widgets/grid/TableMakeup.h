#pragma once

// What a grid's rows are made of, for a copy of the table kept elsewhere: a row of a shared
// block is named by its block and index (with the one cell changed over it), so that taking
// the makeup of half a million bank rows copies eight bytes a row and decodes none of them;
// only rows that hold their own cells give their text. A makeup may be taken in slices of
// rows, as long as the grid does not change in between.

#include "widgets/grid/SharedRows.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace widgets {

struct TableMakeup {
    struct Block {
        std::shared_ptr<const SharedRows> rows;
        // The block's columns (as SharedRows::cells gives them) and, for each grid column,
        // the block's column it shows, or -1 for an empty cell.
        int width = 0;
        std::vector<int> shown;
    };
    static constexpr std::uint32_t kOwnCells = 0xFFFFFFFFu;
    struct Row {
        std::uint32_t block = kOwnCells;  // index into blocks, or kOwnCells
        std::uint32_t index = 0;          // the row within its block
        std::uint32_t text = 0;           // its first text in `ends`: every cell of an own row, the changed cell of a shared one
        std::int32_t changedColumn = -1;  // the grid column changed over a shared row, or -1
    };

    int columns = 0;
    std::vector<Block> blocks;
    std::vector<Row> rows;
    std::string bytes;
    std::vector<std::size_t> ends;  // where each text ends in `bytes`
    // The grid's own number of each block, so that a makeup taken in several slices
    // (StringGrid::describeRows) names a block once.
    std::map<std::uint32_t, std::uint32_t> blockOfNumber;

    void addText(std::string_view text)
    {
        bytes.append(text);
        ends.push_back(bytes.size());
    }
    std::string_view text(std::size_t i) const
    {
        const std::size_t begin = i == 0 ? 0 : ends[i - 1];
        return std::string_view(bytes).substr(begin, ends[i] - begin);
    }
};

} // namespace widgets
