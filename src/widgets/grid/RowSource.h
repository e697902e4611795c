#pragma once

// Rows a grid copies in one at a time and keeps nothing of afterwards, where SharedRows are
// kept and never copied. The grid packs each row into its own memory as soon as it is made,
// so a genre of 65,535 rows is never held twice on its way into the table.

#include <cstddef>
#include <span>
#include <string_view>

namespace widgets {

class RowSource {
public:
    virtual ~RowSource() = default;

    virtual std::size_t rowCount() const = 0;
    // The cells of row `index`, asked for in order from 0, into `cells` (one view per grid
    // column from column 0, all empty on entry). A view may point into the source: it needs
    // to stay valid only until the next call.
    virtual void cells(std::size_t index, std::span<std::string_view> cells) = 0;
};

} // namespace widgets
