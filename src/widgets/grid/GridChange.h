#pragma once

// The changes one step of a string grid's history is made of. Each is its own inverse
// applied again (an exchange swaps the same two rows back, rows out of the table go in and
// rows in it come out), so undo and redo walk the same list in opposite directions.

#include "widgets/grid/StringGridRow.h"

#include <variant>
#include <vector>

namespace widgets {

namespace change {

// Row `at` was replaced; `other` is the row not in the table now.
struct Row {
    int at = 0;
    StringGridRow other;
};

// `count` rows at `at` went in or out; while they are out, `rows` holds them.
struct Rows {
    int at = 0;
    int count = 0;
    bool inTable = true;
    std::vector<StringGridRow> rows;  // capacity for `count` rows, always
};

// Rows at many positions were replaced at once (a column rewritten); for each, `other` is
// the row not in the table now. One change for them all, so that the views hear of its
// replay once.
struct RowSet {
    struct Entry {
        int at = 0;
        StringGridRow other;
    };
    std::vector<Entry> rows;
};

struct RowMove {
    int from = 0;
    int to = 0;
};

struct ColumnMove {
    int from = 0;
    int to = 0;
};

} // namespace change

using GridChange = std::variant<change::Row, change::Rows, change::RowSet, change::RowMove, change::ColumnMove>;

} // namespace widgets
