#include "widgets/grid/StringGridModel.h"

#include "codec/ShiftJis.h"
#include "widgets/grid/StringGridHistory.h"

#include <algorithm>

namespace widgets {

namespace {

// Rows stay one line high, so a cell holding several lines shows each break as this mark.
const QString kLineBreakMark = QStringLiteral("\uFF65\uFF65");

} // namespace

StringGridModel::StringGridModel(QObject* parent) : QAbstractTableModel(parent) {}

QString StringGridModel::displayText(std::string_view bytes)
{
    QString text = sjis::toUnicode(bytes);
    if (!text.contains(u'\r') && !text.contains(u'\n'))
        return text;
    QString shown;
    shown.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            shown += kLineBreakMark;
        } else {
            shown += c;
        }
    }
    return shown;
}

void StringGridModel::setCell(int col, int row, std::string_view text)
{
    if (m_store.cell(col, row) == text)
        return;
    StringGridRow packed = m_store.packWithCell(col, row, text);
    if (m_history) {
        try {
            m_history->prepare();
        } catch (...) {
            m_store.releaseRows({&packed, 1});
            throw;
        }
    }
    StringGridRow previous = m_store.exchangeRow(row, packed);
    if (m_history)
        m_history->recordRow(row, previous);
    else
        m_store.releaseRows({&previous, 1});
    cellChanged(col, row);
}

void StringGridModel::setColumnCells(int col, int firstRow, std::span<const std::string> texts)
{
    // Every row that changes is packed before the table changes, so that running out of
    // memory leaves the table and its history as they were.
    std::vector<change::RowSet::Entry> packed;
    try {
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const int row = firstRow + static_cast<int>(i);
            if (m_store.cell(col, row) != texts[i]) {
                // Room first, so that a row once packed always lands in the list.
                if (packed.size() == packed.capacity())
                    packed.reserve(std::max<std::size_t>(64, packed.capacity() * 2));
                packed.push_back({row, m_store.packWithCell(col, row, texts[i])});
            }
        }
        if (m_history && !packed.empty())
            m_history->prepare();
    } catch (...) {
        for (change::RowSet::Entry& entry : packed)
            m_store.releaseRows({&entry.other, 1});
        throw;
    }
    if (packed.empty())
        return;
    for (change::RowSet::Entry& entry : packed)
        entry.other = m_store.exchangeRow(entry.at, entry.other);
    const int first = packed.front().at;
    const int last = packed.back().at;
    if (m_history) {
        m_history->recordRowSet(std::move(packed));
    } else {
        for (change::RowSet::Entry& entry : packed)
            m_store.releaseRows({&entry.other, 1});
    }
    if (col == 0)
        emit headerDataChanged(Qt::Vertical, first - 1, last - 1);
    else if (columnCount() > 0)
        emit dataChanged(index(first - 1, col - 1), index(last - 1, col - 1), {Qt::DisplayRole, Qt::EditRole});
}

void StringGridModel::cellChanged(int col, int row)
{
    if (row == 0 && col == 0)
        emit cornerChanged();
    else if (row == 0)
        emit headerDataChanged(Qt::Horizontal, col - 1, col - 1);
    else if (col == 0)
        emit headerDataChanged(Qt::Vertical, row - 1, row - 1);
    else {
        const QModelIndex at = index(row - 1, col - 1);
        emit dataChanged(at, at, {Qt::DisplayRole, Qt::EditRole});
    }
}

void StringGridModel::rowChanged(int row)
{
    const int columns = columnCount();
    if (row == 0) {
        emit cornerChanged();
        if (columns > 0)
            emit headerDataChanged(Qt::Horizontal, 0, columns - 1);
        return;
    }
    emit headerDataChanged(Qt::Vertical, row - 1, row - 1);
    if (columns > 0)
        emit dataChanged(index(row - 1, 0), index(row - 1, columns - 1), {Qt::DisplayRole, Qt::EditRole});
}

void StringGridModel::rowsChanged(int first, int last)
{
    emit headerDataChanged(Qt::Vertical, first - 1, last - 1);
    if (columnCount() > 0)
        emit dataChanged(index(first - 1, 0), index(last - 1, columnCount() - 1), {Qt::DisplayRole, Qt::EditRole});
}

