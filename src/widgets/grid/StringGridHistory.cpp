#include "widgets/grid/StringGridHistory.h"

#include "widgets/grid/GridReplay.h"

#include <algorithm>
#include <utility>

namespace widgets {

namespace {

constexpr std::size_t kHandleBytes = sizeof(StringGridRow);

} // namespace

StringGridHistory::StringGridHistory(GridReplay& table, HistoryLimits limits) : m_table(table), m_limits(limits) {}

StringGridHistory::~StringGridHistory()
{
    GridStep::release(m_table, m_open);
}

std::size_t StringGridHistory::bytes() const
{
    std::size_t total = m_openBytes;
    for (const std::unique_ptr<GridStep>& step : m_steps)
        total += step->bytes();
    return total;
}

std::size_t StringGridHistory::available() const
{
    const std::size_t table = m_table.tableBytes();
    return table < m_limits.bytes ? m_limits.bytes - table : 0;
}

bool StringGridHistory::wouldKeepDropping(int rows) const
{
    // The rows move from the table into the step, so the step fits when the table as it
    // stands and the step's lists do; a margin keeps the answer on the safe side of what
    // commit() decides.
    constexpr std::size_t kMargin = 64 * 1024;
    const std::size_t lists = std::size_t(std::max(rows, 0)) * (kHandleBytes + sizeof(GridChange));
    return m_table.tableBytes() + lists + kMargin <= m_limits.bytes;
}

void StringGridHistory::endStep() noexcept
{
    if (m_depth > 0 && --m_depth == 0)
        commit();
}

void StringGridHistory::prepare()
{
    // Room for one more change, the list grown geometrically: a step of n changes (a
    // renumbered column of half a million rows) copies its list a few times, never n times.
    if (m_open.size() == m_open.capacity())
        m_open.reserve(std::max<std::size_t>(16, m_open.capacity() * 2));
}

void StringGridHistory::add(GridChange&& change, std::size_t bytes) noexcept
{
    // prepare() made the room: this neither allocates nor throws.
    m_open.push_back(std::move(change));
    m_openBytes += bytes;
    if (m_depth == 0)
        commit();
}

void StringGridHistory::recordRow(int at, StringGridRow previous) noexcept
{
    add(change::Row{at, previous}, kHandleBytes + m_table.bytesOf(previous));
}

void StringGridHistory::recordRowSet(std::vector<change::RowSet::Entry> previous) noexcept
{
    std::size_t bytes = previous.capacity() * sizeof(change::RowSet::Entry);
    for (const change::RowSet::Entry& entry : previous)
        bytes += m_table.bytesOf(entry.other);
    add(change::RowSet{std::move(previous)}, bytes);
}

void StringGridHistory::recordRowsIn(int at, int count, std::vector<StringGridRow> room) noexcept
{
    const std::size_t listBytes = room.capacity() * kHandleBytes;
    add(change::Rows{at, count, true, std::move(room)}, listBytes);
}

void StringGridHistory::recordRowsOut(int at, std::vector<StringGridRow> rows) noexcept
{
    std::size_t bytes = rows.capacity() * kHandleBytes;
    for (const StringGridRow& row : rows)
        bytes += m_table.bytesOf(row);
    const int count = static_cast<int>(rows.size());
    add(change::Rows{at, count, false, std::move(rows)}, bytes);
}

void StringGridHistory::recordRowMove(int from, int to) noexcept
{
    add(change::RowMove{from, to}, 0);
}

void StringGridHistory::recordColumnMove(int from, int to) noexcept
{
    add(change::ColumnMove{from, to}, 0);
}

void StringGridHistory::forget() noexcept
{
    GridStep::release(m_table, m_open);
    m_open.clear();
    m_openBytes = 0;
    clear();
}

void StringGridHistory::clear() noexcept
{
    m_steps.clear();
    m_done = 0;
}

void StringGridHistory::undo() noexcept
{
    if (canUndo())
        m_steps[--m_done]->undo();
}

void StringGridHistory::redo() noexcept
{
    if (canRedo())
        m_steps[m_done++]->redo();
}

void StringGridHistory::commit() noexcept
{
    if (m_open.empty())
        return;
    const std::size_t bytes = std::exchange(m_openBytes, 0) + sizeof(GridStep) + m_open.capacity() * sizeof(GridChange);
    std::vector<GridChange> changes = std::exchange(m_open, {});
    // A new step ends what could be redone.
    m_steps.resize(m_done);
    if (bytes > available()) {
        // Too large to keep; the steps before it could only be undone through it.
        GridStep::release(m_table, changes);
        clear();
        return;
    }
    makeRoomFor(bytes);
    try {
        m_steps.push_back(std::make_unique<GridStep>(m_table, std::move(changes), bytes));
        ++m_done;
    } catch (...) {
        // Out of memory for the history itself: what was done stays done, and the history
        // starts again from here. (A step made but not listed has given its rows back.)
        GridStep::release(m_table, changes);
        clear();
    }
}

void StringGridHistory::makeRoomFor(std::size_t bytes) noexcept
{
    // The newest steps that fit beside the new one, in count and in bytes.
    const std::size_t most = m_limits.steps > 0 ? static_cast<std::size_t>(m_limits.steps) - 1 : m_steps.size();
    const std::size_t room = available();
    std::size_t kept = 0;
    std::size_t first = m_steps.size();
    while (first > 0 && m_steps.size() - first < most && kept + m_steps[first - 1]->bytes() + bytes <= room) {
        --first;
        kept += m_steps[first]->bytes();
    }
    m_steps.erase(m_steps.begin(), m_steps.begin() + static_cast<std::ptrdiff_t>(first));
    m_done = m_steps.size();
}

} // namespace widgets
