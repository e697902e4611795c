#pragma once

// Everything a user would otherwise redo, as one value: the fields, the memo pad's text, the
// genre table and where it came from, and the question table as its makeup (rows of shared
// blocks named by the blocks' ids, which are kept in files of their own). Taken on the
// window's thread in the time of a copy of the row handles; written and read elsewhere.

#include "widgets/grid/TableMakeup.h"

#include <QString>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace app::recovery {

struct WorkPicture {
    std::int64_t takenAt = 0;             // milliseconds since the epoch
    std::array<QString, 8> fields;        // Edit1 to Edit8
    std::uint32_t countColour = 0;        // Edit7's background, as QRgb
    QString memo;                         // the memo pad's text
    bool renumberShown = false;           // 付番更新 (shown while the numbers are out of order)
    int genreColumns = 0;
    std::vector<std::string> genreCells;  // the genre table, row after row
    std::string rangeLow, rangeHigh;
    std::int32_t monFileCount = 0;
    std::int32_t insertBlankLines = 0;
    QString bankPath;                     // the open bank, or empty
    std::vector<std::int32_t> columnWidths;
    // The question table from row 0 on. As the window's thread takes it, a block may be a
    // RecoveredTable (its id is then 0); as it is written, flattened (RecoveredTable.h).
    widgets::TableMakeup table;
    std::vector<std::uint32_t> blockIds;  // the file of each of table.blocks
};

// The state file of a picture. The blocks themselves are written apart.
std::string encodedPicture(const WorkPicture& picture);
// The picture of a state file, its blocks' rows not yet read (null); throws Unreadable.
WorkPicture decodedPicture(std::string_view file);

} // namespace app::recovery