// With no row or no column at all the fixed cells do not exist; when the first one appears
// or the last one goes, every fixed cell changes at once.
void StringGridModel::fixedCellsChanged()
{
    emit cornerChanged();
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    if (rowCount() > 0)
        emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
}

void StringGridModel::setGridColCount(int count)
{
    count = std::max(count, 0);
    const int old = m_store.colCount();
    if (count == old)
        return;
    // Rows kept by the history are packed for the old columns.
    if (m_history)
        m_history->forget();
    // Model columns are the grid columns after the fixed one.
    const int oldModel = std::max(old - 1, 0);
    const int newModel = std::max(count - 1, 0);
    if (newModel > oldModel) {
        beginInsertColumns({}, oldModel, newModel - 1);
        m_store.setColCount(count);
        endInsertColumns();
    } else if (newModel < oldModel) {
        beginRemoveColumns({}, newModel, oldModel - 1);
        m_store.setColCount(count);
        endRemoveColumns();
    } else {
        m_store.setColCount(count);
    }
    if (old == 0 || count == 0)
        fixedCellsChanged();
}

void StringGridModel::setGridRowCount(int count)
{
    count = std::max(count, 0);
    const int old = m_store.rowCount();
    if (count == old)
        return;
    if (old == 0 || count == 0) {
        // The fixed row itself comes or goes: no step of the history fits any more.
        if (m_history)
            m_history->forget();
        const int oldModel = std::max(old - 1, 0);
        const int newModel = std::max(count - 1, 0);
        m_store.reserveRows(count);
        if (newModel > oldModel)
            beginInsertRows({}, oldModel, newModel - 1);
        else if (newModel < oldModel)
            beginRemoveRows({}, newModel, oldModel - 1);
        m_store.setRowCount(count);
        if (newModel > oldModel)
            endInsertRows();
        else if (newModel < oldModel)
            endRemoveRows();
        fixedCellsChanged();
        return;
    }
    if (count > old) {
        std::vector<StringGridRow> room;
        if (m_history) {
            m_history->prepare();
            room.reserve(static_cast<std::size_t>(count - old));
        }
        m_store.reserveRows(count);
        beginInsertRows({}, old - 1, count - 2);
        m_store.setRowCount(count);
        endInsertRows();
        if (m_history)
            m_history->recordRowsIn(old, count - old, std::move(room));
        return;
    }
    std::vector<StringGridRow> dropped;
    dropped.reserve(static_cast<std::size_t>(old - count));
    if (m_history)
        m_history->prepare();
    removeGridRows(count, old - count, dropped);
    if (m_history)
        m_history->recordRowsOut(count, std::move(dropped));
    else
        m_store.releaseRows(dropped);
}

void StringGridModel::removeGridRows(int at, int count, std::vector<StringGridRow>& into)
{
    if (count <= 0)
        return;
    beginRemoveRows({}, at - 1, at + count - 2);
    m_store.takeRows(at, count, into);
    endRemoveRows();
}

void StringGridModel::insertGridRows(int before, RowSource& rows)
{
    if (rows.rowCount() == 0)
        return;
    insertPrepared(before, m_store.prepareRows(rows));
}

void StringGridModel::insertGridRows(int before, std::shared_ptr<const SharedRows> rows)
{
    if (rows->rowCount() == 0)
        return;
    insertPrepared(before, m_store.prepareShared(std::move(rows)));
}

void StringGridModel::insertPrepared(int before, std::vector<StringGridRow>&& prepared)
{
    // Everything that can run out of memory happens before the view hears of the rows, so
    // a failed insertion leaves model and view agreeing on the old rows.
    const int count = static_cast<int>(prepared.size());
    std::vector<StringGridRow> room;
    if (m_history) {
        try {
            m_history->prepare();
            room.reserve(prepared.size());
        } catch (...) {
            m_store.releaseRows(prepared);
            throw;
        }
    }
    beginInsertRows({}, before - 1, before - 1 + count - 1);
    m_store.insertPrepared(before, std::move(prepared));
    endInsertRows();
    if (m_history)
        m_history->recordRowsIn(before, count, std::move(room));
}

void StringGridModel::moveGridRow(int from, int to)
{
    if (from == to)
        return;
    if (m_history)
        m_history->prepare();
    relocateRow(from, to);
    if (m_history)
        m_history->recordRowMove(from, to);
}

