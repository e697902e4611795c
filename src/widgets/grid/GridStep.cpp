#include "widgets/grid/GridStep.h"

#include "widgets/grid/StringGridModel.h"

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

GridStep::GridStep(StringGridModel& model, std::vector<GridChange> changes, std::size_t bytes)
    : m_model(model), m_changes(std::move(changes)), m_bytes(bytes)
{
}

GridStep::~GridStep()
{
    release(m_model, m_changes);
}

void GridStep::release(StringGridModel& model, std::vector<GridChange>& changes) noexcept
{
    for (GridChange& change : changes) {
        std::visit(Overloaded{
                       [&](change::Row& row) { model.releaseRows({&row.other, 1}); },
                       [&](change::Rows& rows) {
                           if (!rows.inTable)
                               model.releaseRows(rows.rows);
                           rows.rows.clear();
                       },
                       [&](change::RowSet& set) {
                           for (change::RowSet::Entry& entry : set.rows)
                               model.releaseRows({&entry.other, 1});
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
                   [&](change::Row& row) { row.other = m_model.replayExchangeRow(row.at, row.other); },
                   [&](change::RowSet& set) { m_model.replayExchangeRows(set.rows); },
                   [&](change::Rows& rows) {
                       if (rows.inTable)
                           m_model.replayTakeRows(rows.at, rows.count, rows.rows);
                       else
                           m_model.replayPutRows(rows.at, rows.rows);
                       rows.inTable = !rows.inTable;
                   },
                   [&](const change::RowMove& move) {
                       m_model.replayMoveRow(back ? move.to : move.from, back ? move.from : move.to);
                   },
                   [&](const change::ColumnMove& move) {
                       m_model.replayMoveColumn(back ? move.to : move.from, back ? move.from : move.to);
                   },
               },
               change);
}

} // namespace widgets
