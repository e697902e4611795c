#pragma once

// The item model behind a string grid. It owns the cells and shows them to a QTableView:
// model row r / column c is grid row r + 1 / column c + 1; the fixed row 0 is the horizontal
// header, the fixed column 0 the vertical header, and cell (0,0) the corner, which is told
// apart by cornerChanged(). Every change goes through here so the views hear of it in one
// batch per operation.

#include "widgets/grid/GridReplay.h"
#include "widgets/grid/RowMarks.h"
#include "widgets/grid/StringGridStore.h"

#include <QAbstractTableModel>

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace widgets {

class StringGridHistory;

class StringGridModel final : public QAbstractTableModel, public GridReplay {
    Q_OBJECT

public:
    // data() in this role is a cell's bytes as stored (a QByteArray), for the editor.
    static constexpr int kBytesRole = Qt::UserRole;

    explicit StringGridModel(QObject* parent = nullptr);

    // Grid coordinates, fixed row and column included.
    int gridColCount() const { return m_store.colCount(); }
    int gridRowCount() const { return m_store.rowCount(); }
    std::string_view cell(int col, int row) const { return m_store.cell(col, row); }
    void setCell(int col, int row, std::string_view text);
    // Cell (col, firstRow + i) := texts[i], as setCell does each, in one batch: the views
    // hear of it once and the history keeps it as one change. Rows from 1 on.
    void setColumnCells(int col, int firstRow, std::span<const std::string> texts);
    void setGridColCount(int count);
    void setGridRowCount(int count);
    // `before` from 1 to gridRowCount(): rows never go in front of the fixed row.
    void insertGridRows(int before, RowSource& rows);
    void insertGridRows(int before, std::shared_ptr<const SharedRows> rows);
    void moveGridRow(int from, int to);
    void moveGridColumn(int from, int to);

    // headerData() of a marked row's fixed cell gives the tint (Qt::BackgroundRole) and the
    // description (Qt::AccessibleDescriptionRole).
    void setRowMarks(RowMarks marks) { m_rowMarks = std::move(marks); }

    // With a history, every change above is recorded in it (and it keeps what it needs);
    // without one, replaced and dropped rows are released at once.
    void setHistory(StringGridHistory* history) { m_history = history; }

    // For the history only: its changes made again, unrecorded, with the views told.
    StringGridRow replayExchangeRow(int at, StringGridRow row) noexcept override;
    void replayExchangeRows(std::span<change::RowSet::Entry> rows) noexcept override;
    void replayTakeRows(int at, int count, std::vector<StringGridRow>& into) noexcept override;
    void replayPutRows(int at, std::vector<StringGridRow>& rows) noexcept override;
    void replayMoveRow(int from, int to) noexcept override;
    void replayMoveColumn(int from, int to) noexcept override;
    void releaseRows(std::span<StringGridRow> rows) noexcept override { m_store.releaseRows(rows); }
    std::size_t bytesOf(StringGridRow row) const override { return m_store.bytesOf(row); }
    std::size_t tableBytes() const override { return m_store.tableBytes(); }
    void describeRows(int first, int count, TableMakeup& into) const { m_store.describeRows(first, count, into); }

    // A cell's text for one-line display: line breaks shown as a visible mark.
    static QString displayText(std::string_view bytes);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // An edited cell's text (Qt::EditRole, a QString) stored as setCell does, encoded in
    // Shift-JIS. A text Shift-JIS cannot hold leaves the cell as it was, raises textRefused
    // and returns false.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    void cornerChanged();
    // The edit of cell (col, row) held `character` at `badIndex` of `typed`.
    void textRefused(int col, int row, const QString& typed, char32_t character, qsizetype badIndex);

private:
    void fixedCellsChanged();
    void cellChanged(int col, int row);
    void rowChanged(int row);
    // Rows first to last (from 1) changed in any of their cells.
    void rowsChanged(int first, int last);
    void removeGridRows(int at, int count, std::vector<StringGridRow>& into);
    // The insertion of rows already made: this part cannot run out of memory once the view
    // has heard of it.
    void insertPrepared(int before, std::vector<StringGridRow>&& prepared);
    void relocateRow(int from, int to);
    void relocateColumn(int from, int to);

    StringGridStore m_store;
    StringGridHistory* m_history = nullptr;
    RowMarks m_rowMarks;
};

} // namespace widgets