void StringGridModel::moveGridColumn(int from, int to)
{
    if (from == to)
        return;
    if (m_history)
        m_history->prepare();
    relocateColumn(from, to);
    if (m_history)
        m_history->recordColumnMove(from, to);
}

void StringGridModel::relocateRow(int from, int to)
{
    // beginMoveRows takes the destination as the row the moved one is placed before,
    // counted before the move.
    const int modelFrom = from - 1;
    const int modelTo = to - 1;
    beginMoveRows({}, modelFrom, modelFrom, {}, modelTo > modelFrom ? modelTo + 1 : modelTo);
    m_store.moveRow(from, to);
    endMoveRows();
}

void StringGridModel::relocateColumn(int from, int to)
{
    const int modelFrom = from - 1;
    const int modelTo = to - 1;
    beginMoveColumns({}, modelFrom, modelFrom, {}, modelTo > modelFrom ? modelTo + 1 : modelTo);
    m_store.moveColumn(from, to);
    endMoveColumns();
}

StringGridRow StringGridModel::replayExchangeRow(int at, StringGridRow row) noexcept
{
    const StringGridRow previous = m_store.exchangeRow(at, row);
    rowChanged(at);
    return previous;
}

void StringGridModel::replayExchangeRows(std::span<change::RowSet::Entry> rows) noexcept
{
    if (rows.empty())
        return;
    int first = rows.front().at;
    int last = first;
    for (change::RowSet::Entry& entry : rows) {
        entry.other = m_store.exchangeRow(entry.at, entry.other);
        first = std::min(first, entry.at);
        last = std::max(last, entry.at);
    }
    if (first == 0) {
        rowChanged(0);
        if (++first > last)
            return;
    }
    rowsChanged(first, last);
}

void StringGridModel::replayTakeRows(int at, int count, std::vector<StringGridRow>& into) noexcept
{
    removeGridRows(at, count, into);
}

void StringGridModel::replayPutRows(int at, std::vector<StringGridRow>& rows) noexcept
{
    if (rows.empty())
        return;
    // The rows were in the table at this position before, with the table as it is now
    // around them, so its row list still has the room: putRows does not allocate.
    beginInsertRows({}, at - 1, at - 1 + static_cast<int>(rows.size()) - 1);
    m_store.putRows(at, rows);
    endInsertRows();
}

void StringGridModel::replayMoveRow(int from, int to) noexcept
{
    relocateRow(from, to);
}

void StringGridModel::replayMoveColumn(int from, int to) noexcept
{
    relocateColumn(from, to);
}

int StringGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(m_store.rowCount() - 1, 0);
}

int StringGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(m_store.colCount() - 1, 0);
}

QVariant StringGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const std::string_view bytes = m_store.cell(index.column() + 1, index.row() + 1);
    switch (role) {
    case Qt::DisplayRole:
        return displayText(bytes);
    case Qt::EditRole:
        return sjis::toUnicode(bytes);
    case kBytesRole:
        return QByteArray(bytes.data(), qsizetype(bytes.size()));
    default:
        return {};
    }
}

bool StringGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    const int col = index.column() + 1;
    const int row = index.row() + 1;
    const QString typed = value.toString();
    const sjis::EncodeResult encoded = sjis::fromUnicode(typed);
    if (!encoded.ok()) {
        emit textRefused(col, row, typed, encoded.badChar, encoded.badIndex);
        return false;
    }
    setCell(col, row, encoded.bytes);
    return true;
}

QVariant StringGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if ((role == Qt::BackgroundRole || role == Qt::AccessibleDescriptionRole) && orientation == Qt::Vertical) {
        if (!m_rowMarks.marked || section < 0 || section + 1 >= m_store.rowCount() || !m_rowMarks.marked(section + 1))
            return {};
        return role == Qt::BackgroundRole ? QVariant(m_rowMarks.tint) : QVariant(m_rowMarks.description);
    }
    if (role != Qt::DisplayRole || section < 0 || m_store.rowCount() == 0 || m_store.colCount() == 0)
        return {};
    if (orientation == Qt::Horizontal) {
        if (section + 1 >= m_store.colCount())
            return {};
        return displayText(m_store.cell(section + 1, 0));
    }
    if (section + 1 >= m_store.rowCount())
        return {};
    return displayText(m_store.cell(0, section + 1));
}

Qt::ItemFlags StringGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    // Whether a cell may really be edited is the grid's option, checked by the view.
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

} // namespace widgets
