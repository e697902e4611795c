#include "widgets/grid/GridStep.h"

#include "widgets/grid/GridReplay.h"

#include <utility>

namespace widgets {

namespace {

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;  // clang 14 does not deduce it for aggregates

} // namespace

GridStep::GridStep(GridReplay& table, std::vector<GridChange> changes, std::size_t bytes)
    : m_table(table), m_changes(std::move(changes)), m_bytes(bytes)
{
}

GridStep::~GridStep()
{
    release(m_table, m_changes);
}

void GridStep::release(GridReplay& table, std::vector<GridChange>& changes) noexcept
{
    for (GridChange& change : changes) {
        std::visit(Overloaded{
                       [&](change::Row& row) { table.releaseRows({&row.other, 1}); },
                       [&](change::Rows& rows) {
                           if (!rows.inTable)
                               table.releaseRows(rows.rows);
                           rows.rows.clear();
                       },
                       [&](change::RowSet& set) {
                           for (change::RowSet::Entry& entry : set.rows)
                               table.releaseRows({&entry.other, 1});
                           set.rows.clear();
                       },
                       [](auto&) {},
                   },
                   change);
    }
}

void GridStep::undo() noexcept
{
    for (auto change = m_changes.rbegin(); change != m_changes.rend(); ++change)
        apply(*change, Direction::Back);
}

void GridStep::redo() noexcept
{
    for (GridChange& change : m_changes)
        apply(change, Direction::Forward);
}

void GridStep::apply(GridChange& change, Direction direction) noexcept
{
    const bool back = direction == Direction::Back;
    std::visit(Overloaded{
                   [&](change::Row& row) { row.other = m_table.replayExchangeRow(row.at, row.other); },
                   [&](change::RowSet& set) { m_table.replayExchangeRows(set.rows); },
                   [&](change::Rows& rows) {
                       if (rows.inTable)
                           m_table.replayTakeRows(rows.at, rows.count, rows.rows);
                       else
                           m_table.replayPutRows(rows.at, rows.rows);
                       rows.inTable = !rows.inTable;
                   },
                   [&](const change::RowMove& move) {
                       m_table.replayMoveRow(back ? move.to : move.from, back ? move.from : move.to);
                   },
                   [&](const change::ColumnMove& move) {
                       m_table.replayMoveColumn(back ? move.to : move.from, back ? move.from : move.to);
                   },
               },
               change);
}

} // namespace widgets
