#include "widgets/grid/StringGridHistory.h"

#include "widgets/grid/StringGridModel.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace widgets {

namespace {

constexpr std::size_t kHandleBytes = sizeof(StringGridRow);

const GridStep& stepAt(const QUndoStack& stack, int index)
{
    return static_cast<const GridStep&>(*stack.command(index));
}

} // namespace

StringGridHistory::StringGridHistory(StringGridModel& model, HistoryLimits limits)
    : m_model(model), m_limits(limits)
{
    m_stack.setUndoLimit(limits.steps);
}

StringGridHistory::~StringGridHistory()
{
    GridStep::release(m_model, m_open);
    m_stack.clear();
}

std::size_t StringGridHistory::bytes() const
{
    std::size_t total = m_openBytes;
    for (int i = 0; i < m_stack.count(); ++i)
        total += stepAt(m_stack, i).bytes();
    return total;
}

std::size_t StringGridHistory::available() const
{
    const std::size_t table = m_model.tableBytes();
    return table < m_limits.bytes ? m_limits.bytes - table : 0;
}

bool StringGridHistory::wouldKeepDropping(int rows) const
{
    // The rows move from the table into the step, so the step fits when the table as it
    // stands and the step's lists do; a margin keeps the answer on the safe side of what
    // commit() decides.
    constexpr std::size_t kMargin = 64 * 1024;
    const std::size_t lists = std::size_t(std::max(rows, 0)) * (kHandleBytes + sizeof(GridChange));
    return m_model.tableBytes() + lists + kMargin <= m_limits.bytes;
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
    add(change::Row{at, previous}, kHandleBytes + m_model.bytesOf(previous));
}

void StringGridHistory::recordRowSet(std::vector<change::RowSet::Entry> previous) noexcept
{
    std::size_t bytes = previous.capacity() * sizeof(change::RowSet::Entry);
    for (const change::RowSet::Entry& entry : previous)
        bytes += m_model.bytesOf(entry.other);
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
        bytes += m_model.bytesOf(row);
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
    GridStep::release(m_model, m_open);
    m_open.clear();
    m_openBytes = 0;
    m_stack.clear();
}

void StringGridHistory::commit() noexcept
{
    if (m_open.empty())
        return;
    const std::size_t bytes = std::exchange(m_openBytes, 0) + sizeof(GridStep) + m_open.capacity() * sizeof(GridChange);
    std::vector<GridChange> changes = std::exchange(m_open, {});
    try {
        if (bytes > available()) {
            // Too large to keep; the steps before it could only be undone through it.
            GridStep::release(m_model, changes);
            m_stack.clear();
            return;
        }
        makeRoomFor(bytes);
        push(std::move(changes), bytes);
    } catch (...) {
        // Out of memory for the history itself: what was done stays done, and the history
        // starts again from here.
        GridStep::release(m_model, changes);
        m_stack.clear();
    }
}

// QUndoStack drops its oldest step only by count (the undo limit). To drop by bytes, the
// steps to keep are moved into new commands and stacked again without the oldest ones.
void StringGridHistory::makeRoomFor(std::size_t bytes)
{
    // The steps that could be redone go anyway when a new step is pushed.
    const int undoable = m_stack.index();
    const std::size_t room = available();
    std::size_t kept = 0;
    int first = undoable;
    while (first > 0 && kept + stepAt(m_stack, first - 1).bytes() + bytes <= room) {
        --first;
        kept += stepAt(m_stack, first).bytes();
    }
    if (first == 0)
        return;
    std::vector<std::pair<std::vector<GridChange>, std::size_t>> keep;
    keep.reserve(static_cast<std::size_t>(undoable - first));
    for (int i = first; i < undoable; ++i) {
        auto& step = const_cast<GridStep&>(stepAt(m_stack, i));
        keep.emplace_back(step.takeChanges(), step.bytes());
    }
    m_stack.clear();
    std::size_t i = 0;
    try {
        for (; i < keep.size(); ++i)
            push(std::move(keep[i].first), keep[i].second);
    } catch (...) {
        for (; i < keep.size(); ++i)
            GridStep::release(m_model, keep[i].first);
        throw;
    }
}

void StringGridHistory::push(std::vector<GridChange>&& changes, std::size_t bytes)
{
    auto step = std::make_unique<GridStep>(m_model, std::move(changes), bytes);
    m_stack.push(step.get());
    step.release();  // the stack owns it now
}

} // namespace widgets
