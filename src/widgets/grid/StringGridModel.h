#pragma once

// The item model behind a string grid. It owns the cells and shows them to a QTableView:
// model row r / column c is grid row r + 1 / column c + 1; the fixed row 0 is the horizontal
// header, the fixed column 0 the vertical header, and cell (0,0) the corner, which is told
// apart by cornerChanged(). Every change goes through here so the views hear of it in one
// batch per operation.

#include "widgets/StringGridStore.h"

#include <QAbstractTableModel>

#include <string>
#include <string_view>
#include <vector>

namespace widgets {

class StringGridModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit StringGridModel(QObject* parent = nullptr);

    // Grid coordinates, fixed row and column included.
    int gridColCount() const { return m_store.colCount(); }
    int gridRowCount() const { return m_store.rowCount(); }
    std::string_view cell(int col, int row) const { return m_store.cell(col, row); }
    void setCell(int col, int row, std::string_view text);
    void setGridColCount(int count);
    void setGridRowCount(int count);
    // `before` from 1 to gridRowCount(): rows never go in front of the fixed row.
    void insertGridRows(int before, const GridRows& rows);
    void moveGridRow(int from, int to);
    void moveGridColumn(int from, int to);

    // A cell's text for one-line display: line breaks shown as a visible mark.
    static QString displayText(std::string_view bytes);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void cornerChanged();

private:
    void fixedCellsChanged();

    StringGridStore m_store;
};

} // namespace widgets
