#pragma once

// The table a string grid's history was recorded on, as the history sees it: the changes
// made again without being recorded (the views told), the rows a step keeps given back, and
// the sizes its budget counts. The grid's model is the one implementation; the history and
// its steps know only this, so they never include the model that records into them.

#include "widgets/grid/GridChange.h"
#include "widgets/grid/StringGridRow.h"

#include <cstddef>
#include <span>
#include <vector>

namespace widgets {

class GridReplay {
public:
    virtual StringGridRow replayExchangeRow(int at, StringGridRow row) noexcept = 0;
    virtual void replayExchangeRows(std::span<change::RowSet::Entry> rows) noexcept = 0;
    virtual void replayTakeRows(int at, int count, std::vector<StringGridRow>& into) noexcept = 0;
    virtual void replayPutRows(int at, std::vector<StringGridRow>& rows) noexcept = 0;
    virtual void replayMoveRow(int from, int to) noexcept = 0;
    virtual void replayMoveColumn(int from, int to) noexcept = 0;

    virtual void releaseRows(std::span<StringGridRow> rows) noexcept = 0;
    virtual std::size_t bytesOf(StringGridRow row) const = 0;
    virtual std::size_t tableBytes() const = 0;

protected:
    ~GridReplay() = default;
};

} // namespace widgets
